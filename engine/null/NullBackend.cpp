// The null backend: every drawing operation does nothing, so that the engine
// and the game run without a display (tests, tools).
#include "engine/G3DBackend.h"
#include "engine/G3DEngine.h"
#include "engine/G3DImages.h"

void G3DBackendInit(TDStuff&, platform::Window&) {}
int32_t G3DBackendMaxTextureSize() { return 8192; }
int32_t G3DBackendMaxFrameSide(platform::Window&) { return kG3DMaxFrameSide; }
void G3DBackendUploadPicture(int32_t, const uint8_t*, int32_t, int32_t) {}
void G3DBackendUploadImage(TG3DImage&) {}
void G3DBackendDrawImage(const TG3DImage&, bool, int32_t, float, float, float, float, TDStuff&) {}
void G3DBackendSetCamera(TDStuff&) {}
void G3DBackendDrawList(TDStuff&, int32_t) {}
void G3DBackendReliefOff(TDStuff&) {}
void G3DBackendShowVideo(const uint8_t*, int32_t, int32_t, uint64_t, platform::Window&, TDStuff&) {}
void G3DBackendReleaseVideo(platform::Window& /*form*/) {}
void G3DDrawTriangle(int32_t, TDStuff&) {}
void G3DClearScreen(uint8_t, TDStuff&) {}
void G3DPresent(platform::Window&, int32_t, int32_t, int32_t, int32_t, TDStuff&) {}
void G3DFullScreen(platform::Window&, TDStuff&) {}
void G3DWindowed(platform::Window&, TDStuff&) {}
void G3DDone() {}
void G3DReset(TDStuff&, platform::Window&) {}
bool G3DDisplayMode(platform::Window&, int32_t, int32_t&, int32_t&) { return false; }
