#include "tools/demogame/DemoBlocTypes.h"

#include <string>
#include <vector>

#include "tools/demogame/DemoDefinition.h"
#include "tools/demogame/DemoLayout.h"
#include "tools/demogame/DemoPalette.h"
#include "tools/demogame/DemoPictures.h"

namespace demo {

namespace {
// A cube type: sides, top (face E) and bottom (face F) textures, with flat
// colours for low texture quality.
void Cube(IniText& ini, int n, const char* name, int side, int top, int bottom, Ramp colour) {
    ini.Section("Object " + std::to_string(n));
    ini.Flag("Cube", true);
    ini.Key("Name", name);
    const char faces[] = "ABCDEF";
    for (int f = 0; f < 6; ++f) {
        const int texture = f == 4 ? top : f == 5 ? bottom : side;
        const std::string face(1, faces[f]);
        ini.Key("Face" + face + "Color", Shade(colour, f == 4 ? 24 : 16));
        ini.Key("Face" + face + "Texture", texture);
    }
}
}  // namespace

void Meshes(IniText& ini, int n, const char* name, const std::vector<std::string>& frames,
            double speed) {
    ini.Section("Object " + std::to_string(n));
    ini.Flag("Cube", false);
    ini.Key("Name", name);
    for (size_t i = 0; i < frames.size(); ++i) {
        ini.Key("Mesh" + std::to_string(i + 1), MeshRef(frames[i]));
    }
    if (speed > 0) {
        ini.Key("Speed", speed);
        ini.Flag("Morph", true);
    }
}

std::vector<std::string> Frames(const std::string& base, int count, bool backwards) {
    std::vector<std::string> list;
    for (int i = 1; i <= count; ++i)
        list.push_back(base + std::to_string(backwards ? count + 1 - i : i));
    return list;
}

void DoorKeys(IniText& ini) {
    ini.Flag("Door", true);
    ini.Key("AnimDoor", kBlocDoorOpening);
    ini.Key("DoorOpen", kBlocEmpty);
}

void InventoryIcon(IniText& ini, const char* icon) {
    ini.Key("InventoryIcon", HudRef(icon));
    ini.Key("InventoryIconWidth", 0.08);
    ini.Key("InventoryIconHeight", 0.1);
}

void PickUp(IniText& ini, int n, const char* name, const char* mesh, const char* icon,
            double speed) {
    Meshes(ini, n, name, Frames(mesh, 4), speed);
    ini.Flag("Collision", false);
    ini.Flag("CanGet", true);
    ini.Key("Quantity", 1);
    ini.Key("ActionSound", SoundRef("PickUp"));
    InventoryIcon(ini, icon);
}

void ScriptHolder(IniText& ini, int n, const char* name, int behaviour) {
    Cube(ini, n, name, kTexStone, kTexStone, kTexStone, Ramp::Grey);
    ini.Flag("HideInGame", true);
    ini.Flag("Collision", false);
    ini.Key("G", 0);
    ini.Key("DefaultBehaviour", behaviour);
}

namespace {
void Ground(IniText& ini) {
    Cube(ini, kBlocStone, "Stone", kTexStone, kTexStone, kTexStone, Ramp::Grey);
    Cube(ini, kBlocBricks, "Bricks", kTexBricks, kTexStone, kTexStone, Ramp::Brick);
    Cube(ini, kBlocGrass, "Grass", kTexDirt, kTexGrass, kTexDirt, Ramp::Grass);
    Cube(ini, kBlocWater, "Water", kTexWater, kTexWater, kTexWater, Ramp::Water);
    ini.Flag("Collision", false);
    ini.Key("Transparency", 45);
    ini.Key("G", 6);
    Cube(ini, kBlocEarth, "Earth", kTexDirt, kTexDirt, kTexDirt, Ramp::Wood);
    ini.Flag("Dig", true);
    ini.Flag("Recover", true);
    ini.Key("DigAnim", kBlocEarthDig);
    ini.Key("RecoverAnim", kBlocEarthRecover);
    ini.Key("ActionSound", SoundRef("Step"));
    Meshes(ini, kBlocEarthDig, "Earth digging", Frames("Earth_Dig", 4), 0.3);
    ini.Flag("Collision", false);
    ini.Key("ActionSound", SoundRef("Step"));
    Meshes(ini, kBlocEarthRecover, "Earth coming back", Frames("Earth_Dig", 4, true), 0.3);
    Cube(ini, kBlocConveyor, "Conveyor", kTexMetal, kTexConveyor, kTexMetal, Ramp::Gold);
    ini.Key("SpeedZ", 15);
    Meshes(ini, kBlocExit, "Exit", {"ExitPad"});
    ini.Flag("Exit", true);
    ini.Flag("Collision", false);
}

void Mechanisms(IniText& ini) {
    Meshes(ini, kBlocCrate, "Crate", {"Crate"});
    ini.Flag("CanPush", true);
    ini.Flag("BlockKey", true);
    ini.Key("BlockKeySensor", kBlocSensor);
    ini.Key("ActionSound", SoundRef("Door"));
    Cube(ini, kBlocSensor, "Sensor plate", kTexMetal, kTexGold, kTexMetal, Ramp::Gold);
    ini.Flag("BlockSensor", true);
    ini.Key("BlockSensorDoor", kBlocSensorDoor);
    ini.Key("ActionSound", SoundRef("Lever"));
    Meshes(ini, kBlocSensorDoor, "Sensor door", {"Door_Sensor"});
    DoorKeys(ini);
    Meshes(ini, kBlocDoorOpening, "Door opening", Frames("Door_Open", 4), 0.25);
    ini.Flag("AnimateCollision", true);
    ini.Key("ActionSound", SoundRef("Door"));
    Meshes(ini, kBlocLever, "Lever", {"Lever"});
    ini.Flag("Lever", true);
    ini.Key("LeverAnim", kBlocLeverPull);
    ini.Key("LeverOpen", kBlocLeverDown);
    ini.Key("LeverDoor", kBlocGate);
    Meshes(ini, kBlocLeverPull, "Lever moving", Frames("Lever_Pull", 3), 0.3);
    ini.Key("ActionSound", SoundRef("Lever"));
    Meshes(ini, kBlocLeverDown, "Lever pulled", {"Lever_Down"});
    Meshes(ini, kBlocGate, "Gate", {"Gate"});
    DoorKeys(ini);
    Meshes(ini, kBlocKeyDoor, "Locked door", {"Door_Wood"});
    DoorKeys(ini);
    ini.Key("DoorKey", kBlocKey);
    ini.Key("DoorKeyRemoveAmount", 1);
    Meshes(ini, kBlocPlatform, "Lift", {"Platform"});
    ini.Key("DefaultBehaviour", kLift);
    Meshes(ini, kBlocSpring, "Spring", {"Spring"});
    ini.Flag("Spring", true);
    ini.Flag("Collision", false);
    ini.Key("ActionSound", SoundRef("Jump"));
}

void Things(IniText& ini) {
    PickUp(ini, kBlocKey, "Key", "Key", "Key");
    PickUp(ini, kBlocGem, "Gem", "Gem", "Gem");
    ini.Flag("ShowLevelCount", true);
    ini.Key("ShowLevelCountLeft", 0.93);
    ini.Key("ShowLevelCountTop", 0.3);
    ini.Key("ShowLevelCountIconLeft", 0.85);
    ini.Key("ShowLevelCountTopIcon", 0.27);
    Meshes(ini, kBlocMedikit, "Medikit", {"Medikit"});
    ini.Flag("Medikit", true);
    ini.Key("MedikitHealth", 25);
    ini.Flag("Collision", false);
    ini.Key("ActionSound", SoundRef("PickUp"));
    Meshes(ini, kBlocTrophy, "Trophy", {"Trophy"});
    ini.Flag("GameEnd", true);
    ini.Flag("Collision", false);
    ScriptHolder(ini, kBlocHint, "Hint", kHint);
    ScriptHolder(ini, kBlocGemWatcher, "Gem watcher", kGemWatch);
    ScriptHolder(ini, kBlocLamp, "Lamp", kFlicker);
}

// The golem: a body 200 wide and 300 high whose box (twice its size Y,
// centred on it) rests on the floor and keeps off the cells beside it; it
// follows the hero within four and a half cells, so that from its exit in the
// back room it does not see one in the hall through the wall as near enough
// to follow.
void Golem(IniText& ini) {
    Meshes(ini, kBlocGolem, "Golem", {"Golem_Stand"});
    ini.Key("Xmin", 156);
    ini.Key("Xmax", 356);
    ini.Key("Ymin", 106);
    ini.Key("Ymax", 256);
    ini.Key("Zmin", 156);
    ini.Key("Zmax", 356);
    ini.Flag("Golem", true);
    ini.Key("MeshStand", MeshRef("Golem_Stand"));
    const char* walk[] = {"Golem_Walk1", "Golem_Walk2", "Golem_Walk1", "Golem_Walk2"};
    for (int i = 0; i < 4; ++i) {
        ini.Key("MeshWalk" + std::to_string(i + 1), MeshRef(walk[i]));
        ini.Key("MeshBlock" + std::to_string(i + 1), MeshRef("Golem_Block"));
    }
    ini.Key("WalkAnimSpeed", 400);
    ini.Key("BlockAnimSpeed", 512);
    ini.Key("FollowingDistance", 700);
    ini.Key("FollowingDistanceMax", 2304);
    ini.Key("Width", 200);
    ini.Key("Height", 300);
    ini.Key("GolemSpeed", 24);
    ini.Key("GolemRotationSpeed", 300);
    ini.Key("BlockedDuration", 3000);
    ini.Key("SeenSound", SoundRef("GolemSeen"));
    ini.Key("LostSound", SoundRef("Hurt"));
    ini.Key("WalkSound", SoundRef("Step"));
    ini.Key("BlockSound", SoundRef("Lever"));
}

// A pad that starts the hero's countdown and is taken.
void Timer(IniText& ini) {
    Meshes(ini, kBlocTimer, "Timer", {"Timer"});
    ini.Flag("Timer", true);
    ini.Key("TimerDuration", 30000);
    ini.Flag("Collision", false);
    ini.Key("ActionSound", SoundRef("Lever"));
}
}  // namespace

void WriteBlocTypes(IniText& ini) {
    Ground(ini);
    Mechanisms(ini);
    Things(ini);
    Golem(ini);
    Timer(ini);
}

}  // namespace demo
