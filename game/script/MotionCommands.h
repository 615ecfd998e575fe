// The behaviour commands that act on the moving bloc an instance owns: timed
// glides to a cell (MOVETO, MOVETOABSOLUTE), a run under collision to a random
// free spot near the hero (MOVENEARPLAYER), a push until something stops it
// (MOVEUNTILBLOCKED), a shot at the hero (SHOOTPLAYER) and a change of the
// bloc's type (TRANSFORMTO).
//
// The timed moves keep their state in the instance's Phase (1 while a move
// runs) and in the bloc's start, target, start time and duration, so that a
// move goes on where it was after the level is saved and read again. A move
// whose duration is 0 or less ends in its first running step; one whose time
// has not begun yet stands at its start. Positions and velocities only ever
// take finite values. An instance that owns no bloc passes over these
// commands without effect.
#pragma once

#include "game/script/CommandContext.h"

// MOVETO: glides the bloc to the centre of the cell at offset Param1..3 in
// Param5 ms, turning it by Param4 engine units. MOVETOABSOLUTE: to the
// centre of grid cell Param1..3, ending at heading Param4.
void DoMoveTo(CommandContext& c);
void DoMoveToAbsolute(CommandContext& c);
// MOVENEARPLAYER: runs the bloc, under collision, toward a random empty cell
// in a box of the extents of Param1..6 around the hero, at Param7 units per
// 90 ms; it falls on the way when Param8 is set.
void DoMoveNearPlayer(CommandContext& c);
// MOVEUNTILBLOCKED: pushes the bloc at Param1..3 units per 90 ms, under
// collision, until it moves less than a fifth of its step on some axis.
void DoMoveUntilBlocked(CommandContext& c);
// SHOOTPLAYER: turns the bloc toward the hero and fires a projectile of bloc
// type Param1 from just outside it.
void DoShootPlayer(CommandContext& c);
// TRANSFORMTO: the bloc becomes bloc type Param1 (nothing for a type outside
// 0..256); the instance counts follow.
void DoTransformTo(CommandContext& c);
