// The behaviour commands that act on the hero, the level and the media: the
// hero's health, position, speed, timer, saves, light range and inventory,
// game over and game won, the instance's own health, the level's sky, action
// sounds and clips. Each moves the program counter on.
//
// Counters saturate at the bounds of their type; nothing else limits them
// here (an inventory count may go negative, the save count is not held to the
// unlimited mark). A bloc type outside 0..256 names no sound and no object.
#pragma once

#include "game/script/CommandContext.h"

// PLAYCLIP: starts clip Param1 in the main window.
void DoPlayClip(CommandContext& c);
// PLAYACTIONSOUND: the action sound of bloc type Param1 at the instance's bloc
// (at its cell centre when it owns none).
void DoPlayActionSound(CommandContext& c);
// GIVEOBJECTTOPLAYER: sounds type Param1 at the hero, selects it and adds
// Param2 of it to the hero's inventory.
void DoGiveObjectToPlayer(CommandContext& c);
// ADDHEALTH: the instance's own health += Param1.
void DoAddHealth(CommandContext& c);
// ADDHEALTHTOPLAYER: the hero's life += Param1.
void DoAddHealthToPlayer(CommandContext& c);
// MOVEPLAYERABSOLUTE: the hero to the centre of cell Param1..3.
void DoMovePlayerAbsolute(CommandContext& c);
// ADDPLAYERSPEED: the hero's speeds += Param1..3, its yaw speed += Param4.
void DoAddPlayerSpeed(CommandContext& c);
// TIMEROFF, TIMERON, ADDTIMERVALUE, SETTIMERVALUE (Param1 seconds).
void DoTimerOff(CommandContext& c);
void DoTimerOn(CommandContext& c);
void DoAddTimerValue(CommandContext& c);
void DoSetTimerValue(CommandContext& c);
// GAMEOVER: the hero's life becomes -1. GAMEWON: the game shows its end.
void DoGameOver(CommandContext& c);
void DoGameWon(CommandContext& c);
// SETSAVECOUNT, ADDSAVECOUNT: the hero's saves left.
void DoSetSaveCount(CommandContext& c);
void DoAddSaveCount(CommandContext& c);
// SETLIGHTRANGE, ADDLIGHTRANGE: the hero's light range, Param1 cells of 512
// units; never below 1.
void DoSetLightRange(CommandContext& c);
void DoAddLightRange(CommandContext& c);
// SETSKY: the level's sky, Param1 modulo 256.
void DoSetSky(CommandContext& c);
