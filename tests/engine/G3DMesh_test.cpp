#include "engine/G3DMesh.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/msgbox/MessageBox.h"
#include "tests/engine/TestFiles.h"

namespace {

// A mesh with `vertices` vertices (x = i, y = 2i, z = -i) and faces (0, 1, 2).
TG3DMesh* MakeMesh(int32_t vertices, int32_t faces) {
    TG3DMesh* m = nullptr;
    G3DAllocMesh(m, vertices - 1, faces - 1);
    for (int32_t i = 0; i < vertices; ++i) {
        m->X[i] = i;
        m->Y[i] = 2 * i;
        m->Z[i] = -i;
    }
    for (int32_t j = 0; j < faces; ++j) m->Faces[j] = {0, 1, 2, 7, 1, 0, 0, 10};
    return m;
}

TEST(G3DMesh, AllocAndCopyRoom) {
    TG3DMesh* m = nullptr;
    G3DAllocMesh(m, 3, 1);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->LastVertex, 3);
    EXPECT_EQ(m->LastFace, 1);
    EXPECT_EQ(m->X.size(), 4u);
    EXPECT_EQ(m->Faces.size(), 2u);
    m->X[3] = 42;
    m->Faces[1].Kind = 3;
    TG3DMesh* copy = nullptr;
    G3DCopyMesh(m, copy);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->LastVertex, 3);
    EXPECT_EQ(copy->LastFace, 1);
    EXPECT_EQ(copy->X.size(), 5u);
    EXPECT_EQ(copy->Faces.size(), 3u);
    EXPECT_EQ(copy->X[3], 42);
    EXPECT_EQ(copy->Faces[1].Kind, 3);
    TG3DMesh* same = copy;
    G3DCopyMesh(copy, same);  // onto itself: unchanged, not freed
    EXPECT_EQ(same, copy);
    EXPECT_EQ(same->X[3], 42);
    G3DFreeMesh(m);
    G3DFreeMesh(copy);
    EXPECT_EQ(m, nullptr);
    G3DFreeMesh(m);  // freeing nothing is harmless
    G3DCopyMesh(nullptr, copy);
    EXPECT_EQ(copy, nullptr);
    G3DAllocMesh(m, -2, 0);  // refused sizes leave no mesh
    EXPECT_EQ(m, nullptr);
}

TEST(G3DMesh, ScratchGrowsWithTheLargestMesh) {
    EXPECT_GE(G3DScratchVertexCapacity(), 5001);
    EXPECT_GE(G3DScratchFaceCapacity(), 15001);
    TG3DMesh* many = nullptr;
    G3DAllocMesh(many, 6000, 100);  // more vertices, few faces
    EXPECT_GE(G3DScratchVertexCapacity(), 6001);
    G3DAllocMesh(many, 30000, 20000);
    EXPECT_GE(G3DScratchVertexCapacity(), 30001);
    EXPECT_GE(G3DScratchFaceCapacity(), 20001);
    G3DFreeMesh(many);
}

TEST(G3DMesh, FileRoundTripAndLayout) {
    TG3DMesh* m = MakeMesh(3, 1);
    m->X[2] = -70000;
    m->Faces[0] = {0, 1, 2, 300, 3, 1, 1, 65535};
    const std::string bytes = enginetest::MeshFileBytes(*m);
    ASSERT_EQ(bytes.size(), 56u);  // 4 + 36 + 16
    TG3DMesh* read = nullptr;
    ASSERT_TRUE(G3DReadMesh(bytes, read));
    EXPECT_EQ(read->LastVertex, 2);
    EXPECT_EQ(read->LastFace, 0);
    EXPECT_EQ(read->X[2], -70000);
    EXPECT_EQ(read->Y[1], 2);
    EXPECT_EQ(read->Z[2], -2);
    EXPECT_EQ(read->Faces[0].Texture, 300);
    EXPECT_EQ(read->Faces[0].Transparency, 65535);
    G3DFreeMesh(m);
    G3DFreeMesh(read);
}

// A mesh file spelled out byte by byte: the two last indices, then all X, all
// Y and all Z coordinates (not interleaved), then the faces' eight words.
TEST(G3DMesh, FileBytesLieAtTheirOffsets) {
    std::string bytes = {'\x02', '\x00', '\x00', '\x00'};  // LastVertex 2, LastFace 0
    for (uint32_t v : {1u, 2u, 0xFFFFFFFFu, 10u, 20u, 30u, 100u, 0x00012345u, 300u}) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>(v >> shift));
    }
    for (uint16_t w : {0, 1, 2, 0x0102, 3, 1, 2, 50}) {
        bytes.push_back(static_cast<char>(w & 0xFF));
        bytes.push_back(static_cast<char>(w >> 8));
    }
    ASSERT_EQ(bytes.size(), 56u);
    TG3DMesh* read = nullptr;
    ASSERT_TRUE(G3DReadMesh(bytes, read));
    EXPECT_EQ(read->LastVertex, 2);
    EXPECT_EQ(read->LastFace, 0);
    EXPECT_EQ(read->X, (std::vector<int32_t>{1, 2, -1}));
    EXPECT_EQ(read->Y[0], 10);
    EXPECT_EQ(read->Y[2], 30);
    EXPECT_EQ(read->Z[1], 0x12345);
    const TG3DFace& f = read->Faces[0];
    EXPECT_EQ(f.V0, 0);
    EXPECT_EQ(f.V2, 2);
    EXPECT_EQ(f.Texture, 0x0102);
    EXPECT_EQ(f.Layout, 3);
    EXPECT_EQ(f.DoubleSided, 1);
    EXPECT_EQ(f.Kind, 2);
    EXPECT_EQ(f.Transparency, 50);
    EXPECT_EQ(enginetest::MeshFileBytes(*read), bytes);  // the writer gives the same bytes
    G3DFreeMesh(read);
}

TEST(G3DMesh, DamagedFiles) {
    TG3DMesh* m = MakeMesh(3, 3);
    m->Faces[1] = {0, 1, 3, 0, 0, 0, 0, 0};      // vertex 3 does not exist
    m->Faces[0] = {2, 900, 800, 0, 0, 0, 2, 0};  // a sprite: V1, V2 are sizes
    std::string bytes = enginetest::MeshFileBytes(*m);
    TG3DMesh* read = nullptr;
    ASSERT_TRUE(G3DReadMesh(bytes, read));
    EXPECT_EQ(read->LastFace, 1);  // the bad face is dropped
    EXPECT_EQ(read->Faces[0].V1, 900);
    EXPECT_EQ(read->Faces[1].Transparency, 10);

    // Cut inside the Y array: the rest reads as zeros.
    ASSERT_TRUE(G3DReadMesh(bytes.substr(0, 4 + 12 + 5), read));
    EXPECT_EQ(read->X[2], 2);
    EXPECT_EQ(read->Y[1], 2);  // its low byte was in the file
    EXPECT_EQ(read->Y[2], 0);
    EXPECT_EQ(read->LastFace, 2);  // zero faces (0, 0, 0) are in range
    EXPECT_EQ(read->Faces[2].Kind, 0);

    // Under 4 bytes: the old mesh stays.
    TG3DMesh* before = read;
    EXPECT_FALSE(G3DReadMesh(bytes.substr(0, 3), read));
    EXPECT_EQ(read, before);
    EXPECT_EQ(read->X[2], 2);
    G3DFreeMesh(m);
    G3DFreeMesh(read);
}

TEST(G3DMesh, LoadFromFile) {
    platform::RecordingMessageSink messages;
    platform::SetMessageSink(&messages);
    enginetest::ScratchFolder folder;
    TG3DMesh* m = MakeMesh(4, 1);
    const std::string name = folder.Write("Box.MSH", enginetest::MeshFileBytes(*m));
    TG3DMesh* loaded = nullptr;
    G3DLoadMesh(folder.Path("box.msh"), loaded);  // any letter case
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->LastVertex, 3);
    G3DLoadMesh(folder.Path("none.msh"), loaded);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], "G3D: The 3D file " + folder.Path("none.msh") + " is missing");
    EXPECT_EQ(loaded->LastVertex, 3);  // kept
    G3DLoadMesh("", loaded);
    EXPECT_EQ(messages.texts.size(), 1u);
    platform::SetMessageSink(nullptr);
    G3DFreeMesh(m);
    G3DFreeMesh(loaded);
}

TEST(G3DMesh, InterpolationRoundsHalfToEven) {
    struct Case {
        int32_t a, b;
        float t;
        int32_t expected;
    };
    const Case cases[] = {
        {0, 3, 0.5f, 2},
        {0, 5, 0.5f, 2},
        {0, 1, 0.5f, 0},
        {0, -3, 0.5f, -2},
        {10, 20, 0.25f, 12},
        {10, 20, 0.0f, 10},
        {10, 20, 1.0f, 20},
        {-2147483647, 2147483647, 1.0f, 2147483647},  // difference beyond 32 bits
        {0, 100, 2.0f, 200},
        {7, 100, NAN, 7},                   // no share at all
        {0, 2147483647, 4e5f, 2147483647},  // saturates
        {0, -100, 1e7f, -1000000000},       // beyond the fast range
        {-5, 4, 0.5f, -1},                  // -5 + Round(4.5)
    };
    for (const Case& c : cases) {
        TG3DMesh* a = MakeMesh(3, 1);
        TG3DMesh* b = MakeMesh(3, 1);
        a->X[1] = c.a;
        b->X[1] = c.b;
        TG3DMesh* r = nullptr;
        G3DInterpolateMesh(a, b, r, c.t);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->X[1], c.expected) << c.a << " " << c.b << " " << c.t;
        G3DFreeMesh(a);
        G3DFreeMesh(b);
        G3DFreeMesh(r);
    }
}

TEST(G3DMesh, InterpolationTransparencyAndCounts) {
    TG3DMesh* a = MakeMesh(3, 3);
    TG3DMesh* b = MakeMesh(3, 3);
    a->Faces[0].Transparency = 10;
    b->Faces[0].Transparency = 0;
    b->Faces[0].Kind = 3;          // only the transparency follows b
    TG3DMesh* r = MakeMesh(3, 2);  // same vertices, fewer faces: replaced by a copy of a
    G3DInterpolateMesh(a, b, r, 0.25f);
    EXPECT_EQ(r->LastFace, 2);
    EXPECT_EQ(r->Faces[0].Transparency, 8);  // 10 + Round(-2.5)
    EXPECT_EQ(r->Faces[0].Kind, 0);

    TG3DMesh* small = MakeMesh(2, 2);  // a key frame with fewer vertices and faces
    small->X[1] = 101;
    G3DInterpolateMesh(a, small, r, 1.0f);
    EXPECT_EQ(r->X[1], 101);
    EXPECT_EQ(r->X[2], 2);  // beyond b: a's value
    EXPECT_EQ(r->Faces[2].Transparency, 10);

    TG3DMesh* untouched = r;
    G3DInterpolateMesh(nullptr, b, r, 0.5f);
    EXPECT_EQ(r, untouched);
    G3DFreeMesh(a);
    G3DFreeMesh(b);
    G3DFreeMesh(r);
    G3DFreeMesh(small);
}

}  // namespace
