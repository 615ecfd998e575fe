// Owning wrappers of SDL2_mixer's chunk and music handles: each frees its
// handle once, and reports whether creation gave one.
#pragma once

#include <utility>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace platform::audio {

class ChunkHandle {
  public:
    ChunkHandle() = default;
    // Takes ownership of `chunk` (may be null: creation failed).
    explicit ChunkHandle(Mix_Chunk* chunk) : chunk_(chunk) {}
    ~ChunkHandle();
    ChunkHandle(ChunkHandle&& other) noexcept : chunk_(std::exchange(other.chunk_, nullptr)) {}
    ChunkHandle& operator=(ChunkHandle&& other) noexcept;
    ChunkHandle(const ChunkHandle&) = delete;
    ChunkHandle& operator=(const ChunkHandle&) = delete;

    Mix_Chunk* Get() const { return chunk_; }
    explicit operator bool() const { return chunk_ != nullptr; }
    void Reset();

  private:
    Mix_Chunk* chunk_ = nullptr;
};

class MusicHandle {
  public:
    MusicHandle() = default;
    // Takes ownership of `music` (may be null: loading failed).
    explicit MusicHandle(Mix_Music* music) : music_(music) {}
    ~MusicHandle();
    MusicHandle(MusicHandle&& other) noexcept : music_(std::exchange(other.music_, nullptr)) {}
    MusicHandle& operator=(MusicHandle&& other) noexcept;
    MusicHandle(const MusicHandle&) = delete;
    MusicHandle& operator=(const MusicHandle&) = delete;

    Mix_Music* Get() const { return music_; }
    explicit operator bool() const { return music_ != nullptr; }
    // Frees the music (SDL2_mixer halts it first when it plays).
    void Reset();

  private:
    Mix_Music* music_ = nullptr;
};

}  // namespace platform::audio
