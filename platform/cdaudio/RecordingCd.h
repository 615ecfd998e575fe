// A CD drive for tests: plays nothing, writes its commands into the music
// log ("cd open", "cd tmsf", "cd tracks?", "cd play 3 to 4", "cd play 5",
// "cd mode?", "cd stop", "cd close") and answers what the log holds: no drive
// by default; a drive plays ("playing") from its play command on.
#pragma once

#include <memory>

#include "platform/cdaudio/CdAudio.h"
#include "platform/music/RecordingMusic.h"

namespace platform::cdaudio {

std::unique_ptr<CdAudio> MakeRecordingCd(std::shared_ptr<platform::music::RecordingMusicLog> log);

}  // namespace platform::cdaudio
