#include "tests/common/RecordingBackend.h"

#include "engine/G3DBackend.h"
#include "engine/G3DEngine.h"
#include "engine/G3DImages.h"

namespace testutil {

BackendRecord& Backend() {
    static BackendRecord record;
    return record;
}

void ClearBackendRecord() { Backend() = BackendRecord{}; }

}  // namespace testutil

void G3DBackendInit(TDStuff&, platform::Window&) {}
int32_t G3DBackendMaxTextureSize() { return 8192; }
int32_t G3DBackendMaxFrameSide(platform::Window&) { return kG3DMaxFrameSide; }
void G3DBackendUploadPicture(int32_t, const uint8_t*, int32_t, int32_t) {}
void G3DBackendUploadImage(TG3DImage&) {}
void G3DBackendDrawImage(const TG3DImage& image, bool alphaTest, int32_t transparency, float x,
                         float y, float w, float h, TDStuff&) {
    const auto slot = static_cast<int32_t>(&image - G3DImages.data());
    testutil::Backend().images.push_back({slot, alphaTest, transparency, x, y, w, h});
}
void G3DBackendSetCamera(TDStuff&) {}
void G3DBackendDrawList(TDStuff& state, int32_t count) {
    std::vector<TG3DTriangle>& list = testutil::Backend().flushes.emplace_back();
    for (int32_t i = 0; i < count; ++i) list.push_back(state.RenderList[state.SortBuffer[i].Index]);
}
void G3DBackendReliefOff(TDStuff&) {}
void G3DBackendShowVideo(const uint8_t*, int32_t width, int32_t height, uint64_t serial,
                         platform::Window&, TDStuff&) {
    testutil::Backend().videos.push_back({width, height, serial});
}
void G3DBackendReleaseVideo(platform::Window& /*form*/) { ++testutil::Backend().videoReleases; }
void G3DDrawTriangle(int32_t, TDStuff&) {}
void G3DClearScreen(uint8_t index, TDStuff&) { testutil::Backend().clears.push_back(index); }
void G3DPresent(platform::Window&, int32_t x, int32_t y, int32_t w, int32_t h, TDStuff&) {
    testutil::Backend().presents.push_back({x, y, w, h});
}
void G3DFullScreen(platform::Window&, TDStuff&) {}
void G3DWindowed(platform::Window&, TDStuff&) {}
void G3DDone() {}
void G3DReset(TDStuff&, platform::Window&) { ++testutil::Backend().resets; }
bool G3DDisplayMode(platform::Window&, int32_t, int32_t&, int32_t&) { return false; }
