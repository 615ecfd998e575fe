#include "game/draw/SceneDrawing.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/G3DAngles.h"
#include "engine/G3DCamera.h"
#include "engine/G3DEngine.h"
#include "engine/G3DRender.h"
#include "game/level/CellGrid.h"
#include "game/level/LevelStuff.h"
#include "game/world/BlocShapes.h"
#include "game/world/WorldAnimation.h"
#include "support/Snd.h"

namespace {

// A cell whose centre lies this close to the camera on every axis is drawn
// whatever the screen test says.
constexpr int32_t kCellMargin = 1280;
// Brightness of a diggable bloc in the cell the hero aims at.
constexpr int32_t kTargetBrightness = -80;
// The sky's light, large enough to light all of it fully.
constexpr int32_t kSkyLightRadius = 1000000;
// G3DDrawMesh's last argument, which it does not use.
constexpr int32_t kUnused = -1;
// The neighbour cell on the side of cube face 0..5 (A low Z, B high X, C high
// Z, D low X, E top, F bottom).
constexpr std::array<std::array<int32_t, 3>, 6> kFaceNeighbour = {
    {{0, 0, -1}, {1, 0, 0}, {0, 0, 1}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}}};

// What the scene is drawn from, worked out once per frame.
struct SceneView {
    LevelStuff& level;
    TDStuff& engine;
    int32_t u, v, w;     // the camera point truncated
    int64_t cu, cv, cw;  // its cell
    double range;        // the fade distance
    int32_t targetX, targetY, targetZ;
};

// The inclusive box of cells within the view distances of the camera cell;
// empty (low above high) when a distance is negative.
struct ViewBox {
    int64_t x0, x1, y0, y1, z0, z1;
    bool Holds(int64_t x, int64_t y, int64_t z) const {
        return x >= x0 && x <= x1 && y >= y0 && y <= y1 && z >= z0 && z <= z1;
    }
};

// Per bloc type, looked up for every cell of the view box: whether cells of
// the type are drawn, and whether it hides the cube face of a neighbour.
// Values above 256 are neither.
struct TypeTables {
    std::array<uint8_t, kBlocTypeCount> shown{};
    std::array<uint8_t, kBlocTypeCount> cube{};

    explicit TypeTables(const LevelStuff& level) {
        for (int32_t t = 0; t < kBlocTypeCount; ++t) {
            const BlocStuff& bloc = level.Blocs[t];
            shown[t] = bloc.Undefined == 0 && bloc.HideInGame == 0;
            cube[t] = bloc.Undefined == 0 && bloc.Cube != 0;
        }
    }
    bool Shown(int32_t type) const { return IsBlocType(type) && shown[type] != 0; }
    bool Cube(int32_t type) const { return IsBlocType(type) && cube[type] != 0; }
};

bool TypeShown(const LevelStuff& level, int32_t type) {
    return IsBlocType(type) && level.Blocs[type].Undefined == 0 &&
           level.Blocs[type].HideInGame == 0;
}

// A coordinate of the grid's world, held to 32 bits for the engine.
int32_t Coordinate(int64_t value) { return G3DClamp32(value); }
int32_t Rounded(float value) { return G3DClamp32(G3DRound64(value)); }

int32_t CellCentreCoordinate(int64_t cell) { return Coordinate(cell * 512 + 256); }

// Layer A of a cell as a brightness offset, -128..127.
int32_t CellBrightness(const LevelStuff& level, int32_t x, int32_t y, int32_t z) {
    return GetLevelCellLight(x, y, z, level) - 128;
}

int32_t PointBrightness(const LevelStuff& level, double x, double y, double z) {
    return CellBrightness(level, CellOfCoordinate(x), CellOfCoordinate(y), CellOfCoordinate(z));
}

// The fade of an object of `transparency` at (x, y, z) seen from the integer
// camera point.
int32_t FadeAt(const SceneView& view, uint8_t transparency, double x, double y, double z) {
    const double dx = x - view.u, dy = y - view.v, dz = z - view.w;
    return DistanceFade(std::sqrt(dx * dx + dy * dy + dz * dz), view.range, transparency);
}

void PlayLoopSound(const SceneView& view, const BlocStuff& bloc, int32_t x, int32_t y, int32_t z) {
    if (bloc.LoopSoundDue != 0) {
        PlaySound3D(x, y, z, bloc.LoopVolume, bloc.LoopSoundBuffer, view.engine);
    }
}

ViewBox ViewBoxOf(const SceneView& view) {
    const int64_t d = DepthOfView, dv = VerticalDepthOfView;
    return {std::max<int64_t>(0, view.cu - d),  std::min<int64_t>(view.cu + d, view.level.SizeX),
            std::max<int64_t>(0, view.cv - dv), std::min<int64_t>(view.cv + dv, view.level.SizeY),
            std::max<int64_t>(0, view.cw - d),  std::min<int64_t>(view.cw + d, view.level.SizeZ)};
}

// ---- Steps 2 to 4: clear, sky, camera ----

void DrawSky(const SceneView& view, int32_t yaw, int32_t pitch, int32_t roll) {
    const TG3DMesh* sky = view.level.Skies[view.level.CurrentSky].SkyMesh;
    if (sky == nullptr) return;
    G3DSetCamera(0, 0, 0, yaw, pitch, roll, view.engine);
    G3DAddLight(0, 0, 0, kSkyLightRadius, view.engine);
    G3DDrawMesh(sky, 0, 0, 0, 0, 0, 0, 0, 0, kUnused, view.engine);
    G3DFlush(view.engine);
}

void SetSceneCamera(const SceneView& view, int32_t yaw, int32_t pitch, int32_t roll) {
    G3DSetCamera(view.u, view.v, view.w, yaw, pitch, roll, view.engine);
    const int64_t depth = DepthOfView;
    G3DAddLight(view.u, view.v, view.w, SceneLightRadius(depth * 512 * depth), view.engine);
}

// ---- Step 5: tile animations ----

bool WithinViewDistance(const SceneView& view, int32_t px, int32_t py, int32_t pz) {
    const auto near = [](int32_t p, int64_t cell, int32_t depth) {
        return std::fabs(static_cast<double>(p) / 512.0 - static_cast<double>(cell)) < depth;
    };
    return near(px, view.cu, DepthOfView) && near(py, view.cv, VerticalDepthOfView) &&
           near(pz, view.cw, DepthOfView);
}

void DrawTileAnimation(const SceneView& view, const TileAnimationStuff& row) {
    if (!IsBlocType(row.AnimType)) return;  // no such type: hidden
    const BlocStuff& bloc = view.level.Blocs[row.AnimType];
    if (bloc.HideInGame != 0) return;
    const int32_t px = Rounded(row.X), py = Rounded(row.Y), pz = Rounded(row.Z);
    if (!WithinViewDistance(view, px, py, pz)) return;
    const int32_t cx = px / 512, cy = py / 512, cz = pz / 512;
    const int32_t brightness = CellBrightness(view.level, cx, cy, cz);
    const int32_t yaw = GetLevelCellTurn(cx, cy, cz, view.level) * 128;
    const int32_t fade = FadeAt(view, bloc.Transparency, px, py, pz);
    G3DDrawMesh(row.AnimMesh, px, py, pz, yaw, 0, 0, brightness, fade, kUnused, view.engine);
    PlayLoopSound(view, bloc, px, py, pz);
}

// ---- Step 6: golems ----

void DrawGolem(const SceneView& view, const GolemStuff& golem) {
    const int64_t d = DepthOfView, dv = VerticalDepthOfView;
    if (std::abs(golem.CellX - view.cu) >= 2 * d || std::abs(golem.CellY - view.cv) >= 2 * dv ||
        std::abs(golem.CellZ - view.cw) >= 2 * d) {
        return;
    }
    if (!IsBlocType(golem.GolemBloc)) return;
    const BlocStuff& bloc = view.level.Blocs[golem.GolemBloc];
    const int32_t brightness = PointBrightness(view.level, golem.X, golem.Y, golem.Z);
    const int32_t fade = FadeAt(view, bloc.Transparency, golem.X, golem.Y, golem.Z);
    const int32_t yaw = G3DClamp32(int64_t{G3DTrunc32(golem.Heading)} + 16384);
    G3DDrawMesh(golem.GolemMesh, G3DTrunc32(golem.X), G3DTrunc32(golem.Y), G3DTrunc32(golem.Z), yaw,
                0, 0, brightness, fade, kUnused, view.engine);
}

// ---- Step 7: moving blocs ----

void DrawMovingBloc(const SceneView& view, const ViewBox& box, const MovingBlocStuff& row) {
    if (!TypeShown(view.level, row.BlocType)) return;
    if (!box.Holds(CellOfCoordinate(row.X), CellOfCoordinate(row.Y), CellOfCoordinate(row.Z))) {
        return;
    }
    const BlocStuff& bloc = view.level.Blocs[row.BlocType];
    const int32_t px = Rounded(row.X), py = Rounded(row.Y), pz = Rounded(row.Z);
    const int32_t a = G3DTrunc32(row.Angle);
    const float tilt = row.Pitch;
    const int32_t second = G3DTrunc32(G3DSin(-int64_t{a}) * tilt);
    const int32_t third = G3DTrunc32(G3DCos(-int64_t{a}) * -tilt);
    const int32_t brightness = CellBrightness(view.level, px / 512, py / 512, pz / 512);
    const int32_t fade = FadeAt(view, bloc.Transparency, px, py, pz);
    PlayLoopSound(view, bloc, px, py, pz);
    if (bloc.Cube == 1) {
        for (int32_t f = 0; f < 6; ++f) {
            SetBlocFaceTexture(f, row.BlocType, view.level);
            G3DDrawMesh(CubeFaces[f], px, py, pz, a, second, third, brightness, fade, kUnused,
                        view.engine);
        }
    } else {
        G3DDrawMesh(bloc.CurrentMesh, px, py, pz, a, second, third, brightness, fade, kUnused,
                    view.engine);
    }
}

// ---- Step 8: grid cells ----

// One cell of the view box whose type is shown.
struct CellDraw {
    int32_t x, y, z;
    int32_t type;
    int32_t index;  // in the grid's blocks
};

void DrawCubeCell(const SceneView& view, const TypeTables& types, const CellDraw& c,
                  const std::array<int32_t, 3>& centre, int32_t yaw, int32_t brightness,
                  int32_t fade) {
    ShapeBlocCube(c.x, c.y, c.z, view.level);
    for (int32_t f = 0; f < 6; ++f) {
        const auto& n = kFaceNeighbour[f];
        const int32_t neighbour = GetLevelCellType(c.x + n[0], c.y + n[1], c.z + n[2], view.level);
        if (types.Cube(neighbour)) continue;  // the shared face is hidden
        SetBlocFaceTexture(f, static_cast<uint16_t>(c.type), view.level);
        G3DDrawMesh(CubeFaces[f], centre[0], centre[1], centre[2], yaw, 0, 0, brightness, fade,
                    kUnused, view.engine);
    }
}

void DrawCell(const SceneView& view, const TypeTables& types, const CellDraw& c) {
    const LevelStuff& level = view.level;
    const BlocStuff& bloc = level.Blocs[c.type];
    int32_t brightness = level.LightLayer[c.index] - 128;
    if (c.x == view.targetX && c.y == view.targetY && c.z == view.targetZ && bloc.Dig != 0) {
        brightness = kTargetBrightness;
    }
    const int32_t yaw = level.TurnLayer[c.index] * 128;
    const std::array<int32_t, 3> centre = {CellCentreCoordinate(c.x), CellCentreCoordinate(c.y),
                                           CellCentreCoordinate(c.z)};
    // Heard on screen or not.
    PlayLoopSound(view, bloc, centre[0], centre[1], centre[2]);
    const float fx = static_cast<float>(centre[0]), fy = static_cast<float>(centre[1]),
                fz = static_cast<float>(centre[2]);
    if (!G3DIsVisible(kCellMargin, view.engine, fx, fy, fz)) return;
    const int32_t fade = FadeAt(view, bloc.Transparency, centre[0], centre[1], centre[2]);
    if (bloc.Cube == 0) {
        G3DDrawMesh(bloc.CurrentMesh, centre[0], centre[1], centre[2], yaw, 0, 0, brightness, fade,
                    kUnused, view.engine);
    } else if (bloc.Cube == 1) {
        DrawCubeCell(view, types, c, centre, yaw, brightness, fade);
    }
}

// Walks the view box, x outermost and z innermost. The box reaches the grid
// size itself; cells past the grid's last row read as type 0 and draw
// nothing, so the walk stops at the last row.
void DrawCells(const SceneView& view, const ViewBox& box) {
    const LevelStuff& level = view.level;
    const TypeTables types(level);
    const int64_t rowStride = level.SizeX, layerStride = int64_t{level.SizeX} * level.SizeY;
    const int64_t x1 = std::min<int64_t>(box.x1, level.SizeX - 1);
    const int64_t y1 = std::min<int64_t>(box.y1, level.SizeY - 1);
    const int64_t z1 = std::min<int64_t>(box.z1, level.SizeZ - 1);
    for (int64_t x = box.x0; x <= x1; ++x) {
        for (int64_t y = box.y0; y <= y1; ++y) {
            const int64_t base = x + y * rowStride;
            for (int64_t z = box.z0; z <= z1; ++z) {
                const int64_t index = base + z * layerStride;
                if (index >= level.CellCount) break;
                const int32_t type = level.CellTypes[index];
                if (!types.Shown(type)) continue;
                DrawCell(view, types,
                         {static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(z),
                          type, static_cast<int32_t>(index)});
            }
        }
    }
}

}  // namespace

float FadeRange(float lightRange) { return lightRange > 0.01f ? lightRange : 0.01f; }

int32_t DistanceFade(double distance, double range, int32_t transparency) {
    const double excess = (distance - 2.0 * range / 3.0) * 300.0 / range;
    int64_t fade = transparency;
    if (excess > 0) fade += G3DTrunc32(excess);
    return static_cast<int32_t>(std::min<int64_t>(fade, 255));
}

int32_t SceneLightRadius(int64_t radius) {
    // The engine stores radius + 1, which must stay inside 32 bits.
    return static_cast<int32_t>(std::clamp<int64_t>(radius, INT32_MIN, INT32_MAX - 1));
}

void DrawScene(int32_t targetX, int32_t targetY, int32_t targetZ, float cameraX, float cameraY,
               float cameraZ, float yaw, float pitch, float roll, float lightRange,
               LevelStuff& level, TDStuff& engine, platform::Window& /*owner*/) {
    AnimateWorld(level);
    ResetBlocCube();
    G3DClearScreen(engine.BackIndex[0], engine);
    const SceneView view{level,
                         engine,
                         G3DTrunc32(cameraX),
                         G3DTrunc32(cameraY),
                         G3DTrunc32(cameraZ),
                         CellOfCoordinate(G3DTrunc32(cameraX)),
                         CellOfCoordinate(G3DTrunc32(cameraY)),
                         CellOfCoordinate(G3DTrunc32(cameraZ)),
                         FadeRange(lightRange),
                         targetX,
                         targetY,
                         targetZ};
    const int32_t y = G3DTrunc32(yaw), p = G3DTrunc32(pitch), r = G3DTrunc32(roll);
    DrawSky(view, y, p, r);
    SetSceneCamera(view, y, p, r);
    for (const TileAnimationStuff& row : level.TileAnimations) DrawTileAnimation(view, row);
    for (const GolemStuff& golem : level.Golems) DrawGolem(view, golem);
    const ViewBox box = ViewBoxOf(view);
    for (const MovingBlocStuff& row : level.MovingBlocs) DrawMovingBloc(view, box, row);
    DrawCells(view, box);
}
