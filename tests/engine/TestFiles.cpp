#include "tests/engine/TestFiles.h"

namespace enginetest {

namespace {
void PutWord(std::string& s, size_t at, uint16_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}
}  // namespace

std::string MakePcx(int width, int height, const std::string& data, const std::string& palette) {
    std::string file(128, '\0');
    file[0] = 10;
    file[1] = 5;
    file[2] = 1;
    file[3] = 8;
    PutWord(file, 8, static_cast<uint16_t>(width - 1));
    PutWord(file, 10, static_cast<uint16_t>(height - 1));
    file += data;
    if (palette.empty()) {
        file.push_back(12);
        for (int i = 0; i < 256; ++i) {
            file.push_back(static_cast<char>(i));
            file.push_back(static_cast<char>(255 - i));
            file.push_back(static_cast<char>(i / 2));
        }
    } else {
        file += palette;
    }
    return file;
}

std::string PrimaryPalette() {
    std::string p(1, 12);
    for (int i = 0; i < 256; ++i) {
        const int c[3] = {i == 1 || i == 3   ? 255
                          : i == 0 || i == 2 ? 0
                                             : 100,
                          i == 0 || i == 3 ? 255
                          : i < 3          ? 0
                                           : 100,
                          i == 2 || i == 3 ? 255
                          : i < 2          ? 0
                                           : 100};
        for (int v : c) p.push_back(static_cast<char>(v));
    }
    return p;
}

std::string SolidPcx(uint8_t index, bool holes) {
    std::string data;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) data.push_back(static_cast<char>(holes && x < 2 ? 0 : index));
    }
    return MakePcx(4, 4, data, PrimaryPalette());
}

std::string PlainRuns(const std::vector<uint8_t>& indices) {
    return std::string(indices.begin(), indices.end());
}

}  // namespace enginetest
