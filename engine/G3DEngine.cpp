#include "engine/G3DEngine.h"

#include "engine/G3DCamera.h"

int32_t G3DMaxFrameSide(platform::Window& form) {
    const int32_t backend = G3DBackendMaxFrameSide(form);
    return backend > 0 && backend < kG3DMaxFrameSide ? backend : kG3DMaxFrameSide;
}

void G3DInit(int32_t width, int32_t height, TDStuff& state, platform::Window& form) {
    if (width < kG3DMinFrameWidth || height < kG3DMinFrameHeight || width > kG3DMaxFrameSide ||
        height > kG3DMaxFrameSide) {
        return;
    }
    state.Frame.Width = width;
    state.Frame.Height = height;
    G3DApplyPalette(state);
    state.ProjectionBase = 128;
    state.Form = &form;
    G3DBackendInit(state, form);
    G3DSetViewport(state, width / 2, height / 2, 128 * width / 320, 128 * height / 240, width / 10,
                   1, 4, kG3DRenderCapacity);
}
