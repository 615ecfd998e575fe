// The wave reader against files built byte by byte, and against real files
// written by sox and espeak-ng when those tools are installed.
#include "support/WavUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/fs/FileSystem.h"
#include "tests/common/ScratchFolder.h"
#include "tests/support/WaveBuilder.h"

using namespace wavetest;

namespace {

std::string ErrorOf(const std::string& bytes) {
    try {
        TIWave wave("x.wav", bytes);
    } catch (const TWaveError& e) {
        return e.what();
    }
    return "";
}

bool IsEmpty(const TIWave& w) {
    return w.Format.empty() && w.Data.empty() && w.DataSize == 0 && w.FormatSize == 0 &&
           w.Channels() == 0 && w.BitsPerSample() == 0;
}

}  // namespace

TEST(WavUtil, ReadsPcmLayouts) {
    {  // 8-bit mono at 11025 Hz
        const std::string samples = "\x80\x90\xA0\xB0\xC0";
        TIWave w("mono.wav", PcmWave(1, 11025, 8, samples));
        EXPECT_EQ(w.Channels(), 1);
        EXPECT_EQ(w.BitsPerSample(), 8);
        EXPECT_EQ(w.FormatSize, 18u);
        EXPECT_EQ(w.DataSize, 5u);
        EXPECT_EQ(std::string(w.Data.begin(), w.Data.end()), samples);
        TWaveFormatHeader h;
        w.GetFormat(h);
        EXPECT_EQ(h.FormatTag, 1);
        EXPECT_EQ(h.SamplesPerSec, 11025u);
        EXPECT_EQ(h.BlockAlign, 1);
        EXPECT_EQ(h.ExtraSize, 0);
    }
    {  // 16-bit stereo at 44100 Hz
        const std::string samples = Sine16(100, 2, 440, 44100);
        TIWave w("stereo.wav", PcmWave(2, 44100, 16, samples));
        EXPECT_EQ(w.Channels(), 2);
        EXPECT_EQ(w.BitsPerSample(), 16);
        EXPECT_EQ(w.DataSize, 400u);
        TWaveFormatHeader h;
        w.GetFormat(h);
        EXPECT_EQ(h.AvgBytesPerSec, 176400u);
        EXPECT_EQ(h.BlockAlign, 4);
    }
}

TEST(WavUtil, FindsChunksWhereverTheyStand) {
    const std::string fmt = Chunk("fmt ", FmtBody(1, 1, 8000, 8));
    const std::string data = Chunk("data", "abc");            // odd: padded
    const std::string list = Chunk("LIST", "INFOISFT12345");  // odd-sized, padded
    for (const std::string& chunks :
         {list + fmt + data, fmt + list + data, data + fmt, data + list + fmt + list}) {
        TIWave w("a.wav", Riff(chunks));
        EXPECT_EQ(w.Channels(), 1);
        EXPECT_EQ(std::string(w.Data.begin(), w.Data.end()), "abc");
    }
    // A PCM "fmt " chunk of 18 bytes or more: only the first 16 count, cbSize 0.
    TIWave longFmt("b.wav",
                   Riff(Chunk("fmt ", FmtBody(1, 2, 8000, 16) + std::string("\x05\x00zzzzz", 7)) +
                        Chunk("data", "abcd")));
    EXPECT_EQ(longFmt.FormatSize, 18u);
    EXPECT_EQ(longFmt.Channels(), 2);
}

TEST(WavUtil, NonPcmFormatKeepsItsExtraBytes) {
    std::string body = FmtBody(2, 1, 8000, 4);
    PutU16(body, 2);
    body += "xy";
    TIWave w("adpcm.wav", Riff(Chunk("fmt ", body) + Chunk("data", "1234")));
    EXPECT_EQ(w.FormatSize, 20u);
    ASSERT_EQ(w.Format.size(), 20u);
    EXPECT_EQ(w.Format[18], 'x');
    // A non-PCM chunk of only 16 bytes has no extra size: the next chunk's
    // header is not taken for one.
    TIWave shortFmt("f.wav", Riff(Chunk("fmt ", FmtBody(3, 1, 8000, 32)) + Chunk("data", "1234")));
    EXPECT_EQ(shortFmt.FormatSize, 18u);
    // Extra bytes claimed beyond the chunk.
    std::string lying = FmtBody(2, 1, 8000, 4);
    PutU16(lying, 40);
    EXPECT_EQ(ErrorOf(Riff(Chunk("fmt ", lying) + Chunk("data", "1234"))), "Not a wave file");
}

TEST(WavUtil, OpeningErrorsCarryTheirMessages) {
    EXPECT_EQ(ErrorOf("RIF"), "mmioDescend Failed");
    EXPECT_EQ(ErrorOf(std::string("RIFF\x04\0\0\0", 8)), "mmioDescend Failed");
    EXPECT_EQ(ErrorOf("This is only a text file, named like a sound.\n"), "Not a wave file");
    EXPECT_EQ(ErrorOf(Riff(Chunk("fmt ", FmtBody(1, 1, 8000, 8))).replace(8, 4, "AVI ")),
              "Not a wave file");
    EXPECT_EQ(ErrorOf(Riff(Chunk("data", "abcd"))), "Error reading wave file");
    EXPECT_EQ(ErrorOf(Riff(Chunk("fmt ", "0123456789"))), "Not a wave file");
    // "fmt " declared 16 bytes long with 6 present.
    EXPECT_EQ(ErrorOf(Riff(Chunk("fmt ", "012345", 16))), "Error reading wave file");
    // A chunk that claims more than the file holds hides everything after it.
    EXPECT_EQ(
        ErrorOf(Riff(Chunk("LIST", "ab", 0x7FFFFFF0) + Chunk("fmt ", FmtBody(1, 1, 8000, 8)))),
        "Error reading wave file");
    EXPECT_EQ(ErrorOf(""), "mmioDescend Failed");
}

TEST(WavUtil, UnreadableDataLeavesTheWaveEmpty) {
    const std::string fmt = Chunk("fmt ", FmtBody(1, 1, 8000, 8));
    // No data chunk.
    EXPECT_TRUE(IsEmpty(TIWave("n.wav", Riff(fmt))));
    // Data declared far longer than the file: nothing is allocated from it.
    EXPECT_TRUE(IsEmpty(TIWave("t.wav", Riff(fmt + Chunk("data", "abcd", 0xFFFFFFF0u)))));
    // Truncated by a few bytes.
    std::string cut = Riff(fmt + Chunk("data", std::string(100, 'x')));
    cut.resize(cut.size() - 10);
    EXPECT_TRUE(IsEmpty(TIWave("c.wav", cut)));
    // An empty data chunk is a wave with no samples, not an error.
    TIWave zero("z.wav", Riff(fmt + Chunk("data", "")));
    EXPECT_EQ(zero.Channels(), 1);
    EXPECT_EQ(zero.DataSize, 0u);
}

TEST(WavUtil, RiffSizeBeyondTheFileIsCutToTheFile) {
    // Writers that stream leave the RIFF size too large; the chunks inside
    // the bytes present still count.
    TIWave w("s.wav",
             Riff(Chunk("fmt ", FmtBody(1, 1, 8000, 8)) + Chunk("data", "abcd"), 0xFFFFFFFFu));
    EXPECT_EQ(w.DataSize, 4u);
}

class WavUtilFiles : public ::testing::Test {
  protected:
    static bool Have(const char* tool) {
        return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
    }
    testutil::ScratchFolder scratch_;
    const std::string dir_ = scratch_.Root();
};

TEST_F(WavUtilFiles, MissingFileFailsToOpen) {
    try {
        TIWave w(dir_ + "/nothing.wav");
        FAIL();
    } catch (const TWaveError& e) {
        EXPECT_STREQ(e.what(), "mmioOpen Failed");
    }
}

TEST_F(WavUtilFiles, ReadsFilesWrittenBySox) {
    if (!Have("sox")) GTEST_SKIP() << "sox is not installed";
    const std::string mono = dir_ + "/mono8.wav", stereo = dir_ + "/stereo16.wav";
    ASSERT_EQ(std::system(("sox -n -r 11025 -b 8 -c 1 " + mono + " synth 0.1 sine 440").c_str()),
              0);
    ASSERT_EQ(
        std::system(("sox -n -r 44100 -b 16 -c 2 " + stereo + " synth 0.25 sine 440").c_str()), 0);
    TIWave m(mono);
    EXPECT_EQ(m.Channels(), 1);
    EXPECT_EQ(m.BitsPerSample(), 8);
    EXPECT_NEAR(double(m.DataSize), 1102.5, 2);
    TIWave s(stereo);
    EXPECT_EQ(s.Channels(), 2);
    EXPECT_EQ(s.BitsPerSample(), 16);
    EXPECT_NEAR(double(s.DataSize), 44100, 8);
}

TEST_F(WavUtilFiles, ReadsSpeechWrittenByEspeak) {
    if (!Have("espeak-ng")) GTEST_SKIP() << "espeak-ng is not installed";
    const std::string path = dir_ + "/speech.wav";
    ASSERT_EQ(std::system(("espeak-ng -w " + path + " 'hello' 2>/dev/null").c_str()), 0);
    TIWave w(path);
    EXPECT_EQ(w.Channels(), 1);
    EXPECT_EQ(w.BitsPerSample(), 16);
    EXPECT_GT(w.DataSize, 1000u);
    EXPECT_EQ(w.DataSize % 2, 0u);
}
