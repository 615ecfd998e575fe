#include "platform/fs/FileSystem.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

    // The target is a folder: the rename fails and the folder stays as it was.
    Write("Busy/inside.txt", "keep");
    EXPECT_FALSE(pfs::WriteFileAtomic("busy", "data"));
    EXPECT_EQ(Read("Busy/inside.txt"), "keep");
    EXPECT_EQ(Names(), NameList{"Busy"});

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
    const std::vector<pfs::EntryKind> expectedKinds{
        pfs::EntryKind::Folder, pfs::EntryKind::File,  pfs::EntryKind::File, pfs::EntryKind::Other,
        pfs::EntryKind::Other,  pfs::EntryKind::Other, pfs::EntryKind::Other};
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].name, expectedNames[i]);
        EXPECT_EQ(entries[i].kind, expectedKinds[i]) << entries[i].name;
    }
    EXPECT_FALSE(pfs::FileExists("c-link"));
    EXPECT_FALSE(pfs::FolderExists("d-folder-link"));
    EXPECT_TRUE(pfs::EntryExists("E-DANGLING"));

    std::vector<pfs::FolderEntry> none;
    EXPECT_FALSE(pfs::ReadFolder("NoSuchFolder", none));
    EXPECT_FALSE(pfs::ReadFolder("a.txt", none));
    Write("Empty/x", "");
    ASSERT_TRUE(pfs::RemoveFile("empty/X"));
    EXPECT_TRUE(pfs::ReadFolder("EMPTY", none));
    EXPECT_TRUE(none.empty());
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

TEST_F(FileSystemTest, InputFileRefusesWhatIsNotARegularFile) {
    Write("data.bin", std::string(100, 'z'));
    ASSERT_EQ(symlink("data.bin", (root_ + "/link").c_str()), 0);
    ASSERT_EQ(mkfifo((root_ + "/pipe").c_str(), 0600), 0);
    pfs::InputFile file;
    EXPECT_FALSE(file.Open("link"));
    EXPECT_FALSE(file.Open("pipe"));  // and does not wait for a writer
    EXPECT_FALSE(file.Open("."));
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

}  // namespace
