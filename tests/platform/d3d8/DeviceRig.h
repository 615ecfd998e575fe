// A small software device for the device tests: a back buffer of a given size
// with a depth buffer, culling and lighting off, and helpers that draw
// triangles from reference vertices and read the buffers back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d8/D3DX.h"
#include "platform/d3d8/Device.h"
#include "platform/d3d8/Direct3D.h"
#include "tests/platform/d3d8/RasterReference.h"

namespace d3d8test {

class DeviceRig {
  public:
    DeviceRig(int width, int height, uint32_t threads = 0,
              d3d8::PixelRoutines routines = d3d8::PixelRoutines::Fastest);

    // Draws triangles (three vertices each) in the screen format, in one scene.
    void Screen(const std::vector<ref::Vertex>& vertices);
    // Draws triangles in the scene format (x, y, z, colour, u, v of each vertex).
    void Scene(const std::vector<ref::Vertex>& vertices);
    // A texture of the reference texels, set on stage 0.
    void SetTexture(const ref::Texels& texels);

    std::vector<uint32_t> Pixels();
    uint32_t Pixel(int x, int y) { return Pixels()[static_cast<size_t>(y) * width + x]; }

    int width, height;
    d3d8::Ref<d3d8::Direct3D> direct3d;
    d3d8::Ref<d3d8::Device> device;
    d3d8::Ref<d3d8::VertexBuffer> buffer;
    d3d8::Ref<d3d8::Texture> texture;

  private:
    void Draw(const std::vector<ref::Vertex>& vertices, bool screen);
};

// 0xAARRGGBB of a reference vertex's colour.
uint32_t PackColour(const ref::Vertex& v);

// Rows of "0xRRGGBB" differences between two images, for failure messages.
std::string Difference(const std::vector<uint32_t>& actual, const std::vector<uint32_t>& expected,
                       int width);

}  // namespace d3d8test
