#include "tools/demogame/DemoMedia.h"

#include "tools/demogame/DemoLayout.h"
#include "tools/demogame/DemoMusic.h"
#include "tools/demogame/DemoScripts.h"
#include "tools/demogame/DemoVideo.h"

namespace demo {

const char* const kTitleMusicFile = "Media/Title.mid";
const char* const kTitleMusicRef = "MEDIA\\TITLE.MID";
const char* const kTrophyMusicFile = "Media/Trophy.mod";
const char* const kTrophyMusicRef = "media\\trophy.MOD";
const char* const kDeveloperVideoFile = "Media/Developer.avi";
const char* const kDeveloperVideoRef = "Media\\DEVELOPER.AVI";
const char* const kTitleVideoFile = "Media/Title.avi";
const char* const kTitleVideoRef = "media\\Title.AVI";
const char* const kEndVideoFile = "Media/End.avi";
const char* const kEndVideoRef = "MEDIA\\end.avi";

namespace {
// One key frame of the arrival: the camera glides from `a` to `b`.
void Glide(IniText& ini, int f, const char* a, const char* b, const std::string& text,
           const char* sample) {
    const std::string k = "Frame_" + std::to_string(f);
    ini.Key(k + "_A", a);
    ini.Key(k + "_B", b);
    ini.Key(k + "_Duration", 1500);
    ini.Key(k + "_Text", text);
    ini.Key(k + "_A_AmbientLightPercent", f == 0 ? 60 : 100);
    ini.Key(k + "_B_AmbientLightPercent", 100);
    ini.Key(k + "_Sample", SoundRef(sample));
}

void Arrival(IniText& ini) {
    ini.Section("Clip " + std::to_string(kClipArrival));
    ini.Key("Name", "Arrival");
    ini.Key("Music", kTrophyMusicRef);
    ini.Flag("MusicLoop", true);
    ini.Key("NextClip", kClipArrivalWords);
    ini.Flag("Cinemascope", true);
    ini.Flag("PlayedSingle", true);
    ini.Flag("Cutscene", true);
    const std::string title = Big("The Trophy Room");
    Glide(ini, 0, "(1536,1536,1280),(4096,1024,0)", "(2304,1536,1536),(4600,1024,0)", title,
          "Door");
    Glide(ini, 1, "(2304,1536,1536),(4600,1024,0)", "(3072,1792,2304),(5000,1800,0)", title,
          "GolemSeen");
}

void ArrivalWords(IniText& ini) {
    ini.Section("Clip " + std::to_string(kClipArrivalWords));
    ini.Key("Name", "Arrival words");
    ini.Key("DisplayedMessage",
            Small("The trophy waits on its stand.") + "^" + Small("(Space to jump)"));
    ini.Key("DisplayedMessageTextVoice",
            "Welcome to the trophy room. The trophy waits on its stand.");
    ini.Key("DisplayedMessageVoice", "English");
    ini.Key("DisplayedMessagePitch", 40);
    ini.Key("DisplayedDuration", 5000);
    ini.Key("DisplayedMessageLeft", 0.05);
    ini.Key("DisplayedMessageTop", 0.12);
    ini.Flag("PlayedSingle", true);
}
}  // namespace

bool DemoMediaFiles(std::vector<MediaFile>& files, std::string& error) {
    std::string video, title, end;
    if (!DeveloperVideoBytes(video, error) || !TitleCardBytes(title, error) ||
        !EndCardBytes(end, error)) {
        return false;
    }
    files = {{kTitleMusicFile, MidiFileBytes(TitleTune())},
             {kTrophyMusicFile, ModFileBytes(TrophyRoomTune())},
             {kDeveloperVideoFile, video},
             {kTitleVideoFile, title},
             {kEndVideoFile, end}};
    return true;
}

void WriteMediaKeys(IniText& ini) {
    ini.Key("DeveloperVideo", kDeveloperVideoRef);
    ini.Key("IntroVideo", kTitleVideoRef);
    ini.Key("IntroMusic", kTitleMusicRef);
    ini.Key("ExtroVideo", kEndVideoRef);
    ini.Key("ExtroMusic", kTrophyMusicRef);
}

void WriteMediaClips(IniText& ini) {
    Arrival(ini);
    ArrivalWords(ini);
}

}  // namespace demo
