#include "tools/demogame/WavWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/WavUtil.h"
#include "tools/demogame/DemoSounds.h"

namespace {

TEST(WavWriterTest, WaveReaderReadsTheSamplesBack) {
    const std::vector<int16_t> samples = {0, 1000, -1000, 32767, -32768, 5};
    const TIWave wave("t.wav", demo::WaveFileBytes(samples));
    TWaveFormatHeader h;
    wave.GetFormat(h);
    EXPECT_EQ(h.FormatTag, 1);
    EXPECT_EQ(h.Channels, 1);
    EXPECT_EQ(h.SamplesPerSec, 22050u);
    EXPECT_EQ(h.AvgBytesPerSec, 44100u);
    EXPECT_EQ(h.BlockAlign, 2);
    EXPECT_EQ(h.BitsPerSample, 16);
    ASSERT_EQ(wave.DataSize, 12u);
    for (size_t i = 0; i < samples.size(); ++i) {
        const auto v = static_cast<int16_t>(wave.Data[2 * i] | wave.Data[2 * i + 1] << 8);
        EXPECT_EQ(v, samples[i]);
    }
}

TEST(WavWriterTest, RiffSizeCoversTheWholeFile) {
    const std::string file = demo::WaveFileBytes(std::vector<int16_t>(10, 0));
    ASSERT_EQ(file.size(), 44u + 20u);
    const uint32_t riff = static_cast<uint8_t>(file[4]) | static_cast<uint8_t>(file[5]) << 8;
    EXPECT_EQ(riff, file.size() - 8);
}

TEST(DemoSoundsTest, SoundsAreShortAndFadeInAndOut) {
    const std::vector<demo::NamedSound> sounds = demo::DemoSounds();
    EXPECT_GE(sounds.size(), 5u);
    for (const demo::NamedSound& s : sounds) {
        ASSERT_FALSE(s.Samples.empty()) << s.Name;
        EXPECT_LT(s.Samples.size(), demo::kDemoSampleRate) << s.Name;  // under a second
        EXPECT_LT(std::abs(s.Samples.front()), 2000) << s.Name;
        EXPECT_LT(std::abs(s.Samples.back()), 2000) << s.Name;
        int peak = 0;
        for (int16_t v : s.Samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_GT(peak, 5000) << s.Name << " is too quiet";
    }
}

}  // namespace
