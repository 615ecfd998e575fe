// The dictionary read from the current folder and spread over the menu
// captions, the options dialog's texts and the shell's messages.
#include "shell/LocalisationUnit.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fs/PathResolver.h"
#include "shell/MainMenu.h"
#include "shell/OptionUnit.h"
#include "tests/common/ScratchFolder.h"

namespace {

class LocalisationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previousFolder = platform::fs::CurrentFolder();
        ASSERT_TRUE(platform::fs::SetCurrentFolder(folder.Root()));
    }
    void TearDown() override { platform::fs::SetCurrentFolder(previousFolder); }

    // A dictionary whose entry i reads "e<i>", entry `missing` left out.
    void WriteDictionary(const std::string& language, int missing) const {
        std::string text = "[Config]\r\nLanguage=" + language + "\r\n[" + language + "]\r\n";
        for (int i = 0; i < kDictionaryEntries; ++i) {
            if (i != missing) text += std::to_string(i) + "=e" + std::to_string(i) + "\r\n";
        }
        folder.Write("Player.dic", text);
    }

    testutil::ScratchFolder folder;
    std::string previousFolder;
};

TEST_F(LocalisationTest, EveryEntryReachesItsCaptionLabelOrMessage) {
    constexpr int kMissing = 40;  // message 9
    WriteDictionary("Francais", kMissing);
    ApplyDictionary();
    EXPECT_EQ(DictionaryLanguage, "Francais");
    auto entry = [](int i) {
        return i == kMissing ? std::string(kMissingEntry) : "e" + std::to_string(i);
    };
    for (int i = 0; i < kMenuItemCount; ++i) EXPECT_EQ(MainMenu.items[i].caption, entry(i)) << i;
    // Message -> entry.
    const int messageEntries[kLocalisedMessageCount] = {2,  14, 15, 16, 17, 18, 19, 20, 39, 40, 41,
                                                        42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52};
    for (int m = 0; m < kLocalisedMessageCount; ++m)
        EXPECT_EQ(LocalisedMessages[m], entry(messageEntries[m])) << "message " << m;
    // Control (the key bindings' order) -> entry of its label.
    const int labelEntries[kOptionControls] = {28, 29, 21, 22, 30, 31, 23,
                                               24, 25, 26, 32, 33, 27, 34};
    for (int c = 0; c < kOptionControls; ++c)
        EXPECT_EQ(OptionTexts.controlLabels[c], entry(labelEntries[c])) << "control " << c;
    EXPECT_EQ(OptionTexts.viewDistance, "e35");
    EXPECT_EQ(OptionTexts.music, "e36");
    EXPECT_EQ(OptionTexts.page, "e37");
    EXPECT_EQ(OptionTexts.caption, "e38");
}

TEST_F(LocalisationTest, WithoutALanguageTheTextsStayAsTheyWere) {
    WriteDictionary("Francais", -1);
    ApplyDictionary();
    WriteDictionary("", -1);
    LoadDictionary("Player.dic");
    EXPECT_EQ(Dictionary[256], "e256");
    // Read again at every activation: a changed file is taken.
    WriteDictionary("Deutsch", 5);
    ApplyDictionary();
    EXPECT_EQ(MainMenu.items[5].caption, kMissingEntry);
    EXPECT_EQ(DictionaryLanguage, "Deutsch");
}

}  // namespace
