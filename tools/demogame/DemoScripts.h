// The [Behaviour B] and [Clip C] sections of the demo game's level
// definition: the lift, the hint, the gem reward and the flickering lamp; the
// welcome, reward and hint messages and the opening cut-scene.
#pragma once

#include <initializer_list>
#include <string>

#include "tools/demogame/IniText.h"

namespace demo {

void WriteBehaviours(IniText& ini);
void WriteClips(IniText& ini);

// Rich-text switches of the bitmap-font text: the small and the big font.
constexpr char kSmallFontCode = '\xB0';
constexpr char kBigFontCode = '\xB2';

// `text` in the big or the small font.
std::string Big(const std::string& text);
std::string Small(const std::string& text);

// A [Behaviour B] section: its name and its script, one line a key from 0.
void Behaviour(IniText& ini, int number, const char* name,
               std::initializer_list<std::string> lines);

// A [Clip C] section that shows `text` for `duration` ms at the top left
// with `sound`, once from its clip zone.
void Message(IniText& ini, int clip, const char* name, const std::string& text, const char* sound,
             int duration);

}  // namespace demo
