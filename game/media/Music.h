// The game's music, one track at a time on one of five back-ends chosen by
// the file name: tracker modules (support/ModPlay), MIDI (the sequencer), MP3
// (an MP3 piece), CD tracks "CDAUDIO_" + number (the CD drive; this platform
// has none) and, for every other name, a WAV file in a sound buffer. Tracks
// start with a media clip, are switched off and on by the music option, and
// tell the frame's poll when music that loops has ended; restarting it is the
// clip code's choice.
#pragma once

#include <cstdint>
#include <string>

class TSoundBuffer;

enum class MusicKind : uint8_t { Wav, Module, Midi, Mp3, Cd };

// Music state, one instance for the run. Set when a clip's music starts and
// cleared by StopAllMusic; a clip without music leaves them as they are, so
// that the music playing can still be stopped, switched and looped.
extern MusicKind CurrentMusicKind;  // the back-end that holds the music
extern int32_t MusicClip;           // the clip whose music it is (replayed to loop); -1 none
extern TSoundBuffer* WavMusic;      // the WAV music buffer, owned; null none
// The loop flag of the clip whose music plays (a clip without music leaves it
// alone); set before its music starts.
extern uint8_t LoopMusic;

// File-type tests on the end of the name, upper-cased; an empty name is none.
bool IsMidiFile(const std::string& name);    // ...MID
bool IsModuleFile(const std::string& name);  // ...MOD, ....XM, ....IT, ....S3M
bool IsMp3File(const std::string& name);     // ...MP3
// "CDAUDIO_" (any case) and at least two more characters.
bool IsCdAudioTrack(const std::string& name);
// The kind of a music name, tested in the order module, MIDI, MP3, CD; Wav
// for any other.
MusicKind MusicKindOf(const std::string& name);

// Starts clip `clip`'s music `music` on its back-end (LoopMusic set before),
// then applies the music switch (not to CD tracks). An empty name replaces
// the WAV music buffer by an empty one and leaves other music playing. False
// when the clip must go no further: a CD track whose number is no number.
bool StartClipMusic(int32_t clip, const std::string& music);

// Stops the back-end that holds the music and frees its handle (MusicClip
// -1). Clips and cut-scenes are not touched.
void StopClipMusic();

// The music option's switch, 0..100: module music takes it as its volume,
// MIDI and MP3 music play from 50 up and stop below; CD and WAV music are not
// switched.
void SwitchMusic(int32_t value);

// The music part of the frame's poll: true when music that loops (LoopMusic)
// on MIDI, MP3 or CD has reached its end and waits to start again; the end of
// music that does not loop is not watched, and module and WAV music loop by
// themselves. A MIDI length that is unknown (0 or less) never counts as ended.
bool PollMusic();
