#include "platform/msgbox/MessageBox.h"

#include <gtest/gtest.h>

#include "platform/fs/FileSystem.h"
#include "tests/common/ScratchFolder.h"

namespace {

// Texts taken from data: a level name with a terminal's escape sequences
// (ESC, BEL, and cp1252's undefined 0x9D, which is OSC once in UTF-8).
TEST(MessageBox, ControlCharactersFromDataAreNeverShownRaw) {
    const std::string name = "lev\x1b]0;owned\x07\x9d\x1b[2Jel\xe9.lvl\r\n";
    const std::string shown = "The file lev?]0;owned???[2Jel\xe9.lvl?? is missing or invalid.";
    platform::RecordingMessageSink messages;
    platform::SetMessageSink(&messages);
    platform::ShowMessage("The file " + name + " is missing or invalid.");
    platform::SetMessageSink(nullptr);
    EXPECT_EQ(messages.texts, std::vector<std::string>{shown});

    testing::internal::CaptureStderr();
    platform::ReportOnConsole(name);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "lev?]0;owned???[2Jel\xc3\xa9.lvl??\n");

    // A file name of the system, UTF-8: C1 controls and stray bytes too.
    testutil::ScratchFolder folder;
    const std::string file = "a\x1b[1m\xc2\x9b\xc3\xa9\x9b\xff";
    folder.Write(file + "/x", "");
    testing::internal::CaptureStderr();
    platform::fs::ReportUnreadableFile(folder.Path(file));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              folder.Root() + "/a?[1m?\xc3\xa9??: is not a regular file\n");
}

}  // namespace
