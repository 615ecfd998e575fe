// The interface texts: menu captions, the options dialog's labels and the
// messages of the shell, read from the dictionary "Player.dic" in the chosen
// language. The program holds no texts of its own: without a dictionary they
// are all empty.
#pragma once

#include <array>
#include <string>

// Entries of the dictionary, and interface messages made from them.
constexpr int kDictionaryEntries = 257;
constexpr int kLocalisedMessageCount = 22;
// The entry that a missing key of the language section gives.
inline constexpr const char* kMissingEntry = "********";

// The dictionary's texts (cp1252) and the language section they were read
// from. Empty at program start; read again at every activation of the main
// window, and kept when no language is found.
extern std::array<std::string, kDictionaryEntries> Dictionary;
extern std::string DictionaryLanguage;
// The shell's messages 0..21, set from the dictionary by ApplyDictionary.
extern std::array<std::string, kLocalisedMessageCount> LocalisedMessages;

// Reads the dictionary file `name` from the current folder: the language
// named by [Config] Language, then keys "0".."256" of that section ("********"
// for a missing key). Without a language the texts stay as they were.
void LoadDictionary(const std::string& name);

// Reloads "Player.dic" and sets every target from it: the 14 menu captions,
// the options dialog's texts and the 22 messages (empty entries included).
// The save command's caption is rebuilt with its count at the next play frame.
void ApplyDictionary();
