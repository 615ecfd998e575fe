#include "game/script/BehaviourInterpreter.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "game/GameClock.h"
#include "game/level/CellGrid.h"
#include "game/script/CommandContext.h"
#include "game/script/GridCommands.h"
#include "game/script/HeroCommands.h"
#include "game/script/MotionCommands.h"
#include "game/world/HeroInteraction.h"

namespace {

bool IsCommandNumber(int32_t pc) { return pc >= 0 && pc < kCommandCount; }

// ---- Flow ----

// The empty command: on to the next command that is not empty, wrapping past
// 256 to 0; it runs in the next frame. A behaviour of empty commands comes
// back to where it was.
void DoEmpty(CommandContext& c) {
    const auto& commands = c.level.Behaviours[c.instance.BehaviourType].Commands;
    int32_t pc = c.instance.Pc;
    for (int32_t i = 0; i < kCommandCount; ++i) {
        pc = pc + 1 < kCommandCount ? pc + 1 : 0;
        if (commands[pc].Opcode != kOpEmpty) break;
    }
    c.instance.Pc = pc;
}

void DoGoto(CommandContext& c) { c.instance.Pc = c.command.Param1; }

void DoDelay(CommandContext& c) {
    if (int64_t{FrameTime} - c.instance.PcTime >= c.command.Param1) Advance(c);
}

void DoSetBehaviour(CommandContext& c) { RestartBehaviour(c.instance, c.command.Param1); }

// Every instance of behaviour Param1, this one included, restarts as
// behaviour Param2. The transformer stays on the command (unless it was
// transformed itself) and repeats it every frame.
void DoTransformBehaviour(CommandContext& c) {
    const int32_t from = c.command.Param1, to = c.command.Param2;
    for (BehaviourStuff& instance : c.level.BehaviourInstances) {
        if (instance.BehaviourType == from) RestartBehaviour(instance, to);
    }
}

// ---- Waits ----

// Whether cell (x, y, z) lies in the command's box, corners inclusive in
// either order; `relative` measures it from the instance's cell.
bool InBox(const CommandContext& c, int64_t x, int64_t y, int64_t z, bool relative) {
    const CommandStuff& k = c.command;
    if (relative) {
        x -= c.instance.CellX;
        y -= c.instance.CellY;
        z -= c.instance.CellZ;
    }
    const auto within = [](int64_t v, int32_t a, int32_t b) {
        return v >= std::min(a, b) && v <= std::max(a, b);
    };
    return within(x, k.Param1, k.Param4) && within(y, k.Param2, k.Param5) &&
           within(z, k.Param3, k.Param6);
}

// Moves on when `condition` holds; otherwise the command waits.
void AdvanceWhen(CommandContext& c, bool condition) {
    if (condition) Advance(c);
}

void DoWaitForPlayer(CommandContext& c) {
    const HeroStuff* h = ScriptHero();
    AdvanceWhen(c, h != nullptr && InBox(c, CellOfCoordinate(h->X), CellOfCoordinate(h->Y),
                                         CellOfCoordinate(h->Z), true));
}

// A bloc type outside 0..256 has no instance in the level and none in the
// hero's hands.
void DoWaitForBlocNumberInLevel(CommandContext& c) {
    const BlocStuff* bloc = BlocRecord(c.level, c.command.Param1);
    AdvanceWhen(c, (bloc != nullptr ? bloc->InstanceCount : 0) == c.command.Param2);
}

void DoWaitForPlayerHaveObject(CommandContext& c) {
    const HeroStuff* h = ScriptHero();
    const int32_t type = c.command.Param1;
    const int32_t held = h != nullptr && IsBlocType(type) ? h->Inventory[type] : 0;
    AdvanceWhen(c, held == c.command.Param2);
}

// The hero acted on a cell of the box (since the play frame last cleared the
// flag), holding the object Param7 selected when `withObject` is set.
bool Activated(const CommandContext& c, bool relative, bool withObject) {
    if (PlayerActivation.Flag == 0) return false;
    if (!InBox(c, PlayerActivation.X, PlayerActivation.Y, PlayerActivation.Z, relative)) {
        return false;
    }
    if (!withObject) return true;
    const HeroStuff* h = ScriptHero();
    return h != nullptr && h->SelectedObject == c.command.Param7;
}

void DoWaitForActivation(CommandContext& c) { AdvanceWhen(c, Activated(c, true, false)); }
void DoWaitForActivationWithObject(CommandContext& c) { AdvanceWhen(c, Activated(c, true, true)); }
void DoWaitForActivationAbsolute(CommandContext& c) { AdvanceWhen(c, Activated(c, false, false)); }
void DoWaitForActivationWithObjectAbsolute(CommandContext& c) {
    AdvanceWhen(c, Activated(c, false, true));
}

// ---- The step ----

// The routine of every opcode, by opcode.
constexpr std::array<CommandRoutine, kLastOpcode + 1> kRoutines = {
    DoEmpty,                                // 0
    DoWaitForPlayer,                        // 1 WAITFORPLAYER
    DoMakeFall,                             // 2 MAKEFALL
    DoPutObject,                            // 3 PUTOBJECT
    DoGoto,                                 // 4 GOTO
    DoDelay,                                // 5 DELAY
    DoPlayClip,                             // 6 PLAYCLIP
    DoMoveTo,                               // 7 MOVETO
    DoTransformTo,                          // 8 TRANSFORMTO
    DoMoveNearPlayer,                       // 9 MOVENEARPLAYER
    DoShootPlayer,                          // 10 SHOOTPLAYER
    DoSetBehaviour,                         // 11 SETBEHAVIOUR
    DoPlayActionSound,                      // 12 PLAYACTIONSOUND
    DoPlayTileAnimation,                    // 13 PLAYTILEANIMATION
    DoGiveObjectToPlayer,                   // 14 GIVEOBJECTTOPLAYER
    DoWaitForBlocNumberInLevel,             // 15 WAITFORBLOCNUMBERINLEVEL
    DoWaitForPlayerHaveObject,              // 16 WAITFORPLAYERHAVEOBJECT
    DoWaitForActivation,                    // 17 WAITFORPLAYERACTIVATION
    DoWaitForActivationWithObject,          // 18 WAITFORPLAYERACTIVATIONWITHOBJECT
    DoOpenDoor,                             // 19 OPENDOOR
    DoMoveToAbsolute,                       // 20 MOVETOABSOLUTE
    DoAddHealth,                            // 21 ADDHEALTH
    DoAddHealthToPlayer,                    // 22 ADDHEALTHTOPLAYER
    DoMovePlayerAbsolute,                   // 23 MOVEPLAYERABSOLUTE
    DoAddPlayerSpeed,                       // 24 ADDPLAYERSPEED
    DoTimerOff,                             // 25 TIMEROFF
    DoTimerOn,                              // 26 TIMERON
    DoAddTimerValue,                        // 27 ADDTIMERVALUE
    DoSetTimerValue,                        // 28 SETTIMERVALUE
    DoGameOver,                             // 29 GAMEOVER
    DoGameWon,                              // 30 GAMEWON
    DoSetSaveCount,                         // 31 SETSAVECOUNT
    DoAddSaveCount,                         // 32 ADDSAVECOUNT
    DoSetLightRange,                        // 33 SETLIGHTRANGE
    DoAddLightRange,                        // 34 ADDLIGHTRANGE
    DoPutLight,                             // 35 PUTLIGHT
    DoAddLight,                             // 36 ADDLIGHT
    DoPutLightAbsolute,                     // 37 PUTLIGHTABSOLUTE
    DoAddLightAbsolute,                     // 38 ADDLIGHTABSOLUTE
    DoSetSky,                               // 39 SETSKY
    DoPutRotation,                          // 40 PUTROTATION
    DoAddRotation,                          // 41 ADDROTATION
    DoPutRotationAbsolute,                  // 42 PUTROTATIONABSOLUTE
    DoAddRotationAbsolute,                  // 43 ADDROTATIONABSOLUTE
    DoMoveUntilBlocked,                     // 44 MOVEUNTILBLOCKED
    DoTransformBehaviour,                   // 45 TRANSFORMBEHAVIOUR
    DoPutObjectAbsolute,                    // 46 PUTOBJECTABSOLUTE
    DoWaitForActivationAbsolute,            // 47 WAITFORPLAYERACTIVATIONABSOLUTE
    DoWaitForActivationWithObjectAbsolute,  // 48 WAITFORPLAYERACTIVATIONWITHOBJECTABSOLUTE
};

// The instance's cell follows its bloc; without one it keeps the cell it was
// created on.
void FollowBloc(LevelStuff& level, BehaviourStuff& instance) {
    const MovingBlocStuff* bloc = OwnedBloc(level, instance);
    if (bloc == nullptr) return;
    instance.CellX = CellOfCoordinate(bloc->X);
    instance.CellY = CellOfCoordinate(bloc->Y);
    instance.CellZ = CellOfCoordinate(bloc->Z);
}

void StepInstance(LevelStuff& level, platform::Window& form, BehaviourStuff& instance) {
    FollowBloc(level, instance);
    const int32_t pc = instance.Pc;
    if (!IsCommandNumber(pc) || !IsBehaviourNumber(instance.BehaviourType)) return;
    const CommandStuff& command = level.Behaviours[instance.BehaviourType].Commands[pc];
    // Opcodes come from the compiler; any other value acts as an empty line.
    const int32_t op = command.Opcode >= 0 && command.Opcode <= kLastOpcode ? command.Opcode : 0;
    CommandContext context{level, form, instance, command};
    kRoutines[static_cast<size_t>(op)](context);
    if (instance.Pc != pc) instance.PcTime = FrameTime;
}

}  // namespace

void RunBehaviours(LevelStuff& level, platform::Window& form) {
    // Instances are never added or removed during the frame.
    const int32_t count = level.BehaviourCount();
    for (int32_t k = 1; k <= count; ++k) StepInstance(level, form, level.BehaviourInstances[k]);
}
