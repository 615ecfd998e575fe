// Test data the engine tests write for themselves: PCX pictures, mesh files and
// a scratch folder that is removed afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/G3DMesh.h"

namespace enginetest {

// A PCX file of width × height whose run-length data is `data`; palette entry
// i is (i, 255 - i, i / 2) unless `palette` (768 bytes, interleaved) is given.
std::string MakePcx(int width, int height, const std::string& data,
                    const std::string& palette = std::string());

// Raw (run-free) data for indices below 192.
std::string PlainRuns(const std::vector<uint8_t>& indices);

// The bytes of a mesh file holding `mesh`.
std::string MeshFileBytes(const TG3DMesh& mesh);

// A fresh folder under the system's temporary folder, removed by the destructor.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // Writes a file into the folder and returns its absolute path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    std::string Path(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace enginetest
