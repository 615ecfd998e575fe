// The demo game's interface texts: its dictionary "Player.dic", in French,
// and the help file that the help command opens.
#pragma once

#include <string>

namespace demo {

// The dictionary's file name and its language section.
inline constexpr const char* kDictionaryFile = "Player.dic";
inline constexpr const char* kDictionaryLanguage = "Francais";
inline constexpr const char* kHelpFile = "Help.txt";

// Player.dic: every caption, label and message of the player (cp1252). The
// HUD messages keep to the demo fonts' glyphs (32..131): no accents.
std::string DictionaryText();

// The help file: the keys and commands of the demo game.
std::string HelpText();

}  // namespace demo
