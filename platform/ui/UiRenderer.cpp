#include "platform/ui/UiRenderer.h"

#include <SDL.h>
#include <imgui.h>

#include <cstddef>

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
// font atlas as one texture, each draw command as clipped geometry.
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
        for (int n = 0; n < data->CmdListsCount; ++n) DrawList(renderer, *data->CmdLists[n]);
        SDL_RenderSetClipRect(renderer, clipped ? &oldClip : nullptr);
    }

  private:
    static void DrawList(SDL_Renderer* renderer, const ImDrawList& list) {
        const ImDrawVert* vertices = list.VtxBuffer.Data;
        const ImDrawIdx* indices = list.IdxBuffer.Data;
        for (const ImDrawCmd& cmd : list.CmdBuffer) {
            if (cmd.UserCallback != nullptr) continue;
            const SDL_Rect clip{static_cast<int>(cmd.ClipRect.x), static_cast<int>(cmd.ClipRect.y),
                                static_cast<int>(cmd.ClipRect.z - cmd.ClipRect.x),
                                static_cast<int>(cmd.ClipRect.w - cmd.ClipRect.y)};
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
