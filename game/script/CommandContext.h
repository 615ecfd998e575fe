// What one command of a behaviour step works on, shared by the interpreter
// and its command groups: the level, the main window (clips start in it), the
// instance stepping and the command it executes; and the small look-ups every
// group needs (the hero, the instance's own bloc, moving on).
#pragma once

#include <cstdint>

#include "game/level/HeroStuff.h"
#include "game/level/LevelStuff.h"
#include "game/script/BehaviourStuff.h"

namespace platform {
class Window;
}

struct CommandContext {
    LevelStuff& level;
    platform::Window& form;
    BehaviourStuff& instance;
    const CommandStuff& command;
};

// The routine of one opcode: it either moves the program counter on or leaves
// it, so that the command is tried again in the next frame.
using CommandRoutine = void (*)(CommandContext&);

// The command is done: the next command runs in the next frame. Pc is 0..256
// while a command runs, so this never overflows; after command 256 the
// instance stands at 257 and does nothing any more.
inline void Advance(CommandContext& c) { c.instance.Pc += 1; }

// The current hero, or nullptr when CurrentHero names none.
inline HeroStuff* ScriptHero() {
    return CurrentHero >= 0 && CurrentHero < kHeroCount ? &Heroes[CurrentHero] : nullptr;
}

// The moving bloc the instance owns, or nullptr when it has none: its row is
// -1 (nothing could be lifted), no longer in the list, or holds a bloc that
// is not a behaviour's.
inline MovingBlocStuff* OwnedBloc(LevelStuff& level, const BehaviourStuff& instance) {
    if (!level.MovingBlocs.Valid(instance.MovingBlocRow)) return nullptr;
    MovingBlocStuff& row = level.MovingBlocs[instance.MovingBlocRow];
    return row.Kind == kMovingOwned ? &row : nullptr;
}

// The record of bloc type `type`, or nullptr for a type outside 0..256.
inline BlocStuff* BlocRecord(LevelStuff& level, int32_t type) {
    return IsBlocType(type) ? &level.Blocs[type] : nullptr;
}
