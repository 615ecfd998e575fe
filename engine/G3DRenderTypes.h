// The small records of the render list: one triangle to draw, one sort entry
// and one point light. Shared by the engine and its backends.
#pragma once

#include <cstdint>

// One render-list entry. Vertices are in world units relative to the camera
// position (not turned by the camera). Fields a triangle's kind does not use
// keep whatever the entry held before.
struct TG3DTriangle {
    float X0, Y0, Z0, X1, Y1, Z1, X2, Y2, Z2;
    uint8_t Red, Green, Blue;   // flat colour as palette bytes (flat triangles only)
    float Alpha;                // opacity 0..1
    float Dark0, Dark1, Dark2;  // darkness per vertex, 1 - light
    int32_t Key;                // depth key, farthest drawn first
    int32_t Texture;            // picture number (textured triangles only)
    bool Untextured;            // flat colour
    bool AlphaTest;             // transparent pixels cut out
    bool LayoutLow;             // texture-coordinate layout flag 1
    bool LayoutSwap;            // texture-coordinate layout flag 2: s and t exchanged
};

// One entry of the sort buffer: a render-list index and its key.
struct TG3DSortEntry {
    int32_t Index;
    int32_t Key;
};

// One point light: position in units of 256, radius as given + 1.
struct TG3DLight {
    int32_t X, Y, Z;
    int32_t Radius;
};
