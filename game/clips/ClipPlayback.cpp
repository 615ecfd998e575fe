#include "game/clips/ClipPlayback.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/G3DAngles.h"
#include "engine/G3DCamera.h"
#include "engine/G3DEngine.h"
#include "engine/G3DImages.h"
#include "engine/G3DRender.h"
#include "game/GameClock.h"
#include "game/clips/ClipStuff.h"
#include "game/draw/HudText.h"
#include "game/draw/SceneDrawing.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelDefinition.h"
#include "game/level/LevelStuff.h"
#include "game/media/Music.h"
#include "game/media/Speech.h"
#include "game/media/Video.h"
#include "support/Snd.h"

int32_t CurrentClip = -1;
uint8_t KeyFramesRunning = 0;
int32_t KeyFrameIndex = 0;
int32_t KeyFrameStart = 0;
std::array<float, 6> ClipCamera{};
int32_t NextClip = -1;
int32_t MessageClip = -1;
int32_t MessageClipStart = 0;
uint8_t TitleClipRunning = 0;
TSoundBuffer* MessageSound = nullptr;

namespace {

// The pose of the clip object being drawn, shared by all of them; remade when
// the mesh sizes change.
TG3DMesh* ClipObjectMorph = nullptr;

bool IsClipNumber(int32_t n) { return n >= 0 && n < kClipCount; }
bool IsKeyFrame(int32_t f) { return f >= 0 && f < kKeyFrameCount; }
bool IsClipObject(int32_t o) { return o >= 0 && o < kClipObjectCount; }

// Starts the clip's video; true when it plays.
bool StartClipVideo(const std::string& video, platform::Window& window) {
    PlayVideo(video, window);
    return VideoPlaying != 0;
}

// A key frame begins: its sample plays once from the start and its text is spoken.
void StartKeyFrameSound(const KeyFrameStuff& frame) {
    LoadSound(frame.Sample, Level.ClipSound);
    PlaySoundBuffer(Level.ClipSound, false);
    if (!frame.VoiceText.empty()) SpeakText(frame.VoiceText, frame.Voice, frame.Pitch);
}

void StartMessageClip(int32_t n, const ClipStuff& clip) {
    // A message with music replaces the music that plays, as a media clip does,
    // so that no back-end's handle is lost.
    if (!clip.Music.empty()) StopAllMusic();
    if (!clip.DisplayedMessageTextVoice.empty()) {
        SpeakText(clip.DisplayedMessageTextVoice, clip.DisplayedMessageVoice,
                  clip.DisplayedMessagePitch);
    }
    if (!clip.DisplayedMessageWAV.empty()) {
        LoadSound(clip.DisplayedMessageWAV, MessageSound);
        if (MessageSound != nullptr) MessageSound->PlayFromStart();
    }
    if (!clip.DisplayedBitmap.empty()) {
        G3DLoadImage(kMessagePictureSlot, clip.DisplayedBitmap, DStuff);
    }
    MessageClip = n;
    MessageClipStart = FrameTime;
}

void StartCutScene(int32_t n, const ClipStuff& clip) {
    if (!clip.Music.empty()) StopAllMusic();
    if (clip.HasKeyFrames) {
        KeyFramesRunning = 1;
        KeyFrameIndex = 0;
        KeyFrameStart = FrameTime;
        CurrentClip = n;
        StartKeyFrameSound(clip.KeyFrames[0]);
    }
    NextClip = clip.NextClip;
}

// a + (b - a) × t, the difference taken without overflow.
double Between(int32_t a, int32_t b, double t) { return a + (static_cast<double>(b) - a) * t; }

// The next key frame after `from` that lasts 1 ms or more; -1 when none is left.
int32_t NextKeyFrame(const ClipStuff& clip, int32_t from) {
    for (int32_t f = from + 1; f < kKeyFrameCount; ++f) {
        if (clip.KeyFrames[f].Duration >= 1) return f;
    }
    return -1;
}

// The light range of the clip frame: the hero's, scaled by `ambient` percent.
int32_t ClipLightRange(float ambient) {
    const bool heroKnown = CurrentHero >= 0 && CurrentHero < kHeroCount;
    const float range = heroKnown ? Heroes[CurrentHero].LightRange : 0.0f;
    const int64_t scaled = G3DRound64(static_cast<double>(range) * ambient);
    return G3DClamp32(scaled / 100 + 1);
}

// Draws an object slot of the key frame at t between its two placements and
// meshes; a slot without a mesh is left out.
void DrawClipObject(const ClipStuff& clip, const KeyFrameObjectStuff& slot, double t,
                    const std::array<float, 3>& camera, int32_t lightRange, LevelStuff& level,
                    TDStuff& engine) {
    if (!IsClipObject(slot.IndexA) || clip.ObjectMeshes[slot.IndexA] == nullptr) return;
    const TG3DMesh* meshA = clip.ObjectMeshes[slot.IndexA];
    const int32_t indexB = IsClipObject(slot.IndexB) ? slot.IndexB : slot.IndexA;
    const TG3DMesh* meshB =
        clip.ObjectMeshes[indexB] != nullptr ? clip.ObjectMeshes[indexB] : meshA;
    std::array<double, 6> p{};
    for (size_t i = 0; i < p.size(); ++i) {
        p[i] = Between(slot.PlacementA[i], slot.PlacementB[i], t);
    }
    // The morph keeps the faces of a pose of the same sizes: an object takes
    // its own (colours, textures) before it is posed.
    TG3DMesh* pose = ClipObjectMorph;
    if (pose != nullptr && pose->LastVertex == meshA->LastVertex &&
        pose->LastFace == meshA->LastFace) {
        std::copy_n(meshA->Faces.begin(), meshA->LastFace + 1, pose->Faces.begin());
    }
    G3DInterpolateMesh(meshA, meshB, ClipObjectMorph, static_cast<float>(t));

    const int32_t brightness = GetLevelCellLight(CellOfCoordinate(p[0]), CellOfCoordinate(p[1]),
                                                 CellOfCoordinate(p[2]), level) -
                               128;
    const double dx = p[0] - camera[0], dy = p[1] - camera[1], dz = p[2] - camera[2];
    const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    // The scene keeps its light range as computed; only the fade divides by it.
    const double range = std::max(lightRange, 1);
    int32_t fade = G3DTrunc32((distance - 2.0 * range / 3.0) * 300.0 / range);
    if (fade > 255) fade = 255;
    const int32_t yaw = G3DClamp32(16384 - int64_t{G3DTrunc32(p[3])});
    const int32_t roll = G3DTrunc32(-G3DCos(-int64_t{yaw}) * p[4]);
    const int32_t pitch = G3DTrunc32(G3DSin(-int64_t{yaw}) * p[4]);
    G3DDrawMesh(ClipObjectMorph, G3DTrunc32(p[0]), G3DTrunc32(p[1]), G3DTrunc32(p[2]), yaw, roll,
                pitch, brightness, fade, -1, engine);
}

// The letterbox bars above and below the picture, from a camera of their own.
void DrawLetterbox(TDStuff& engine) {
    G3DSetCamera(0, 0, 0, 0, 0, 0, engine);
    G3DAddLight(0, 0, 0, 10000, engine);
    G3DDrawMesh(LetterboxMesh, -300, 145, 200, 0, 0, 0, 0, 0, -1, engine);
    G3DDrawMesh(LetterboxMesh, -300, -245, 200, 0, 0, 0, 0, 0, -1, engine);
    G3DFlush(engine);
}

}  // namespace

void PlayClip(int32_t n, platform::Window& window) {
    if (!IsClipNumber(n)) return;
    // Nested starts (the developer clip's chain) set it again for their clip.
    TitleClipRunning = n == kIntroClip ? 1 : 0;
    const ClipStuff& clip = Level.Clips[n];
    if (!clip.DisplayedMessage.empty() || !clip.DisplayedBitmap.empty()) {
        StartMessageClip(n, clip);
    } else {
        StartCutScene(n, clip);
    }
    if (clip.Music.empty() && clip.Video.empty()) return;

    LoopVideo = clip.VideoLoop;
    // A clip without music leaves the music that plays alone, its loop too.
    if (!clip.Music.empty()) LoopMusic = clip.MusicLoop;
    CurrentClip = n;
    if (!StartClipMusic(n, clip.Music)) return;
    if (!clip.Video.empty()) {
        const bool playing = StartClipVideo(clip.Video, window);
        // A developer video whose file is missing is over at once: the title
        // clip follows as it does at the video's end, so that a game can start.
        if (!playing && n == kDeveloperClip && NextClip != -1 && NextClip != n) {
            StopAllMusic();
            PlayClip(NextClip, window);
        }
    }
    ResetFrameStep();
}

void StopAllMusic() {
    StopClipMusic();
    CurrentClip = -1;
    KeyFramesRunning = 0;
}

void StopVideo(platform::Window& window) {
    if (!CloseVideo(window) || NextClip == -1) return;
    StopAllMusic();
    PlayClip(NextClip, window);
}

void PollMedia(platform::Window& window) {
    switch (PollVideo()) {
        case VideoEnd::Loop:
            RestartVideo();
            break;
        case VideoEnd::Stop:
            StopVideo(window);
            break;
        case VideoEnd::None:
            break;
    }
    if (!PollMusic() || !IsClipNumber(MusicClip)) return;
    // With nothing else under way the music's clip is played again whole;
    // under a running cut-scene only the music starts again, so the scene
    // goes on to its end and its next clip.
    if (!KeyFramesRunning && CurrentClip == MusicClip) {
        PlayClip(MusicClip, window);
        return;
    }
    const std::string music = Level.Clips[MusicClip].Music;
    if (music.empty()) return;
    const int32_t clip = MusicClip;
    StopClipMusic();
    StartClipMusic(clip, music);
    ResetFrameStep();
}

void AdvanceClip(LevelStuff& level, TDStuff& engine, platform::Window& window) {
    if (!KeyFramesRunning) return;
    if (!IsClipNumber(CurrentClip) || !IsKeyFrame(KeyFrameIndex)) {
        KeyFramesRunning = 0;
        G3DClearScreen(engine.BackIndex[0], engine);
        return;
    }
    const KeyFrameStuff& frame = level.Clips[CurrentClip].KeyFrames[KeyFrameIndex];
    const int64_t elapsed = int64_t{FrameTime} - KeyFrameStart;
    if (elapsed > frame.Duration) {
        const int32_t next = NextKeyFrame(level.Clips[CurrentClip], KeyFrameIndex);
        if (next >= 0) {
            KeyFrameIndex = next;
            KeyFrameStart = FrameTime;
            StartKeyFrameSound(level.Clips[CurrentClip].KeyFrames[next]);
        } else {
            // KeyFrameIndex stays on the last key frame, which this frame draws.
            KeyFramesRunning = 0;
            PlayClip(NextClip, window);
        }
    }
    // The camera finishes the key frame it was on, even one that just ended.
    const double t = frame.Duration < 1 ? 0.0 : static_cast<double>(elapsed) / frame.Duration;
    for (size_t i = 0; i < ClipCamera.size(); ++i) {
        ClipCamera[i] = static_cast<float>(Between(frame.CameraA[i], frame.CameraB[i], t));
    }
    const auto ambient = static_cast<float>(Between(frame.AmbientA, frame.AmbientB, t));
    const std::array<float, 6> camera = ClipCamera;
    DrawClipFrame(level, engine, window, ambient, camera[0], camera[1], camera[2], camera[3],
                  camera[4], camera[5]);
}

void DrawClipFrame(LevelStuff& level, TDStuff& engine, platform::Window& window, float ambient,
                   float cameraX, float cameraY, float cameraZ, float yaw, float pitch,
                   float roll) {
    // A frame that draws nothing shows the background colour, not the last frame.
    if (!IsClipNumber(CurrentClip) || !IsKeyFrame(KeyFrameIndex)) {
        G3DClearScreen(engine.BackIndex[0], engine);
        return;
    }
    const ClipStuff& clip = level.Clips[CurrentClip];
    const KeyFrameStuff& frame = clip.KeyFrames[KeyFrameIndex];
    if (frame.Duration < 1) {
        G3DClearScreen(engine.BackIndex[0], engine);
        return;
    }
    const double t = static_cast<double>(int64_t{FrameTime} - KeyFrameStart) / frame.Duration;
    ClipCamera = {cameraX, cameraY, cameraZ, yaw, pitch, roll};
    const std::array<float, 3> position = {cameraX, cameraY, cameraZ};

    const int32_t lightRange = ClipLightRange(ambient);
    DrawScene(-1, -1, -1, cameraX, cameraY, cameraZ, yaw, pitch, roll,
              static_cast<float>(lightRange), level, engine, window);
    for (const KeyFrameObjectStuff& slot : frame.Objects) {
        DrawClipObject(clip, slot, t, position, lightRange, level, engine);
    }
    G3DFlush(engine);
    if (clip.Cinemascope) DrawLetterbox(engine);
    DrawRichText(frame.Text, engine, 0, 0);
}
