#include "tools/demogame/FigureMeshes.h"

#include <algorithm>
#include <cstdint>

#include "tools/demogame/DemoPalette.h"
#include "tools/demogame/DemoPictures.h"
#include "tools/demogame/MeshWriter.h"

namespace demo {

namespace {
// Where a figure's limbs are: swings move a limb's far end along z (forward),
// raises move it along y. A figure is built facing +z and turned to face -z
// at the end: the player turns a hero or a golem by a half turn less its
// heading, so that a figure's front along -z looks where it goes.
struct Pose {
    int32_t LeftLeg = 0, RightLeg = 0;  // foot offset forward
    int32_t LeftArm = 0, RightArm = 0;  // hand offset forward
    int32_t ArmsUp = 0;                 // hands raised
    int32_t Crouch = 0;                 // body lowered
    bool Lying = false;                 // rotated onto its back
};

// A box whose bottom face is moved by (dz, dy) against its top face: a limb
// hanging from (x0..x1, y1, z0..z1) down to y0.
void AddLimb(MeshBuilder& b, int32_t x0, int32_t x1, int32_t y0, int32_t y1, int32_t z0, int32_t z1,
             int32_t dz, int32_t dy, const Paint& paint) {
    int32_t v[8];
    for (int i = 0; i < 8; ++i) {
        const bool top = (i & 2) != 0;
        v[i] = b.AddVertex(i & 1 ? x1 : x0, top ? y1 : y0 + dy, (i & 4 ? z1 : z0) + (top ? 0 : dz));
    }
    b.AddQuad(v[0], v[1], v[3], v[2], paint);
    b.AddQuad(v[5], v[4], v[6], v[7], paint);
    b.AddQuad(v[4], v[0], v[2], v[6], paint);
    b.AddQuad(v[1], v[5], v[7], v[3], paint);
    b.AddQuad(v[2], v[3], v[7], v[6], paint);
    b.AddQuad(v[4], v[5], v[1], v[0], paint);
}

// Turns a standing figure onto its back, lying on the floor at `floorY`.
TG3DMesh LayDown(TG3DMesh mesh, int32_t floorY) {
    int32_t lowest = INT32_MAX;
    for (size_t i = 0; i < mesh.Y.size(); ++i) {
        const int32_t y = mesh.Y[i];
        mesh.Y[i] = -mesh.Z[i];
        mesh.Z[i] = y;
        lowest = std::min(lowest, mesh.Y[i]);
    }
    for (int32_t& y : mesh.Y) y += floorY - lowest;
    return mesh;
}

TG3DMesh Hero(const Pose& p) {
    MeshBuilder b;
    const Paint cloth = TexturePaint(kTexCloth), skin = TexturePaint(kTexSkin);
    const Paint boots = FlatPaint(Shade(Ramp::Wood, 8)), hair = FlatPaint(Shade(Ramp::Gold, 20));
    const int32_t c = p.Crouch;
    AddLimb(b, -90, -20, -240, -40 - c, -35, 35, p.LeftLeg, 0, cloth);  // legs
    AddLimb(b, 20, 90, -240, -40 - c, -35, 35, p.RightLeg, 0, cloth);
    b.AddBox(-95, -250 + 10, -40 + p.LeftLeg, -15, -200, 55 + p.LeftLeg, boots);
    b.AddBox(15, -250 + 10, -40 + p.RightLeg, 95, -200, 55 + p.RightLeg, boots);
    b.AddBox(-110, -40 - c, -50, 110, 140 - c, 50, cloth);  // body
    AddLimb(b, -150, -110, -20 - c, 130 - c, -30, 30, p.LeftArm, p.ArmsUp, cloth);
    AddLimb(b, 110, 150, -20 - c, 130 - c, -30, 30, p.RightArm, p.ArmsUp, cloth);
    b.AddBox(-60, 140 - c, -55, 60, 240 - c, 55, skin);  // head
    b.AddBox(-65, 215 - c, -60, 65, 245 - c, 60, hair);
    b.AddBox(-40, 185 - c, 55, -15, 205 - c, 58, FlatPaint(Shade(Ramp::Water, 8)));  // eyes
    b.AddBox(15, 185 - c, 55, 40, 205 - c, 58, FlatPaint(Shade(Ramp::Water, 8)));
    TG3DMesh mesh = b.Mesh();
    return Turned(p.Lying ? LayDown(std::move(mesh), -240) : std::move(mesh), 180);
}

// A dark disc, opaque: the engine draws in painter's order with depth
// testing, so a see-through shadow drawn before the floor beneath it would
// keep that floor from being drawn and show the background through itself.
// Each triangle starts at the centre, whose light shades all of them.
TG3DMesh Shadow() {
    MeshBuilder b;
    const Paint dark = FlatPaint(Shade(Ramp::Grey, 4));
    const int32_t r = 130, d = 92;  // d: r at 45 degrees
    const int32_t centre = b.AddVertex(0, 0, 0);
    const int32_t rim[8][2] = {{r, 0},  {d, d},   {0, r},  {-d, d},
                               {-r, 0}, {-d, -d}, {0, -r}, {d, -d}};
    int32_t v[8];
    for (int i = 0; i < 8; ++i) v[i] = b.AddVertex(rim[i][0], 0, rim[i][1]);
    for (int i = 0; i < 8; ++i) b.AddTriangle(centre, v[i], v[(i + 1) % 8], 0, dark);
    return b.Mesh();
}

TG3DMesh Golem(const Pose& p) {
    MeshBuilder b;
    const Paint body = TexturePaint(kTexGolem);
    const Paint eye = FlatPaint(Shade(Ramp::Gold, 31));
    AddLimb(b, -80, -20, -150, -60, -30, 30, p.LeftLeg, 0, body);
    AddLimb(b, 20, 80, -150, -60, -30, 30, p.RightLeg, 0, body);
    b.AddBox(-100, -60, -60, 100, 90, 60, body);
    AddLimb(b, -140, -100, -40, 80, -25, 25, p.LeftArm, p.ArmsUp, body);
    AddLimb(b, 100, 140, -40, 80, -25, 25, p.RightArm, p.ArmsUp, body);
    b.AddBox(-60, 90, -50, 60, 150, 50, body);
    b.AddBox(-40, 110, 50, -15, 130, 55, eye);
    b.AddBox(15, 110, 50, 40, 130, 55, eye);
    return Turned(b.Mesh(), 180);
}

Pose Walk(int32_t swing) {
    Pose p;
    p.LeftLeg = swing;
    p.RightLeg = -swing;
    p.LeftArm = -swing;
    p.RightArm = swing;
    return p;
}
}  // namespace

std::vector<NamedMesh> HeroMeshes() {
    Pose crouch;
    crouch.Crouch = 90;
    Pose fall;
    fall.ArmsUp = 150;
    fall.LeftLeg = 40;
    fall.RightLeg = -20;
    Pose dead;
    dead.Lying = true;
    Pose action;
    action.LeftArm = action.RightArm = 120;
    Pose shoot;
    shoot.RightArm = 150;
    shoot.ArmsUp = 0;
    Pose stop;
    stop.LeftArm = stop.RightArm = 80;
    stop.ArmsUp = 140;
    Pose down;
    down.LeftArm = down.RightArm = 140;
    down.Crouch = 40;
    return {{"Hero", Hero(Pose{})},
            {"Hero_Walk1", Hero(Walk(90))},
            {"Hero_Walk2", Hero(Walk(0))},
            {"Hero_Walk3", Hero(Walk(-90))},
            {"Hero_Walk4", Hero(Walk(0))},
            {"Hero_Fall", Hero(fall)},
            {"Hero_Crouch", Hero(crouch)},
            {"Hero_Dead", Hero(dead)},
            {"Hero_Action", Hero(action)},
            {"Hero_Shoot", Hero(shoot)},
            {"Hero_GolemStop", Hero(stop)},
            {"Hero_GolemCoucouche", Hero(down)},
            {"Shadow", Shadow()}};
}

std::vector<NamedMesh> GolemMeshes() {
    Pose block;
    block.ArmsUp = 110;
    block.LeftArm = block.RightArm = 60;
    return {{"Golem_Stand", Golem(Pose{})},
            {"Golem_Walk1", Golem(Walk(60))},
            {"Golem_Walk2", Golem(Walk(-60))},
            {"Golem_Block", Golem(block)}};
}

}  // namespace demo
