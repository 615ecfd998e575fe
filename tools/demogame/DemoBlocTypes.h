// The [Object N] sections of the demo game's level definition: one per bloc
// type of DemoDefinition.h, and the pieces that the other bloc types of the
// demo (the scripted rooms') are built of.
#pragma once

#include <string>
#include <vector>

#include "tools/demogame/IniText.h"

namespace demo {

void WriteBlocTypes(IniText& ini);

// A mesh type with its frames; `speed` frames per 90 ms, morphing when > 0.
void Meshes(IniText& ini, int n, const char* name, const std::vector<std::string>& frames,
            double speed = 0);
// The mesh names base1..base<count>, or base<count>..base1 `backwards`.
std::vector<std::string> Frames(const std::string& base, int count, bool backwards = false);
// A door that plays the opening slab and leaves the cell empty.
void DoorKeys(IniText& ini);
// The inventory icon keys of a bloc type the hero can take.
void InventoryIcon(IniText& ini, const char* icon);
// A pick-up that spins in place, `speed` frames per 90 ms.
void PickUp(IniText& ini, int n, const char* name, const char* mesh, const char* icon,
            double speed = 0.2);
// A hidden holder of a behaviour: no shape, no gravity, never in the way.
void ScriptHolder(IniText& ini, int n, const char* name, int behaviour);

}  // namespace demo
