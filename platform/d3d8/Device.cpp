#include "platform/d3d8/Device.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "platform/d3d8/BandPool.h"
#include "platform/d3d8/Direct3D.h"
#include "platform/d3d8/PresentSink.h"
#include "platform/d3d8/VertexPipeline.h"

namespace d3d8 {
namespace {

// Pixel work queued before it is done without waiting for a present.
constexpr size_t kQueueLimit = 65536;
// Entries of the blocks' command lists queued before the work is done.
constexpr size_t kBinLimit = size_t{1} << 22;
constexpr uint32_t kSceneVertexSize = 24;
constexpr uint32_t kScreenVertexSize = 28;
constexpr uint32_t kMaxVertexBuffer = 64u << 20;

uint32_t Slot(RenderState s) { return static_cast<uint32_t>(s); }
uint32_t Slot(StageState s) { return static_cast<uint32_t>(s); }

bool PowerOfTwo(uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }

Matrix Identity() {
    Matrix m{};
    for (int i = 0; i < 4; ++i) m.m[i][i] = 1.0f;
    return m;
}

uint16_t DepthValue(float z) {
    const float held = z > 0.0f ? (z < 1.0f ? z : 1.0f) : 0.0f;
    return static_cast<uint16_t>(held * 65535.0f + 0.5f);
}

bool ValidStageValue(StageState state, uint32_t value) {
    switch (state) {
        case StageState::ColorOp:
        case StageState::AlphaOp:
            return value >= kTopDisable && value <= kTopModulate;
        case StageState::ColorArg1:
        case StageState::ColorArg2:
        case StageState::AlphaArg1:
        case StageState::AlphaArg2:
            return value == kTaDiffuse || value == kTaCurrent || value == kTaTexture;
        case StageState::AddressU:
        case StageState::AddressV:
            return value == kAddressWrap || value == kAddressClamp;
        default:
            return value <= kTexfLinear;
    }
}

std::string Hex(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", v);
    return text;
}

std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

const char* TransformName(TransformState s) {
    switch (s) {
        case TransformState::View:
            return "VIEW";
        case TransformState::Projection:
            return "PROJECTION";
        case TransformState::World:
            return "WORLD";
    }
    return "?";
}

}  // namespace

Device::Device(Direct3D& owner, const PresentParameters& params)
    : owner_(&owner),
      deviceSink_(params.DeviceSink),
      width_(params.BackBufferWidth),
      height_(params.BackBufferHeight),
      routines_(params.Routines),
      colour_(static_cast<size_t>(width_) * height_, 0xFF000000u) {
    if (params.EnableAutoDepthStencil) depth_.assign(colour_.size(), 0xFFFF);
    blocks_.resize((height_ + kBlockRows - 1) / kBlockRows);
    SetDefaultStates();
    world_ = view_ = projection_ = Identity();
    pool_ = std::make_unique<BandPool>(static_cast<int32_t>(params.RasterThreads));
    owner_->AddRef();
}

Device::~Device() { owner_->Release(); }

void Device::LastRelease() {
    // Children released here must not end the device midway.
    ++children_;
    for (std::vector<Command>& block : blocks_) block.clear();
    queued_ = binned_ = 0;
    heldTextures_.clear();
    for (Ref<Texture>& t : textures_) t.Reset();
    stream_.Reset();
    pool_.reset();
    closed_ = true;
    DropChild();
}

void Device::DropChild() {
    if (--children_ == 0 && closed_) delete this;
}

int32_t Device::RasterBands() const { return pool_ ? pool_->Bands() : 0; }

void Device::SetDefaultStates() {
    auto set = [this](RenderState s, uint32_t v) { renderStates_[Slot(s)] = v; };
    set(RenderState::ZEnable, depth_.empty() ? kZbFalse : kZbTrue);
    set(RenderState::FillMode, kFillSolid);
    set(RenderState::ShadeMode, kShadeGouraud);
    set(RenderState::ZWriteEnable, kTrue);
    set(RenderState::LastPixel, kTrue);
    set(RenderState::SrcBlend, kBlendOne);
    set(RenderState::DestBlend, kBlendZero);
    set(RenderState::CullMode, kCullCcw);
    set(RenderState::ZFunc, kCmpLessEqual);
    set(RenderState::AlphaFunc, kCmpAlways);
    set(RenderState::Lighting, kTrue);
    set(RenderState::ColorVertex, kTrue);
    set(RenderState::LocalViewer, kTrue);
    set(RenderState::BlendOp, kBlendOpAdd);
    for (uint32_t stage = 0; stage < kTextureStages; ++stage) {
        std::array<uint32_t, kStageStateSlots>& s = stageStates_[stage];
        s[Slot(StageState::ColorOp)] = stage == 0 ? kTopModulate : kTopDisable;
        s[Slot(StageState::ColorArg1)] = kTaTexture;
        s[Slot(StageState::ColorArg2)] = kTaCurrent;
        s[Slot(StageState::AlphaOp)] = stage == 0 ? kTopSelectArg1 : kTopDisable;
        s[Slot(StageState::AlphaArg1)] = kTaTexture;
        s[Slot(StageState::AlphaArg2)] = kTaCurrent;
        s[Slot(StageState::AddressU)] = kAddressWrap;
        s[Slot(StageState::AddressV)] = kAddressWrap;
        s[Slot(StageState::MagFilter)] = kTexfPoint;
        s[Slot(StageState::MinFilter)] = kTexfPoint;
        s[Slot(StageState::MipFilter)] = kTexfNone;
    }
}

Result Device::SetRenderState(RenderState state, uint32_t value) {
    const char* name = RenderStateName(Slot(state));
    if (name == nullptr) return Result::InvalidCall;
    if (renderStates_[Slot(state)] != value) currentPixelState_ = -1;
    renderStates_[Slot(state)] = value;
    if (Tracing()) Note(std::string("SetRenderState ") + name + " " + std::to_string(value));
    return Result::Ok;
}

Result Device::GetRenderState(RenderState state, uint32_t& value) const {
    if (RenderStateName(Slot(state)) == nullptr) return Result::InvalidCall;
    value = renderStates_[Slot(state)];
    return Result::Ok;
}

Result Device::SetTextureStageState(uint32_t stage, StageState state, uint32_t value) {
    const char* name = StageStateName(Slot(state));
    if (stage >= kTextureStages || name == nullptr || !ValidStageValue(state, value)) {
        return Result::InvalidCall;
    }
    if (stageStates_[stage][Slot(state)] != value) currentPixelState_ = -1;
    stageStates_[stage][Slot(state)] = value;
    if (Tracing()) {
        Note("SetTextureStageState " + std::to_string(stage) + " " + name + " " +
             std::to_string(value));
    }
    return Result::Ok;
}

Result Device::GetTextureStageState(uint32_t stage, StageState state, uint32_t& value) const {
    if (stage >= kTextureStages || StageStateName(Slot(state)) == nullptr) {
        return Result::InvalidCall;
    }
    value = stageStates_[stage][Slot(state)];
    return Result::Ok;
}

Result Device::SetTexture(uint32_t stage, Texture* texture) {
    if (stage >= kTextureStages || (texture != nullptr && texture->device_ != this)) {
        return Result::InvalidCall;
    }
    if (textures_[stage].Get() != texture) {
        textures_[stage] = Hold(texture);
        currentPixelState_ = -1;
    }
    if (Tracing()) {
        Note("SetTexture " + std::to_string(stage) + " " +
             (texture == nullptr
                  ? std::string("none")
                  : std::to_string(texture->Width()) + "x" + std::to_string(texture->Height())));
    }
    return Result::Ok;
}

Result Device::SetTransform(TransformState state, const Matrix& matrix) {
    switch (state) {
        case TransformState::World:
            world_ = matrix;
            break;
        case TransformState::View:
            view_ = matrix;
            break;
        case TransformState::Projection:
            projection_ = matrix;
            break;
        default:
            return Result::InvalidCall;
    }
    combinedValid_ = false;
    if (Tracing()) Note(std::string("SetTransform ") + TransformName(state));
    return Result::Ok;
}

Result Device::GetTransform(TransformState state, Matrix& matrix) const {
    switch (state) {
        case TransformState::World:
            matrix = world_;
            return Result::Ok;
        case TransformState::View:
            matrix = view_;
            return Result::Ok;
        case TransformState::Projection:
            matrix = projection_;
            return Result::Ok;
    }
    return Result::InvalidCall;
}

Result Device::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t stride) {
    if (stream != 0 || (buffer != nullptr && buffer->device_ != this)) return Result::InvalidCall;
    stream_ = Hold(buffer);
    stride_ = stride;
    if (Tracing()) {
        Note("SetStreamSource 0 " +
             (buffer == nullptr ? "none" : std::to_string(buffer->Length())) + " " +
             std::to_string(stride));
    }
    return Result::Ok;
}

Result Device::SetVertexShader(uint32_t fvf) {
    if (fvf != kFvfSceneVertex && fvf != kFvfScreenVertex) return Result::InvalidCall;
    fvf_ = fvf;
    if (Tracing()) Note("SetVertexShader 0x" + Hex(fvf).substr(5));
    return Result::Ok;
}

Result Device::BeginScene() {
    if (inScene_) return Result::InvalidCall;
    inScene_ = true;
    Note("BeginScene");
    return Result::Ok;
}

Result Device::EndScene() {
    if (!inScene_) return Result::InvalidCall;
    inScene_ = false;
    Note("EndScene");
    return Result::Ok;
}

Result Device::Clear(uint32_t count, const Rect* rects, uint32_t flags, Color colour, float z,
                     uint32_t /*stencil*/) {
    if ((flags & kClearStencil) != 0 || ((flags & kClearZBuffer) != 0 && depth_.empty()) ||
        (count > 0 && rects == nullptr)) {
        return Result::InvalidCall;
    }
    if (Tracing()) {
        const std::string what = (flags & kClearTarget) != 0 && (flags & kClearZBuffer) != 0
                                     ? "TARGET|ZBUFFER"
                                 : (flags & kClearTarget) != 0 ? "TARGET"
                                                               : "ZBUFFER";
        Note("Clear " + what + " " + Hex(colour) + " " + std::to_string(z));
    }
    const Rect whole{0, 0, static_cast<int32_t>(width_), static_cast<int32_t>(height_)};
    for (uint32_t i = 0; i < std::max<uint32_t>(count, 1); ++i) {
        const Rect r = count == 0 ? whole : rects[i];
        const Rect held{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, whole.right),
                        std::min(r.bottom, whole.bottom)};
        if (held.left >= held.right || held.top >= held.bottom) continue;
        clears_.push_back({held, flags, colour | 0xFF000000u, DepthValue(z)});
        Bin({true, static_cast<uint32_t>(clears_.size() - 1)}, held.top, held.bottom - 1);
    }
    if (QueueFull()) Flush();
    return Result::Ok;
}

uint32_t Device::CurrentPixelState() {
    if (currentPixelState_ >= 0) return static_cast<uint32_t>(currentPixelState_);
    const std::array<uint32_t, kStageStateSlots>& stage = stageStates_[0];
    auto render = [this](RenderState s) { return renderStates_[Slot(s)]; };
    PixelState p;
    if (const Texture* t = textures_[0].Get()) {
        p.texels = t->Texels();
        p.wrappedTexels = t->WrappedTexels();
        p.texWidth = static_cast<int32_t>(t->Width());
        p.texHeight = static_cast<int32_t>(t->Height());
        heldTextures_.push_back(textures_[0]);
    }
    p.magLinear = stage[Slot(StageState::MagFilter)] == kTexfLinear;
    p.minLinear = stage[Slot(StageState::MinFilter)] == kTexfLinear;
    p.wrapU = stage[Slot(StageState::AddressU)] != kAddressClamp;
    p.wrapV = stage[Slot(StageState::AddressV)] != kAddressClamp;
    p.colourOp = static_cast<uint8_t>(stage[Slot(StageState::ColorOp)]);
    p.colourArg1 = static_cast<uint8_t>(stage[Slot(StageState::ColorArg1)]);
    p.colourArg2 = static_cast<uint8_t>(stage[Slot(StageState::ColorArg2)]);
    p.alphaOp = static_cast<uint8_t>(stage[Slot(StageState::AlphaOp)]);
    p.alphaArg1 = static_cast<uint8_t>(stage[Slot(StageState::AlphaArg1)]);
    p.alphaArg2 = static_cast<uint8_t>(stage[Slot(StageState::AlphaArg2)]);
    p.blend = render(RenderState::AlphaBlendEnable) != 0;
    p.srcBlend = static_cast<uint8_t>(render(RenderState::SrcBlend));
    p.destBlend = static_cast<uint8_t>(render(RenderState::DestBlend));
    p.zEnable = render(RenderState::ZEnable) != 0 && !depth_.empty();
    p.zWrite = render(RenderState::ZWriteEnable) != 0;
    p.zFunc = static_cast<uint8_t>(render(RenderState::ZFunc));
    p.alphaTest = render(RenderState::AlphaTestEnable) != 0;
    p.alphaFunc = static_cast<uint8_t>(render(RenderState::AlphaFunc));
    p.alphaRef = static_cast<uint8_t>(render(RenderState::AlphaRef));
    ChooseRoutines(p, !depth_.empty(), routines_);
    pixelStates_.push_back(p);
    currentPixelState_ = static_cast<int64_t>(pixelStates_.size() - 1);
    return static_cast<uint32_t>(currentPixelState_);
}

void Device::QueueTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                           uint32_t state, Cull cull) {
    const PixelState& p = pixelStates_[state];
    TriangleSetup t;
    if (!SetUpTriangle(a, b, c, static_cast<int32_t>(width_), static_cast<int32_t>(height_),
                       std::max(p.texWidth, 1), std::max(p.texHeight, 1), cull, t)) {
        return;
    }
    t.state = state;
    triangles_.push_back(t);
    Bin({false, static_cast<uint32_t>(triangles_.size() - 1)}, t.minY, t.maxY);
}

bool Device::QueueFull() const { return queued_ >= kQueueLimit || binned_ >= kBinLimit; }

void Device::Bin(Command command, int32_t top, int32_t bottom) {
    for (int32_t block = top / kBlockRows; block <= bottom / kBlockRows; ++block) {
        blocks_[static_cast<size_t>(block)].push_back(command);
        ++binned_;
    }
    ++queued_;
}

void Device::KeepQueueShort(uint32_t& state) {
    if (!QueueFull()) return;
    Flush();
    state = CurrentPixelState();  // the flush dropped the states taken so far
}

void Device::DrawScene(const uint8_t* first, uint32_t stride, uint32_t count, uint32_t state,
                       Cull cull) {
    if (!combinedValid_) {
        combined_ = Multiply(Multiply(world_, view_), projection_);
        combinedValid_ = true;
    }
    // No lights are set on this device: lit vertices keep only their alpha.
    const bool lit = renderStates_[Slot(RenderState::Lighting)] != 0;
    ScreenVertex polygon[kMaxClippedVertices];
    for (uint32_t i = 0; i < count; ++i) {
        KeepQueueShort(state);
        ClipVertex corners[3];
        for (int k = 0; k < 3; ++k) {
            corners[k] = TransformSceneVertex(first + (size_t{i} * 3 + k) * stride, combined_);
            if (lit) corners[k].r = corners[k].g = corners[k].b = 0.0f;
        }
        const int n = ClipToScreen(corners, static_cast<int32_t>(width_),
                                   static_cast<int32_t>(height_), polygon);
        for (int k = 1; k + 1 < n; ++k) {
            QueueTriangle(polygon[0], polygon[k], polygon[k + 1], state, cull);
        }
    }
}

void Device::DrawScreen(const uint8_t* first, uint32_t stride, uint32_t count, uint32_t state,
                        Cull cull) {
    for (uint32_t i = 0; i < count; ++i) {
        KeepQueueShort(state);
        const uint8_t* at = first + size_t{i} * 3 * stride;
        QueueTriangle(ReadScreenVertex(at), ReadScreenVertex(at + stride),
                      ReadScreenVertex(at + 2 * size_t{stride}), state, cull);
    }
}

Result Device::DrawPrimitive(PrimitiveType type, uint32_t start, uint32_t count) {
    if (Tracing()) {
        Note("DrawPrimitive TRIANGLELIST " + std::to_string(start) + " " + std::to_string(count));
    }
    if (!inScene_ || type != PrimitiveType::TriangleList || !stream_ || stream_->Locked() ||
        fvf_ == 0) {
        return Result::InvalidCall;
    }
    const uint32_t size = fvf_ == kFvfSceneVertex ? kSceneVertexSize : kScreenVertexSize;
    if (count == 0) return Result::Ok;
    const uint64_t last = uint64_t{start} + uint64_t{count} * 3 - 1;
    if (stride_ < size || last * stride_ + size > stream_->Length()) return Result::InvalidCall;
    const uint32_t cullMode = renderStates_[Slot(RenderState::CullMode)];
    const Cull cull = cullMode == kCullCw    ? Cull::Clockwise
                      : cullMode == kCullCcw ? Cull::CounterClockwise
                                             : Cull::None;
    const uint32_t state = CurrentPixelState();
    const uint8_t* first = stream_->Bytes() + size_t{start} * stride_;
    if (fvf_ == kFvfSceneVertex) {
        DrawScene(first, stride_, count, state, cull);
    } else {
        DrawScreen(first, stride_, count, state, cull);
    }
    return Result::Ok;
}

void Device::DrawBlock(int32_t block) {
    const RenderTarget target{colour_.data(), depth_.empty() ? nullptr : depth_.data(),
                              static_cast<int32_t>(width_), static_cast<int32_t>(height_)};
    const int32_t first = block * kBlockRows;
    const int32_t last = std::min(first + kBlockRows, static_cast<int32_t>(height_)) - 1;
    for (const Command& command : blocks_[static_cast<size_t>(block)]) {
        if (!command.clear) {
            const TriangleSetup& t = triangles_[command.index];
            RasterizeTriangle(t, pixelStates_[t.state], target, first, last);
            continue;
        }
        const ClearCommand& c = clears_[command.index];
        const int32_t bottom = std::min(last + 1, c.rect.bottom);
        for (int32_t y = std::max(first, c.rect.top); y < bottom; ++y) {
            const size_t row = static_cast<size_t>(y) * width_;
            if ((c.flags & kClearTarget) != 0) {
                std::fill(colour_.begin() + row + c.rect.left, colour_.begin() + row + c.rect.right,
                          c.colour);
            }
            if ((c.flags & kClearZBuffer) != 0) {
                std::fill(depth_.begin() + row + c.rect.left, depth_.begin() + row + c.rect.right,
                          c.depth);
            }
        }
    }
}

void Device::Flush() {
    if (queued_ > 0 && pool_) {
        // Each thread takes the next block not yet taken, so that a slow thread
        // holds up no more than its block; every block is drawn by one thread,
        // its commands in order.
        nextBlock_.store(0, std::memory_order_relaxed);
        const int32_t blocks = static_cast<int32_t>(blocks_.size());
        pool_->Run([this, blocks](int32_t /*band*/) {
            for (;;) {
                const int32_t block = nextBlock_.fetch_add(1, std::memory_order_relaxed);
                if (block >= blocks) return;
                if (!blocks_[static_cast<size_t>(block)].empty()) DrawBlock(block);
            }
        });
    }
    for (std::vector<Command>& block : blocks_) block.clear();
    queued_ = binned_ = 0;
    clears_.clear();
    triangles_.clear();
    pixelStates_.clear();
    heldTextures_.clear();
    currentPixelState_ = -1;
}

Result Device::Present(const Rect* source, const Rect* dest, PresentSink* sink,
                       const void* /*dirtyRegion*/) {
    if (Tracing()) Note("Present " + (dest == nullptr ? std::string("all") : RectText(*dest)));
    PresentSink* to = sink != nullptr ? sink : deviceSink_;
    if (inScene_ || to == nullptr) return Result::InvalidCall;
    Flush();
    const PresentTarget target = to->Acquire();
    if (target.pixels == nullptr) return Result::Ok;  // nothing to show on now
    const Rect whole{0, 0, static_cast<int32_t>(width_), static_cast<int32_t>(height_)};
    const Rect all{0, 0, target.width, target.height};
    StretchCopy(colour_.data(), whole.right, whole.bottom, source != nullptr ? *source : whole,
                target, dest != nullptr ? *dest : all);
    to->Show();
    return Result::Ok;
}

void Device::ReadBackBuffer(std::vector<uint32_t>& pixels) {
    Flush();
    pixels = colour_;
}

void Device::ReadDepthBuffer(std::vector<uint16_t>& depth) {
    Flush();
    depth = depth_;
}

Result Device::CreateTexture(uint32_t width, uint32_t height, uint32_t /*levels*/,
                             uint32_t /*usage*/, Format format, Pool /*pool*/, Texture** texture) {
    if (texture == nullptr) return Result::InvalidCall;
    *texture = nullptr;
    if (!PowerOfTwo(width) || !PowerOfTwo(height) || width > kMaxSurfaceSide ||
        height > kMaxSurfaceSide) {
        return Result::InvalidCall;
    }
    if (format != Format::A8R8G8B8) return Result::NotAvailable;
    try {
        *texture = new Texture(*this, width, height, format);
    } catch (const std::bad_alloc&) {
        return Result::OutOfMemory;
    }
    if (Tracing()) Note("CreateTexture " + std::to_string(width) + "x" + std::to_string(height));
    return Result::Ok;
}

Result Device::CreateVertexBuffer(uint32_t length, uint32_t /*usage*/, uint32_t fvf, Pool /*pool*/,
                                  VertexBuffer** buffer) {
    if (buffer == nullptr) return Result::InvalidCall;
    *buffer = nullptr;
    if (length == 0 || length > kMaxVertexBuffer) return Result::InvalidCall;
    try {
        *buffer = new VertexBuffer(*this, length, fvf);
    } catch (const std::bad_alloc&) {
        return Result::OutOfMemory;
    }
    if (Tracing())
        Note("CreateVertexBuffer " + std::to_string(length) + " 0x" + Hex(fvf).substr(5));
    return Result::Ok;
}

}  // namespace d3d8
