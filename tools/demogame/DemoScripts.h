// The [Behaviour B] and [Clip C] sections of the demo game's level
// definition: the lift, the hint, the gem reward and the flickering lamp; the
// welcome, reward and hint messages and the opening cut-scene.
#pragma once

#include "tools/demogame/IniText.h"

namespace demo {

void WriteBehaviours(IniText& ini);
void WriteClips(IniText& ini);

// Rich-text switches of the bitmap-font text: the small and the big font.
constexpr char kSmallFontCode = '\xB0';
constexpr char kBigFontCode = '\xB2';

}  // namespace demo
