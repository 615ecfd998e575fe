#include "support/WinFunc.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"
#include "platform/window/Application.h"
#include "platform/window/Cursor.h"
#include "tests/common/ScratchFolder.h"

namespace {

TEST(KeyNames, ListedNamesAndOneCharacterRest) {
    InitWinFunc();
    EXPECT_EQ(KeyNames[65], "A");
    EXPECT_EQ(KeyNames[48], "0");
    EXPECT_EQ(KeyNames[97], "a");
    EXPECT_EQ(KeyNames[46], "SUP");
    EXPECT_EQ(KeyNames[8], "DEL");
    EXPECT_EQ(KeyNames[13], "RET");
    EXPECT_EQ(KeyNames[33], "PG.UP");
    EXPECT_EQ(KeyNames[34], "PG.DOWN");
    EXPECT_EQ(KeyNames[96], "NUM INS");
    EXPECT_EQ(KeyNames[110], "NUM SUP");
    EXPECT_EQ(KeyNames[112], "F1");
    EXPECT_EQ(KeyNames[123], "F12");
    EXPECT_EQ(KeyNames[124], std::string(1, '\x7C'));
    EXPECT_EQ(KeyNames[0], std::string(1, '\0'));
    EXPECT_EQ(KeyNames[255], std::string(1, '\xFF'));
    EXPECT_EQ(IsKeyDown(200), 0);
}

class DataFileTest : public ::testing::Test {
  protected:
    void Write(const std::string& name, const std::string& bytes) { scratch.Write(name, bytes); }
    std::string Read(const std::string& name) {
        std::string bytes;
        platform::fs::ReadWholeFile(folder + "/" + name, bytes);
        return bytes;
    }

    testutil::ScratchFolder scratch;
    const std::string folder = scratch.Root();
};

TEST_F(DataFileTest, MissingFileIsCreatedEmptyExistingFileKeepsItsBytes) {
    DataFileHandle handle;
    int32_t size = -1;
    ASSERT_TRUE(OpenDataFile(folder + "/new.bin", handle, size));
    EXPECT_EQ(size, 0);
    CloseDataFile(handle);
    EXPECT_TRUE(FileFound(folder + "/new.bin"));

    Write("old.bin", std::string(1000, 'x'));
    ASSERT_TRUE(OpenDataFile(folder + "/old.bin", handle, size));
    EXPECT_EQ(size, 1000);
    CloseDataFile(handle);
    EXPECT_EQ(Read("old.bin"), std::string(1000, 'x'));
}

TEST_F(DataFileTest, ReadsAndWritesAtOffsetsShortReadsZeroFill) {
    Write("data.bin", "0123456789");
    DataFileHandle handle;
    int32_t size;
    ASSERT_TRUE(OpenDataFile(folder + "/DATA.BIN", handle, size));  // any letter case
    char buffer[8];
    ASSERT_TRUE(ReadDataAt(buffer, handle, 2, 3));
    EXPECT_EQ(std::string(buffer, 3), "234");
    std::memset(buffer, 'z', sizeof buffer);
    EXPECT_FALSE(ReadDataAt(buffer, handle, 7, 8));  // 3 bytes there
    EXPECT_EQ(std::string(buffer, 8), std::string("789") + std::string(5, '\0'));
    EXPECT_FALSE(ReadDataAt(buffer, handle, 50, 4));
    EXPECT_EQ(std::string(buffer, 4), std::string(4, '\0'));
    EXPECT_TRUE(WriteDataAt("AB", handle, 4, 2));
    EXPECT_TRUE(WriteDataAt("Z", handle, 12, 1));  // past the end: the gap is zeros
    CloseDataFile(handle);
    EXPECT_EQ(Read("data.bin"), std::string("0123AB6789") + std::string(2, '\0') + "Z");
}

TEST_F(DataFileTest, ReadOnlyFileIsOpenedNotEmptiedAndWritesFail) {
    Write("locked.bin", "keep me");
    chmod((folder + "/locked.bin").c_str(), 0444);
    DataFileHandle handle;
    int32_t size;
    ASSERT_TRUE(OpenDataFile(folder + "/locked.bin", handle, size));
    EXPECT_EQ(size, 7);
    if (geteuid() != 0) {
        EXPECT_FALSE(WriteDataAt("x", handle, 0, 1));
    }
    CloseDataFile(handle);
    EXPECT_EQ(Read("locked.bin"), "keep me");
}

TEST_F(DataFileTest, OperationsOnNoFileFailWithoutHarm) {
    DataFileHandle handle;
    int32_t size;
    EXPECT_FALSE(OpenDataFile(folder + "/missing-folder/x.bin", handle, size));
    EXPECT_EQ(handle, -1);
    char buffer[4] = {1, 2, 3, 4};
    EXPECT_FALSE(ReadDataAt(buffer, -1, 0, 4));
    EXPECT_EQ(buffer[0], 0);
    EXPECT_FALSE(WriteDataAt(buffer, -1, 0, 4));
    CloseDataFile(-1);
    // A folder is not a data file.
    EXPECT_FALSE(OpenDataFile(folder, handle, size));
    EXPECT_FALSE(FileFound(folder));
}

// Joystick 1 through SDL's virtual joystick.
class JoystickTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
        device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
        ASSERT_GE(device, 0);
        InitJoystick();
        virtualJoystick = SDL_JoystickOpen(device);
        ASSERT_NE(virtualJoystick, nullptr);
    }
    void TearDown() override {
        SDL_JoystickClose(virtualJoystick);
        SDL_JoystickDetachVirtual(device);
        InitJoystick();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    // Sets the game's 0..65535 position.
    void Move(int x, int y) {
        SDL_JoystickSetVirtualAxis(virtualJoystick, 0, static_cast<Sint16>(x - 32768));
        SDL_JoystickSetVirtualAxis(virtualJoystick, 1, static_cast<Sint16>(y - 32768));
    }
    int device = -1;
    SDL_Joystick* virtualJoystick = nullptr;
};

TEST_F(JoystickTest, ThresholdsAtAQuarterAndThreeQuartersOfTheRange) {
    ASSERT_FALSE(NoJoystick);
    Move(32768, 32768);
    EXPECT_FALSE(JoyLeft());
    EXPECT_FALSE(JoyRight());
    EXPECT_FALSE(JoyUp());
    EXPECT_FALSE(JoyDown());
    Move(16382, 32768);
    EXPECT_TRUE(JoyLeft());
    Move(16383, 32768);
    EXPECT_FALSE(JoyLeft());
    Move(49151, 32768);
    EXPECT_TRUE(JoyRight());
    Move(49150, 32768);
    EXPECT_FALSE(JoyRight());
    Move(32768, 0);
    EXPECT_TRUE(JoyUp());
    Move(32768, 65535);
    EXPECT_TRUE(JoyDown());
}

TEST_F(JoystickTest, ButtonsOneToFourOnly) {
    SDL_JoystickSetVirtualButton(virtualJoystick, 2, SDL_PRESSED);
    EXPECT_TRUE(JoyButton(3));
    EXPECT_FALSE(JoyButton(1));
    EXPECT_FALSE(JoyButton(0));
    EXPECT_FALSE(JoyButton(5));
}

TEST(NoJoystickAttached, EveryTestIsFalse) {
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    InitJoystick();
    if (!NoJoystick) GTEST_SKIP() << "a joystick is plugged in";
    EXPECT_FALSE(JoyLeft() || JoyRight() || JoyUp() || JoyDown() || JoyButton(1));
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

TEST(Cursor, HidesOnceShowsOnce) {
    if (!platform::Application::Instance().Initialise()) GTEST_SKIP() << "no display";
    InitWinFunc();
    SetCursorVisible(false);
    SetCursorVisible(false);
    EXPECT_FALSE(platform::SystemCursorShown());
    SetCursorVisible(true);
    EXPECT_TRUE(platform::SystemCursorShown());
    platform::Application::Instance().Finalise();
}

}  // namespace
