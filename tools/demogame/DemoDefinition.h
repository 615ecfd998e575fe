// The level definition of the demo game, shared by both levels: the hero,
// the bloc types (cubes and meshes: walls and floors, water, diggable earth,
// a conveyor, exits, a pushable crate that is the key of a floor sensor,
// doors opened by the sensor, a lever and a key, pick-ups, a golem, a moving
// platform, a timer pad, the trophy and hidden script holders), the behaviours
// and the clips.
#pragma once

#include <string>

namespace demo {

// Bloc type numbers.
enum DemoBloc : int {
    kBlocEmpty = 0,
    kBlocStone = 1,
    kBlocBricks = 2,
    kBlocGrass = 3,
    kBlocWater = 4,
    kBlocEarth = 5,
    kBlocConveyor = 6,
    kBlocExit = 7,
    kBlocCrate = 8,
    kBlocSensor = 9,
    kBlocSensorDoor = 10,
    kBlocDoorOpening = 11,
    kBlocLever = 12,
    kBlocLeverPull = 13,
    kBlocLeverDown = 14,
    kBlocGate = 15,
    kBlocKey = 16,
    kBlocKeyDoor = 17,
    kBlocGem = 18,
    kBlocGolem = 19,
    kBlocEarthDig = 20,
    kBlocEarthRecover = 21,
    kBlocMedikit = 22,
    kBlocSpring = 23,
    kBlocPlatform = 24,
    kBlocTrophy = 25,
    kBlocHint = 26,        // hidden: shows a hint when the hero comes near
    kBlocGemWatcher = 27,  // hidden: rewards the hero when every gem is taken
    kBlocLamp = 28,        // hidden: makes the light around it flicker
    kBlocTimer = 29,       // starts the hero's countdown when touched
};

// Clip numbers.
enum DemoClip : int { kClipWelcome = 0, kClipGems = 1, kClipIntro = 2, kClipHint = 3 };

// Behaviour numbers.
enum DemoBehaviour : int { kLift = 0, kHint = 1, kGemWatch = 2, kFlicker = 3 };

// The text of the definition file.
std::string DefinitionText();

}  // namespace demo
