// The demo game's music, video and speech: the title tune (MIDI) and the
// trophy room's tune (a module), the developer video shown before the title,
// the title and end cards, the cut-scene on entering the second level and
// the spoken message after it; their files, their clips and their game.ini
// keys.
#pragma once

#include <string>
#include <vector>

#include "tools/demogame/IniText.h"

namespace demo {

// Clip numbers of the level definition, after those of DemoDefinition.h.
constexpr int kClipArrival = 20;       // the cut-scene on entering level 2
constexpr int kClipArrivalWords = 21;  // the spoken message that follows it

// Stored file (relative to the game folder) and data reference of the media.
extern const char* const kTitleMusicFile;
extern const char* const kTitleMusicRef;
extern const char* const kTrophyMusicFile;
extern const char* const kTrophyMusicRef;
extern const char* const kDeveloperVideoFile;
extern const char* const kDeveloperVideoRef;
extern const char* const kTitleVideoFile;  // the title card, looping on the title screen
extern const char* const kTitleVideoRef;
extern const char* const kEndVideoFile;  // the end card, looping when the game is won
extern const char* const kEndVideoRef;

struct MediaFile {
    std::string File;  // stored name
    std::string Bytes;
};

// The media files; false with the reason when a video cannot be encoded.
bool DemoMediaFiles(std::vector<MediaFile>& files, std::string& error);

// game.ini [Game]: the developer video, the title and the end videos and music.
void WriteMediaKeys(IniText& ini);

// The [Clip C] sections of the cut-scene and the spoken message.
void WriteMediaClips(IniText& ini);

}  // namespace demo
