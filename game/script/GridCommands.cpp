#include "game/script/GridCommands.h"

#include <algorithm>
#include <cstdint>

#include "engine/G3DAngles.h"
#include "game/level/CellGrid.h"
#include "game/world/BlocDynamics.h"

namespace {

// Velocity of a bloc that MAKEFALL drops, per 90 ms.
constexpr float kFallSpeed = -20.0f;

// The two corners of a box in grid cells, in 64 bits: offsets added to a cell
// near the 32-bit bounds must not wrap.
struct Corners {
    int64_t x1, y1, z1, x2, y2, z2;
};

Corners Relative(const CommandContext& c) {
    const BehaviourStuff& b = c.instance;
    const CommandStuff& k = c.command;
    return {int64_t{b.CellX} + k.Param1, int64_t{b.CellY} + k.Param2, int64_t{b.CellZ} + k.Param3,
            int64_t{b.CellX} + k.Param4, int64_t{b.CellY} + k.Param5, int64_t{b.CellZ} + k.Param6};
}

Corners Absolute(const CommandContext& c) {
    const CommandStuff& k = c.command;
    return {k.Param1, k.Param2, k.Param3, k.Param4, k.Param5, k.Param6};
}

// The cells of one axis from `a` toward `b` that lie in 0..size-1, in the
// order of the walk; `upwardOnly` leaves a descending axis empty.
struct AxisWalk {
    int32_t from = 0, to = 0, step = 1;
    bool empty = true;
};

AxisWalk ClipAxis(int64_t a, int64_t b, int32_t size, bool upwardOnly) {
    AxisWalk walk;
    if (size <= 0) return walk;
    const int64_t last = int64_t{size} - 1;
    if (a <= b) {
        const int64_t from = std::max<int64_t>(a, 0), to = std::min(b, last);
        if (from <= to) walk = {static_cast<int32_t>(from), static_cast<int32_t>(to), 1, false};
    } else if (!upwardOnly) {
        const int64_t from = std::min(a, last), to = std::max<int64_t>(b, 0);
        if (from >= to) walk = {static_cast<int32_t>(from), static_cast<int32_t>(to), -1, false};
    }
    return walk;
}

// Calls visit(x, y, z) for every cell of the box inside the grid of `level`,
// x outermost, then y, then z, each from its first corner toward its second.
template <typename Visit>
void WalkBox(const LevelStuff& level, const Corners& k, bool upwardOnly, Visit&& visit) {
    const AxisWalk x = ClipAxis(k.x1, k.x2, level.SizeX, upwardOnly);
    const AxisWalk y = ClipAxis(k.y1, k.y2, level.SizeY, upwardOnly);
    const AxisWalk z = ClipAxis(k.z1, k.z2, level.SizeZ, upwardOnly);
    if (x.empty || y.empty || z.empty) return;
    for (int32_t i = x.from;; i += x.step) {
        for (int32_t j = y.from;; j += y.step) {
            for (int32_t m = z.from;; m += z.step) {
                visit(i, j, m);
                if (m == z.to) break;
            }
            if (j == y.to) break;
        }
        if (i == x.to) break;
    }
}

void PutObjectIn(CommandContext& c, const Corners& box) {
    const int32_t type = c.command.Param7;
    if (IsBlocType(type)) {
        WalkBox(c.level, box, false,
                [type](int32_t x, int32_t y, int32_t z) { SetCellType(x, y, z, type); });
    }
    Advance(c);
}

// The low eight bits of a value, as the byte layers keep it.
int32_t LowByte(int64_t value) { return static_cast<uint8_t>(value); }

void PutLightIn(CommandContext& c, const Corners& box) {
    const int32_t light = LowByte(c.command.Param7);
    WalkBox(c.level, box, false,
            [light](int32_t x, int32_t y, int32_t z) { SetCellLight(x, y, z, light); });
    Advance(c);
}

void AddLightIn(CommandContext& c, const Corners& box) {
    const int32_t add = c.command.Param7;
    WalkBox(c.level, box, false, [add](int32_t x, int32_t y, int32_t z) {
        SetCellLight(x, y, z, LowByte(int64_t{GetCellLight(x, y, z)} + add));
    });
    Advance(c);
}

void PutRotationIn(CommandContext& c, const Corners& box) {
    const int32_t turn = LowByte(c.command.Param7);
    WalkBox(c.level, box, false,
            [turn](int32_t x, int32_t y, int32_t z) { SetCellTurn(x, y, z, turn); });
    Advance(c);
}

void AddRotationIn(CommandContext& c, const Corners& box) {
    const int32_t add = c.command.Param7;
    WalkBox(c.level, box, false, [add](int32_t x, int32_t y, int32_t z) {
        SetCellTurn(x, y, z, LowByte(int64_t{GetCellTurn(x, y, z)} + add));
    });
    Advance(c);
}

}  // namespace

void DoMakeFall(CommandContext& c) {
    WalkBox(c.level, Relative(c), false,
            [](int32_t x, int32_t y, int32_t z) { LaunchBloc(x, y, z, 0.0f, kFallSpeed, 0.0f); });
    Advance(c);
}

void DoPutObject(CommandContext& c) { PutObjectIn(c, Relative(c)); }
void DoPutObjectAbsolute(CommandContext& c) { PutObjectIn(c, Absolute(c)); }

void DoPlayTileAnimation(CommandContext& c) {
    const BehaviourStuff& b = c.instance;
    const CommandStuff& k = c.command;
    const auto centre = [](int32_t cell, int32_t offset) {
        return G3DClamp32((int64_t{cell} + offset) * 512 + 256);
    };
    AddTileAnimationAt(centre(b.CellX, k.Param1), centre(b.CellY, k.Param2),
                       centre(b.CellZ, k.Param3), k.Param4);
    Advance(c);
}

void DoOpenDoor(CommandContext& c) {
    const int32_t type = c.command.Param7;
    const BlocStuff* door = BlocRecord(c.level, type);
    if (door != nullptr && door->Door != 0) {
        const int32_t anim = door->AnimDoor, open = door->DoorOpen;
        WalkBox(c.level, Relative(c), true, [type, anim, open](int32_t x, int32_t y, int32_t z) {
            if (GetCellType(x, y, z) == type) AddTileAnimation(x, y, z, anim, open);
        });
    }
    Advance(c);
}

void DoPutLight(CommandContext& c) { PutLightIn(c, Relative(c)); }
void DoAddLight(CommandContext& c) { AddLightIn(c, Relative(c)); }
void DoPutLightAbsolute(CommandContext& c) { PutLightIn(c, Absolute(c)); }
void DoAddLightAbsolute(CommandContext& c) { AddLightIn(c, Absolute(c)); }

void DoPutRotation(CommandContext& c) { PutRotationIn(c, Relative(c)); }
void DoAddRotation(CommandContext& c) { AddRotationIn(c, Relative(c)); }
void DoPutRotationAbsolute(CommandContext& c) { PutRotationIn(c, Absolute(c)); }
void DoAddRotationAbsolute(CommandContext& c) { AddRotationIn(c, Absolute(c)); }
