// The playing time of a standard MIDI file, read from its bytes: the last
// event of any track, in milliseconds through the file's tempo changes (or
// its SMPTE time code). The sequencer answers its length questions with it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform::music {

// Milliseconds from the start to the last event of the longest track; none
// when `bytes` is not a standard MIDI file with at least one track. A track
// cut short counts up to its last whole event.
std::optional<int64_t> MidiFileLengthMs(std::string_view bytes);

}  // namespace platform::music
