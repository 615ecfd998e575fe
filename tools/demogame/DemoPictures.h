// The procedural pictures of the demo game: the 128 × 128 textures listed in
// its 3-D file (two of them animated) and the three HUD icons. All use the
// demo palette.
#pragma once

#include <string>
#include <vector>

#include "tools/demogame/PcxWriter.h"

namespace demo {

// Texture numbers that faces use. A texture number equals the number of its
// first picture; water and conveyor run through several pictures.
enum DemoTexture : int {
    kTexStone = 0,
    kTexBricks = 1,
    kTexWood = 2,
    kTexGrass = 3,
    kTexWater = 4,  // pictures 4..7
    kTexCrate = 8,
    kTexMetal = 9,
    kTexGold = 10,
    kTexSkin = 11,
    kTexGolem = 12,
    kTexConveyor = 13,  // pictures 13..14
    kTexExit = 15,
    kTexSky = 16,
    kTexCloth = 17,
    kTexDirt = 18,
};

constexpr int kTextureSide = 128;
constexpr int kWaterFrames = 4;
constexpr int kConveyorFrames = 2;

// One picture of the 3-D file: its base name (the file is Name + ".pcx").
struct TexturePicture {
    std::string Name;
    IndexedPicture Picture;
};

// An animated-texture line of the 3-D file: texture = pictures First..Last.
struct TextureRange {
    int Texture, First, Last;
};

// Every picture, picture number = position in the list.
std::vector<TexturePicture> TexturePictures();
// The texture lines: one per picture, the animated ones spanning their frames.
std::vector<TextureRange> TextureRanges();

// HUD icons (32 × 32): a heart, a golem's head, a cross-hair.
IndexedPicture LifeIcon();
IndexedPicture GolemIcon();
IndexedPicture CrossIcon();
// Inventory icons (32 × 32): a key and a gem.
IndexedPicture KeyIcon();
IndexedPicture GemIcon();

}  // namespace demo
