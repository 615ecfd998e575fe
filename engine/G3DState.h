// The engine state record: everything the 3-D engine keeps for the main window
// (frame size, projection parameters, palettes, animated textures, camera,
// render list and lights) in one record, `TDStuff`, with one program-wide
// instance, `DStuff`. Also the palette helpers and the engine's messages.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/G3DRenderTypes.h"

namespace platform {
class Window;
}

// Number of animated-texture entries and of 3-D file pictures.
constexpr int32_t kG3DTextureCount = 32768;
// Number of point lights a frame can hold.
constexpr int32_t kG3DLightCount = 256;
// Render-list capacity that G3DInit asks for.
constexpr int32_t kG3DRenderCapacity = 100000;

// The frame as the game sees it: its size and the colour table made from the
// main palette (four bytes blue, green, red, reserved per entry). No pixel
// block is kept: all drawing goes through the backend.
struct DibBuffer {
    int32_t Width = 0;
    int32_t Height = 0;
    std::array<uint8_t, 1024> ColourTable{};
};

// One animated texture: pictures First..Last, Current the one shown now.
struct TAnimTexture {
    int32_t First = 0;
    int32_t Last = 0;
    int32_t Current = 0;
};

// A planar palette: 256 red bytes, then 256 green, then 256 blue.
using TPalette = std::array<uint8_t, 768>;

// The whole engine state. Zero at program start; G3DInit fills the frame and
// projection members, the 3-D file the palettes and animated textures, every
// G3DSetCamera the camera members. Lives for the whole run.
struct TDStuff {
    DibBuffer Frame;
    uint16_t CentreX = 0, CentreY = 0;
    int32_t ProjectionBase = 0;
    uint16_t ScaleX = 0, ScaleY = 0;
    int32_t NearLimit = 0;
    int32_t HearingDistance = 0;  // set by the positional sound
    std::array<TAnimTexture, kG3DTextureCount> AnimTextures{};
    int32_t HighestAnimTexture = 0;
    TPalette MainPalette{};
    std::array<uint8_t, 256> BackIndex{};
    bool ReliefOn = false;
    int32_t EyeSeparation = 0;
    int32_t CamYaw = 0, CamPitch = 0, CamRoll = 0;
    int32_t EyeMaskR = 0, EyeMaskG = 0, EyeMaskB = 0;  // second-eye colour mask
    std::array<uint8_t, 3> FirstEyeColour{};           // relief colours as asked
    std::array<uint8_t, 3> SecondEyeColour{};
    TPalette SecondPalette{};
    uint16_t ClipWidth = 0;
    uint16_t ClipBottom = 0;
    int32_t CamX = 0, CamY = 0, CamZ = 0;
    std::array<float, 9> CamMatrix{};
    float CosYaw = 0, SinYaw = 0, CosPitch = 0, SinPitch = 0, CosRoll = 0, SinRoll = 0;
    std::vector<TG3DTriangle> RenderList;   // capacity set by G3DSetViewport
    std::vector<TG3DSortEntry> SortBuffer;  // as many entries as RenderList
    int32_t TriangleCount = 0;
    std::array<TG3DLight, kG3DLightCount> Lights{};
    int32_t LastLight = 0;
    platform::Window* Form = nullptr;  // the window bound by the last G3DInit
    std::string Last3DFile;
};

// The program's one engine state.
extern TDStuff DStuff;

// Entry of `palette` nearest to (r, g, b) among first..last; on equal distance
// the later entry wins; `first` when last < first.
uint8_t NearestPaletteIndex(const TPalette& palette, int32_t r, int32_t g, int32_t b, uint8_t first,
                            uint8_t last);

// Fills every byte of BackIndex with the main-palette entry nearest to (r, g, b).
void G3DSetBackColour(TDStuff& state, int32_t r, int32_t g, int32_t b);

// Fills a frame's colour table from a planar palette.
void SetDibPalette(DibBuffer& buffer, const TPalette& palette);

// Copies MainPalette into the frame's colour table.
void G3DApplyPalette(TDStuff& state);

// "G3D: The 3D file <name> is missing": any engine file missing or unreadable.
void G3DShowMissingFile(const std::string& name);

// "G3D: The image <name> must have an odd width".
void G3DShowOddWidth(const std::string& name);
