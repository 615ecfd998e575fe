// The figures of the demo game, built from boxes: the hero's animation poses
// and shadow, and the golem's standing, walking and blocking poses. Every
// pose of one figure has the same vertices and faces, so that poses morph.
#pragma once

#include <string>
#include <vector>

#include "engine/G3DMesh.h"

namespace demo {

// A mesh and the base name of its file (the file is Name + ".msh").
struct NamedMesh {
    std::string Name;
    TG3DMesh Mesh;
};

// Figures face -z. Hero: 260 wide, 480 high, centred on its position (feet
// at y = -240).
// Names: "Hero", "Hero_Walk1".."Hero_Walk4", "Hero_Fall", "Hero_Crouch",
// "Hero_Dead", "Hero_Action", "Hero_Shoot", "Hero_GolemStop",
// "Hero_GolemCoucouche", "Shadow".
std::vector<NamedMesh> HeroMeshes();

// Golem: 200 wide, 300 high, centred. Names: "Golem_Stand", "Golem_Walk1",
// "Golem_Walk2", "Golem_Block".
std::vector<NamedMesh> GolemMeshes();

}  // namespace demo
