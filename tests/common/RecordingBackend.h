// An engine backend for tests that draws nothing and records what reaches it:
// every flushed render list in drawing order, the 2-D images, the clears and
// the presents, the video pictures and the engine resets.
// A test links test_recording_backend in place of player_engine_null.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/G3DRenderTypes.h"

namespace testutil {

// One G3DDrawImage that reached the backend (a loaded image slot).
struct RecordedImage {
    int32_t slot;
    bool alphaTest;
    int32_t transparency;
    float x, y, w, h;
};

struct RecordedPresent {
    int32_t x, y, w, h;
};

// One video picture shown.
struct RecordedVideo {
    int32_t width, height;
    uint64_t serial;
};

struct BackendRecord {
    std::vector<std::vector<TG3DTriangle>> flushes;  // per G3DFlush, farthest first
    std::vector<RecordedImage> images;               // in drawing order
    std::vector<uint8_t> clears;                     // colour index of each clear
    std::vector<RecordedPresent> presents;
    std::vector<RecordedVideo> videos;  // video pictures shown, in order
    int32_t videoReleases = 0;
    int32_t resets = 0;  // G3DReset calls
};

// What the backend has received since the last ClearBackendRecord.
BackendRecord& Backend();
void ClearBackendRecord();

}  // namespace testutil
