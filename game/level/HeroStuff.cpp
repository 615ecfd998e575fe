#include "game/level/HeroStuff.h"

std::array<HeroStuff, kHeroCount> Heroes;
int32_t CurrentHero = 0;
int32_t LastHero = 0;
