// Test data the engine tests write for themselves: PCX pictures, mesh files and
// a scratch folder that is removed afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/G3DMesh.h"
#include "tools/demogame/MeshWriter.h"
#include "tests/common/ScratchFolder.h"

namespace enginetest {

// A PCX file of width × height whose run-length data is `data`; palette entry
// i is (i, 255 - i, i / 2) unless `palette` (768 bytes, interleaved) is given.
std::string MakePcx(int width, int height, const std::string& data,
                    const std::string& palette = std::string());

// A PCX palette block (marker byte and 768 bytes) of four plain colours: 0
// green, 1 red, 2 blue, 3 white; every other index grey (100, 100, 100).
std::string PrimaryPalette();

// A 4 × 4 PCX picture of `index` on the primary palette; with `holes` its left
// half is index 0.
std::string SolidPcx(uint8_t index, bool holes = false);

// Raw (run-free) data for indices below 192.
std::string PlainRuns(const std::vector<uint8_t>& indices);

// The bytes of a mesh file holding `mesh`.
using demo::MeshFileBytes;

using ScratchFolder = testutil::ScratchFolder;

}  // namespace enginetest
