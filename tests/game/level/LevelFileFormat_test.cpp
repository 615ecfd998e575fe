#include "game/level/LevelFileFormat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>

#include "game/level/CellGrid.h"

namespace {

int32_t IntAt(const std::string& bytes, size_t at) {
    uint32_t u = 0;
    for (size_t i = 0; i < 4; ++i) u |= uint32_t{static_cast<uint8_t>(bytes.at(at + i))} << (8 * i);
    return static_cast<int32_t>(u);
}
int32_t WordAt(const std::string& bytes, size_t at) {
    return static_cast<uint8_t>(bytes.at(at)) | static_cast<uint8_t>(bytes.at(at + 1)) << 8;
}
float FloatAt(const std::string& bytes, size_t at) {
    return std::bit_cast<float>(IntAt(bytes, at));
}
void PutInt(std::string& bytes, size_t at, int32_t v) {
    for (size_t i = 0; i < 4; ++i)
        bytes.at(at + i) = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
}

// A 1 × 1 × 1 level with one row or entry in every list; the record offsets
// of its file are laid out below.
class LevelFileFormatTest : public ::testing::Test {
  protected:
    static constexpr size_t kLists = 291 + 76572;  // P + 76572: the tile-animation high index
    static constexpr size_t kTile = kLists + 4;
    static constexpr size_t kDug = kTile + 40 + 4;
    static constexpr size_t kGolem = kDug + 24 + 4;
    static constexpr size_t kMoving = kGolem + 100 + 4;
    static constexpr size_t kBehaviour = kMoving + 80 + 4;
    static constexpr size_t kEnd = kBehaviour + 64;

    void SetUp() override {
        level = std::make_unique<LevelStuff>();
        ASSERT_TRUE(AllocLevelGrid(1, 1, 1, *level));
    }
    void FillLists() {
        TileAnimationStuff& tile = *level->TileAnimations.Add();
        tile.AnimType = 7, tile.FinalType = -1, tile.FramePosition = 1.5f, tile.PreviousFrame = 1;
        level->DugCells.Add()->BlocType = 256;
        GolemStuff& golem = *level->Golems.Add();
        golem.GolemBloc = 9, golem.X = 100.5f, golem.TargetHero = 1, golem.Blocked = 1;
        golem.AnimPhase = 2.5f, golem.BlockedTime = -3;
        MovingBlocStuff& moving = *level->MovingBlocs.Add();
        moving.BlocType = 12, moving.Kind = kMovingProjectile, moving.StartTime = 77;
        moving.TargetAngle = -4.0f;
        BehaviourStuff& instance = *level->BehaviourInstances.Add();
        instance.BehaviourType = 255, instance.Pc = 256, instance.Phase = 1;
        instance.MoveDuration = 900, instance.MovingBlocRow = 0, instance.InstanceHealth = 0.25f;
    }
    std::string Bytes() { return BuildLevelFile(*level, 4321.5f); }

    std::unique_ptr<LevelStuff> level;
    LevelFileImage image;
};

TEST_F(LevelFileFormatTest, EmptyOneCellLevelHasTheFixedLayout) {
    level->DefinitionFile = "def.ini";
    level->CellTypes[0] = 256;
    level->TurnLayer[0] = 0xAB;
    level->Banner2 = std::string(300, 'b');  // cut to 255
    level->LevelExits[256].ExitZ = -9;
    const std::string bytes = Bytes();
    ASSERT_EQ(bytes.size(), 76883u);
    EXPECT_EQ(bytes[0], 7);
    EXPECT_EQ(bytes.substr(1, 7), "def.ini");
    EXPECT_EQ(WordAt(bytes, 284), 256);
    EXPECT_EQ(static_cast<uint8_t>(bytes[290]), 0xAB);  // layer E at 284 + 6N
    EXPECT_EQ(static_cast<uint8_t>(bytes[291 + 7424]), 255);
    EXPECT_EQ(IntAt(bytes, 291 + 7692 + 256 * 268 + 264), -9);
    EXPECT_EQ(FloatAt(bytes, 291 + 76568), 4321.5f);
    EXPECT_EQ(IntAt(bytes, kLists), -1);
    EXPECT_EQ(IntAt(bytes, kLists + 8), 0);
    EXPECT_EQ(IntAt(bytes, kLists + 16), 0);

    // Bytes after the layout are ignored; a high index or count below 0 is an empty list.
    std::string read = bytes + "old tail";  // the image's layers point into it
    PutInt(read, kLists, -7);
    PutInt(read, kLists + 8, -2);
    ASSERT_TRUE(ParseLevelFile(read, image));
    EXPECT_EQ(image.Banner2, std::string(255, 'b'));
    EXPECT_EQ(image.Layers[4][0], '\xAB');
    EXPECT_TRUE(image.Golems.empty());
    EXPECT_TRUE(image.TileAnimations.empty());
}

TEST_F(LevelFileFormatTest, RecordsLieAtTheirOffsetsAndReadBack) {
    FillLists();
    const std::string bytes = Bytes();
    ASSERT_EQ(bytes.size(), kEnd);
    EXPECT_EQ(IntAt(bytes, kTile + 36), 1);
    EXPECT_EQ(WordAt(bytes, kDug + 12), 256);
    EXPECT_EQ(IntAt(bytes, kGolem - 4), 1);  // a count, entries 1..g
    EXPECT_EQ(WordAt(bytes, kGolem), 9);
    EXPECT_EQ(IntAt(bytes, kGolem + 80), 1);
    EXPECT_EQ(FloatAt(bytes, kGolem + 92), 2.5f);
    EXPECT_EQ(WordAt(bytes, kMoving + 64), 12);
    EXPECT_EQ(bytes[kMoving + 66], kMovingProjectile);
    EXPECT_EQ(FloatAt(bytes, kMoving + 60), -4.0f);
    EXPECT_EQ(IntAt(bytes, kBehaviour + 16), 256);
    EXPECT_EQ(IntAt(bytes, kBehaviour + 44), 900);
    EXPECT_EQ(FloatAt(bytes, kBehaviour + 60), 0.25f);

    ASSERT_TRUE(ParseLevelFile(bytes, image));
    EXPECT_EQ(image.Golems.at(0).AnimPhase, 2.5f);
    EXPECT_EQ(image.MovingBlocs.at(0).TargetAngle, -4.0f);
}

TEST_F(LevelFileFormatTest, EveryFieldLiesAtItsOffset) {
    constexpr size_t P = 291;  // 284 + 7 × 1 cell
    level->SizeX = 1, level->SizeY = 1, level->SizeZ = 1;
    level->StartX = 11, level->StartY = 12, level->StartZ = 13, level->StartAngle = 16384;
    level->LightLayer[0] = 0xA1, level->CornerXLayer[0] = 0xB2, level->CornerYLayer[0] = 0xC3;
    level->CornerZLayer[0] = 0xD4;
    level->ClipZones[0] = {1, 2, 3, 4};
    level->ClipZones[255].ZoneClip = 35;
    level->CameraPoints[0] = {5, 6, 7};
    level->CameraPoints[255].CameraZ = -8;
    level->Banner1 = "Hi";
    level->CurrentSky = 200;
    level->RandSeed = -123456;
    level->BackRed = 10, level->BackGreen = 20, level->BackBlue = 30;
    level->LightDepth = 6;
    level->LevelExits[0] = {"next.lvl", 1, 2, 3};
    FillLists();
    TileAnimationStuff& tile = level->TileAnimations[0];
    tile.X = 1.0f, tile.Z = 3.0f, tile.FinalType = 44, tile.StartTime = 100, tile.StartTime2 = 200;
    DugCellStuff& dug = level->DugCells[0];
    dug.Y = 768.0f, dug.StartTime = 500, dug.Duration = 6000;
    GolemStuff& golem = level->Golems[1];
    golem.Heading = 16.0f, golem.VerticalSpeed = -2.0f, golem.TargetZ = 40.0f;
    golem.WantedPitch = 48.0f, golem.CellX = 52, golem.CellZ = 60, golem.State = 7;
    golem.ResetMark = 40, golem.OutOfSight = 1, golem.LastSoundTime = 76;
    MovingBlocStuff& moving = level->MovingBlocs[0];
    moving.Angle = 12.0f, moving.VelocityX = 20.0f, moving.StartAngle = 44.0f;
    moving.Duration = 72, moving.Spare = 76;
    BehaviourStuff& instance = level->BehaviourInstances[1];
    instance.CellX = 4, instance.CellZ = 12, instance.PcTime = 20;
    const std::string bytes = Bytes();
    ASSERT_EQ(bytes.size(), kEnd);

    EXPECT_EQ(IntAt(bytes, 256), 1);
    EXPECT_EQ(IntAt(bytes, 268), 11);
    EXPECT_EQ(IntAt(bytes, 276), 13);
    EXPECT_EQ(IntAt(bytes, 280), 16384);
    EXPECT_EQ(static_cast<uint8_t>(bytes[286]), 0xA1);  // layer A at 284 + 2N
    EXPECT_EQ(static_cast<uint8_t>(bytes[287]), 0xB2);
    EXPECT_EQ(static_cast<uint8_t>(bytes[288]), 0xC3);
    EXPECT_EQ(static_cast<uint8_t>(bytes[289]), 0xD4);
    EXPECT_EQ(IntAt(bytes, P), 1);
    EXPECT_EQ(IntAt(bytes, P + 12), 4);
    EXPECT_EQ(IntAt(bytes, P + 255 * 16 + 12), 35);
    EXPECT_EQ(IntAt(bytes, P + 4096), 5);
    EXPECT_EQ(IntAt(bytes, P + 4096 + 255 * 12 + 8), -8);
    EXPECT_EQ(bytes[P + 7168], 2);
    EXPECT_EQ(bytes.substr(P + 7169, 2), "Hi");
    EXPECT_EQ(static_cast<uint8_t>(bytes[P + 7680]), 200);
    EXPECT_EQ(IntAt(bytes, P + 7681), -123456);
    EXPECT_EQ(bytes[P + 7685], 10);
    EXPECT_EQ(bytes[P + 7686], 20);
    EXPECT_EQ(bytes[P + 7687], 30);
    EXPECT_EQ(IntAt(bytes, P + 7688), 6);
    EXPECT_EQ(bytes[P + 7692], 8);
    EXPECT_EQ(bytes.substr(P + 7693, 8), "next.lvl");
    EXPECT_EQ(IntAt(bytes, P + 7692 + 256), 1);
    EXPECT_EQ(IntAt(bytes, P + 7692 + 264), 3);

    EXPECT_EQ(IntAt(bytes, kLists), 0);  // high index of one row
    EXPECT_EQ(FloatAt(bytes, kTile), 1.0f);
    EXPECT_EQ(FloatAt(bytes, kTile + 8), 3.0f);
    EXPECT_EQ(IntAt(bytes, kTile + 12), 7);
    EXPECT_EQ(IntAt(bytes, kTile + 16), 44);
    EXPECT_EQ(IntAt(bytes, kTile + 20), 100);
    EXPECT_EQ(IntAt(bytes, kTile + 24), 200);
    EXPECT_EQ(FloatAt(bytes, kTile + 32), 1.5f);
    EXPECT_EQ(IntAt(bytes, kDug - 4), 0);
    EXPECT_EQ(FloatAt(bytes, kDug + 4), 768.0f);
    EXPECT_EQ(IntAt(bytes, kDug + 16), 500);
    EXPECT_EQ(IntAt(bytes, kDug + 20), 6000);
    EXPECT_EQ(FloatAt(bytes, kGolem + 4), 100.5f);
    EXPECT_EQ(FloatAt(bytes, kGolem + 16), 16.0f);
    EXPECT_EQ(FloatAt(bytes, kGolem + 28), -2.0f);
    EXPECT_EQ(FloatAt(bytes, kGolem + 40), 40.0f);
    EXPECT_EQ(FloatAt(bytes, kGolem + 48), 48.0f);
    EXPECT_EQ(IntAt(bytes, kGolem + 52), 52);
    EXPECT_EQ(IntAt(bytes, kGolem + 60), 60);
    EXPECT_EQ(IntAt(bytes, kGolem + 64), 7);
    EXPECT_EQ(IntAt(bytes, kGolem + 68), 40);
    EXPECT_EQ(IntAt(bytes, kGolem + 72), 1);
    EXPECT_EQ(IntAt(bytes, kGolem + 76), 76);
    EXPECT_EQ(bytes[kGolem + 84], 1);
    EXPECT_EQ(IntAt(bytes, kGolem + 96), -3);
    EXPECT_EQ(IntAt(bytes, kMoving - 4), 0);
    EXPECT_EQ(FloatAt(bytes, kMoving + 12), 12.0f);
    EXPECT_EQ(FloatAt(bytes, kMoving + 20), 20.0f);
    EXPECT_EQ(FloatAt(bytes, kMoving + 44), 44.0f);
    EXPECT_EQ(IntAt(bytes, kMoving + 68), 77);
    EXPECT_EQ(IntAt(bytes, kMoving + 72), 72);
    EXPECT_EQ(IntAt(bytes, kMoving + 76), 76);
    EXPECT_EQ(IntAt(bytes, kBehaviour - 4), 1);
    EXPECT_EQ(IntAt(bytes, kBehaviour), 255);
    EXPECT_EQ(IntAt(bytes, kBehaviour + 4), 4);
    EXPECT_EQ(IntAt(bytes, kBehaviour + 12), 12);
    EXPECT_EQ(IntAt(bytes, kBehaviour + 20), 20);
    EXPECT_EQ(bytes[kBehaviour + 24], 1);
    EXPECT_EQ(IntAt(bytes, kBehaviour + 56), 0);
}

TEST_F(LevelFileFormatTest, PreviousFrameStoredAsAFloatReadsAsItsWholePart) {
    FillLists();
    std::string bytes = Bytes();
    PutInt(bytes, kTile + 36, std::bit_cast<int32_t>(2.75f));
    ASSERT_TRUE(ParseLevelFile(bytes, image));
    EXPECT_EQ(image.TileAnimations.at(0).PreviousFrame, 2);
    PutInt(bytes, kTile + 36, 32);  // a whole frame number stays as it is
    ASSERT_TRUE(ParseLevelFile(bytes, image));
    EXPECT_EQ(image.TileAnimations.at(0).PreviousFrame, 32);
    for (float bad : {33.0f, -1.0f, std::nanf("")}) {
        PutInt(bytes, kTile + 36, std::bit_cast<int32_t>(bad));
        EXPECT_FALSE(ParseLevelFile(bytes, image)) << bad;
    }
}

TEST_F(LevelFileFormatTest, EveryTruncationIsRefused) {
    FillLists();
    const std::string bytes = Bytes();
    ASSERT_TRUE(ParseLevelFile(bytes, image));
    for (size_t length : {size_t{0}, size_t{255}, size_t{283}, size_t{290}, kLists, kTile + 39,
                          kGolem + 50, kEnd - 1}) {
        EXPECT_FALSE(ParseLevelFile(std::string_view(bytes).substr(0, length), image)) << length;
    }
}

TEST_F(LevelFileFormatTest, OutOfRangeValuesAreRefused) {
    FillLists();
    const std::string good = Bytes();
    const float nan = std::nanf("");
    struct Patch {
        size_t at;
        int32_t value;
    };
    const Patch patches[] = {
        {256, -1},                                  // negative size
        {256, 1 << 20},                             // grid larger than the file
        {260, 0x7FFFFFFF},                          // cell count past the largest grid
        {284, 257},                                 // cell type (16 bits, with the light byte)
        {kLists, 4097},                             // tile-animation high index past row 4096
        {kGolem - 4, 2049},                         // golem count past 2048
        {kTile + 12, 257},                          // animation type
        {kTile + 36, 33},                           // previous frame
        {kDug + 12, 0x0101},                        // dug cell's type
        {kGolem, 0x0101},                           // golem type
        {kGolem + 80, 2},                           // target hero
        {kGolem + 4, std::bit_cast<int32_t>(nan)},  // golem position
        {kMoving + 64, 0x0201},                     // moving bloc type (with its kind byte)
        {kBehaviour + 56, -2},                      // moving-bloc row
        {kBehaviour + 56, 1},                       // a row past the file's moving blocs
        {kBehaviour + 60, std::bit_cast<int32_t>(nan)},
        {291 + 76568, std::bit_cast<int32_t>(-2e9f)},  // game time
    };
    for (const Patch& patch : patches) {
        std::string bytes = good;
        PutInt(bytes, patch.at, patch.value);
        EXPECT_FALSE(ParseLevelFile(bytes, image)) << "offset " << patch.at;
    }
    // An instance left idle by play (a behaviour number outside 0..255, a
    // program counter past 256) reads back as it was written.
    const Patch idle[] = {{kBehaviour, 256}, {kBehaviour, -1}, {kBehaviour + 16, 257}};
    for (const Patch& patch : idle) {
        std::string bytes = good;
        PutInt(bytes, patch.at, patch.value);
        ASSERT_TRUE(ParseLevelFile(bytes, image)) << "offset " << patch.at;
        const BehaviourStuff& b = image.BehaviourInstances.at(0);
        EXPECT_EQ(patch.at == kBehaviour ? b.BehaviourType : b.Pc, patch.value);
    }
}

}  // namespace
