// A fresh folder for a test's files, removed with everything in it afterwards.
#pragma once

#include <string>

namespace testutil {

// Made under the system's temporary folder; Root() is its canonical absolute
// path. The destructor removes the whole tree, after giving the owner back
// full rights on every folder in it, so tests may lock folders they make.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Root() const { return root_; }
    // The absolute path of `name` (relative, '/' separated) in the folder.
    std::string Path(const std::string& name) const { return root_ + "/" + name; }
    // Writes `bytes` to the file `name`, exactly as spelled, making its parent
    // folders; returns its absolute path. Throws when the file cannot be written.
    std::string Write(const std::string& name, const std::string& bytes) const;

  private:
    std::string root_;
};

}  // namespace testutil
