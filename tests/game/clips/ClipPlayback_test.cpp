#include "game/clips/ClipPlayback.h"
#include "game/draw/HudText.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/G3DCamera.h"
#include "engine/G3DImages.h"
#include "game/GameClock.h"
#include "game/clips/ClipStuff.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelDefinition.h"
#include "game/media/Video.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "support/Snd.h"
#include "tests/common/RecordingBackend.h"
#include "tests/engine/TestFiles.h"
#include "tests/game/LevelTestWorld.h"
#include "tests/support/WaveBuilder.h"

namespace {

// A camera position no clip frame takes: the frame drew nothing when it stays.
constexpr int32_t kUntouched = -77777;

class ClipPlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto device = std::make_unique<platform::audio::RecordingAudioDevice>();
        log = device->Log();
        InitSound(std::move(device));
        ASSERT_TRUE(AllocLevelGrid(4, 4, 4, Level));
        G3DSetViewport(DStuff, 160, 120, 256, 256, 64, 1, 4, 1000);
        Heroes[0].LightRange = 10000;
        GameTime = 0;
        FrameTime = 0;
        FrameStep = 40;
        CurrentClip = NextClip = MessageClip = -1;
        KeyFramesRunning = TitleClipRunning = 0;
        SetBuiltInClips(Level, "developer.avi", "", "", "", "");
    }
    void TearDown() override {
        for (ClipStuff& clip : Level.Clips) ClearClip(clip);
        FreeSound(Level.ClipSound);
        FreeSound(MessageSound);
        ShutDownSound();
        AllocLevelGrid(0, 0, 0, Level);
        DStuff.CamX = 0;
    }

    // A WAV file of `bytes` bytes of 8-bit samples.
    void WriteWave(const std::string& name, size_t bytes) {
        world.folder.Write(name, wavetest::PcmWave(1, 22050, 8, std::string(bytes, '\x80')));
    }
    // Byte sizes of the sound buffers made so far, and whether each plays.
    std::vector<std::pair<size_t, bool>> Sounds() const {
        std::vector<std::pair<size_t, bool>> sounds;
        for (const auto& buffer : log->Buffers) sounds.emplace_back(buffer->Bytes, buffer->Playing);
        return sounds;
    }
    // A cut-scene clip whose key frames last `durations` ms (key frames 0 up).
    ClipStuff& CutScene(int32_t n, const std::vector<int32_t>& durations) {
        ClipStuff& clip = Level.Clips[n];
        clip.HasKeyFrames = 1;
        clip.Cinemascope = 0;
        for (size_t f = 0; f < durations.size(); ++f) clip.KeyFrames[f].Duration = durations[f];
        return clip;
    }
    void Frame(int32_t time) {
        FrameTime = time;
        AdvanceClip(Level, DStuff, *world.window);
    }
    // Object mesh `m` of the clip: one double-sided triangle of flat colour
    // `colour`, 100 units on its sides.
    static void TriangleObject(ClipStuff& clip, int32_t m, uint16_t colour = 0) {
        G3DAllocMesh(clip.ObjectMeshes[m], 2, 0);
        clip.ObjectMeshes[m]->Y[1] = 100;
        clip.ObjectMeshes[m]->X[2] = 100;
        clip.ObjectMeshes[m]->Faces[0] = {0, 1, 2, colour, 0, 1, kG3DFaceFlat, 0};
    }

    leveltest::LevelTestWorld world;
    std::shared_ptr<platform::audio::RecordingLog> log;
};

TEST_F(ClipPlaybackTest, MessageClipShowsItsPictureAndPlaysItsSound) {
    WriteWave("hello.wav", 300);
    const std::vector<uint8_t> pixels(16, 7);
    world.folder.Write("hello.pcx", enginetest::MakePcx(8, 2, enginetest::PlainRuns(pixels)));
    ClipStuff& clip = Level.Clips[5];
    clip.DisplayedMessage = "Hello";
    clip.DisplayedMessageWAV = "HELLO.WAV";
    clip.DisplayedBitmap = "hello.pcx";
    clip.NextClip = 9;
    FrameTime = 1234;
    PlayClip(5, *world.window);
    EXPECT_EQ(MessageClip, 5);
    EXPECT_EQ(MessageClipStart, 1234);
    EXPECT_EQ(Sounds(), (std::vector<std::pair<size_t, bool>>{{300, true}}));
    EXPECT_EQ(G3DImages[kMessagePictureSlot].Width, 8);
    EXPECT_EQ(G3DImages[kMessagePictureSlot].Height, 2);
    // No media: the clip is not current, its next clip is not taken, the
    // frame step runs on.
    EXPECT_EQ(CurrentClip, -1);
    EXPECT_EQ(NextClip, -1);
    EXPECT_EQ(FrameStep, 40);
    EXPECT_TRUE(world.messages.texts.empty());

    // The same message with a video: shown, and the clip's media start.
    clip.Video = "film.avi";
    GameTime = 2000;
    PlayClip(5, *world.window);
    EXPECT_EQ(MessageClip, 5);
    EXPECT_EQ(CurrentClip, 5);
    EXPECT_EQ(FrameStep, 1);
    EXPECT_EQ(FrameTime, 2000);
    EXPECT_EQ(Sounds().size(), 2u);  // the sound was loaded again, the old one freed
    EXPECT_TRUE(log->Buffers[0]->Released);
}

TEST_F(ClipPlaybackTest, KeyFramesWithoutDurationArePassedOverAndTheLastIsNeverPassed) {
    struct Case {
        std::vector<int32_t> durations;
        // (FrameTime, key frame) at each change; key frame -1: the cut-scene ended.
        std::vector<std::pair<int32_t, int32_t>> changes;
    };
    std::vector<int32_t> onlyLast(kKeyFrameCount, 0);
    onlyLast[32] = 500;
    const std::vector<Case> cases = {
        {{2000, 0, 1000}, {{2100, 2}, {3200, -1}}},
        {onlyLast, {{100, 32}, {700, -1}}},
    };
    for (const Case& c : cases) {
        CutScene(3, c.durations).NextClip = 4;
        Level.Clips[4].DisplayedMessage = "next";
        MessageClip = -1;
        FrameTime = 0;
        PlayClip(3, *world.window);
        std::vector<std::pair<int32_t, int32_t>> changes;
        int32_t index = KeyFrameIndex;
        for (int32_t time = 0; time <= 5000 && KeyFramesRunning; time += 100) {
            Frame(time);
            if (!KeyFramesRunning) {
                changes.emplace_back(time, -1);
                EXPECT_EQ(MessageClip, 4) << "the next clip starts at the end";
            } else if (KeyFrameIndex != index) {
                changes.emplace_back(time, index = KeyFrameIndex);
            }
            EXPECT_EQ(MessageClip == 4, !KeyFramesRunning) << time;
        }
        EXPECT_EQ(changes, c.changes);
        EXPECT_EQ(KeyFrameIndex, c.changes.front().second) << "stays on the last key frame";
        ClearClip(Level.Clips[3]);
    }
}

TEST_F(ClipPlaybackTest, EachKeyFramePlaysItsOwnSample) {
    WriteWave("k0.wav", 100);
    WriteWave("k1.wav", 200);
    WriteWave("k2.wav", 300);
    ClipStuff& clip = CutScene(3, {2000, 0, 1000});
    for (int32_t f = 0; f < 3; ++f) clip.KeyFrames[f].Sample = "k" + std::to_string(f) + ".wav";
    PlayClip(3, *world.window);
    EXPECT_EQ(Sounds(), (std::vector<std::pair<size_t, bool>>{{100, true}}));
    Frame(2001);
    EXPECT_EQ(Sounds(), (std::vector<std::pair<size_t, bool>>{{100, false}, {300, true}}));
}

TEST_F(ClipPlaybackTest, FirstKeyFrameWithoutDurationDrawsNothing) {
    CutScene(3, {0, 1000});
    PlayClip(3, *world.window);
    DStuff.CamX = kUntouched;
    DStuff.BackIndex.fill(42);
    testutil::ClearBackendRecord();
    Frame(0);
    EXPECT_EQ(KeyFrameIndex, 0);
    EXPECT_EQ(DStuff.CamX, kUntouched);
    EXPECT_EQ(testutil::Backend().clears, std::vector<uint8_t>{42}) << "the background, no scene";
    EXPECT_TRUE(testutil::Backend().flushes.empty());
    Frame(40);
    EXPECT_EQ(KeyFrameIndex, 1);
    EXPECT_EQ(DStuff.CamX, 0);
}

TEST_F(ClipPlaybackTest, ChangingFrameKeepsTheOldCameraAndDrawsTheNewObjects) {
    ClipStuff& clip = CutScene(6, {1000, 1000});
    clip.KeyFrames[0].CameraB = {1000, 2000, -1000, 100, 0, 0};
    clip.KeyFrames[1].CameraA = {9000, 9000, 9000, 0, 0, 0};
    KeyFrameObjectStuff& object = clip.KeyFrames[1].Objects[0];
    object.IndexA = 0;
    object.IndexB = -1;  // keeps mesh 0
    object.PlacementA = {3000, 500, 4000, 16384, 0, 0};
    object.PlacementB = {8000, 8000, 8000, 16384, 0, 0};
    TriangleObject(clip, 0);
    // A slot of a mesh index outside the clip's objects, one without a mesh.
    clip.KeyFrames[1].Objects[1].IndexA = 40;
    clip.KeyFrames[1].Objects[2].IndexA = 7;

    PlayClip(6, *world.window);
    Frame(1100);
    ASSERT_EQ(KeyFrameIndex, 1);
    EXPECT_EQ(ClipCamera, (std::array<float, 6>{1100, 2200, -1100, 110, 0, 0}));
    EXPECT_EQ((std::array{DStuff.CamX, DStuff.CamY, DStuff.CamZ, DStuff.CamYaw}),
              (std::array{1100, 2200, -1100, 110}));
    // The flush leaves the drawn triangles in the list: the object stands at
    // the new key frame's start, relative to the camera.
    const TG3DTriangle& drawn = DStuff.RenderList[0];
    EXPECT_EQ((std::array{drawn.X0, drawn.Y0, drawn.Z0}), (std::array{1900.0f, -1700.0f, 5100.0f}));
    EXPECT_EQ(drawn.X2, 2000.0f);
}

TEST_F(ClipPlaybackTest, TitleClipFlagFollowsTheLastClipStarted) {
    struct Case {
        std::vector<int32_t> clips;
        std::string introVideo;
        uint8_t titleRunning;
        int32_t current;
    };
    const std::vector<Case> cases = {
        {{34}, "", 1, -1},
        {{34, 5}, "", 0, -1},
        {{34, 35}, "", 0, -1},
        {{34, -1}, "", 1, -1},  // -1 starts nothing
        {{34, 36, -2, INT_MAX, INT_MIN}, "", 1, -1},
        // The developer video cannot play: the title clip follows at once.
        {{5, 33}, "", 1, -1},
        {{33}, "intro.avi", 1, 34},
        {{33, 34, 33}, "intro.avi", 1, 34},
    };
    Level.Clips[5].DisplayedMessage = "a message";
    for (const Case& c : cases) {
        Level.Clips[34].Video = c.introVideo;
        TitleClipRunning = 0;
        CurrentClip = -1;
        for (int32_t n : c.clips) PlayClip(n, *world.window);
        EXPECT_EQ(TitleClipRunning, c.titleRunning) << c.clips.back();
        EXPECT_EQ(CurrentClip, c.current) << c.clips.back();
    }
    EXPECT_EQ(NextClip, -1);
    EXPECT_EQ(LoopVideo, 1);
}

TEST_F(ClipPlaybackTest, ObjectsFadeOutWhenTheAmbientLeavesNoLight) {
    struct Case {
        int32_t ambient;  // percent of the hero's light range
        float alpha;      // of the object 2000 units in front of the camera
    };
    // 10000 × ambient / 100 + 1 units of light; objects fade from two thirds of
    // it, and nearer ones are brighter still (the fade has no lower limit). No
    // light at all (0 or less) leaves nothing to see.
    const std::vector<Case> cases = {{100, 2.4f}, {25, 0.61f}, {-1, 0.0f}, {-10, 0.0f}};
    for (const Case& c : cases) {
        ClipStuff& clip = CutScene(6, {1000});
        KeyFrameStuff& frame = clip.KeyFrames[0];
        frame.AmbientA = frame.AmbientB = c.ambient;
        frame.Objects[0].IndexA = 0;
        frame.Objects[0].PlacementA = frame.Objects[0].PlacementB = {0, 0, 2000, 16384, 0, 0};
        TriangleObject(clip, 0);
        PlayClip(6, *world.window);
        testutil::ClearBackendRecord();
        Frame(10);
        ASSERT_FALSE(testutil::Backend().flushes.empty()) << c.ambient;
        const std::vector<TG3DTriangle>& drawn = testutil::Backend().flushes[0];
        ASSERT_EQ(drawn.size(), 1u) << c.ambient;
        EXPECT_FLOAT_EQ(drawn[0].Alpha, c.alpha) << c.ambient;
        ClearClip(clip);
    }
}

TEST_F(ClipPlaybackTest, ObjectsOfEqualSizesAreDrawnEachWithItsOwnFaces) {
    ClipStuff& clip = CutScene(6, {1000});
    DStuff.SecondPalette[10] = 100;
    DStuff.SecondPalette[20] = 200;
    for (int32_t m = 0; m < 2; ++m) {
        TriangleObject(clip, m, m == 0 ? 10 : 20);
        KeyFrameObjectStuff& slot = clip.KeyFrames[0].Objects[m];
        slot.IndexA = m;
        slot.PlacementA = slot.PlacementB = {m * 500, 0, 2000, 16384, 0, 0};
    }
    PlayClip(6, *world.window);
    testutil::ClearBackendRecord();
    Frame(10);
    ASSERT_FALSE(testutil::Backend().flushes.empty());
    std::vector<uint8_t> reds;
    for (const TG3DTriangle& t : testutil::Backend().flushes[0]) reds.push_back(t.Red);
    std::sort(reds.begin(), reds.end());
    EXPECT_EQ(reds, (std::vector<uint8_t>{100, 200}));
    DStuff.SecondPalette = {};
}

TEST_F(ClipPlaybackTest, TheLetterboxBarsStandAboveAndBelowTheScene) {
    G3DAllocMesh(LetterboxMesh, 3, 1);  // a 1000 × 100 bar, as the loader builds it
    for (int32_t v = 0; v < 4; ++v) {
        LetterboxMesh->X[v] = v == 1 || v == 2 ? 1000 : 0;
        LetterboxMesh->Y[v] = v >= 2 ? 100 : 0;
    }
    LetterboxMesh->Faces[0] = TG3DFace{0, 1, 2, 0, 1, 1, kG3DFaceFlat, 0};
    LetterboxMesh->Faces[1] = TG3DFace{2, 3, 0, 0, 1, 1, kG3DFaceFlat, 0};
    for (const uint8_t cinemascope : {0, 1}) {
        ClipStuff& clip = CutScene(6, {1000});
        clip.Cinemascope = cinemascope;
        clip.KeyFrames[0].CameraA = clip.KeyFrames[0].CameraB = {5000, 600, 7000, 900, 0, 0};
        PlayClip(6, *world.window);
        testutil::ClearBackendRecord();
        Frame(10);
        const auto& flushes = testutil::Backend().flushes;
        ASSERT_EQ(flushes.size(), 1u + cinemascope);
        if (cinemascope == 0) continue;
        // Both bars face a camera of their own at the origin, whatever the
        // clip's camera: one spans y 145..245, the other -245..-145.
        std::vector<std::array<float, 2>> bars;
        for (const TG3DTriangle& t : flushes[1]) {
            EXPECT_FLOAT_EQ(t.Z0, 200.0f);
            bars.push_back({std::min({t.Y0, t.Y1, t.Y2}), std::max({t.Y0, t.Y1, t.Y2})});
        }
        std::sort(bars.begin(), bars.end());
        EXPECT_EQ(bars, (std::vector<std::array<float, 2>>{
                            {-245, -145}, {-245, -145}, {145, 245}, {145, 245}}));
        EXPECT_EQ((std::array{DStuff.CamX, DStuff.CamY, DStuff.CamZ}), (std::array{0, 0, 0}));
    }
    G3DFreeMesh(LetterboxMesh);
}

}  // namespace
