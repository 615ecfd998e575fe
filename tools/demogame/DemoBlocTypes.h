// The [Object N] sections of the demo game's level definition: one per bloc
// type of DemoDefinition.h.
#pragma once

#include "tools/demogame/IniText.h"

namespace demo {

void WriteBlocTypes(IniText& ini);

}  // namespace demo
