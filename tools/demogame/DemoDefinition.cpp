#include "tools/demogame/DemoDefinition.h"

#include <initializer_list>
#include <string>

#include "tools/demogame/DemoBlocTypes.h"
#include "tools/demogame/DemoLayout.h"
#include "tools/demogame/DemoMedia.h"
#include "tools/demogame/DemoScripts.h"
#include "tools/demogame/ScriptRooms.h"
#include "tools/demogame/IniText.h"

namespace demo {

namespace {
void HeroMeshKeys(IniText& ini) {
    for (const char* pose : {"Hero", "Hero_Walk1", "Hero_Walk2", "Hero_Walk3", "Hero_Walk4",
                             "Hero_Fall", "Hero_Crouch", "Hero_Dead", "Hero_Action", "Hero_Shoot",
                             "Hero_GolemStop", "Hero_GolemCoucouche"}) {
        ini.Key(pose, MeshRef(pose));
    }
    ini.Key("Shadow", MeshRef("Shadow"));
}

void HeroSoundKeys(IniText& ini) {
    ini.Key("InventorySound", SoundRef("PickUp"));
    ini.Key("WeaponSound", SoundRef("Lever"));
    ini.Key("JumpSound", SoundRef("Jump"));
    ini.Key("LongJumpSound", SoundRef("Jump"));
    ini.Key("LongJumpGValue", 200);
    ini.Key("HurtSound", SoundRef("Hurt"));
    ini.Key("HurtSoundDuration", 800);
    ini.Key("GolemHurtSound", SoundRef("Hurt"));
    ini.Key("DeathSound", SoundRef("Hurt"));
    ini.Key("GolemStopSound", SoundRef("Lever"));
    ini.Key("GolemCoucoucheSound", SoundRef("GolemSeen"));
}

void General(IniText& ini) {
    ini.Section("General");
    ini.Key("Texture", k3DRef);
    HeroMeshKeys(ini);
    HeroSoundKeys(ini);
    ini.Key("HeroWidth", 260);
    ini.Key("HeroHeight", 480);
    ini.Key("HeroStep", 256);
    ini.Key("Speed", 50);
    ini.Key("AngleSpeed", 900);
    ini.Key("JumpG", 183);
    ini.Key("SolidHurt", 20);
    ini.Key("MeshSpeed", 0.8);
    ini.Key("FallRotateFactor", 1.0);
    WriteScriptSkyKeys(ini);
}
}  // namespace

std::string DefinitionText() {
    IniText ini;
    General(ini);
    WriteBlocTypes(ini);
    WriteScriptBlocTypes(ini);
    WriteBehaviours(ini);
    WriteScriptBehaviours(ini);
    WriteClips(ini);
    WriteScriptClips(ini);
    WriteMediaClips(ini);
    return ini.Text();
}

}  // namespace demo
