#include "engine/G3DRender.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "engine/G3DAngles.h"
#include "engine/G3DBackend.h"

namespace {

struct Vec {
    float x, y, z;
};

int64_t RowTimes(const float* row, int32_t x, int32_t y, int32_t z) {
    return G3DRound64(static_cast<double>(row[0]) * x + static_cast<double>(row[1]) * y +
                      static_cast<double>(row[2]) * z);
}

// The bounds of a mesh's placed vertices.
struct Box {
    float lo[3] = {INFINITY, INFINITY, INFINITY};
    float hi[3] = {-INFINITY, -INFINITY, -INFINITY};
    void Add(float x, float y, float z) {
        lo[0] = std::min(lo[0], x), hi[0] = std::max(hi[0], x);
        lo[1] = std::min(lo[1], y), hi[1] = std::max(hi[1], y);
        lo[2] = std::min(lo[2], z), hi[2] = std::max(hi[2], z);
    }
};

// Fills the scratch space with the mesh's vertices turned and placed relative
// to the camera.
Box TransformVertices(const TG3DMesh& mesh, int32_t x, int32_t y, int32_t z, int32_t yaw,
                      int32_t roll, int32_t pitch, const TDStuff& state, TG3DScratch& s) {
    const int64_t tx = int64_t{x} - state.CamX;
    const int64_t ty = int64_t{y} - state.CamY;
    const int64_t tz = int64_t{z} - state.CamZ;
    const bool turned = yaw != 0 || roll != 0 || pitch != 0;
    const std::array<float, 9> m = turned ? G3DTurnMatrix(G3DCos(yaw), G3DSin(yaw), G3DCos(pitch),
                                                          G3DSin(pitch), G3DCos(roll), G3DSin(roll))
                                          : std::array<float, 9>{};
    Box box;
    for (int32_t i = 0; i <= mesh.LastVertex; ++i) {
        int64_t vx = mesh.X[i], vy = mesh.Y[i], vz = mesh.Z[i];
        if (turned) {
            const int32_t ox = mesh.X[i], oy = mesh.Y[i], oz = mesh.Z[i];
            vx = RowTimes(&m[0], ox, oy, oz);
            vy = RowTimes(&m[3], ox, oy, oz);
            vz = RowTimes(&m[6], ox, oy, oz);
        }
        s.X[i] = static_cast<float>(vx + tx);
        s.Y[i] = static_cast<float>(vy + ty);
        s.Z[i] = static_cast<float>(vz + tz);
        s.Lit[i] = 0;
        box.Add(s.X[i], s.Y[i], s.Z[i]);
    }
    return box;
}

// Lights that can reach some vertex of the mesh: those whose reach ends before
// the mesh's bounding box add exactly nothing to any of its vertices.
struct ActiveLights {
    int32_t count = 0;
    std::array<uint8_t, kG3DLightCount> index{};
};

double Gap(float low, float high, float at) {
    if (at < low) return double{low} - at;
    if (at > high) return double{at} - high;
    return 0;
}

void FindActiveLights(const Box& box, const TDStuff& state, ActiveLights& active) {
    active.count = 0;
    const int32_t last = std::min(state.LastLight, kG3DLightCount - 1);
    for (int32_t i = 0; i <= last; ++i) {
        const TG3DLight& light = state.Lights[i];
        const double gx = Gap(box.lo[0], box.hi[0], static_cast<float>(light.X));
        const double gy = Gap(box.lo[1], box.hi[1], static_cast<float>(light.Y));
        const double gz = Gap(box.lo[2], box.hi[2], static_cast<float>(light.Z));
        const double reach = static_cast<double>(light.Radius) - 1;
        if (gx * gx + gy * gy + gz * gz < reach * reach) {
            active.index[active.count++] = static_cast<uint8_t>(i);
        }
    }
}

// Contribution of one light at a camera-relative point.
float LightFrom(const TG3DLight& light, float x, float y, float z) {
    const double dx = x - static_cast<float>(light.X);
    const double dy = y - static_cast<float>(light.Y);
    const double dz = z - static_cast<float>(light.Z);
    const double d2 = dx * dx + dy * dy + dz * dz;
    const double reach = static_cast<double>(light.Radius) - 1;  // Round(d) >= reach: no light
    if (d2 >= reach * reach) return 0.0f;
    const double rounded = std::nearbyint(std::sqrt(d2));
    return 1.0f - std::min(1.0f, static_cast<float>((rounded + 1) / light.Radius));
}

float LightVertex(int32_t v, int32_t brightness, const TDStuff& state, const ActiveLights& active,
                  TG3DScratch& s) {
    const float base = static_cast<float>(brightness) / 256.0f;
    if (state.LastLight < 0) {
        s.Dark[v] = 1.0f - base;
    } else {
        float sum = 0;
        for (int32_t i = 0; i < active.count; ++i) {
            sum += LightFrom(state.Lights[active.index[i]], s.X[v], s.Y[v], s.Z[v]);
        }
        s.Dark[v] = 1.0f - std::clamp(base + sum, 0.0f, 1.0f);
    }
    s.Lit[v] = 1;
    return s.Dark[v];
}

// Darkness of a vertex, lit once per draw.
inline float VertexDark(int32_t v, int32_t brightness, const TDStuff& state,
                        const ActiveLights& active, TG3DScratch& s) {
    return s.Lit[v] ? s.Dark[v] : LightVertex(v, brightness, state, active, s);
}

float FaceAlpha(const TG3DFace& face, int32_t transparency) {
    const int64_t sum = int64_t{face.Transparency} + transparency;
    return std::max(0.0f, static_cast<float>(1.0 - static_cast<double>(sum) / 100.0));
}

const TAnimTexture& AnimTexture(const TDStuff& state, uint16_t texture) {
    return state.AnimTextures[texture < kG3DTextureCount ? texture : 0];
}

void SetCorners(TG3DTriangle& t, const Vec& p0, const Vec& p1, const Vec& p2) {
    t.X0 = p0.x, t.Y0 = p0.y, t.Z0 = p0.z;
    t.X1 = p1.x, t.Y1 = p1.y, t.Z1 = p1.z;
    t.X2 = p2.x, t.Y2 = p2.y, t.Z2 = p2.z;
}

// True when a single-sided face turns its back to the camera.
bool FacesAway(const Vec& p0, const Vec& p1, const Vec& p2) {
    const double ax = p1.x - double{p0.x}, ay = p1.y - double{p0.y}, az = p1.z - double{p0.z};
    const double bx = p2.x - double{p0.x}, by = p2.y - double{p0.y}, bz = p2.z - double{p0.z};
    const double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
    const double s = (double{p0.x} + p1.x + p2.x) * nx + (double{p0.y} + p1.y + p2.y) * ny +
                     (double{p0.z} + p1.z + p2.z) * nz;
    return s > 0;
}

int32_t CentroidKey(const Vec& p0, const Vec& p1, const Vec& p2) {
    return G3DTrunc32(std::fabs((double{p0.x} + p1.x + p2.x) / 3) +
                      std::fabs((double{p0.y} + p1.y + p2.y) / 3) +
                      std::fabs((double{p0.z} + p1.z + p2.z) / 3));
}

struct MeshDraw {
    const TG3DMesh& mesh;
    int32_t x, z, yaw, brightness, transparency;
    TDStuff& state;
    TG3DScratch& s;
    const ActiveLights& lights;
    mutable int32_t alphaOf = -1;  // face transparency whose alpha is cached
    mutable float alpha = 0;

    float Alpha(const TG3DFace& face) const {
        if (face.Transparency != alphaOf) {
            alphaOf = face.Transparency;
            alpha = FaceAlpha(face, transparency);
        }
        return alpha;
    }
};

bool ListFull(const TDStuff& state) {
    return state.TriangleCount >= static_cast<int32_t>(state.RenderList.size());
}

void AddFace(const MeshDraw& d, const TG3DFace& face) {
    if (face.V0 > d.mesh.LastVertex || face.V1 > d.mesh.LastVertex || face.V2 > d.mesh.LastVertex) {
        return;
    }
    const Vec p0{d.s.X[face.V0], d.s.Y[face.V0], d.s.Z[face.V0]};
    const Vec p1{d.s.X[face.V1], d.s.Y[face.V1], d.s.Z[face.V1]};
    const Vec p2{d.s.X[face.V2], d.s.Y[face.V2], d.s.Z[face.V2]};
    if (face.DoubleSided == 0 && FacesAway(p0, p1, p2)) return;
    TDStuff& state = d.state;
    TG3DTriangle& t = state.RenderList[state.TriangleCount];
    SetCorners(t, p0, p1, p2);
    t.Key = CentroidKey(p0, p1, p2);
    t.Alpha = d.Alpha(face);
    if (face.Kind >= kG3DFaceFlat) {
        const uint8_t c = static_cast<uint8_t>(face.Texture);  // flat colours use the low byte
        t.Untextured = true;
        t.Red = state.SecondPalette[c];
        t.Green = state.SecondPalette[256 + c];
        t.Blue = state.SecondPalette[512 + c];
    } else {
        t.Untextured = false;
        t.Texture = AnimTexture(state, face.Texture).Current;
        t.AlphaTest = face.Kind == kG3DFaceAlphaTested;
        t.LayoutLow = face.Layout == 0 || face.Layout == 2;
        t.LayoutSwap = face.Layout == 2 || face.Layout == 3;
    }
    t.Dark0 = VertexDark(face.V0, d.brightness, state, d.lights, d.s);
    t.Dark1 = VertexDark(face.V1, d.brightness, state, d.lights, d.s);
    t.Dark2 = VertexDark(face.V2, d.brightness, state, d.lights, d.s);
    ++state.TriangleCount;
}

// The picture of a sprite's texture range that faces the camera.
int32_t SpritePicture(const MeshDraw& d, const TG3DFace& face) {
    const TAnimTexture& range = AnimTexture(d.state, face.Texture);
    const int64_t k = int64_t{range.Last} - range.First + 1;
    if (k <= 0) return range.First;
    int64_t a = G3DAngleOf(int64_t{d.mesh.X[face.V0]} + d.x - d.state.CamX,
                           int64_t{d.mesh.Z[face.V0]} + d.z - d.state.CamZ);
    a -= int64_t{d.yaw} * 180 / 16384;
    a = (a + 160 / k) % 360;
    if (a < 0) a += 360;
    return G3DClamp32(range.First + a * k / 360);
}

struct SpriteShape {
    Vec corners[4];  // right-bottom, left-bottom, left-top, right-top
    float dark[4];
    int32_t key;
    int32_t picture;
};

void AddSpriteTriangle(const MeshDraw& d, const TG3DFace& face, const SpriteShape& shape,
                       const int* order, bool layoutLow) {
    TDStuff& state = d.state;
    if (ListFull(state)) return;
    TG3DTriangle& t = state.RenderList[state.TriangleCount];
    SetCorners(t, shape.corners[order[0]], shape.corners[order[1]], shape.corners[order[2]]);
    t.Key = shape.key;
    t.Alpha = d.Alpha(face);
    t.AlphaTest = true;
    t.Untextured = false;
    t.LayoutSwap = false;
    t.LayoutLow = layoutLow;
    t.Texture = shape.picture;
    t.Dark0 = shape.dark[order[0]];
    t.Dark1 = shape.dark[order[1]];
    t.Dark2 = shape.dark[order[2]];
    ++state.TriangleCount;
}

void AddSprite(const MeshDraw& d, const TG3DFace& face) {
    if (face.V0 > d.mesh.LastVertex) return;
    const Vec c{d.s.X[face.V0], d.s.Y[face.V0], d.s.Z[face.V0]};
    const float hw = static_cast<float>(face.V1) / 2, hh = static_cast<float>(face.V2) / 2;
    const float ox = hw * d.state.CosYaw, oz = -hw * d.state.SinYaw;
    SpriteShape shape{{{c.x + ox, c.y - hh, c.z + oz},
                       {c.x - ox, c.y - hh, c.z - oz},
                       {c.x - ox, c.y + hh, c.z - oz},
                       {c.x + ox, c.y + hh, c.z + oz}},
                      {},
                      G3DTrunc32(std::fabs(c.z)),
                      SpritePicture(d, face)};
    for (int i = 0; i < 4; ++i) {
        const Vec& p = shape.corners[i];
        shape.dark[i] = 1.0f - G3DLightAt(d.brightness, d.state, p.x, p.y, p.z);
    }
    static constexpr int kFirst[3] = {0, 1, 2}, kSecond[3] = {2, 3, 0};
    AddSpriteTriangle(d, face, shape, kFirst, false);
    AddSpriteTriangle(d, face, shape, kSecond, true);
}

// One partition step: the pivot (the last key) goes to its final place, larger
// keys before it, smaller after. Returns its index.
int32_t Partition(TG3DSortEntry* e, int32_t low, int32_t high) {
    const int32_t v = e[high].Key;
    int32_t i = low - 1;
    int32_t j = high;
    do {
        // No bound test for i: the pivot stays at `high` until the scans cross.
        do ++i;
        while (e[i].Key > v);
        do --j;
        while (!(e[j].Key >= v || j <= low));
        std::swap(e[i], e[j]);
    } while (i < j);
    const TG3DSortEntry last = e[j];
    e[j] = e[i];
    e[i] = e[high];
    e[high] = last;
    return i;
}

// Sorts e[low..high] by key, farthest (largest) first, without partitioning.
void HeapSortRange(TG3DSortEntry* e, int32_t low, int32_t high) {
    const auto farther = [](const TG3DSortEntry& a, const TG3DSortEntry& b) {
        return a.Key > b.Key;
    };
    std::make_heap(e + low, e + high + 1, farther);
    std::sort_heap(e + low, e + high + 1, farther);
}

// The quicksort, recursing into the smaller side. A range still being split
// after `depth` partitions (presorted lists, which a scene walked in grid
// order gives, would cost quadratic time) is finished by a heap sort: only the
// order of equal keys inside it can then differ.
void SortRange(TG3DSortEntry* e, int32_t low, int32_t high, int32_t depth) {
    while (low < high) {
        if (depth-- <= 0) {
            HeapSortRange(e, low, high);
            return;
        }
        const int32_t p = Partition(e, low, high);
        if (p - low < high - p) {
            SortRange(e, low, p - 1, depth);
            low = p + 1;
        } else {
            SortRange(e, p + 1, high, depth);
            high = p - 1;
        }
    }
}

}  // namespace

void G3DDrawMesh(const TG3DMesh* mesh, int32_t x, int32_t y, int32_t z, int32_t yaw, int32_t roll,
                 int32_t pitch, int32_t brightness, int32_t transparency, int32_t /*unused*/,
                 TDStuff& state) {
    if (mesh == nullptr || mesh->LastVertex < 0) return;
    TG3DScratch& s = G3DScratchMesh();
    G3DGrowScratch(mesh->LastVertex + 1, 0);  // for a mesh built by hand
    const Box box = TransformVertices(*mesh, x, y, z, yaw, roll, pitch, state, s);
    static ActiveLights active;  // the draw's scratch, like the vertex scratch
    FindActiveLights(box, state, active);
    const MeshDraw d{*mesh, x, z, yaw, brightness, transparency, state, s, active};
    for (int32_t j = 0; j <= mesh->LastFace && !ListFull(state); ++j) {
        const TG3DFace& face = mesh->Faces[j];
        if (face.Kind == kG3DFaceSprite) {
            AddSprite(d, face);
        } else {
            AddFace(d, face);
        }
    }
}

void G3DAddLight(int32_t x, int32_t y, int32_t z, int32_t radius, TDStuff& state) {
    if (state.LastLight >= kG3DLightCount - 1) return;
    const int64_t stored = int64_t{radius} + 1;
    if (stored <= 0 || stored > INT32_MAX) return;
    ++state.LastLight;
    state.Lights[state.LastLight] = {x / 256, y / 256, z / 256, static_cast<int32_t>(stored)};
}

float G3DLightAt(int32_t own, const TDStuff& state, float x, float y, float z) {
    const float base = static_cast<float>(own) / 256.0f;
    if (state.LastLight < 0) return base;
    float sum = 0;
    const int32_t last = std::min(state.LastLight, kG3DLightCount - 1);
    for (int32_t i = 0; i <= last; ++i) sum += LightFrom(state.Lights[i], x, y, z);
    return std::clamp(base + sum, 0.0f, 1.0f);
}

void G3DSortTriangles(int32_t low, int32_t high, TDStuff& state) {
    low = std::max(low, 0);
    high = std::min<int64_t>(high, static_cast<int64_t>(state.SortBuffer.size()) - 1);
    if (low >= high) return;
    // Three times the depth of a balanced split: random scenes stay well
    // inside it, so they keep the quicksort's own order.
    const auto count = static_cast<uint32_t>(int64_t{high} - low + 1);
    SortRange(state.SortBuffer.data(), low, high, 3 * std::bit_width(count));
}

void G3DFlush(TDStuff& state) {
    const int32_t count =
        std::clamp<int32_t>(state.TriangleCount, 0, static_cast<int32_t>(state.RenderList.size()));
    for (int32_t i = 0; i < count; ++i) state.SortBuffer[i] = {i, state.RenderList[i].Key};
    G3DSortTriangles(0, count - 1, state);
    G3DBackendDrawList(state, count);
    state.TriangleCount = 0;
    state.LastLight = -1;
}
