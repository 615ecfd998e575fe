#include "tools/demogame/DemoPictures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "tools/demogame/DemoPalette.h"
#include "tools/demogame/FontGlyphs.h"
#include "tools/demogame/Noise.h"

namespace demo {

namespace {
constexpr float kTwoPi = 6.2831853f;
constexpr int kSide = kTextureSide;

// A texture made by a shading function of (x, y) → palette index.
IndexedPicture Painted(const std::function<uint8_t(int, int)>& paint) {
    IndexedPicture p(kSide, kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) p.At(x, y) = paint(x, y);
    }
    return p;
}

int Level(float v) { return static_cast<int>(std::lround(v)); }

// Rough noise tiling over the texture: coarse plus fine.
float Grain(int x, int y, uint32_t seed) {
    return 0.65f * SmoothNoise(x, y, 16, kSide / 16, seed) +
           0.35f * SmoothNoise(x, y, 4, kSide / 4, seed + 1);
}

IndexedPicture Stone() {
    return Painted([](int x, int y) {
        const bool joint = (y % 64) < 2 || ((x + (y / 64) * 32) % 64) < 2;
        const float v = joint ? 6 : 12 + 14 * Grain(x, y, 11);
        return Shade(Ramp::Grey, Level(v));
    });
}

IndexedPicture Bricks() {
    return Painted([](int x, int y) {
        const int row = y / 16;
        const int bx = (x + (row % 2) * 16) % kSide;
        if (y % 16 < 2 || bx % 32 < 2) return Shade(Ramp::Grey, 14);
        const int brick = static_cast<int>(Hash3(bx / 32, row, 5) % 6);
        return Shade(Ramp::Brick, Level(14 + brick + 8 * Grain(x, y, 21)));
    });
}

uint8_t WoodAt(int x, int y, uint32_t seed) {
    const int plank = x / 32;
    const float ring = std::sin((x % 32) * 0.45f + 5 * Grain(x, y, seed + plank));
    if (x % 32 == 0) return Shade(Ramp::Wood, 6);
    return Shade(Ramp::Wood, Level(17 + 5 * ring + 3 * (plank % 2)));
}

IndexedPicture Wood() {
    return Painted([](int x, int y) { return WoodAt(x, y, 31); });
}

IndexedPicture Grass() {
    return Painted([](int x, int y) {
        const bool blade = Hash3(x, y, 41) % 9 == 0;
        return Shade(Ramp::Grass, Level(12 + 10 * Grain(x, y, 43) + (blade ? 7 : 0)));
    });
}

IndexedPicture Water(int frame) {
    const float phase = kTwoPi * frame / kWaterFrames;
    return Painted([phase](int x, int y) {
        const float a = std::sin(kTwoPi * (x + y) / 64 + phase);
        const float b = std::sin(kTwoPi * (x - 2 * y) / 128 - phase);
        return Shade(Ramp::Water, Level(17 + 5 * a + 4 * b));
    });
}

IndexedPicture Crate() {
    return Painted([](int x, int y) {
        const bool frame = x < 12 || y < 12 || x >= kSide - 12 || y >= kSide - 12;
        const bool brace = std::abs(x - y) < 8;
        if (frame || brace) return Shade(Ramp::Wood, Level(22 + 4 * Grain(x, y, 51)));
        if (x == 12 || y == 12) return Shade(Ramp::Wood, 4);
        return WoodAt(x, y, 53);
    });
}

IndexedPicture Metal() {
    return Painted([](int x, int y) {
        const int px = x % 64, py = y % 64;
        if (px < 2 || py < 2) return Shade(Ramp::Grey, 5);
        const int rx = px % 56 - 6, ry = py % 56 - 6;  // rivets near the plate corners
        if (rx * rx + ry * ry < 10) return Shade(Ramp::Grey, 29);
        return Shade(Ramp::Violet, Level(8 + 4 * Grain(x, y, 61) + (px + py) / 32));
    });
}

IndexedPicture Noisy(Ramp ramp, float base, float depth, uint32_t seed) {
    return Painted(
        [=](int x, int y) { return Shade(ramp, Level(base + depth * Grain(x, y, seed))); });
}

IndexedPicture Gold() {
    return Painted([](int x, int y) {
        const bool sparkle = Hash3(x, y, 71) % 61 == 0;
        return Shade(Ramp::Gold, sparkle ? 31 : Level(14 + 12 * Grain(x, y, 73)));
    });
}

IndexedPicture Conveyor(int frame) {
    return Painted([frame](int x, int y) {
        if (x < 8 || x >= kSide - 8) return Shade(Ramp::Grey, 20);
        // Chevrons pointing along +y, moving half a chevron per frame.
        const int v = (y + frame * 16 + std::abs(x - kSide / 2) / 2) % 32;
        if (v < 10) return Shade(Ramp::Gold, 26);
        return Shade(Ramp::Grey, Level(6 + 4 * Grain(x, y, 81)));
    });
}

IndexedPicture Exit() {
    return Painted([](int x, int y) {
        const int ring = std::max(std::abs(x - 64), std::abs(y - 64)) / 8;
        return ring % 2 == 0 ? Shade(Ramp::Gold, 31 - ring) : Shade(Ramp::Water, 26 - ring);
    });
}

IndexedPicture Sky() {
    return Painted([](int x, int y) {
        const float cloud = SmoothNoise(x, y, 32, kSide / 32, 91);
        if (cloud > 0.62f) return Shade(Ramp::Grey, Level(22 + 20 * (cloud - 0.62f)));
        return Shade(Ramp::Water, 30 - y / 16);
    });
}

IndexedPicture Cloth() {
    return Painted([](int x, int y) {
        const bool warp = (x / 2 + y / 2) % 2 == 0;
        return Shade(Ramp::Water, Level((warp ? 14 : 11) + 4 * Grain(x, y, 101)));
    });
}

IndexedPicture Dirt() {
    return Painted([](int x, int y) {
        const uint32_t h = Hash3(x / 4, y / 4, 111);
        if (h % 23 == 0) return Shade(Ramp::Grey, 16 + static_cast<int>(h % 8));  // pebbles
        return Shade(Ramp::Wood, Level(6 + 9 * Grain(x, y, 113)));
    });
}

TexturePicture Named(const char* name, IndexedPicture picture) {
    return TexturePicture{name, std::move(picture)};
}

// Distance of (x, y) from the centre of a 32 × 32 icon, in pixels.
float FromCentre(int x, int y) { return std::hypot(x - 15.5f, y - 15.5f); }
}  // namespace

std::vector<TexturePicture> TexturePictures() {
    std::vector<TexturePicture> list;
    list.push_back(Named("Stone", Stone()));
    list.push_back(Named("Bricks", Bricks()));
    list.push_back(Named("Wood", Wood()));
    list.push_back(Named("Grass", Grass()));
    for (int f = 0; f < kWaterFrames; ++f) {
        list.push_back(Named(("Water" + std::to_string(f + 1)).c_str(), Water(f)));
    }
    list.push_back(Named("Crate", Crate()));
    list.push_back(Named("Metal", Metal()));
    list.push_back(Named("Gold", Gold()));
    list.push_back(Named("Skin", Noisy(Ramp::Skin, 18, 8, 121)));
    list.push_back(Named("GolemSkin", Noisy(Ramp::Violet, 10, 14, 123)));
    for (int f = 0; f < kConveyorFrames; ++f) {
        list.push_back(Named(("Conveyor" + std::to_string(f + 1)).c_str(), Conveyor(f)));
    }
    list.push_back(Named("Exit", Exit()));
    list.push_back(Named("Sky", Sky()));
    list.push_back(Named("Cloth", Cloth()));
    list.push_back(Named("Dirt", Dirt()));
    return list;
}

std::vector<TextureRange> TextureRanges() {
    std::vector<TextureRange> ranges;
    const int count = static_cast<int>(TexturePictures().size());
    for (int t = 0; t < count; ++t) {
        if (t > kTexWater && t < kTexWater + kWaterFrames) continue;
        if (t > kTexConveyor && t < kTexConveyor + kConveyorFrames) continue;
        int last = t;
        if (t == kTexWater) last = t + kWaterFrames - 1;
        if (t == kTexConveyor) last = t + kConveyorFrames - 1;
        ranges.push_back({t, t, last});
    }
    return ranges;
}

IndexedPicture LifeIcon() {
    IndexedPicture p(32, 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            // A heart: two discs over a triangle.
            const float l = std::hypot(x - 10.0f, y - 11.0f), r = std::hypot(x - 21.0f, y - 11.0f);
            const bool tri = y >= 11 && y <= 28 && std::abs(x - 15.5f) <= (28 - y) * 0.9f;
            if (l < 7 || r < 7 || tri) p.At(x, y) = Shade(Ramp::Brick, 31 - y / 3);
        }
    }
    p.FillRect(8, 8, 11, 11, Shade(Ramp::Grey, 31));  // highlight
    return p;
}

IndexedPicture GolemIcon() {
    IndexedPicture p(32, 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (FromCentre(x, y) < 14) p.At(x, y) = Shade(Ramp::Violet, 22 - y / 4);
        }
    }
    p.FillRect(9, 11, 14, 16, Shade(Ramp::Gold, 31));  // eyes
    p.FillRect(18, 11, 23, 16, Shade(Ramp::Gold, 31));
    p.FillRect(10, 21, 22, 23, Shade(Ramp::Violet, 4));  // mouth
    return p;
}

IndexedPicture CrossIcon() {
    IndexedPicture p(32, 32);
    const uint8_t ink = Shade(Ramp::Grey, 31);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const float d = FromCentre(x, y);
            if (d > 11 && d < 13.5f) p.At(x, y) = ink;
        }
    }
    p.FillRect(15, 2, 17, 12, ink);
    p.FillRect(15, 20, 17, 30, ink);
    p.FillRect(2, 15, 12, 17, ink);
    p.FillRect(20, 15, 30, 17, ink);
    return p;
}

IndexedPicture KeyIcon() {
    IndexedPicture p(32, 32);
    constexpr int kKeyGlyph = 128;
    for (int y = 0; y < kGlyphRows; ++y) {
        for (int x = 0; x < kGlyphColumns; ++x) {
            if (GlyphDot(kKeyGlyph, x, y)) {
                p.FillRect(6 + 4 * x, 2 + 4 * y, 10 + 4 * x, 6 + 4 * y, Shade(Ramp::Gold, 30 - y));
            }
        }
    }
    return p;
}

IndexedPicture GemIcon() {
    IndexedPicture p(32, 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int d = std::abs(x - 16) + std::abs(y - 16);
            if (d < 14) p.At(x, y) = Shade(Ramp::Water, 31 - d + (x < 16 ? 0 : -6));
        }
    }
    return p;
}

}  // namespace demo
