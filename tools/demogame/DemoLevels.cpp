#include "tools/demogame/DemoLevels.h"

#include <algorithm>

#include "tools/demogame/DemoDefinition.h"
#include "tools/demogame/DemoLayout.h"
#include "tools/demogame/DemoMedia.h"
#include "tools/demogame/ScriptRooms.h"

namespace demo {

LevelPlan::LevelPlan(int sizeX, int sizeY, int sizeZ)
    : Definition(kDefinitionRef),
      SizeX(sizeX),
      SizeY(sizeY),
      SizeZ(sizeZ),
      Types(static_cast<size_t>(sizeX) * sizeY * sizeZ, 0),
      Light(Types.size(), 160),
      Turn(Types.size(), 0) {}

bool LevelPlan::Inside(int x, int y, int z) const {
    return x >= 0 && y >= 0 && z >= 0 && x < SizeX && y < SizeY && z < SizeZ;
}

namespace {
// Calls visit(index) for every cell of the box (inclusive corners) that lies
// inside the plan.
template <typename Visit>
void ForEachInBox(const LevelPlan& p, int x0, int y0, int z0, int x1, int y1, int z1, Visit visit) {
    for (int z = std::max(z0, 0); z <= std::min(z1, p.SizeZ - 1); ++z) {
        for (int y = std::max(y0, 0); y <= std::min(y1, p.SizeY - 1); ++y) {
            for (int x = std::max(x0, 0); x <= std::min(x1, p.SizeX - 1); ++x) {
                visit(p.Index(x, y, z));
            }
        }
    }
}
}  // namespace

void LevelPlan::Fill(int x0, int y0, int z0, int x1, int y1, int z1, int type) {
    ForEachInBox(*this, x0, y0, z0, x1, y1, z1,
                 [&](int i) { Types[i] = static_cast<uint16_t>(type); });
}

void LevelPlan::Lighten(int x0, int y0, int z0, int x1, int y1, int z1, uint8_t light) {
    ForEachInBox(*this, x0, y0, z0, x1, y1, z1, [&](int i) { Light[i] = light; });
}

int LevelPlan::Count(int type) const {
    return static_cast<int>(std::count(Types.begin(), Types.end(), static_cast<uint16_t>(type)));
}

namespace {
// Floor at y = 0 and brick walls three cells high around the edge.
void Shell(LevelPlan& p, int floor) {
    p.Fill(0, 0, 0, p.SizeX - 1, 0, p.SizeZ - 1, floor);
    p.Fill(0, 1, 0, p.SizeX - 1, 3, 0, kBlocBricks);
    p.Fill(0, 1, p.SizeZ - 1, p.SizeX - 1, 3, p.SizeZ - 1, kBlocBricks);
    p.Fill(0, 1, 0, 0, 3, p.SizeZ - 1, kBlocBricks);
    p.Fill(p.SizeX - 1, 1, 0, p.SizeX - 1, 3, p.SizeZ - 1, kBlocBricks);
}

// Level 1, the hall: a crate to push onto the sensor, a lever, gems (one
// behind diggable earth), a spring, a timer pad, a pair of exit pads beside
// the conveyor, then three doors into the back rooms where the key and the
// gems wait, and the golem on one of the two back exits.
void Hall(LevelPlan& p) {
    p.Put(4, 1, 5, kBlocCrate);
    p.Put(4, 0, 8, kBlocSensor);
    p.Put(4, 2, 3, kBlocHint);
    p.Put(8, 1, 6, kBlocLever);
    p.Turn[p.Index(8, 1, 6)] = 64;  // a quarter turn
    p.Fill(12, 1, 1, 12, 1, 3, kBlocEarth);
    p.Fill(13, 1, 3, 14, 1, 3, kBlocEarth);
    p.Put(13, 1, 2, kBlocGem);
    p.Fill(10, 0, 4, 10, 0, 7, kBlocConveyor);  // far enough from the pads not to carry one off
    p.Fill(2, 1, 6, 3, 1, 7, kBlocWater);
    p.Put(6, 1, 3, kBlocSpring);
    p.Put(8, 1, 2, kBlocTimer);
    p.Put(2, 1, 4, kBlocPlatform);
    p.Put(1, 4, 1, kBlocGemWatcher);
    p.Fill(11, 1, 1, 11, 1, 2, kBlocExit);
}

void BackRooms(LevelPlan& p) {
    p.Fill(1, 1, 9, 14, 3, 9, kBlocBricks);
    p.Put(4, 1, 9, kBlocSensorDoor);
    p.Put(8, 1, 9, kBlocGate);
    p.Put(12, 1, 9, kBlocKeyDoor);
    p.Fill(6, 1, 10, 6, 3, 14, kBlocStone);
    p.Fill(10, 1, 10, 10, 3, 14, kBlocStone);
    p.Fill(1, 0, 10, 14, 0, 14, kBlocStone);
    p.Lighten(1, 1, 10, 14, 3, 14, 130);
    p.Put(2, 1, 12, kBlocGem);
    p.Put(3, 1, 13, kBlocGem);
    p.Put(2, 1, 14, kBlocMedikit);
    p.Put(8, 1, 13, kBlocKey);
    p.Put(8, 1, 11, kBlocGem);
    p.Put(12, 1, 13, kBlocExit);
    p.Put(13, 1, 13, kBlocExit);
    // The golem waits on an exit, so that every exit of the level can be taken
    // until it is led away.
    p.Golems.push_back({kBlocGolem, 13, 1, 13, 128});
}
}  // namespace

LevelPlan Level1Plan() {
    LevelPlan p(16, 6, 16);
    Shell(p, kBlocGrass);
    p.Lighten(0, 0, 0, 15, 5, 15, 170);
    Hall(p);
    BackRooms(p);
    p.StartX = 2, p.StartY = 1, p.StartZ = 2, p.StartAngle = 0;
    p.Exits.push_back({kBlocExit, LevelName(2), 2, 1, 2});
    p.Zones.push_back({2, 1, 2, kClipIntro});
    p.Banner1 = "Level 1";
    p.Banner2 = " The Hall of Doors";  // shown after "Niveau:"
    p.BackRed = 90, p.BackGreen = 150, p.BackBlue = 230;
    p.RandSeed = 1234;
    return p;
}

LevelPlan Level2Plan() {
    LevelPlan p(12, 6, 20);  // the trophy room, and the vault behind it (ScriptRooms)
    Shell(p, kBlocStone);
    p.Lighten(0, 0, 0, 11, 5, 11, 150);
    p.Fill(5, 0, 3, 5, 0, 8, kBlocConveyor);
    p.Fill(7, 1, 7, 10, 1, 7, kBlocEarth);
    p.Fill(8, 1, 8, 10, 1, 10, kBlocStone);  // the trophy's stand
    p.Put(9, 2, 9, kBlocTrophy);
    p.Put(8, 1, 5, kBlocSpring);
    p.Put(3, 1, 8, kBlocGem);
    p.Fill(2, 1, 5, 3, 1, 6, kBlocWater);
    p.Put(6, 4, 6, kBlocLamp);
    p.Put(1, 1, 10, kBlocExit);
    AddScriptedRooms(p);
    p.StartX = 2, p.StartY = 1, p.StartZ = 2, p.StartAngle = 0;
    p.Exits.push_back({kBlocExit, LevelName(1), 12, 1, 5});
    p.Zones.push_back({2, 1, 2, kClipArrival});
    p.Banner1 = "Level 2";
    p.Banner2 = " The Trophy Room";
    p.BackRed = 40, p.BackGreen = 30, p.BackBlue = 70;
    p.LightDepth = 10;
    p.RandSeed = 5678;
    return p;
}

}  // namespace demo
