#include "game/level/LevelFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

#include "engine/G3DState.h"
#include "game/script/Behaviours.h"
#include "game/level/CellGrid.h"
#include "game/GameClock.h"
#include "game/level/HeroStuff.h"
#include "game/level/LevelDefinition.h"
#include "game/level/LevelFileFormat.h"
#include "game/level/LevelStuff.h"
#include "game/StartUp.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/PathResolver.h"
#include "platform/msgbox/MessageBox.h"
#include "support/Random.h"

namespace {

// A golem makes no sound for this long after a level read (ms).
constexpr int64_t kGolemQuietTime = 2000;
constexpr int32_t kGolemResetMark = 40;
// A turn-layer byte is 1/256 turn; a golem made from a cell looks a quarter
// turn further.
constexpr float kTurnUnit = 128.0f;
constexpr float kGolemHeadingOffset = 16384.0f;

// A relative data path as the folders store it: letter case of the stored
// names, "\" between them.
std::string StoredDataPath(const std::string& path) {
    const std::string real = platform::fs::Resolve(path);
    const std::string base = platform::fs::CurrentFolder() + "/";
    if (real.compare(0, base.size(), base) != 0) return path;
    std::string stored = real.substr(base.size());
    std::replace(stored.begin(), stored.end(), '/', '\\');
    return stored;
}

// The name after "CURRENT_GAME\" (any letter case, either separator) of a
// path inside the working copy; empty for other paths.
std::string WorkingLevelName(const std::string& path) {
    const std::string folder = "CURRENT_GAME";
    if (path.size() <= folder.size() + 1 ||
        !platform::fs::SameNameIgnoringCase(path.substr(0, folder.size()), folder)) {
        return {};
    }
    const char separator = path[folder.size()];
    return separator == '\\' || separator == '/' ? path.substr(folder.size() + 1) : std::string();
}

// The file at fault when the level file `path` cannot be read. A level of
// CURRENT_GAME\ that is still the copy a new game made of LEVEL\'s file, or
// that neither folder holds, comes from LEVEL\: that file is named.
std::string FileAtFault(const std::string& path) {
    const std::string name = WorkingLevelName(path);
    if (name.empty()) return path;
    const std::string pristine = "LEVEL\\" + name;
    std::string workingBytes, pristineBytes;
    const bool haveWorking = platform::fs::ReadWholeFile(path, workingBytes);
    const bool havePristine = platform::fs::ReadWholeFile(pristine, pristineBytes);
    const bool fromPristine =
        haveWorking ? havePristine && workingBytes == pristineBytes : !havePristine;
    return StoredDataPath(fromPristine ? pristine : path);
}

[[noreturn]] void RefuseLevelFile(const std::string& path, platform::Window& form) {
    platform::ShowMessage("The file " + FileAtFault(path) + " is missing or invalid.");
    ShutDownGame(form, kDataErrorStatus);
}

int32_t SaturatedTime(int64_t ms) {
    return static_cast<int32_t>(std::clamp<int64_t>(ms, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Calls visit(x, y, z, index) for every cell: x outermost, then y, z innermost.
// A grid with a side of 0 has no cell, however long its other sides: they are
// not walked through for nothing.
template <typename Visit>
void ForEachCell(const LevelStuff& level, Visit visit) {
    if (level.CellCount <= 0) return;
    for (int32_t x = 0; x < level.SizeX; ++x) {
        for (int32_t y = 0; y < level.SizeY; ++y) {
            for (int32_t z = 0; z < level.SizeZ; ++z) {
                visit(x, y, z, CellIndex(x, y, z, level));
            }
        }
    }
}

// ---- Storing a checked file ----

void ResetInstanceCounts(LevelStuff& level) {
    for (BlocStuff& bloc : level.Blocs) bloc.InstanceCount = 0;
}

bool StoreGrid(const LevelFileImage& image, LevelStuff& level) {
    if (!AllocLevelGrid(image.SizeX, image.SizeY, image.SizeZ, level)) return false;
    const auto* types = reinterpret_cast<const uint8_t*>(image.CellTypes.data());
    for (int32_t i = 0; i < level.CellCount; ++i) {
        level.CellTypes[i] = static_cast<uint16_t>(types[2 * i] | types[2 * i + 1] << 8);
    }
    uint8_t* const layers[] = {level.LightLayer.get(), level.CornerXLayer.get(),
                               level.CornerYLayer.get(), level.CornerZLayer.get(),
                               level.TurnLayer.get()};
    for (size_t k = 0; k < image.Layers.size(); ++k) {
        std::memcpy(layers[k], image.Layers[k].data(), image.Layers[k].size());
    }
    return true;
}

void StoreTables(const LevelFileImage& image, LevelStuff& level) {
    level.DefinitionFile = image.DefinitionFile;
    level.StartX = image.StartX;
    level.StartY = image.StartY;
    level.StartZ = image.StartZ;
    level.StartAngle = image.StartAngle;
    level.ClipZones = image.ClipZones;
    level.CameraPoints = image.CameraPoints;
    level.Banner1 = image.Banner1;
    level.Banner2 = image.Banner2;
    level.CurrentSky = image.CurrentSky;
    level.RandSeed = image.RandSeed;
    level.BackRed = image.BackRed;
    level.BackGreen = image.BackGreen;
    level.BackBlue = image.BackBlue;
    level.LightDepth = image.LightDepth;
    level.LevelExits = image.LevelExits;
}

// The lists; golems and moving blocs count as instances of their types. The
// sizes were checked against the capacities when the file was parsed.
void StoreLists(const LevelFileImage& image, LevelStuff& level) {
    level.TileAnimations.SetHigh(static_cast<int32_t>(image.TileAnimations.size()) - 1);
    std::copy(image.TileAnimations.begin(), image.TileAnimations.end(),
              level.TileAnimations.begin());
    level.DugCells.SetHigh(static_cast<int32_t>(image.DugCells.size()) - 1);
    std::copy(image.DugCells.begin(), image.DugCells.end(), level.DugCells.begin());
    level.Golems.SetCount(static_cast<int32_t>(image.Golems.size()));
    std::copy(image.Golems.begin(), image.Golems.end(), level.Golems.begin());
    for (const GolemStuff& golem : level.Golems) ++level.Blocs[golem.GolemBloc].InstanceCount;
    level.MovingBlocs.SetHigh(static_cast<int32_t>(image.MovingBlocs.size()) - 1);
    std::copy(image.MovingBlocs.begin(), image.MovingBlocs.end(), level.MovingBlocs.begin());
    for (const MovingBlocStuff& row : level.MovingBlocs) ++level.Blocs[row.BlocType].InstanceCount;
    level.BehaviourInstances.SetCount(static_cast<int32_t>(image.BehaviourInstances.size()));
    std::copy(image.BehaviourInstances.begin(), image.BehaviourInstances.end(),
              level.BehaviourInstances.begin());
}

// ---- The rebuild, in the order it runs ----

void SetHeroFromLevel(const LevelStuff& level) {
    HeroStuff& hero = Heroes[0];
    hero.LastShotTime = GameTimeMs();
    hero.LightRange = static_cast<float>(int64_t{level.LightDepth} * 512);
}

// Times kept only in memory follow the clock when the level read sets it back
// past them, so that textures keep their pace and hero blends and pain-sound
// pauses never wait for a time to come round again. Times stored in the level
// file are the file's own and stay.
void BringMemoryTimesToClock(LevelStuff& level) {
    const int32_t now = GameTimeMs();
    level.LastTextureTick = std::min(level.LastTextureTick, now);
    for (HeroStuff& hero : Heroes) {
        hero.BlendStart = std::min(hero.BlendStart, now);
        hero.PainSoundTime = std::min(hero.PainSoundTime, now);
    }
}

// Every row and golem gets its own pose, copied from its type (none when the
// type has no mesh).
void CopyListMeshes(LevelStuff& level) {
    for (TileAnimationStuff& row : level.TileAnimations) {
        G3DFreeMesh(row.AnimMesh);
        G3DCopyMesh(level.Blocs[row.AnimType].CurrentMesh, row.AnimMesh);
    }
    for (GolemStuff& golem : level.Golems) {
        G3DFreeMesh(golem.GolemMesh);
        G3DCopyMesh(level.Blocs[golem.GolemBloc].GolemType.MeshWalk1, golem.GolemMesh);
    }
}

void CountCellInstances(LevelStuff& level) {
    ForEachCell(level, [&](int32_t, int32_t, int32_t, int32_t i) {
        ++level.Blocs[level.CellTypes[i]].InstanceCount;
    });
}

void StartDefaultBehaviours(LevelStuff& level) {
    ForEachCell(level, [&](int32_t x, int32_t y, int32_t z, int32_t i) {
        const BlocStuff& bloc = level.Blocs[level.CellTypes[i]];
        if (IsBehaviourNumber(bloc.DefaultBehaviour)) {
            AddBehaviour(bloc.DefaultBehaviour, x, y, z, bloc.Health, level);
        }
    });
}

void MakeGolem(int32_t x, int32_t y, int32_t z, int32_t i, LevelStuff& level) {
    const int32_t type = level.CellTypes[i];
    GolemStuff* golem = level.Golems.Add();
    if (golem == nullptr) return;
    golem->GolemBloc = static_cast<uint16_t>(type);
    golem->CellX = x;
    golem->CellY = y;
    golem->CellZ = z;
    golem->X = CellCentre(x);
    golem->Y = CellCentre(y);
    golem->Z = CellCentre(z);
    golem->Heading = level.TurnLayer[i] * kTurnUnit + kGolemHeadingOffset;
    G3DCopyMesh(level.Blocs[type].GolemType.MeshWalk1, golem->GolemMesh);
    // The golem takes the cell's place among its type's instances; the cell
    // becomes an empty one.
    ++level.Blocs[0].InstanceCount;
    level.CellTypes[i] = 0;
}

void MakeGolemsFromCells(LevelStuff& level) {
    ForEachCell(level, [&](int32_t x, int32_t y, int32_t z, int32_t i) {
        if (level.Blocs[level.CellTypes[i]].Golem && !level.Golems.Full()) {
            MakeGolem(x, y, z, i, level);
        }
    });
}

void ResetLevelTimers(LevelStuff& level) {
    for (BlocStuff& bloc : level.Blocs) bloc.LoopSoundTime = 0;
    GameWon = 0;
    ResetFrameStep();
}

}  // namespace

bool WriteLevelState(const std::string& path, const LevelStuff& level, std::string* reason) {
    return platform::fs::WriteFileAtomic(path, BuildLevelFile(level, GameTime), reason);
}

void ResetGolems(LevelStuff& level) {
    RandSeed = static_cast<uint32_t>(level.RandSeed);
    const int32_t quietUntil = SaturatedTime(int64_t{GameTimeMs()} + kGolemQuietTime);
    for (GolemStuff& golem : level.Golems) {
        golem.Pitch = 0;
        golem.ResetMark = kGolemResetMark;
        golem.WantedHeading = golem.Heading;
        golem.WantedPitch = 0;
        golem.TargetX = golem.X;
        golem.TargetY = golem.Y;
        golem.TargetZ = golem.Z;
        // Positions come from a checked file or from cell centres: the
        // quotients fit an integer.
        golem.CellX = static_cast<int32_t>(std::trunc(golem.X / 512.0f));
        golem.CellY = static_cast<int32_t>(std::trunc(golem.Y / 512.0f));
        golem.CellZ = static_cast<int32_t>(std::trunc(golem.Z / 512.0f));
        golem.State = 0;
        golem.OutOfSight = 1;
        golem.LastSoundTime = quietUntil;
    }
}

void ReadLevelState(const std::string& path, const std::string& quality, LevelStuff& level,
                    platform::Window& form, TDStuff& engine) {
    std::string bytes;
    if (!platform::fs::FileExists(path) || !platform::fs::ReadWholeFile(path, bytes)) {
        RefuseLevelFile(path, form);
    }
    ReadLevelStateBytes(bytes, path, quality, level, form, engine);
}

void ReadLevelStateBytes(std::string_view bytes, const std::string& path,
                         const std::string& quality, LevelStuff& level, platform::Window& form,
                         TDStuff& engine) {
    LevelFileImage image;
    if (!ParseLevelFile(bytes, image)) RefuseLevelFile(path, form);
    ResetInstanceCounts(level);
    if (!StoreGrid(image, level)) RefuseLevelFile(path, form);
    StoreTables(image, level);
    GameTime = image.GameTime;
    StoreLists(image, level);

    SetHeroFromLevel(level);
    BringMemoryTimesToClock(level);
    LoadLevelDefinition(level.DefinitionFile, quality, level, form, engine);
    G3DSetBackColour(engine, level.BackRed, level.BackGreen, level.BackBlue);
    CopyListMeshes(level);
    CountCellInstances(level);
    if (!DesignMode) {
        StartDefaultBehaviours(level);
        MakeGolemsFromCells(level);
    }
    ResetGolems(level);
    ResetLevelTimers(level);
}

namespace {
bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }
}  // namespace

bool LevelNameStaysInGame(const std::string& name) {
    if (name.empty() || IsPathSeparator(name.front())) return false;
    if (name.find(':') != std::string::npos) return false;  // a drive
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = start;
        while (end < name.size() && !IsPathSeparator(name[end])) ++end;
        if (name.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    return true;
}
