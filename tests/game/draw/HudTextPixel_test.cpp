// Font text drawn for real: a font sheet cut into glyph slots and text drawn
// through the OpenGL backend under an X server, read back from the frame.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

#include "engine/G3DEngine.h"
#include "engine/G3DImages.h"
#include "game/draw/HudText.h"
#include "platform/window/Application.h"
#include "platform/window/Window.h"
#include "tests/engine/TestFiles.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// Palette: 0 black (transparent in pictures), 1 red, others grey.
std::string RedPalette() {
    std::string p(1, 12);
    for (int i = 0; i < 256; ++i) {
        const std::array<int, 3> c = i == 0   ? std::array<int, 3>{0, 0, 0}
                                     : i == 1 ? std::array<int, 3>{255, 0, 0}
                                              : std::array<int, 3>{90, 90, 90};
        for (int v : c) p.push_back(static_cast<char>(v));
    }
    return p;
}

std::array<int, 3> Pixel(int x, int y) {
    uint8_t rgba[4] = {};
    glFinish();
    glReadBuffer(GL_BACK);
    glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

TEST(HudTextPixels, GlyphsCutFromTheSheetAreDrawnWhereTheLayoutPutsThem) {
    ASSERT_TRUE(platform::Application::Instance().Initialise());
    platform::WindowSettings settings;
    settings.width = kWidth;
    settings.height = kHeight;
    settings.resizable = false;
    settings.surface = platform::Surface::OpenGL;
    platform::Window window(settings);
    G3DInit(kWidth, kHeight, DStuff, window);

    // A 64 × 64 sheet of solid red 3 × 7 glyphs: every glyph is a red block.
    enginetest::ScratchFolder folder;
    std::string pixels;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) pixels.push_back(static_cast<char>(0xC1)), pixels.push_back(1);
    folder.Write("Small.pcx", enginetest::MakePcx(64, 64, pixels, RedPalette()));
    HudPictures pictures;
    pictures.smallFontBitmap = folder.Path("SMALL.PCX");
    pictures.bigFontBitmap = "";
    LoadHudTextures(pictures, DStuff);
    ASSERT_EQ(G3DImages[GlyphSlot(0, 'A')].Width, 3);
    ASSERT_EQ(G3DImages[GlyphSlot(0, 'A')].Height, 7);

    G3DClearScreen(0, DStuff);
    DrawOpaqueText("AB", 0, 0.5f, 0.5f);
    // "A" covers columns 160..162 and rows 120..126; "B" starts 4 columns on.
    EXPECT_EQ(Pixel(161, 123), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(Pixel(163, 123), (std::array<int, 3>{0, 0, 0})) << "the gap between glyphs";
    EXPECT_EQ(Pixel(165, 123), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(Pixel(161, 128), (std::array<int, 3>{0, 0, 0})) << "below the line";
    EXPECT_EQ(Pixel(100, 50), (std::array<int, 3>{0, 0, 0}));
    G3DDone();
}

}  // namespace
