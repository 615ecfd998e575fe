#include "platform/fs/FileSystem.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/fs/FileOverlay.h"
#include "platform/fs/FileStream.h"
#include "platform/fs/PathResolver.h"
#include "tests/common/ScratchFolder.h"

namespace {

namespace pfs = platform::fs;

class FileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = pfs::CurrentFolder();
        ASSERT_TRUE(pfs::SetCurrentFolder(root_));
    }
    void TearDown() override { EXPECT_TRUE(pfs::SetCurrentFolder(saved_)); }
    void Write(const std::string& relative, const std::string& text) {
        scratch_.Write(relative, text);
    }
    std::string Read(const std::string& relative) {
        std::ifstream in(root_ + "/" + relative, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Names in the root folder, to catch stray temporary files.
    std::vector<std::string> Names(const std::string& relative = "") {
        std::vector<std::string> names;
        for (const auto& entry : pfs::ListFolder(relative)) names.push_back(entry.name);
        return names;
    }
    // Every name in a folder as the system lists it, temporaries included.
    std::vector<std::string> RawNames(const std::string& relative) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(root_ + "/" + relative))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    testutil::ScratchFolder scratch_;
    const std::string root_ = scratch_.Root();
    std::string saved_;
};

using NameList = std::vector<std::string>;

TEST_F(FileSystemTest, WriteGoesToTheStoredFileOfAnyCase) {
    Write("Config/Game.ini", "old");
    ASSERT_TRUE(pfs::WriteFileAtomic("CONFIG\\GAME.INI", "new"));
    EXPECT_EQ(Read("Config/Game.ini"), "new");
    EXPECT_EQ(Names("config"), NameList{"Game.ini"});

    // A new file is made where the path names it, under existing stored names.
    ASSERT_TRUE(pfs::WriteFileAtomic("config\\Extra.ini", "x"));
    EXPECT_EQ(Read("Config/Extra.ini"), "x");
    std::string bytes;
    EXPECT_TRUE(pfs::ReadWholeFile("CONFIG/EXTRA.INI", bytes));
    EXPECT_EQ(bytes, "x");
}

TEST_F(FileSystemTest, FailedAtomicWriteLeavesOldFileAndNoTemporaries) {
    EXPECT_FALSE(pfs::WriteFileAtomic("Missing\\file.txt", "data"));
    EXPECT_FALSE(pfs::FolderExists("Missing"));

    // Folders and pipes, named or reached through a link, are not replaced.
    Write("Busy/inside.txt", "keep");
    ASSERT_EQ(mkfifo((root_ + "/pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink("pipe", (root_ + "/pipe-link").c_str()), 0);
    for (const char* target : {"busy", "pipe", "PIPE-LINK"}) {
        EXPECT_FALSE(pfs::WriteFileAtomic(target, "data")) << target;
    }
    EXPECT_EQ(Read("Busy/inside.txt"), "keep");
    struct stat info;
    ASSERT_EQ(lstat((root_ + "/pipe").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(RawNames(""), (NameList{"Busy", "pipe", "pipe-link"}));

    if (geteuid() != 0) {  // permissions do not hold root back
        Write("Locked/file.txt", "old");
        chmod((root_ + "/Locked").c_str(), 0555);
        EXPECT_FALSE(pfs::WriteFileAtomic("locked/FILE.TXT", "new"));
        chmod((root_ + "/Locked").c_str(), 0755);
        EXPECT_EQ(Read("Locked/file.txt"), "old");
        EXPECT_EQ(Names("Locked"), NameList{"file.txt"});
    }
}

TEST_F(FileSystemTest, AtomicWriteKeepsModeAndLinks) {
    Write("real.ini", "old");
    chmod((root_ + "/real.ini").c_str(), 0640);
    ASSERT_EQ(symlink("real.ini", (root_ + "/link.ini").c_str()), 0);
    ASSERT_TRUE(pfs::WriteFileAtomic("LINK.INI", "new"));
    EXPECT_EQ(Read("real.ini"), "new");
    struct stat info;
    ASSERT_EQ(lstat((root_ + "/link.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(stat((root_ + "/real.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(FileSystemTest, KilledWritersTemporariesAreHiddenAndRemovedByTheNextWrite) {
    Write("Level/l1.lvl", "old");
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        pfs::AtomicOutputFile out;
        if (out.Begin("LEVEL\\L1.LVL") && out.Write("partial")) kill(getpid(), SIGKILL);
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    Write("Level/.tmp-Ab12Cd", "left by an earlier version");
    Write("Level/.l2.lvl.Qw12Er.tmp", "another target's");
    const NameList raw = RawNames("Level");
    ASSERT_EQ(raw.size(), 4u);
    EXPECT_EQ(raw[0].substr(0, 8), ".l1.lvl.");
    EXPECT_EQ(raw[0].substr(14), ".tmp");
    EXPECT_EQ(Names("level"), NameList{"l1.lvl"});
    EXPECT_EQ(Read("Level/l1.lvl"), "old");
    // Never found by a look-up in another letter case either.
    std::string upper = raw[0];
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    EXPECT_EQ(pfs::Resolve("level/" + upper), root_ + "/Level/" + upper);

    // A writer still at work keeps its temporary.
    pfs::AtomicOutputFile live;
    ASSERT_TRUE(live.Begin("level/l1.lvl"));
    ASSERT_TRUE(pfs::WriteFileAtomic("level/l1.lvl", "new"));
    EXPECT_EQ(Read("Level/l1.lvl"), "new");
    EXPECT_EQ(RawNames("Level").size(), 3u);  // l1.lvl, the live one, l2's
    ASSERT_TRUE(live.Write("newer"));
    ASSERT_TRUE(live.Commit());
    EXPECT_EQ(Read("Level/l1.lvl"), "newer");
    EXPECT_EQ(RawNames("Level"), (NameList{".l2.lvl.Qw12Er.tmp", "l1.lvl"}));

    // A name as long as names can be still gets its temporary.
    const std::string longName(255, 'n');
    ASSERT_TRUE(pfs::WriteFileAtomic("level/" + longName, "long"));
    EXPECT_EQ(Read("Level/" + longName), "long");
    EXPECT_EQ(RawNames("Level").size(), 3u);
}

TEST_F(FileSystemTest, UnreadableFilesAreToldWithTheirReason) {
    Write("ok.ini", "x");
    Write("Folder.ini/x", "");
    ASSERT_EQ(mkfifo((root_ + "/pipe.ini").c_str(), 0600), 0);
    ASSERT_EQ(symlink("nowhere", (root_ + "/dangling.ini").c_str()), 0);
    ASSERT_EQ(symlink("ok.ini", (root_ + "/link.ini").c_str()), 0);
    Write("locked.ini", "x");
    chmod((root_ + "/locked.ini").c_str(), 0);
    const bool root = geteuid() == 0;  // permissions do not hold root back
    const struct {
        const char* path;
        std::string reason;
    } cases[] = {
        {"OK.INI", ""},
        {"link.ini", ""},
        {"missing.ini", "No such file or directory"},
        {"dangling.ini", "No such file or directory"},
        {"folder.ini", "is not a regular file"},
        {"pipe.ini", "is not a regular file"},
        {"locked.ini", root ? "" : "Permission denied"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pfs::UnreadableReason(c.path), c.reason) << c.path;
        // Told only when something is there.
        const bool told = !c.reason.empty() && pfs::EntryExists(c.path);
        const std::string toldLine = told ? pfs::Resolve(c.path) + ": " + c.reason : "";
        testing::internal::CaptureStderr();
        EXPECT_EQ(pfs::ReportUnreadableFile(c.path), toldLine) << c.path;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), told ? toldLine + "\n" : "") << c.path;
    }
}

TEST_F(FileSystemTest, ListFolderSortsAndClassesEntries) {
    Write("b.txt", "");
    Write("A/x", "");
    Write("a.txt", "");
    ASSERT_EQ(symlink("b.txt", (root_ + "/c-link").c_str()), 0);
    ASSERT_EQ(symlink("A", (root_ + "/d-folder-link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (root_ + "/e-dangling").c_str()), 0);
    ASSERT_EQ(mkfifo((root_ + "/f-pipe").c_str(), 0600), 0);

    std::vector<pfs::FolderEntry> entries = pfs::ListFolder(".");
    ASSERT_EQ(entries.size(), 7u);
    const NameList expectedNames{"A",          "a.txt", "b.txt", "c-link", "d-folder-link",
                                 "e-dangling", "f-pipe"};
    // Links count as what they lead to.
    const std::vector<pfs::EntryKind> expectedKinds{
        pfs::EntryKind::Folder, pfs::EntryKind::File,  pfs::EntryKind::File, pfs::EntryKind::File,
        pfs::EntryKind::Folder, pfs::EntryKind::Other, pfs::EntryKind::Other};
    const std::vector<bool> expectedLinks{false, false, false, true, true, true, false};
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].name, expectedNames[i]);
        EXPECT_EQ(entries[i].kind, expectedKinds[i]) << entries[i].name;
        EXPECT_EQ(entries[i].link, expectedLinks[i]) << entries[i].name;
    }
    EXPECT_TRUE(pfs::FileExists("c-link"));
    EXPECT_TRUE(pfs::FolderExists("d-folder-link"));
    EXPECT_FALSE(pfs::FileExists("e-dangling"));
    EXPECT_FALSE(pfs::FileExists("f-pipe"));
    EXPECT_TRUE(pfs::EntryExists("E-DANGLING"));

    std::vector<pfs::FolderEntry> none;
    EXPECT_FALSE(pfs::ReadFolder("NoSuchFolder", none));
    EXPECT_FALSE(pfs::ReadFolder("a.txt", none));
    Write("Empty/x", "");
    ASSERT_TRUE(pfs::RemoveFile("empty/X"));
    EXPECT_TRUE(pfs::ReadFolder("EMPTY", none));
    EXPECT_TRUE(none.empty());
}

TEST_F(FileSystemTest, LongestPathBelowCountsFromInsideTheFolderAndSkipsLinks) {
    Write("Game/a", "");
    Write("Game/Deeper/level12.lvl", "");
    Write("Elsewhere/a much longer name than any in Game", "");
    ASSERT_EQ(symlink("../Elsewhere", (root_ + "/Game/L").c_str()), 0);
    Write("Empty/x", "");
    ASSERT_TRUE(pfs::RemoveFile("Empty/x"));
    const struct {
        const char* folder;
        size_t longest;
    } cases[] = {
        {"GAME", std::string("/Deeper/level12.lvl").size()},
        {"game\\deeper", std::string("/level12.lvl").size()},
        {"Empty", 0},
        {"NoSuchFolder", 0},
        {"Game/a", 0},  // a file
    };
    for (const auto& c : cases) EXPECT_EQ(pfs::LongestPathBelow(c.folder), c.longest) << c.folder;
}

TEST_F(FileSystemTest, CreateFoldersReusesStoredNamesAndStopsAtFiles) {
    Write("Save/keep.txt", "");
    ASSERT_TRUE(pfs::CreateFolders("SAVE\\Slot1\\Deep"));
    EXPECT_TRUE(std::filesystem::is_directory(root_ + "/Save/Slot1/Deep"));
    EXPECT_FALSE(std::filesystem::exists(root_ + "/SAVE"));
    EXPECT_TRUE(pfs::CreateFolders("save/slot1"));  // already there

    Write("Blocked", "a file");
    EXPECT_FALSE(pfs::CreateFolders("blocked\\Inner"));
    EXPECT_EQ(Read("Blocked"), "a file");
}

TEST_F(FileSystemTest, CanonicalPathMeetsSpellingsOfOnePlace) {
    Write("Src/Inner/f", "");
    ASSERT_EQ(symlink((root_ + "/Src").c_str(), (root_ + "/alias").c_str()), 0);
    const std::string inner = root_ + "/Src/Inner";
    EXPECT_EQ(pfs::CanonicalPath("SRC\\INNER"), inner);
    EXPECT_EQ(pfs::CanonicalPath("alias/inner/"), inner);
    EXPECT_EQ(pfs::CanonicalPath("src/../Src/./Inner"), inner);
    // Not there yet: the existing part is still made canonical.
    EXPECT_EQ(pfs::CanonicalPath("ALIAS\\New\\Deeper"), root_ + "/Src/New/Deeper");
}

TEST_F(FileSystemTest, ReadAndRemoveReportFailures) {
    std::string bytes = "stale";
    EXPECT_FALSE(pfs::ReadWholeFile("missing.bin", bytes));
    EXPECT_TRUE(bytes.empty());
    Write("Folder/x", "");
    EXPECT_FALSE(pfs::ReadWholeFile("folder", bytes));
    EXPECT_FALSE(pfs::RemoveFile("FOLDER"));
    EXPECT_TRUE(pfs::RemoveFile("never-was"));
    Write("binary", std::string("a\0b\xff", 4));
    ASSERT_TRUE(pfs::ReadWholeFile("BINARY", bytes));
    EXPECT_EQ(bytes, std::string("a\0b\xff", 4));
}

TEST_F(FileSystemTest, InputFileOpensRegularFilesThroughLinksOnly) {
    Write("data.bin", std::string(100, 'z'));
    ASSERT_EQ(symlink("data.bin", (root_ + "/link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (root_ + "/dangling").c_str()), 0);
    ASSERT_EQ(mkfifo((root_ + "/pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink("pipe", (root_ + "/pipe-link").c_str()), 0);
    pfs::InputFile file;
    EXPECT_FALSE(file.Open("dangling"));
    EXPECT_FALSE(file.Open("pipe"));  // and does not wait for a writer
    EXPECT_FALSE(file.Open("pipe-link"));
    EXPECT_FALSE(file.Open("."));
    ASSERT_TRUE(file.Open("LINK"));
    EXPECT_EQ(file.SeekToEnd(), 100);
    ASSERT_TRUE(file.Open("DATA.BIN"));
    EXPECT_EQ(file.SeekToEnd(), 100);
    ASSERT_TRUE(file.SeekTo(90));
    char buffer[64];
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 10);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0);
}

TEST_F(FileSystemTest, AtomicOutputFileReplacesOnlyOnCommit) {
    Write("target.bin", "old");
    {
        pfs::AtomicOutputFile out;
        ASSERT_TRUE(out.Begin("TARGET.BIN"));
        ASSERT_TRUE(out.Write("partial"));
        EXPECT_EQ(Read("target.bin"), "old");
    }  // dropped without Commit
    EXPECT_EQ(Read("target.bin"), "old");
    EXPECT_EQ(Names(), NameList{"target.bin"});

    // A write cut short by the file size limit fails, and so does Commit.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit limited = saved;
    limited.rlim_cur = 1000;
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    pfs::AtomicOutputFile out;
    ASSERT_TRUE(out.Begin("target.bin"));
    const bool wrote = out.Write(std::string(5000, 'y'));
    const bool committed = out.Commit();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(wrote);
    EXPECT_FALSE(committed);
    EXPECT_EQ(Read("target.bin"), "old");
    EXPECT_EQ(Names(), NameList{"target.bin"});
}

TEST_F(FileSystemTest, AnOverlayAnswersForTheFilesItHolds) {
    Write("Data/Mesh.msh", "mesh");
    pfs::FileOverlay overlay;
    overlay.AddFolder(root_);
    Write("Data/Later.msh", "later");
    pfs::SetFileOverlay(&overlay);
    std::string bytes;
    const std::string parent = "..\\" + std::filesystem::path(root_).filename().string();
    for (const std::string& name :
         std::vector<std::string>{"Data/Mesh.msh", "data\\MESH.msh", "./Data/../Data/mesh.MSH",
                                  parent + "\\Data\\Mesh.msh", root_ + "/DATA/Mesh.msh"}) {
        EXPECT_TRUE(pfs::ReadWholeFile(name, bytes) && bytes == "mesh") << name;
    }
    for (const char* name : {"", "Data", "Data/Later.msh", "Mesh.msh"}) {
        EXPECT_FALSE(pfs::FileExists(name)) << name;
    }
    pfs::SetFileOverlay(nullptr);
}

}  // namespace
