#include "game/clips/ClipStuff.h"

#include <gtest/gtest.h>

#include <string>

#include "game/level/LevelStuff.h"
#include "platform/msgbox/MessageBox.h"
#include "tests/common/ScratchFolder.h"

namespace {

class ClipStuffTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::SetMessageSink(&messages); }
    void TearDown() override {
        platform::SetMessageSink(nullptr);
        for (int32_t c = 0; c < kClipCount; ++c) ClearClip(Level.Clips[c]);
    }

    // Writes a definition file with `text` and loads its clips into Level.
    void Load(const std::string& text, const std::string& name = "def.ini") {
        LoadClips(scratch.Write(name, text), Level);
    }

    // A mesh file with three vertices and one face; returns its path.
    std::string WriteMesh(const std::string& name) {
        std::string bytes = {2, 0, 0, 0};  // last vertex 2, last face 0
        bytes.resize(4 + 12 * 3 + 16, '\0');
        bytes[4 + 12 * 3] = 0;
        bytes[4 + 12 * 3 + 2] = 1;
        bytes[4 + 12 * 3 + 4] = 2;
        return scratch.Write(name, bytes);
    }

    testutil::ScratchFolder scratch;
    const std::string folder = scratch.Root();
    platform::RecordingMessageSink messages;
};

TEST_F(ClipStuffTest, HeaderKeysAndTheirDefaults) {
    Load(
        "[Clip 4]\nName=Door\n"
        "[Clip 5]\nName=Talk\nMusic=song.mid\nVideo=film.avi\nNextClip=7\nMusicLoop=tRuE\n"
        "VideoLoop=yes\nCinemascope=false\nPlayedSingle=1\nDisplayedMessage=Hello\n"
        "DisplayedMessageWAV=hello.wav\nDisplayedMessageTextVoice=Hi there\n"
        "DisplayedMessageVoice=Mary\nDisplayedMessagePitch=70\nDisplayedDuration=1234\n"
        "DisplayedMessageLeft=0.25\nDisplayedMessageTop=0.5\nDisplayedBitmap=pic.pcx\n"
        "DisplayedBitmapAlpha=30\n");
    const ClipStuff& plain = Level.Clips[4];
    EXPECT_EQ(plain.Name, "Door");
    EXPECT_EQ(plain.NextClip, -1);
    EXPECT_EQ(plain.MusicLoop, 0);
    EXPECT_EQ(plain.VideoLoop, 0);
    EXPECT_EQ(plain.Cinemascope, 1);
    EXPECT_EQ(plain.PlayedSingle, 1);
    EXPECT_EQ(plain.Cutscene, 0);
    EXPECT_EQ(plain.DisplayedMessagePitch, 50);
    EXPECT_EQ(plain.DisplayedBitmapAlpha, 50);
    EXPECT_EQ(plain.DisplayedDuration, 0);

    const ClipStuff& full = Level.Clips[5];
    EXPECT_EQ(full.Music, "song.mid");
    EXPECT_EQ(full.Video, "film.avi");
    EXPECT_EQ(full.NextClip, 7);
    EXPECT_EQ(full.MusicLoop, 1);  // "TRUE" in any letter case
    EXPECT_EQ(full.VideoLoop, 0);  // "yes" is not true
    EXPECT_EQ(full.Cinemascope, 0);
    EXPECT_EQ(full.PlayedSingle, 0);  // nor is "1"
    EXPECT_EQ(full.DisplayedMessage, "Hello");
    EXPECT_EQ(full.DisplayedMessageWAV, "hello.wav");
    EXPECT_EQ(full.DisplayedMessageTextVoice, "Hi there");
    EXPECT_EQ(full.DisplayedMessageVoice, "Mary");
    EXPECT_EQ(full.DisplayedMessagePitch, 70);
    EXPECT_EQ(full.DisplayedDuration, 1234);
    EXPECT_FLOAT_EQ(full.DisplayedMessageLeft, 0.25f);
    EXPECT_FLOAT_EQ(full.DisplayedMessageTop, 0.5f);
    EXPECT_EQ(full.DisplayedBitmap, "pic.pcx");
    EXPECT_EQ(full.DisplayedBitmapAlpha, 30);
}

TEST_F(ClipStuffTest, DurationDefaultsToTwentyMillisecondsPerCharacter) {
    Load(
        "[Clip 0]\nDisplayedMessage=abcdefghijklmnopqrstuvwxy\n"
        "[Clip 32]\nDisplayedMessage=abc\nDisplayedDuration=\n");
    EXPECT_EQ(Level.Clips[0].DisplayedDuration, 500);
    EXPECT_EQ(Level.Clips[32].DisplayedDuration, 60);  // an empty value is the default too
}

TEST_F(ClipStuffTest, KeyFramesAreReadOnlyForACutscene) {
    Load("[Clip 1]\nName=x\nFrame_0_A=(1,2,3),(4,5,6)\nFrame_0_Duration=100\nObject_0=a.msh\n");
    EXPECT_EQ(Level.Clips[1].HasKeyFrames, 0);
    EXPECT_EQ(Level.Clips[1].KeyFrames[0].CameraA, (Placement{}));
    EXPECT_EQ(Level.Clips[1].KeyFrames[0].Duration, 0);
    EXPECT_EQ(Level.Clips[1].ObjectFiles[0], "");
    EXPECT_TRUE(messages.texts.empty());  // no mesh was loaded
}

TEST_F(ClipStuffTest, KeyFramesOfACutscene) {
    Load(
        "[Clip 2]\nCutscene=True\n"
        "Frame_0_A=(1,2,3),(4,5,6)\nFrame_0_B=(7,8,9),(10,11,12)\nFrame_0_Duration=1500\n"
        "Frame_0_Text=Look\nFrame_0_Sample=s.wav\nFrame_0_Voice=Mary\nFrame_0_VoiceText=Hi\n"
        "Frame_0_Pitch=300\nFrame_0_A_AmbientLightPercent=40\n"
        "Frame_1_Duration=900\nFrame_1_Text=never read\n"
        "Frame_2_A=(1-2,5,x),(0,0,0)\nFrame_2_Duration=0\n");
    const ClipStuff& clip = Level.Clips[2];
    EXPECT_EQ(clip.Cutscene, 1);
    EXPECT_EQ(clip.HasKeyFrames, 1);
    const KeyFrameStuff& first = clip.KeyFrames[0];
    EXPECT_EQ(first.CameraA, (Placement{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(first.CameraB, (Placement{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(first.Duration, 1500);
    EXPECT_EQ(first.Text, "Look");
    EXPECT_EQ(first.Sample, "s.wav");
    EXPECT_EQ(first.Voice, "Mary");
    EXPECT_EQ(first.VoiceText, "Hi");
    EXPECT_EQ(first.Pitch, 44);  // the byte keeps the low eight bits of 300
    EXPECT_EQ(first.AmbientA, 40);
    EXPECT_EQ(first.AmbientB, 100);

    const KeyFrameStuff& skipped = clip.KeyFrames[1];  // no Frame_1_A: nothing read
    EXPECT_EQ(skipped.Duration, 0);
    EXPECT_EQ(skipped.Text, "");

    const KeyFrameStuff& odd = clip.KeyFrames[2];  // broken pieces read as 0, the rest goes on
    EXPECT_EQ(odd.CameraA, (Placement{0, 5, 0, 0, 0, 0}));
    EXPECT_EQ(odd.Pitch, 50);
    EXPECT_EQ(odd.AmbientB, 100);
}

TEST_F(ClipStuffTest, CutsceneWithOnlyZeroDurationsHasNoKeyFrames) {
    Load(
        "[Clip 3]\nCutscene=TRUE\nFrame_0_A=(1,1,1),(0,0,0)\nFrame_0_Duration=0\n"
        "Frame_5_A=(1,1,1),(0,0,0)\n");
    EXPECT_EQ(Level.Clips[3].HasKeyFrames, 0);
    EXPECT_EQ(Level.Clips[3].KeyFrames[5].CameraA, (Placement{1, 1, 1, 0, 0, 0}));
}

TEST_F(ClipStuffTest, ObjectSlotsAndTheirIndexes) {
    Load(
        "[Clip 6]\nCutscene=TRUE\nFrame_0_A=(0,0,0),(0,0,0)\nFrame_0_Duration=10\n"
        "Frame_0_Mesh_0_Index_A=2\nFrame_0_Mesh_0_A=(1,2,3),(4,5,6)\n"
        "Frame_0_Mesh_0_Index_B=3\nFrame_0_Mesh_0_B=(6,5,4),(3,2,1)\n"
        "Frame_0_Mesh_1_Index_A=1\nFrame_0_Mesh_1_A=(9,9,9),(9,9,9)\n"
        "Frame_0_Mesh_2_Index_A=1\nFrame_0_Mesh_2_Index_B=40\n"
        "Frame_0_Mesh_3_A=(5,5,5),(5,5,5)\nFrame_0_Mesh_3_Index_B=2\n"
        "Frame_1_A=(0,0,0),(0,0,0)\nFrame_1_Mesh_0_Index_A=33\nFrame_1_Mesh_0_A=(1,1,1),(1,1,1)\n"
        "Frame_1_Mesh_1_Index_A=-5\n");
    const auto& slots = Level.Clips[6].KeyFrames[0].Objects;
    EXPECT_EQ(slots[0].IndexA, 2);
    EXPECT_EQ(slots[0].PlacementA, (Placement{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(slots[0].IndexB, 3);
    EXPECT_EQ(slots[0].PlacementB, (Placement{6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(slots[1].IndexB, 1);  // no Index_B: the object keeps mesh A
    EXPECT_EQ(slots[1].PlacementA, (Placement{9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(slots[2].IndexB, 1);   // out of range: mesh A
    EXPECT_EQ(slots[3].IndexA, -1);  // empty slot: its other keys are not read
    EXPECT_EQ(slots[3].IndexB, -1);
    EXPECT_EQ(slots[3].PlacementA, (Placement{}));

    const auto& bad = Level.Clips[6].KeyFrames[1].Objects;
    EXPECT_EQ(bad[0].IndexA, -1);  // beyond the clip's 33 objects
    EXPECT_EQ(bad[0].PlacementA, (Placement{}));
    EXPECT_EQ(bad[1].IndexA, -1);
}

TEST_F(ClipStuffTest, ANewDefinitionStartsFromClearedClips) {
    const std::string mesh = WriteMesh("obj.msh");
    Load("[Clip 7]\nName=Old\nCutscene=TRUE\nMusicLoop=TRUE\nObject_0=" + mesh +
             "\nFrame_0_A=(1,2,3),(4,5,6)\nFrame_0_Duration=100\n"
             "Frame_0_Mesh_0_Index_A=0\n[Clip 8]\nName=Eight\nCutscene=TRUE\n"
             "Frame_3_A=(1,1,1),(1,1,1)\nFrame_3_Duration=5\n",
         "a.ini");
    ASSERT_NE(Level.Clips[7].ObjectMeshes[0], nullptr);
    EXPECT_EQ(Level.Clips[7].ObjectMeshes[0]->LastVertex, 2);
    EXPECT_EQ(Level.Clips[7].ObjectFiles[0], mesh);
    EXPECT_EQ(Level.Clips[8].HasKeyFrames, 1);

    Load("[Clip 8]\nName=New eight\n", "b.ini");
    const ClipStuff& gone = Level.Clips[7];  // no section in the new definition
    EXPECT_EQ(gone.Name, "");
    EXPECT_EQ(gone.MusicLoop, 0);
    EXPECT_EQ(gone.ObjectMeshes[0], nullptr);
    EXPECT_EQ(gone.ObjectFiles[0], "");
    EXPECT_EQ(gone.KeyFrames[0].Duration, 0);
    EXPECT_EQ(gone.KeyFrames[0].Objects[0].IndexA, -1);
    const ClipStuff& eight = Level.Clips[8];  // no Cutscene now: nothing of the old frames
    EXPECT_EQ(eight.Name, "New eight");
    EXPECT_EQ(eight.HasKeyFrames, 0);
    EXPECT_EQ(eight.KeyFrames[3].CameraA, (Placement{}));
}

TEST_F(ClipStuffTest, MissingObjectFileIsReportedAndLeavesNoMesh) {
    Load("[Clip 9]\nCutscene=TRUE\nObject_4=" + folder + "/missing.msh\n");
    EXPECT_EQ(Level.Clips[9].ObjectFiles[4], folder + "/missing.msh");
    EXPECT_EQ(Level.Clips[9].ObjectMeshes[4], nullptr);
    EXPECT_EQ(messages.texts.size(), 1u);
}

TEST_F(ClipStuffTest, BuiltInClipsSurviveDefinitionLoads) {
    SetBuiltInClips(Level, "dev.avi", "intro.mp3", "intro.avi", "extro.mid", "extro.avi");
    Load("[Clip 33]\nName=Not read\n");
    const ClipStuff& developer = Level.Clips[kDeveloperClip];
    EXPECT_EQ(developer.Name, "Developer");
    EXPECT_EQ(developer.Music, "");
    EXPECT_EQ(developer.Video, "dev.avi");
    EXPECT_EQ(developer.NextClip, kIntroClip);
    EXPECT_EQ(developer.VideoLoop, 0);
    const ClipStuff& intro = Level.Clips[kIntroClip];
    EXPECT_EQ(intro.Name, "Game Intro");
    EXPECT_EQ(intro.Music, "intro.mp3");
    EXPECT_EQ(intro.NextClip, -1);
    EXPECT_EQ(intro.MusicLoop, 1);
    EXPECT_EQ(intro.VideoLoop, 1);
    const ClipStuff& extro = Level.Clips[kExtroClip];
    EXPECT_EQ(extro.Name, "Game Extro");
    EXPECT_EQ(extro.Music, "extro.mid");
    EXPECT_EQ(extro.Video, "extro.avi");
}

TEST_F(ClipStuffTest, MissingDefinitionGivesDefaultClips) {
    Load("[Clip 0]\nName=Zero\n");
    LoadClips(folder + "/none.ini", Level);
    EXPECT_EQ(Level.Clips[0].Name, "");
    EXPECT_EQ(Level.Clips[0].NextClip, -1);
}

}  // namespace
