#include "game/script/HeroCommands.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/G3DAngles.h"
#include "game/clips/ClipPlayback.h"
#include "game/level/CellGrid.h"
#include "game/world/BlocDynamics.h"

namespace {

// A float after adding `add`, in double and rounded once; an infinite result
// is held to the largest float, so that what a script adds stays a number.
float AddedFloat(float value, double add) {
    const double sum = double{value} + add;
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (sum > kLargest) return std::numeric_limits<float>::max();
    if (sum < -kLargest) return -std::numeric_limits<float>::max();
    return static_cast<float>(sum);
}

int32_t AddedInt(int32_t value, int64_t add) { return G3DClamp32(int64_t{value} + add); }

// The light range keeps a floor of 1 unit (a NaN range is raised to it too).
void KeepLightRange(HeroStuff& h) {
    if (!(h.LightRange >= 1.0f)) h.LightRange = 1.0f;
}

// Applies `change` to the hero when there is one; the command moves on either way.
template <typename Change>
void OnHero(CommandContext& c, Change&& change) {
    if (HeroStuff* h = ScriptHero()) change(*h);
    Advance(c);
}

}  // namespace

void DoPlayClip(CommandContext& c) {
    PlayClip(c.command.Param1, c.form);
    Advance(c);
}

void DoPlayActionSound(CommandContext& c) {
    const BehaviourStuff& b = c.instance;
    if (const MovingBlocStuff* bloc = OwnedBloc(c.level, b)) {
        PlayActionSound(c.command.Param1, bloc->X, bloc->Y, bloc->Z);
    } else {
        PlayActionSound(c.command.Param1, CellCentre(b.CellX), CellCentre(b.CellY),
                        CellCentre(b.CellZ));
    }
    Advance(c);
}

void DoGiveObjectToPlayer(CommandContext& c) {
    const int32_t type = c.command.Param1;
    if (!IsBlocType(type)) {
        Advance(c);
        return;
    }
    OnHero(c, [&](HeroStuff& h) {
        // Rounded to whole units; the sound routine's truncation keeps them.
        const auto rounded = [](float w) { return static_cast<float>(G3DRound64(w)); };
        PlayActionSound(type, rounded(h.X), rounded(h.Y), rounded(h.Z));
        h.SelectedObject = type;
        h.Inventory[type] = AddedInt(h.Inventory[type], c.command.Param2);
    });
}

void DoAddHealth(CommandContext& c) {
    c.instance.InstanceHealth = AddedFloat(c.instance.InstanceHealth, c.command.Param1);
    Advance(c);
}

void DoAddHealthToPlayer(CommandContext& c) {
    OnHero(c, [&](HeroStuff& h) { h.Life = AddedFloat(h.Life, c.command.Param1); });
}

void DoMovePlayerAbsolute(CommandContext& c) {
    OnHero(c, [&](HeroStuff& h) {
        h.X = CellCentre(c.command.Param1);
        h.Y = CellCentre(c.command.Param2);
        h.Z = CellCentre(c.command.Param3);
    });
}

void DoAddPlayerSpeed(CommandContext& c) {
    OnHero(c, [&](HeroStuff& h) {
        h.SpeedX = AddedFloat(h.SpeedX, c.command.Param1);
        h.SpeedY = AddedFloat(h.SpeedY, c.command.Param2);
        h.SpeedZ = AddedFloat(h.SpeedZ, c.command.Param3);
        h.YawSpeed = AddedFloat(h.YawSpeed, c.command.Param4);
    });
}

void DoTimerOff(CommandContext& c) {
    OnHero(c, [](HeroStuff& h) { h.TimerOn = 0; });
}

void DoTimerOn(CommandContext& c) {
    OnHero(c, [](HeroStuff& h) { h.TimerOn = 1; });
}

void DoAddTimerValue(CommandContext& c) {
    OnHero(c, [&](HeroStuff& h) {
        h.TimerValue = AddedInt(h.TimerValue, int64_t{c.command.Param1} * 1000);
    });
}

void DoSetTimerValue(CommandContext& c) {
    OnHero(c, [&](HeroStuff& h) { h.TimerValue = G3DClamp32(int64_t{c.command.Param1} * 1000); });
}

void DoGameOver(CommandContext& c) {
    OnHero(c, [](HeroStuff& h) { h.Life = -1.0f; });
}

void DoGameWon(CommandContext& c) {
    GameWon = 1;
    Advance(c);
}

void DoSetSaveCount(CommandContext& c) {
    OnHero(c, [&](HeroStuff& h) { h.SavesLeft = c.command.Param1; });
}

void DoAddSaveCount(CommandContext& c) {
    OnHero(c, [&](HeroStuff& h) { h.SavesLeft = AddedInt(h.SavesLeft, c.command.Param1); });
}

void DoSetLightRange(CommandContext& c) {
    OnHero(c, [&](HeroStuff& h) {
        h.LightRange = static_cast<float>(static_cast<double>(c.command.Param1) * 512.0);
        KeepLightRange(h);
    });
}

void DoAddLightRange(CommandContext& c) {
    OnHero(c, [&](HeroStuff& h) {
        h.LightRange = AddedFloat(h.LightRange, static_cast<double>(c.command.Param1) * 512.0);
        KeepLightRange(h);
    });
}

void DoSetSky(CommandContext& c) {
    c.level.CurrentSky = static_cast<uint8_t>(c.command.Param1);
    Advance(c);
}
