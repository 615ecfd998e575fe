#include "tools/demogame/PropMeshes.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/demogame/DemoPalette.h"
#include "tools/demogame/DemoPictures.h"
#include "tools/demogame/MeshWriter.h"

namespace demo {

namespace {

TG3DMesh Crate() {
    MeshBuilder b;
    b.AddBox(-240, -256, -240, 240, 224, 240, TexturePaint(kTexCrate));
    return b.Mesh();
}

// A slab filling the cell's width, raised by `lift`.
TG3DMesh Slab(int32_t lift, const Paint& paint, bool knob) {
    MeshBuilder b;
    b.AddBox(-256, -256 + lift, -48, 256, 256 + lift, 48, paint);
    if (knob) b.AddBox(120, -20 + lift, 48, 170, 30 + lift, 80, TexturePaint(kTexGold));
    return b.Mesh();
}

TG3DMesh Gate() {
    MeshBuilder b;
    for (int32_t x = -224; x <= 224; x += 64) {
        b.AddBox(x - 14, -256, -14, x + 14, 256, 14, TexturePaint(kTexMetal));
    }
    b.AddBox(-256, 160, -24, 256, 210, 24, TexturePaint(kTexMetal));
    return b.Mesh();
}

// A lever: a metal base and a stick tilted by `tilt` (-1 back .. 1 forward).
TG3DMesh Lever(float tilt) {
    MeshBuilder b;
    b.AddBox(-120, -256, -80, 120, -196, 80, TexturePaint(kTexMetal));
    const int32_t lean = static_cast<int32_t>(std::lround(160 * tilt));
    const int32_t v[8] = {
        b.AddVertex(-16, -196, -16),     b.AddVertex(16, -196, -16),
        b.AddVertex(16, 64, -16 + lean), b.AddVertex(-16, 64, -16 + lean),
        b.AddVertex(-16, -196, 16),      b.AddVertex(16, -196, 16),
        b.AddVertex(16, 64, 16 + lean),  b.AddVertex(-16, 64, 16 + lean),
    };
    const Paint stick = TexturePaint(kTexWood);
    b.AddQuad(v[0], v[1], v[2], v[3], stick);
    b.AddQuad(v[5], v[4], v[7], v[6], stick);
    b.AddQuad(v[4], v[0], v[3], v[7], stick);
    b.AddQuad(v[1], v[5], v[6], v[2], stick);
    b.AddBox(-36, 64, -36 + lean, 36, 120, 36 + lean, FlatPaint(Shade(Ramp::Brick, 28)));
    return b.Mesh();
}

TG3DMesh Key() {
    MeshBuilder b;
    const Paint gold = TexturePaint(kTexGold);
    b.AddBox(-110, -40, -15, -30, 40, 15, gold);  // bow
    b.AddBox(-30, -12, -15, 110, 12, 15, gold);   // shaft
    b.AddBox(60, -60, -15, 80, -12, 15, gold);    // bits
    b.AddBox(90, -45, -15, 110, -12, 15, gold);
    return b.Mesh();
}

TG3DMesh Gem(float bob) {
    MeshBuilder b;
    const int32_t y = static_cast<int32_t>(std::lround(-60 + 20 * bob));
    const int32_t top = b.AddVertex(0, y + 90, 0), bottom = b.AddVertex(0, y - 90, 0);
    const int32_t ring[4] = {b.AddVertex(60, y, 0), b.AddVertex(0, y, 60), b.AddVertex(-60, y, 0),
                             b.AddVertex(0, y, -60)};
    const Paint gem = TexturePaint(kTexWater);
    for (int i = 0; i < 4; ++i) {
        b.AddTriangle(top, ring[i], ring[(i + 1) % 4], 0, gem);
        b.AddTriangle(bottom, ring[(i + 1) % 4], ring[i], 0, gem);
    }
    return b.Mesh();
}

TG3DMesh Medikit() {
    MeshBuilder b;
    b.AddBox(-110, -256, -80, 110, -120, 80, FlatPaint(Shade(Ramp::Grey, 30)));
    const Paint red = FlatPaint(Shade(Ramp::Brick, 26));
    b.AddBox(-15, -230, 80, 15, -146, 84, red);
    b.AddBox(-42, -203, 80, 42, -173, 84, red);
    return b.Mesh();
}

TG3DMesh Platform() {
    MeshBuilder b;
    b.AddBox(-256, -256, -256, 256, -176, 256, TexturePaint(kTexWood));
    return b.Mesh();
}

TG3DMesh Trophy() {
    MeshBuilder b;
    const Paint gold = TexturePaint(kTexGold);
    b.AddBox(-100, -256, -100, 100, -216, 100, gold);
    b.AddBox(-25, -216, -25, 25, -80, 25, gold);
    b.AddBox(-110, -80, -110, 110, 120, 110, gold);
    b.AddBox(-160, 0, -20, -110, 80, 20, gold);
    b.AddBox(110, 0, -20, 160, 80, 20, gold);
    return b.Mesh();
}

// A thin pad on the floor of the cell (springs, exits), with a marker sprite
// floating above it when `marker` is a texture number.
TG3DMesh Pad(uint16_t texture, int marker) {
    MeshBuilder b;
    b.AddBox(-200, -256, -200, 200, -226, 200, TexturePaint(texture));
    if (marker >= 0) b.AddSprite(0, 0, 0, 160, 160, static_cast<uint16_t>(marker));
    return b.Mesh();
}

// Earth sinking into the floor: `left` of the cell's height remains.
TG3DMesh Earth(float left) {
    MeshBuilder b;
    const int32_t top = -256 + static_cast<int32_t>(std::lround(512 * left));
    b.AddBox(-256, -256, -256, 256, std::max(top, -250), 256, TexturePaint(kTexDirt));
    return b.Mesh();
}
}  // namespace

std::vector<NamedMesh> PropMeshes() {
    std::vector<NamedMesh> list;
    list.push_back({"Crate", Crate()});
    list.push_back({"Door_Sensor", Slab(0, TexturePaint(kTexMetal), false)});
    for (int f = 1; f <= kDoorFrames; ++f) {
        list.push_back({Numbered("Door_Open", f),
                        Slab(f * 480 / kDoorFrames, TexturePaint(kTexMetal), false)});
    }
    list.push_back({"Gate", Gate()});
    list.push_back({"Door_Wood", Slab(0, TexturePaint(kTexWood), true)});
    list.push_back({"Lever", Lever(-1)});
    for (int f = 1; f <= kLeverFrames; ++f) {
        list.push_back({Numbered("Lever_Pull", f), Lever(-1 + 2.0f * f / kLeverFrames)});
    }
    list.push_back({"Lever_Down", Lever(1)});
    for (int f = 1; f <= kSpinFrames; ++f) {
        list.push_back({Numbered("Key", f), Turned(Key(), 90.0f * (f - 1))});
        list.push_back({Numbered("Gem", f), Turned(Gem(f % 2 ? 0 : 1), 90.0f * (f - 1))});
    }
    list.push_back({"Medikit", Medikit()});
    list.push_back({"Platform", Platform()});
    list.push_back({"Trophy", Trophy()});
    list.push_back({"Spring", Pad(kTexGold, -1)});
    list.push_back({"Timer", Pad(kTexMetal, kTexGold)});
    list.push_back({"ExitPad", Pad(kTexExit, kTexWater)});
    for (int f = 1; f <= kDigFrames; ++f) {
        list.push_back(
            {Numbered("Earth_Dig", f), Earth(1.0f - static_cast<float>(f) / kDigFrames)});
    }
    return list;
}

}  // namespace demo
