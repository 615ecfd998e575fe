#include "platform/fs/PathResolver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "tests/common/ScratchFolder.h"

namespace {

using platform::fs::CurrentFolder;
using platform::fs::Resolve;
using platform::fs::SameNameIgnoringCase;
using platform::fs::SetCurrentFolder;

// A scratch folder holding a small tree with mixed-case names; the
// virtual current folder is put back after each test.
class PathResolverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = CurrentFolder();
        Make("level/File.txt");
        Make("Save/Slot1/savegame.bin");
    }
    void TearDown() override { EXPECT_TRUE(SetCurrentFolder(saved_)); }
    void Make(const std::string& relative) { scratch_.Write(relative, "x"); }

    testutil::ScratchFolder scratch_;
    const std::string root_ = scratch_.Root();
    std::string saved_;
};

TEST_F(PathResolverTest, BothSeparatorsAndAnyCaseReachStoredNames) {
    const std::string expected = root_ + "/level/File.txt";
    EXPECT_EQ(Resolve(root_ + "\\LEVEL\\file.TXT"), expected);
    EXPECT_EQ(Resolve(root_ + "/Level/FILE.txt"), expected);
    EXPECT_EQ(Resolve(root_ + "\\level/File.txt"), expected);
    EXPECT_EQ(Resolve(root_ + "//LEVEL\\\\file.txt"), expected);
    EXPECT_EQ(Resolve(root_ + "\\SAVE\\slot1\\SAVEGAME.BIN"), root_ + "/Save/Slot1/savegame.bin");
    EXPECT_EQ(Resolve(root_ + "\\save\\"), root_ + "/Save");
}

TEST_F(PathResolverTest, ExactNameWinsOverOtherCases) {
    Make("data.ini");
    Make("DATA.INI");
    EXPECT_EQ(Resolve(root_ + "/data.ini"), root_ + "/data.ini");
    EXPECT_EQ(Resolve(root_ + "/DATA.INI"), root_ + "/DATA.INI");
    // Neither spelled exactly: the choice is the same every time (byte order).
    EXPECT_EQ(Resolve(root_ + "/Data.Ini"), root_ + "/DATA.INI");
    EXPECT_EQ(Resolve(root_ + "/dATA.ini"), root_ + "/DATA.INI");
}

TEST_F(PathResolverTest, MissingComponentsAreKeptAsWritten) {
    EXPECT_EQ(Resolve(root_ + "\\LEVEL\\New.bin"), root_ + "/level/New.bin");
    EXPECT_EQ(Resolve(root_ + "\\SAVE\\Slot2\\GAME.bin"), root_ + "/Save/Slot2/GAME.bin");
    // Once a component is missing, later ones are not looked up, even when a
    // name of another case happens to exist further on.
    EXPECT_EQ(Resolve(root_ + "/Nothing/LEVEL"), root_ + "/Nothing/LEVEL");
}

TEST_F(PathResolverTest, DotAndDotDotApplyToTheText) {
    EXPECT_EQ(Resolve(root_ + "/./LEVEL/./file.txt"), root_ + "/level/File.txt");
    EXPECT_EQ(Resolve(root_ + "/SAVE/SLOT1/../../Level"), root_ + "/level");
    // After ".." leaves a missing folder, the stored names count again.
    EXPECT_EQ(Resolve(root_ + "/Missing/../LEVEL/FILE.TXT"), root_ + "/level/File.txt");
    EXPECT_EQ(Resolve("/.."), "/");
}

TEST_F(PathResolverTest, RelativePathsStartAtTheVirtualCurrentFolder) {
    char before[PATH_MAX];
    ASSERT_NE(getcwd(before, sizeof before), nullptr);

    ASSERT_TRUE(SetCurrentFolder(root_ + "\\SAVE"));
    EXPECT_EQ(CurrentFolder(), root_ + "/Save");
    EXPECT_EQ(Resolve("SLOT1\\SaveGame.bin"), root_ + "/Save/Slot1/savegame.bin");
    EXPECT_EQ(Resolve("..\\LEVEL"), root_ + "/level");
    EXPECT_EQ(Resolve(""), root_ + "/Save");
    EXPECT_EQ(Resolve("."), root_ + "/Save");

    ASSERT_TRUE(SetCurrentFolder("slot1"));  // relative to the current one
    EXPECT_EQ(CurrentFolder(), root_ + "/Save/Slot1");

    char after[PATH_MAX];
    ASSERT_NE(getcwd(after, sizeof after), nullptr);
    EXPECT_STREQ(before, after);  // the process's own folder never moves
}

TEST_F(PathResolverTest, CurrentFolderRefusesFilesAndMissingFolders) {
    ASSERT_TRUE(SetCurrentFolder(root_));
    EXPECT_FALSE(SetCurrentFolder("level/File.txt"));
    EXPECT_FALSE(SetCurrentFolder("NoSuchFolder"));
    EXPECT_EQ(CurrentFolder(), root_);
    // A link to a folder is a folder to change into.
    ASSERT_EQ(symlink((root_ + "/level").c_str(), (root_ + "/shortcut").c_str()), 0);
    EXPECT_TRUE(SetCurrentFolder("SHORTCUT"));
}

TEST(SameNameIgnoringCase, FoldsAsciiLettersOnly) {
    EXPECT_TRUE(SameNameIgnoringCase("Level1.LVL", "level1.lvl"));
    EXPECT_FALSE(SameNameIgnoringCase("level1", "level1.lvl"));
    EXPECT_FALSE(SameNameIgnoringCase("a_", "A\x7f"));
    // cp1252 "É" and "é" are different names, whatever the locale says.
    EXPECT_FALSE(SameNameIgnoringCase("\xC9t\xE9", "\xE9t\xE9"));
    EXPECT_TRUE(SameNameIgnoringCase("\xC9T\xE9", "\xC9t\xE9"));
}

}  // namespace
