// Spoken texts over a recording speech engine: the mode chosen by voice name
// (the last that contains it), the pitch within the engine's range, and
// nothing said while speech is off.
#include "game/media/Speech.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "tests/game/media/MediaTestWorld.h"

namespace {

using Calls = std::vector<std::string>;

class SpeechTest : public ::testing::Test, protected mediatest::MediaTestWorld {
  protected:
    SpeechTest()
        : MediaTestWorld({"English (Great Britain)", "English (America)", "French (France)"}) {}
};

TEST_F(SpeechTest, TheLastModeThatContainsTheVoiceSpeaks) {
    struct Case {
        int32_t current;
        std::string voice;
        Calls calls;
    };
    const std::vector<Case> cases = {
        {0, "english", {"select 2", "reset", "pitch 150", "speak Hi"}},
        {0, "FRENCH", {"select 3", "reset", "pitch 150", "speak Hi"}},
        {0, "(GREAT", {"select 1", "reset", "pitch 150", "speak Hi"}},
        {0, "German", {"reset", "pitch 150", "speak Hi"}},
        {0, "", {"reset", "pitch 150", "speak Hi"}},
        {2, "", {"select 0", "reset", "pitch 150", "speak Hi"}},
        {2, "america", {"reset", "pitch 150", "speak Hi"}},
    };
    for (const Case& c : cases) {
        speech->CurrentMode = c.current;
        speech->Calls.clear();
        SpeakText("Hi", c.voice, 50);
        EXPECT_EQ(speech->Calls, c.calls) << "'" << c.voice << "' from " << c.current;
    }
}

TEST(SpeechPitch, PercentOfTheRangeHeldToIt) {
    const std::vector<std::array<int32_t, 4>> cases = {
        // min, max, percent, pitch
        {100, 201, 50, 150},
        {100, 201, 0, 100},
        {100, 201, 100, 201},
        {100, 201, 300, 201},
        {100, 201, -20, 100},
        {0, 100, 33, 33},
        {0, INT_MAX, INT_MAX, INT_MAX},
        {INT_MIN, INT_MAX, 50, -1},
        {0, 100, INT_MIN, 0},
    };
    for (const auto& [low, high, percent, pitch] : cases) {
        EXPECT_EQ(SpeechPitch(low, high, percent), pitch) << low << ".." << high << " " << percent;
    }
}

TEST_F(SpeechTest, ClipsSpeakTheirTextsAndNothingIsSaidWithoutSpeech) {
    ClipStuff& message = Level.Clips[2];
    message.DisplayedMessage = "shown";
    message.DisplayedMessageTextVoice = "spoken";
    message.DisplayedMessageVoice = "america";
    message.DisplayedMessagePitch = 100;
    PlayClip(2, *window);
    EXPECT_EQ(speech->Calls, (Calls{"select 2", "reset", "pitch 201", "speak spoken"}));

    ClipStuff& scene = Level.Clips[3];
    scene.HasKeyFrames = 1;
    scene.KeyFrames[0] = {};
    scene.KeyFrames[0].Duration = 100;
    scene.KeyFrames[0].VoiceText = "first";
    scene.KeyFrames[1].Duration = 100;
    scene.KeyFrames[1].VoiceText = "second";
    scene.KeyFrames[1].Pitch = 0;
    speech->Calls.clear();
    PlayClip(3, *window);
    FrameTime = 101;
    AdvanceClip(Level, DStuff, *window);
    EXPECT_EQ(speech->Calls, (Calls{"select 0", "reset", "pitch 150", "speak first", "reset",
                                    "pitch 100", "speak second"}));

    SpeechAvailable = 0;
    speech->Calls.clear();
    PlayClip(2, *window);
    EXPECT_EQ(speech->Calls, Calls{});
}

}  // namespace
