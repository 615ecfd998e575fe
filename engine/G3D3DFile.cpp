#include "engine/G3D3DFile.h"

#include <charconv>

#include "engine/G3DImages.h"
#include "platform/fs/FileSystem.h"

namespace {

constexpr size_t kLineLength = 255;

// A decimal number in 0..32767 making up the whole of `text`.
bool ReadNumber(std::string_view text, int32_t& value) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0 &&
           value < kG3DTextureCount;
}

bool ParsePictureLine(const std::string& line, G3DPictureLine& out) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return false;
    out.File = line.substr(equals + 1);
    return ReadNumber(std::string_view(line).substr(0, equals), out.Picture);
}

bool ParseTextureLine(const std::string& line, G3DTextureLine& out) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return false;
    const size_t dash = line.find('-', equals + 1);
    if (dash == std::string::npos) return false;
    const std::string_view view(line);
    return ReadNumber(view.substr(0, equals), out.Texture) &&
           ReadNumber(view.substr(equals + 1, dash - equals - 1), out.First) &&
           ReadNumber(view.substr(dash + 1), out.Last);
}

std::vector<std::string> NormalisedLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(G3DNormaliseLine(text.substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

}  // namespace

std::string G3DNormaliseLine(std::string_view line) {
    line = line.substr(0, std::min(line.size(), kLineLength));
    std::string out;
    out.reserve(line.size());
    for (char c : line) {
        if (c == '\t' || c == '\r' || c == ' ') continue;
        out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    return out;
}

G3D3DFileContents G3DParse3DFile(std::string_view text) {
    G3D3DFileContents contents;
    const std::vector<std::string> lines = NormalisedLines(text);
    size_t i = 0;
    while (i < lines.size() && lines[i] != "#IMAGES") ++i;
    for (++i; i < lines.size() && lines[i] != "#TEXTURES"; ++i) {
        G3DPictureLine picture;
        if (!lines[i].empty() && ParsePictureLine(lines[i], picture)) {
            contents.Pictures.push_back(picture);
        }
    }
    for (++i; i < lines.size(); ++i) {
        G3DTextureLine texture;
        if (!lines[i].empty() && ParseTextureLine(lines[i], texture)) {
            contents.Textures.push_back(texture);
        }
    }
    return contents;
}

void G3DLoad3DFile(const std::string& name, TDStuff& state) {
    if (name.empty()) return;
    std::string text;
    const bool found = platform::fs::FileExists(name) && platform::fs::ReadWholeFile(name, text);
    const G3D3DFileContents contents = G3DParse3DFile(text);
    // A file that names no picture (empty, or not a 3-D file) is of no more
    // use than a missing one, and is said the same way.
    if (!found || contents.Pictures.empty()) G3DShowMissingFile(name);
    state.Last3DFile = name;
    for (size_t n = 0; n < contents.Pictures.size(); ++n) {
        const G3DPictureLine& line = contents.Pictures[n];
        if (n == 0) {
            G3DLoadPCXTexture(line.File, line.Picture, state.MainPalette);
        } else if (n == 1) {
            G3DLoadPCXTexture(line.File, line.Picture, state.SecondPalette);
        } else {
            G3DLoadPCXTextureNoPalette(line.File, line.Picture);
        }
    }
    state.HighestAnimTexture = 0;
    for (const G3DTextureLine& line : contents.Textures) {
        state.AnimTextures[line.Texture] = {line.First, line.Last, line.First};
        state.HighestAnimTexture = std::max(state.HighestAnimTexture, line.Texture);
    }
}

void G3DAnimateTextures(TDStuff& state) {
    const int32_t highest = std::min(state.HighestAnimTexture, kG3DTextureCount - 1);
    for (int32_t t = 0; t <= highest; ++t) {
        TAnimTexture& a = state.AnimTextures[t];
        if (a.First < a.Last) {
            a.Current = a.Current >= a.Last ? a.First : a.Current + 1;
        } else if (a.First > a.Last) {
            a.Current = a.Current <= a.Last ? a.First : a.Current - 1;
        } else {
            a.Current = a.First;
        }
    }
}
