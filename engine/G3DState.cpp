#include "engine/G3DState.h"

#include "platform/msgbox/MessageBox.h"

TDStuff DStuff;

uint8_t NearestPaletteIndex(const TPalette& palette, int32_t r, int32_t g, int32_t b, uint8_t first,
                            uint8_t last) {
    if (last < first) return first;
    uint8_t best = first;
    int64_t bestDistance = INT64_MAX;
    for (int i = first; i <= last; ++i) {
        const int64_t dr = palette[i] - int64_t{r};
        const int64_t dg = palette[256 + i] - int64_t{g};
        const int64_t db = palette[512 + i] - int64_t{b};
        const int64_t distance = dr * dr + dg * dg + db * db;
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = static_cast<uint8_t>(i);
        }
    }
    return best;
}

void G3DSetBackColour(TDStuff& state, int32_t r, int32_t g, int32_t b) {
    state.BackIndex.fill(NearestPaletteIndex(state.MainPalette, r, g, b, 0, 255));
}

void SetDibPalette(DibBuffer& buffer, const TPalette& palette) {
    for (int i = 0; i < 256; ++i) {
        buffer.ColourTable[i * 4 + 0] = palette[512 + i];
        buffer.ColourTable[i * 4 + 1] = palette[256 + i];
        buffer.ColourTable[i * 4 + 2] = palette[i];
        buffer.ColourTable[i * 4 + 3] = 1;
    }
}

void G3DApplyPalette(TDStuff& state) { SetDibPalette(state.Frame, state.MainPalette); }

void G3DShowMissingFile(const std::string& name) {
    platform::ShowMessage("G3D: The 3D file " + name + " is missing");
}

void G3DShowOddWidth(const std::string& name) {
    platform::ShowMessage("G3D: The image " + name + " must have an odd width");
}
