// The hero's dealings with the world: what it touches (cell gravity, game
// end, save reloads, timers, springs, medikits and pick-ups, from its cell and
// from the moving blocs it overlaps), what its action button does to the cell
// in front (stop a golem, dig, push, pull a lever, open a door with a key),
// the order that sends a golem to an exit, its pose blending, and the small
// shared helpers for directions, number texts and signs.
#pragma once

#include <cstdint>

// The last cell the hero acted on. The play frame clears the flag before each
// frame in which the hero is controlled; HeroAction sets it with its cell; the
// behaviours read it.
struct PlayerActivationStuff {
    uint8_t Flag = 0;
    int32_t X = 0, Y = 0, Z = 0;
};
extern PlayerActivationStuff PlayerActivation;

// Applies what hero `hero` touches this frame, before it moves: first every
// moving bloc whose box overlaps the current hero's box, then the bloc type of
// the hero's cell. A taken pick-up leaves the grid (or its moving bloc turns
// into type 0). Nothing for a hero index out of range.
void HeroTouchEffects(int32_t hero);

// The action of hero `hero` on cell (cx, cy, cz): records the activation,
// then stops the chosen golem, or else digs, pushes, pulls the lever or opens
// the door (with the selected key) that the cell's type allows. True when
// something was done.
bool HeroAction(int32_t cx, int32_t cy, int32_t cz, int32_t hero);

// Sends the golem in front of hero `hero` (or else the first one in its cell
// that is not already lying down or resting) to the nearest exit.
void HeroMakeGolemLieDown(int32_t hero);

// Yaw and pitch (engine units, each 0..32768) of the direction from
// (fromX, fromY, fromZ) to (toX, toY, toZ).
void DirectionAngles(float& yaw, float& pitch, float fromX, float fromY, float fromZ, float toX,
                     float toY, float toZ);

// Blends each hero's mesh from its current animation towards its target
// animation over the blend duration.
void BlendHeroPoses();

// -1, 0 or 1 for a negative, zero or positive `x`; 0 for NaN.
int32_t FloatSign(double x);
