#include "tools/demogame/DemoScripts.h"

#include <initializer_list>
#include <string>

#include "tools/demogame/DemoDefinition.h"
#include "tools/demogame/DemoLayout.h"

namespace demo {

void Behaviour(IniText& ini, int number, const char* name,
               std::initializer_list<std::string> lines) {
    ini.Section("Behaviour " + std::to_string(number));
    ini.Key("Name", name);
    int key = 0;
    for (const std::string& line : lines) ini.Key(std::to_string(key++), line);
}

std::string Big(const std::string& text) { return std::string(1, kBigFontCode) + text; }

std::string Small(const std::string& text) { return std::string(1, kSmallFontCode) + text; }

void Message(IniText& ini, int clip, const char* name, const std::string& text, const char* sound,
             int duration) {
    ini.Section("Clip " + std::to_string(clip));
    ini.Key("Name", name);
    ini.Key("DisplayedMessage", text);
    ini.Key("DisplayedMessageWAV", SoundRef(sound));
    ini.Key("DisplayedDuration", duration);
    ini.Key("DisplayedMessageLeft", 0.05);
    ini.Key("DisplayedMessageTop", 0.12);
    ini.Flag("PlayedSingle", true);
}

namespace {
// One key frame of the cut-scene: the camera moves from `a` to `b` while the
// hero walks from `from` to `to`, morphing between its stand and walk poses.
void KeyFrame(IniText& ini, int f, const char* a, const char* b, const char* from, const char* to,
              const std::string& text) {
    const std::string k = "Frame_" + std::to_string(f);
    ini.Key(k + "_A", a);
    ini.Key(k + "_B", b);
    ini.Key(k + "_Duration", 2500);
    ini.Key(k + "_Text", text);
    ini.Key(k + "_A_AmbientLightPercent", 100);
    ini.Key(k + "_B_AmbientLightPercent", 100);
    ini.Key(k + "_Sample", SoundRef("Step"));
    ini.Key(k + "_Mesh_0_Index_A", f % 2);
    ini.Key(k + "_Mesh_0_A", from);
    ini.Key(k + "_Mesh_0_Index_B", 1 - f % 2);
    ini.Key(k + "_Mesh_0_B", to);
}

void Intro(IniText& ini) {
    ini.Section("Clip " + std::to_string(kClipIntro));
    ini.Key("Name", "Opening");
    ini.Key("NextClip", kClipWelcome);
    ini.Flag("Cinemascope", true);
    ini.Flag("PlayedSingle", true);
    ini.Flag("Cutscene", true);
    ini.Key("Object_0", MeshRef("Hero"));
    ini.Key("Object_1", MeshRef("Hero_Walk1"));
    KeyFrame(ini, 0, "(3584,1536,512),(28672,1024,0)", "(3072,1280,1024),(27648,1024,0)",
             "(1280,752,1280),(0,0,0)", "(1280,752,1792),(0,0,0)", Small("A quiet morning..."));
    KeyFrame(ini, 1, "(3072,1280,1024),(27648,1024,0)", "(2560,1024,1280),(26624,512,0)",
             "(1280,752,1792),(0,0,0)", "(1280,752,2304),(0,0,0)", Small("...the quest begins."));
}
}  // namespace

void WriteBehaviours(IniText& ini) {
    Behaviour(
        ini, kLift, "Lift",
        {"DELAY 1500", "MOVETO (0,2,0),0,3000", "DELAY 1500", "MOVETO (0,-2,0),0,3000", "GOTO 0"});
    Behaviour(ini, kHint, "Hint",
              {"WAITFORPLAYER (-1,-1,-1),(1,0,1)", "PLAYCLIP " + std::to_string(kClipHint),
               "DELAY 20000", "GOTO 0"});
    Behaviour(
        ini, kGemWatch, "Gem reward",
        {"WAITFORBLOCNUMBERINLEVEL " + std::to_string(kBlocGem) + ",0",
         "PLAYCLIP " + std::to_string(kClipGems), "ADDHEALTHTOPLAYER 50", "DELAY 1000", "GOTO 3"});
    Behaviour(ini, kFlicker, "Flicker",
              {"PUTLIGHT 90,(-2,-3,-2),(2,0,2)", "DELAY 250", "PUTLIGHT 70,(-2,-3,-2),(2,0,2)",
               "DELAY 120", "GOTO 0"});
}

void WriteClips(IniText& ini) {
    Message(ini, kClipWelcome, "Welcome",
            Big("Demo Quest") + "^" + Small("Open the three doors, take every gem,") + "^" +
                Small("then find the trophy: it waits") + "^" + Small("beyond the exit pads."),
            "Menu", 6000);
    Message(ini, kClipGems, "All gems",
            Big("Well done!") + "^" + Small("Every gem is yours: health +50."), "PickUp", 4000);
    Message(ini, kClipHint, "Crate hint",
            Small("Push the crate onto the golden plate") + "^" + Small("(Enter)."), "Menu", 4000);
    Intro(ini);
}

}  // namespace demo
