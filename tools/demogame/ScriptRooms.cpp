#include "tools/demogame/ScriptRooms.h"

#include <string>

#include "tools/demogame/DemoBlocTypes.h"
#include "tools/demogame/DemoDefinition.h"
#include "tools/demogame/DemoLayout.h"
#include "tools/demogame/DemoScripts.h"
#include "tools/demogame/ScriptProps.h"

namespace demo {

namespace {

std::string N(int n) { return std::to_string(n); }

// ---- Bloc types ----

void Switches(IniText& ini) {
    Meshes(ini, kBlocSwitchOff, "Switch (off)", {"Lever"});
    ini.Key("DefaultBehaviour", kSwitchOffScript);
    ini.Key("ActionSound", SoundRef("Lever"));
    Meshes(ini, kBlocSwitchOn, "Switch (on)", {"Lever_Down"});
    ini.Key("DefaultBehaviour", kSwitchOnScript);
    ini.Key("ActionSound", SoundRef("Lever"));
    Meshes(ini, kBlocVaultDoor, "Vault door", {"Door_Wood"});
    DoorKeys(ini);
    ScriptHolder(ini, kBlocVaultLock, "Vault lock", kVaultLockScript);
}

void Weapons(IniText& ini) {
    Meshes(ini, kBlocBlast, "Blast", Frames("Blast", kBlastFrames), 0.5);
    ini.Flag("Collision", false);
    ini.Key("ActionSound", SoundRef("Hurt"));
    Meshes(ini, kBlocFireball, "Fireball", {"Fireball"});
    ini.Flag("Collision", false);
    ini.Key("BulletSpeed", 70);
    ini.Key("BulletDuration", 6000);
    ini.Key("BulletExplosion", kBlocBlast);
    ini.Key("HurtValue", -8);
    ini.Key("ActionSound", SoundRef("GolemSeen"));
    Meshes(ini, kBlocBolt, "Bolt", {"Bolt"});
    ini.Flag("Collision", false);
    ini.Key("BulletSpeed", 400);
    ini.Key("BulletDuration", 2500);
    ini.Key("BulletExplosion", kBlocBlast);
    ini.Key("HurtValue", -10);
    ini.Key("ReloadTime", 300);
    ini.Key("ActionSound", SoundRef("Jump"));
    InventoryIcon(ini, "Bolt");
    Meshes(ini, kBlocBlaster, "Blaster", Frames("Blaster", kCoinFrames), 0.2);
    ini.Flag("Collision", false);
    ini.Flag("CanGet", true);
    ini.Flag("Ammo", true);
    ini.Key("AmmoBullet", kBlocBolt);
    ini.Key("Quantity", 15);
    ini.Key("ActionSound", SoundRef("PickUp"));
}

void Machines(IniText& ini) {
    Meshes(ini, kBlocTurret, "Turret", {"Turret"});
    ini.Key("DefaultBehaviour", kTurretScript);
    ini.Key("DeathBehaviour", kTurretDownScript);
    ini.Key("Health", 30);
    ini.Key("ActionSound", SoundRef("Door"));
    Meshes(ini, kBlocTurretWreck, "Turret wreck", {"Turret_Wreck"});
    Meshes(ini, kBlocDrone, "Drone", {"Drone"});
    ini.Key("DefaultBehaviour", kDroneScript);
    ini.Key("DeathBehaviour", kDroneDownScript);
    ini.Key("Health", 20);
    Meshes(ini, kBlocRam, "Ram", {"Ram"});
    ini.Key("DefaultBehaviour", kRamScript);
    Meshes(ini, kBlocBeacon, "Beacon", {"Beacon"});
    ini.Flag("Collision", false);
    ScriptHolder(ini, kBlocBeaconMotor, "Beacon motor", kBeaconScript);
    Meshes(ini, kBlocSpikes, "Spikes", {"Spikes"});
    ini.Flag("Collision", false);
    ini.Key("DefaultBehaviour", kSpikesScript);
    ini.Key("ActionSound", SoundRef("Hurt"));
}

void Rewards(IniText& ini) {
    PickUp(ini, kBlocCoin, "Coin", "Coin", "Coin", 0.25);
    ScriptHolder(ini, kBlocCoinCounter, "Coin counter", kCoinCounterScript);
    ScriptHolder(ini, kBlocAnnexWatch, "Vault watch", kAnnexWatchScript);
}

// ---- Behaviours ----

// A switch flips when the hero acts on its cell (or on the floor in front of
// it), lights or darkens its cell and turns into the other switch.
void SwitchScripts(IniText& ini) {
    const std::string acted = "WAITFORPLAYERACTIVATION (0,-1,0),(0,0,0)";
    Behaviour(ini, kSwitchOffScript, "Switch (off)",
              {acted, "PLAYACTIONSOUND " + N(kBlocSwitchOff), "TRANSFORMTO " + N(kBlocSwitchOn),
               "PUTLIGHT 90,(0,0,0),(0,1,0)", "DELAY 400", "SETBEHAVIOUR " + N(kSwitchOnScript)});
    Behaviour(ini, kSwitchOnScript, "Switch (on)",
              {acted, "PLAYACTIONSOUND " + N(kBlocSwitchOn), "TRANSFORMTO " + N(kBlocSwitchOff),
               "PUTLIGHT 55,(0,0,0),(0,1,0)", "DELAY 400", "SETBEHAVIOUR " + N(kSwitchOffScript)});
    Behaviour(ini, kSwitchLockedScript, "Switch (locked)", {"GOTO 0"});
    // Above the trophy room's back wall, two cells in front of the vault door
    // (at offset (0,-3,1)); the crate hangs over the vault at (3,-1,4).
    Behaviour(
        ini, kVaultLockScript, "Vault lock",
        {"WAITFORPLAYER (-3,-4,-3),(3,-2,0)", "PLAYCLIP " + N(kClipVaultHint),
         "WAITFORBLOCNUMBERINLEVEL " + N(kBlocSwitchOff) + ",0",
         "OPENDOOR " + N(kBlocVaultDoor) + ",(0,-3,1),(0,-3,1)", "PLAYCLIP " + N(kClipVaultOpen),
         "SETSKY " + N(kSkyClouds), "PUTLIGHTABSOLUTE 75,(1,1,12),(10,3,18)",
         "MAKEFALL (3,-1,4),(3,-1,4)", "ADDLIGHTRANGE 2",
         "TRANSFORMBEHAVIOUR " + N(kSwitchOnScript) + "," + N(kSwitchLockedScript)});
}

void MachineScripts(IniText& ini) {
    Behaviour(ini, kTurretScript, "Turret",
              {"WAITFORPLAYER (-5,-1,-6),(5,2,1)", "SHOOTPLAYER " + N(kBlocFireball), "DELAY 1500",
               "GOTO 0"});
    Behaviour(ini, kTurretDownScript, "Turret destroyed",
              {"TRANSFORMTO " + N(kBlocTurretWreck), "PLAYTILEANIMATION (0,0,0)," + N(kBlocBlast),
               "PUTOBJECT " + N(kBlocCoin) + ",(0,0,-1),(0,0,-1)", "ADDTIMERVALUE 15",
               "ADDSAVECOUNT 1", "PLAYCLIP " + N(kClipTurretDown), "GOTO 6"});
    Behaviour(ini, kDroneScript, "Drone",
              {"WAITFORPLAYER (-7,-1,-7),(7,2,7)", "MOVENEARPLAYER (0,0,0),(2,0,2),60,1",
               "DELAY 200", "GOTO 0"});
    Behaviour(ini, kDroneDownScript, "Drone destroyed",
              {"TRANSFORMTO 0", "PLAYTILEANIMATION (0,0,0)," + N(kBlocBlast),
               "PUTOBJECT " + N(kBlocCoin) + ",(0,0,0),(0,0,0)", "GOTO 3"});
    Behaviour(ini, kRamScript, "Ram",
              {"MOVEUNTILBLOCKED (45,0,0)", "DELAY 700", "MOVEUNTILBLOCKED (-45,0,0)", "DELAY 700",
               "GOTO 0"});
    Behaviour(ini, kBeaconScript, "Beacon motor",
              {"ADDROTATION 6,(0,-2,0),(0,-2,0)", "DELAY 80", "GOTO 0"});
    // A hero who steps on the spikes is thrown up, and the game is over once
    // the message saying so has been read.
    Behaviour(ini, kSpikesScript, "Spikes",
              {"WAITFORPLAYER (0,0,0),(0,0,0)", "PLAYACTIONSOUND " + N(kBlocSpikes),
               "PLAYCLIP " + N(kClipSpikes), "ADDPLAYERSPEED (0,60,0),0", "DELAY 3000", "GAMEOVER",
               "GOTO 6"});
}

void RewardScripts(IniText& ini) {
    Behaviour(ini, kCoinCounterScript, "Coin counter",
              {"WAITFORPLAYERHAVEOBJECT " + N(kBlocCoin) + "," + N(kCoinsToWin), "TIMEROFF",
               "PLAYCLIP " + N(kClipAllCoins), "DELAY 3000", "GAMEWON", "GOTO 5"});
    // Above the vault's first row; the vault spans offsets (-4..5, -3..-1, 0..6).
    // Inside, the hero has two saves left (and wins one more from the turret).
    Behaviour(ini, kAnnexWatchScript, "Vault watch",
              {"WAITFORPLAYER (-4,-3,0),(5,-1,6)", "PLAYCLIP " + N(kClipAnnex), "SETTIMERVALUE 120",
               "TIMERON", "SETSAVECOUNT 2", "GOTO 5"});
}

}  // namespace

void WriteScriptSkyKeys(IniText& ini) {
    const std::string sky = "Sky_" + N(kSkyClouds);
    ini.Key(sky + "_Object", MeshRef("Sky_Clouds"));
    ini.Key(sky + "_Description", "Clouds");
}

void WriteScriptBlocTypes(IniText& ini) {
    Switches(ini);
    Weapons(ini);
    Machines(ini);
    Rewards(ini);
}

void WriteScriptBehaviours(IniText& ini) {
    SwitchScripts(ini);
    MachineScripts(ini);
    RewardScripts(ini);
}

void WriteScriptClips(IniText& ini) {
    Message(ini, kClipVaultHint, "Vault hint",
            Small("The vault opens when all three") + "^" +
                Small("switches are on (Enter). One of") + "^" + Small("them is on already..."),
            "Menu", 5000);
    Message(ini, kClipVaultOpen, "Vault open", Big("The vault is open!"), "Door", 3000);
    Message(ini, kClipAnnex, "Vault",
            Small("Shoot the turret and the drone (F),") + "^" +
                Small("and take all five coins. The clock") + "^" +
                Small("is running, and only two saves") + "^" + Small("are left!"),
            "Menu", 5000);
    Message(ini, kClipAllCoins, "All coins", Big("All five coins!") + "^" + Small("You win."),
            "PickUp", 3000);
    Message(
        ini, kClipSpikes, "Spikes",
        Big("You lost!") + "^" + Small("Caught on the spikes: the game") + "^" + Small("is over."),
        "Hurt", 3000);
    Message(ini, kClipTurretDown, "Turret down",
            Small("Turret destroyed: 15 more seconds") + "^" + Small("and one more save."), "Lever",
            3000);
}

void AddScriptedRooms(LevelPlan& p) {
    // The trophy room: the blaster, a coin and the three switches, the middle
    // one on; the lock above the wall that closes the vault.
    p.Put(4, 1, 4, kBlocBlaster);
    p.Put(9, 1, 3, kBlocCoin);
    p.Put(4, 1, 1, kBlocSwitchOff);
    p.Put(10, 1, 2, kBlocSwitchOn);
    p.Put(3, 1, 10, kBlocSwitchOff);
    p.Lighten(10, 1, 2, 10, 2, 2, 230);
    p.Put(5, 4, 10, kBlocVaultLock);
    p.Fill(1, 1, 11, 10, 3, 11, kBlocBricks);
    p.Put(5, 1, 11, kBlocVaultDoor);
    // The vault, dim until it is opened: the ram's row just inside the door,
    // the turret at the back, the drone, a crate hanging over the floor, a
    // ledge with the lift beside it and the beacon and a coin on top, and the
    // spikes in the dark corner behind the drone.
    p.Lighten(1, 1, 12, 10, 3, 18, 110);
    p.Put(5, 4, 12, kBlocAnnexWatch);
    p.Put(1, 1, 13, kBlocRam);
    p.Put(5, 1, 17, kBlocTurret);
    p.Put(2, 1, 15, kBlocDrone);
    p.Put(2, 1, 16, kBlocCoin);
    p.Put(8, 3, 14, kBlocCrate);
    p.Fill(9, 1, 17, 10, 2, 18, kBlocStone);
    p.Put(8, 1, 18, kBlocPlatform);
    p.Put(10, 3, 18, kBlocCoin);
    p.Put(9, 3, 17, kBlocBeacon);
    p.Put(9, 5, 17, kBlocBeaconMotor);
    p.Put(6, 4, 16, kBlocCoinCounter);
    p.Put(1, 1, 18, kBlocSpikes);
}

}  // namespace demo
