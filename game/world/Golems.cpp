#include "game/world/Golems.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/G3DAngles.h"
#include "engine/G3DMesh.h"
#include "engine/G3DState.h"
#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocShapes.h"
#include "game/world/Collision.h"
#include "game/world/HeroInteraction.h"
#include "game/world/LineOfSight.h"
#include "support/Random.h"
#include "support/Snd.h"

namespace {

constexpr int32_t kSightSoundLevel = 255;
constexpr int32_t kSoundLevel = 254;
// Least time between two sight sounds of a golem (ms).
constexpr int64_t kSightSoundGap = 1000;
// A golem sees what lies within a sixth of a turn of its heading.
constexpr float kSightCosine = 0.5f;
// Fall acceleration of a golem, per 90 ms.
constexpr float kGolemGravity = 14.0f;
// Frames of the walk and block animations.
constexpr float kAnimFrames = 4.0f;

struct CellPos {
    int32_t x, y, z;
};

CellPos CellAt(float x, float y, float z) {
    return {CellOfCoordinate(x), CellOfCoordinate(y), CellOfCoordinate(z)};
}

// The bloc type of a golem, or nullptr when its type number names none.
const BlocStuff* TypeOf(const GolemStuff& g) {
    return IsBlocType(g.GolemBloc) ? &Level.Blocs[g.GolemBloc] : nullptr;
}

void PlayAt(float x, float y, float z, int32_t level, TSoundBuffer* sound) {
    PlaySound3D(G3DTrunc32(x), G3DTrunc32(y), G3DTrunc32(z), level, sound, DStuff);
}

int64_t SinceLastSound(const GolemStuff& g) { return int64_t{FrameTime} - g.LastSoundTime; }

double Squared(double v) { return v * v; }

// Trunc of a non-negative real into 64 bits, saturating; NaN gives the largest value.
int64_t TruncScore(double v) {
    if (!(v < 9.2e18)) return INT64_MAX;
    return static_cast<int64_t>(v);
}

bool Sees(const GolemStuff& g, int32_t cx, int32_t cy, int32_t cz) {
    const CellPos own = CellAt(g.X, g.Y, g.Z);
    if (own.x == cx && own.y == cy && own.z == cz) return true;
    // The view cone first: it is cheaper than the grid walk and leaves most cells out.
    float yaw = 0, pitch = 0;
    DirectionAngles(yaw, pitch, g.X, g.Y, g.Z, CellCentre(cx), CellCentre(cy), CellCentre(cz));
    if (!(G3DCos(G3DRound64(double{yaw} + g.Heading)) >= kSightCosine)) return false;
    return CellVisibleFrom(G3DTrunc32(g.X), G3DTrunc32(g.Y), G3DTrunc32(g.Z), cx, cy, cz);
}

// Turns the golem at once towards (x, y, z) and holds it there.
void Face(GolemStuff& g, float x, float y, float z) {
    float yaw = 0, pitch = 0;
    DirectionAngles(yaw, pitch, g.X, g.Y, g.Z, x, y, z);
    g.Heading = -yaw;
    g.Pitch = pitch;
    g.WantedHeading = g.Heading;
    g.WantedPitch = g.Pitch;
}

void AimAt(GolemStuff& g, float x, float y, float z) {
    g.TargetX = x;
    g.TargetY = y;
    g.TargetZ = z;
}

void StayHere(GolemStuff& g) { AimAt(g, g.X, g.Y, g.Z); }

// The hero a golem follows, or nullptr when its number names none.
const HeroStuff* TargetHeroOf(const GolemStuff& g) {
    return g.TargetHero >= 0 && g.TargetHero < kHeroCount ? &Heroes[g.TargetHero] : nullptr;
}

// ---- Thinking ----

// Step 1: every hero in turn, each acting on the state the previous one left.
void LookForHeroes(GolemStuff& g, const GolemTypeStuff& t) {
    const int32_t last = std::min(LastHero, kHeroCount - 1);
    for (int32_t h = 0; h <= last; ++h) {
        const HeroStuff& hero = Heroes[h];
        const CellPos cell = CellAt(hero.X, hero.Y, hero.Z);
        if (Sees(g, cell.x, cell.y, cell.z)) {
            if (g.State != kGolemFollow && g.OutOfSight != 0 &&
                SinceLastSound(g) > kSightSoundGap) {
                g.OutOfSight = 0;
                g.LastSoundTime = FrameTime;
                PlayAt(g.X, g.Y, g.Z, kSightSoundLevel, t.SeenSound);
                g.TargetHero = h;
            }
            g.State = kGolemFollow;
        } else if (g.State == kGolemFollow) {
            if (g.OutOfSight != 1 && SinceLastSound(g) > kSightSoundGap) {
                g.OutOfSight = 1;
                g.LastSoundTime = FrameTime;
                PlayAt(g.X, g.Y, g.Z, kSightSoundLevel, t.LostSound);
            }
            g.State = kGolemLost;
        }
    }
}

// Step 2: a followed hero too near or too far stops the golem, facing it.
void KeepFollowingDistance(GolemStuff& g, const GolemTypeStuff& t) {
    const HeroStuff* hero = TargetHeroOf(g);
    if (hero == nullptr) {
        g.State = kGolemLost;
        StayHere(g);
        return;
    }
    const double d2 = Squared(double{hero->X} - g.X) + Squared(double{hero->Y} - g.Y) +
                      Squared(double{hero->Z} - g.Z);
    if (d2 < Squared(t.FollowingDistance) || d2 > Squared(t.FollowingDistanceMax)) {
        g.State = kGolemLost;
        Face(g, hero->X, hero->Y, hero->Z);
        StayHere(g);
    }
}

void Follow(GolemStuff& g) {
    const HeroStuff* hero = TargetHeroOf(g);
    if (hero == nullptr) return;
    AimAt(g, hero->X, hero->Y, hero->Z);
    Face(g, hero->X, hero->Y, hero->Z);
}

// The inclusive range of cells centre - r .. centre + r that lies in 0..size-1.
struct CellRange {
    int32_t first, last;
};
CellRange Clipped(int32_t centre, int64_t r, int32_t size) {
    const int64_t first = std::max<int64_t>(int64_t{centre} - r, 0);
    const int64_t last = std::min<int64_t>(int64_t{centre} + r, int64_t{size} - 1);
    if (last < first) return {0, -1};
    return {static_cast<int32_t>(first), static_cast<int32_t>(last)};
}

// True when the bloc type of cell (x, y, z) is an exit; `defined` asks for a
// defined type too.
bool IsExitCell(int32_t x, int32_t y, int32_t z, bool defined) {
    const int32_t type = GetCellType(x, y, z);
    if (!IsBlocType(type)) return false;
    const BlocStuff& b = Level.Blocs[type];
    return b.Exit != 0 && (!defined || b.Undefined == 0);
}

// The exit cell of the grid nearest to the golem's position (measured to the
// cell's low corner) within Trunc(FollowingDistanceMax / 256) cells of its
// cell on each axis; the first in x, y, z order among equals. False for none.
bool NearestExit(const GolemStuff& g, const GolemTypeStuff& t, CellPos& found) {
    const int64_t r = t.FollowingDistanceMax / 256;
    const double reach = 2.0 * t.FollowingDistanceMax;
    int64_t best = TruncScore(reach * reach * 3);
    bool any = false;
    const CellRange xs = Clipped(g.CellX, r, Level.SizeX);
    const CellRange ys = Clipped(g.CellY, r, Level.SizeY);
    const CellRange zs = Clipped(g.CellZ, r, Level.SizeZ);
    for (int32_t x = xs.first; x <= xs.last; ++x) {
        const double dx2 = Squared(double{g.X} - x * 512.0);
        for (int32_t y = ys.first; y <= ys.last; ++y) {
            const double dxy2 = dx2 + Squared(double{g.Y} - y * 512.0);
            for (int32_t z = zs.first; z <= zs.last; ++z) {
                if (!IsExitCell(x, y, z, true)) continue;
                const int64_t d = TruncScore(dxy2 + Squared(double{g.Z} - z * 512.0));
                if (d < best) {
                    best = d;
                    found = {x, y, z};
                    any = true;
                }
            }
        }
    }
    return any;
}

void LieDown(GolemStuff& g, const GolemTypeStuff& t) {
    CellPos exit{};
    if (!NearestExit(g, t, exit)) {
        g.State = kGolemTurn;
        return;
    }
    AimAt(g, CellCentre(exit.x), CellCentre(exit.y), CellCentre(exit.z));
    Face(g, g.TargetX, g.TargetY, g.TargetZ);
    g.State = kGolemGoToExit;
    if (CurrentHero >= 0 && CurrentHero < kHeroCount) {
        const HeroStuff& hero = Heroes[CurrentHero];
        PlayAt(hero.X, hero.Y, hero.Z, kSoundLevel, hero.GolemCoucoucheSound);
    }
}

// A golem that has come to rest or against something picks a random cell of
// the grid to walk to.
void Wander(GolemStuff& g) {
    if (!(std::fabs(g.Speed) < 10) && g.Blocked == 0) return;
    g.TargetX = static_cast<float>(Random(Level.SizeX) * 512.0);
    g.TargetY = static_cast<float>(Random(Level.SizeY) * 512.0);
    g.TargetZ = static_cast<float>(Random(Level.SizeZ) * 512.0);
    g.WantedHeading += static_cast<float>(Random(10000) - 5000);
    g.State = kGolemLost;
}

// Step 3.
void StepState(GolemStuff& g, const GolemTypeStuff& t) {
    switch (g.State) {
        case kGolemFollow:
            Follow(g);
            break;
        case kGolemLost:
            g.State = Random(1) + kGolemTurn;
            break;
        case kGolemTurn:
            g.WantedHeading += FrameStepScale(static_cast<float>(t.GolemRotationSpeed));
            StayHere(g);
            break;
        case kGolemWander:
            Wander(g);
            break;
        case kGolemBlocked:
            g.BlockedTime = G3DClamp32(int64_t{g.BlockedTime} - FrameStep);
            if (g.BlockedTime < 0) g.State = kGolemFollow;
            break;
        case kGolemLieDown:
            LieDown(g, t);
            break;
        case kGolemGoToExit:
            if (IsExitCell(g.CellX, g.CellY, g.CellZ, false)) g.State = kGolemRest;
            break;
        case kGolemRest:
            StayHere(g);
            break;
        default:
            break;
    }
}

bool IgnoresSight(int32_t state) { return state >= kGolemBlocked && state <= kGolemRest; }

void Think(GolemStuff& g, const GolemTypeStuff& t) {
    if (!IgnoresSight(g.State)) LookForHeroes(g, t);
    if (g.State == kGolemFollow) KeepFollowingDistance(g, t);
    StepState(g, t);
}

// ---- Overlap between golems ----

// The golems already moved this frame, hashed by their place on the ground
// in squares twice as wide as the widest overlap distance, so that the
// overlap test of a golem looks only at the golems of the two-by-two squares
// its reach touches rather than at all earlier ones. The answer is the same
// as testing every earlier golem.
class MovedGolems {
  public:
    // Starts a frame with the square size taken from the golem types in `golems`.
    void Begin(const GolemList& golems) {
        heads_.fill(0);
        int32_t widest = 1;
        for (const GolemStuff& g : golems) {
            if (const BlocStuff* b = TypeOf(g)) widest = std::max({widest, b->ExtentX, b->ExtentZ});
        }
        // The reach of a golem is below the widest extent; the margin keeps
        // rounding from losing a neighbour.
        reach_ = widest * 1.000001 + 1.0;
        square_ = 2 * reach_ * 1.000001 + 1.0;
    }

    // Adds golem `index` at its present position.
    void Add(const GolemList& golems, int32_t index) {
        const GolemStuff& g = golems[index];
        if (!Placed(g)) return;  // a position that overlaps nothing
        const size_t slot = Slot(Square(g.X), Square(g.Z));
        next_[static_cast<size_t>(index)] = heads_[slot];
        heads_[slot] = index;
    }

    // True when golem `index`, of bloc type `b`, overlaps an added golem.
    bool Overlaps(const GolemList& golems, int32_t index, const BlocStuff& b) const {
        const GolemStuff& g = golems[index];
        if (!Placed(g)) return false;
        std::array<int64_t, 2> xs{}, zs{};
        const int32_t nx = Squares(g.X, xs), nz = Squares(g.Z, zs);
        for (int32_t i = 0; i < nx; ++i) {
            for (int32_t k = 0; k < nz; ++k) {
                const size_t slot = Slot(xs[i], zs[k]);
                for (int32_t j = heads_[slot]; j != 0; j = next_[static_cast<size_t>(j)]) {
                    if (Meet(g, b, golems[j])) return true;
                }
            }
        }
        return false;
    }

  private:
    static constexpr size_t kSlots = 4096;  // a power of two, twice the golems

    static bool Meet(const GolemStuff& g, const BlocStuff& b, const GolemStuff& other) {
        const BlocStuff* o = TypeOf(other);
        if (o == nullptr) return false;
        const auto reach = [](int32_t a, int32_t c) {
            return (static_cast<double>(a) + static_cast<double>(c)) / 2;
        };
        return std::fabs(double{g.X} - other.X) < reach(b.ExtentX, o->ExtentX) &&
               std::fabs(double{g.Y} - other.Y) < reach(b.ExtentY, o->ExtentY) &&
               std::fabs(double{g.Z} - other.Z) < reach(b.ExtentZ, o->ExtentZ);
    }

    static bool Placed(const GolemStuff& g) {
        return std::isfinite(g.X) && std::isfinite(g.Y) && std::isfinite(g.Z);
    }

    // Far squares share the end ones: more candidates, the same answer.
    int64_t Square(double w) const {
        return static_cast<int64_t>(std::clamp(std::floor(w / square_), -4.0e18, 4.0e18));
    }

    // The squares that a golem at w can meet another in: its own and, when it
    // lies within reach of one of its edges, the one beyond.
    int32_t Squares(double w, std::array<int64_t, 2>& squares) const {
        squares[0] = Square(w);
        const int64_t low = Square(w - reach_), high = Square(w + reach_);
        if (low != squares[0]) {
            squares[1] = low;
            return 2;
        }
        if (high != squares[0]) {
            squares[1] = high;
            return 2;
        }
        return 1;
    }

    static size_t Slot(int64_t x, int64_t z) {
        uint64_t h = static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15u;
        h ^= static_cast<uint64_t>(z) * 0xC2B2AE3D27D4EB4Fu;
        return static_cast<size_t>((h ^ (h >> 29)) & (kSlots - 1));
    }

    double reach_ = 1, square_ = 2;
    std::array<int32_t, kSlots> heads_{};  // first golem of a slot, 0 for none
    std::array<int32_t, kMaxGolems + 1> next_{};
};

MovedGolems Moved;

// ---- Moving ----

// The walk or block phase after adding `advance`, in 0..4.
float WrapPhase(float phase) {
    if (!std::isfinite(phase)) return 0;
    float wrapped = std::fmod(phase, kAnimFrames);
    if (wrapped < 0) wrapped += kAnimFrames;
    return wrapped < kAnimFrames ? wrapped : 0;
}

// Advances a four-frame animation by `speed` / 100 frames per 90 ms and
// morphs the golem's mesh between its two frames; a footstep when the frame
// number changes to 1 or 3.
void Stride(GolemStuff& g, int32_t speed, const std::array<TG3DMesh*, 4>& frames,
            TSoundBuffer* step) {
    const int32_t before = G3DTrunc32(g.AnimPhase);
    g.AnimPhase = WrapPhase(g.AnimPhase + FrameStepScale(static_cast<float>(speed / 100.0)));
    const int32_t f = std::clamp(G3DTrunc32(g.AnimPhase), 0, 3);
    if (step != nullptr && f != before && (f == 1 || f == 3)) {
        PlayAt(g.X, g.Y, g.Z, kSoundLevel, step);
    }
    const int32_t n = f + 1 > 3 ? 0 : f + 1;
    G3DInterpolateMesh(frames[f], frames[n], g.GolemMesh, g.AnimPhase - static_cast<float>(f));
}

void Animate(GolemStuff& g, const GolemTypeStuff& t) {
    if (g.State == kGolemFollow || g.State == kGolemGoToExit) {
        Stride(g, t.WalkAnimSpeed, {t.MeshWalk1, t.MeshWalk2, t.MeshWalk3, t.MeshWalk4},
               t.WalkSound);
    } else if (g.State == kGolemBlocked) {
        Stride(g, t.BlockAnimSpeed, {t.MeshBlock1, t.MeshBlock2, t.MeshBlock3, t.MeshBlock4},
               nullptr);
    } else {
        G3DInterpolateMesh(t.MeshStand, t.MeshStand, g.GolemMesh, 1.0f);
    }
}

// Steps 6 to 9: the collision move of the golem's box by the step (dx, dy, dz).
void Walk(GolemStuff& g, const BlocStuff& b, float dx, float dy, float dz) {
    const GolemTypeStuff& t = b.GolemType;
    g.Speed = std::max(std::fabs(dx), std::fabs(dz)) + 1.0f;
    const float sx = FrameStepScale(static_cast<float>(double{dx} * t.GolemSpeed / g.Speed));
    const float sz = FrameStepScale(static_cast<float>(double{dz} * t.GolemSpeed / g.Speed));
    const float oldX = g.X, oldY = g.Y, oldZ = g.Z;
    // The body's box is centred on the middle of its bounds, not on the golem.
    const auto shiftX = static_cast<float>(-BoxCentreShift(b.Xmin, b.Xmax));
    const auto shiftZ = static_cast<float>(-BoxCentreShift(b.Zmin, b.Zmax));
    g.X += shiftX;
    g.Z += shiftZ;
    MoveWithCollision(g.X, g.Y, g.Z, sx, dy, sz, b.ExtentX, G3DClamp32(int64_t{b.ExtentY} * 2),
                      b.ExtentY);
    g.X -= shiftX;
    g.Z -= shiftZ;
    if (std::fabs(g.Y - oldY) < std::fabs(dy) / 10) g.VerticalSpeed = 0;
    const double moved =
        Squared(double{g.X} - oldX) + Squared(double{g.Y} - oldY) + Squared(double{g.Z} - oldZ);
    g.Blocked = Squared(g.Speed) / 100 > moved ? 1 : 0;
}

void Move(const GolemList& golems, int32_t index, GolemStuff& g, const BlocStuff& b) {
    const CellPos cell = CellAt(g.X, g.Y, g.Z);
    g.CellX = cell.x;
    g.CellY = cell.y;
    g.CellZ = cell.z;
    g.Heading += FrameStepScale((g.WantedHeading - g.Heading) / 5.0f);
    g.Pitch += FrameStepScale((g.WantedPitch - g.Pitch) / 5.0f);
    g.VerticalSpeed -= FrameStepScale(kGolemGravity);
    // Golems steer only across: the target's height does not count.
    float dx = (g.TargetX - g.X) / 5.0f;
    float dz = (g.TargetZ - g.Z) / 5.0f;
    float dy = g.VerticalSpeed;
    if (Moved.Overlaps(golems, index, b)) {
        g.State = kGolemLost;
        dx = dy = dz = 0;
    }
    Walk(g, b, dx, dy, dz);
    Animate(g, b.GolemType);
}

}  // namespace

bool GolemSeesCell(int32_t golem, int32_t cx, int32_t cy, int32_t cz) {
    if (!Level.Golems.Valid(golem)) return false;
    return Sees(Level.Golems[golem], cx, cy, cz);
}

void ThinkGolems(LevelStuff& level) {
    for (GolemStuff& g : level.Golems) {
        if (const BlocStuff* b = TypeOf(g)) Think(g, b->GolemType);
    }
}

void MoveGolems(LevelStuff& level) {
    // Nothing here changes the grid or reads the cube faces: the cell shapes
    // worked out for one golem's move serve the next ones.
    const ShapeQueryRun run;
    GolemList& golems = level.Golems;
    Moved.Begin(golems);
    for (int32_t i = 1; i <= golems.Count(); ++i) {
        GolemStuff& g = golems[i];
        const BlocStuff* b = TypeOf(g);
        if (b == nullptr) continue;
        Move(golems, i, g, *b);
        Moved.Add(golems, i);
    }
}
