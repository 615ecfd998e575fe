// The hero's dealings with the world: its pose blending and the direction
// from one point to another. (Touch effects, actions and golem commands join
// this unit with the golems.)
#pragma once

// Yaw and pitch (engine units, each 0..32768) of the direction from
// (fromX, fromY, fromZ) to (toX, toY, toZ).
void DirectionAngles(float& yaw, float& pitch, float fromX, float fromY, float fromZ, float toX,
                     float toY, float toZ);

// Blends each hero's mesh from its current animation towards its target
// animation over the blend duration.
void BlendHeroPoses();
