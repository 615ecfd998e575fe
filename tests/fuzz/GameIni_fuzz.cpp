// Fuzz target of the game.ini reader: any bytes become the game folder's
// game.ini and go through the reading of [General], [Control] and [Game]
// (the part of the start-up that needs no window), then through what the
// values set up: the HUD icons and the two fonts cut from the demo game's
// sheets, text laid out in those fonts, and the built-in clips.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/G3DState.h"
#include "game/clips/ClipStuff.h"
#include "game/GameIni.h"
#include "game/draw/HudText.h"
#include "game/level/LevelStuff.h"
#include "tests/fuzz/FuzzGameFolder.h"

namespace {
void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "game.ini: %s\n", what);
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzutil::FuzzGameFolder& game = fuzzutil::GameFolderForFuzzing();
    game.BeginInput();
    game.Write("game.ini", std::string(reinterpret_cast<const char*>(data), size));
    ReadGameIniSettings();
    Check(!GameTitle.empty(), "no title");
    LoadHudTextures(HudSettings.Pictures, DStuff);
    const std::string text = "Life 100\r\xB0small\xB2 big^next";
    for (int32_t font = 0; font < 2; ++font) {
        Check(LayoutFontText(text, font, 0.1f, 0.2f, 240.0f).size() == text.size() - 1,
              "glyphs lost in a font text");
        FontTextWidth(text, font);
    }
    LayoutRichText(text, 0.1f, 0.2f, 200.0f);
    SetBuiltInClips(Level, HudSettings.DeveloperVideo, HudSettings.IntroMusic,
                    HudSettings.IntroVideo, HudSettings.ExtroMusic, HudSettings.ExtroVideo);
    return 0;
}
