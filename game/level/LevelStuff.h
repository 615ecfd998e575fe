// The loaded level: one static record, `Level`, holding the bloc types, the
// cell grid, the level's tables (exits, clip zones, camera points, skies), the
// dynamic lists (golems, dug cells, moving blocs, tile animations, behaviour
// instances), the clips and compiled behaviours, and the names that make a
// reload of the same definition cheap. Also the other globals of the game
// world that live beside it.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/G3DMesh.h"
#include "game/script/BehaviourStuff.h"
#include "game/level/BlocStuff.h"
#include "game/level/BoundedLists.h"
#include "game/clips/ClipStuff.h"

class TSoundBuffer;

// Capacities of the level's lists and tables.
constexpr int32_t kMaxGolems = 2048;
constexpr int32_t kListRows = 4097;  // rows 0..4096 of the high-index lists
constexpr int32_t kClipZoneCount = 256;
constexpr int32_t kCameraPointCount = 256;
constexpr int32_t kSkyCount = 256;
// ZoneX of a clip zone whose play-once clip has played: it never matches again.
constexpr int32_t kUsedClipZone = -1000;
// Kinds of moving bloc.
constexpr uint8_t kMovingLaunched = 0;
constexpr uint8_t kMovingOwned = 1;  // lifted for a behaviour instance
constexpr uint8_t kMovingProjectile = 4;

// Per bloc type: where the hero goes when he leaves the level from a cell of
// that type. An empty ExitLevel means no exit.
struct LevelExitStuff {
    std::string ExitLevel;  // level state file
    int32_t ExitX = 0, ExitY = 0, ExitZ = 0;
};

// A cell that starts clip ZoneClip when the hero enters it.
struct ClipZoneStuff {
    int32_t ZoneX = 0, ZoneY = 0, ZoneZ = 0;
    int32_t ZoneClip = 0;
};

// A fixed camera cell.
struct CameraPointStuff {
    int32_t CameraX = 0, CameraY = 0, CameraZ = 0;
};

// A sky mesh that the level's scripts choose among.
struct SkyStuff {
    TG3DMesh* SkyMesh = nullptr;
    std::string SkyFile;
    std::string SkyDescription;
};

// One golem. GolemMesh is its own pose, owned by the entry.
struct GolemStuff {
    uint16_t GolemBloc = 0;  // its bloc type
    float X = 0, Y = 0, Z = 0;
    float Heading = 0, Pitch = 0;
    float Speed = 0;
    float VerticalSpeed = 0;
    float TargetX = 0, TargetY = 0, TargetZ = 0;
    float WantedHeading = 0, WantedPitch = 0;
    int32_t CellX = 0, CellY = 0, CellZ = 0;
    int32_t State = 0;  // 0..7
    int32_t ResetMark = 0;
    int32_t OutOfSight = 0;     // 1: the hero was out of sight
    int32_t LastSoundTime = 0;  // game ms
    int32_t TargetHero = 0;
    uint8_t Blocked = 0;
    TG3DMesh* GolemMesh = nullptr;
    float AnimPhase = 0;      // 0..4
    int32_t BlockedTime = 0;  // ms left
};

// A dug cell waiting to fill again.
struct DugCellStuff {
    float X = 0, Y = 0, Z = 0;  // cell centre
    uint16_t BlocType = 0;      // type before digging
    int32_t StartTime = 0;      // game ms
    int32_t Duration = 0;       // ms
};

// A bloc out of the grid: launched, lifted for a behaviour, or a projectile.
struct MovingBlocStuff {
    float X = 0, Y = 0, Z = 0;
    float Angle = 0, Pitch = 0;
    float VelocityX = 0, VelocityY = 0, VelocityZ = 0;  // per 90 ms
    float StartX = 0, StartY = 0, StartZ = 0, StartAngle = 0;
    float TargetX = 0, TargetY = 0, TargetZ = 0, TargetAngle = 0;
    uint16_t BlocType = 0;  // 0: row being removed
    uint8_t Kind = kMovingLaunched;
    int32_t StartTime = 0;  // game ms
    int32_t Duration = 0;   // ms
    int32_t Spare = 0;
};

// A bloc type played once at a place. AnimMesh is its own pose, owned by the row.
struct TileAnimationStuff {
    float X = 0, Y = 0, Z = 0;
    int32_t AnimType = 0;
    int32_t FinalType = -1;                 // put into the cell at the end; -1 none
    int32_t StartTime = 0, StartTime2 = 0;  // game ms
    TG3DMesh* AnimMesh = nullptr;
    float FramePosition = 0;
    int32_t PreviousFrame = 0;
    // 1 when the row counts as an instance of AnimType (added over a cell);
    // rows read from a level file and explosions count none.
    uint8_t CountsInstance = 0;
};

// Free the mesh an entry owns; the lists call them when they remove or clear
// the entry.
void ReleaseEntry(GolemStuff& golem);
void ReleaseEntry(TileAnimationStuff& row);

// One block of the cell grid, obtained zero-filled from the C heap.
struct CellBlockFree {
    void operator()(void* block) const { std::free(block); }
};
template <typename T>
using CellBlock = std::unique_ptr<T[], CellBlockFree>;

using GolemList = CountedList<GolemStuff, kMaxGolems>;
using BehaviourInstanceList = CountedList<BehaviourStuff, kMaxBehaviourInstances>;
using DugCellList = HighIndexList<DugCellStuff, kListRows>;
using MovingBlocList = HighIndexList<MovingBlocStuff, kListRows>;
using TileAnimationList = HighIndexList<TileAnimationStuff, kListRows>;

struct LevelStuff {
    std::array<BlocStuff, kBlocTypeCount> Blocs;  // type 0 is the empty cell
    std::array<LevelExitStuff, kBlocTypeCount> LevelExits;

    // The cell grid: six blocks of SizeX × SizeY × SizeZ elements, made by
    // AllocLevelGrid, read and written through the accessors of CellGrid.h.
    int32_t SizeX = 0, SizeY = 0, SizeZ = 0;
    int32_t CellCount = 0;  // elements in each block
    CellBlock<uint16_t> CellTypes;
    CellBlock<uint8_t> LightLayer, CornerXLayer, CornerYLayer, CornerZLayer, TurnLayer;

    uint8_t BackRed = 0, BackGreen = 0, BackBlue = 0;
    int32_t LightDepth = 0;  // hero light range in cells
    std::string TextureFile;
    std::string DefinitionFile;
    GolemList Golems;
    int32_t RandSeed = 0;
    DugCellList DugCells;
    MovingBlocList MovingBlocs;
    TileAnimationList TileAnimations;
    std::array<ClipStuff, kClipCount> Clips;
    // Clips 0..32 that the last definition load filled from a section; the
    // others hold their defaults, as only that load writes them.
    std::array<bool, kLastDefinedClip + 1> ClipsRead{};
    TSoundBuffer* ClipSound = nullptr;  // sample of the current cut-scene key frame
    std::array<BehaviourTypeStuff, kBehaviourCount> Behaviours;
    BehaviourInstanceList BehaviourInstances;
    std::array<ClipZoneStuff, kClipZoneCount> ClipZones{};
    std::array<CameraPointStuff, kCameraPointCount> CameraPoints{};
    std::array<SkyStuff, kSkyCount> Skies;
    uint8_t CurrentSky = 0;
    int32_t StartX = 0, StartY = 0, StartZ = 0;  // hero start cell
    int32_t StartAngle = 0;
    std::string Banner1, Banner2;  // empty: not drawn
    int32_t LastTextureTick = 0;   // game ms
    std::string LoadedTextureFile;
    std::string LoadedDefinitionFile;
    std::string LoadedQuality = "High";

    int32_t GolemCount() const { return Golems.Count(); }
    int32_t BehaviourCount() const { return BehaviourInstances.Count(); }
    int32_t DugCellHigh() const { return DugCells.High(); }
    int32_t MovingBlocHigh() const { return MovingBlocs.High(); }
    int32_t TileAnimationHigh() const { return TileAnimations.High(); }
};

// The level. Exists for the whole run; every level read overwrites its grid,
// tables, lists and seed, and the definition loader refreshes its bloc types,
// behaviours, clips and skies when the definition or quality changes.
extern LevelStuff Level;

// Globals of the game world, set once by InitGameGlobals and then by the
// loaders and the play named beside each.
extern std::string GameFolder;       // folder of the game: the current folder at start
extern std::string ProgramBaseName;  // program file name without folder and extension
extern uint8_t DesignMode;           // always 0 in the player
extern uint8_t HighTextures;         // set by every level-definition load
extern uint8_t GameWon;              // cleared by every level read
extern int32_t DepthOfView;          // cells, 14 at start
extern int32_t VerticalDepthOfView;  // cells, 14 at start

// Runs once at start: the game folder is the current folder, the program's
// base name is taken from `programPath`, the view depths are 14, and every bloc
// type's loop sound is due with last time 0. Handles start empty.
void InitGameGlobals(const std::string& programPath);
