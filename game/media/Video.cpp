#include "game/media/Video.h"

#include <memory>

#include "engine/G3DEngine.h"
#include "engine/G3DVideo.h"
#include "game/GameIni.h"
#include "game/clips/ClipPlayback.h"
#include "game/draw/HudText.h"
#include "game/level/LevelStuff.h"
#include "game/media/Media.h"
#include "game/media/Music.h"
#include "platform/clock/Ticks.h"
#include "platform/msgbox/MessageBox.h"
#include "support/WinFunc.h"

uint8_t VideoPlaying = 0;

namespace {

// The video's stream; null when none plays or the file could not be decoded.
std::unique_ptr<platform::video::VideoStream>& Stream() {
    static std::unique_ptr<platform::video::VideoStream> stream;
    return stream;
}

// The decoder goes; the video no longer plays.
void ReleaseStream() {
    VideoPlaying = 0;
    if (Stream()) Stream()->Stop();
    Stream().reset();
}

// After a video the 3-D display is made anew and its textures loaded again.
void RebuildDisplay(platform::Window& window) {
    G3DReleaseVideoPicture(window);
    G3DReset(DStuff, window);
    LoadHudTextures(HudSettings.Pictures, DStuff);
    LoadBlocTextures(Level, DStuff);
}

}  // namespace

void PlayVideo(const std::string& file, platform::Window& window) {
    if (!FileFound(file)) {
        platform::ShowMessage("The video file \"" + file + "\" does not exist !");
        // The new clip's video never started: no next clip is taken for it.
        if (VideoPlaying != 0) {
            ReleaseStream();
            RebuildDisplay(window);
        }
        return;
    }
    Stream().reset();  // a video playing: only its decoder goes
    if (Media().Video) Stream() = Media().Video->Open(file);
    if (Stream()) {
        Stream()->Rewind();
        Stream()->Run(platform::TickCount());
    }
    VideoPlaying = 1;
}

void StopVideo(platform::Window& window) {
    if (VideoPlaying == 0) return;
    ReleaseStream();
    RebuildDisplay(window);
    if (NextClip != -1) {
        StopAllMusic();
        PlayClip(NextClip, window);
    }
}

void EndVideo() {
    if (VideoPlaying == 0) return;
    ReleaseStream();
}

void PollVideo(platform::Window& window) {
    if (VideoPlaying == 0) return;
    platform::video::VideoStream* stream = Stream().get();
    if (stream != nullptr) stream->Advance(platform::TickCount());
    // One that cannot be decoded ends here, at a poll, and is never looped.
    if (stream == nullptr || stream->Failed()) {
        StopVideo(window);
        return;
    }
    if (!stream->TakeCompletion()) return;
    if (LoopVideo != 0) {
        stream->Rewind();
        stream->Run(platform::TickCount());
    } else {
        StopVideo(window);
    }
}

void DrawVideoFrame(platform::Window& window) {
    const platform::video::Picture* picture = Stream() ? Stream()->CurrentPicture() : nullptr;
    if (picture == nullptr) return;
    G3DShowVideoPicture(picture->Rgba.data(), picture->Width, picture->Height, picture->Serial,
                        window, DStuff);
}
