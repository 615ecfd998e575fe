// The engine over the software device: its own numbers (vertex colours, the
// field of view, the camera's vectors, overlay corners, texture coordinates),
// the calls of one frame, and frames drawn into a hidden window's back buffer
// and shown in it.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/G3D3DFile.h"
#include "engine/G3DCamera.h"
#include "engine/G3DEngine.h"
#include "engine/G3DImages.h"
#include "engine/G3DRender.h"
#include "engine/d3d8/D3D8Device.h"
#include "engine/d3d8/D3D8Draw.h"
#include "engine/d3d8/D3D8Textures.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"
#include "support/WinFunc.h"
#include "tests/engine/TestFiles.h"

namespace {

TG3DTriangle Triangle(bool flat, float alpha, float d0, float d1, float d2) {
    TG3DTriangle t{};
    t.Untextured = flat;
    t.Red = 200, t.Green = 100, t.Blue = 50;
    t.Alpha = alpha;
    t.Dark0 = d0, t.Dark1 = d1, t.Dark2 = d2;
    return t;
}

TEST(D3D8Numbers, VertexColoursHalveAndHold) {
    const struct {
        const char* name;
        TG3DTriangle t;
        std::array<d3d8::Color, 3> expected;
    } cases[] = {
        {"flat, darkness 0, 0.5, 1",
         Triangle(true, 1, 0, 0.5f, 1),
         {0xFFC86432, 0xFF643219, 0xFF000000}},
        {"textured grey of darkness 0.25",
         Triangle(false, 1, 0.25f, 0, 1),
         {0xFFBFBFBF, 0xFFFFFFFF, 0xFF000000}},
        {"alpha 0.2 truncated",
         Triangle(false, 0.2f, 0, 0, 0),
         {0x33FFFFFF, 0x33FFFFFF, 0x33FFFFFF}},
        {"light beyond full and alpha above 1 held",
         Triangle(false, 2, -0.5f, -3, 0),
         {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}},
        {"flat colours held",
         Triangle(true, -1, -1, 2, 0.5f),
         {0x00FFC864, 0x00000000, 0x00643219}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(G3DD3D8VertexColours(c.t), c.expected) << c.name;
    }
}

TEST(D3D8Numbers, FieldOfViewAndCameraVectors) {
    TDStuff state;
    state.ProjectionBase = 128;
    const struct {
        uint16_t clipWidth;
        double fov, vertical;
    } cases[] = {
        {640, -99.2319, 74.4}, {320, -99.2319, 74.4}, {1024, 0 /* not a multiple of 5 */, 72.0}};
    for (const auto& c : cases) {
        state.ClipWidth = c.clipWidth;
        const float fov = G3DD3D8FieldOfView(state);
        if (c.clipWidth % 5 == 0) {
            EXPECT_NEAR(fov, c.fov, 5e-4) << c.clipWidth;
        }
        const double vertical = 2 * std::atan(std::tan(fov / 2.0)) * 180 / M_PI;
        EXPECT_NEAR(std::fmod(vertical + 360, 180), c.vertical, 0.1) << c.clipWidth;
    }
    G3DSetViewport(state, 320, 240, 128, 128, 64, 1, 4, 16);
    d3d8::Vector3 at{}, up{};
    G3DSetCamera(0, 0, 0, 0, 8192, 0, state);  // a quarter turn up: cosine just above 0
    G3DD3D8ViewVectors(state, at, up);
    EXPECT_FLOAT_EQ(up.y, 0.005f);
    EXPECT_NEAR(at.y, 1, 1e-6);
    EXPECT_NEAR(state.CamMatrix[8], 0, 1e-4) << "the stored rotation keeps its own cosine";
    G3DSetCamera(0, 0, 0, 8192, 0, 0, state);  // a quarter turn right: along +X
    G3DD3D8ViewVectors(state, at, up);
    EXPECT_NEAR(at.x, 1, 1e-6);
    EXPECT_NEAR(at.z, 0, 1e-4);
    EXPECT_FLOAT_EQ(up.y, 1);
}

TEST(D3D8Numbers, OverlayCornersInBackBufferPixels) {
    const struct {
        const char* name;
        int32_t transparency;
        float x, y, w, h;
        float left, top, right, bottom;
        uint32_t alpha;
    } cases[] = {
        {"a quarter at the centre", 0, 0.25f, 0.5f, 0.25f, 0.25f, 160, 240, 320, 360, 255},
        {"far left held at one width before", 50, -2, 0, 0.5f, 1, -640, 0, -320, 480, 127},
        {"too wide held at three widths", 100, 0, -3, 5, 7, 0, -480, 1920, 960, 0},
        {"transparency beyond 0..100 held", -20, 0, 0, 1, 1, 0, 0, 640, 480, 255},
        {"more than transparent", 150, 0, 0, 1, 1, 0, 0, 640, 480, 0},
    };
    for (const auto& c : cases) {
        const std::array<G3DOverlayVertex, 6> q =
            G3DD3D8OverlayQuad(640, 480, 0.78125f, 0.5f, c.transparency, c.x, c.y, c.w, c.h);
        EXPECT_FLOAT_EQ(q[0].X, c.left) << c.name;
        EXPECT_FLOAT_EQ(q[0].Y, c.top) << c.name;
        EXPECT_FLOAT_EQ(q[2].X, c.right) << c.name;
        EXPECT_FLOAT_EQ(q[2].Y, c.bottom) << c.name;
        EXPECT_EQ(q[0].Colour, d3d8::ColorArgb(c.alpha, 255, 255, 255)) << c.name;
    }
    const std::array<G3DOverlayVertex, 6> q =
        G3DD3D8OverlayQuad(640, 480, 0.78125f, 0.5f, 0, 0, 0, 1, 1);
    const float corners[6][4] = {{0, 0, 0.004f, 0.004f},       {640, 0, 0.77725f, 0.004f},
                                 {640, 480, 0.77725f, 0.496f}, {640, 480, 0.77725f, 0.496f},
                                 {0, 480, 0.004f, 0.496f},     {0, 0, 0.004f, 0.004f}};
    for (int k = 0; k < 6; ++k) {
        EXPECT_FLOAT_EQ(q[k].X, corners[k][0]);
        EXPECT_FLOAT_EQ(q[k].Y, corners[k][1]);
        EXPECT_FLOAT_EQ(q[k].U, corners[k][2]);
        EXPECT_FLOAT_EQ(q[k].V, corners[k][3]);
        EXPECT_FLOAT_EQ(q[k].Z, 100);
        EXPECT_FLOAT_EQ(q[k].Rhw, 1);
    }
}

TEST(D3D8Numbers, TextureCoordinatesOfTheLayouts) {
    constexpr float lo = 0.005f, hi = 0.995f;
    using UV = std::array<std::array<float, 2>, 3>;
    EXPECT_EQ(G3DD3D8TexCoords(true, false), (UV{{{lo, lo}, {hi, lo}, {hi, hi}}}));
    EXPECT_EQ(G3DD3D8TexCoords(false, false), (UV{{{hi, hi}, {lo, hi}, {lo, lo}}}));
    EXPECT_EQ(G3DD3D8TexCoords(true, true), (UV{{{lo, lo}, {lo, hi}, {hi, hi}}}));
    EXPECT_EQ(G3DD3D8TexCoords(false, true), (UV{{{hi, hi}, {hi, lo}, {lo, lo}}}));
}

constexpr int kWidth = 320;
constexpr int kHeight = 240;

class D3D8BackendTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(platform::Application::Instance().Initialise());
        platform::WindowSettings settings;
        settings.title = "engine test";
        settings.width = kWidth;
        settings.height = kHeight;
        settings.resizable = false;
        settings.visible = false;
        settings.surface = platform::Surface::Software;
        window = new platform::Window(settings);
    }
    static void TearDownTestSuite() {
        G3DD3D8Release();
        delete window;
        window = nullptr;
    }
    void SetUp() override {
        platform::SetMessageSink(&messages);
        G3DD3D8Release();
        G3DInit(kWidth, kHeight, *state, *window);
        ASSERT_NE(G3DD3D8Device(), nullptr);
        state->SecondPalette[1] = 200;                                        // flat 1: red
        state->SecondPalette[512 + 2] = 200;                                  // flat 2: blue
        for (int c = 0; c < 3; ++c) state->SecondPalette[256 * c + 3] = 255;  // flat 3: white
        G3DClearScreen(0, *state);  // MainPalette 0: black
    }
    void TearDown() override {
        if (G3DD3D8Device() != nullptr) G3DD3D8Device()->SetTrace(nullptr);
        platform::SetMessageSink(nullptr);
        for (TG3DMesh*& m : meshes) G3DFreeMesh(m);
    }
    // A double-sided quad facing a camera at the origin with yaw 0.
    TG3DMesh* Facing(int32_t x, int32_t y, int32_t z, int32_t half, uint16_t kind, uint16_t texture,
                     uint16_t transparency = 0) {
        TG3DMesh* m = nullptr;
        G3DAllocMesh(m, 3, 1);
        const int su[4] = {-1, 1, 1, -1}, sv[4] = {-1, -1, 1, 1};
        for (int i = 0; i < 4; ++i) {
            m->X[i] = x + su[i] * half;
            m->Y[i] = y + sv[i] * half;
            m->Z[i] = z;
        }
        m->Faces[0] = {0, 1, 2, texture, 0, 1, kind, transparency};
        m->Faces[1] = {2, 3, 0, texture, 1, 1, kind, transparency};
        meshes.push_back(m);
        return m;
    }
    void Draw(TG3DMesh* m, int32_t brightness = 256) {
        G3DDrawMesh(m, 0, 0, 0, 0, 0, 0, brightness, 0, -1, *state);
    }
    static uint32_t Pixel(int x, int y) {
        std::vector<uint32_t> pixels;
        G3DD3D8Device()->ReadBackBuffer(pixels);
        const int width = static_cast<int>(G3DD3D8Device()->BackBufferWidth());
        return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF;
    }
    void Load3DFile(const std::string& textures) {
        folder.Write("solid1.pcx", enginetest::SolidPcx(1));
        folder.Write("solid2.pcx", enginetest::SolidPcx(2));
        folder.Write("holes.pcx", enginetest::SolidPcx(1, true));
        const std::string file = folder.Write(
            "level.3d", "#IMAGES\n1=" + folder.Path("solid1.pcx") +
                            "\n2=" + folder.Path("solid2.pcx") + "\n3=" + folder.Path("holes.pcx") +
                            "\n#TEXTURES\n" + textures);
        const TPalette second = state->SecondPalette;
        G3DLoad3DFile(file, *state);
        state->MainPalette.fill(0);
        state->SecondPalette = second;
        ASSERT_TRUE(messages.texts.empty());
    }
    // The texels of an image slot's texture.
    static std::vector<uint32_t> SlotTexels(int32_t slot, uint32_t& width, uint32_t& height) {
        d3d8::Texture* t = G3DD3D8().SlotTextures.at(G3DImages[slot].TextureName - 1).Get();
        d3d8::SurfaceDesc desc;
        t->GetLevelDesc(0, desc);
        width = desc.Width, height = desc.Height;
        d3d8::LockedRect locked;
        t->LockRect(0, locked, nullptr, 0);
        const uint32_t* texels = static_cast<const uint32_t*>(locked.Bits);
        std::vector<uint32_t> out(texels, texels + width * height);
        t->UnlockRect(0);
        return out;
    }

    static platform::Window* window;
    std::unique_ptr<TDStuff> state = std::make_unique<TDStuff>();
    std::vector<TG3DMesh*> meshes;
    platform::RecordingMessageSink messages;
    enginetest::ScratchFolder folder;
};

platform::Window* D3D8BackendTest::window = nullptr;

TEST_F(D3D8BackendTest, EveryStartSetsTheFixedStateInOrder) {
    std::vector<std::string> trace;
    G3DD3D8Device()->SetTrace(&trace);
    G3DInit(kWidth, kHeight, *state, *window);
    const std::vector<std::string> expected = {
        "SetRenderState CULLMODE 1",          "SetRenderState LIGHTING 0",
        "SetRenderState SPECULARENABLE 0",    "SetRenderState FOGENABLE 0",
        "SetRenderState COLORVERTEX 1",       "SetRenderState LOCALVIEWER 0",
        "SetRenderState BLENDOP 1",           "SetRenderState SRCBLEND 5",
        "SetRenderState DESTBLEND 6",         "SetRenderState ALPHABLENDENABLE 1",
        "SetRenderState ZENABLE 1",           "SetTextureStageState 0 MAGFILTER 2",
        "SetTextureStageState 0 MINFILTER 2", "SetTextureStageState 0 MIPFILTER 0",
        "SetTextureStageState 0 COLOROP 4",   "SetTextureStageState 0 COLORARG2 2",
        "SetTextureStageState 0 COLORARG1 0", "CreateVertexBuffer 72 0x142",
        "CreateVertexBuffer 84 0x144",        "SetStreamSource 0 72 24"};
    EXPECT_EQ(trace, expected);
}

// One frame: clear, the camera's scene with a far flat and a near textured
// triangle, an overlay in a scene of its own, present.
TEST_F(D3D8BackendTest, OneFrameMakesTheseCalls) {
    Load3DFile("5=1-1\n");
    folder.Write("icon.pcx", enginetest::SolidPcx(2));
    G3DLoadImage(7, folder.Path("icon.pcx"), *state);
    TG3DMesh* m = nullptr;
    G3DAllocMesh(m, 5, 1);
    meshes.push_back(m);
    const int32_t xyz[6][3] = {{0, 0, 3000}, {300, 0, 3000}, {0, 300, 3000},
                               {0, 0, 1000}, {100, 0, 1000}, {0, 100, 1000}};
    for (int i = 0; i < 6; ++i) m->X[i] = xyz[i][0], m->Y[i] = xyz[i][1], m->Z[i] = xyz[i][2];
    m->Faces[0] = {3, 4, 5, 5, 0, 1, 0, 0};  // textured, near
    m->Faces[1] = {0, 1, 2, 1, 0, 1, 3, 0};  // flat, far: drawn first
    std::vector<std::string> trace;
    G3DD3D8Device()->SetTrace(&trace);
    G3DClearScreen(0, *state);
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    Draw(m);
    G3DFlush(*state);
    G3DDrawImage(7, true, 0, 0, 0, 0.5f, 0.5f, *state);
    G3DPresent(*window, 0, 0, kWidth, kHeight, *state);
    const std::vector<std::string> triangle = {"VertexBuffer.Lock 0 72", "VertexBuffer.Unlock",
                                               "SetVertexShader 0x142",
                                               "DrawPrimitive TRIANGLELIST 0 1"};
    const std::vector<std::string> overlay = {"VertexBuffer.Lock 0 84", "VertexBuffer.Unlock",
                                              "SetVertexShader 0x144",
                                              "DrawPrimitive TRIANGLELIST 0 1"};
    std::vector<std::string> expected = {"Clear TARGET ff000000 1.000000",
                                         "Clear ZBUFFER 00000000 1.000000",
                                         "BeginScene",
                                         "SetTransform WORLD",
                                         "SetTransform VIEW",
                                         "SetTransform PROJECTION",
                                         "SetTexture 0 none"};
    expected.insert(expected.end(), triangle.begin(), triangle.end());
    expected.insert(expected.end(), {"SetTexture 0 4x4", "SetTextureStageState 0 ALPHAOP 1"});
    expected.insert(expected.end(), triangle.begin(), triangle.end());
    expected.insert(expected.end(),
                    {"EndScene", "SetRenderState ZENABLE 0", "SetTextureStageState 0 MAGFILTER 2",
                     "SetTextureStageState 0 MINFILTER 2", "SetTextureStageState 0 MIPFILTER 0",
                     "BeginScene", "SetStreamSource 0 84 28", "SetTexture 0 4x4",
                     "SetTextureStageState 0 COLOROP 4", "SetTextureStageState 0 COLORARG1 0",
                     "SetTextureStageState 0 COLORARG2 2", "SetTextureStageState 0 ALPHAOP 4"});
    expected.insert(expected.end(), overlay.begin(), overlay.end());
    expected.insert(expected.end(), overlay.begin(), overlay.end());
    expected.insert(expected.end(), {"EndScene", "SetStreamSource 0 72 24",
                                     "SetRenderState ZENABLE 1", "Present 0,0,320,240"});
    EXPECT_EQ(trace, expected);
}

TEST_F(D3D8BackendTest, FlatLightTexturesAndBlending) {
    Load3DFile("5=3-3\n6=1-1\n7=4000-4000\n");
    state->AnimTextures[8] = {40000, 40000, 40000};  // no such picture number
    const struct {
        const char* name;
        std::vector<std::array<int32_t, 6>> quads;  // x, z, half, kind, texture, transparency
        int32_t brightness;
        std::vector<std::array<int32_t, 5>> pixels;  // x, y, red, green, blue
    } cases[] = {
        {"flat colour", {{0, 1000, 200, 3, 1, 0}}, 256, {{160, 120, 200, 0, 0}}},
        {"flat colour at half light", {{0, 1000, 200, 3, 0x102, 0}}, 128, {{160, 120, 0, 0, 100}}},
        {"alpha-tested holes show the background",
         {{0, 1000, 400, 1, 5, 0}},
         256,
         {{190, 120, 255, 0, 0}, {128, 120, 0, 0, 0}, {128, 70, 0, 0, 0}}},
        {"opaque face: index 0 in its own colour",
         {{0, 1000, 400, 0, 5, 0}},
         256,
         {{128, 120, 0, 255, 0}}},
        {"half transparent blue over red, far first",
         {{0, 1000, 100, 3, 2, 50}, {0, 3000, 900, 3, 1, 0}},
         256,
         {{160, 120, 100, 0, 100}, {190, 120, 200, 0, 0}}},
        {"+X on the right",
         {{400, 1000, 100, 0, 6, 0}},
         256,
         {{223, 120, 255, 0, 0}, {97, 120, 0, 0, 0}}},
        {"a picture never loaded and one out of range draw untextured",
         {{-300, 1000, 100, 0, 7, 0}, {300, 1000, 100, 0, 8, 0}},
         128,
         {{113, 120, 127, 127, 127}, {207, 120, 127, 127, 127}}},
    };
    for (const auto& c : cases) {
        G3DClearScreen(0, *state);
        G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
        for (const auto& q : c.quads) {
            Draw(Facing(q[0], 0, q[1], q[2], static_cast<uint16_t>(q[3]),
                        static_cast<uint16_t>(q[4]), static_cast<uint16_t>(q[5])),
                 c.brightness);
        }
        G3DFlush(*state);
        for (const auto& p : c.pixels) {
            EXPECT_EQ(Pixel(p[0], p[1]), d3d8::ColorArgb(0, p[2], p[3], p[4]))
                << c.name << " at " << p[0] << "," << p[1];
        }
    }
}

TEST_F(D3D8BackendTest, ImageSlotsAndTheirTextures) {
    std::string indices;
    for (int i = 0; i < 16; ++i) indices.push_back(static_cast<char>(i + 1));
    folder.Write("sixteen.pcx", enginetest::MakePcx(4, 4, indices));
    folder.Write("wide.pcx", enginetest::MakePcx(100, 60, std::string(6000, '\x05')));
    G3DLoadImage(10, folder.Path("sixteen.pcx"), *state);
    G3DLoadImage(11, folder.Path("sixteen.pcx"), *state);
    G3DLoadImage(13, folder.Path("wide.pcx"), *state);
    EXPECT_FLOAT_EQ(G3DImages[13].U, 0.78125f);
    EXPECT_FLOAT_EQ(G3DImages[13].V, 0.9375f);
    uint32_t w = 0, h = 0;
    SlotTexels(13, w, h);
    EXPECT_EQ(w, 128u);
    EXPECT_EQ(h, 64u);

    // Index i + 1 of the default palette is (i + 1, 254 − i, (i + 1) / 2).
    auto texel = [](int i) { return d3d8::ColorArgb(255, i + 1, 254 - i, (i + 1) / 2); };
    G3DCropImage(10, 1, 1, 2, 2, 10);  // into itself: the source is read first
    std::vector<uint32_t> cropped = SlotTexels(10, w, h);
    EXPECT_EQ(w, 2u);
    EXPECT_EQ(cropped, (std::vector<uint32_t>{texel(5), texel(6), texel(9), texel(10)}));
    EXPECT_FLOAT_EQ(G3DImages[10].U, 1);

    G3DCropImage(11, 3, 3, 2, 2, 12);  // reaching past the picture: transparent there
    cropped = SlotTexels(12, w, h);
    EXPECT_EQ(cropped, (std::vector<uint32_t>{texel(15), 0, 0, 0}));

    G3DCropImage(11, 0, 0, 1, 1, 14);
    SlotTexels(14, w, h);
    EXPECT_EQ(w, 2u) << "a 1 × 1 image has a 2 × 2 texture";
    EXPECT_FLOAT_EQ(G3DImages[14].U, 0.5f);

    messages.texts.clear();
    const uint32_t name = G3DImages[13].TextureName;
    d3d8::Texture* before = G3DD3D8().SlotTextures[name - 1].Get();
    G3DLoadImage(13, folder.Path("missing.pcx"), *state);
    EXPECT_EQ(messages.texts.size(), 1u) << "one message";
    EXPECT_EQ(G3DImages[13].Width, 100) << "the slot is left as it was";
    EXPECT_EQ(G3DD3D8().SlotTextures[name - 1].Get(), before);
}

// A back buffer of the first start's size, stretched over the window's client
// area; screen overlays in fractions of the back buffer.
TEST_F(D3D8BackendTest, BackBufferKeepsItsFirstSizeAndIsStretched) {
    G3DD3D8Release();
    G3DInit(3, 240, *state, *window);  // below 4 × 2: ignored
    EXPECT_EQ(G3DD3D8Device(), nullptr);
    G3DInit(160, 120, *state, *window);
    G3DInit(kWidth, kHeight, *state, *window);
    ASSERT_NE(G3DD3D8Device(), nullptr);
    EXPECT_EQ(G3DD3D8Device()->BackBufferWidth(), 160u);
    EXPECT_EQ(state->ScaleX, 128) << "the engine follows the new size";
    EXPECT_EQ(state->ClipWidth, kWidth);

    folder.Write("blue.pcx", enginetest::SolidPcx(2));
    G3DLoadImage(7, folder.Path("blue.pcx"), *state);
    state->MainPalette[9] = 10, state->MainPalette[256 + 9] = 20, state->MainPalette[512 + 9] = 30;
    G3DClearScreen(9, *state);
    G3DDrawImage(7, false, 0, 0.5f, 0, 0.5f, 1, *state);  // the right half of the back buffer
    FullScreenActive = true;                              // full screen ignores the rectangle given
    G3DPresent(*window, 10, 10, 20, 20, *state);
    FullScreenActive = false;
    int width = 0, height = 0;
    const std::string rgb = window->ReadClientPixels(width, height);
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);
    auto at = [&](int x, int y) {
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return d3d8::ColorArgb(0, static_cast<uint8_t>(rgb[i]), static_cast<uint8_t>(rgb[i + 1]),
                               static_cast<uint8_t>(rgb[i + 2]));
    };
    EXPECT_EQ(at(0, 0), 0x0A141Eu);
    EXPECT_EQ(at(150, 239), 0x0A141Eu);
    EXPECT_EQ(at(170, 0), 0x0000FFu);
    EXPECT_EQ(at(319, 239), 0x0000FFu);
}

TEST_F(D3D8BackendTest, ADeviceThatCannotStartSaysSoOnceAndDrawsNothing) {
    G3DD3D8Release();
    messages.texts.clear();
    G3DInit(5000, 300, *state, *window);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0].rfind("G3D: ", 0), 0u) << messages.texts[0];
    G3DInit(kWidth, kHeight, *state, *window);  // later starts do not try again
    folder.Write("blue.pcx", enginetest::SolidPcx(2));
    G3DLoadImage(7, folder.Path("blue.pcx"), *state);
    for (int frame = 0; frame < 3; ++frame) {
        G3DClearScreen(0, *state);
        G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
        Draw(Facing(0, 0, 1000, 200, 3, 1));
        G3DFlush(*state);
        G3DDrawImage(7, false, 0, 0, 0, 1, 1, *state);
        G3DPresent(*window, 0, 0, kWidth, kHeight, *state);
    }
    EXPECT_EQ(G3DD3D8Device(), nullptr);
    EXPECT_EQ(messages.texts.size(), 1u);
}

TEST_F(D3D8BackendTest, ReleaseLeavesNoDeviceObject) {
    Load3DFile("5=1-1\n");
    folder.Write("blue.pcx", enginetest::SolidPcx(2));
    G3DLoadImage(7, folder.Path("blue.pcx"), *state);
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    Draw(Facing(0, 0, 1000, 200, 0, 5));
    G3DFlush(*state);  // the device holds the last texture drawn
    EXPECT_GT(d3d8::LiveObjects(), 5);
    G3DD3D8Release();
    EXPECT_EQ(d3d8::LiveObjects(), 0);
}

}  // namespace
