#include "engine/G3DRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <pthread.h>

#include <memory>
#include <random>

#include "engine/G3DCamera.h"

namespace {

class G3DRenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        G3DSetViewport(*state, 320, 240, 256, 256, 64, 1, 4, 1000);
        G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    }
    void TearDown() override { G3DFreeMesh(mesh); }

    // A mesh of the given vertices and faces.
    void Build(const std::vector<std::array<int32_t, 3>>& vertices,
               const std::vector<TG3DFace>& faces) {
        G3DAllocMesh(mesh, static_cast<int32_t>(vertices.size()) - 1,
                     static_cast<int32_t>(faces.size()) - 1);
        for (size_t i = 0; i < vertices.size(); ++i) {
            mesh->X[i] = vertices[i][0];
            mesh->Y[i] = vertices[i][1];
            mesh->Z[i] = vertices[i][2];
        }
        std::copy(faces.begin(), faces.end(), mesh->Faces.begin());
    }
    void Draw(int32_t x = 0, int32_t y = 0, int32_t z = 0, int32_t yaw = 0,
              int32_t transparency = 0, int32_t brightness = 256) {
        G3DDrawMesh(mesh, x, y, z, yaw, 0, 0, brightness, transparency, -1, *state);
    }
    const TG3DTriangle& Triangle(int i) const { return state->RenderList[i]; }

    std::unique_ptr<TDStuff> state = std::make_unique<TDStuff>();
    TG3DMesh* mesh = nullptr;
};

// A triangle in front of the camera at depth z, facing it.
const std::vector<std::array<int32_t, 3>> kFacing = {{0, 0, 1000}, {0, 100, 1000}, {100, 0, 1000}};

TEST_F(G3DRenderTest, UnturnedMeshKeepsItsCoordinates) {
    Build({{12345, -7, 1000001}, {12345, 93, 1000001}, {12445, -7, 1000001}},
          {{0, 1, 2, 0, 0, 0, 0, 0}});
    state->CamX = 345;
    state->CamY = -1;
    Draw(-12000, 6, -1);
    ASSERT_EQ(state->TriangleCount, 1);
    EXPECT_EQ(Triangle(0).X0, 0.0f);
    EXPECT_EQ(Triangle(0).Y1, 100.0f);
    EXPECT_EQ(Triangle(0).Z2, 1000000.0f);
    EXPECT_EQ(Triangle(0).X2, 100.0f);
    EXPECT_EQ(Triangle(0).Key, 1000066);
}

TEST_F(G3DRenderTest, TurnedMeshRoundsToWholeUnits) {
    // A quarter turn of yaw (16384 = half a turn) turns by -yaw: +Z goes to -X.
    Build({{0, 0, 1000}, {0, 0, 1000}, {0, 0, 1000}}, {{0, 1, 2, 0, 0, 1, 0, 0}});
    Draw(0, 0, 5000, 8192);
    ASSERT_EQ(state->TriangleCount, 1);
    EXPECT_EQ(Triangle(0).X0, -1000.0f);
    EXPECT_EQ(Triangle(0).Z0, 5000.0f);  // ca is 4.6e-5: 0.046 rounds to 0
}

TEST_F(G3DRenderTest, BackFaces) {
    struct Case {
        std::vector<std::array<int32_t, 3>> vertices;
        uint16_t doubleSided;
        int expected;
    };
    const Case cases[] = {
        {kFacing, 0, 1},
        {{{0, 0, 1000}, {100, 0, 1000}, {0, 100, 1000}}, 0, 0},  // turned away
        {{{0, 0, 1000}, {100, 0, 1000}, {0, 100, 1000}}, 1, 1},  // double-sided
        {{{0, 0, 1000}, {0, 100, 1000}, {0, 0, 2000}}, 0, 1},    // edge-on: S = 0 stays
    };
    for (const Case& c : cases) {
        Build(c.vertices, {{0, 1, 2, 0, 0, c.doubleSided, 0, 0}});
        state->TriangleCount = 0;
        Draw();
        EXPECT_EQ(state->TriangleCount, c.expected);
    }
}

TEST_F(G3DRenderTest, AlphaFromObjectAndFaceTransparency) {
    const std::array<int32_t, 3> cases[] = {
        {30, 50, 20}, {80, 50, 0}, {0, 0, 100}, {200, 0, 0}, {-50, 0, 150}};
    for (const auto& [object, face, percent] : cases) {
        Build(kFacing, {{0, 1, 2, 0, 0, 0, 0, static_cast<uint16_t>(face)}});
        state->TriangleCount = 0;
        Draw(0, 0, 0, 0, object);
        EXPECT_FLOAT_EQ(Triangle(0).Alpha, percent / 100.0f) << object << "+" << face;
    }
}

TEST_F(G3DRenderTest, FaceKindsAndLayouts) {
    state->SecondPalette[0xFF] = 200;
    state->SecondPalette[256 + 0xFF] = 100;
    state->SecondPalette[512 + 0xFF] = 50;
    state->AnimTextures[0].Current = 17;
    state->AnimTextures[9].Current = 44;
    Build(kFacing, {{0, 1, 2, 0x1FF, 0, 0, 3, 0},  // flat: the low byte of the colour
                    {0, 1, 2, 9, 0, 0, 0, 0},
                    {0, 1, 2, 9, 1, 0, 1, 0},
                    {0, 1, 2, 40000, 2, 0, 0, 0},  // texture number beyond the table: 0
                    {0, 1, 2, 9, 3, 0, 7, 0},      // kinds above 3 are flat too
                    {0, 1, 2, 9, 5, 0, 0, 0}});
    Draw();
    ASSERT_EQ(state->TriangleCount, 6);
    EXPECT_TRUE(Triangle(0).Untextured);
    EXPECT_EQ(Triangle(0).Red, 200);
    EXPECT_EQ(Triangle(0).Green, 100);
    EXPECT_EQ(Triangle(0).Blue, 50);
    const struct {
        int i, texture;
        bool alphaTest, low, swap;
    } textured[] = {{1, 44, false, true, false},
                    {2, 44, true, false, false},
                    {3, 17, false, true, true},
                    {5, 44, false, false, false}};
    for (const auto& e : textured) {
        EXPECT_FALSE(Triangle(e.i).Untextured) << e.i;
        EXPECT_EQ(Triangle(e.i).Texture, e.texture) << e.i;
        EXPECT_EQ(Triangle(e.i).AlphaTest, e.alphaTest) << e.i;
        EXPECT_EQ(Triangle(e.i).LayoutLow, e.low) << e.i;
        EXPECT_EQ(Triangle(e.i).LayoutSwap, e.swap) << e.i;
    }
    EXPECT_TRUE(Triangle(4).Untextured);
}

TEST_F(G3DRenderTest, SpritePictureFollowsTheViewingAngle) {
    state->AnimTextures[3] = {10, 17, 10};  // eight pictures
    state->AnimTextures[4] = {5, 3, 5};     // a descending range: k < 0
    state->AnimTextures[6] = {5, 4, 5};     // k = 0
    struct Case {
        int32_t x, z, yaw;
        uint16_t texture;
        int32_t picture;
    };
    const Case cases[] = {
        {1000, 0, 0, 3, 10},           // angle 0: sector (0 + 20) → first
        {940, -342, 0, 3, 10},         // angle 340: (340 + 20) mod 360 = 0
        {819, -574, 0, 3, 17},         // angle 325: 345 → first + 7
        {0, 1000, 0, 3, 12},           // angle 90: 110 × 8 div 360 = 2
        {0, 1000, 8192, 3, 10},        // angle 90 - 90 = 0
        {1000, 0, 2100000000, 3, 11},  // yaw × 180 needs 64 bits (wrapped: 16)
        {1000, 0, 0, 4, 5},           {1000, 0, 0, 6, 5},
    };
    for (const Case& c : cases) {
        Build({{c.x, 0, c.z}}, {{0, 64, 128, c.texture, 0, 0, 2, 0}});
        state->TriangleCount = 0;
        Draw(0, 0, 0, c.yaw);
        ASSERT_EQ(state->TriangleCount, 2);
        EXPECT_EQ(Triangle(0).Texture, c.picture) << c.x << "," << c.z << " yaw " << c.yaw;
        EXPECT_EQ(Triangle(1).Texture, c.picture);
    }
}

TEST_F(G3DRenderTest, SpriteFacesTheCamera) {
    state->AnimTextures[3] = {10, 10, 10};
    Build({{0, 500, 2000}}, {{0, 64, 128, 3, 0, 0, 2, 30}});
    Draw();
    ASSERT_EQ(state->TriangleCount, 2);
    const TG3DTriangle& a = Triangle(0);
    const TG3DTriangle& b = Triangle(1);
    EXPECT_EQ(a.X0, 32.0f);
    EXPECT_EQ(a.Y0, 436.0f);
    EXPECT_EQ(a.X1, -32.0f);
    EXPECT_EQ(a.Y2, 564.0f);
    EXPECT_EQ(a.Z0, 2000.0f);
    EXPECT_EQ(b.X1, 32.0f);
    EXPECT_EQ(b.Y1, 564.0f);
    EXPECT_EQ(a.Key, 2000);
    EXPECT_FALSE(a.LayoutLow);
    EXPECT_TRUE(b.LayoutLow);
    EXPECT_TRUE(a.AlphaTest && b.AlphaTest);
    EXPECT_FALSE(a.LayoutSwap || b.LayoutSwap || a.Untextured);
    EXPECT_FLOAT_EQ(a.Alpha, 0.7f);
}

TEST_F(G3DRenderTest, RenderListCapacity) {
    G3DSetViewport(*state, 320, 240, 256, 256, 64, 1, 4, 3);
    Build(kFacing, std::vector<TG3DFace>(4, TG3DFace{0, 1, 2, 0, 0, 0, 0, 0}));
    Draw();
    EXPECT_EQ(state->TriangleCount, 3);
    Draw();  // a full list takes nothing more
    EXPECT_EQ(state->TriangleCount, 3);
    state->TriangleCount = 2;
    Build({{0, 0, 1000}}, {{0, 64, 128, 0, 0, 0, 2, 0}});
    Draw();  // a sprite's second triangle no longer fits
    EXPECT_EQ(state->TriangleCount, 3);
}

TEST_F(G3DRenderTest, LargeMeshesDrawWithinTheirScratch) {
    G3DSetViewport(*state, 320, 240, 256, 256, 64, 1, 4, 100000);
    std::vector<std::array<int32_t, 3>> vertices(6001, std::array<int32_t, 3>{0, 0, 1000});
    vertices[6000] = {0, 100, 1000};
    vertices[5999] = {100, 0, 1000};
    Build(vertices, std::vector<TG3DFace>(101, TG3DFace{5998, 6000, 5999, 0, 0, 0, 0, 0}));
    Draw();
    EXPECT_EQ(state->TriangleCount, 101);
    EXPECT_EQ(Triangle(100).Y1, 100.0f);

    state->TriangleCount = 0;
    Build(kFacing, std::vector<TG3DFace>(20001, TG3DFace{0, 1, 2, 0, 0, 0, 0, 0}));
    Draw();
    EXPECT_EQ(state->TriangleCount, 20001);
}

TEST_F(G3DRenderTest, LightFallOff) {
    EXPECT_FLOAT_EQ(G3DLightAt(300, *state, 0, 0, 0), 1.171875f);  // no light: not clamped
    G3DAddLight(0, 0, 0, 99, *state);
    EXPECT_EQ(state->Lights[0].Radius, 100);
    EXPECT_FLOAT_EQ(G3DLightAt(0, *state, 49.6f, 0, 0), 0.49f);  // 1 - 51 / 100
    EXPECT_FLOAT_EQ(G3DLightAt(0, *state, 48.5f, 0, 0), 0.51f);  // 48.5 rounds to 48
    EXPECT_FLOAT_EQ(G3DLightAt(0, *state, 0, 99, 0), 0.0f);
    EXPECT_FLOAT_EQ(G3DLightAt(0, *state, 0, 0, -500), 0.0f);
    EXPECT_FLOAT_EQ(G3DLightAt(140, *state, 30, 40, 0), 1.0f);  // 0.55 + 0.49, 1 at most
    EXPECT_FLOAT_EQ(G3DLightAt(-512, *state, 0, 0, 0), 0.0f);   // clamped below
}

TEST_F(G3DRenderTest, LightTable) {
    G3DAddLight(2815, -300, 255, 10, *state);
    EXPECT_EQ(state->Lights[0].X, 10);
    EXPECT_EQ(state->Lights[0].Y, -1);  // toward zero
    EXPECT_EQ(state->Lights[0].Z, 0);
    G3DAddLight(0, 0, 0, -1, *state);         // no reach: skipped
    G3DAddLight(0, 0, 0, INT32_MAX, *state);  // radius + 1 does not fit: skipped
    EXPECT_EQ(state->LastLight, 0);
    for (int i = 0; i < 300; ++i) G3DAddLight(i * 256, 0, 0, 5, *state);
    EXPECT_EQ(state->LastLight, 255);
    EXPECT_EQ(state->Lights[255].X, 254);  // the 257th and later are ignored
}

TEST_F(G3DRenderTest, VerticesTakeTheirLight) {
    G3DAddLight(0, 0, 0, 1999, *state);  // reaches the triangle at depth 1000
    Build(kFacing, {{0, 1, 2, 0, 0, 0, 0, 0}});
    Draw(0, 0, 0, 0, 0, 0);
    const float expected = 1.0f - (1.0f - 1001.0f / 2000.0f);
    EXPECT_FLOAT_EQ(Triangle(0).Dark0, expected);
    EXPECT_FLOAT_EQ(Triangle(0).Dark1, 1.0f - (1.0f - 1006.0f / 2000.0f));  // distance 1005
}

std::vector<int32_t> SortedIndices(TDStuff& state, const std::vector<int32_t>& keys) {
    state.SortBuffer.resize(std::max(state.SortBuffer.size(), keys.size()));
    for (size_t i = 0; i < keys.size(); ++i) {
        state.SortBuffer[i] = {static_cast<int32_t>(i), keys[i]};
    }
    G3DSortTriangles(0, static_cast<int32_t>(keys.size()) - 1, state);
    std::vector<int32_t> order;
    for (size_t i = 0; i < keys.size(); ++i) order.push_back(state.SortBuffer[i].Index);
    return order;
}

TEST_F(G3DRenderTest, SortOrderIncludingEqualKeys) {
    EXPECT_EQ(SortedIndices(*state, {5, 9, 9, 1}), (std::vector<int32_t>{1, 2, 0, 3}));
    EXPECT_EQ(SortedIndices(*state, {7, 7, 7}), (std::vector<int32_t>{1, 2, 0}));
    EXPECT_EQ(SortedIndices(*state, {3}), (std::vector<int32_t>{0}));
    EXPECT_EQ(SortedIndices(*state, {1, 2}), (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(SortedIndices(*state, {2, 2}), (std::vector<int32_t>{1, 0}));
}

// Runs `work` on a thread with a small stack: a sort that recursed once per
// element on sorted keys would overflow it.
void OnSmallStack(void (*work)(void*), void* argument) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 128 * 1024);
    pthread_t thread;
    struct Call {
        void (*work)(void*);
        void* argument;
    } call{work, argument};
    auto run = [](void* c) -> void* {
        static_cast<Call*>(c)->work(static_cast<Call*>(c)->argument);
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, &call), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

TEST_F(G3DRenderTest, SortOfLongRuns) {
    for (bool ascending : {true, false}) {
        std::vector<int32_t> keys(20000);
        for (size_t i = 0; i < keys.size(); ++i) {
            keys[i] = static_cast<int32_t>(ascending ? i : keys.size() - i);
        }
        struct Job {
            TDStuff* state;
            std::vector<int32_t>* keys;
            std::vector<int32_t> order;
        } job{state.get(), &keys, {}};
        OnSmallStack(
            [](void* j) {
                auto* job = static_cast<Job*>(j);
                job->order = SortedIndices(*job->state, *job->keys);
            },
            &job);
        ASSERT_EQ(job.order.size(), keys.size());
        for (size_t i = 1; i < keys.size(); ++i)
            ASSERT_GT(keys[job.order[i - 1]], keys[job.order[i]]);
    }
    std::vector<int32_t> keys(100000);
    std::mt19937 random(7);
    for (int32_t& k : keys) k = static_cast<int32_t>(random() % 50);
    const std::vector<int32_t> order = SortedIndices(*state, keys);
    for (size_t i = 1; i < order.size(); ++i) ASSERT_GE(keys[order[i - 1]], keys[order[i]]);
}

// The quicksort as the engine defines it, plainly recursive, to compare with.
void ReferenceQuicksort(std::vector<TG3DSortEntry>& e, int32_t low, int32_t high) {
    if (low >= high) return;
    const int32_t v = e[high].Key;
    int32_t i = low - 1, j = high;
    do {
        do ++i;
        while (!(e[i].Key <= v || i >= high));
        do --j;
        while (!(e[j].Key >= v || j <= low));
        std::swap(e[i], e[j]);
    } while (i < j);
    const TG3DSortEntry old = e[j];
    e[j] = e[i];
    e[i] = e[high];
    e[high] = old;
    ReferenceQuicksort(e, low, i - 1);
    ReferenceQuicksort(e, i + 1, high);
}

TEST_F(G3DRenderTest, SortKeepsTheQuicksortOrderOfTiesOnScenes) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        std::vector<int32_t> keys(5000);
        for (int32_t& k : keys) k = static_cast<int32_t>(random() % 700);
        std::vector<TG3DSortEntry> expected;
        for (size_t i = 0; i < keys.size(); ++i)
            expected.push_back({static_cast<int32_t>(i), keys[i]});
        ReferenceQuicksort(expected, 0, static_cast<int32_t>(keys.size()) - 1);
        const std::vector<int32_t> order = SortedIndices(*state, keys);
        for (size_t i = 0; i < keys.size(); ++i) ASSERT_EQ(order[i], expected[i].Index) << seed;
    }
}

TEST_F(G3DRenderTest, FlushEmptiesListAndLights) {
    Build(kFacing, {{0, 1, 2, 0, 0, 0, 0, 0}});
    Draw();
    G3DAddLight(0, 0, 0, 10, *state);
    G3DFlush(*state);
    EXPECT_EQ(state->TriangleCount, 0);
    EXPECT_EQ(state->LastLight, -1);
    G3DFlush(*state);  // an empty list flushes too
    EXPECT_EQ(state->LastLight, -1);
}

}  // namespace
