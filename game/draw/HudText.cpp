#include "game/draw/HudText.h"

#include <algorithm>
#include <limits>

#include "engine/G3DImages.h"
#include "engine/G3DState.h"
#include "game/level/LevelStuff.h"

FontMetrics FontSizes[2] = {{3, 7}, {8, 15}};

namespace {

constexpr float kTextScreenWidth = 320.0f;
constexpr uint8_t kSmallFontCode = 176;
constexpr uint8_t kBigFontCode = 178;

// Glyph size and advances of a font on the virtual text screen.
struct FontStep {
    float glyphWidth, glyphHeight, advanceX, advanceY;
};

// The metrics of font 1 (big) or, for any other number, font 0 (small).
const FontMetrics& MetricsOf(int32_t font) { return FontSizes[font == 1 ? 1 : 0]; }

// The metrics come from game.ini: any 32-bit values, so "+ 1" is done in 64 bits.
FontStep StepOf(int32_t font, float screenHeight) {
    const FontMetrics& m = MetricsOf(font);
    return {static_cast<float>(m.width) / kTextScreenWidth,
            static_cast<float>(m.height) / screenHeight,
            static_cast<float>(int64_t{m.width} + 1) / kTextScreenWidth,
            static_cast<float>(int64_t{m.height} + 1) / screenHeight};
}

// Places one glyph at the pen and moves the pen on, wrapping at the right edge.
void PlaceGlyph(std::vector<GlyphPlacement>& out, int32_t font, uint8_t c, const FontStep& step,
                float left, float& cx, float& cy) {
    out.push_back({GlyphSlot(font, c), cx, cy, step.glyphWidth, step.glyphHeight});
    cx += step.advanceX;
    if (cx > 1.0f - step.glyphWidth) {
        cx = left;
        cy += step.advanceY;
    }
}

int32_t Saturated(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void LoadIcon(int32_t slot, const std::string& name, TDStuff& engine) {
    if (!name.empty()) G3DLoadImage(slot, name, engine);
}

void DrawGlyphs(const std::vector<GlyphPlacement>& glyphs, int32_t transparency) {
    for (const GlyphPlacement& g : glyphs)
        G3DDrawImage(g.slot, true, transparency, g.x, g.y, g.w, g.h, DStuff);
}

}  // namespace

int32_t GlyphSlot(int32_t font, uint8_t c) {
    return 50 + 100 * font + (static_cast<int32_t>(c) - 32);
}

float TextScreenHeight(const TDStuff& engine) { return engine.CentreY == 100 ? 200.0f : 240.0f; }

void CutFontSheet(int32_t font, FontMetrics metrics) {
    const TG3DImage& sheet = G3DImages[kFontSheetSlot];
    // Whatever game.ini says, a glyph ends at the sheet's edges: beyond them it
    // would only be empty pixels, up to 100 pictures of the largest size.
    const int32_t width = std::min(metrics.width, sheet.Width);
    const int32_t height = std::min(metrics.height, sheet.Height);
    int64_t x = 0, y = 0;
    for (int32_t k = 0; k < 100; ++k) {
        G3DCropImage(kFontSheetSlot, Saturated(x), Saturated(y), width, height,
                     GlyphSlot(font, static_cast<uint8_t>(32 + k)));
        x += int64_t{metrics.width} + 1;
        if (x >= int64_t{sheet.Width} - metrics.width) {
            x = 0;
            y += int64_t{metrics.height} + 1;
        }
    }
}

void LoadBlocTextures(const LevelStuff& level, TDStuff& engine) {
    for (int32_t t = 0; t < static_cast<int32_t>(level.Blocs.size()); ++t) {
        const BlocStuff& bloc = level.Blocs[t];
        if (bloc.Undefined != 0) continue;
        LoadIcon(kInventoryIconSlot + t, bloc.InventoryIcon, engine);
        LoadIcon(kWeaponIconSlot + t, bloc.WeaponIcon, engine);
        LoadIcon(kWeaponFireIconSlot + t, bloc.WeaponFireIcon, engine);
    }
}

void LoadHudTextures(const HudPictures& pictures, TDStuff& engine) {
    LoadIcon(kLifeIconSlot, pictures.lifeIcon, engine);
    LoadIcon(kGolemIconSlot, pictures.golemIcon, engine);
    LoadIcon(kCrossIconSlot, pictures.crossIcon, engine);
    FontSizes[0] = pictures.smallFont;
    FontSizes[1] = pictures.bigFont;
    // Without a sheet of its own a font is cut from what slot 0 holds.
    LoadIcon(kFontSheetSlot, pictures.smallFontBitmap, engine);
    CutFontSheet(0, pictures.smallFont);
    LoadIcon(kFontSheetSlot, pictures.bigFontBitmap, engine);
    CutFontSheet(1, pictures.bigFont);
}

float FontTextWidth(const std::string& text, int32_t font) {
    const FontMetrics& m = MetricsOf(font);
    return static_cast<float>(static_cast<int64_t>(text.size()) * (int64_t{m.width} + 1)) /
           kTextScreenWidth;
}

void ZeroPadInt(int32_t n, int32_t digits, std::string& result) {
    result = std::to_string(n);
    if (static_cast<int64_t>(result.size()) < digits)
        result.insert(0, static_cast<size_t>(digits) - result.size(), '0');
}

std::vector<GlyphPlacement> LayoutFontText(const std::string& text, int32_t font, float x, float y,
                                           float screenHeight) {
    std::vector<GlyphPlacement> glyphs;
    const FontStep step = StepOf(font, screenHeight);
    float cx = x, cy = y;
    for (char ch : text) {
        const uint8_t c = static_cast<uint8_t>(ch);
        if (c == 13) {
            cx = x;
            cy += step.advanceY;
            continue;
        }
        PlaceGlyph(glyphs, font, c, step, x, cx, cy);
    }
    return glyphs;
}

std::vector<GlyphPlacement> LayoutRichText(const std::string& text, float x, float y,
                                           float screenHeight) {
    std::vector<GlyphPlacement> glyphs;
    int32_t font = 1;
    FontStep step = StepOf(font, screenHeight);
    float cx = x, cy = y;
    for (char ch : text) {
        const uint8_t c = static_cast<uint8_t>(ch);
        if (c == kSmallFontCode || c == kBigFontCode) {
            font = c == kSmallFontCode ? 0 : 1;
            step = StepOf(font, screenHeight);
        } else if (c == '^') {
            cx = x;
            cy += step.advanceY;
        } else {
            PlaceGlyph(glyphs, font, c, step, x, cx, cy);
        }
    }
    return glyphs;
}

void DrawFontText(const std::string& text, int32_t transparency, int32_t font, float x, float y) {
    DrawGlyphs(LayoutFontText(text, font, x, y, TextScreenHeight(DStuff)), transparency);
}

void DrawOpaqueText(const std::string& text, int32_t font, float x, float y) {
    DrawFontText(text, 0, font, x, y);
}

void DrawRichText(const std::string& text, TDStuff& engine, float x, float y) {
    DrawGlyphs(LayoutRichText(text, x, y, TextScreenHeight(engine)), 0);
}
