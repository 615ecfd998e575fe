#include "tools/demogame/LevelWriter.h"

#include "game/level/CellGrid.h"
#include "game/GameClock.h"
#include "game/level/LevelFile.h"
#include "game/level/LevelStuff.h"

namespace demo {

namespace {
// A cell no hero ever reaches: unused zones and camera points sit there.
constexpr int32_t kNowhere = -1000;

void CopyGrid(const LevelPlan& plan, LevelStuff& level) {
    for (int32_t i = 0; i < level.CellCount; ++i) {
        level.CellTypes[i] = plan.Types[i];
        level.LightLayer[i] = plan.Light[i];
        level.TurnLayer[i] = plan.Turn[i];
    }
}

void CopyTables(const LevelPlan& plan, LevelStuff& level) {
    for (const PlannedExit& e : plan.Exits) {
        level.LevelExits[e.Type] = {e.Level, e.X, e.Y, e.Z};
    }
    for (ClipZoneStuff& zone : level.ClipZones) zone = {kUsedClipZone, kNowhere, kNowhere, 0};
    for (size_t i = 0; i < plan.Zones.size() && i < level.ClipZones.size(); ++i) {
        const PlannedZone& z = plan.Zones[i];
        level.ClipZones[i] = {z.X, z.Y, z.Z, z.Clip};
    }
    for (CameraPointStuff& point : level.CameraPoints) point = {kNowhere, kNowhere, kNowhere};
}

// The golems stand as a level read makes them from golem blocs of the grid.
void AddGolems(const LevelPlan& plan, LevelStuff& level) {
    for (const PlannedGolem& g : plan.Golems) {
        GolemStuff* golem = level.Golems.Add();
        if (golem == nullptr) return;
        golem->GolemBloc = static_cast<uint16_t>(g.Type);
        golem->CellX = g.X;
        golem->CellY = g.Y;
        golem->CellZ = g.Z;
        golem->X = CellCentre(g.X);
        golem->Y = CellCentre(g.Y);
        golem->Z = CellCentre(g.Z);
        golem->Heading = g.Turn * 128.0f + 16384.0f;
    }
}
}  // namespace

std::unique_ptr<LevelStuff> LevelFromPlan(const LevelPlan& plan) {
    auto level = std::make_unique<LevelStuff>();
    if (!AllocLevelGrid(plan.SizeX, plan.SizeY, plan.SizeZ, *level)) return nullptr;
    level->DefinitionFile = plan.Definition;
    CopyGrid(plan, *level);
    CopyTables(plan, *level);
    AddGolems(plan, *level);
    level->StartX = plan.StartX;
    level->StartY = plan.StartY;
    level->StartZ = plan.StartZ;
    level->StartAngle = plan.StartAngle;
    level->Banner1 = plan.Banner1;
    level->Banner2 = plan.Banner2;
    level->CurrentSky = 0;
    level->RandSeed = plan.RandSeed;
    level->BackRed = plan.BackRed;
    level->BackGreen = plan.BackGreen;
    level->BackBlue = plan.BackBlue;
    level->LightDepth = plan.LightDepth;
    return level;
}

bool WriteLevelPlan(const LevelPlan& plan, const std::string& path) {
    const std::unique_ptr<LevelStuff> level = LevelFromPlan(plan);
    if (!level) return false;
    GameTime = 0;
    return WriteLevelState(path, *level);
}

}  // namespace demo
