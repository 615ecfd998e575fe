#include "support/IniFiles32.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <clocale>
#include <cstdio>
#include <functional>
#include <random>

#include "platform/fs/FileSystem.h"
#include "tests/common/ScratchFolder.h"

namespace {

using Strings = std::vector<std::string>;

class IniFiles32Test : public ::testing::Test {
  protected:
    std::string Put(const std::string& name, const std::string& bytes) {
        return scratch_.Write(name, bytes);
    }
    std::string Get(const std::string& name) {
        std::string bytes;
        EXPECT_TRUE(platform::fs::ReadWholeFile(dir_ + "/" + name, bytes));
        return bytes;
    }
    // Runs `scenario` as a user that file permissions apply to: in-process when
    // not root, else in a child switched to user nobody (owner of the folder).
    // 1 passed, 0 failed, -1 when no such user can be had.
    int RunUnprivileged(const std::function<bool()>& scenario) {
        if (geteuid() != 0) return scenario() ? 1 : 0;
        if (chown(dir_.c_str(), 65534, 65534) != 0) return -1;
        std::fflush(nullptr);
        pid_t pid = fork();
        if (pid == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(77);
            _exit(scenario() ? 0 : 1);
        }
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
        if (WIFEXITED(status) && WEXITSTATUS(status) == 77) return -1;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1 : 0;
    }

    testutil::ScratchFolder scratch_;
    const std::string dir_ = scratch_.Root();
};

TEST_F(IniFiles32Test, LineSyntax) {
    TIniFile32 general(Put("g.ini", "[General]\r\n; comment\r\n\r\n   Top  =  12  \r\n"));
    EXPECT_EQ(general.Lines(), (Strings{"[General]", "Top  =  12"}));
    EXPECT_EQ(general.ReadInteger("general", "Top", -1), 12);
    EXPECT_EQ(general.ReadInteger("General", "top", -1), -1);

    // CR, LF and CR LF mixed; control characters trimmed; bytes above 127 kept.
    TIniFile32 mixed(Put("m.ini",
                         "[A]\rk1=1\nk2=2\r\n\tk3 =\x01 3\x1f\n\r[B]\r\n  ;c\r\n"
                         "name=\xE9t\xE9\xA0\nnokey\n[\n]x[\nurl= a=b=c \n[C]"));
    EXPECT_EQ(mixed.Lines(),
              (Strings{"[A]", "k1=1", "k2=2", "k3 =\x01 3", "[B]", "name=\xE9t\xE9\xA0", "nokey",
                       "[", "]x[", "url= a=b=c", "[C]"}));
    ASSERT_EQ(mixed.Sections().size(), 3u);
    EXPECT_EQ(mixed.Sections()[1].Header, "[B]");
    EXPECT_EQ(mixed.Sections()[1].Line, 4);
    EXPECT_EQ(mixed.Sections()[2].Line, 10);
    EXPECT_EQ(mixed.ReadString("A", "k3", "-"), "3");
    EXPECT_EQ(mixed.ReadString("b", "name", "-"), "\xE9t\xE9\xA0");
    EXPECT_EQ(mixed.ReadString("B", "url", "-"), "a=b=c");
    Strings keys{"stale"};
    mixed.ReadSection("B", keys);
    EXPECT_EQ(keys, (Strings{"name", "url"}));

    // Everything after a NUL is gone, also from the saved file.
    std::string path = Put("n.ini", std::string("[A]\nx=1\nbad", 11) + '\0' + "tail\n[B]\ny=2\n");
    {
        TIniFile32 nul(path);
        EXPECT_EQ(nul.Lines(), (Strings{"[A]", "x=1", "bad"}));
        nul.WriteString("A", "x", "2");
    }
    EXPECT_EQ(Get("n.ini"), "[A]\r\nx=2\r\nbad\r\n");
}

TEST_F(IniFiles32Test, SectionAndKeyMatching) {
    TIniFile32 ini(Put("s.ini",
                       "[General]\nKey=1\nKey=2\nkey=3\nempty=\n[ Pad ]\np=1\n"
                       "[GENERAL]\nother=9\n[\xC9t\xE9]\ne=1\n"));
    EXPECT_EQ(ini.FindSection("gEnErAl"), 0);
    EXPECT_EQ(ini.FindSection("Pad"), -1);
    EXPECT_EQ(ini.FindSection(" pad "), 5);
    EXPECT_EQ(ini.FindSection("\xE9t\xE9"), -1);  // only ASCII letters fold
    EXPECT_EQ(ini.ReadString("general", "Key", "-"), "1");
    EXPECT_EQ(ini.ReadString("general", "key", "-"), "3");
    EXPECT_EQ(ini.ReadString("general", "KEY", "-"), "-");
    EXPECT_EQ(ini.ReadString("general", "empty", "-"), "-");
    EXPECT_EQ(ini.ReadString("general", "other", "-"), "-");  // second [GENERAL] unseen
    EXPECT_EQ(ini.ReadString("missing", "Key", "-"), "-");

    ini.WriteString("General", "Key", "new");
    EXPECT_EQ(ini.Lines()[1], "Key=new");
    EXPECT_EQ(ini.Lines()[2], "Key=2");
    ini.WriteString("GENERAL", "other", "x");
    EXPECT_EQ(ini.ReadString("general", "other", "-"), "x");
    EXPECT_EQ(ini.Lines()[5], "other=x");
    EXPECT_EQ(ini.Lines()[9], "other=9");
}

TEST_F(IniFiles32Test, InsertionKeepsSectionIndexes) {
    TIniFile32 ini(Put("i.ini", "[A]\na=1\n[B]\nb=2\n[C]\nc=3\n"));
    EXPECT_EQ(ini.ReadString("B", "b", "-"), "2");  // builds the key index
    ini.WriteString("A", "x", "9");
    ini.WriteString("B", "y", " spaced ");
    ini.WriteString("A", "z", "");
    ini.WriteString("New", "", "ignored");
    ini.WriteString("C", "d", "4");
    ini.WriteInteger("New", "n", INT_MIN);
    ini.WriteBool("New", "t", true);
    EXPECT_EQ(ini.Lines(), (Strings{"[A]", "a=1", "x=9", "z=", "[B]", "b=2", "y= spaced ", "[C]",
                                    "c=3", "d=4", "[New]", "n=-2147483648", "t=1"}));
    for (const TIniSection& s : ini.Sections()) {
        EXPECT_EQ(ini.Lines()[static_cast<size_t>(s.Line)], s.Header);
    }
    EXPECT_EQ(ini.ReadString("B", "b", "-"), "2");
    EXPECT_EQ(ini.ReadString("B", "y", "-"), "spaced");
    EXPECT_EQ(ini.ReadString("C", "c", "-"), "3");
    EXPECT_EQ(ini.ReadInteger("new", "n", 0), INT_MIN);
    EXPECT_TRUE(ini.Modified);
    EXPECT_FALSE(ini.AutoSave);
}

TEST_F(IniFiles32Test, Numbers) {
    const std::pair<const char*, int> integers[] = {
        {"0x1F", 31},        {"0X1f", 31},
        {"0x", -7},          {"$1F", 31},
        {"$", -7},           {"$FFFFFFFF", -1},
        {"0xFFFFFFFF", -1},  {"0x80000000", INT_MIN},
        {"0x100000000", -7}, {"0x00000000001F", 31},
        {"0x-1", -7},        {"2147483647", INT_MAX},
        {"2147483648", -7},  {"-2147483648", INT_MIN},
        {"-2147483649", -7}, {"+5", 5},
        {"-0", 0},           {"007", 7},
        {"12a", -7},         {"1 2", -7},
        {"1.5", -7},         {"99999999999999999999", -7},
        {"TRUE", -7},        {"-", -7}};
    const std::pair<const char*, double> floats[] = {
        {"1.5", 1.5}, {"-2.25e3", -2250.0}, {"+3", 3.0}, {".5", 0.5}, {"5.", 5.0}, {"1E-2", 0.01},
        {"7", 7.0},   {"0x1p3", -1},        {"inf", -1}, {"nan", -1}, {"1,5", -1}, {"1e", -1},
        {"e5", -1},   {"1e999", -1},        {"--1", -1}, {".", -1},   {"$10", -1}};
    std::string text = "[I]\n";
    for (auto& [s, v] : integers) text += std::string("k") + s + "=" + s + "\n";
    text += "[F]\n";
    for (auto& [s, v] : floats) text += std::string("k") + s + "=" + s + "\n";
    text += "[B]\nt=TRUE\nz=0\nneg=-3\nhex=0x10\n";
    TIniFile32 ini(Put("num.ini", text));
    for (auto& [s, v] : integers) EXPECT_EQ(ini.ReadInteger("I", std::string("k") + s, -7), v) << s;
    for (auto& [s, v] : floats) EXPECT_EQ(ini.ReadFloat("F", std::string("k") + s, -1), v) << s;
    EXPECT_TRUE(ini.ReadBool("B", "t", true));
    EXPECT_FALSE(ini.ReadBool("B", "t", false));
    EXPECT_FALSE(ini.ReadBool("B", "z", true));
    EXPECT_TRUE(ini.ReadBool("B", "neg", false));
    EXPECT_TRUE(ini.ReadBool("B", "hex", false));
    EXPECT_TRUE(ini.ReadBool("B", "missing", true));
}

TEST_F(IniFiles32Test, FloatsIgnoreProcessLocale) {
    TIniFile32 ini(Put("f.ini", "[F]\nx=1.25\ny=1,25\n"));
    std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            comma = name;
            break;
        }
    }
    if (comma == nullptr) {
        // Compile a decimal-comma locale of our own when the system has none.
        const std::string command =
            "localedef -i fr_FR -f UTF-8 " + dir_ + "/fr_FR.UTF-8 >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) {
            setenv("LOCPATH", dir_.c_str(), 1);
            if (std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") != nullptr) comma = "fr_FR.UTF-8";
        }
    }
    if (comma == nullptr) GTEST_SKIP() << "no locale with a decimal comma can be had";
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    double x = ini.ReadFloat("F", "x", 0), y = ini.ReadFloat("F", "y", -1);
    std::setlocale(LC_NUMERIC, previous.c_str());
    unsetenv("LOCPATH");
    EXPECT_EQ(x, 1.25);
    EXPECT_EQ(y, -1);
}

TEST_F(IniFiles32Test, SavingRules) {
    const std::string original = "; keep me\r[A]\n  k = 1 \n\n";
    std::string path = Put("a.ini", original);
    {
        TIniFile32 ini(path);
        EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
    }
    EXPECT_EQ(Get("a.ini"), original);
    TIniFile32 ini(path);
    EXPECT_TRUE(ini.Save());  // nothing written: nothing saved
    EXPECT_EQ(Get("a.ini"), original);
    ini.WriteString("A", "j", "2");
    EXPECT_TRUE(ini.Save());
    EXPECT_FALSE(ini.Modified);
    EXPECT_EQ(Get("a.ini"), "[A]\r\nk = 1\r\nj=2\r\n");
    ini.WriteString("B", "x", "3");  // after Save every write goes straight out
    EXPECT_EQ(Get("a.ini"), "[A]\r\nk = 1\r\nj=2\r\n[B]\r\nx=3\r\n");
    EXPECT_EQ(platform::fs::ListFolder(dir_).size(), 1u);  // no temporary left over

    {
        TIniFile32 fresh(dir_ + "/new.ini");
        fresh.WriteBool("S", "on", false);
    }
    EXPECT_EQ(Get("new.ini"), "[S]\r\non=0\r\n");
}

TEST_F(IniFiles32Test, FailedSavesAreReported) {
    EXPECT_NO_THROW({
        TIniFile32 ini(dir_ + "/missing/x.ini");
        ini.WriteString("A", "k", "v");
        EXPECT_FALSE(ini.Save());
        EXPECT_TRUE(ini.Modified);
    });
    EXPECT_FALSE(platform::fs::FolderExists(dir_ + "/missing"));

    std::string path = Put("ro/r.ini", "[A]\nk=old\n");
    ASSERT_EQ(chmod((dir_ + "/ro").c_str(), 0555), 0);
    if (geteuid() == 0) chown((dir_ + "/ro").c_str(), 65534, 65534);
    int result = RunUnprivileged([&] {
        TIniFile32 ini(path);
        ini.WriteString("A", "k", "new");
        return ini.ReadString("A", "k", "") == "new" && !ini.Save();
    });
    chmod((dir_ + "/ro").c_str(), 0755);
    if (result < 0) GTEST_SKIP() << "cannot drop root rights";
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Get("ro/r.ini"), "[A]\nk=old\n");
}

TEST_F(IniFiles32Test, UnreadableFileIsNeverSavedOver) {
    std::string path = Put("locked.ini", "; secret\n[A]\nk=old\n");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    int result = RunUnprivileged([&] {
        TIniFile32 ini(path);
        bool ok = ini.LoadFailed() && ini.Lines().empty();
        ini.WriteString("A", "k", "new");
        return ok && !ini.Save();  // the destructor's save is refused too
    });
    chmod(path.c_str(), 0644);
    if (result < 0) GTEST_SKIP() << "cannot drop root rights";
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Get("locked.ini"), "; secret\n[A]\nk=old\n");
}

TEST_F(IniFiles32Test, LinksAreFollowedAndWhatCannotBeReadIsKept) {
    Put("real/game.ini", "[Game]\nStartLevel=L1.lvl\n");
    ASSERT_EQ(symlink("real/game.ini", (dir_ + "/game.ini").c_str()), 0);
    {
        TIniFile32 ini(dir_ + "/GAME.INI");
        EXPECT_EQ(ini.ReadString("Game", "StartLevel", ""), "L1.lvl");
        ini.WriteInteger("General", "Top", 5);
        EXPECT_TRUE(ini.Save());
    }
    EXPECT_EQ(Get("real/game.ini"), "[Game]\r\nStartLevel=L1.lvl\r\n[General]\r\nTop=5\r\n");
    struct stat info;
    ASSERT_EQ(lstat((dir_ + "/game.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));

    // A folder, a pipe and a dangling link under the name are never replaced.
    Put("folder.ini/inside", "");
    ASSERT_EQ(mkfifo((dir_ + "/pipe.ini").c_str(), 0600), 0);
    ASSERT_EQ(symlink("nowhere.ini", (dir_ + "/dangling.ini").c_str()), 0);
    for (const char* name : {"folder.ini", "pipe.ini", "dangling.ini"}) {
        TIniFile32 ini(dir_ + "/" + name);
        EXPECT_TRUE(ini.LoadFailed()) << name;
        ini.WriteString("A", "k", "v");
        EXPECT_FALSE(ini.Save()) << name;
    }
    EXPECT_TRUE(platform::fs::FolderExists(dir_ + "/folder.ini"));
    ASSERT_EQ(lstat((dir_ + "/pipe.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(lstat((dir_ + "/dangling.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(IniFiles32Test, MixedCasePathFindsTheStoredFile) {
    Put("Data/Game.ini", "[Window]\nWidth=640\n");
    {
        TIniFile32 ini(dir_ + "\\DATA\\game.INI");
        EXPECT_EQ(ini.ReadInteger("window", "Width", 0), 640);
        ini.WriteInteger("Window", "Width", 800);
        EXPECT_TRUE(ini.Save());
    }
    EXPECT_EQ(Get("Data/Game.ini"), "[Window]\r\nWidth=800\r\n");
    EXPECT_EQ(platform::fs::ListFolder(dir_ + "/Data").size(), 1u);
}

// Plain section scan, the rule the indexed look-ups must reproduce.
std::string ScanRead(const TIniFile32& ini, const std::string& section, const std::string& key) {
    int header = -1;
    for (const TIniSection& s : ini.Sections()) {
        if (header < 0 && strcasecmp(s.Header.c_str(), ("[" + section + "]").c_str()) == 0) {
            header = s.Line;
        }
    }
    if (header < 0) return "<def>";
    for (size_t i = static_cast<size_t>(header) + 1; i < ini.Lines().size(); ++i) {
        const std::string& line = ini.Lines()[i];
        if (TIniFile32::IsSectionLine(line)) break;
        if (TIniFile32::KeyOfLine(line) == key) {
            std::string v = TIniFile32::ValueOfLine(line, key);
            return v.empty() ? "<def>" : v;
        }
    }
    return "<def>";
}

TEST_F(IniFiles32Test, IndexedLookUpsMatchThePlainScan) {
    std::string text;
    for (int s = 0; s < 256; ++s) {
        text += "[Behaviour" + std::to_string(s) + "]\n";
        for (int k = 0; k < 257; ++k)
            text += "C" + std::to_string(k) + "=" + std::to_string(s * k) + "\n";
    }
    text += "[s0]\nk0=dup\n[S1]\nK1=a\nk1=b\n";
    TIniFile32 ini(Put("big.ini", text));
    for (int s = 0; s < 256; s += 15) {
        for (int k = 0; k < 257; ++k) {
            std::string name = "behaviour" + std::to_string(s), key = "C" + std::to_string(k);
            ASSERT_EQ(ini.ReadInteger(name, key, -1), s * k);
        }
    }
    std::mt19937 random(12345);
    const char* sections[] = {"s0", "S0", "s1", "s2", "Behaviour3", "s3"};
    const char* keys[] = {"k0", "K0", "k1", "K1", "k2", "", " k3", "[x"};
    for (int step = 0; step < 3000; ++step) {
        std::string section = sections[random() % 6], key = keys[random() % 8];
        // Key "[x" with value "]" makes a key line that also ends a section scan.
        std::string value = step % 5 == 0 ? "]" : std::to_string(step % 7);
        if (random() % 3 == 0) ini.WriteString(section, key, value);
        ASSERT_EQ(ini.ReadString(section, key, "<def>"), ScanRead(ini, section, key))
            << "step " << step << " [" << section << "] " << key;
    }
    for (const TIniSection& s : ini.Sections()) {
        ASSERT_EQ(ini.Lines()[static_cast<size_t>(s.Line)], s.Header);
    }
}

}  // namespace
