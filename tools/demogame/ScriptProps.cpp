#include "tools/demogame/ScriptProps.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "tools/demogame/DemoPalette.h"
#include "tools/demogame/DemoPictures.h"
#include "tools/demogame/MeshWriter.h"

namespace demo {

namespace {

// A squat metal turret with a barrel along +z, the way it faces at angle 0.
TG3DMesh Turret() {
    MeshBuilder b;
    b.AddBox(-170, -256, -170, 170, -190, 170, TexturePaint(kTexMetal));
    b.AddBox(-120, -190, -120, 120, 40, 120, FlatPaint(Shade(Ramp::Brick, 18)));
    b.AddBox(-24, -40, 120, 24, 8, 240, TexturePaint(kTexMetal));
    b.AddBox(-60, 40, -60, 60, 90, 60, TexturePaint(kTexGold));
    return b.Mesh();
}

TG3DMesh TurretWreck() {
    MeshBuilder b;
    b.AddBox(-170, -256, -170, 170, -200, 170, FlatPaint(Shade(Ramp::Grey, 6)));
    b.AddBox(-90, -200, -110, 100, -130, 80, FlatPaint(Shade(Ramp::Brick, 6)));
    return b.Mesh();
}

// A small box on the floor with a glowing eye toward +z.
TG3DMesh Drone() {
    MeshBuilder b;
    b.AddBox(-110, -256, -110, 110, -60, 110, FlatPaint(Shade(Ramp::Violet, 16)));
    b.AddBox(-50, -150, 110, 50, -100, 120, FlatPaint(Shade(Ramp::Gold, 31)));
    return b.Mesh();
}

// A heavy block nearly a cell wide, too high to step onto.
TG3DMesh Ram() {
    MeshBuilder b;
    b.AddBox(-240, -256, -240, 240, 200, 240, TexturePaint(kTexMetal));
    b.AddBox(-250, 120, -250, 250, 160, 250, FlatPaint(Shade(Ramp::Gold, 20)));
    return b.Mesh();
}

// A post with a cross of arms, turned by its cell's orientation.
TG3DMesh Beacon() {
    MeshBuilder b;
    b.AddBox(-20, -256, -20, 20, 120, 20, TexturePaint(kTexMetal));
    b.AddBox(-220, 80, -16, 220, 110, 16, TexturePaint(kTexGold));
    b.AddBox(-16, 80, -120, 16, 110, 120, FlatPaint(Shade(Ramp::Brick, 24)));
    return b.Mesh();
}

// A row of thin metal spikes on a dark plate.
TG3DMesh Spikes() {
    MeshBuilder b;
    b.AddBox(-220, -256, -220, 220, -236, 220, FlatPaint(Shade(Ramp::Grey, 4)));
    for (int32_t x = -160; x <= 160; x += 80) {
        for (int32_t z = -160; z <= 160; z += 80) {
            b.AddBox(x - 12, -236, z - 12, x + 12, -120, z + 12, TexturePaint(kTexMetal));
        }
    }
    return b.Mesh();
}

// A cloudy sky around the viewer: a box far beyond the level, seen from
// inside (every face is double-sided).
TG3DMesh SkyBox() {
    constexpr int32_t kReach = 16384;
    MeshBuilder b;
    b.AddBox(-kReach, -kReach, -kReach, kReach, kReach, kReach, TexturePaint(kTexSky));
    return b.Mesh();
}

TG3DMesh Shot(int32_t half, const Paint& paint) {
    MeshBuilder b;
    b.AddBox(-half, -half, -half, half, half, half, paint);
    return b.Mesh();
}

TG3DMesh Coin() {
    MeshBuilder b;
    b.AddBox(-80, -120, -10, 80, 40, 10, TexturePaint(kTexGold));
    return b.Mesh();
}

TG3DMesh Blaster() {
    MeshBuilder b;
    b.AddBox(-30, -150, -90, 30, -90, 60, TexturePaint(kTexMetal));
    b.AddBox(-20, -210, -80, 20, -150, -40, TexturePaint(kTexWood));
    b.AddBox(-12, -135, 60, 12, -105, 130, FlatPaint(Shade(Ramp::Gold, 28)));
    return b.Mesh();
}

// A blast growing with frame f (1..kBlastFrames).
TG3DMesh Blast(int f) {
    const int32_t r = 60 + 70 * f;
    MeshBuilder b;
    b.AddBox(-r, -256, -r, r, -256 + 2 * r, r, FlatPaint(Shade(Ramp::Gold, 31 - 6 * f)));
    return b.Mesh();
}
}  // namespace

std::vector<NamedMesh> ScriptPropMeshes() {
    std::vector<NamedMesh> list;
    list.push_back({"Turret", Turret()});
    list.push_back({"Turret_Wreck", TurretWreck()});
    list.push_back({"Drone", Drone()});
    list.push_back({"Ram", Ram()});
    list.push_back({"Beacon", Beacon()});
    list.push_back({"Spikes", Spikes()});
    list.push_back({"Sky_Clouds", SkyBox()});
    list.push_back({"Bolt", Shot(30, FlatPaint(Shade(Ramp::Water, 31)))});
    list.push_back({"Fireball", Shot(50, FlatPaint(Shade(Ramp::Brick, 30)))});
    for (int f = 1; f <= kCoinFrames; ++f) {
        list.push_back({Numbered("Coin", f), Turned(Coin(), 45.0f * (f - 1))});
        list.push_back({Numbered("Blaster", f), Turned(Blaster(), 90.0f * (f - 1))});
    }
    for (int f = 1; f <= kBlastFrames; ++f) list.push_back({Numbered("Blast", f), Blast(f)});
    return list;
}

IndexedPicture CoinIcon() {
    IndexedPicture p(32, 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int dx = x - 16, dy = y - 16, d = dx * dx + dy * dy;
            if (d < 13 * 13) p.At(x, y) = Shade(Ramp::Gold, d < 9 * 9 ? 28 - y / 4 : 18);
        }
    }
    return p;
}

IndexedPicture BoltIcon() {
    IndexedPicture p(32, 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int d = std::abs(x - 16) + std::abs(y - 16) * 3;
            if (d < 14 || std::abs(x - y) < 2) p.At(x, y) = Shade(Ramp::Water, 31 - d / 2);
        }
    }
    return p;
}

}  // namespace demo
