// Pictures as textures and as 2-D image slots: the 3-D file's numbered
// pictures, the 4096 image slots (each keeping its RGBA pixels so the backend
// can upload them again, and so that slots can be cut out of other slots), and
// overlay drawing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/G3DState.h"

// Number of image slots.
constexpr int32_t kG3DImageSlots = 4096;

// Picture side the 3-D file's pictures are made to when a side is not a power
// of two.
constexpr int32_t kG3DPictureSide = 128;

// One image slot. Pixels is PW × PH RGBA pixels (the powers of two of Width and
// Height), row r at pixel r × PW; empty = an empty slot.
struct TG3DImage {
    std::vector<uint8_t> Pixels;
    int32_t Width = 0;
    int32_t Height = 0;
    uint32_t TextureName = 0;  // the backend's texture; 0 = none
    float U = 0;               // Width / PW
    float V = 0;               // Height / PH
};

// The image slots. Filled by G3DLoadImage and G3DCropImage.
extern std::array<TG3DImage, kG3DImageSlots> G3DImages;

// Decodes a PCX picture, stores its palette in `palette` and makes it picture
// `picture` (0..32767). Sides that are powers of two are kept, others are
// resampled to 128 × 128. An empty name does nothing; a missing or unreadable
// file shows the missing-file message. True when the picture was made.
bool G3DLoadPCXTexture(const std::string& name, int32_t picture, TPalette& palette);
// The same with a palette that is thrown away.
bool G3DLoadPCXTextureNoPalette(const std::string& name, int32_t picture);

// Loads a PCX picture of any size into a slot (0..4095). An empty name does
// nothing; a missing or unreadable file shows the missing-file message and
// leaves the slot as it was; an odd pixel width shows its message and loads
// all the same.
void G3DLoadImage(int32_t slot, const std::string& name, TDStuff& state);

// Cuts the rectangle (x, y, w, h) of slot `source` into slot `dest`. Pixels
// outside the source picture are transparent; source and dest may be one slot.
// Nothing when the source is empty or a slot or size is out of range.
void G3DCropImage(int32_t source, int32_t x, int32_t y, int32_t w, int32_t h, int32_t dest);

// Draws a slot as a 2-D overlay (x, y from the top-left, w, h as fractions of
// the view). Nothing for an empty slot.
void G3DDrawImage(int32_t slot, bool alphaTest, int32_t transparency, float x, float y, float w,
                  float h, TDStuff& state);

// Marks every slot empty (textures stay with the slots until they are reloaded).
void G3DClearImages();
