// Blocs that come alive: the level's tile animations (a bloc type played once
// at a place, then usually replaced by another type), dug cells (cells emptied
// by digging that fill again later) and moving blocs (launched or pushed blocs,
// blocs lifted for a behaviour instance, projectiles). This unit adds rows to
// and removes rows from those three lists of `Level`, and builds the grid-wide
// switches on them: levers, doors and key blocs on sensors.
//
// Every add to a full list is dropped silently. Bloc types taken from the grid
// or from a row are range-checked before they index the bloc table; a type out
// of range refuses the operation (or, for a tile animation, switches the cell
// at once). InstanceCount follows every bloc taken out of or put back into the
// grid, and only what was added is ever subtracted.
#pragma once

#include <cstdint>

// Plays the action sound of bloc type `type` at the truncated point (x, y, z)
// at the type's ActionVolume. Nothing for a type out of range.
void PlayActionSound(int32_t type, float x, float y, float z);

// Plays bloc type `animType` once at the centre of cell (x, y, z) (with its
// action sound) and empties the cell; when the animation ends the cell gets
// `finalType` (-1: stays empty). The animation counts as one instance of
// `animType` while it plays. When the list is full, or `animType` is no bloc
// type, the cell gets its final state at once.
void AddTileAnimation(int32_t x, int32_t y, int32_t z, int32_t animType, int32_t finalType);

// Plays bloc type `type` once at world point (x, y, z) (explosions): no final
// type, no grid change, no instance counted. Nothing when the list is full.
void AddTileAnimationAt(int32_t x, int32_t y, int32_t z, int32_t type);

// Ends tile animation `row` (0..high index; others are ignored): the cell
// containing it gets its final type, the instance it counted is given back,
// its mesh is freed and the rows behind move down one place.
void RemoveTileAnimation(int32_t row);

// When the cell's type L is a lever: every cell of type L (x outermost, then
// y, then z) plays L's LeverAnim and becomes LeverOpen, then the doors of type
// LeverDoor open. Any other cell does nothing.
void OperateLever(int32_t x, int32_t y, int32_t z);

// When `doorType` is a door: every cell of that type (x, then y, then z) plays
// its AnimDoor and becomes DoorOpen.
void OpenDoors(int32_t doorType);

// Digs cell (x, y, z) when its type is diggable, nothing stands on it (the
// cell above holds an Undefined type) and the dug-cell list has room: the cell
// plays DigAnim and empties; a type with Recover fills again after `duration`
// ms (RecoverDugCell), one without stays empty for good.
void DigCell(int32_t x, int32_t y, int32_t z, int32_t duration);

// Ends dug cell `row` (0..high index; others are ignored): when its cell is
// still empty (an Undefined type) the former type comes back through its
// RecoverAnim; when something fills the cell nothing comes back.
void RecoverDugCell(int32_t row);

// Pushes the CanPush bloc of cell (x, y, z) along the grid axis nearest to
// `heading` (engine angle) at speed 95, unless a CanPush bloc stands on it.
void PushBloc(int32_t x, int32_t y, int32_t z, int32_t heading);

// Takes the cell's bloc out of the grid as a launched moving bloc (kind 0)
// with velocity (vx, vy, vz) per 90 ms, playing its action sound. Refused when
// the list is full or the cell holds an Undefined type.
void LaunchBloc(int32_t x, int32_t y, int32_t z, float vx, float vy, float vz);

// Takes the cell's bloc out of the grid as a moving bloc owned by a behaviour
// instance (kind 1), at rest at the cell centre; returns its row, or -1 when
// the list is full or the cell holds an Undefined type. No sound.
int32_t LiftBloc(int32_t x, int32_t y, int32_t z);

// Fires a projectile (kind 4) of bloc type `type` from world point (x, y, z)
// heading `yaw` and `pitch` (engine angles) at the type's BulletSpeed, playing
// its action sound. Refused when the list is full or the type is out of range.
void FireProjectile(int32_t type, float x, float y, float z, float yaw, float pitch);

// Ends moving bloc `row` (0..high index; others are ignored). A bloc goes back
// into the grid in the cell containing it, with its orientation, taking the
// place of a walk-through bloc there; only a colliding bloc in that cell is
// kept, the landing bloc then going to the first cell above without one (a
// full column drops it and its count). A key bloc landing on its
// sensor sounds it and opens the sensor's doors when every receptacle is
// filled. A projectile leaves its BulletExplosion animation instead. Behaviour
// instances keep pointing at their own blocs: those owning a row behind `row`
// move down with it, one owning `row` itself is left with -1.
void RemoveMovingBloc(int32_t row);

// True when every cell of type `sensorType` has directly above it a key bloc
// (BlockKey) whose BlockKeySensor is `sensorType`; true for a level without
// such cells.
bool ReceptaclesFilled(int32_t sensorType);
