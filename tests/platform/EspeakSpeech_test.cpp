// Speech through espeak-ng: its voices as modes, a mode selected by number,
// texts synthesised to audible samples (cp1252 letters too), and one engine
// per process.
#include "platform/speech/EspeakSpeech.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

int MaxLevel(const std::vector<int16_t>& samples) {
    int level = 0;
    for (int16_t s : samples) level = std::max(level, std::abs(int(s)));
    return level;
}

TEST(EspeakSpeech, VoicesAreModesAndTextsBecomeSound) {
    auto speech = platform::speech::EspeakSpeech::Open();
    if (!speech) GTEST_SKIP() << "espeak-ng cannot start";
    EXPECT_FALSE(platform::speech::EspeakSpeech::Open()) << "one engine per process";
    ASSERT_GT(speech->ModeCount(), 1);
    int32_t english = 0;
    for (int32_t m = 1; m <= speech->ModeCount(); ++m) {
        if (speech->ModeName(m).find("English") != std::string::npos) english = m;
    }
    ASSERT_GT(english, 0);
    EXPECT_EQ(speech->ModeName(0), "");
    EXPECT_EQ(speech->ModeName(speech->ModeCount() + 1), "");
    EXPECT_EQ(speech->CurrentMode(), 0);
    EXPECT_TRUE(speech->SelectMode(english));
    EXPECT_EQ(speech->CurrentMode(), english);
    EXPECT_FALSE(speech->SelectMode(speech->ModeCount() + 1));
    EXPECT_EQ(speech->CurrentMode(), english);
    EXPECT_EQ(speech->MinPitch(), 0);
    EXPECT_EQ(speech->MaxPitch(), 100);

    for (const std::string text : {"Welcome to the trophy room.", "Caf\xE9 na\xEFve"}) {
        speech->SetPitch(250);  // held to the range
        const std::vector<int16_t> samples = speech->Synthesize(text);
        EXPECT_GT(samples.size(), size_t(speech->SampleRate() / 4)) << text;
        EXPECT_GT(MaxLevel(samples), 1000) << text;
    }
    EXPECT_TRUE(speech->Synthesize("").empty() || MaxLevel(speech->Synthesize("")) < 100);
    speech->Speak("Hello.");  // plays on the speech channel, or nowhere without a device
    speech->Reset();
    speech.reset();
    EXPECT_TRUE(platform::speech::EspeakSpeech::Open()) << "a new engine after the old";
}

}  // namespace
