// Pixel tests of the OpenGL backend: a real window under an X server and
// Mesa's software OpenGL; frames are read back from the back buffer before
// they are presented.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "engine/G3D3DFile.h"
#include "engine/G3DCamera.h"
#include "engine/G3DEngine.h"
#include "engine/G3DImages.h"
#include "engine/G3DRender.h"
#include "engine/gl/GLDevice.h"
#include "engine/gl/GLTextures.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"
#include "support/WinFunc.h"
#include "tests/engine/TestFiles.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

using Rgb = std::array<int, 3>;

class GLBackendTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(platform::Application::Instance().Initialise());
        platform::WindowSettings settings;
        settings.title = "engine test";
        settings.width = kWidth;
        settings.height = kHeight;
        settings.resizable = false;
        settings.surface = platform::Surface::OpenGL;
        window = new platform::Window(settings);
    }
    static void TearDownTestSuite() {
        G3DDone();
        delete window;
        window = nullptr;
    }
    void SetUp() override {
        platform::SetMessageSink(&messages);
        G3DInit(kWidth, kHeight, *state, *window);
        G3DPresent(*window, 0, 0, kWidth, kHeight, *state);
        state->SecondPalette[1] = 200;                                        // flat 1: red
        state->SecondPalette[512 + 2] = 200;                                  // flat 2: blue
        for (int c = 0; c < 3; ++c) state->SecondPalette[256 * c + 3] = 255;  // flat 3: white
        Clear();
    }
    void TearDown() override {
        platform::SetMessageSink(nullptr);
        for (TG3DMesh*& m : meshes) G3DFreeMesh(m);
    }
    void Clear() {
        G3DClearScreen(0, *state);  // MainPalette 0: black
    }
    // A double-sided quad at centre c with half axes u (right) and v (up); the
    // picture's s runs along u, its t along v.
    TG3DMesh* Quad(std::array<int32_t, 3> c, std::array<int32_t, 3> u, std::array<int32_t, 3> v,
                   uint16_t kind, uint16_t texture, uint16_t transparency = 0) {
        TG3DMesh* m = nullptr;
        G3DAllocMesh(m, 3, 1);
        const int su[4] = {-1, 1, 1, -1}, sv[4] = {-1, -1, 1, 1};
        for (int i = 0; i < 4; ++i) {
            m->X[i] = c[0] + su[i] * u[0] + sv[i] * v[0];
            m->Y[i] = c[1] + su[i] * u[1] + sv[i] * v[1];
            m->Z[i] = c[2] + su[i] * u[2] + sv[i] * v[2];
        }
        m->Faces[0] = {0, 1, 2, texture, 0, 1, kind, transparency};
        m->Faces[1] = {2, 3, 0, texture, 1, 1, kind, transparency};
        meshes.push_back(m);
        return m;
    }
    // A quad facing a camera at the origin with yaw 0.
    TG3DMesh* Facing(int32_t x, int32_t y, int32_t z, int32_t half, uint16_t kind, uint16_t texture,
                     uint16_t transparency = 0) {
        return Quad({x, y, z}, {half, 0, 0}, {0, half, 0}, kind, texture, transparency);
    }
    void Draw(TG3DMesh* m) { G3DDrawMesh(m, 0, 0, 0, 0, 0, 0, 256, 0, -1, *state); }
    // The back buffer's pixel at column x, row y from the top.
    static Rgb Pixel(int x, int y) {
        uint8_t rgba[4] = {};
        glFinish();
        glReadBuffer(GL_BACK);
        glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return {rgba[0], rgba[1], rgba[2]};
    }
    // Number of pixels of the frame within 8 of `colour`.
    static int Count(Rgb colour) {
        std::vector<uint8_t> rgba(kWidth * kHeight * 4);
        glFinish();
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        int n = 0;
        for (size_t i = 0; i < rgba.size(); i += 4) {
            bool near = true;
            for (int c = 0; c < 3; ++c) near = near && std::abs(rgba[i + c] - colour[c]) <= 8;
            n += near;
        }
        return n;
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

    static platform::Window* window;
    std::unique_ptr<TDStuff> state = std::make_unique<TDStuff>();
    std::vector<TG3DMesh*> meshes;
    platform::RecordingMessageSink messages;
    enginetest::ScratchFolder folder;
};

platform::Window* GLBackendTest::window = nullptr;

void ExpectNear(const Rgb& actual, const Rgb& expected, int tolerance = 3) {
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(actual[c], expected[c], tolerance)
            << "channel " << c << " of (" << actual[0] << "," << actual[1] << "," << actual[2]
            << ")";
    }
}

TEST_F(GLBackendTest, ClearColourIsPaletteByteOver256) {
    state->MainPalette[7] = 255;
    state->MainPalette[256 + 7] = 128;
    state->MainPalette[512 + 7] = 1;
    G3DClearScreen(7, *state);
    ExpectNear(Pixel(5, 5), {254, 127, 1}, 1);
    ExpectNear(Pixel(kWidth - 1, kHeight - 1), {254, 127, 1}, 1);
}

TEST_F(GLBackendTest, EngineCallsGoToTheEngineContextWhateverContextIsCurrent) {
    // Another window's context made current, as SDL's renderers of the
    // dialogs make theirs.
    platform::WindowSettings settings;
    settings.width = settings.height = 64;
    settings.visible = false;
    settings.surface = platform::Surface::OpenGL;
    platform::Window other(settings);
    ASSERT_EQ(SDL_GL_GetCurrentContext(), other.GLContext());
    state->MainPalette[7] = 255;
    G3DClearScreen(7, *state);
    EXPECT_EQ(SDL_GL_GetCurrentContext(), window->GLContext());
    ExpectNear(Pixel(5, 5), {254, 0, 0}, 1);
}

TEST_F(GLBackendTest, FlatColoursAndTheirLight) {
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    Draw(Facing(0, 0, 1000, 200, 3, 1));
    G3DFlush(*state);
    ExpectNear(Pixel(kWidth / 2, kHeight / 2), {199, 0, 0});

    Clear();
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    G3DDrawMesh(Facing(0, 0, 1000, 200, 3, 0x102), 0, 0, 0, 0, 0, 0, 128, 0, -1, *state);
    G3DFlush(*state);
    ExpectNear(Pixel(kWidth / 2, kHeight / 2), {0, 0, 100});  // half light, low byte 2
}

TEST_F(GLBackendTest, TexturedQuadWithHoles) {
    Load3DFile("5=3-3\n");
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    Draw(Facing(0, 0, 1000, 400, 1, 5));  // alpha-tested: holes show the background
    G3DFlush(*state);
    // The quad spans about 89..231 × 49..191; the picture's left half is holes.
    ExpectNear(Pixel(200, 120), {255, 0, 0});
    ExpectNear(Pixel(200, 60), {255, 0, 0});
    ExpectNear(Pixel(110, 120), {0, 0, 0});
    ExpectNear(Pixel(110, 180), {0, 0, 0});
    EXPECT_LT(Count({0, 255, 0}), Count({255, 0, 0}) / 5);  // at most a filtered fringe

    Clear();
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    Draw(Facing(0, 0, 1000, 400, 0, 5));  // opaque, no alpha test: index 0's own colour
    G3DFlush(*state);
    ExpectNear(Pixel(110, 120), {0, 255, 0});
    ExpectNear(Pixel(200, 120), {255, 0, 0});
}

TEST_F(GLBackendTest, BlendedTrianglesInPaintersOrder) {
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    Draw(Facing(0, 0, 1000, 100, 3, 2, 50));  // near, half transparent, blue
    Draw(Facing(0, 0, 3000, 900, 3, 1));      // far, opaque, red: drawn first
    G3DFlush(*state);
    ExpectNear(Pixel(kWidth / 2, kHeight / 2), {100, 0, 100}, 4);
    ExpectNear(Pixel(kWidth / 2 + 35, kHeight / 2), {199, 0, 0});
}

TEST_F(GLBackendTest, MirrorYawAndRoll) {
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    Draw(Facing(400, 0, 1000, 100, 3, 1));  // +X: on the right
    Draw(Facing(0, 300, 1000, 100, 3, 2));  // +Y: at the top
    G3DFlush(*state);
    ExpectNear(Pixel(kWidth * 3 / 4, kHeight / 2), {199, 0, 0});
    ExpectNear(Pixel(kWidth / 4, kHeight / 2), {0, 0, 0});
    ExpectNear(Pixel(kWidth / 2, kHeight / 2 - 53), {0, 0, 199});

    Clear();
    G3DSetCamera(0, 0, 0, 8192, 0, 0, *state);  // a quarter turn: looking along +X
    Draw(Quad({1000, 0, 0}, {0, 0, 100}, {0, 100, 0}, 3, 1));
    G3DFlush(*state);
    ExpectNear(Pixel(kWidth / 2, kHeight / 2), {199, 0, 0});

    Clear();
    G3DSetCamera(0, 0, 0, 0, 0, 8192, *state);  // rolled a quarter turn
    Draw(Facing(0, 300, 1000, 100, 3, 2));
    G3DFlush(*state);
    ExpectNear(Pixel(kWidth / 2, kHeight / 2 - 53), {0, 0, 0});
    const bool left = Pixel(kWidth / 2 - 53, kHeight / 2)[2] > 150;
    const bool right = Pixel(kWidth / 2 + 53, kHeight / 2)[2] > 150;
    EXPECT_TRUE(left != right) << "the top moves to one side";
    EXPECT_TRUE(left);
}

TEST_F(GLBackendTest, SpritePictureByViewingAngle) {
    Load3DFile("3=1-2\n");
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    TG3DMesh* sprite = nullptr;
    G3DAllocMesh(sprite, 0, 0);
    meshes.push_back(sprite);
    sprite->Faces[0] = {0, 200, 200, 3, 0, 0, 2, 0};
    sprite->Z[0] = 1000;  // straight ahead: angle 90, (90 + 80) × 2 div 360 = 0
    Draw(sprite);
    G3DFlush(*state);
    EXPECT_GT(Count({255, 0, 0}), 100);
    EXPECT_EQ(Count({0, 0, 255}), 0);

    Clear();
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    sprite->X[0] = -364;  // angle 110: (110 + 80) × 2 div 360 = 1
    Draw(sprite);
    G3DFlush(*state);
    EXPECT_EQ(Count({255, 0, 0}), 0);
    EXPECT_GT(Count({0, 0, 255}), 100);
}

TEST_F(GLBackendTest, AnimatedTextureSteps) {
    Load3DFile("4=1-2\n");
    TG3DMesh* quad = Facing(0, 0, 1000, 400, 0, 4);
    const Rgb expected[] = {{255, 0, 0}, {0, 0, 255}, {255, 0, 0}};
    for (const Rgb& colour : expected) {
        Clear();
        G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
        Draw(quad);
        G3DFlush(*state);
        ExpectNear(Pixel(kWidth / 2, kHeight / 2), colour);
        G3DAnimateTextures(*state);
    }
}

TEST_F(GLBackendTest, OverlayAtItsFractionalPosition) {
    folder.Write("icon.pcx", enginetest::SolidPcx(2));
    G3DLoadImage(7, folder.Path("icon.pcx"), *state);
    G3DDrawImage(7, false, 0, 0.25f, 0.5f, 0.25f, 0.25f, *state);
    ExpectNear(Pixel(120, 150), {0, 0, 255});  // inside (80..160, 120..180)
    ExpectNear(Pixel(60, 150), {0, 0, 0});
    ExpectNear(Pixel(120, 100), {0, 0, 0});
    ExpectNear(Pixel(170, 150), {0, 0, 0});

    Clear();
    G3DDrawImage(7, false, 50, 0, 0, 1, 1, *state);  // half transparent over black
    ExpectNear(Pixel(160, 120), {0, 0, 127}, 2);
    Clear();
    G3DDrawImage(8, false, 0, 0, 0, 1, 1, *state);  // an empty slot draws nothing
    ExpectNear(Pixel(160, 120), {0, 0, 0});
}

TEST_F(GLBackendTest, ReliefChannels) {
    G3DSetReliefMode(255, 0, 0, 0, 255, 255, 30, *state, *window);
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    Draw(Facing(0, 0, 1000, 900, 3, 3));
    G3DFlush(*state);
    ExpectNear(Pixel(kWidth / 2, kHeight / 2), {255, 0, 255});  // red eye, then blue

    G3DSetReliefMode(0, 230, 0, 255, 0, 0, 30, *state, *window);
    Clear();
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    Draw(Facing(0, 0, 1000, 900, 3, 3));
    G3DFlush(*state);
    ExpectNear(Pixel(kWidth / 2, kHeight / 2), {255, 255, 0});  // red eye, then green

    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    G3DFlush(*state);  // an empty list still leaves every channel open
    GLboolean mask[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_TRUE(mask[0] && mask[1] && mask[2] && mask[3]);
    G3DReliefOff(*state, *window);
    EXPECT_FALSE(state->ReliefOn);
}

TEST_F(GLBackendTest, PresentSetsViewportFromTheBottom) {
    G3DPresent(*window, 10, 20, 100, 80, *state);
    GLint viewport[4] = {};
    GLint scissor[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_SCISSOR_BOX, scissor);
    EXPECT_EQ(viewport[0], 10);
    EXPECT_EQ(viewport[1], kHeight - 20 - 80);
    EXPECT_EQ(viewport[2], 100);
    EXPECT_EQ(scissor[1], kHeight - 20 - 80);
    EXPECT_EQ(scissor[3], 80);
}

TEST_F(GLBackendTest, FrameSizeAndContext) {
    const int32_t contexts = G3DGLContextCount();
    G3DInit(kWidth, kHeight, *state, *window);
    EXPECT_EQ(G3DGLContextCount(), contexts);  // the context is taken once
    G3DInit(2, 1, *state, *window);            // a minimised window: ignored
    EXPECT_EQ(state->Frame.Width, kWidth);
    EXPECT_EQ(state->ClipWidth, kWidth);
    EXPECT_EQ(state->RenderList.size(), 100000u);
    G3DInit(3, 240, *state, *window);
    EXPECT_EQ(state->Frame.Width, kWidth);
    G3DDone();
    G3DInit(kWidth, kHeight, *state, *window);
    EXPECT_EQ(G3DGLContextCount(), contexts + 1);  // taken anew after G3DDone
    EXPECT_EQ(state->ScaleX, 128);
    EXPECT_EQ(state->ScaleY, 128);
}

GLint TextureWidth(uint32_t name) {
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    return width;
}

TEST_F(GLBackendTest, PictureSizesAsUploaded) {
    folder.Write("odd.pcx",
                 enginetest::MakePcx(3, 5, std::string(15, '\x01'), enginetest::PrimaryPalette()));
    folder.Write("wide.pcx", enginetest::MakePcx(256, 2, "", enginetest::PrimaryPalette()));
    const std::string file = folder.Write("sizes.3d", "#IMAGES\n10=" + folder.Path("odd.pcx") +
                                                          "\n11=" + folder.Path("wide.pcx") +
                                                          "\n12=" + folder.Path("odd.pcx") + "\n");
    G3DLoad3DFile(file, *state);
    EXPECT_EQ(TextureWidth(G3DTextureNames[10]), 128);  // resampled to 128 × 128
    EXPECT_EQ(TextureWidth(G3DTextureNames[11]), 256);  // powers of two: its own size
    G3DLoad3DFile(file, *state);                        // reloading replaces the textures
    EXPECT_EQ(TextureWidth(G3DTextureNames[12]), 128);
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(GLBackendTest, ResetReloadsTheLast3DFile) {
    state->Last3DFile.clear();
    const int32_t contexts = G3DGLContextCount();
    G3DReset(*state, *window);  // nothing loaded yet: only bound again
    EXPECT_EQ(G3DGLContextCount(), contexts + 1);
    EXPECT_TRUE(messages.texts.empty());

    Load3DFile("4=2-2\n");
    state->AnimTextures[4] = {1, 1, 1};  // changed since the load
    G3DReset(*state, *window);
    EXPECT_EQ(state->AnimTextures[4].Current, 2);  // the file read again
    G3DSetCamera(0, 0, 0, 0, 0, 0, *state);
    Draw(Facing(0, 0, 1000, 400, 0, 4));
    G3DFlush(*state);
    ExpectNear(Pixel(kWidth / 2, kHeight / 2), {0, 0, 255});
}

TEST_F(GLBackendTest, FullScreenAndBack) {
    int32_t width = 0, height = 0;
    EXPECT_TRUE(G3DDisplayMode(*window, 0, width, height));
    EXPECT_GT(width, 0);
    EXPECT_FALSE(G3DDisplayMode(*window, 100000, width, height));

    G3DInit(642, 481, *state, *window);
    G3DFullScreen(*window, *state);
    EXPECT_TRUE(FullScreenActive);
    G3DWindowed(*window, *state);
    EXPECT_FALSE(FullScreenActive);
    int clientWidth = 0, clientHeight = 0;
    window->ClientSize(clientWidth, clientHeight);
    EXPECT_EQ(clientWidth, 642);
    EXPECT_EQ(clientHeight, 481);
    window->SetClientSize(kWidth, kHeight);
}

}  // namespace
