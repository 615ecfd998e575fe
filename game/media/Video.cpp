#include "game/media/Video.h"

#include <memory>

#include "engine/G3DEngine.h"
#include "engine/G3DVideo.h"
#include "game/GameIni.h"
#include "game/draw/HudText.h"
#include "game/level/LevelStuff.h"
#include "game/media/Media.h"
#include "platform/clock/Ticks.h"
#include "platform/msgbox/MessageBox.h"
#include "support/WinFunc.h"

uint8_t VideoPlaying = 0;
uint8_t LoopVideo = 0;

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

bool CloseVideo(platform::Window& window) {
    if (VideoPlaying == 0) return false;
    ReleaseStream();
    RebuildDisplay(window);
    return true;
}

void EndVideo() {
    if (VideoPlaying == 0) return;
    ReleaseStream();
}

VideoEnd PollVideo() {
    if (VideoPlaying == 0) return VideoEnd::None;
    platform::video::VideoStream* stream = Stream().get();
    if (stream != nullptr) stream->Advance(platform::TickCount());
    // One that cannot be decoded ends here, at a poll, and is never looped.
    if (stream == nullptr || stream->Failed()) return VideoEnd::Stop;
    if (!stream->TakeCompletion()) return VideoEnd::None;
    return LoopVideo != 0 ? VideoEnd::Loop : VideoEnd::Stop;
}

void RestartVideo() {
    if (VideoPlaying == 0 || !Stream()) return;
    Stream()->Rewind();
    Stream()->Run(platform::TickCount());
}

void DrawVideoFrame(platform::Window& window) {
    const platform::video::Picture* picture = Stream() ? Stream()->CurrentPicture() : nullptr;
    if (picture == nullptr) return;
    G3DShowVideoPicture(picture->Rgba.data(), picture->Width, picture->Height, picture->Serial,
                        window, DStuff);
}
