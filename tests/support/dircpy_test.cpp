#include "support/dircpy.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/fs/PathResolver.h"
#include "tests/common/ScratchFolder.h"

namespace {

namespace stdfs = std::filesystem;
using Strings = std::vector<std::string>;

class DirCopyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = platform::fs::CurrentFolder();
        ASSERT_TRUE(platform::fs::SetCurrentFolder(root_));
        copier_.OnError = [this](TFileCopyNew&, const std::string& message) {
            errors_.push_back(message);
        };
        copier_.ShowProgressOnMemo = false;
    }
    // The scratch folder gives the locked folders back their rights on removal.
    void TearDown() override { EXPECT_TRUE(platform::fs::SetCurrentFolder(saved_)); }
    std::string Path(const std::string& relative) { return scratch_.Path(relative); }
    void Write(const std::string& relative, const std::string& text) {
        scratch_.Write(relative, text);
    }
    std::string Read(const std::string& relative) {
        std::ifstream in(Path(relative), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool Exists(const std::string& relative) {
        return stdfs::exists(stdfs::symlink_status(Path(relative)));
    }
    // Every entry below `relative`, as relative paths in sorted order.
    Strings Tree(const std::string& relative) {
        Strings names;
        for (const auto& entry : stdfs::recursive_directory_iterator(Path(relative))) {
            names.push_back(stdfs::relative(entry.path(), Path(relative)).string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    testutil::ScratchFolder scratch_;
    const std::string root_ = scratch_.Root();
    std::string saved_;
    TFileCopyNew copier_;
    Strings errors_;
};

TEST_F(DirCopyTest, CopiesNestedFoldersOverTheTarget) {
    Write("src/a.txt", "new a");
    Write("src/README", "no extension");
    Write("src/Sub/b.txt", "b");
    Write("src/Sub/Deeper/c.bin", std::string("\0\1\2", 3));
    Write("src/Sub/empty.dat", "");
    Write("dst/A.TXT", "old a");  // same name in another case: a second file
    Write("dst/a.txt", "old a");
    Write("dst/only.txt", "stays");

    ASSERT_TRUE(CopyFolder(Path("src"), Path("dst")));
    EXPECT_EQ(Read("dst/a.txt"), "new a");
    EXPECT_EQ(Read("dst/A.TXT"), "old a");
    EXPECT_EQ(Read("dst/only.txt"), "stays");
    EXPECT_EQ(Read("dst/README"), "no extension");
    EXPECT_EQ(Read("dst/Sub/Deeper/c.bin"), std::string("\0\1\2", 3));
    EXPECT_TRUE(Exists("dst/Sub/empty.dat"));
    EXPECT_EQ(Read("dst/Sub/empty.dat"), "");
    EXPECT_EQ(Tree("dst"), (Strings{"A.TXT", "README", "Sub", "Sub/Deeper", "Sub/Deeper/c.bin",
                                    "Sub/b.txt", "Sub/empty.dat", "a.txt", "only.txt"}));

    // A target that does not exist is made with its parents.
    ASSERT_TRUE(CopyFolder(Path("src\\"), Path("new/deep/copy/")));
    EXPECT_EQ(Tree("new/deep/copy"), Tree("src"));
}

TEST_F(DirCopyTest, NamesAreResolvedFromTheCurrentFolderInAnyCase) {
    Write("Game/Level/L1.lvl", "level one");
    ASSERT_TRUE(platform::fs::SetCurrentFolder(Path("game")));
    ASSERT_TRUE(CopyFolder("LEVEL", "Current_Game"));
    EXPECT_EQ(Read("Game/Current_Game/L1.lvl"), "level one");
    // A second copy in another case lands in the same stored folder.
    Write("Game/Level/L1.lvl", "changed");
    ASSERT_TRUE(CopyFolder("level\\", "CURRENT_GAME"));
    EXPECT_EQ(Read("Game/Current_Game/L1.lvl"), "changed");
    EXPECT_FALSE(Exists("Game/CURRENT_GAME"));
}

TEST_F(DirCopyTest, SameFolderOrNothingToCopyIsSuccess) {
    Write("Save/slot.bin", "keep");
    EXPECT_TRUE(CopyFolder(Path("Save"), Path("SAVE")));
    EXPECT_TRUE(CopyFolder(Path("save"), Path("Save/.")));
    EXPECT_FALSE(Exists("SAVE"));
    EXPECT_EQ(Tree("Save"), Strings{"slot.bin"});

    EXPECT_TRUE(CopyFolder(Path("Missing"), Path("out1")));
    EXPECT_TRUE(stdfs::is_directory(Path("out1")));
    stdfs::create_directory(Path("Empty"));
    EXPECT_TRUE(CopyFolder(Path("Empty"), Path("out2")));
    EXPECT_TRUE(stdfs::is_directory(Path("out2")));

    // An empty name would stand for the root of the file system.
    EXPECT_FALSE(CopyFolder("/", Path("out3")));
    EXPECT_FALSE(CopyFolder(Path("Save"), ""));
    EXPECT_FALSE(Exists("out3"));
}

TEST_F(DirCopyTest, TargetInsideTheSourceIsRefused) {
    Write("src/a.txt", "a");
    Write("src/Sub/b.txt", "b");
    ASSERT_EQ(symlink(Path("src").c_str(), Path("alias").c_str()), 0);
    EXPECT_FALSE(CopyFolder(Path("src"), Path("src/Copy")));
    EXPECT_FALSE(CopyFolder(Path("src"), Path("SRC\\sub\\..\\Inner")));
    EXPECT_FALSE(CopyFolder(Path("src"), Path("alias/sub")));
    EXPECT_EQ(Tree("src"), (Strings{"Sub", "Sub/b.txt", "a.txt"}));

    // The copier itself refuses before copying anything, with its message.
    copier_.IncludeSubFolders = true;
    copier_.SourceFile = Path("src") + "\\*.*";
    copier_.TargetFile = Path("ALIAS/./Sub") + "\\*.*";
    EXPECT_FALSE(copier_.Execute());
    EXPECT_EQ(errors_, (Strings{"ERROR : folder recursion\r\rCan't copy !",
                                "Execution failed :\r\r" + copier_.SourceFile + " -> " +
                                    copier_.TargetFile}));
    EXPECT_EQ(Tree("src"), (Strings{"Sub", "Sub/b.txt", "a.txt"}));

    // Without sub-folders nothing can recurse: the files go into the sub-folder.
    errors_.clear();
    copier_.IncludeSubFolders = false;
    EXPECT_TRUE(copier_.Execute());
    EXPECT_EQ(Read("src/Sub/a.txt"), "a");
}

TEST_F(DirCopyTest, LinkedFilesAreCopiedOtherLinksSpecialAndTemporaryFilesSkipped) {
    Write("outside/linked.txt", "linked");
    Write("outside/inner.txt", "inner");
    Write("src/plain.txt", "plain");
    Write("src/.plain.txt.Ab12Cd.tmp", "an unfinished write");
    Write("src/.tmp-Ab12Cd", "an earlier version's unfinished write");
    ASSERT_EQ(symlink(Path("outside/linked.txt").c_str(), Path("src/file-link").c_str()), 0);
    ASSERT_EQ(symlink(Path("outside").c_str(), Path("src/folder-link").c_str()), 0);
    ASSERT_EQ(symlink(Path("src").c_str(), Path("src/loop").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", Path("src/dangling").c_str()), 0);
    ASSERT_EQ(mkfifo(Path("src/pipe").c_str(), 0600), 0);
    ASSERT_TRUE(CopyFolder(Path("src"), Path("dst")));
    EXPECT_EQ(Tree("dst"), (Strings{"file-link", "plain.txt"}));
    EXPECT_EQ(Read("dst/file-link"), "linked");
    EXPECT_FALSE(stdfs::is_symlink(Path("dst/file-link")));

    // Named directly, a link to a file is copied too; a dangling one is missing.
    EXPECT_TRUE(copier_.CopyFile(Path("src/file-link"), Path("dst/copy")));
    EXPECT_EQ(Read("dst/copy"), "linked");
    EXPECT_FALSE(copier_.CopyFile(Path("src/dangling"), Path("dst/none")));
    EXPECT_EQ(errors_,
              Strings{Path("src/dangling") + " missing or corrupted or opened for exclusive use"});
    EXPECT_FALSE(Exists("dst/none"));
}

TEST_F(DirCopyTest, ProgressAdvancesOneStepPerBlock) {
    Write("big.bin", std::string(40000, 'q'));
    std::vector<std::pair<int, int>> events;
    copier_.OnCopyProgress = [&](TFileCopyNew&, uint16_t read, uint16_t written) {
        events.emplace_back(read, written);
    };
    copier_.SourceFile = Path("big.bin");
    copier_.TargetFile = Path("copy.bin");
    ASSERT_TRUE(copier_.Execute());
    EXPECT_EQ(Read("copy.bin"), std::string(40000, 'q'));
    // 16384 + 16384 + 7232 bytes, then the empty read; 40.96 % per step.
    const std::vector<std::pair<int, int>> expected{{40, 0},    {40, 40},   {81, 40},
                                                    {81, 81},   {122, 81},  {122, 122},
                                                    {163, 122}, {163, 163}, {100, 100}};
    EXPECT_EQ(events, expected);

    events.clear();
    Write("empty.bin", "");
    ASSERT_TRUE(copier_.CopyFile(Path("empty.bin"), Path("empty-copy.bin")));
    EXPECT_TRUE(Exists("empty-copy.bin"));
    EXPECT_EQ(events.size(), 3u);
    EXPECT_EQ(events.back(), std::make_pair(100, 100));

    // A tiny file makes a huge step: the value saturates instead of wrapping.
    events.clear();
    Write("one.bin", "1");
    ASSERT_TRUE(copier_.CopyFile(Path("one.bin"), Path("one-copy.bin")));
    EXPECT_EQ(events.front(), std::make_pair(65535, 0));
    EXPECT_TRUE(errors_.empty());
}

TEST_F(DirCopyTest, UnreadableSourcesFailTheCopy) {
    Write("src/Sub/folder-named.txt/inside", "");
    Write("src/Sub/ok.txt", "ok");

    // A folder handed to the single-file copy cannot be opened as a file.
    EXPECT_FALSE(copier_.CopyFile(Path("src/Sub/folder-named.txt"), Path("dst/x.txt")));
    EXPECT_EQ(errors_, Strings{Path("src/Sub/folder-named.txt") +
                               " missing or corrupted or opened for exclusive use"});
    EXPECT_FALSE(Exists("dst/x.txt"));

    if (geteuid() == 0) GTEST_SKIP() << "permissions do not hold root back";
    Write("src/Sub/locked.txt", "secret");
    chmod(Path("src/Sub/locked.txt").c_str(), 0);
    EXPECT_FALSE(CopyFolder(Path("src"), Path("dst")));  // a failure deep down counts
    EXPECT_EQ(Read("dst/Sub/ok.txt"), "ok");
    EXPECT_FALSE(Exists("dst/Sub/locked.txt"));

    Write("src2/Closed/a.txt", "a");
    chmod(Path("src2/Closed").c_str(), 0);
    EXPECT_FALSE(CopyFolder(Path("src2"), Path("dst2")));
}

TEST_F(DirCopyTest, FailedWritesLeaveTheOldTarget) {
    Write("src/a.txt", std::string(40000, 'n'));
    Write("dst/a.txt", "old");
    copier_.SourceFile = Path("src\\*.*");
    copier_.TargetFile = Path("dst\\");

    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit limited = saved;
    limited.rlim_cur = 20000;  // the second block is written only in part
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool copied = copier_.Execute();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(copied);
    ASSERT_FALSE(errors_.empty());
    EXPECT_EQ(errors_.front(), "Write error on \r" + Path("dst\\") + "a.txt\rCopy failed.");
    EXPECT_EQ(Read("dst/a.txt"), "old");
    EXPECT_EQ(Tree("dst"), Strings{"a.txt"});  // no temporary file left behind
}

TEST_F(DirCopyTest, TargetThatCannotBeWrittenFails) {
    Write("src/a.txt", "new");
    Write("blocked", "a file");
    EXPECT_FALSE(CopyFolder(Path("src"), Path("blocked")));
    EXPECT_EQ(Read("blocked"), "a file");
    EXPECT_FALSE(CopyFolder(Path("src"), Path("blocked/inner")));

    // A folder where the file should go.
    Write("dst/a.txt/x", "");
    EXPECT_FALSE(copier_.CopyFile(Path("src/a.txt"), Path("dst/a.txt")));
    EXPECT_EQ(errors_, Strings{"Error on creating " + Path("dst/a.txt")});

    if (geteuid() == 0) GTEST_SKIP() << "permissions do not hold root back";
    Write("ro/a.txt", "old");
    chmod(Path("ro").c_str(), 0555);
    EXPECT_FALSE(CopyFolder(Path("src"), Path("ro")));
    EXPECT_EQ(Read("ro/a.txt"), "old");
}

TEST_F(DirCopyTest, MasksSelectFilesTheWindowsWay) {
    Write("src/file.txt", "f");
    Write("src/NOTE.TXT", "n");
    Write("src/data.bin", "d");
    Write("src/Sub/deep.txt", "x");
    copier_.SourceFile = Path("src/*.txt");
    copier_.TargetFile = Path("dst/ignored-name");
    ASSERT_TRUE(copier_.Execute());
    EXPECT_EQ(Tree("dst"), (Strings{"NOTE.TXT", "file.txt"}));

    // "?" without "*" is no mask: the name is taken as it stands.
    EXPECT_FALSE(copier_.CopyFiles(Path("src/fil?.txt"), Path("dst/q.txt")));
    Write("src/fil?.txt", "literal");
    EXPECT_TRUE(copier_.CopyFiles(Path("src/fil?.txt"), Path("dst/q.txt")));
    EXPECT_EQ(Read("dst/q.txt"), "literal");

    EXPECT_TRUE(MatchesMask("README", "*.*"));
    EXPECT_TRUE(MatchesMask("a.b.c", "*.*"));
    EXPECT_TRUE(MatchesMask("Level1.LVL", "level?.lvl"));
    EXPECT_TRUE(MatchesMask("level", "LEVEL.*"));
    EXPECT_TRUE(MatchesMask("game.tar.txt", "*.TXT"));
    EXPECT_FALSE(MatchesMask("game.txt.bak", "*.txt"));
    EXPECT_FALSE(MatchesMask("level10.lvl", "level?.lvl"));
    EXPECT_TRUE(MatchesMask("lv.lvl", "lv??.lvl"));  // "?" may match nothing before a dot
    EXPECT_TRUE(MatchesMask("noext", "*."));
    EXPECT_FALSE(MatchesMask("has.ext", "*."));
    EXPECT_FALSE(MatchesMask("\xC9T\xC9", "\xE9t\xE9"));
}

TEST_F(DirCopyTest, MessagesMemoAndOverridingQuestion) {
    EXPECT_FALSE(copier_.Execute());
    copier_.SourceFile = Path("a.txt");
    EXPECT_FALSE(copier_.Execute());
    EXPECT_EQ(errors_, (Strings{"I can't copy\rSource File name missing",
                                "I can't copy\rTarget File name missing"}));

    errors_.clear();
    Write("a.txt", "a");
    EXPECT_FALSE(copier_.CopyFile(Path("a.txt"), Path("A.TXT")));  // the same stored file
    EXPECT_EQ(errors_, Strings{"Error !!!\rI can't copy " + Path("a.txt") + " on itself"});
    EXPECT_EQ(Read("a.txt"), "a");

    errors_.clear();
    Write("src/one.txt", "1");
    Write("src/two.txt", "2");
    copier_.SourceFile = Path("src\\*.*");
    copier_.TargetFile = Path("dst\\*.*");
    copier_.ShowProgressOnMemo = true;
    ASSERT_TRUE(copier_.Execute());  // lines go nowhere: one complaint per file
    EXPECT_EQ(errors_.size(), 2u);
    EXPECT_EQ(errors_.front(),
              "Error : you must assign an exsisting TMemo to memo property,\r"
              "before setting ShowProgressOnMemo = True");

    Strings memo;
    copier_.Memo = &memo;
    int asked = 0;
    copier_.OnOverriding = [&](TFileCopyNew&, bool& canOverride) {
        ++asked;
        canOverride = false;
    };
    Write("src/one.txt", "changed");
    EXPECT_FALSE(copier_.Execute());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Read("dst/one.txt"), "1");
    EXPECT_EQ(memo, (Strings{"failed - " + Path("src\\") + "one.txt",
                             "failed - " + Path("src\\") + "two.txt"}));
}

}  // namespace
