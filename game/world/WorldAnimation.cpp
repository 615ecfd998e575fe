#include "game/world/WorldAnimation.h"

#include <algorithm>
#include <cmath>

#include "engine/G3D3DFile.h"
#include "engine/G3DAngles.h"
#include "engine/G3DMesh.h"
#include "engine/G3DState.h"
#include "game/GameClock.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocDynamics.h"
#include "game/world/Collision.h"

// The operations this unit calls (collision, bloc dynamics) act on `Level`;
// the record handed to AnimateWorld is that one.

namespace {

// Animated textures advance once this many ms have passed since the last step.
constexpr int64_t kTextureTickMs = 66;
// Body of a launched bloc for the collision: half a cell wide, a little lower
// than a cell, climbing small steps.
constexpr int32_t kLaunchedWidth = 256, kLaunchedHeight = 509, kLaunchedStep = 51;
// A launched bloc rests when it moved less than this in a frame (sum of axes)...
constexpr double kRestingMove = 10.0;
// ...and it lies farther than this from its start (mean of the axes)...
constexpr double kFarFromStart = 512.0 / 3.0;
// ...or it flies for longer than this (ms).
constexpr int64_t kLongestFlight = 1500;
// Share of the velocity a launched bloc keeps, reversed, on a blocked axis.
constexpr float kBounce = 0.0f;
// Per 90 ms: a launched bloc loses a seventh of its horizontal velocity and
// falls 28 faster; a projectile falls 0.2 faster per unit of BulletMass.
constexpr float kDragShare = 7.0f, kLaunchedGravity = 28.0f, kBulletGravity = 0.2f;
// A behaviour instance's health never rises above this.
constexpr float kMaxInstanceHealth = 100.0f;

// Truncates toward zero in 64 bits, saturating; NaN gives 0.
int64_t Trunc64(double v) {
    if (v != v) return 0;
    if (v >= 9.2e18) return INT64_MAX;
    if (v <= -9.2e18) return INT64_MIN;
    return static_cast<int64_t>(v);
}

// ---- Step 1: textures ----

void AnimateTextures(LevelStuff& level) {
    if (int64_t{FrameTime} - level.LastTextureTick <= kTextureTickMs) return;
    G3DAnimateTextures(DStuff);
    level.LastTextureTick = FrameTime;
}

// ---- Step 2: bloc types ----

// One of the nine bounds of a bloc type with its per-frame table.
struct BoundTable {
    int32_t BlocStuff::*current;
    std::array<int32_t, kBlocMeshSlots> BlocStuff::*frames;
};
constexpr BoundTable kBoundTables[9] = {
    {&BlocStuff::Xmin, &BlocStuff::FrameXmin},   {&BlocStuff::Xmax, &BlocStuff::FrameXmax},
    {&BlocStuff::Ymin, &BlocStuff::FrameYmin},   {&BlocStuff::Zmin, &BlocStuff::FrameZmin},
    {&BlocStuff::Zmax, &BlocStuff::FrameZmax},   {&BlocStuff::Ymax1, &BlocStuff::FrameYmax1},
    {&BlocStuff::Ymax2, &BlocStuff::FrameYmax2}, {&BlocStuff::Ymax3, &BlocStuff::FrameYmax3},
    {&BlocStuff::Ymax4, &BlocStuff::FrameYmax4},
};

// Marks the type's loop sound due when its interval has passed (the scene
// drawing plays it at the type's visible instances).
void TimeLoopSound(BlocStuff& bloc) {
    bloc.LoopSoundDue = 0;
    if (bloc.LoopSoundBuffer == nullptr) return;
    const int32_t now = GameTimeMs();
    if (int64_t{now} - bloc.LoopSoundTime <= bloc.LoopDuration) return;
    bloc.LoopSoundTime = now;
    bloc.LoopSoundDue = 1;
}

// A key-frame position held to 0 .. meshCount: past the last frame it starts
// again at 0; played backwards, it goes on from the end.
float WrappedFrame(float position, int32_t meshCount) {
    if (!(position < static_cast<float>(meshCount))) return 0;  // also NaN
    if (position >= 0) return position;
    if (meshCount <= 0) return 0;
    const float count = static_cast<float>(meshCount);
    const float wrapped = std::fmod(position, count) + count;
    return wrapped >= 0 && wrapped < count ? wrapped : 0;
}

void AdvanceKeyFrame(BlocStuff& bloc) {
    const float next = bloc.FramePosition + FrameStepScale(bloc.Speed);
    if (G3DTrunc32(next) != G3DTrunc32(bloc.FramePosition)) bloc.PreviousFrame = bloc.FramePosition;
    bloc.FramePosition = WrappedFrame(next, bloc.MeshCount);
}

// The key mesh for frame position `frame`: its whole part held to the loaded
// frames 0 .. meshCount - 1 (0 when there are none).
int32_t KeyIndex(double frame, int32_t meshCount) {
    const int32_t last = std::min(meshCount, kBlocMeshSlots) - 1;
    return std::clamp(G3DTrunc32(frame), 0, std::max(last, 0));
}

// Share of the way from the key frame below `frame` to the next, 0..1.
float FrameFraction(float frame) {
    return std::clamp(frame - static_cast<float>(G3DTrunc32(frame)), 0.0f, 1.0f);
}

// dest := a copy of source (every vertex and every face word), into dest's own
// storage when it has the same counts: a key frame of the same model.
void CopyPose(const TG3DMesh* source, TG3DMesh*& dest) {
    if (source == nullptr || source == dest) return;
    const size_t vertices = static_cast<size_t>(std::max(source->LastVertex + 1, 0));
    const size_t faces = static_cast<size_t>(std::max(source->LastFace + 1, 0));
    if (dest == nullptr || dest->LastVertex != source->LastVertex ||
        dest->LastFace != source->LastFace || dest->X.size() < vertices ||
        dest->Y.size() < vertices || dest->Z.size() < vertices || dest->Faces.size() < faces) {
        G3DCopyMesh(source, dest);
        return;
    }
    std::copy_n(source->X.begin(), vertices, dest->X.begin());
    std::copy_n(source->Y.begin(), vertices, dest->Y.begin());
    std::copy_n(source->Z.begin(), vertices, dest->Z.begin());
    std::copy_n(source->Faces.begin(), faces, dest->Faces.begin());
}

// The pose drawn now and, with AnimateCollision, the bounds of that pose:
// blended between the previous and the current key frame with Morph, the
// current key frame as it is without.
void PoseBlocType(BlocStuff& bloc) {
    const int32_t c = KeyIndex(bloc.PreviousFrame, bloc.MeshCount);
    const int32_t k = KeyIndex(bloc.FramePosition, bloc.MeshCount);
    const bool bounds = bloc.AnimateCollision && bloc.MeshCount >= 1;
    if (!bloc.Morph) {
        CopyPose(bloc.Meshes[k], bloc.CurrentMesh);
        if (bounds) {
            for (const BoundTable& b : kBoundTables) bloc.*b.current = (bloc.*b.frames)[k];
        }
        return;
    }
    const float f = FrameFraction(bloc.FramePosition);
    G3DInterpolateMesh(bloc.Meshes[c], bloc.Meshes[k], bloc.CurrentMesh, f);
    if (!bounds) return;
    for (const BoundTable& b : kBoundTables) {
        const int64_t from = (bloc.*b.frames)[c];
        const int64_t to = (bloc.*b.frames)[k];
        bloc.*b.current = G3DClamp32(from + Trunc64(static_cast<double>(to - from) * f));
    }
}

void AnimateBlocTypes(LevelStuff& level) {
    for (BlocStuff& bloc : level.Blocs) {
        TimeLoopSound(bloc);
        AdvanceKeyFrame(bloc);
        PoseBlocType(bloc);
    }
}

// ---- Passes over the lists ----

// Calls handle(row) once for every row present at the start of the pass, in
// order. handle returns true when it removed its row: the row that moved into
// the freed place is handled next.
template <typename List, typename Handle>
void ForEachRowOnce(List& list, Handle&& handle) {
    int32_t row = 0;
    for (int32_t left = list.High() + 1; left > 0 && row <= list.High(); --left) {
        if (!handle(row)) ++row;
    }
}

// ---- Step 3: moving blocs ----

// The start of a moving bloc's frame: where it was, and its velocity for this
// frame.
struct BlocMove {
    float oldX, oldY, oldZ;
    float vx, vy, vz;
};

int32_t Extent(int32_t low, int32_t high) {
    const int64_t size = int64_t{high} - low;
    return G3DClamp32(size < 0 ? -size : size);
}

// Moves the bloc of `row` for this frame. The row's own position is shifted to
// its box centre and moved in place, so that the collision, which skips the
// moving bloc standing exactly at the body's position, never stops a bloc
// against itself.
BlocMove MoveBloc(MovingBlocStuff& row, const BlocStuff& type) {
    const BlocMove m{row.X,
                     row.Y,
                     row.Z,
                     FrameStepScale(row.VelocityX),
                     FrameStepScale(row.VelocityY),
                     FrameStepScale(row.VelocityZ)};
    const double sx = BoxCentreShift(type.Xmin, type.Xmax);
    const double sy = BoxCentreShift(type.Ymin, type.Ymax1);
    const double sz = BoxCentreShift(type.Zmin, type.Zmax);
    row.X = static_cast<float>(row.X - sx);
    row.Y = static_cast<float>(row.Y - sy);
    row.Z = static_cast<float>(row.Z - sz);
    if (row.Kind == kMovingLaunched) {
        MoveWithCollision(row.X, row.Y, row.Z, m.vx, m.vy, m.vz, kLaunchedWidth, kLaunchedHeight,
                          kLaunchedStep);
    } else {
        MoveWithCollision(row.X, row.Y, row.Z, m.vx, m.vy, m.vz, Extent(type.Xmin, type.Xmax),
                          Extent(type.Ymin, type.Ymax1), 0);
    }
    row.X = static_cast<float>(row.X + sx);
    row.Y = static_cast<float>(row.Y + sy);
    row.Z = static_cast<float>(row.Z + sz);
    return m;
}

// How far the move on one axis fell short of old + v, in whole units
// (Trunc(now) against Trunc(old + v)).
double Shortfall(float now, float old, float v) {
    return std::fabs(std::trunc(double{now}) - std::trunc(static_cast<double>(old) + v));
}

// A launched bloc stops on every axis on which it was held back; it returns
// to the grid when it has come to rest far from its start or after a long
// flight, and otherwise slows down and falls. True when it left the list.
bool SettleLaunchedBloc(int32_t index, const BlocMove& m) {
    MovingBlocStuff& row = Level.MovingBlocs[index];
    if (Shortfall(row.X, m.oldX, m.vx) != 0) row.VelocityX = -row.VelocityX * kBounce;
    if (Shortfall(row.Y, m.oldY, m.vy) != 0) row.VelocityY = -row.VelocityY * kBounce;
    if (Shortfall(row.Z, m.oldZ, m.vz) != 0) row.VelocityZ = -row.VelocityZ * kBounce;
    const double moved = std::fabs(double{row.X} - m.oldX) + std::fabs(double{row.Y} - m.oldY) +
                         std::fabs(double{row.Z} - m.oldZ);
    const double fromStart =
        (std::fabs(double{row.X} - row.StartX) + std::fabs(double{row.Y} - row.StartY) +
         std::fabs(double{row.Z} - row.StartZ)) /
        3.0;
    const int64_t age = int64_t{FrameTime} - row.StartTime;
    if (moved < kRestingMove && (fromStart > kFarFromStart || age > kLongestFlight)) {
        RemoveMovingBloc(index);
        return true;
    }
    row.VelocityX -= FrameStepScale(row.VelocityX / kDragShare);
    row.VelocityY -= FrameStepScale(kLaunchedGravity);
    row.VelocityZ -= FrameStepScale(row.VelocityZ / kDragShare);
    return false;
}

// True when the box (min corner x, y, z; size w, h, d) overlaps the bounds box
// of projectile `row` placed at its position.
bool MeetsProjectile(const MovingBlocStuff& row, const BlocStuff& type, float x, float y, float z,
                     float w, float h, float d) {
    const auto low = [](float p, int32_t bound) {
        return static_cast<float>(double{p} + bound - 256);
    };
    const auto size = [](int32_t from, int32_t to) {
        return static_cast<float>(int64_t{to} - from);
    };
    return BoxesOverlap(low(row.X, type.Xmin), low(row.Y, type.Ymin), low(row.Z, type.Zmin),
                        size(type.Xmin, type.Xmax), size(type.Ymin, type.Ymax1),
                        size(type.Zmin, type.Zmax), x, y, z, w, h, d);
}

HeroStuff* CurrentHeroRecord() {
    return CurrentHero >= 0 && CurrentHero < kHeroCount ? &Heroes[CurrentHero] : nullptr;
}

bool HitsHero(const MovingBlocStuff& row, const BlocStuff& type) {
    const HeroStuff* hero = CurrentHeroRecord();
    if (hero == nullptr) return false;
    const float w = static_cast<float>(hero->HeroWidth);
    const float h = static_cast<float>(hero->HeroHeight);
    return MeetsProjectile(row, type, hero->X - w / 2, hero->Y - h / 2, hero->Z - w / 2, w, h, w);
}

bool HitsGolem(const MovingBlocStuff& row, const BlocStuff& type) {
    for (const GolemStuff& golem : Level.Golems) {
        if (!IsBlocType(golem.GolemBloc)) continue;
        const BlocStuff& body = Level.Blocs[golem.GolemBloc];
        const float w = static_cast<float>(Extent(body.Xmin, body.Xmax));
        const float h = static_cast<float>(Extent(body.Ymin, body.Ymax1));
        const float d = static_cast<float>(Extent(body.Zmin, body.Zmax));
        if (MeetsProjectile(row, type, golem.X - w / 2, golem.Y - h / 2, golem.Z - d / 2, w, h,
                            d)) {
            return true;
        }
    }
    return false;
}

// Every behaviour instance owning moving-bloc row `row` (of bloc type
// `blocType`) takes a projectile's hit of `hurt`.
void HitOwners(int32_t row, int32_t blocType, float hurt) {
    const BlocStuff* bloc = IsBlocType(blocType) ? &Level.Blocs[blocType] : nullptr;
    for (BehaviourStuff& instance : Level.BehaviourInstances) {
        if (instance.MovingBlocRow != row) continue;
        instance.InstanceHealth = std::min(instance.InstanceHealth + hurt, kMaxInstanceHealth);
        if (bloc == nullptr) continue;
        if (IsBehaviourNumber(bloc->BulletHitBehaviour)) {
            RestartBehaviour(instance, bloc->BulletHitBehaviour);
        }
        if (instance.InstanceHealth <= 0 && IsBehaviourNumber(bloc->DeathBehaviour)) {
            RestartBehaviour(instance, bloc->DeathBehaviour);
        }
    }
}

// A projectile that was cut short, met a moving bloc or hit the hero or a golem
// ends; the owners of the moving bloc it met take the hit. `touched` is the row
// it met before its own removal moved the rows behind it.
void ProjectileImpact(int32_t index, float hurt, int32_t touched) {
    const bool met = Level.MovingBlocs.Valid(touched) && touched != index;
    const int32_t touchedType = met ? Level.MovingBlocs[touched].BlocType : -1;
    RemoveMovingBloc(index);
    // The removal moved the rows behind it down, and their owners with them.
    if (met) HitOwners(touched > index ? touched - 1 : touched, touchedType, hurt);
}

// Hits, expiry, impact or flight of projectile `index` after its move. True
// when it left the list.
bool ResolveProjectile(int32_t index, const BlocStuff& type, const BlocMove& m, int32_t touched) {
    MovingBlocStuff& row = Level.MovingBlocs[index];
    const bool hit = HitsHero(row, type) || HitsGolem(row, type);
    if (hit) {
        if (HeroStuff* hero = CurrentHeroRecord()) hero->Life += type.HurtValue;
    }
    if (type.BulletDuration >= 0 && int64_t{FrameTime} - row.StartTime >= type.BulletDuration) {
        row.BlocType = 0;  // it vanishes with the explosion of type 0
        RemoveMovingBloc(index);
        return true;
    }
    const auto cut = [](float now, float old, float v) {
        return Shortfall(now, old, v) > std::fabs(v) / 2.0;
    };
    if (cut(row.X, m.oldX, m.vx) || cut(row.Y, m.oldY, m.vy) || cut(row.Z, m.oldZ, m.vz) ||
        touched >= 0 || hit) {
        ProjectileImpact(index, type.HurtValue, touched);
        return true;
    }
    row.VelocityY = static_cast<float>(row.VelocityY -
                                       double{FrameStepScale(kBulletGravity)} * type.BulletMass);
    return false;
}

// One frame of moving bloc `index`; kind 1 rows belong to behaviours and are
// left alone. True when it left the list.
bool AnimateMovingBloc(int32_t index) {
    MovingBlocStuff& row = Level.MovingBlocs[index];
    if (row.Kind != kMovingLaunched && row.Kind != kMovingProjectile) return false;
    if (!IsBlocType(row.BlocType)) return false;
    const BlocStuff& type = Level.Blocs[row.BlocType];
    const BlocMove m = MoveBloc(row, type);
    const int32_t touched = LastTouchedMovingBloc;
    if (row.Kind == kMovingLaunched) return SettleLaunchedBloc(index, m);
    return ResolveProjectile(index, type, m, touched);
}

void AnimateMovingBlocs(LevelStuff& level) { ForEachRowOnce(level.MovingBlocs, AnimateMovingBloc); }

// ---- Step 4: dug cells ----

void RecoverDugCells(LevelStuff& level) {
    ForEachRowOnce(level.DugCells, [&](int32_t index) {
        const DugCellStuff& dug = level.DugCells[index];
        if (int64_t{FrameTime} - dug.StartTime <= dug.Duration) return false;
        RecoverDugCell(index);
        return true;
    });
}

// ---- Step 5: tile animations ----

// Advances tile animation `index` and poses it, always blended; it ends (the
// cell takes its final type) once it reaches its type's last frame. There is
// no wrap: played backwards or not at all, it holds a pose and never ends.
// True when it ended.
bool AnimateTile(LevelStuff& level, int32_t index) {
    TileAnimationStuff& row = level.TileAnimations[index];
    if (!IsBlocType(row.AnimType)) return false;
    const BlocStuff& type = level.Blocs[row.AnimType];
    const float next = row.FramePosition + FrameStepScale(type.Speed);
    if (G3DTrunc32(next) != G3DTrunc32(row.FramePosition)) {
        row.PreviousFrame = G3DTrunc32(row.FramePosition);
    }
    row.FramePosition = next;
    if (!(next < static_cast<float>(type.MeshCount))) {
        RemoveTileAnimation(index);
        return true;
    }
    // Frames restored from a level file are checked against the type only here.
    const int32_t c = KeyIndex(row.PreviousFrame, type.MeshCount);
    const int32_t k = KeyIndex(next, type.MeshCount);
    G3DInterpolateMesh(type.Meshes[c], type.Meshes[k], row.AnimMesh, FrameFraction(next));
    return false;
}

void AnimateTileAnimations(LevelStuff& level) {
    ForEachRowOnce(level.TileAnimations, [&](int32_t index) { return AnimateTile(level, index); });
}

}  // namespace

void AnimateWorld(LevelStuff& level) {
    AnimateTextures(level);
    AnimateBlocTypes(level);
    AnimateMovingBlocs(level);
    RecoverDugCells(level);
    AnimateTileAnimations(level);
}
