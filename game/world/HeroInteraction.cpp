#include "game/world/HeroInteraction.h"

#include <algorithm>
#include <cmath>

#include "engine/G3DAngles.h"
#include "engine/G3DMesh.h"
#include "engine/G3DState.h"
#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocDynamics.h"
#include "game/world/Collision.h"
#include "game/world/Golems.h"
#include "support/Snd.h"

PlayerActivationStuff PlayerActivation;

namespace {

constexpr int32_t kSoundLevel = 254;
// Vertical speed a spring gives, per 90 ms.
constexpr float kSpringSpeed = 435.2f;
// How long a dug cell stays empty before it may fill again (ms).
constexpr int32_t kDugCellDuration = 10000;
// A push moves the bloc only when the hero's aim measure exceeds this.
constexpr double kPushAim = 0.6;

// The animation an action asks of the hero: target, blend (ms), action lock (ms).
struct AnimationRequest {
    int32_t anim, blend, lock;
};
constexpr AnimationRequest kLieDownRequest{13, 100, 200};
constexpr AnimationRequest kStopRequest{12, 100, 200};
constexpr AnimationRequest kDigRequest{10, 250, 500};
constexpr AnimationRequest kPushRequest{10, 100, 500};
constexpr AnimationRequest kLeverRequest{10, 100, 300};
constexpr AnimationRequest kDoorRequest{10, 100, 300};

void Request(HeroStuff& h, const AnimationRequest& r) {
    h.TargetAnim = r.anim;
    h.BlendDuration = r.blend;
    h.ActionLock = r.lock;
}

HeroStuff* HeroAt(int32_t index) {
    return index >= 0 && index < kHeroCount ? &Heroes[index] : nullptr;
}

int32_t Rounded(float w) { return G3DClamp32(G3DRound64(w)); }

struct CellPos {
    int32_t x, y, z;
    bool operator==(const CellPos&) const = default;
};

CellPos CellAt(float x, float y, float z) {
    return {CellOfCoordinate(x), CellOfCoordinate(y), CellOfCoordinate(z)};
}

// ---- Touch effects ----

void PlayTouchSound(const HeroStuff& h, const BlocStuff& b) {
    PlaySound3D(Rounded(h.X), Rounded(h.Y), Rounded(h.Z), b.ActionVolume, b.ActionSoundBuffer,
                DStuff);
}

// Puts a pick-up of bloc type `type` into the hero's inventory: ammunition
// for its bullet type, which becomes the weapon, anything else for itself,
// which becomes the selected item. Ammunition naming no bloc type adds nothing.
void TakePickUp(HeroStuff& h, const BlocStuff& b, int32_t type) {
    int32_t held = type;
    if (b.Ammo != 0) {
        if (!IsBlocType(b.AmmoBullet)) return;
        held = b.AmmoBullet;
        h.Weapon = held;
    } else {
        h.SelectedObject = held;
    }
    h.Inventory[held] = G3DClamp32(int64_t{h.Inventory[held]} + b.Quantity);
}

// The effects of touching bloc type `type`, in order; remove() takes the
// touched bloc away.
template <typename Remove>
void ApplyTouch(HeroStuff& h, int32_t type, Remove&& remove) {
    if (!IsBlocType(type)) return;
    const BlocStuff& b = Level.Blocs[type];
    h.VerticalSpeed -= FrameStepScale(static_cast<float>(b.G));
    if (b.GameEnd != 0) GameWon = 1;
    if (b.SaveReload != 0) {
        PlayTouchSound(h, b);
        remove();
        const int64_t saves = int64_t{h.SavesLeft} + b.SaveReload;
        h.SavesLeft = static_cast<int32_t>(std::clamp<int64_t>(saves, 0, kUnlimitedSaves));
    }
    if (b.Timer != 0) {
        PlayTouchSound(h, b);
        remove();
        h.TimerOn = 1;
        h.TimerValue = G3DClamp32(int64_t{h.TimerValue} + b.TimerDuration);
        if (h.TimerValue > 0) h.TimerExpired = 0;
    }
    if (b.Spring != 0) {
        PlayTouchSound(h, b);
        h.VerticalSpeed = kSpringSpeed;
    }
    if (b.Medikit != 0 && b.CanGet == 0) {
        PlayTouchSound(h, b);
        remove();
        h.Life += static_cast<float>(b.MedikitHealth);
    }
    if (b.CanGet != 0) {
        PlayTouchSound(h, b);
        TakePickUp(h, b, type);
        remove();
    }
}

bool HeroOverlapsMovingBloc(const HeroStuff& h, const MovingBlocStuff& row, const BlocStuff& b) {
    const float width = static_cast<float>(h.HeroWidth);
    const float height = static_cast<float>(h.HeroHeight);
    const auto size = [](int32_t lo, int32_t hi) { return static_cast<float>(int64_t{hi} - lo); };
    const auto start = [](float centre, int32_t lo) {
        return static_cast<float>(double{centre} + lo - 256);
    };
    return BoxesOverlap(h.X - width / 2, h.Y - height / 2, h.Z - width / 2, width, height, width,
                        start(row.X, b.Xmin), start(row.Y, b.Ymin), start(row.Z, b.Zmin),
                        size(b.Xmin, b.Xmax), size(b.Ymin, b.Ymax1), size(b.Zmin, b.Zmax));
}

// A moving bloc taken by the hero stays in its list as type 0.
void RemoveTouchedMovingBloc(MovingBlocStuff& row) {
    if (IsBlocType(row.BlocType)) {
        BlocStuff& b = Level.Blocs[row.BlocType];
        b.InstanceCount = G3DClamp32(int64_t{b.InstanceCount} - 1);
    }
    BlocStuff& empty = Level.Blocs[0];
    empty.InstanceCount = G3DClamp32(int64_t{empty.InstanceCount} + 1);
    row.BlocType = 0;
}

void TouchMovingBlocs(HeroStuff& h) {
    for (int32_t i = 0; i <= Level.MovingBlocHigh(); ++i) {
        MovingBlocStuff& row = Level.MovingBlocs[i];
        if (!IsBlocType(row.BlocType)) continue;
        if (!HeroOverlapsMovingBloc(h, row, Level.Blocs[row.BlocType])) continue;
        ApplyTouch(h, row.BlocType, [&row] { RemoveTouchedMovingBloc(row); });
    }
}

void TouchCell(HeroStuff& h) {
    const CellPos c = CellAt(h.X, h.Y, h.Z);
    ApplyTouch(h, GetCellType(c.x, c.y, c.z), [c] { SetCellType(c.x, c.y, c.z, 0); });
}

// ---- Golems ----

// The golem the hero's golem actions apply to, 0 for none: the last one in
// the cell in front of the hero (at its height), else the first one in the
// hero's own cell (one lying down or resting there is spared when
// `spareLyingDown`). Stopped golems are never chosen.
int32_t ChosenGolem(const HeroStuff& h, bool spareLyingDown) {
    const CellPos front{h.TargetCellX, G3DClamp32(int64_t{h.TargetCellY} + 1), h.TargetCellZ};
    const CellPos own = CellAt(h.X, h.Y, h.Z);
    int32_t chosen = 0;
    for (int32_t i = 1; i <= Level.GolemCount(); ++i) {
        const GolemStuff& g = Level.Golems[i];
        if (g.State == kGolemBlocked) continue;
        const CellPos at = CellAt(g.X, g.Y, g.Z);
        const bool lyingDown = g.State >= kGolemLieDown && g.State <= kGolemRest;
        if (at == front) {
            chosen = i;
        } else if (chosen == 0 && at == own && !(spareLyingDown && lyingDown)) {
            chosen = i;
        }
    }
    return chosen;
}

void StopGolem(GolemStuff& g, HeroStuff& h) {
    static const GolemTypeStuff kUntyped;
    const GolemTypeStuff& type =
        IsBlocType(g.GolemBloc) ? Level.Blocs[g.GolemBloc].GolemType : kUntyped;
    g.State = kGolemBlocked;
    g.TargetX = g.X;
    g.TargetY = g.Y;
    g.TargetZ = g.Z;
    g.WantedHeading = g.Heading;
    g.BlockedTime = type.BlockedDuration;
    PlaySound3D(G3DTrunc32(g.X), G3DTrunc32(g.Y), G3DTrunc32(g.Z), kSoundLevel, type.BlockSound,
                DStuff);
    PlaySound3D(G3DTrunc32(h.X), G3DTrunc32(h.Y), G3DTrunc32(h.Z), kSoundLevel, h.GolemStopSound,
                DStuff);
    Request(h, kStopRequest);
}

// ---- Actions on the cell ----

// Pushes the bloc of cell (cx, cy, cz) when the hero's aim measure allows it.
void Push(HeroStuff& h, int32_t cx, int32_t cy, int32_t cz) {
    const double w = static_cast<double>(int64_t{cx} * 512 + 256) - h.X;
    const double v = static_cast<double>(int64_t{cz} * 512 + 256) - h.Z;
    const double d = std::sqrt(w * w + v * v);
    const int64_t yaw = G3DRound64(h.Yaw);
    const double e = d > 0 ? G3DCos(yaw) * v / d - G3DSin(yaw) * w / d : 0.0;
    if (!(std::fabs(e) > kPushAim)) return;
    PushBloc(cx, cy, cz, G3DClamp32(yaw));
    Request(h, kPushRequest);
    h.SpeedX = 0;
    h.SpeedZ = 0;
}

// Opens the door of cell (cx, cy, cz) when the hero has its key selected and
// holds enough of it. True when it opened.
bool OpenWithKey(HeroStuff& h, const BlocStuff& door, int32_t cx, int32_t cy, int32_t cz) {
    const int32_t key = door.DoorKey;
    if (!IsBlocType(key) || h.SelectedObject != key) return false;
    if (h.Inventory[key] < door.DoorKeyRemoveAmount) return false;
    AddTileAnimation(cx, cy, cz, door.AnimDoor, door.DoorOpen);
    Request(h, kDoorRequest);
    h.Inventory[key] = G3DClamp32(int64_t{h.Inventory[key]} - door.DoorKeyRemoveAmount);
    return true;
}

// Everything the bloc type of cell (cx, cy, cz) lets the hero do there.
bool ActOnCell(HeroStuff& h, int32_t cx, int32_t cy, int32_t cz) {
    const int32_t type = GetCellType(cx, cy, cz);
    if (!IsBlocType(type) || Level.Blocs[type].Undefined != 0) return false;
    const BlocStuff& b = Level.Blocs[type];
    bool acted = false;
    if (b.Dig != 0) {
        DigCell(cx, cy, cz, kDugCellDuration);
        Request(h, kDigRequest);
        acted = true;
    }
    if (b.CanPush != 0 && std::fabs(double{h.Y} - int64_t{cy} * 512.0) < h.HeroHeight) {
        acted = true;
        Push(h, cx, cy, cz);
    }
    if (b.Lever != 0) {
        OperateLever(cx, cy, cz);
        Request(h, kLeverRequest);
        acted = true;
    }
    if (b.Door != 0 && OpenWithKey(h, b, cx, cy, cz)) acted = true;
    return acted;
}

// The value of pi the direction angles are computed with.
constexpr double kDirectionPi = 3.14159;
constexpr double kQuarterTurn = 1.570795;

// Radians to engine units, 0..32768.
float EngineAngle(double radians) {
    double a = radians * 16384.0 / kDirectionPi;
    if (a < 0) a += 32768.0;
    return static_cast<float>(a);
}

// The key mesh of animation `anim`; none for a number outside the slots.
const TG3DMesh* AnimMesh(const HeroStuff& hero, int32_t anim) {
    return anim >= 0 && anim < kHeroAnimCount ? hero.AnimMeshes[anim] : nullptr;
}

void BlendHeroPose(HeroStuff& hero) {
    if (hero.PreviousTargetAnim != hero.TargetAnim) {
        hero.BlendStart = FrameTime;
        hero.CurrentAnim = hero.PreviousTargetAnim;
    }
    hero.PreviousTargetAnim = hero.TargetAnim;
    float t = 1.0f;
    if (hero.BlendDuration > 0) {
        // A blend start after the frame (a clock set back) holds the pose at its start.
        const double elapsed = static_cast<double>(int64_t{FrameTime} - hero.BlendStart);
        t = static_cast<float>(std::max(0.0, elapsed / hero.BlendDuration));
    }
    G3DInterpolateMesh(AnimMesh(hero, hero.CurrentAnim), AnimMesh(hero, hero.TargetAnim),
                       hero.HeroMesh, t);
    if (t >= 1.0f) {
        hero.CurrentAnim = hero.TargetAnim;
        hero.BlendStart = FrameTime;
    }
}

}  // namespace

void DirectionAngles(float& yaw, float& pitch, float fromX, float fromY, float fromZ, float toX,
                     float toY, float toZ) {
    const double dx = static_cast<double>(toX) - fromX;
    const double dy = static_cast<double>(toY) - fromY;
    const double dz = static_cast<double>(toZ) - fromZ;
    double y = dx < 0 ? -kQuarterTurn : kQuarterTurn;
    if (std::fabs(dz) > 0) {
        y = std::atan(dx / dz);
        if (dz < 0) y += kDirectionPi;
    }
    const double h = std::sqrt(dx * dx + dz * dz);
    const double p = h > 0 ? std::atan(dy / h) : kQuarterTurn;
    yaw = EngineAngle(y);
    pitch = EngineAngle(p);
    // Points that are not numbers have no direction: the answer for a point
    // seen from itself, so that no NaN reaches the angles kept and saved.
    if (std::isnan(yaw)) yaw = EngineAngle(kQuarterTurn);
    if (std::isnan(pitch)) pitch = EngineAngle(kQuarterTurn);
}

void BlendHeroPoses() {
    const int32_t last = std::min(LastHero, kHeroCount - 1);
    for (int32_t i = 0; i <= last; ++i) BlendHeroPose(Heroes[i]);
}

void HeroTouchEffects(int32_t hero) {
    HeroStuff* h = HeroAt(hero);
    if (h == nullptr) return;
    if (HeroStuff* current = HeroAt(CurrentHero)) TouchMovingBlocs(*current);
    TouchCell(*h);
}

bool HeroAction(int32_t cx, int32_t cy, int32_t cz, int32_t hero) {
    HeroStuff* h = HeroAt(hero);
    if (h == nullptr) return false;
    PlayerActivation = {1, cx, cy, cz};
    if (const int32_t g = ChosenGolem(*h, false); g > 0) {
        StopGolem(Level.Golems[g], *h);
        return true;
    }
    return ActOnCell(*h, cx, cy, cz);
}

void HeroMakeGolemLieDown(int32_t hero) {
    HeroStuff* h = HeroAt(hero);
    if (h == nullptr) return;
    const int32_t g = ChosenGolem(*h, true);
    if (g == 0) return;
    Level.Golems[g].State = kGolemLieDown;
    Request(*h, kLieDownRequest);
}

int32_t FloatSign(double x) { return x < 0 ? -1 : x > 0 ? 1 : 0; }
