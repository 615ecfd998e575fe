#include "platform/ui/UiRenderer.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cfloat>
#include <cstddef>
#include <string>

#include "platform/window/Window.h"

namespace platform::ui {
namespace {

// The OpenGL factory, registered by the OpenGL backend when it is linked.
UiRendererFactory& OpenGLFactory() {
    static UiRendererFactory factory = nullptr;
    return factory;
}

// Builds the font atlas so that frames can be made; draws nothing.
class NullUiRenderer : public UiRenderer {
  public:
    void NewFrame() override {
        unsigned char* pixels = nullptr;
        int width = 0, height = 0;
        ImGui::GetIO().Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
    }
    void Render(ImDrawData*) override {}
};

struct TextureDeleter {
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
};

// Draws the frames with the window's SDL renderer (a software surface): the
// font atlas as one texture, each draw command as clipped geometry. Frames
// drawn over the window's own (a menu bar in its strip) are drawn again only
// when they change or the window no longer holds them.
class SdlUiRenderer : public UiRenderer {
  public:
    explicit SdlUiRenderer(Window& window) : window_(window) {}

    void NewFrame() override {
        if (font_) return;
        ImGuiIO& io = ImGui::GetIO();
        unsigned char* pixels = nullptr;
        int width = 0, height = 0;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
        SDL_Renderer* renderer = window_.SoftwareRenderer();
        if (renderer == nullptr) return;
        // RGBA bytes in memory are SDL's ABGR8888 on a little-endian machine.
        font_.reset(SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC,
                                      width, height));
        if (!font_) return;
        SDL_UpdateTexture(font_.get(), nullptr, pixels, width * 4);
        SDL_SetTextureBlendMode(font_.get(), SDL_BLENDMODE_BLEND);
        io.Fonts->SetTexID(static_cast<ImTextureID>(font_.get()));
    }

    void Render(ImDrawData* data) override {
        SDL_Renderer* renderer = window_.SoftwareRenderer();
        if (renderer == nullptr || data == nullptr) return;
        SDL_Rect oldClip{};
        const bool clipped = SDL_RenderIsClipEnabled(renderer) == SDL_TRUE;
        SDL_RenderGetClipRect(renderer, &oldClip);
        float bottom = FLT_MAX;  // where the drawing is cut
        if (window_.TopStrip() > 0 && !DrawAnew(renderer, *data, bottom)) return;
        for (int n = 0; n < data->CmdListsCount; ++n)
            DrawList(renderer, *data->CmdLists[n], bottom);
        SDL_RenderSetClipRect(renderer, clipped ? &oldClip : nullptr);
    }

  private:
    // A frame drawn over the window's own frames (a menu bar in its strip):
    // false when it is the one drawn at the last showing and that is still in
    // the window; otherwise makes ready to draw it: the strip cleared, and
    // either the drawing cut at the strip's bottom (`bottom`) where no more
    // than its lower edge passes it, or the window's frame kept aside.
    bool DrawAnew(SDL_Renderer* renderer, const ImDrawData& data, float& bottom) {
        std::string drawing = Describe(data);
        if (drawing == lastDrawing_ && window_.OverlayKept()) return false;
        lastDrawing_.swap(drawing);
        const int strip = window_.TopStrip();
        // The bar's lower border and its smoothing pass the strip by a pixel.
        if (Bottom(data) > static_cast<float>(strip + 2)) {
            window_.OverlayCoversClient();
        } else {
            bottom = static_cast<float>(strip);
        }
        int width = 0, height = 0;
        SDL_GetRendererOutputSize(renderer, &width, &height);
        const SDL_Rect stripRect{0, 0, width, strip};
        SDL_RenderSetClipRect(renderer, nullptr);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderFillRect(renderer, &stripRect);
        return true;
    }

    // The lowest row that the frame's drawing reaches.
    static float Bottom(const ImDrawData& data) {
        float bottom = 0;
        for (int n = 0; n < data.CmdListsCount; ++n) {
            const ImDrawList& list = *data.CmdLists[n];
            for (const ImDrawCmd& cmd : list.CmdBuffer) {
                float lowest = 0;
                for (unsigned i = 0; i < cmd.ElemCount; ++i) {
                    const ImDrawIdx index = list.IdxBuffer.Data[cmd.IdxOffset + i];
                    lowest = std::max(lowest, list.VtxBuffer.Data[cmd.VtxOffset + index].pos.y);
                }
                bottom = std::max(bottom, std::min(lowest, cmd.ClipRect.w));
            }
        }
        return bottom;
    }

    // All that tells one frame's drawing from another's, as bytes.
    static std::string Describe(const ImDrawData& data) {
        std::string bytes;
        auto add = [&bytes](const void* from, size_t size) {
            bytes.append(static_cast<const char*>(from), size);
        };
        add(&data.DisplayPos, sizeof data.DisplayPos);
        add(&data.DisplaySize, sizeof data.DisplaySize);
        for (int n = 0; n < data.CmdListsCount; ++n) {
            const ImDrawList& list = *data.CmdLists[n];
            add(list.VtxBuffer.Data, sizeof(ImDrawVert) * static_cast<size_t>(list.VtxBuffer.Size));
            add(list.IdxBuffer.Data, sizeof(ImDrawIdx) * static_cast<size_t>(list.IdxBuffer.Size));
            for (const ImDrawCmd& cmd : list.CmdBuffer) {
                const ImTextureID texture = cmd.GetTexID();
                add(&cmd.ClipRect, sizeof cmd.ClipRect);
                add(&texture, sizeof texture);
                add(&cmd.VtxOffset, sizeof cmd.VtxOffset);
                add(&cmd.IdxOffset, sizeof cmd.IdxOffset);
                add(&cmd.ElemCount, sizeof cmd.ElemCount);
            }
        }
        return bytes;
    }

    static void DrawList(SDL_Renderer* renderer, const ImDrawList& list, float bottom) {
        const ImDrawVert* vertices = list.VtxBuffer.Data;
        const ImDrawIdx* indices = list.IdxBuffer.Data;
        for (const ImDrawCmd& cmd : list.CmdBuffer) {
            if (cmd.UserCallback != nullptr) continue;
            const SDL_Rect clip{
                static_cast<int>(cmd.ClipRect.x), static_cast<int>(cmd.ClipRect.y),
                static_cast<int>(cmd.ClipRect.z - cmd.ClipRect.x),
                static_cast<int>(std::min(cmd.ClipRect.w, bottom) - cmd.ClipRect.y)};
            if (clip.w <= 0 || clip.h <= 0) continue;
            SDL_RenderSetClipRect(renderer, &clip);
            const ImDrawVert* first = vertices + cmd.VtxOffset;
            const int stride = static_cast<int>(sizeof(ImDrawVert));
            SDL_RenderGeometryRaw(
                renderer, static_cast<SDL_Texture*>(cmd.GetTexID()), &first->pos.x, stride,
                reinterpret_cast<const SDL_Color*>(&first->col), stride, &first->uv.x, stride,
                list.VtxBuffer.Size - static_cast<int>(cmd.VtxOffset), indices + cmd.IdxOffset,
                static_cast<int>(cmd.ElemCount), static_cast<int>(sizeof(ImDrawIdx)));
        }
    }

    Window& window_;
    std::unique_ptr<SDL_Texture, TextureDeleter> font_;
    std::string lastDrawing_;  // the frame last drawn over the window's frames
};

}  // namespace

void SetOpenGLUiRendererFactory(UiRendererFactory factory) { OpenGLFactory() = factory; }

std::unique_ptr<UiRenderer> MakeUiRenderer(Window& window) {
    if (window.SurfaceKind() == Surface::Software) return std::make_unique<SdlUiRenderer>(window);
    if (OpenGLFactory() != nullptr) {
        if (std::unique_ptr<UiRenderer> renderer = OpenGLFactory()(window)) return renderer;
    }
    return std::make_unique<NullUiRenderer>();
}

}  // namespace platform::ui
