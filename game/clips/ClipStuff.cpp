#include "game/clips/ClipStuff.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "game/level/ArgParse.h"
#include "game/level/DefinitionSection.h"
#include "game/level/LevelStuff.h"
#include "support/IniFiles32.h"

namespace {

// 20 ms per character of the message, saturated at the largest integer.
int32_t DefaultDuration(const std::string& message) {
    const int64_t duration = int64_t{20} * static_cast<int64_t>(message.size());
    return static_cast<int32_t>(std::min<int64_t>(duration, INT32_MAX));
}

void ReadClipHeader(const DefinitionSection& in, ClipStuff& clip) {
    clip.Name = in.Text("Name");
    clip.Music = in.Text("Music");
    clip.Video = in.Text("Video");
    clip.NextClip = in.Integer("NextClip", -1);
    clip.MusicLoop = in.Flag("MusicLoop", false);
    clip.VideoLoop = in.Flag("VideoLoop", false);
    clip.Cinemascope = in.Flag("Cinemascope", true);
    clip.PlayedSingle = in.Flag("PlayedSingle", true);
    clip.DisplayedMessage = in.Text("DisplayedMessage");
    clip.DisplayedMessageWAV = in.Text("DisplayedMessageWAV");
    clip.DisplayedMessageTextVoice = in.Text("DisplayedMessageTextVoice");
    clip.DisplayedMessageVoice = in.Text("DisplayedMessageVoice");
    clip.DisplayedMessagePitch = in.Integer("DisplayedMessagePitch", 50);
    clip.DisplayedDuration =
        in.Integer("DisplayedDuration", DefaultDuration(clip.DisplayedMessage));
    clip.DisplayedMessageLeft = in.Float("DisplayedMessageLeft", 0.0f);
    clip.DisplayedMessageTop = in.Float("DisplayedMessageTop", 0.0f);
    clip.DisplayedBitmap = in.Text("DisplayedBitmap");
    clip.DisplayedBitmapAlpha = in.Integer("DisplayedBitmapAlpha", 50);
    clip.Cutscene = in.Flag("Cutscene", false);
}

void ReadClipObjects(const DefinitionSection& in, ClipStuff& clip) {
    for (int32_t o = 0; o < kClipObjectCount; ++o) {
        clip.ObjectFiles[o] = in.Text("Object_" + std::to_string(o));
        G3DLoadMesh(clip.ObjectFiles[o], clip.ObjectMeshes[o]);  // freed by ClearClip
    }
}

bool IsClipObject(int32_t index) { return index >= 0 && index < kClipObjectCount; }

// One object slot. An IndexA outside the clip's objects leaves the slot empty;
// an IndexB of -1 or outside them means IndexA (the object keeps its mesh).
void ReadObjectSlot(const DefinitionSection& in, const std::string& prefix,
                    KeyFrameObjectStuff& slot) {
    const int32_t indexA = in.Integer(prefix + "_Index_A", -1);
    slot.IndexA = IsClipObject(indexA) ? indexA : -1;
    if (slot.IndexA == -1) return;
    ParseBoxArgs(in.Text(prefix + "_A"), slot.PlacementA);
    const int32_t indexB = in.Integer(prefix + "_Index_B", -1);
    slot.IndexB = IsClipObject(indexB) ? indexB : indexA;
    ParseBoxArgs(in.Text(prefix + "_B"), slot.PlacementB);
}

// Key frame f; false when its Frame_f_A is empty (the key frame is left as it was).
bool ReadKeyFrame(const DefinitionSection& in, int32_t f, KeyFrameStuff& frame) {
    const std::string key = "Frame_" + std::to_string(f);
    const std::string cameraA = in.Text(key + "_A");
    if (cameraA.empty()) return false;
    ParseBoxArgs(cameraA, frame.CameraA);
    ParseBoxArgs(in.Text(key + "_B"), frame.CameraB);
    frame.Duration = in.Integer(key + "_Duration", 0);
    frame.Text = in.Text(key + "_Text");
    frame.AmbientA = in.Integer(key + "_A_AmbientLightPercent", 100);
    frame.AmbientB = in.Integer(key + "_B_AmbientLightPercent", 100);
    frame.Sample = in.Text(key + "_Sample");
    frame.Voice = in.Text(key + "_Voice");
    frame.VoiceText = in.Text(key + "_VoiceText");
    frame.Pitch = static_cast<uint8_t>(in.Integer(key + "_Pitch", 50));
    for (int32_t m = 0; m < kKeyFrameObjectSlots; ++m) {
        ReadObjectSlot(in, key + "_Mesh_" + std::to_string(m), frame.Objects[m]);
    }
    return true;
}

void ReadKeyFrames(const DefinitionSection& in, ClipStuff& clip) {
    clip.HasKeyFrames = 0;
    for (int32_t f = 0; f < kKeyFrameCount; ++f) {
        KeyFrameStuff& frame = clip.KeyFrames[f];
        if (ReadKeyFrame(in, f, frame) && frame.Duration != 0) clip.HasKeyFrames = 1;
    }
}

void SetBuiltInClip(ClipStuff& clip, const char* name, const std::string& music,
                    const std::string& video, int32_t next, uint8_t loop) {
    clip.Name = name;
    clip.Music = music;
    clip.Video = video;
    clip.NextClip = next;
    clip.MusicLoop = loop;
    clip.VideoLoop = loop;
}

}  // namespace

void ClearClip(ClipStuff& clip) {
    for (TG3DMesh*& mesh : clip.ObjectMeshes) G3DFreeMesh(mesh);
    // Made anew in place: a fraction of the cost of assigning every field.
    std::destroy_at(&clip);
    std::construct_at(&clip);
}

void LoadClips(const std::string& fileName, LevelStuff& level) {
    const TIniFile32 ini(fileName);
    LoadClips(ini, level);
}

void LoadClips(const TIniFile32& ini, LevelStuff& level) {
    // Only the clips the last load read can differ from their defaults.
    for (int32_t c = 0; c <= kLastDefinedClip; ++c) {
        bool& read = level.ClipsRead[static_cast<size_t>(c)];
        if (read) ClearClip(level.Clips[c]);
        read = false;
    }
    const std::vector<int> sections = NumberedSections(ini, "Clip ", kLastDefinedClip + 1);
    for (int32_t c = 0; c <= kLastDefinedClip; ++c) {
        if (sections[static_cast<size_t>(c)] < 0) continue;
        const DefinitionSection in(ini, "Clip " + std::to_string(c), true);
        if (!in.HasKeys()) continue;
        level.ClipsRead[static_cast<size_t>(c)] = true;
        ClipStuff& clip = level.Clips[c];
        ReadClipHeader(in, clip);
        if (!clip.Cutscene) continue;
        ReadClipObjects(in, clip);
        ReadKeyFrames(in, clip);
    }
}

void SetBuiltInClips(LevelStuff& level, const std::string& developerVideo,
                     const std::string& introMusic, const std::string& introVideo,
                     const std::string& extroMusic, const std::string& extroVideo) {
    SetBuiltInClip(level.Clips[kDeveloperClip], "Developer", "", developerVideo, kIntroClip, 0);
    SetBuiltInClip(level.Clips[kIntroClip], "Game Intro", introMusic, introVideo, -1, 1);
    SetBuiltInClip(level.Clips[kExtroClip], "Game Extro", extroMusic, extroVideo, -1, 1);
}
