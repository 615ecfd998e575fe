// HUD pictures and bitmap-font text: the fixed HUD icons, the three icons of
// every bloc type, the two font sheets cut into one image slot per character,
// and text drawn with them on the 2-D overlay. Positions and sizes are
// fractions of the screen, laid out on a virtual text screen 320 units wide
// and 200 (for a 200-line frame) or 240 units high.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TDStuff;
struct LevelStuff;

// Image slots of the HUD.
constexpr int32_t kFontSheetSlot = 0;
constexpr int32_t kLifeIconSlot = 3;
constexpr int32_t kGolemIconSlot = 4;
constexpr int32_t kCrossIconSlot = 5;
constexpr int32_t kInventoryIconSlot = 1000;   // + bloc type
constexpr int32_t kWeaponIconSlot = 1300;      // + bloc type
constexpr int32_t kWeaponFireIconSlot = 1600;  // + bloc type
// The message clip's picture: a slot of its own, beyond every slot a
// character code can select (fonts reach slots 18 to 373).
constexpr int32_t kMessagePictureSlot = 400;

// Glyph size of a font in pixels of its sheet and in virtual-screen units;
// font 0 is the small font, 1 the big one.
struct FontMetrics {
    int32_t width;
    int32_t height;
};

// The file names and metrics the HUD pictures come from (game.ini [Game]).
struct HudPictures {
    std::string smallFontBitmap, bigFontBitmap;
    FontMetrics smallFont{3, 7}, bigFont{8, 15};
    std::string lifeIcon, golemIcon, crossIcon;
};

// The image slot of character `c` in font `font` (0 or 1).
int32_t GlyphSlot(int32_t font, uint8_t c);

// Loads the three icons of every defined bloc type that names them into slots
// 1000 + t, 1300 + t and 1600 + t.
void LoadBlocTextures(const LevelStuff& level, TDStuff& engine);

// Loads the life, golem and cross icons (each when named), then cuts the small
// font and then the big font into their glyph slots.
void LoadHudTextures(const HudPictures& pictures, TDStuff& engine);

// Cuts the 100 glyphs of one font from the sheet in slot 0: left to right and
// in rows, one pixel apart, starting with the space character.
void CutFontSheet(int32_t font, FontMetrics metrics);

// Width of `text` in `font` as a fraction of the screen width.
float FontTextWidth(const std::string& text, int32_t font);

// Decimal text of n with "0" put in front until it has `digits` characters.
void ZeroPadInt(int32_t n, int32_t digits, std::string& result);

// Draws text in one font at (x, y), each glyph with the given transparency and
// alpha testing; a carriage return starts a new line at x; a glyph that would
// cross the right edge wraps to x.
void DrawFontText(const std::string& text, int32_t transparency, int32_t font, float x, float y);
// DrawFontText with transparency 0.
void DrawOpaqueText(const std::string& text, int32_t font, float x, float y);
// Draws text that switches fonts in-line: it starts in the big font; code 176
// selects the small font, 178 the big one, "^" starts a new line.
void DrawRichText(const std::string& text, TDStuff& engine, float x, float y);

// The font metrics in use; set from game.ini, read by the layouts.
extern FontMetrics FontSizes[2];

// Where one glyph is drawn.
struct GlyphPlacement {
    int32_t slot;
    float x, y, w, h;
};

// Height of the virtual text screen for the engine's frame: 200 for a
// 200-line frame, otherwise 240.
float TextScreenHeight(const TDStuff& engine);

// The glyphs DrawFontText draws, in order, on a text screen `screenHeight` high.
std::vector<GlyphPlacement> LayoutFontText(const std::string& text, int32_t font, float x, float y,
                                           float screenHeight);
// The glyphs DrawRichText draws, in order.
std::vector<GlyphPlacement> LayoutRichText(const std::string& text, float x, float y,
                                           float screenHeight);
