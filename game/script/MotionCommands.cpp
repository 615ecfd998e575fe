#include "game/script/MotionCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "engine/G3DAngles.h"
#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/world/BlocDynamics.h"
#include "game/world/Collision.h"
#include "game/world/HeroInteraction.h"
#include "support/Random.h"

namespace {

// Step height of a bloc moved under collision, in world units.
constexpr int32_t kBlocStep = 51;
// Tries MOVENEARPLAYER makes to find an empty cell near the hero.
constexpr int32_t kNearTries = 101;
// Downward speed a falling MOVENEARPLAYER bloc gains per 90 ms, per 90 ms.
constexpr float kRunGravity = 28.0f;
// Heading offset of a running bloc: it faces the way it runs.
constexpr float kRunFacing = 16384.0f;
// Distance of a shot's start beyond the two bodies' sizes.
constexpr double kShotClearance = 1.1;
// Longest run MOVENEARPLAYER measures, in world units: far beyond any grid.
constexpr double kLongestRun = 1e15;

// Stores `value` when it is a finite float; a slot never takes a NaN or an
// infinity.
void SetFinite(float& slot, double value) {
    const auto f = static_cast<float>(value);
    if (std::isfinite(f)) slot = f;
}

float FiniteOrZero(double value) {
    const auto f = static_cast<float>(value);
    return std::isfinite(f) ? f : 0.0f;
}

int64_t Extent(int32_t from, int32_t to) { return std::llabs(int64_t{to} - from); }

// The share of a timed move done at FrameTime: 1 when the duration is 0 or
// less (the move is over), 0 until its time has begun.
double MoveShare(int32_t startTime, int32_t duration) {
    if (duration <= 0) return 1.0;
    const int64_t elapsed = int64_t{FrameTime} - startTime;
    if (elapsed <= 0) return 0.0;
    return static_cast<double>(elapsed) / duration;
}

// The collision body of a bloc type and the shift from the bloc's position
// (its cell centre) to the body's centre, which the position loses before
// the move and gets back after it.
struct BlocBody {
    int32_t width, height;
    double sx, sy, sz;
};

BlocBody BodyOf(const BlocStuff& type) {
    return {G3DClamp32(std::max(Extent(type.Xmin, type.Xmax), Extent(type.Zmin, type.Zmax))),
            G3DClamp32(Extent(type.Ymin, type.Ymax1)), BoxCentreShift(type.Xmin, type.Xmax),
            BoxCentreShift(type.Ymin, type.Ymax1), BoxCentreShift(type.Zmin, type.Zmax)};
}

// Moves the bloc by (dx, dy, dz) this frame against the world. Its row's own
// position is the body while it moves, so the collision, which passes over
// the moving bloc standing exactly at the body, never stops it against itself.
// A bloc of a type outside 0..256 has no body and stays.
void MoveCollided(LevelStuff& level, MovingBlocStuff& mb, float dx, float dy, float dz) {
    const BlocStuff* type = BlocRecord(level, mb.BlocType);
    if (type == nullptr) return;
    const BlocBody body = BodyOf(*type);
    const float x = mb.X, y = mb.Y, z = mb.Z;
    mb.X = static_cast<float>(mb.X - body.sx);
    mb.Y = static_cast<float>(mb.Y - body.sy);
    mb.Z = static_cast<float>(mb.Z - body.sz);
    MoveWithCollision(mb.X, mb.Y, mb.Z, dx, dy, dz, body.width, body.height, kBlocStep);
    const double nx = mb.X + body.sx, ny = mb.Y + body.sy, nz = mb.Z + body.sz;
    mb.X = x, mb.Y = y, mb.Z = z;
    SetFinite(mb.X, nx);
    SetFinite(mb.Y, ny);
    SetFinite(mb.Z, nz);
}

// ---- MOVETO, MOVETOABSOLUTE ----

void StartGlide(CommandContext& c, MovingBlocStuff& mb, double x, double y, double z,
                double angle) {
    mb.StartX = mb.X, mb.StartY = mb.Y, mb.StartZ = mb.Z, mb.StartAngle = mb.Angle;
    SetFinite(mb.TargetX, x);
    SetFinite(mb.TargetY, y);
    SetFinite(mb.TargetZ, z);
    SetFinite(mb.TargetAngle, angle);
    mb.VelocityX = mb.VelocityY = mb.VelocityZ = 0;
    mb.Duration = c.command.Param5;
    mb.StartTime = FrameTime;
    c.instance.Phase = 1;
    c.instance.PcTime = FrameTime;
}

double Between(float from, float to, double t) {
    return double{from} + (double{to} - double{from}) * t;
}

void Glide(CommandContext& c, MovingBlocStuff& mb) {
    const double t = MoveShare(mb.StartTime, mb.Duration);
    if (t >= 1.0) {
        mb.X = mb.TargetX, mb.Y = mb.TargetY, mb.Z = mb.TargetZ, mb.Angle = mb.TargetAngle;
        mb.VelocityX = mb.VelocityY = mb.VelocityZ = 0;
        c.instance.Phase = 0;
        Advance(c);
        return;
    }
    const float x = mb.X, y = mb.Y, z = mb.Z;
    SetFinite(mb.X, Between(mb.StartX, mb.TargetX, t));
    SetFinite(mb.Y, Between(mb.StartY, mb.TargetY, t));
    SetFinite(mb.Z, Between(mb.StartZ, mb.TargetZ, t));
    SetFinite(mb.Angle, Between(mb.StartAngle, mb.TargetAngle, t));
    mb.VelocityX = FiniteOrZero(double{mb.X} - x);
    mb.VelocityY = FiniteOrZero(double{mb.Y} - y);
    mb.VelocityZ = FiniteOrZero(double{mb.Z} - z);
}

double CellCentreOf(int64_t cell) { return static_cast<double>(cell) * 512.0 + 256.0; }

// ---- MOVENEARPLAYER ----

// One candidate offset on an axis of `extent` cells: whole cells from half
// the extent below the hero to just under half above it.
double NearOffset(int64_t extent) {
    const int32_t draw = Random(G3DClamp32(extent));
    return draw * 512.0 - static_cast<double>(extent) / 2.0 * 512.0;
}

bool EmptyCellAt(const LevelStuff& level, double x, double y, double z) {
    const int32_t type =
        GetLevelCellType(CellOfCoordinate(x), CellOfCoordinate(y), CellOfCoordinate(z), level);
    return IsBlocType(type) && level.Blocs[type].Undefined != 0;
}

struct Point {
    double x, y, z;
};

// The destination: the first candidate in an empty cell, else the last one.
Point NearDestination(const CommandContext& c, const HeroStuff& h) {
    const CommandStuff& k = c.command;
    const int64_t wx = Extent(k.Param1, k.Param4), wy = Extent(k.Param2, k.Param5),
                  wz = Extent(k.Param3, k.Param6);
    Point p{};
    for (int32_t i = 0; i < kNearTries; ++i) {
        p.x = h.X + NearOffset(wx);
        p.y = h.Y + NearOffset(wy);
        p.z = h.Z + NearOffset(wz);
        if (EmptyCellAt(c.level, p.x, p.y, p.z)) break;
    }
    return p;
}

void StartRun(CommandContext& c, MovingBlocStuff& mb, const HeroStuff& h) {
    const Point p = NearDestination(c, h);
    const BehaviourStuff& b = c.instance;
    // The way from the low corner of the instance's cell.
    const double dx = p.x - b.CellX * 512.0, dy = p.y - b.CellY * 512.0, dz = p.z - b.CellZ * 512.0;
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    const int64_t d =
        length < kLongestRun ? static_cast<int64_t>(length) + 1 : static_cast<int64_t>(kLongestRun);
    const int64_t speed = c.command.Param7;
    // A speed of -1 has no duration: the run ends in its first step.
    c.instance.MoveDuration = speed + 1 == 0 ? 0 : G3DClamp32(d * 100 / (speed + 1));
    mb.VelocityX = FiniteOrZero(dx * static_cast<double>(speed) / static_cast<double>(d));
    mb.VelocityY = FiniteOrZero(dy * static_cast<double>(speed) / static_cast<double>(d));
    mb.VelocityZ = FiniteOrZero(dz * static_cast<double>(speed) / static_cast<double>(d));
    mb.TargetY = c.command.Param8 != 0 ? 1.0f : 0.0f;  // the fall factor, while it runs
    mb.Duration = c.instance.MoveDuration;
    mb.StartTime = FrameTime;
    float yaw = 0, pitch = 0;
    DirectionAngles(yaw, pitch, mb.X, mb.Y, mb.Z, static_cast<float>(p.x), static_cast<float>(p.y),
                    static_cast<float>(p.z));
    mb.Angle = kRunFacing - yaw;
    c.instance.Phase = 1;
    c.instance.PcTime = FrameTime;
}

void Run(CommandContext& c, MovingBlocStuff& mb) {
    MoveCollided(c.level, mb, FrameStepScale(mb.VelocityX), FrameStepScale(mb.VelocityY),
                 FrameStepScale(mb.VelocityZ));
    if (MoveShare(mb.StartTime, mb.Duration) >= 1.0) {
        mb.VelocityX = mb.VelocityY = mb.VelocityZ = 0;
        c.instance.Phase = 0;
        Advance(c);
    }
    const float fall = std::isfinite(mb.TargetY) ? mb.TargetY : 0.0f;
    mb.VelocityY = FiniteOrZero(double{mb.VelocityY} - FrameStepScale(kRunGravity * fall));
}

// ---- SHOOTPLAYER ----

// How far from the shooter's position a shot of type `shot` starts: clear of
// both bodies.
double ShotDistance(const BlocStuff* own, const BlocStuff& shot) {
    int64_t a = 0;
    if (own != nullptr) {
        a = std::max({Extent(own->Xmin, own->Xmax), Extent(own->Ymin, own->Ymax1),
                      Extent(own->Zmin, own->Zmax)});
    }
    const double b =
        static_cast<double>(Extent(shot.Xmin, shot.Xmax) + Extent(shot.Ymin, shot.Ymax1) +
                            Extent(shot.Zmin, shot.Zmax)) /
        3.0;
    return (static_cast<double>(a) + b) * kShotClearance;
}

void Shoot(CommandContext& c, MovingBlocStuff& mb, const HeroStuff& h) {
    float yaw = 0, pitch = 0;
    DirectionAngles(yaw, pitch, mb.X, mb.Y, mb.Z, h.X, h.Y, h.Z);
    mb.Angle = yaw;
    const BlocStuff* shot = BlocRecord(c.level, c.command.Param1);
    if (shot == nullptr) return;
    const double r = ShotDistance(BlocRecord(c.level, mb.BlocType), *shot);
    const int64_t y = G3DRound64(yaw), p = G3DRound64(pitch);
    const double x0 = mb.X + double{G3DSin(y)} * G3DCos(p) * r;
    const double y0 = mb.Y + double{G3DSin(p)} * r;
    const double z0 = mb.Z + double{G3DCos(y)} * G3DCos(p) * r;
    FireProjectile(c.command.Param1, static_cast<float>(x0), static_cast<float>(y0),
                   static_cast<float>(z0), yaw, pitch);
}

}  // namespace

void DoMoveTo(CommandContext& c) {
    MovingBlocStuff* mb = OwnedBloc(c.level, c.instance);
    if (mb == nullptr) return Advance(c);
    if (c.instance.Phase != 0) return Glide(c, *mb);
    const BehaviourStuff& b = c.instance;
    const CommandStuff& k = c.command;
    StartGlide(c, *mb, CellCentreOf(int64_t{b.CellX} + k.Param1),
               CellCentreOf(int64_t{b.CellY} + k.Param2), CellCentreOf(int64_t{b.CellZ} + k.Param3),
               double{mb->Angle} + k.Param4);
}

void DoMoveToAbsolute(CommandContext& c) {
    MovingBlocStuff* mb = OwnedBloc(c.level, c.instance);
    if (mb == nullptr) return Advance(c);
    if (c.instance.Phase != 0) return Glide(c, *mb);
    const CommandStuff& k = c.command;
    StartGlide(c, *mb, CellCentreOf(k.Param1), CellCentreOf(k.Param2), CellCentreOf(k.Param3),
               k.Param4);
}

void DoMoveNearPlayer(CommandContext& c) {
    MovingBlocStuff* mb = OwnedBloc(c.level, c.instance);
    if (mb == nullptr) return Advance(c);
    if (c.instance.Phase != 0) return Run(c, *mb);
    const HeroStuff* h = ScriptHero();
    if (h == nullptr) return Advance(c);
    StartRun(c, *mb, *h);
}

void DoMoveUntilBlocked(CommandContext& c) {
    MovingBlocStuff* mb = OwnedBloc(c.level, c.instance);
    if (mb == nullptr) return Advance(c);
    const float x = mb->X, y = mb->Y, z = mb->Z;
    mb->VelocityX = FrameStepScale(static_cast<float>(c.command.Param1));
    mb->VelocityY = FrameStepScale(static_cast<float>(c.command.Param2));
    mb->VelocityZ = FrameStepScale(static_cast<float>(c.command.Param3));
    MoveCollided(c.level, *mb, mb->VelocityX, mb->VelocityY, mb->VelocityZ);
    // Held back on an axis: it moved less than a fifth of its velocity there.
    const auto held = [](float now, float old, float v) {
        return v != 0 && std::fabs(double{now} - old) < std::fabs(double{v}) / 5.0;
    };
    if (held(mb->X, x, mb->VelocityX) || held(mb->Y, y, mb->VelocityY) ||
        held(mb->Z, z, mb->VelocityZ)) {
        mb->VelocityX = mb->VelocityY = mb->VelocityZ = 0;
        Advance(c);
    }
}

void DoShootPlayer(CommandContext& c) {
    MovingBlocStuff* mb = OwnedBloc(c.level, c.instance);
    const HeroStuff* h = ScriptHero();
    if (mb != nullptr && h != nullptr) Shoot(c, *mb, *h);
    Advance(c);
}

void DoTransformTo(CommandContext& c) {
    MovingBlocStuff* mb = OwnedBloc(c.level, c.instance);
    const int32_t type = c.command.Param1;
    if (mb != nullptr && IsBlocType(type)) {
        if (BlocStuff* old = BlocRecord(c.level, mb->BlocType)) --old->InstanceCount;
        mb->BlocType = static_cast<uint16_t>(type);
        ++c.level.Blocs[type].InstanceCount;
    }
    Advance(c);
}
