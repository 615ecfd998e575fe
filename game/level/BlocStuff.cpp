#include "game/level/BlocStuff.h"

TG3DMesh** GolemTypeStuff::WalkMesh(int32_t number) {
    TG3DMesh** const meshes[] = {&MeshWalk1, &MeshWalk2, &MeshWalk3, &MeshWalk4};
    return number >= 1 && number <= 4 ? meshes[number - 1] : nullptr;
}

TG3DMesh** GolemTypeStuff::BlockMesh(int32_t number) {
    TG3DMesh** const meshes[] = {&MeshBlock1, &MeshBlock2, &MeshBlock3, &MeshBlock4};
    return number >= 1 && number <= 4 ? meshes[number - 1] : nullptr;
}

void GolemTypeStuff::FreeMeshes() {
    G3DFreeMesh(MeshStand);
    for (int32_t i = 1; i <= 4; ++i) {
        G3DFreeMesh(*WalkMesh(i));
        G3DFreeMesh(*BlockMesh(i));
    }
}

int32_t* BlocStuff::FaceColor(int32_t face) {
    int32_t* const colours[] = {&FaceAColor, &FaceBColor, &FaceCColor,
                                &FaceDColor, &FaceEColor, &FaceFColor};
    return face >= 0 && face < 6 ? colours[face] : nullptr;
}

int32_t* BlocStuff::FaceTexture(int32_t face) {
    int32_t* const textures[] = {&FaceATexture, &FaceBTexture, &FaceCTexture,
                                 &FaceDTexture, &FaceETexture, &FaceFTexture};
    return face >= 0 && face < 6 ? textures[face] : nullptr;
}

void BlocStuff::FreeMeshes() {
    for (TG3DMesh*& mesh : Meshes) G3DFreeMesh(mesh);
    G3DFreeMesh(CurrentMesh);
    GolemType.FreeMeshes();
}
