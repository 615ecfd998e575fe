#include "tools/demogame/ModWriter.h"

#include <algorithm>

#include "tools/demogame/Bytes.h"

namespace demo {

namespace {
// A text field of exactly `size` bytes, padded with zeros.
std::string Field(const std::string& text, size_t size) {
    std::string field = text.substr(0, size);
    field.resize(size, '\0');
    return field;
}

void SampleHeader(std::string& out, const ModSample* sample) {
    if (sample == nullptr) {
        out += std::string(22, '\0');
        AppendBigEndian(out, 0, 2);
        out += '\0';
        out += '\0';
        AppendBigEndian(out, 0, 2);
        AppendBigEndian(out, 1, 2);  // no loop
        return;
    }
    out += Field(sample->Name, 22);
    AppendBigEndian(out, static_cast<uint32_t>(sample->Data.size() / 2), 2);
    out += '\0';  // finetune
    out += static_cast<char>(std::min<uint8_t>(sample->Volume, 64));
    AppendBigEndian(out, sample->LoopStart / 2, 2);
    AppendBigEndian(out, sample->LoopLength >= 2 ? sample->LoopLength / 2 : 1, 2);
}

void PatternBytes(std::string& out, const ModPattern& pattern) {
    for (const auto& row : pattern) {
        for (const ModCell& c : row) {
            out += static_cast<char>((c.Sample & 0xF0) | ((c.Period >> 8) & 0x0F));
            out += static_cast<char>(c.Period & 0xFF);
            out += static_cast<char>(((c.Sample & 0x0F) << 4) | (c.Effect & 0x0F));
            out += static_cast<char>(c.Param);
        }
    }
}
}  // namespace

uint16_t ModPeriod(int n) {
    static constexpr uint16_t kPeriods[36] = {
        856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453, 428, 404, 381, 360, 339, 320,
        302, 285, 269, 254, 240, 226, 214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};
    return kPeriods[std::clamp(n, 0, 35)];
}

std::string ModFileBytes(const ModSong& song) {
    std::string out = Field(song.Title, 20);
    for (size_t i = 0; i < 31; ++i)
        SampleHeader(out, i < song.Samples.size() ? &song.Samples[i] : nullptr);
    const size_t length = std::clamp<size_t>(song.Order.size(), 1, 128);
    out += static_cast<char>(length);
    out += static_cast<char>(127);
    std::string order(128, '\0');
    for (size_t i = 0; i < length && i < song.Order.size(); ++i)
        order[i] = static_cast<char>(song.Order[i]);
    out += order;
    out += "M.K.";
    for (const ModPattern& pattern : song.Patterns) PatternBytes(out, pattern);
    for (const ModSample& sample : song.Samples) {
        for (int8_t s : sample.Data) out += static_cast<char>(s);
    }
    return out;
}

}  // namespace demo
