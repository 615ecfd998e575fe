#include "tools/demogame/IniText.h"

#include <gtest/gtest.h>

namespace {

TEST(IniTextTest, SectionsAndKeysEndWithWindowsLineEnds) {
    demo::IniText ini;
    ini.Section("General");
    ini.Key("Width", 640);
    ini.Section("Game");
    ini.Key("GameTitle", "Demo Quest");
    EXPECT_EQ(ini.Text(), "[General]\r\nWidth=640\r\n\r\n[Game]\r\nGameTitle=Demo Quest\r\n");
}

TEST(IniTextTest, FloatsDropTrailingZerosButKeepWholeNumbers) {
    demo::IniText ini;
    ini.Key("a", 0.1);
    ini.Key("b", 2.0);
    ini.Key("c", 100.0);
    ini.Key("d", -0.25);
    ini.Key("e", 0.0);
    EXPECT_EQ(ini.Text(), "a=0.1\r\nb=2\r\nc=100\r\nd=-0.25\r\ne=0\r\n");
}

TEST(IniTextTest, FlagsAreTrueOrFalse) {
    demo::IniText ini;
    ini.Flag("Cube", true);
    ini.Flag("Golem", false);
    EXPECT_EQ(ini.Text(), "Cube=TRUE\r\nGolem=FALSE\r\n");
}

}  // namespace
