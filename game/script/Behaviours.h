// The behaviour compiler: turns the command lines of the "Behaviour B" sections
// of a level definition into opcodes and integer argument slots, so that
// nothing is parsed while the game runs; and AddBehaviour, which starts a
// running instance of a behaviour on a cell.
//
// A line is a keyword (any letter case) and, after the first blank, its
// argument text. The forms and the slots they write; every other slot keeps
// the value it had, which is that of the same behaviour and command number in
// the definition compiled before (0 before the first):
//   N                  Param1: GOTO DELAY PLAYCLIP TRANSFORMTO SHOOTPLAYER
//                      SETBEHAVIOUR PLAYACTIONSOUND ADDHEALTH ADDHEALTHTOPLAYER
//                      ADDTIMERVALUE SETTIMERVALUE SETSAVECOUNT ADDSAVECOUNT
//                      SETLIGHTRANGE ADDLIGHTRANGE SETSKY
//   a,b                Param1, Param2: GIVEOBJECTTOPLAYER TRANSFORMBEHAVIOUR
//                      WAITFORBLOCNUMBERINLEVEL WAITFORPLAYERHAVEOBJECT
//   (x,y,z)            Param1..3: MOVEPLAYERABSOLUTE MOVEUNTILBLOCKED
//   (x,y,z),n          Param1..4: PLAYTILEANIMATION ADDPLAYERSPEED
//   box                Param1..6, box = (x1,y1,z1),(x2,y2,z2): WAITFORPLAYER
//                      MAKEFALL WAITFORPLAYERACTIVATION[ABSOLUTE]
//   n,box              Param1..6 and Param7 = n: PUTOBJECT[ABSOLUTE] OPENDOOR
//                      WAITFORPLAYERACTIVATIONWITHOBJECT[ABSOLUTE];
//                      Param7 = n × 256 div 100: PUTLIGHT ADDLIGHT PUTROTATION
//                      ADDROTATION and their ABSOLUTE forms
//   (x,y,z),deg,ms     MOVETO[ABSOLUTE]: Param1..3, Param4 = deg × 32768 div
//                      360, Param5 = ms; without the tail 0 and 1000 ms
//   box,speed,fall     MOVENEARPLAYER: Param1..6, Param7 = speed × 256 div 360,
//                      Param8 = fall; without the tail 1000 and 0
//   none               TIMEROFF TIMERON GAMEOVER GAMEWON
// A piece that is not a valid 32-bit integer, or whose scaled value leaves the
// 32-bit range, gives 0, except that the n of the n,box forms and the N of
// DELAY, PLAYCLIP, SHOOTPLAYER and SETBEHAVIOUR then keep their slot. A cell
// or box read from a non-empty text is 0 where its pieces are missing; an
// empty text keeps all of its slots.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "game/script/BehaviourStuff.h"

struct LevelStuff;
class TIniFile32;

// Compiles one command line into `command`: the line is stored trimmed (codes
// 0..32) in Line, an unknown keyword or an empty line gives opcode 0, and only
// the slots that the keyword's form names are written.
void CompileCommandLine(std::string_view line, CommandStuff& command);

// Compiles the sections "Behaviour 0".."Behaviour 255" of the definition file
// at `path` into level.Behaviours (a missing section, or one without a
// "Name", gives a behaviour of empty commands; a missing file, all of them;
// the argument slots that no line writes keep their values),
// and sends every live instance back to command 0, keeping its Phase: a move
// under way when the level was left is finished by the next timed command.
void LoadBehaviours(const std::string& path, LevelStuff& level);

// The same from a definition file already read, for a loader that reads the
// rest of the file too: the file is then parsed once.
void LoadBehaviours(const TIniFile32& ini, LevelStuff& level);

// Appends an instance of behaviour `behaviour` bound to cell (x, y, z) with
// the given health, and lifts the cell's bloc into a moving bloc that the
// instance owns (MovingBlocRow -1 when none could be lifted, and always for a
// record other than Level, whose lists the bloc dynamics work on). False, with
// nothing changed, when the level already holds 2048 instances.
bool AddBehaviour(int32_t behaviour, int32_t x, int32_t y, int32_t z, int32_t health,
                  LevelStuff& level);
