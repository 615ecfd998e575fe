// What moves by itself in the level, once per drawn frame: animated textures,
// the key frames and loop-sound timers of the bloc types, launched blocs and
// projectiles with their hits, dug cells that fill again, tile animations.
#pragma once

struct LevelStuff;

// Advances the level one frame (called first thing by the scene drawing).
void AnimateWorld(LevelStuff& level);
