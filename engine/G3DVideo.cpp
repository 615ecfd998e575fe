#include "engine/G3DVideo.h"

#include "engine/G3DBackend.h"

void G3DShowVideoPicture(const uint8_t* rgba, int32_t width, int32_t height, uint64_t serial,
                         platform::Window& form, TDStuff& state) {
    const int32_t largest = G3DBackendMaxTextureSize();
    if (rgba == nullptr || width <= 0 || height <= 0 || width > largest || height > largest) {
        return;
    }
    G3DBackendShowVideo(rgba, width, height, serial, form, state);
}

void G3DReleaseVideoPicture(platform::Window& form) { G3DBackendReleaseVideo(form); }
