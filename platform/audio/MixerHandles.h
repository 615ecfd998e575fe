// Owning wrappers of SDL2_mixer's chunk and music handles: each frees its
// handle once, and reports whether creation gave one.
#pragma once

#include <utility>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace platform::audio {

void FreeMixerHandle(Mix_Chunk* chunk);
// SDL2_mixer halts a music that plays before freeing it.
void FreeMixerHandle(Mix_Music* music);

// Owns one SDL2_mixer handle of type T (may be null: creation failed).
template <typename T>
class MixerHandle {
  public:
    MixerHandle() = default;
    explicit MixerHandle(T* handle) : handle_(handle) {}
    ~MixerHandle() { Reset(); }
    MixerHandle(MixerHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    MixerHandle& operator=(MixerHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    MixerHandle(const MixerHandle&) = delete;
    MixerHandle& operator=(const MixerHandle&) = delete;

    T* Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Frees the handle; nothing when there is none.
    void Reset() {
        if (handle_ != nullptr) FreeMixerHandle(handle_);
        handle_ = nullptr;
    }

  private:
    T* handle_ = nullptr;
};

using ChunkHandle = MixerHandle<Mix_Chunk>;
using MusicHandle = MixerHandle<Mix_Music>;

}  // namespace platform::audio
