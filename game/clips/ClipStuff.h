// Clips: messages and pictures shown over the game, music tracks, videos and
// key-frame cut-scenes. Clips 0..32 come from the "Clip C" sections of the
// level definition, clips 33..35 (developer video, intro, extro) are built in
// and take their media from game.ini.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/G3DMesh.h"

struct LevelStuff;
class TIniFile32;

// Clips of a level, 0..35.
constexpr int32_t kClipCount = 36;
// Clips read from the level definition: 0..kLastDefinedClip.
constexpr int32_t kLastDefinedClip = 32;
// The built-in clips.
constexpr int32_t kDeveloperClip = 33;
constexpr int32_t kIntroClip = 34;
constexpr int32_t kExtroClip = 35;
// Key frames and object meshes of a clip, 0..32 each.
constexpr int32_t kKeyFrameCount = 33;
constexpr int32_t kClipObjectCount = 33;
// Morphing objects of a key frame, 0..3.
constexpr int32_t kKeyFrameObjectSlots = 4;

// A position and three angles, or a camera: x, y, z, yaw, pitch, roll.
using Placement = std::array<int32_t, 6>;

// One morphing object of a key frame: mesh IndexA at PlacementA morphs into
// mesh IndexB at PlacementB. IndexA -1: the slot is empty. Both indexes are
// -1 or 0..kClipObjectCount-1 once loaded.
struct KeyFrameObjectStuff {
    int32_t IndexA = -1;
    Placement PlacementA{};
    int32_t IndexB = -1;
    Placement PlacementB{};
};

// One key frame of a cut-scene.
struct KeyFrameStuff {
    Placement CameraA{};     // camera at the start
    Placement CameraB{};     // camera at the end
    int32_t Duration = 0;    // ms; below 1 the key frame is passed over
    std::string Sample;      // WAV played when the key frame starts
    std::string Voice;       // speech voice name
    std::string VoiceText;   // text spoken when the key frame starts
    uint8_t Pitch = 50;      // speech pitch percent
    std::string Text;        // caption (rich text)
    int32_t AmbientA = 100;  // light distance factor at the start, percent
    int32_t AmbientB = 100;  // and at the end
    std::array<KeyFrameObjectStuff, kKeyFrameObjectSlots> Objects{};
};

// One clip. A clip with a DisplayedMessage or DisplayedBitmap is a message
// clip; any other is a media clip. Flags are bytes 0/1.
struct ClipStuff {
    std::string Music;  // file, or "CDAUDIO_" + track number
    std::string Name;
    std::string Video;
    int32_t NextClip = -1;  // started when the video or cut-scene ends; -1 none
    uint8_t MusicLoop = 0;
    uint8_t VideoLoop = 0;
    uint8_t HasKeyFrames = 0;  // some key frame has a non-zero Duration
    uint8_t PlayedSingle = 1;  // a clip zone starting it is used once
    uint8_t Cinemascope = 1;   // letterbox bars
    uint8_t Cutscene = 0;
    std::array<KeyFrameStuff, kKeyFrameCount> KeyFrames{};
    std::array<TG3DMesh*, kClipObjectCount> ObjectMeshes{};  // owned
    std::array<std::string, kClipObjectCount> ObjectFiles;
    std::string DisplayedMessage;
    std::string DisplayedMessageWAV;
    std::string DisplayedMessageVoice;
    std::string DisplayedMessageTextVoice;
    std::string DisplayedBitmap;  // PCX picture over the whole frame
    int32_t DisplayedMessagePitch = 50;
    int32_t DisplayedDuration = 0;  // ms
    int32_t DisplayedBitmapAlpha = 50;
    float DisplayedMessageTop = 0;
    float DisplayedMessageLeft = 0;
};

// Frees the clip's object meshes and puts every field back to its default.
void ClearClip(ClipStuff& clip);

// Fills clips 0..32 of `level` from the "Clip C" sections of the definition
// file `fileName`. Every load starts from cleared clips (the meshes of the
// previous definition freed), so a clip without a section is a default clip.
void LoadClips(const std::string& fileName, LevelStuff& level);
// The same from a definition file already read.
void LoadClips(const TIniFile32& ini, LevelStuff& level);

// Sets the media of the built-in clips 33 (developer video, then clip 34),
// 34 (intro, looping) and 35 (extro, looping); their other fields stay.
void SetBuiltInClips(LevelStuff& level, const std::string& developerVideo,
                     const std::string& introMusic, const std::string& introVideo,
                     const std::string& extroMusic, const std::string& extroVideo);
