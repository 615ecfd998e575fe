// The recording MIDI sequencer and MP3 service: they play nothing, keep their
// state in a RecordingMusicLog (shared with the recording module service) and
// answer the questions the test sets there.
#pragma once

#include <memory>

#include "platform/music/MidiSequencer.h"
#include "platform/music/Mp3Music.h"
#include "platform/music/RecordingMusic.h"

namespace platform::music {

// A sequencer that refuses to open a file while one is open, as a real
// device does, so a caller that forgets to close is seen replaying the old one.
std::unique_ptr<MidiSequencer> MakeRecordingMidi(std::shared_ptr<RecordingMusicLog> log);

std::unique_ptr<Mp3Service> MakeRecordingMp3(std::shared_ptr<RecordingMusicLog> log);

}  // namespace platform::music
