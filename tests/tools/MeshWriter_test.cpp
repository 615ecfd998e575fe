#include "tools/demogame/MeshWriter.h"

#include <gtest/gtest.h>

#include "tools/demogame/FigureMeshes.h"
#include "tools/demogame/PropMeshes.h"

namespace {

using demo::MeshBuilder;

TG3DMesh* ReadBack(const TG3DMesh& mesh) {
    TG3DMesh* read = nullptr;
    EXPECT_TRUE(G3DReadMesh(demo::MeshFileBytes(mesh), read));
    return read;
}

void ExpectSameMesh(const TG3DMesh& a, const TG3DMesh& b) {
    ASSERT_EQ(a.LastVertex, b.LastVertex);
    ASSERT_EQ(a.LastFace, b.LastFace);
    for (int32_t i = 0; i <= a.LastVertex; ++i) {
        EXPECT_EQ(a.X[i], b.X[i]);
        EXPECT_EQ(a.Y[i], b.Y[i]);
        EXPECT_EQ(a.Z[i], b.Z[i]);
    }
    for (int32_t j = 0; j <= a.LastFace; ++j) {
        const TG3DFace &f = a.Faces[j], &g = b.Faces[j];
        EXPECT_EQ(
            std::tie(f.V0, f.V1, f.V2, f.Texture, f.Layout, f.DoubleSided, f.Kind, f.Transparency),
            std::tie(g.V0, g.V1, g.V2, g.Texture, g.Layout, g.DoubleSided, g.Kind, g.Transparency));
    }
}

TEST(MeshWriterTest, FileLengthFollowsTheCounts) {
    MeshBuilder b;
    b.AddVertex(0, 0, 0);
    b.AddVertex(1, 0, 0);
    b.AddVertex(0, 1, 0);
    b.AddTriangle(0, 1, 2, 0, demo::FlatPaint(7));
    EXPECT_EQ(demo::MeshFileBytes(b.Mesh()).size(), 56u);  // 4 + 3 × 12 + 16
}

TEST(MeshWriterTest, QuadsMapTheWholePicture) {
    MeshBuilder b;
    for (int i = 0; i < 4; ++i) b.AddVertex(i, 0, 0);
    b.AddQuad(0, 1, 2, 3, demo::TexturePaint(5));
    const TG3DMesh m = b.Mesh();
    ASSERT_EQ(m.LastFace, 1);
    EXPECT_EQ(std::tie(m.Faces[0].V0, m.Faces[0].V1, m.Faces[0].V2), std::make_tuple(0, 1, 2));
    EXPECT_EQ(std::tie(m.Faces[1].V0, m.Faces[1].V1, m.Faces[1].V2), std::make_tuple(2, 3, 0));
    EXPECT_EQ(m.Faces[0].Layout, 0);
    EXPECT_EQ(m.Faces[1].Layout, 1);
    EXPECT_EQ(m.Faces[1].Texture, 5);
    EXPECT_EQ(m.Faces[1].Kind, kG3DFaceTextured);
    EXPECT_NE(m.Faces[1].DoubleSided, 0);
}

TEST(MeshWriterTest, BoxHasEightCornersAndTwelveTriangles) {
    MeshBuilder b;
    b.AddBox(-10, -20, -30, 10, 20, 30, demo::FlatPaint(3));
    const TG3DMesh m = b.Mesh();
    EXPECT_EQ(m.LastVertex, 7);
    EXPECT_EQ(m.LastFace, 11);
    for (int32_t i = 0; i <= m.LastVertex; ++i) {
        EXPECT_EQ(std::abs(m.X[i]), 10);
        EXPECT_EQ(std::abs(m.Y[i]), 20);
        EXPECT_EQ(std::abs(m.Z[i]), 30);
    }
    TG3DMesh* read = ReadBack(m);
    ASSERT_NE(read, nullptr);
    ExpectSameMesh(m, *read);
    G3DFreeMesh(read);
}

TEST(MeshWriterTest, SpritesSurviveTheReader) {
    MeshBuilder b;
    b.AddSprite(5, 6, 7, 300, 200, 9);  // 300 and 200 are no vertex indices
    TG3DMesh* read = ReadBack(b.Mesh());
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->LastFace, 0);
    EXPECT_EQ(read->Faces[0].Kind, kG3DFaceSprite);
    EXPECT_EQ(read->Faces[0].V1, 300);
    EXPECT_EQ(read->Faces[0].V2, 200);
    G3DFreeMesh(read);
}

// Poses that the game morphs into each other must match vertex for vertex.
void ExpectMorphable(const std::vector<demo::NamedMesh>& poses) {
    for (const demo::NamedMesh& m : poses) {
        if (m.Name == "Shadow") continue;
        EXPECT_EQ(m.Mesh.LastVertex, poses.front().Mesh.LastVertex) << m.Name;
        EXPECT_EQ(m.Mesh.LastFace, poses.front().Mesh.LastFace) << m.Name;
    }
}

TEST(DemoMeshesTest, FigurePosesMorph) {
    ExpectMorphable(demo::HeroMeshes());
    ExpectMorphable(demo::GolemMeshes());
}

TEST(DemoMeshesTest, HeroFitsItsCollisionBox) {
    for (const demo::NamedMesh& m : demo::HeroMeshes()) {
        for (int32_t i = 0; i <= m.Mesh.LastVertex; ++i) {
            EXPECT_GE(m.Mesh.Y[i], -240) << m.Name;
            EXPECT_LE(m.Mesh.Y[i], 250) << m.Name;
        }
    }
}

TEST(DemoMeshesTest, EveryMeshReadsBackWhole) {
    for (const auto& list : {demo::HeroMeshes(), demo::GolemMeshes(), demo::PropMeshes()}) {
        for (const demo::NamedMesh& m : list) {
            TG3DMesh* read = ReadBack(m.Mesh);
            ASSERT_NE(read, nullptr) << m.Name;
            ExpectSameMesh(m.Mesh, *read);
            G3DFreeMesh(read);
        }
    }
}

TEST(DemoMeshesTest, ObjectsStandOnTheFloorOfTheirCell) {
    for (const demo::NamedMesh& m : demo::PropMeshes()) {
        int32_t lowest = 1 << 30;
        for (int32_t i = 0; i <= m.Mesh.LastVertex; ++i) {
            EXPECT_GE(m.Mesh.X[i], -256) << m.Name;
            EXPECT_LE(m.Mesh.X[i], 256) << m.Name;
            EXPECT_GE(m.Mesh.Z[i], -256) << m.Name;
            EXPECT_LE(m.Mesh.Z[i], 256) << m.Name;
            lowest = std::min(lowest, m.Mesh.Y[i]);
        }
        const bool floats = m.Name.rfind("Key", 0) == 0 || m.Name.rfind("Gem", 0) == 0 ||
                            m.Name.rfind("Door_Open", 0) == 0;
        if (!floats) {
            EXPECT_EQ(lowest, -256) << m.Name;
        }
    }
}

}  // namespace
