#include "game/level/LevelDefinition.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/G3D3DFile.h"
#include "engine/G3DState.h"
#include "game/script/Behaviours.h"
#include "game/clips/ClipPlayback.h"
#include "game/clips/ClipStuff.h"
#include "game/media/Music.h"
#include "game/level/DefinitionSection.h"
#include "game/GameClock.h"
#include "game/GameIni.h"
#include "game/StartUp.h"
#include "game/level/HeroStuff.h"
#include "game/draw/HudText.h"
#include "game/level/LevelStuff.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"
#include "platform/msgbox/MessageBox.h"
#include "support/IniFiles32.h"
#include "support/Snd.h"

TG3DMesh* LetterboxMesh = nullptr;

namespace {

int32_t Saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Frees what `mesh` held, then loads `name` into it: a missing or unnamed
// file leaves no mesh rather than the previous definition's.
void ReloadMesh(const std::string& name, TG3DMesh*& mesh) {
    G3DFreeMesh(mesh);
    G3DLoadMesh(name, mesh);
}

void BuildLetterboxMesh() {
    G3DAllocMesh(LetterboxMesh, 3, 1);
    if (LetterboxMesh == nullptr) return;
    const int32_t xs[] = {0, 1000, 1000, 0};
    const int32_t ys[] = {0, 0, 100, 100};
    for (int32_t v = 0; v < 4; ++v) {
        LetterboxMesh->X[v] = xs[v];
        LetterboxMesh->Y[v] = ys[v];
        LetterboxMesh->Z[v] = 0;
    }
    LetterboxMesh->Faces[0] = TG3DFace{0, 1, 2, 0, 1, 1, kG3DFaceFlat, 0};
    LetterboxMesh->Faces[1] = TG3DFace{2, 3, 0, 0, 1, 1, kG3DFaceFlat, 0};
}

// Hero animation keys and the slot each fills, in the order they are read.
struct HeroAnimKey {
    const char* key;
    int32_t slot;
};
constexpr HeroAnimKey kHeroAnimKeys[] = {
    {"Hero_Walk1", 1},  {"Hero_Walk2", 2},      {"Hero_Walk3", 3},          {"Hero_Walk4", 4},
    {"Hero_Fall", 5},   {"Hero_Crouch", 6},     {"Hero_Dead", 7},           {"Hero_Action", 10},
    {"Hero_Shoot", 11}, {"Hero_GolemStop", 12}, {"Hero_GolemCoucouche", 13}};

void LoadHeroSound(const DefinitionSection& in, const char* key, std::string& file,
                   TSoundBuffer*& sound) {
    file = in.Text(key);
    LoadSound(file, sound);
}

void LoadHeroMeshes(const DefinitionSection& in, HeroStuff& hero) {
    hero.AnimFiles[0] = in.Text("Hero");
    ReloadMesh(hero.AnimFiles[0], hero.AnimMeshes[0]);
    // The blended pose starts as the stand pose: a copy, not a second read.
    G3DFreeMesh(hero.HeroMesh);
    G3DCopyMesh(hero.AnimMeshes[0], hero.HeroMesh);
    for (const HeroAnimKey& anim : kHeroAnimKeys) {
        hero.AnimFiles[anim.slot] = in.Text(anim.key);
        ReloadMesh(hero.AnimFiles[anim.slot], hero.AnimMeshes[anim.slot]);
    }
}

void LoadHeroSounds(const DefinitionSection& in, HeroStuff& hero) {
    LoadHeroSound(in, "InventorySound", hero.InventorySoundFile, hero.InventorySound);
    LoadHeroSound(in, "WeaponSound", hero.WeaponSoundFile, hero.WeaponSound);
    LoadHeroSound(in, "JumpSound", hero.JumpSoundFile, hero.JumpSound);
    LoadHeroSound(in, "LongJumpSound", hero.LongJumpSoundFile, hero.LongJumpSound);
    hero.LongJumpGValue = in.Integer("LongJumpGValue", 200);
    hero.LongJumpHealthValue = in.Integer("LongJumpHealthValue", 0);
    LoadHeroSound(in, "HurtSound", hero.HurtSoundFile, hero.HurtSound);
    hero.HurtSoundDuration = in.Integer("HurtSoundDuration", 1000);
    LoadHeroSound(in, "GolemHurtSound", hero.GolemHurtSoundFile, hero.GolemHurtSound);
    hero.GolemHurtSoundDuration = in.Integer("GolemHurtSoundDuration", 1000);
    LoadHeroSound(in, "DeathSound", hero.DeathSoundFile, hero.DeathSound);
    LoadHeroSound(in, "GolemStopSound", hero.GolemStopSoundFile, hero.GolemStopSound);
    LoadHeroSound(in, "GolemCoucoucheSound", hero.GolemCoucoucheSoundFile,
                  hero.GolemCoucoucheSound);
}

void LoadHero(const DefinitionSection& in, HeroStuff& hero) {
    LoadHeroMeshes(in, hero);
    LoadHeroSounds(in, hero);
    hero.Shadow = in.Text("Shadow");
    ReloadMesh(hero.Shadow, hero.ShadowMesh);
    hero.HeroWidth = in.Integer("HeroWidth", 260);
    hero.HeroHeight = in.Integer("HeroHeight", 480);
    hero.HeroStep = in.Integer("HeroStep", 256);
    hero.Speed = in.Integer("Speed", 50);
    hero.AngleSpeed = in.Integer("AngleSpeed", 900);
    hero.JumpG = in.Integer("JumpG", 183);
    hero.SolidHurt = in.Integer("SolidHurt", 20);
    hero.MeshSpeed = in.Float("MeshSpeed", 0.8f);
    hero.FallRotateFactor = in.Float("FallRotateFactor", 1.0f);
}

// The skies N that keys "Sky_N..." of the section may name (N of up to three
// digits, below kSkyCount).
std::array<bool, kSkyCount> NamedSkies(const DefinitionSection& in) {
    std::array<bool, kSkyCount> named{};
    for (const std::string& key : in.Keys()) {
        if (key.compare(0, 4, "Sky_") != 0) continue;
        int32_t n = 0;
        size_t i = 4;
        for (; i < key.size() && i < 7 && key[i] >= '0' && key[i] <= '9'; ++i) {
            n = n * 10 + (key[i] - '0');
        }
        if (i > 4 && n < kSkyCount) named[static_cast<size_t>(n)] = true;
    }
    return named;
}

void LoadSkies(const DefinitionSection& in, LevelStuff& level) {
    // Only the skies that the section may name are looked up: the others are
    // emptied as a look-up of no key would.
    const std::array<bool, kSkyCount> named = NamedSkies(in);
    for (int32_t n = 0; n < kSkyCount; ++n) {
        SkyStuff& sky = level.Skies[n];
        if (!named[static_cast<size_t>(n)]) {
            sky.SkyFile.clear();
            G3DFreeMesh(sky.SkyMesh);
            sky.SkyDescription.clear();
            continue;
        }
        const std::string prefix = "Sky_" + std::to_string(n);
        sky.SkyFile = in.Text(prefix + "_Object");
        ReloadMesh(sky.SkyFile, sky.SkyMesh);
        sky.SkyDescription = in.Text(prefix + "_Description");
    }
}

// ---- Bloc types ----

void FreeBlocMedia(BlocStuff& bloc) {
    bloc.FreeMeshes();
    FreeSound(bloc.StepSoundBuffer);
    FreeSound(bloc.LoopSoundBuffer);
    FreeSound(bloc.ActionSoundBuffer);
    GolemTypeStuff& golem = bloc.GolemType;
    for (TSoundBuffer** sound :
         {&golem.SeenSound, &golem.LostSound, &golem.WalkSound, &golem.BlockSound}) {
        FreeSound(*sound);
    }
}

// Puts type n back to its defaults, freeing its meshes and sounds. What the
// level keeps about the type (its InstanceCount, the frame it shows) stays.
void ResetBlocType(BlocStuff& bloc, int32_t n) {
    const int32_t instances = bloc.InstanceCount;
    const float framePosition = bloc.FramePosition;
    // Only a defined type is given media: an undefined one holds the defaults
    // already, and its values are copied over whole.
    if (bloc.Undefined == 0) {
        FreeBlocMedia(bloc);
        static_cast<BlocMedia&>(bloc) = BlocMedia{};
    }
    static_assert(std::is_trivially_copyable_v<BlocValues>);
    static const BlocValues kValues{};
    static_cast<BlocValues&>(bloc) = kValues;
    bloc.InstanceCount = instances;
    bloc.FramePosition = framePosition;
    bloc.AnimDoor = n;
    bloc.DoorOpen = n;
}

void LoadGolemMesh(const DefinitionSection& in, const std::string& key, std::string& file,
                   TG3DMesh*& mesh) {
    file = in.Text(key);
    G3DLoadMesh(file, mesh);  // the mesh was freed by ResetBlocType
}

void ReadGolemType(const DefinitionSection& in, GolemTypeStuff& golem) {
    LoadGolemMesh(in, "MeshStand", golem.MeshStandFile, golem.MeshStand);
    LoadGolemMesh(in, "MeshWalk1", golem.MeshWalk1File, golem.MeshWalk1);
    LoadGolemMesh(in, "MeshWalk2", golem.MeshWalk2File, golem.MeshWalk2);
    LoadGolemMesh(in, "MeshWalk3", golem.MeshWalk3File, golem.MeshWalk3);
    LoadGolemMesh(in, "MeshWalk4", golem.MeshWalk4File, golem.MeshWalk4);
    golem.WalkAnimSpeed = in.Integer("WalkAnimSpeed", 512);
    LoadGolemMesh(in, "MeshBlock1", golem.MeshBlock1File, golem.MeshBlock1);
    LoadGolemMesh(in, "MeshBlock2", golem.MeshBlock2File, golem.MeshBlock2);
    LoadGolemMesh(in, "MeshBlock3", golem.MeshBlock3File, golem.MeshBlock3);
    LoadGolemMesh(in, "MeshBlock4", golem.MeshBlock4File, golem.MeshBlock4);
    golem.BlockAnimSpeed = in.Integer("BlockAnimSpeed", 512);
    golem.FollowingDistance = in.Integer("FollowingDistance", 512);
    golem.FollowingDistanceMax = in.Integer("FollowingDistanceMax", 2048);
    golem.Width = in.Integer("Width", 130);
    golem.Height = in.Integer("Height", 140);
    golem.GolemSpeed = in.Integer("GolemSpeed", 20);
    golem.GolemRotationSpeed = in.Integer("GolemRotationSpeed", 200);
    golem.BlockedDuration = in.Integer("BlockedDuration", 1000);
    golem.SeenSoundFile = in.Text("SeenSound");
    LoadSound(golem.SeenSoundFile, golem.SeenSound);
    golem.LostSoundFile = in.Text("LostSound");
    LoadSound(golem.LostSoundFile, golem.LostSound);
    golem.WalkSoundFile = in.Text("WalkSound");
    LoadSound(golem.WalkSoundFile, golem.WalkSound);
    golem.BlockSoundFile = in.Text("BlockSound");
    LoadSound(golem.BlockSoundFile, golem.BlockSound);
}

// From Golem to Door's keys.
void ReadBlocRoles(const DefinitionSection& in, int32_t n, BlocStuff& bloc) {
    bloc.Golem = in.Flag("Golem", false);
    bloc.Exit = in.Flag("Exit", false);
    bloc.GameEnd = in.Flag("GameEnd", false);
    if (bloc.Golem) ReadGolemType(in, bloc.GolemType);
    bloc.DefaultBehaviour = in.Integer("DefaultBehaviour", -1);
    bloc.BulletHitBehaviour = in.Integer("BulletHitBehaviour", -1);
    bloc.DeathBehaviour = in.Integer("DeathBehaviour", -1);
    bloc.Transparency = static_cast<uint8_t>(in.Integer("Transparency", 0));
    bloc.Lever = in.Flag("Lever", false);
    if (bloc.Lever) {
        bloc.LeverAnim = in.Integer("LeverAnim", 0);
        bloc.LeverOpen = in.Integer("LeverOpen", 0);
        bloc.LeverDoor = in.Integer("LeverDoor", 0);
    }
    bloc.Spring = in.Flag("Spring", false);
    bloc.Medikit = in.Flag("Medikit", false);
    bloc.MedikitHealth = in.Integer("MedikitHealth", 10);
    bloc.Timer = in.Flag("Timer", false);
    if (bloc.Timer) bloc.TimerDuration = in.Integer("TimerDuration", 10000);
    bloc.Dig = in.Flag("Dig", false);
    bloc.Recover = in.Flag("Recover", false);
    bloc.DigAnim = in.Integer("DigAnim", 0);
    bloc.RecoverAnim = in.Integer("RecoverAnim", 0);
    bloc.BlockKey = in.Flag("BlockKey", false);
    bloc.BlockKeySensor = in.Integer("BlockKeySensor", 0);
    bloc.BlockSensor = in.Flag("BlockSensor", false);
    bloc.BlockSensorDoor = in.Integer("BlockSensorDoor", 0);
    bloc.Door = in.Flag("Door", false);
    if (bloc.Door) {
        bloc.AnimDoor = in.Integer("AnimDoor", n);
        bloc.DoorOpen = in.Integer("DoorOpen", n);
        bloc.DoorKey = in.Integer("DoorKey", -1);
        bloc.DoorKeyRemoveAmount = in.Integer("DoorKeyRemoveAmount", 1);
    }
}

// From Ammo to AnimateCollision.
void ReadBlocItems(const DefinitionSection& in, BlocStuff& bloc) {
    bloc.Ammo = in.Flag("Ammo", false);
    if (bloc.Ammo) bloc.AmmoBullet = in.Integer("AmmoBullet", -1);
    bloc.Bullet = in.Flag("Bullet", false);
    if (bloc.Bullet) {
        bloc.BulletSpeed = in.Integer("BulletSpeed", 512);
        bloc.BulletMass = in.Integer("BulletMass", 0);
        bloc.BulletDuration = in.Integer("BulletDuration", -1);
        bloc.BulletExplosion = in.Integer("BulletExplosion", 0);
        bloc.ReloadTime = in.Integer("ReloadTime", 0);
    }
    bloc.CanGet = in.Flag("CanGet", false);
    bloc.Quantity = in.Integer("Quantity", 1);
    bloc.ShowLevelCount = in.Flag("ShowLevelCount", false);
    if (bloc.ShowLevelCount) {
        bloc.ShowLevelCountLeft = in.Float("ShowLevelCountLeft", 0.0f);
        bloc.ShowLevelCountTop = in.Float("ShowLevelCountTop", 0.0f);
        bloc.ShowLevelCountIconLeft = in.Float("ShowLevelCountIconLeft", 0.0f);
        bloc.ShowLevelCountTopIcon = in.Float("ShowLevelCountTopIcon", 0.0f);
    }
    bloc.SaveReload = in.Integer("SaveReload", 0);
    bloc.Health = in.Integer("Health", 999999999);
    bloc.HurtValue = in.Float("HurtValue", 0.0f);
    bloc.Collision = in.Flag("Collision", true);
    bloc.CanPush = in.Flag("CanPush", false);
    bloc.Morph = in.Flag("Morph", false);
    bloc.AnimateCollision = in.Flag("AnimateCollision", false);
}

// Sounds and HUD icons.
void ReadBlocMedia(const DefinitionSection& in, BlocStuff& bloc) {
    bloc.StepSoundFile = UpperAscii(in.Text("StepSound"));
    if (!bloc.StepSoundFile.empty()) LoadSound(bloc.StepSoundFile, bloc.StepSoundBuffer);
    bloc.LoopSoundFile = UpperAscii(in.Text("LoopSound"));
    if (!bloc.LoopSoundFile.empty()) LoadSound(bloc.LoopSoundFile, bloc.LoopSoundBuffer);
    bloc.ActionSoundFile = UpperAscii(in.Text("ActionSound"));
    if (!bloc.ActionSoundFile.empty()) LoadSound(bloc.ActionSoundFile, bloc.ActionSoundBuffer);
    bloc.ActionVolume = in.Integer("ActionVolume", 255);
    bloc.LoopDuration = in.Integer("LoopDuration", 999000);
    bloc.LoopVolume = in.Integer("LoopVolume", 255);
    bloc.InventoryIcon = in.Text("InventoryIcon");
    bloc.InventoryIconWidth = in.Float("InventoryIconWidth", 0.0f);
    bloc.InventoryIconHeight = in.Float("InventoryIconHeight", 0.0f);
    bloc.InventoryCountInvert = in.Flag("InventoryCountInvert", false);
    bloc.WeaponIcon = in.Text("WeaponIcon");
    bloc.WeaponFireIcon = in.Text("WeaponFireIcon");
}

void ReadCubeShape(const DefinitionSection& in, BlocStuff& bloc) {
    bloc.Xmin = bloc.Ymin = bloc.Zmin = 0;
    bloc.Xmax = bloc.Zmax = 511;
    bloc.Ymax1 = bloc.Ymax2 = bloc.Ymax3 = bloc.Ymax4 = 511;
    static const char* const kFaces = "ABCDEF";
    for (int32_t face = 0; face < 6; ++face) {
        *bloc.FaceColor(face) = in.Integer(std::string("Face") + kFaces[face] + "Color", 66);
    }
    for (int32_t face = 0; face < 6; ++face) {
        *bloc.FaceTexture(face) = in.Integer(std::string("Face") + kFaces[face] + "Texture", 0);
    }
}

// One bound of a bloc type: the current value and the per-frame table.
struct BoundField {
    const char* key;
    int32_t BlocStuff::*current;
    std::array<int32_t, kBlocMeshSlots> BlocStuff::*frames;
};
constexpr BoundField kXmin{"Xmin", &BlocStuff::Xmin, &BlocStuff::FrameXmin};
constexpr BoundField kXmax{"Xmax", &BlocStuff::Xmax, &BlocStuff::FrameXmax};
constexpr BoundField kYmin{"Ymin", &BlocStuff::Ymin, &BlocStuff::FrameYmin};
constexpr BoundField kZmin{"Zmin", &BlocStuff::Zmin, &BlocStuff::FrameZmin};
constexpr BoundField kZmax{"Zmax", &BlocStuff::Zmax, &BlocStuff::FrameZmax};
constexpr BoundField kYmax1{"Ymax1", &BlocStuff::Ymax1, &BlocStuff::FrameYmax1};
constexpr BoundField kYmax2{"Ymax2", &BlocStuff::Ymax2, &BlocStuff::FrameYmax2};
constexpr BoundField kYmax3{"Ymax3", &BlocStuff::Ymax3, &BlocStuff::FrameYmax3};
constexpr BoundField kYmax4{"Ymax4", &BlocStuff::Ymax4, &BlocStuff::FrameYmax4};

// The nine bounds of one mesh, in the order MeshBounds gives them.
std::array<int32_t, 9> BoundsOf(const TG3DMesh* mesh) {
    std::array<int32_t, 9> b{};
    MeshBounds(mesh, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8]);
    return b;
}
constexpr const BoundField* kBoundOrder[9] = {&kXmin,  &kXmax,  &kYmin, &kYmax1, &kYmax2,
                                              &kYmax3, &kYmax4, &kZmin, &kZmax};

// Sets a bound to `value` now and in frames 0..MeshCount.
void OverrideBound(BlocStuff& bloc, const BoundField& field, int32_t value) {
    bloc.*field.current = value;
    for (int32_t f = 0; f <= bloc.MeshCount; ++f) (bloc.*field.frames)[f] = value;
}

void LoadBlocFrames(const DefinitionSection& in, BlocStuff& bloc) {
    bloc.MeshCount = 0;
    for (int32_t i = 0; i < kBlocMaxMeshes; ++i) {
        bloc.MeshFiles[i] = in.Text("Mesh" + std::to_string(i + 1));
        if (bloc.MeshFiles[i].empty()) break;
        G3DLoadMesh(bloc.MeshFiles[i], bloc.Meshes[i]);
        const std::array<int32_t, 9> bounds = BoundsOf(bloc.Meshes[i]);
        for (int32_t k = 0; k < 9; ++k) (bloc.*kBoundOrder[k]->frames)[i] = bounds[k];
        if (i == 0) G3DCopyMesh(bloc.Meshes[0], bloc.CurrentMesh);
        bloc.MeshCount = i + 1;
    }
}

void ReadMeshShape(const DefinitionSection& in, BlocStuff& bloc) {
    LoadBlocFrames(in, bloc);
    const std::array<int32_t, 9> bounds = BoundsOf(bloc.Meshes[0]);
    for (int32_t k = 0; k < 9; ++k) bloc.*kBoundOrder[k]->current = bounds[k];
    for (const BoundField* field : {&kXmin, &kXmax, &kYmin, &kZmin, &kZmax}) {
        const int32_t value = in.Integer(field->key, kAbsentBound);
        if (value != kAbsentBound) OverrideBound(bloc, *field, value);
    }
    const int32_t top = in.Integer("Ymax", kAbsentBound);
    if (top != kAbsentBound) {
        for (const BoundField* field : {&kYmax1, &kYmax2, &kYmax3, &kYmax4}) {
            OverrideBound(bloc, *field, top);
        }
    }
    for (const BoundField* field : {&kYmax1, &kYmax2, &kYmax3, &kYmax4}) {
        const int32_t value = in.Integer(field->key, kAbsentBound);
        if (value != kAbsentBound) OverrideBound(bloc, *field, value);
    }
    bloc.Speed = in.Float("Speed", 0.0f);
    if (!(bloc.FramePosition >= 0 && bloc.FramePosition < static_cast<float>(bloc.MeshCount))) {
        bloc.FramePosition = 0;
    }
}

int32_t AbsoluteSaturated(int64_t value) { return Saturate(value < 0 ? -value : value); }

void FinishBlocType(BlocStuff& bloc) {
    bloc.LoopSoundDue = 1;
    bloc.LoopSoundTime = GameTimeMs();
    bloc.ExtentX = AbsoluteSaturated(int64_t{bloc.Xmax} - bloc.Xmin);
    const int64_t tops = int64_t{bloc.Ymax1} + bloc.Ymax2 + bloc.Ymax3 + bloc.Ymax4;
    bloc.ExtentY = AbsoluteSaturated(tops / 4 - bloc.Ymin);
    bloc.ExtentZ = AbsoluteSaturated(int64_t{bloc.Zmax} - bloc.Zmin);
}

// Type n from its section, which the file holds when `present`.
void ReadBlocType(const TIniFile32& ini, int32_t n, bool present, BlocStuff& bloc) {
    const DefinitionSection in(ini, present ? "Object " + std::to_string(n) : std::string(),
                               present);
    ResetBlocType(bloc, n);
    bloc.G = in.Integer("G", 24);
    bloc.SpeedX = in.Integer("SpeedX", 0);
    bloc.SpeedY = in.Integer("SpeedY", 0);
    bloc.SpeedZ = in.Integer("SpeedZ", 0);
    const std::string cube = in.Text("Cube");
    if (cube.empty()) {
        // An undefined type is empty space: it never collides and has no shape.
        bloc.Collision = 0;
        bloc.FramePosition = 0;
        return;
    }
    bloc.Undefined = 0;
    bloc.Cube = FlagOf(cube);
    bloc.HideInGame = in.Flag("HideInGame", false);
    bloc.Name = in.Text("Name");
    ReadBlocRoles(in, n, bloc);
    ReadBlocItems(in, bloc);
    ReadBlocMedia(in, bloc);
    if (bloc.Cube) {
        ReadCubeShape(in, bloc);
        bloc.FramePosition = 0;
    } else {
        ReadMeshShape(in, bloc);
    }
    FinishBlocType(bloc);
}

// ---- The load's steps ----

bool AlreadyLoaded(const std::string& fileName, const std::string& quality,
                   const LevelStuff& level) {
    return UpperAscii(fileName) == UpperAscii(level.LoadedDefinitionFile) &&
           quality == level.LoadedQuality;
}

void LoadTextureFile(const DefinitionSection& general, LevelStuff& level, TDStuff& engine) {
    level.TextureFile = general.Text("Texture");
    if (level.TextureFile == level.LoadedTextureFile) return;
    level.LoadedTextureFile = level.TextureFile;
    G3DLoad3DFile(level.TextureFile, engine);
}

void ReadDefinitionFile(const TIniFile32& ini, LevelStuff& level, TDStuff& engine) {
    const DefinitionSection general(ini, "General");
    const std::string root = general.Text("Root");
    if (!root.empty()) platform::fs::SetCurrentFolder(root);  // on failure the game folder stays
    LoadTextureFile(general, level, engine);
    BuildLetterboxMesh();
    LoadHero(general, Heroes[0]);
    LoadSkies(general, level);
    LoadClips(ini, level);
    LoopMusic = 0;  // the music that plays does not loop into the new level
    const std::vector<int> objects = NumberedSections(ini, "Object ", kBlocTypeCount);
    for (int32_t n = 0; n < kBlocTypeCount; ++n) {
        ReadBlocType(ini, n, objects[static_cast<size_t>(n)] >= 0, level.Blocs[n]);
    }
}

// Whether the file holds a section of a definition: [General], or one named
// "Object ", "Behaviour " or "Clip " and a number.
bool HoldsDefinitionSection(const TIniFile32& ini) {
    if (ini.LoadFailed()) return false;
    if (ini.FindSection("General") >= 0) return true;
    for (const TIniSection& section : ini.Sections()) {
        const std::string name = UpperAscii(section.Header.substr(1, section.Header.size() - 2));
        for (const std::string_view prefix : {"OBJECT ", "BEHAVIOUR ", "CLIP "}) {
            if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
                return true;
            }
        }
    }
    return false;
}

void LoadLevelPictures(const LevelStuff& level, TDStuff& engine) {
    LoadHudTextures(HudSettings.Pictures, engine);
    LoadBlocTextures(level, engine);
    G3DApplyPalette(engine);
    G3DSetBackColour(engine, 0, 0, 0);
}

}  // namespace

void MeshBounds(const TG3DMesh* mesh, int32_t& Xmin, int32_t& Xmax, int32_t& Ymin, int32_t& Ymax1,
                int32_t& Ymax2, int32_t& Ymax3, int32_t& Ymax4, int32_t& Zmin, int32_t& Zmax) {
    int64_t xMin = 512, yMin = 512, zMin = 512, xMax = 0, zMax = 0;
    std::array<int64_t, 4> tops = {-512, -512, -512, -512};
    if (mesh != nullptr) {
        for (int32_t v = 0; v <= mesh->LastVertex; ++v) {
            xMin = std::min<int64_t>(xMin, mesh->X[v]);
            xMax = std::max<int64_t>(xMax, mesh->X[v]);
            yMin = std::min<int64_t>(yMin, mesh->Y[v]);
            zMin = std::min<int64_t>(zMin, mesh->Z[v]);
            zMax = std::max<int64_t>(zMax, mesh->Z[v]);
        }
        const int64_t midX = (xMin + xMax) / 2;
        const int64_t midZ = (zMin + zMax) / 2;
        for (int32_t v = 0; v <= mesh->LastVertex; ++v) {
            const bool highX = mesh->X[v] >= midX;
            const bool highZ = mesh->Z[v] >= midZ;
            const size_t quadrant = highZ ? (highX ? 2 : 3) : (highX ? 1 : 0);
            tops[quadrant] = std::max<int64_t>(tops[quadrant], mesh->Y[v]);
        }
    }
    Xmin = Saturate(xMin + 256);
    Xmax = Saturate(xMax + 256);
    Ymin = Saturate(yMin + 256);
    Ymax1 = Saturate(tops[0] + 256);
    Ymax2 = Saturate(tops[1] + 256);
    Ymax3 = Saturate(tops[2] + 256);
    Ymax4 = Saturate(tops[3] + 256);
    Zmin = Saturate(zMin + 256);
    Zmax = Saturate(zMax + 256);
}

namespace {

// The load of the definition `ini`, named `fileName`; `present` when there
// is such a file at all.
void LoadDefinition(const std::string& fileName, const TIniFile32& ini, bool present,
                    const std::string& upperQuality, LevelStuff& level, platform::Window& form,
                    TDStuff& engine) {
    if (present && !HoldsDefinitionSection(ini)) {
        // A level cannot be played from it, as from a missing level file.
        platform::ShowMessage("The file " + fileName + " is missing or invalid.");
        ShutDownGame(form, kDataErrorStatus);
    }
    level.LoadedDefinitionFile = fileName;
    level.LoadedQuality = upperQuality;
    StopAllSounds();
    HighTextures = 1;
    LoadBehaviours(ini, level);
    ReadDefinitionFile(ini, level, engine);
    platform::fs::SetCurrentFolder(GameFolder);
    LoadLevelPictures(level, engine);
    ResetFrameStep();
}

}  // namespace

void LoadLevelDefinition(const std::string& fileName, const std::string& quality, LevelStuff& level,
                         platform::Window& form, TDStuff& engine) {
    const std::string upperQuality = UpperAscii(quality);
    if (AlreadyLoaded(fileName, upperQuality, level)) return;
    platform::fs::SetCurrentFolder(GameFolder);
    const std::string path = platform::fs::CurrentFolder() + "\\" + fileName;
    // The file is read once for the behaviours, the general keys, the clips
    // and the bloc types.
    const TIniFile32 ini(path);
    LoadDefinition(fileName, ini, platform::fs::EntryExists(path), upperQuality, level, form,
                   engine);
}

void LoadLevelDefinitionText(const std::string& fileName, const std::string& text,
                             const std::string& quality, LevelStuff& level, platform::Window& form,
                             TDStuff& engine) {
    const std::string upperQuality = UpperAscii(quality);
    if (AlreadyLoaded(fileName, upperQuality, level)) return;
    platform::fs::SetCurrentFolder(GameFolder);
    const TIniFile32 ini(fileName, text);
    LoadDefinition(fileName, ini, true, upperQuality, level, form, engine);
}
