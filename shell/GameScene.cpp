#include "shell/GameScene.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "engine/G3DAngles.h"
#include "engine/G3DEngine.h"
#include "engine/G3DRender.h"
#include "game/GameClock.h"
#include "game/GameIni.h"
#include "game/clips/ClipPlayback.h"
#include "game/draw/HudText.h"
#include "game/draw/SceneDrawing.h"
#include "game/level/CellGrid.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocShapes.h"
#include "game/world/Collision.h"
#include "game/world/HeroInteraction.h"
#include "game/world/LineOfSight.h"
#include "platform/window/Window.h"
#include "shell/ComStuff.h"
#include "shell/LocalisationUnit.h"
#include "support/Snd.h"

float HeroCarryOverlap = 0;
LevelBannerStuff LevelBanner;

namespace {

// The camera's body for its collision moves.
constexpr int32_t kCameraBody = 280;
// A camera farther than this beyond its distance jumps towards the hero.
constexpr double kCameraJumpExcess = 768;
constexpr double kCameraJump = 512;
// The first-person eye above the hero's feet.
constexpr float kEyeHeight = 50;
// No camera point chosen yet: farther than any.
constexpr double kNoCameraPoint = 999999.0;
// The hero is not drawn when the camera is closer than this share of its width.
constexpr double kTooCloseShare = 0.3;
// Shadows lie this far above their floor.
constexpr double kShadowLift = 5;
constexpr int32_t kHurtSoundLevel = 254;
// Banner times (ms since it started): gliding in, resting, gliding out, off.
constexpr int64_t kBannerGlideIn = 3000, kBannerGlideOut = 5000, kBannerOff = 10000;
constexpr int32_t kUnused = -1;

HeroStuff& Hero() { return Heroes[CurrentHero >= 0 && CurrentHero < kHeroCount ? CurrentHero : 0]; }

bool Defined(int32_t type) { return IsBlocType(type) && Level.Blocs[type].Undefined == 0; }

double Distance(double x1, double y1, double z1, double x2, double y2, double z2) {
    const double dx = x2 - x1, dy = y2 - y1, dz = z2 - z1;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The cell of a world point.
struct Cell {
    int32_t x, y, z;
    bool operator==(const Cell&) const = default;
};
Cell CellOf(double x, double y, double z) {
    return {CellOfCoordinate(x), CellOfCoordinate(y), CellOfCoordinate(z)};
}

int32_t CellBrightness(double x, double y, double z) {
    const Cell c = CellOf(x, y, z);
    return GetCellLight(c.x, c.y, c.z) - 128;
}

// ---- Step 1: the view within the hero's light ----

void LimitViewToLight(const HeroStuff& h) {
    const double light = h.LightRange;
    if (DepthOfView > light / 512 - 1) {
        DepthOfView = G3DClamp32(int64_t{G3DTrunc32(light / 512)} - 1);
    }
}

// ---- Step 2: the cell in front ----

Cell CellAhead(const HeroStuff& h, double reach) {
    const int64_t yaw = G3DRound64(h.Yaw);
    return {CellOfCoordinate(h.X + G3DSin(yaw) * reach), 0,
            CellOfCoordinate(h.Z + G3DCos(yaw) * reach)};
}

void AimTargetCell(HeroStuff& h) {
    const double halfWidth = h.HeroWidth / 2.0;
    Cell t = CellAhead(h, 512 - halfWidth);
    if (t.x == CellOfCoordinate(h.X) && t.z == CellOfCoordinate(h.Z)) {
        t = CellAhead(h, 768 - halfWidth);
    }
    t.y = CellOfCoordinate(static_cast<double>(h.Y) - 512);
    const int32_t above = G3DClamp32(int64_t{t.y} + 1);
    const int32_t type = GetCellType(t.x, above, t.z);
    if (Defined(type) && Level.Blocs[type].Dig == 0) t.y = above;
    h.TargetCellX = t.x, h.TargetCellY = t.y, h.TargetCellZ = t.z;
}

// ---- Step 3: clip zones ----

void StartClipZones(const HeroStuff& h, platform::Window& owner) {
    const Cell c = CellOf(h.X, h.Y, h.Z);
    for (ClipZoneStuff& zone : Level.ClipZones) {
        if (!(Cell{zone.ZoneX, zone.ZoneY, zone.ZoneZ} == c) || zone.ZoneClip == CurrentClip) {
            continue;
        }
        const int32_t clip = zone.ZoneClip;
        if (clip < 0 || clip >= kClipCount) continue;  // names no clip
        PlayClip(clip, owner);
        if (Level.Clips[clip].PlayedSingle != 0) zone.ZoneX = kUsedClipZone;
    }
}

// ---- Step 4: the camera follows the hero ----

void MoveCamera(HeroStuff& h, float vx, float vy, float vz) {
    MoveWithCollision(h.CameraX, h.CameraY, h.CameraZ, vx, vy, vz, kCameraBody, kCameraBody,
                      h.HeroStep);
}

void FollowHero(HeroStuff& h) {
    const double cd = h.CameraDistance;
    const double d = Distance(h.CameraX, h.CameraY, h.CameraZ, h.X, h.Y, h.Z);
    const int64_t yaw = G3DTrunc32(h.Yaw), pitch = G3DTrunc32(h.Pitch);
    const int64_t a = 24576 - yaw;
    const double level = cd * G3DCos(pitch);
    const double dx = G3DCos(a) * level + h.X - h.CameraX;
    const double dy = h.Y + d / 2 - G3DSin(pitch) * cd - h.CameraY;
    const double dz = G3DSin(a) * level + h.Z - h.CameraZ;
    MoveCamera(h, FrameStepScale(static_cast<float>(dx / 10)),
               FrameStepScale(static_cast<float>(dy / 5)),
               FrameStepScale(static_cast<float>(dz / 10)));
    if (!(d > cd)) return;
    const double s = FrameStepScale(static_cast<float>((d - cd) / 3));
    const int64_t cy = G3DRound64(h.CameraYaw), cp = G3DRound64(h.CameraPitch);
    const double sy = G3DSin(cy), cyc = G3DCos(cy), sp = G3DSin(cp), cpc = G3DCos(cp);
    MoveCamera(h, static_cast<float>(sy * s * cpc), static_cast<float>(sp * s),
               static_cast<float>(cyc * s * cpc));
    if (d - cd > kCameraJumpExcess) {
        h.CameraX = static_cast<float>(h.CameraX + sy * kCameraJump * cpc);
        h.CameraY = static_cast<float>(h.CameraY + sp * kCameraJump);
        h.CameraZ = static_cast<float>(h.CameraZ + cyc * kCameraJump * cpc);
    }
}

// ---- Step 5: camera points ----

void UseCameraPoint(HeroStuff& h) {
    const Cell t = CellOf(h.X, h.Y, h.Z);
    double best = kNoCameraPoint;
    const CameraPointStuff* chosen = nullptr;
    for (const CameraPointStuff& p : Level.CameraPoints) {
        const double dx = static_cast<double>(int64_t{p.CameraX} - t.x);
        const double dy = static_cast<double>(int64_t{p.CameraY} - t.y);
        const double dz = static_cast<double>(int64_t{p.CameraZ} - t.z);
        const double d2 = dx * dx + dy * dy + dz * dz;
        if (d2 < best && GridLineOfSight(p.CameraX, p.CameraY, p.CameraZ, t.x, t.y, t.z)) {
            best = d2;
            chosen = &p;
        }
    }
    const double depth = DepthOfView;
    if (chosen == nullptr || !(best < depth * depth)) return;
    h.CameraX = CellCentre(chosen->CameraX);
    h.CameraY = CellCentre(chosen->CameraY);
    h.CameraZ = CellCentre(chosen->CameraZ);
}

// ---- Step 6: camera angles ----

void AimCamera(HeroStuff& h) {
    if (h.CameraDistance > 0) {
        h.CameraRoll = 0;
        DirectionAngles(h.CameraYaw, h.CameraPitch, h.CameraX, h.CameraY, h.CameraZ, h.X, h.Y, h.Z);
        return;
    }
    h.CameraX = h.X;
    h.CameraY = h.Y + kEyeHeight;
    h.CameraZ = h.Z;
    h.CameraRoll = G3DTrunc32(h.Tilt);
    h.CameraYaw = h.Yaw;
    h.CameraPitch = h.Pitch;
}

// ---- Steps 9 and 10: heroes and shadows ----

void DrawHeroes(const HeroStuff& current) {
    BlendHeroPoses();
    const bool tooClose = current.CameraDistance <= kTooCloseShare * current.HeroWidth;
    const int32_t last = std::min(LastHero, kHeroCount - 1);
    for (int32_t i = 0; i <= last; ++i) {
        const HeroStuff& hero = Heroes[i];
        const int32_t brightness = CellBrightness(hero.X, hero.Y, hero.Z);
        const double range = FadeRange(hero.LightRange);
        const double d = Distance(hero.CameraX, hero.CameraY, hero.CameraZ, hero.X, hero.Y, hero.Z);
        const int32_t fade = DistanceFade(d, range, 0);
        // The shadow turns with the hero's mesh.
        const int32_t yaw = G3DClamp32(16384 - int64_t{G3DTrunc32(hero.Yaw)});
        if (!(&hero == &current && tooClose)) {
            G3DDrawMesh(hero.HeroMesh, G3DTrunc32(hero.X), G3DTrunc32(hero.Y), G3DTrunc32(hero.Z),
                        yaw, 0, 0, brightness, fade, kUnused, DStuff);
        }
        DrawOnFloor(i, static_cast<float>(fade), hero.X, hero.Y, hero.Z, static_cast<float>(yaw));
    }
}

void DrawGolemShadows(const HeroStuff& h, const Cell& k) {
    const int64_t d = DepthOfView, dv = VerticalDepthOfView;
    const double range = FadeRange(h.LightRange);
    for (const GolemStuff& golem : Level.Golems) {
        if (std::abs(golem.CellX - int64_t{k.x}) >= 2 * d ||
            std::abs(golem.CellY - int64_t{k.y}) >= 2 * dv ||
            std::abs(golem.CellZ - int64_t{k.z}) >= 2 * d || !IsBlocType(golem.GolemBloc)) {
            continue;
        }
        const double dist = Distance(h.CameraX, h.CameraY, h.CameraZ, golem.X, golem.Y, golem.Z);
        const int32_t fade = DistanceFade(dist, range, Level.Blocs[golem.GolemBloc].Transparency);
        const float yaw = static_cast<float>(G3DRound64(golem.Heading) - 8192);
        DrawOnFloor(0, static_cast<float>(fade), golem.X, golem.Y, golem.Z, yaw);
    }
}

// ---- Step 12: the level banner ----

// The label before the second banner text.
std::string BannerLabel() { return LocalisedMessages[10]; }

void DrawLevelBanner() {
    if (LevelBanner.on == 0) return;
    const float b = LevelBanner.y;
    if (!Level.Banner1.empty()) {
        DrawOpaqueText(Level.Banner1, 1, 0.5f - FontTextWidth(Level.Banner1, 1) / 2, 0.5f - b);
    }
    if (!Level.Banner2.empty()) {
        const std::string s = BannerLabel() + ":" + Level.Banner2;
        DrawOpaqueText(s, 0, 0.5f - FontTextWidth(s, 0) / 2, 0.56f + b);
    }
    const int64_t age = int64_t{FrameTime} - LevelBanner.startTime;
    if (age < kBannerGlideIn) LevelBanner.y = b - FrameStepScale(0.2f * b);
    if (age > kBannerGlideOut) LevelBanner.y = b + FrameStepScale((0.001f + b) * 0.2f);
    if (age > kBannerOff) LevelBanner.on = 0;
}

// ---- HeroDamage's parts ----

struct Damage {
    double delta = 0;
    bool golemHurt = false;
};

// Bounds box of a moving bloc's type placed at the bloc's position.
bool MovingBlocOverlaps(const MovingBlocStuff& row, const BlocStuff& type, double x, double y,
                        double z, double sx, double sy, double sz) {
    return BoxesOverlap(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z),
                        static_cast<float>(sx), static_cast<float>(sy), static_cast<float>(sz),
                        static_cast<float>(double{row.X} - 256 + type.Xmin),
                        static_cast<float>(double{row.Y} - 256 + type.Ymin),
                        static_cast<float>(double{row.Z} - 256 + type.Zmin),
                        static_cast<float>(int64_t{type.Xmax} - type.Xmin),
                        static_cast<float>(int64_t{type.Ymax1} - type.Ymin),
                        static_cast<float>(int64_t{type.Zmax} - type.Zmin));
}

// Calls hurt(value) for every harmful moving bloc overlapping the box.
template <typename Hurt>
void ForHarmfulBlocs(double x, double y, double z, double sx, double sy, double sz, Hurt&& hurt) {
    for (const MovingBlocStuff& row : Level.MovingBlocs) {
        if (!IsBlocType(row.BlocType)) continue;
        const BlocStuff& type = Level.Blocs[row.BlocType];
        if (type.HurtValue != 0 && MovingBlocOverlaps(row, type, x, y, z, sx, sy, sz)) {
            hurt(type.HurtValue);
        }
    }
}

void HeroHurts(const HeroStuff& h, Damage& damage) {
    const Cell c = CellOf(h.X, h.Y, h.Z);
    const int32_t type = GetCellType(c.x, c.y, c.z);
    if (Defined(type)) {
        damage.delta += Level.Blocs[type].HurtValue;
        if (Level.Blocs[type].Dig != 0 && PointInBlock(h.X, h.Y, h.Z)) damage.delta -= h.SolidHurt;
    }
    const double w = h.HeroWidth, ht = h.HeroHeight;
    if (w * ht * 0.99 * w < HeroCarryOverlap) damage.delta -= h.SolidHurt;
    ForHarmfulBlocs(h.X - w, h.Y - ht / 2, h.Z - w, 2 * w, ht, 2 * w,
                    [&](float hurt) { damage.delta += hurt; });
}

void GolemHurts(const GolemStuff& golem, Damage& damage) {
    if (!IsBlocType(golem.GolemBloc)) return;
    const BlocStuff& body = Level.Blocs[golem.GolemBloc];
    const double hx = std::fabs(static_cast<double>(int64_t{body.Xmax} - body.Xmin)) / 2;
    const double hy = std::fabs(static_cast<double>(int64_t{body.Ymax1} - body.Ymin)) / 2;
    const double hz = std::fabs(static_cast<double>(int64_t{body.Zmax} - body.Zmin)) / 2;
    const Cell c = CellOf(golem.X, golem.Y, golem.Z);
    const int32_t type = GetCellType(c.x, c.y, c.z);
    if (Defined(type)) {
        const BlocStuff& cell = Level.Blocs[type];
        damage.delta += cell.HurtValue;
        if (cell.HurtValue < 0) damage.golemHurt = true;
        if (cell.Dig != 0 && PointInBlock(golem.X, golem.Y, golem.Z)) {
            damage.delta += cell.HurtValue;
            damage.golemHurt = true;
        }
    }
    ForHarmfulBlocs(golem.X - hx, golem.Y - hy, golem.Z - hz, 2 * hx, 2 * hy, 2 * hz,
                    [&](float hurt) {
                        damage.delta += hurt;
                        damage.golemHurt = true;
                    });
}

void PlayHurtSound(HeroStuff& h, TSoundBuffer* sound, int32_t duration) {
    if (int64_t{FrameTime} - h.PainSoundTime <= duration) return;
    PlaySound3D(G3DClamp32(G3DRound64(h.X)), G3DClamp32(G3DRound64(h.Y)),
                G3DClamp32(G3DRound64(h.Z)), kHurtSoundLevel, sound, DStuff);
    h.PainSoundTime = FrameTime;
}

// ---- DrawOnFloor's search ----

// The floor that row `row` of the column (cx, cz) gives below (x, z): the
// grid's bloc, replaced by any moving bloc of the row under the point.
std::optional<double> FloorInRow(int32_t cx, int32_t row, int32_t cz, float x, float z, int32_t lx,
                                 int32_t lz) {
    std::optional<double> floor;
    const int32_t type = GetCellType(cx, row, cz);
    if (Defined(type)) {
        const BlocStuff& b = Level.Blocs[type];
        if (b.Xmin <= lx && lx <= b.Xmax && b.Zmin <= lz && lz <= b.Zmax) {
            floor = int64_t{row} * 512 +
                    BlockTopHeight(cx, row, cz, static_cast<float>(lx), static_cast<float>(lz));
        }
    }
    for (const MovingBlocStuff& m : Level.MovingBlocs) {
        if (CellOfCoordinate(m.Y) != row || !IsBlocType(m.BlocType)) continue;
        const BlocStuff& b = Level.Blocs[m.BlocType];
        const double rx = 256.0 + x - m.X, rz = 256.0 + z - m.Z;
        if (b.Xmin <= rx && rx <= b.Xmax && b.Zmin <= rz && rz <= b.Zmax) {
            floor = BlocTypeTopHeight(m.BlocType, static_cast<float>(rx), static_cast<float>(rz)) +
                    double{m.Y} - 256;
        }
    }
    return floor;
}

// The highest row that can give a floor: the grid's top row or the row of the
// highest moving bloc.
int32_t HighestFloorRow() {
    int32_t top = Level.SizeY - 1;
    for (const MovingBlocStuff& m : Level.MovingBlocs) top = std::max(top, CellOfCoordinate(m.Y));
    return top;
}

// ---- The frame's steps ----

// Where a frame side starts in the client area: centred, the division
// truncating toward zero.
int32_t FrameOrigin(int32_t clientSide, int32_t frameSide) {
    return G3DClamp32((int64_t{clientSide} - frameSide) / 2);
}

void PlaceCamera(HeroStuff& h) {
    if (h.CameraDistance > 0) {
        FollowHero(h);
        UseCameraPoint(h);
    }
    AimCamera(h);
}

void DrawWorld(HeroStuff& h, platform::Window& owner) {
    const Cell k = CellOf(h.CameraX, h.CameraY, h.CameraZ);
    DrawScene(h.TargetCellX, h.TargetCellY, h.TargetCellZ, h.CameraX, h.CameraY, h.CameraZ,
              h.CameraYaw, h.CameraPitch, static_cast<float>(h.CameraRoll), h.LightRange, Level,
              DStuff, owner);
    DrawHeroes(h);
    DrawGolemShadows(h, k);
    G3DFlush(DStuff);
}

// Restores the view distance when the frame ends.
class ViewDepthGuard {
  public:
    ViewDepthGuard() : saved_(DepthOfView) {}
    ~ViewDepthGuard() { DepthOfView = saved_; }
    ViewDepthGuard(const ViewDepthGuard&) = delete;
    ViewDepthGuard& operator=(const ViewDepthGuard&) = delete;

  private:
    int32_t saved_;
};

}  // namespace

void RenderGameFrame(platform::Window& owner) {
    HeroStuff& h = Hero();
    const ViewDepthGuard depth;
    LimitViewToLight(h);
    AimTargetCell(h);
    StartClipZones(h, owner);
    PlaceCamera(h);
    DrawWorld(h, owner);
    DrawLevelBanner();
    if (HeroDamage()) HeroDied(owner);
    if (GameWon != 0) SetGameMode(ModeEnd, owner);
    UpdateAllSoundChannels(DStuff);
}

bool HeroDamage() {
    HeroStuff& h = Hero();
    Damage damage;
    if (h.TimerValue < 0) {
        h.TimerValue = 0;
        damage.delta = HudSettings.TimerHealth;
    }
    HeroHurts(h, damage);
    for (const GolemStuff& golem : Level.Golems) GolemHurts(golem, damage);
    h.Life += FrameStepScale(static_cast<float>(damage.delta));
    if (damage.delta < 0) {
        if (damage.golemHurt) {
            PlayHurtSound(h, h.GolemHurtSound, h.GolemHurtSoundDuration);
        } else {
            PlayHurtSound(h, h.HurtSound, h.HurtSoundDuration);
        }
    }
    return h.Life < 0;
}

void DrawOnFloor(int32_t heroIndex, float transparency, float x, float y, float z, float yaw) {
    if (heroIndex < 0 || heroIndex >= kHeroCount) return;
    const Cell c = CellOf(x, y, z);
    if (GetCellType(c.x, c.y, c.z) != 0) return;
    const int32_t lx = G3DTrunc32(x - static_cast<double>(c.x) * 512);
    const int32_t lz = G3DTrunc32(z - static_cast<double>(c.z) * 512);
    // Rows above both the grid and every moving bloc give no floor.
    const int32_t start =
        static_cast<int32_t>(std::min<int64_t>(int64_t{c.y} - 1, HighestFloorRow()));
    std::optional<double> floor;
    for (int32_t row = start; row >= 0 && !floor; --row) {
        floor = FloorInRow(c.x, row, c.z, x, z, lx, lz);
    }
    if (!floor || !(*floor < y)) return;
    G3DDrawMesh(Heroes[heroIndex].ShadowMesh, G3DTrunc32(x), G3DTrunc32(*floor + kShadowLift),
                G3DTrunc32(z), G3DTrunc32(yaw), 0, 0, 0, G3DTrunc32(transparency), kUnused, DStuff);
}

void PresentFrame(platform::Window& form) {
    int clientWidth = 0, clientHeight = 0;
    form.ClientSize(clientWidth, clientHeight);
    const int32_t width = DStuff.Frame.Width, height = DStuff.Frame.Height;
    G3DPresent(form, FrameOrigin(clientWidth, width), FrameOrigin(clientHeight, height), width,
               height, DStuff);
}
