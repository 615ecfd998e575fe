#include "game/world/HeroInteraction.h"

#include <algorithm>
#include <cmath>

#include "engine/G3DMesh.h"
#include "game/GameClock.h"
#include "game/level/HeroStuff.h"

namespace {

// The value of pi the direction angles are computed with.
constexpr double kDirectionPi = 3.14159;
constexpr double kQuarterTurn = 1.570795;

// Radians to engine units, 0..32768.
float EngineAngle(double radians) {
    double a = radians * 16384.0 / kDirectionPi;
    if (a < 0) a += 32768.0;
    return static_cast<float>(a);
}

// The key mesh of animation `anim`; none for a number outside the slots.
const TG3DMesh* AnimMesh(const HeroStuff& hero, int32_t anim) {
    return anim >= 0 && anim < kHeroAnimCount ? hero.AnimMeshes[anim] : nullptr;
}

void BlendHeroPose(HeroStuff& hero) {
    if (hero.PreviousTargetAnim != hero.TargetAnim) {
        hero.BlendStart = FrameTime;
        hero.CurrentAnim = hero.PreviousTargetAnim;
    }
    hero.PreviousTargetAnim = hero.TargetAnim;
    float t = 1.0f;
    if (hero.BlendDuration > 0) {
        // A blend start after the frame (a clock set back) holds the pose at its start.
        const double elapsed = static_cast<double>(int64_t{FrameTime} - hero.BlendStart);
        t = static_cast<float>(std::max(0.0, elapsed / hero.BlendDuration));
    }
    G3DInterpolateMesh(AnimMesh(hero, hero.CurrentAnim), AnimMesh(hero, hero.TargetAnim),
                       hero.HeroMesh, t);
    if (t >= 1.0f) {
        hero.CurrentAnim = hero.TargetAnim;
        hero.BlendStart = FrameTime;
    }
}

}  // namespace

void DirectionAngles(float& yaw, float& pitch, float fromX, float fromY, float fromZ, float toX,
                     float toY, float toZ) {
    const double dx = static_cast<double>(toX) - fromX;
    const double dy = static_cast<double>(toY) - fromY;
    const double dz = static_cast<double>(toZ) - fromZ;
    double y = dx < 0 ? -kQuarterTurn : kQuarterTurn;
    if (std::fabs(dz) > 0) {
        y = std::atan(dx / dz);
        if (dz < 0) y += kDirectionPi;
    }
    const double h = std::sqrt(dx * dx + dz * dz);
    const double p = h > 0 ? std::atan(dy / h) : kQuarterTurn;
    yaw = EngineAngle(y);
    pitch = EngineAngle(p);
    // Points that are not numbers have no direction: the answer for a point
    // seen from itself, so that no NaN reaches the angles kept and saved.
    if (std::isnan(yaw)) yaw = EngineAngle(kQuarterTurn);
    if (std::isnan(pitch)) pitch = EngineAngle(kQuarterTurn);
}

void BlendHeroPoses() {
    const int32_t last = std::min(LastHero, kHeroCount - 1);
    for (int32_t i = 0; i <= last; ++i) BlendHeroPose(Heroes[i]);
}
