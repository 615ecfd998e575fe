// The scripted rooms of the demo game's second level, played by behaviours:
// three switches to light that open the vault door, and behind it a turret
// that shoots at the hero until it is destroyed, a drone that chases him, a
// ram that slides to and fro, a lift up to a ledge with a spinning beacon,
// spikes in a dark corner that end the game, a sky that clears when the vault
// opens, and five coins (two of them left
// by the turret and the drone) whose collection wins the game. This unit gives their bloc types,
// behaviours, message clips and their place in the level plan.
#pragma once

#include "tools/demogame/DemoLevels.h"
#include "tools/demogame/IniText.h"

namespace demo {

// Bloc types of the scripted rooms, after those of DemoDefinition.h.
enum ScriptBloc : int {
    kBlocSwitchOff = 40,
    kBlocSwitchOn = 41,
    kBlocVaultDoor = 42,
    kBlocVaultLock = 43,  // hidden: opens the vault once no switch is off
    kBlocTurret = 44,
    kBlocTurretWreck = 45,
    kBlocFireball = 46,  // the turret's shot
    kBlocBlast = 47,     // where a shot ends, or a machine is destroyed
    kBlocBlaster = 48,   // the hero's weapon: a pick-up of bolts
    kBlocBolt = 49,      // the hero's shot
    kBlocDrone = 50,
    kBlocRam = 51,
    kBlocCoin = 52,
    kBlocCoinCounter = 53,  // hidden: wins the game once the hero holds every coin
    kBlocAnnexWatch = 54,   // hidden: starts the countdown when the hero enters
    kBlocBeacon = 55,
    kBlocBeaconMotor = 56,  // hidden: turns the beacon
    kBlocSpikes = 57,       // ends the game when the hero steps on them
};

// Behaviour numbers, after those of DemoDefinition.h.
enum ScriptBehaviour : int {
    kSwitchOffScript = 8,
    kSwitchOnScript = 9,
    kSwitchLockedScript = 10,
    kVaultLockScript = 11,
    kTurretScript = 12,
    kTurretDownScript = 13,
    kDroneScript = 14,
    kDroneDownScript = 15,
    kRamScript = 16,
    kCoinCounterScript = 17,
    kAnnexWatchScript = 18,
    kBeaconScript = 19,
    kSpikesScript = 20,
};

// Message clips, after those of DemoDefinition.h.
enum ScriptClip : int {
    kClipVaultHint = 8,
    kClipVaultOpen = 9,
    kClipAnnex = 10,
    kClipAllCoins = 11,
    kClipTurretDown = 12,
    kClipSpikes = 13,
};

// The cloudy sky that the opening of the vault shows (the levels start
// without one, on sky 0).
constexpr int kSkyClouds = 1;

// Coins in the level with the two the machines leave.
constexpr int kCoinsToWin = 5;

// The [General] keys of the rooms' sky.
void WriteScriptSkyKeys(IniText& ini);
// The [Object N], [Behaviour B] and [Clip C] sections of the rooms.
void WriteScriptBlocTypes(IniText& ini);
void WriteScriptBehaviours(IniText& ini);
void WriteScriptClips(IniText& ini);

// Puts the rooms into the second level's plan (12 × 6 × 20): the switches and
// the blaster in the trophy room, the wall with the vault door at z = 11, and
// the vault behind it.
void AddScriptedRooms(LevelPlan& p);

}  // namespace demo
