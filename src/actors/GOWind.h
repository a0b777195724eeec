#pragma once

#include "math/Vector.h"
#include "scene/GameObject.h"

// The direction numbers match the level's wind marker names.
enum WindDirection : int {
    WIND_NORTH = 0,
    WIND_EAST = 1,
    WIND_SOUTH = 2,
    WIND_WEST = 3,
};

// A zone of moving air that pushes Lirra while her box overlaps it; far more strongly when she
// glides into an upward wind. The push itself is applied by the player's collision pass.
class GOWind : public GameObject {
public:
    GOWind();

    // Call after setting scale, position, strength and windDirection: sets the push and the
    // animation of the direction. Another direction leaves the push alone and draws nothing.
    void Init() override;

    // The velocity change per second, and whether this wind blows up.
    const Vector3& GetPush() const { return push; }
    bool BlowsNorth() const { return windDirection == WIND_NORTH; }

    Vector3 push{0.0f, 0.0f, 0.0f};
    float strength = 1.0f;
    int windDirection = WIND_EAST;
};
