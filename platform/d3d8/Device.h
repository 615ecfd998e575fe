// The software 3-D device: an X8R8G8B8 back buffer and an optional 16-bit
// depth buffer of the size it was created with, render and texture-stage
// states, transforms, one vertex stream, triangle lists of the scene and the
// screen vertex formats, and Present through a sink.
//
// Drawing is deferred: Clear and DrawPrimitive do the vertex work at once and
// queue the pixel work under the blocks of rows it touches; the device's
// threads draw it, block by block, when the frame is presented or read back, a
// texture is locked, or the queue is long. Each pixel sees its operations in
// the order they were asked for, so the picture does not depend on the number
// of threads.
//
// Reference counting follows the interface the engine was written for: the
// device holds the textures and the vertex buffer set into it; each resource
// keeps the device alive. When the program's last reference goes, the device
// drops what it holds and stops drawing; its memory goes with its last
// resource.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d8/D3D8Types.h"
#include "platform/d3d8/PixelPipeline.h"
#include "platform/d3d8/Raster.h"
#include "platform/d3d8/Texture.h"
#include "platform/d3d8/Unknown.h"
#include "platform/d3d8/VertexBuffer.h"

namespace d3d8 {

class BandPool;
class Direct3D;
class PresentSink;

class Device final : public Unknown {
  public:
    // States; values of unknown states are refused.
    Result SetRenderState(RenderState state, uint32_t value);
    Result GetRenderState(RenderState state, uint32_t& value) const;
    Result SetTextureStageState(uint32_t stage, StageState state, uint32_t value);
    Result GetTextureStageState(uint32_t stage, StageState state, uint32_t& value) const;
    // Sets (and holds) the texture of a stage; null: none.
    Result SetTexture(uint32_t stage, Texture* texture);
    Result SetTransform(TransformState state, const Matrix& matrix);
    Result GetTransform(TransformState state, Matrix& matrix) const;
    // Sets (and holds) the buffer vertices are read from, `stride` bytes apart.
    Result SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t stride);
    // The vertex format of the next draws: kFvfSceneVertex or kFvfScreenVertex.
    Result SetVertexShader(uint32_t fvf);

    // Drawing happens between BeginScene and EndScene (scenes do not nest).
    Result BeginScene();
    Result EndScene();
    // Clears the whole target, or `count` rectangles of it, to `colour`
    // (kClearTarget) and depth z (kClearZBuffer, z held to 0..1).
    Result Clear(uint32_t count, const Rect* rects, uint32_t flags, Color colour, float z,
                 uint32_t stencil);
    // Draws `count` triangles from vertex `start` of the stream.
    Result DrawPrimitive(PrimitiveType type, uint32_t start, uint32_t count);
    // Shows the `source` rectangle of the back buffer (null: all of it)
    // stretched onto `dest` of the sink's surface (null: all of it); `sink`
    // null: the device sink of the creation parameters. Not inside a scene.
    Result Present(const Rect* source, const Rect* dest, PresentSink* sink,
                   const void* dirtyRegion);

    // Textures with power-of-two sides up to kMaxSurfaceSide, A8R8G8B8.
    Result CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                         Format format, Pool pool, Texture** texture);
    Result CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, Pool pool,
                              VertexBuffer** buffer);

    uint32_t BackBufferWidth() const { return width_; }
    uint32_t BackBufferHeight() const { return height_; }
    bool InScene() const { return inScene_; }
    int32_t RasterBands() const;
    // Copies of the buffers with all drawing asked for so far done.
    void ReadBackBuffer(std::vector<uint32_t>& pixels);
    void ReadDepthBuffer(std::vector<uint16_t>& depth);
    // Appends a line for every call to `trace` (null: no trace).
    void SetTrace(std::vector<std::string>* trace) { trace_ = trace; }

  private:
    friend class Direct3D;
    friend class Texture;
    friend class VertexBuffer;

    struct Command {
        bool clear;
        uint32_t index;
    };
    struct ClearCommand {
        Rect rect;
        uint32_t flags;
        uint32_t colour;
        uint16_t depth;
    };

    Device(Direct3D& owner, const PresentParameters& params);
    ~Device() override;
    void LastRelease() override;
    void AdoptChild() { ++children_; }
    void DropChild();
    void Note(const std::string& line) {
        if (trace_ != nullptr) trace_->push_back(line);
    }
    bool Tracing() const { return trace_ != nullptr; }

    void SetDefaultStates();
    uint32_t CurrentPixelState();
    void QueueTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                       uint32_t state, Cull cull);
    // Does the queued work when the queue is full; `state` is taken anew.
    void KeepQueueShort(uint32_t& state);
    void DrawScene(const uint8_t* first, uint32_t stride, uint32_t count, uint32_t state,
                   Cull cull);
    void DrawScreen(const uint8_t* first, uint32_t stride, uint32_t count, uint32_t state,
                    Cull cull);
    void Flush();
    bool QueueFull() const;
    // Files a queued command under the blocks of rows top..bottom.
    void Bin(Command command, int32_t top, int32_t bottom);
    void DrawBlock(int32_t block);

    Direct3D* owner_;
    PresentSink* deviceSink_;
    uint32_t width_, height_;
    PixelRoutines routines_;
    std::vector<uint32_t> colour_;
    std::vector<uint16_t> depth_;  // empty without a depth buffer
    std::array<uint32_t, kRenderStateSlots> renderStates_{};
    std::array<std::array<uint32_t, kStageStateSlots>, kTextureStages> stageStates_{};
    std::array<Ref<Texture>, kTextureStages> textures_;
    Matrix world_{}, view_{}, projection_{}, combined_{};
    bool combinedValid_ = false;
    Ref<VertexBuffer> stream_;
    uint32_t stride_ = 0;
    uint32_t fvf_ = 0;
    bool inScene_ = false;
    bool closed_ = false;
    uint32_t children_ = 0;
    std::vector<std::string>* trace_ = nullptr;

    // The queue of pixel work: the commands of each block of rows, in order.
    std::vector<std::vector<Command>> blocks_;
    size_t queued_ = 0;                  // commands
    size_t binned_ = 0;                  // entries of the blocks' lists
    std::atomic<int32_t> nextBlock_{0};  // the next block a drawing thread takes
    std::vector<ClearCommand> clears_;
    std::vector<TriangleSetup> triangles_;
    std::vector<PixelState> pixelStates_;
    std::vector<Ref<Texture>> heldTextures_;
    int64_t currentPixelState_ = -1;
    std::unique_ptr<BandPool> pool_;
};

}  // namespace d3d8
