// The device's per-pixel work on the spans of a triangle: depth test,
// perspective-correct colour and texture coordinates, texture sampling, the
// colour and alpha operations of texture stage 0, the alpha test, blending,
// and the writes to the back buffer and the depth buffer.
//
// The rules, which the tests' reference follows:
// - Attributes are interpolated linearly in screen space as value × rhw with
//   rhw itself; a pixel's value is the quotient. Colours become bytes by
//   rounding to nearest (halves up) and clamping to 0..255; depth becomes a
//   16-bit value the same way from 0..1 × 65535.
// - Texel i of a side of n texels has its centre at (i + 0.5) / n. Bilinear
//   sampling takes the four texels around u × n − 0.5, v × n − 0.5 with
//   weights in 1/256 (the fraction truncated), the weighted sum rounded to
//   nearest; point sampling takes texel floor(u × n). Wrap repeats the
//   texture, clamp holds the edge texels. Stage 0 without a texture reads
//   opaque white.
// - Modulate of two bytes a, b is a × b / 255 rounded to nearest; blending is
//   (s × fs + d × fd) / 255 rounded to nearest, at most 255.
//
// Each state combination draws with a routine chosen once per state:
// routines for the combinations the engine uses work on several pixels at
// once (PixelLanes.h), the others one pixel at a time; all draw the same
// picture.
#pragma once

#include <cstdint>

#include "platform/d3d8/D3D8Types.h"

namespace d3d8 {

struct PixelState;
struct RenderTarget;
struct SpanBatch;

// Draws a batch of spans.
using SpanRoutine = void (*)(const SpanBatch&, const PixelState&, const RenderTarget&);

// The colour and depth buffers drawn into.
struct RenderTarget {
    uint32_t* colour = nullptr;  // X8R8G8B8, `width` pixels a row
    uint16_t* depth = nullptr;   // 16 bits a pixel, same layout; may be null
    int32_t width = 0;
    int32_t height = 0;
};

// The device state a triangle is drawn with, taken when it is drawn.
struct PixelState {
    const uint32_t* texels = nullptr;  // A8R8G8B8, null: no texture
    // The texels with the first column repeated on the right and the first
    // row below: texWidth + 1 a row, texHeight + 1 rows.
    const uint32_t* wrappedTexels = nullptr;
    int32_t texWidth = 0;  // powers of two
    int32_t texHeight = 0;
    bool magLinear = false;
    bool minLinear = false;
    bool wrapU = true;
    bool wrapV = true;
    uint8_t colourOp = 0, colourArg1 = 0, colourArg2 = 0;
    uint8_t alphaOp = 0, alphaArg1 = 0, alphaArg2 = 0;
    bool blend = false;
    uint8_t srcBlend = 0, destBlend = 0;
    bool zEnable = false;
    bool zWrite = false;
    uint8_t zFunc = 0;
    bool alphaTest = false;
    uint8_t alphaFunc = 0;
    uint8_t alphaRef = 0;
    // Point and bilinear sampling (by SpanBatch::linear); set by ChooseRoutines.
    SpanRoutine routines[2] = {nullptr, nullptr};
};

// Interpolated attributes, in this order: rhw, z, then red, green, blue,
// alpha (0..255), u and v, each of the last six multiplied by rhw.
constexpr int kAttributes = 8;

// The attributes of a triangle as planes over the target: at pixel (x, y)
// an attribute is value + dx × (x − originX) + dy × (y − originY), worked
// out in double precision in that order and rounded to float at the start of
// each span, then stepped per pixel in float as start + step × i with step =
// float(dx).
struct AttributePlanes {
    double value[kAttributes];
    double dx[kAttributes];
    double dy[kAttributes];
    double originX, originY;
};

// One row of a triangle: pixels x0..x1 (inclusive) of row y.
struct SpanRow {
    int32_t y, x0, x1;
};

// Spans of one triangle in up to this many rows go to a routine at once.
constexpr int kSpanBatchRows = 8;

struct SpanBatch {
    const AttributePlanes* planes = nullptr;
    bool linear = false;  // bilinear sampling (else point)
    int count = 0;
    SpanRow rows[kSpanBatchRows];
};

// Sets the state's routines, of `kind` where the processor has it (else the
// next simpler kind), for a target with or without a depth buffer.
void ChooseRoutines(PixelState& state, bool depthBuffer, PixelRoutines kind);

// Draws the spans with the state's routine (one pixel at a time when none is
// chosen).
void ShadeSpans(const SpanBatch& batch, const PixelState& state, const RenderTarget& target);

// Whether a triangle drawn with `state` reads its texture.
bool SamplesTexture(const PixelState& state);

}  // namespace d3d8
