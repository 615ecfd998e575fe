#include "platform/audio/MixerHandles.h"

#include <SDL_mixer.h>

namespace platform::audio {

ChunkHandle::~ChunkHandle() { Reset(); }

ChunkHandle& ChunkHandle::operator=(ChunkHandle&& other) noexcept {
    if (this != &other) {
        Reset();
        chunk_ = std::exchange(other.chunk_, nullptr);
    }
    return *this;
}

void ChunkHandle::Reset() {
    if (chunk_ != nullptr) Mix_FreeChunk(chunk_);
    chunk_ = nullptr;
}

MusicHandle::~MusicHandle() { Reset(); }

MusicHandle& MusicHandle::operator=(MusicHandle&& other) noexcept {
    if (this != &other) {
        Reset();
        music_ = std::exchange(other.music_, nullptr);
    }
    return *this;
}

void MusicHandle::Reset() {
    if (music_ != nullptr) Mix_FreeMusic(music_);
    music_ = nullptr;
}

}  // namespace platform::audio
