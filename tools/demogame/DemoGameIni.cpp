#include "tools/demogame/DemoGameIni.h"

#include "tools/demogame/DemoDictionary.h"
#include "tools/demogame/DemoLayout.h"
#include "tools/demogame/DemoMedia.h"
#include "tools/demogame/FontSheet.h"
#include "tools/demogame/IniText.h"

namespace demo {

namespace {
void General(IniText& ini) {
    ini.Section("General");
    ini.Key("Top", 100);
    ini.Key("Left", 100);
    ini.Key("Width", 640);
    ini.Key("Height", 480);
    ini.Key("DepthOfView", 14);
    ini.Key("Resolution", 4);
    ini.Key("Fullscreen", 0);
    ini.Key("MouseMode", 0);
    ini.Key("Music", 1);
    ini.Key("Texture", 1);
}

void Control(IniText& ini) {
    ini.Section("Control");
    ini.Key("KeyWeapon", kVkW);
    ini.Key("KeyInventory", kVkTab);
    ini.Key("KeyLookUp", kVkPageUp);
    ini.Key("KeyLookDown", kVkPageDown);
    ini.Key("KeyMoveUp", kVkUp);
    ini.Key("KeyMoveDown", kVkDown);
    ini.Key("KeyLookLeft", kVkLeft);
    ini.Key("KeyLookRight", kVkRight);
    ini.Key("KeyMoveLeft", kVkA);
    ini.Key("KeyMoveRight", kVkD);
    ini.Key("KeyButton1", kVkSpace);   // jump
    ini.Key("KeyButton2", kVkShift);   // send a golem to rest
    ini.Key("KeyButton3", kVkReturn);  // action
    ini.Key("KeyButton4", kVkF);       // shoot
}

void Fonts(IniText& ini) {
    const FontStyle small = SmallFontStyle(), big = BigFontStyle();
    ini.Key("SmallFontBitmap", kSmallFontRef);
    ini.Key("SmallFontWidth", small.Width);
    ini.Key("SmallFontHeight", small.Height);
    ini.Key("BigFontBitmap", kBigFontRef);
    ini.Key("BigFontWidth", big.Width);
    ini.Key("BigFontHeight", big.Height);
}

// One HUD icon with its counter beside it.
void Icon(IniText& ini, const std::string& what, double left, double top, bool counter) {
    ini.Key(what + "Icon", HudRef(what));
    ini.Key(what + "Left", left);
    ini.Key(what + "Top", top);
    ini.Key(what + "Width", 0.08);
    ini.Key(what + "Height", 0.1);
    ini.Key(what + "Alpha", 10);
    if (counter) {
        ini.Key(what + "StringLeft", left + 0.09);
        ini.Key(what + "StringTop", top + 0.03);
    }
}

// The HUD at the corners, clear of the player's own texts: the messages at
// the top left (the timer below them), the frame counter at the top right
// (the weapon and the item chosen below it), the level banners gliding
// through the middle, the message clips left of the weapon.
void Hud(IniText& ini) {
    Icon(ini, "Life", 0.02, 0.88, true);
    Icon(ini, "Golem", 0.8, 0.88, true);
    Icon(ini, "Cross", 0.46, 0.45, false);
    ini.Key("InventoryLeft", 0.88);
    ini.Key("InventoryTop", 0.08);
    ini.Key("InventoryStringLeft", 0.885);
    ini.Key("InventoryStringTop", 0.19);
    ini.Key("InventoryAlpha", 0);
    ini.Key("WeaponLeft", 0.76);
    ini.Key("WeaponTop", 0.08);
    ini.Key("WeaponStringLeft", 0.765);
    ini.Key("WeaponStringTop", 0.19);
    ini.Key("TimerLeft", 0.02);
    ini.Key("TimerTop", 0.06);
    ini.Key("TimerHealth", 2.5);
}
}  // namespace

std::string GameIniText() {
    IniText ini;
    General(ini);
    Control(ini);
    ini.Section("Game");
    ini.Key("GameTitle", "Demo Quest");
    Fonts(ini);
    Hud(ini);
    ini.Key("StartLevel", LevelName(1));
    ini.Key("StartSaveNumber", 1000);
    ini.Key("CameraMinDistance", 600);
    ini.Key("CameraMaxDistance", 2400);
    ini.Key("CameraStep", 200);
    ini.Key("MenuSound", SoundRef("Menu"));
    ini.Key("TimerSound", SoundRef("Lever"));
    ini.Key("CameraSound", SoundRef("Step"));
    ini.Key("HelpFile", kHelpFile);
    WriteMediaKeys(ini);
    return ini.Text();
}

}  // namespace demo
