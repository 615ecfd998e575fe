#include "tools/demogame/MeshWriter.h"

#include <cmath>

#include "tools/demogame/Bytes.h"

namespace demo {

TG3DMesh Turned(TG3DMesh mesh, float degrees) {
    constexpr float kPi = 3.14159265f;
    const float c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
    for (size_t i = 0; i < mesh.X.size(); ++i) {
        const float x = static_cast<float>(mesh.X[i]), z = static_cast<float>(mesh.Z[i]);
        mesh.X[i] = static_cast<int32_t>(std::lround(x * c - z * s));
        mesh.Z[i] = static_cast<int32_t>(std::lround(x * s + z * c));
    }
    return mesh;
}

std::string Numbered(const char* base, int n) { return base + std::to_string(n); }

std::string MeshFileBytes(const TG3DMesh& mesh) {
    std::string s;
    AppendU16(s, static_cast<uint32_t>(mesh.LastVertex));
    AppendU16(s, static_cast<uint32_t>(mesh.LastFace));
    for (const auto* axis : {&mesh.X, &mesh.Y, &mesh.Z}) {
        for (int32_t i = 0; i <= mesh.LastVertex; ++i) AppendI32(s, (*axis)[i]);
    }
    for (int32_t j = 0; j <= mesh.LastFace; ++j) {
        const TG3DFace& f = mesh.Faces[j];
        for (uint16_t w :
             {f.V0, f.V1, f.V2, f.Texture, f.Layout, f.DoubleSided, f.Kind, f.Transparency}) {
            AppendU16(s, w);
        }
    }
    return s;
}

Paint FlatPaint(uint8_t colour) { return Paint{colour, kG3DFaceFlat, 0}; }

Paint TexturePaint(uint16_t texture) { return Paint{texture, kG3DFaceTextured, 0}; }

int32_t MeshBuilder::AddVertex(int32_t x, int32_t y, int32_t z) {
    mesh_.X.push_back(x);
    mesh_.Y.push_back(y);
    mesh_.Z.push_back(z);
    return static_cast<int32_t>(mesh_.X.size()) - 1;
}

void MeshBuilder::AddTriangle(int32_t a, int32_t b, int32_t c, uint16_t layout,
                              const Paint& paint) {
    TG3DFace f{};
    f.V0 = static_cast<uint16_t>(a);
    f.V1 = static_cast<uint16_t>(b);
    f.V2 = static_cast<uint16_t>(c);
    f.Texture = paint.Texture;
    f.Layout = layout;
    f.DoubleSided = 1;
    f.Kind = paint.Kind;
    f.Transparency = paint.Transparency;
    mesh_.Faces.push_back(f);
}

void MeshBuilder::AddQuad(int32_t a, int32_t b, int32_t c, int32_t d, const Paint& paint) {
    // Layout 0 maps a-b-c onto three corners of the picture, layout 1 maps
    // c-d-a onto the three opposite ones.
    AddTriangle(a, b, c, 0, paint);
    AddTriangle(c, d, a, 1, paint);
}

void MeshBuilder::AddBox(int32_t x0, int32_t y0, int32_t z0, int32_t x1, int32_t y1, int32_t z1,
                         const Paint& paint) {
    int32_t v[8];
    for (int i = 0; i < 8; ++i) {
        v[i] = AddVertex(i & 1 ? x1 : x0, i & 2 ? y1 : y0, i & 4 ? z1 : z0);
    }
    AddQuad(v[0], v[1], v[3], v[2], paint);  // z0 side
    AddQuad(v[5], v[4], v[6], v[7], paint);  // z1 side
    AddQuad(v[4], v[0], v[2], v[6], paint);  // x0 side
    AddQuad(v[1], v[5], v[7], v[3], paint);  // x1 side
    AddQuad(v[2], v[3], v[7], v[6], paint);  // top
    AddQuad(v[4], v[5], v[1], v[0], paint);  // bottom
}

void MeshBuilder::AddSprite(int32_t x, int32_t y, int32_t z, uint16_t width, uint16_t height,
                            uint16_t texture) {
    const int32_t centre = AddVertex(x, y, z);
    TG3DFace f{};
    f.V0 = static_cast<uint16_t>(centre);
    f.V1 = width;
    f.V2 = height;
    f.Texture = texture;
    f.DoubleSided = 1;
    f.Kind = kG3DFaceSprite;
    mesh_.Faces.push_back(f);
}

TG3DMesh MeshBuilder::Mesh() const {
    TG3DMesh m = mesh_;
    m.LastVertex = static_cast<int32_t>(m.X.size()) - 1;
    m.LastFace = static_cast<int32_t>(m.Faces.size()) - 1;
    return m;
}

}  // namespace demo
