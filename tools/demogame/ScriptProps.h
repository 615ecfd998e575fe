// The objects and icons of the demo game's scripted rooms, built from boxes
// in cell-centred coordinates (a cell spans -256..256, its floor at y = -256):
// the turret and its wreck, the chasing drone, the sliding ram, the spinning
// beacon, the spikes, coins and the blaster that spin in place, the blaster's
// bolt, the turret's fireball, the frames of a blast and a cloudy sky box;
// and the HUD icons of the coin and the bolt.
#pragma once

#include <vector>

#include "tools/demogame/FigureMeshes.h"
#include "tools/demogame/PcxWriter.h"

namespace demo {

// Frame counts of the animated objects.
constexpr int kCoinFrames = 4;   // "Coin1".."Coin4", "Blaster1".."Blaster4"
constexpr int kBlastFrames = 3;  // "Blast1".."Blast3"

// "Turret", "Turret_Wreck", "Drone", "Ram", "Beacon", "Spikes", "Sky_Clouds",
// "Bolt", "Fireball", "Coin1".., "Blaster1".., "Blast1"...
std::vector<NamedMesh> ScriptPropMeshes();

// Inventory icons (32 × 32): a coin and a bolt.
IndexedPicture CoinIcon();
IndexedPicture BoltIcon();

}  // namespace demo
