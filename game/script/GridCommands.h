// The behaviour commands that change cells of the grid: blocs dropped out of
// it and put into it, doors opened, tile animations played, and the light and
// orientation bytes of boxes of cells. The relative forms measure their boxes
// from the instance's cell, the absolute forms name grid cells.
//
// A box is walked from its first corner to its second, stepping toward the
// second on each axis, x outermost, then y, then z. Only the part inside the
// grid is visited (outside it there is nothing to change), so a huge box
// costs no more than the grid.
#pragma once

#include "game/script/CommandContext.h"

// MAKEFALL: every bloc of the relative box drops out of the grid and falls.
void DoMakeFall(CommandContext& c);
// PUTOBJECT, PUTOBJECTABSOLUTE: every cell of the box gets bloc type Param7;
// a type outside 0..256 puts nothing.
void DoPutObject(CommandContext& c);
void DoPutObjectAbsolute(CommandContext& c);
// PLAYTILEANIMATION: bloc type Param4 played once at the centre of the cell
// at the offset Param1..3, without touching the grid.
void DoPlayTileAnimation(CommandContext& c);
// OPENDOOR: every door of type Param7 in the relative box (walked upward on
// each axis only: a descending axis covers nothing) plays its opening.
void DoOpenDoor(CommandContext& c);
// PUTLIGHT, ADDLIGHT and their absolute forms: the light byte of every cell
// of the box becomes Param7, or has Param7 added, modulo 256.
void DoPutLight(CommandContext& c);
void DoAddLight(CommandContext& c);
void DoPutLightAbsolute(CommandContext& c);
void DoAddLightAbsolute(CommandContext& c);
// PUTROTATION, ADDROTATION and their absolute forms: the same on the
// orientation byte.
void DoPutRotation(CommandContext& c);
void DoAddRotation(CommandContext& c);
void DoPutRotationAbsolute(CommandContext& c);
void DoAddRotationAbsolute(CommandContext& c);
