// The level's creatures. Each play frame runs two passes over the golem list:
// ThinkGolems, the state machine (sight of the heroes, following, turning,
// the stopped countdown, the walk to the nearest exit cell and the rest
// there), and, after the hero's control, MoveGolems (steering, gravity, the
// stop of a golem that overlaps an earlier one, the collision move, and the
// walk and block animations with their footsteps). The grid queries and
// collision both passes make act on `Level`; the record handed to them is
// that one.
#pragma once

#include <cstdint>

struct LevelStuff;

// The states of a golem (GolemStuff::State).
enum GolemState : int32_t {
    kGolemFollow = 0,    // a hero in sight, between the following distances: walk to it
    kGolemLost = 1,      // passes to kGolemTurn within the frame
    kGolemTurn = 2,      // stands and keeps turning
    kGolemWander = 3,    // walks to random cells; nothing enters it but a level file
    kGolemBlocked = 4,   // stopped by the hero for its type's BlockedDuration
    kGolemLieDown = 5,   // picks the nearest exit cell
    kGolemGoToExit = 6,  // walks to that cell
    kGolemRest = 7,      // stays on the exit cell
};

// True when golem `golem` (1..count of the level's list) sees cell
// (cx, cy, cz): its own cell, or a cell visible from its position that lies
// within a sixth of a turn of its heading. False for any other index.
bool GolemSeesCell(int32_t golem, int32_t cx, int32_t cy, int32_t cz);

// One state-machine step for every golem, in list order.
void ThinkGolems(LevelStuff& level);

// One motion step for every golem, in list order: a golem that overlaps one
// earlier in the list neither moves nor falls and is put back to kGolemLost.
void MoveGolems(LevelStuff& level);
