// The two levels of the demo game as plans: the cell grid with its light and
// orientation layers, the start, the level exits, clip zones, banners and
// colours. LevelWriter turns a plan into a level file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct PlannedExit {
    int Type;           // bloc type whose cells lead away
    std::string Level;  // level name
    int X, Y, Z;        // arrival cell
};

struct PlannedZone {
    int X, Y, Z, Clip;
};

// A golem that the level file holds in its golem list, standing at the centre
// of its cell (a golem bloc in the grid becomes one only when the level is read).
struct PlannedGolem {
    int Type;
    int X, Y, Z;
    uint8_t Turn;  // orientation byte, 1/256 turn
};

struct LevelPlan {
    std::string Definition;  // definition file as the level names it
    int SizeX = 0, SizeY = 0, SizeZ = 0;
    int StartX = 0, StartY = 0, StartZ = 0, StartAngle = 0;
    std::vector<uint16_t> Types;  // x + y × SizeX + z × SizeX × SizeY
    std::vector<uint8_t> Light, Turn;
    std::vector<PlannedExit> Exits;
    std::vector<PlannedZone> Zones;
    std::vector<PlannedGolem> Golems;
    std::string Banner1, Banner2;
    uint8_t BackRed = 0, BackGreen = 0, BackBlue = 0;
    int LightDepth = 14;
    int RandSeed = 1;

    LevelPlan(int sizeX, int sizeY, int sizeZ);
    int Index(int x, int y, int z) const { return x + (y + z * SizeY) * SizeX; }
    bool Inside(int x, int y, int z) const;
    int Type(int x, int y, int z) const { return Inside(x, y, z) ? Types[Index(x, y, z)] : 0; }
    // Puts `type` into every cell of the box (inclusive corners), clipped.
    void Fill(int x0, int y0, int z0, int x1, int y1, int z1, int type);
    void Put(int x, int y, int z, int type) { Fill(x, y, z, x, y, z, type); }
    // Sets the light byte of every cell of the box.
    void Lighten(int x0, int y0, int z0, int x1, int y1, int z1, uint8_t light);
    // Number of cells holding `type`.
    int Count(int type) const;
};

LevelPlan Level1Plan();
LevelPlan Level2Plan();

}  // namespace demo
