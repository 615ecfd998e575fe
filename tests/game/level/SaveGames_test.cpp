#include "game/level/SaveGames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/fs/PathResolver.h"
#include "tests/common/ScratchFolder.h"

namespace {

class SaveGamesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(platform::fs::SetCurrentFolder(scratch.Root())); }
    void TearDown() override { EXPECT_TRUE(platform::fs::SetCurrentFolder(saved)); }
    std::string Read(const std::string& name) const {
        std::ifstream in(scratch.Path(name), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    const std::string saved = platform::fs::CurrentFolder();
    testutil::ScratchFolder scratch;
};

TEST_F(SaveGamesTest, NewGameCopiesTheLevelsOverTheEarlierGame) {
    scratch.Write("Level/Level1", "level 1 as made");
    scratch.Write("Level/Level2", "level 2 as made");
    scratch.Write("Level/Caves/Deep", "a level in a subfolder");
    scratch.Write("current_game/LEVEL1", "level 1 as left by the last game, longer");
    scratch.Write("current_game/Visited", "only in the running game");

    EXPECT_TRUE(CopyGameFolder("LEVEL\\", "CURRENT_GAME"));
    const struct {
        std::string file, contents;
    } expected[] = {
        {"current_game/LEVEL1", "level 1 as made"},  // replaced, under its stored name
        {"current_game/Level2", "level 2 as made"},
        {"current_game/Caves/Deep", "a level in a subfolder"},
        {"current_game/Visited", "only in the running game"},
        {"Level/Level1", "level 1 as made"},
    };
    for (const auto& e : expected) EXPECT_EQ(Read(e.file), e.contents) << e.file;
    EXPECT_FALSE(std::filesystem::exists(scratch.Path("CURRENT_GAME")));

    // The first game: no CURRENT_GAME folder yet.
    std::filesystem::remove_all(scratch.Path("current_game"));
    EXPECT_TRUE(CopyGameFolder("LEVEL\\", "CURRENT_GAME"));
    EXPECT_EQ(Read("CURRENT_GAME/Caves/Deep"), "a level in a subfolder");
}

}  // namespace
