// MIDI through SDL2_mixer on SDL's dummy audio driver: a generated song
// opens, its length comes from its events, its position follows the player's
// clock and holds while stopped; a second file is refused while one is open,
// as are files that are not MIDI.
#include "platform/music/MixerMidi.h"

#include <gtest/gtest.h>

#include "platform/clock/Ticks.h"
#include "tests/common/ScratchFolder.h"
#include "tools/demogame/MidiWriter.h"

namespace {

TEST(MixerMidi, LengthFromTheFileAndPositionFromTheClock) {
    testutil::ScratchFolder scratch;
    demo::MidiSong song;  // four quarter notes at 120 a minute: 2 s
    for (uint32_t q = 0; q < 4; ++q) song.Notes.push_back({q * 480, 480, 0, uint8_t(60 + q), 100});
    scratch.Write("Tune.MID", demo::MidiFileBytes(song));
    scratch.Write("words.mid", "just words");
    uint32_t now = 5000;
    platform::SetTickSource([&now] { return now; });
    auto midi = platform::music::OpenMixerMidi();
    if (!midi) GTEST_SKIP() << "no audio device";
    EXPECT_FALSE(midi->PositionMs());
    if (!midi->Open(scratch.Path("tune.mid"))) GTEST_SKIP() << "no MIDI decoder or sound font";
    EXPECT_EQ(midi->LengthMs(), 2000);
    EXPECT_EQ(midi->PositionMs(), 0);

    midi->Play();
    now += 300;
    EXPECT_EQ(midi->PositionMs(), 300);
    midi->Stop();
    now += 1000;
    EXPECT_EQ(midi->PositionMs(), 300) << "a stop holds the position";
    midi->Play();
    now += 5000;
    EXPECT_EQ(midi->PositionMs(), 2000) << "the position ends at the length";

    EXPECT_FALSE(midi->Open(scratch.Path("Tune.MID"))) << "one file at a time";
    midi->Close();
    EXPECT_FALSE(midi->PositionMs());
    EXPECT_FALSE(midi->LengthMs());
    EXPECT_FALSE(midi->Open(scratch.Path("words.mid")));
    EXPECT_FALSE(midi->Open(scratch.Path("missing.mid")));
    EXPECT_TRUE(midi->Open(scratch.Path("TUNE.mid")));
    platform::SetTickSource(nullptr);
}

}  // namespace
