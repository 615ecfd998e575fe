#include "shell/LocalisationUnit.h"

#include "shell/MainMenu.h"
#include "shell/OptionUnit.h"
#include "shell/PlayFrame.h"
#include "support/IniFiles32.h"

std::array<std::string, kDictionaryEntries> Dictionary;
std::string DictionaryLanguage;
std::array<std::string, kLocalisedMessageCount> LocalisedMessages;

namespace {

// A run of entries copied to a run of messages.
struct MessageRun {
    int firstEntry, firstMessage, count;
};
constexpr MessageRun kMessageRuns[] = {{2, 0, 1}, {14, 1, 7}, {39, 8, 14}};

// The entries of the options dialog's control labels, by control (the order
// of the key bindings).
constexpr int kControlLabelEntries[kOptionControls] = {28, 29, 21, 22, 30, 31, 23,
                                                       24, 25, 26, 32, 33, 27, 34};

}  // namespace

void LoadDictionary(const std::string& name) {
    const TIniFile32 ini(name);  // found from the current folder
    DictionaryLanguage = ini.ReadString("Config", "Language", "");
    if (DictionaryLanguage.empty()) return;
    for (int i = 0; i < kDictionaryEntries; ++i) {
        Dictionary[static_cast<size_t>(i)] =
            ini.ReadString(DictionaryLanguage, std::to_string(i), kMissingEntry);
    }
}

void ApplyDictionary() {
    LoadDictionary("Player.dic");
    for (int i = 0; i < kMenuItemCount; ++i) {
        MainMenu.items[static_cast<size_t>(i)].caption = Dictionary[static_cast<size_t>(i)];
    }
    for (const MessageRun& run : kMessageRuns) {
        for (int k = 0; k < run.count; ++k) {
            LocalisedMessages[static_cast<size_t>(run.firstMessage + k)] =
                Dictionary[static_cast<size_t>(run.firstEntry + k)];
        }
    }
    for (int c = 0; c < kOptionControls; ++c) {
        OptionTexts.controlLabels[static_cast<size_t>(c)] =
            Dictionary[static_cast<size_t>(kControlLabelEntries[c])];
    }
    OptionTexts.viewDistance = Dictionary[35];
    OptionTexts.music = Dictionary[36];
    OptionTexts.page = Dictionary[37];
    OptionTexts.caption = Dictionary[38];
    // The caption just set has no count: the next play frame puts it back.
    SaveCountShown = -1;
}
