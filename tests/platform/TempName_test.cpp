#include "platform/fs/TempName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace pfs = platform::fs;

TEST(TempName, TemporariesAreToldFromOtherNames) {
    const struct {
        const char* name;
        bool temporary;
        const char* target;  // the target it belongs to, when temporary
    } cases[] = {
        {".game.ini.aB3dE9.tmp", true, "game.ini"},
        {".L1.LVL.000000.tmp", true, "L1.LVL"},
        {".a.b.ZZZZZZ.tmp", true, "a.b"},
        {".tmp-Xy34Zw", true, "any.lvl"},  // an earlier version's, owned by no one
        {"game.ini.aB3dE9.tmp", false, ""},
        {"..aB3dE9.tmp", false, ""},          // names no target
        {".game.ini.aB3dE.tmp", false, ""},   // five random characters
        {".game.ini.aB-dE9.tmp", false, ""},  // not a letter or digit
        {".game.ini.aB3dE9.TMP", false, ""},
        {".game.iniXaB3dE9.tmp", false, ""},
        {".tmp-Xy34Z", false, ""},
        {"level1.tmp", false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pfs::IsTemporaryName(c.name), c.temporary) << c.name;
        EXPECT_EQ(pfs::IsTemporaryOf(c.name, c.target), c.temporary) << c.name;
    }
    EXPECT_FALSE(pfs::IsTemporaryOf(".game.ini.aB3dE9.tmp", "Game.ini"));
    EXPECT_FALSE(pfs::IsTemporaryOf(".a.b.ZZZZZZ.tmp", "a"));
    EXPECT_FALSE(pfs::IsTemporaryOf("game.ini", "game.ini"));
}

TEST(TempName, TheTargetNameIsReadBackFromATemporary) {
    const struct {
        const char* name;
        const char* target;
    } cases[] = {
        {".game.ini.aB3dE9.tmp", "game.ini"},
        {".Slot..aB3dE9.tmp", "Slot."},  // a folder's new version keeps its mark
        {".tmp-Xy34Zw", ""},             // an earlier version's names none
        {"game.ini", ""},
        {"..aB3dE9.tmp", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(pfs::TemporaryTargetName(c.name), c.target) << c.name;
}

TEST(TempName, TemplatesFitTheNameLimitAndNameTheirTarget) {
    for (size_t length : {1u, 100u, 243u, 244u, 255u}) {
        const std::string target(length, 'n');
        std::string name = pfs::TemporaryTemplate(target);
        EXPECT_LE(name.size(), pfs::kMaxNameLength) << length;
        EXPECT_EQ(name.substr(name.size() - 4 - 6), "XXXXXX.tmp");
        name.replace(name.size() - 4 - 6, 6, "r4Nd0m");  // as mkstemps() fills it
        EXPECT_TRUE(pfs::IsTemporaryOf(name, target)) << length;
    }
}

}  // namespace
