#pragma once

#include "math/Vector.h"

// An axis-aligned box in the x-y plane. The owning Collider recomputes `center`, `width` and
// `height` from its object every update.
struct ColliderBox {
    Vector3 center{0.0f, 0.0f, 0.0f};
    Vector3 offset{0.0f, 0.0f, 0.0f};
    float width = 1.0f;
    float height = 1.0f;
    float widthFactor = 1.0f;
    float heightFactor = 1.0f;
};

// The face of the other box that a moving box struck.
enum HitSide : int {
    HIT_WALL_LEFT = 0,   // moving left, struck its right face
    HIT_WALL_RIGHT = 1,  // moving right, struck its left face
    HIT_CEILING = 2,     // moving up, struck its bottom face
    HIT_GROUND = 3,      // moving down, landed on its top face
};

// How far back in time (seconds, along its velocity) a moving box must go to leave a box it
// overlaps, and which face it struck.
struct Resolution {
    float time = 0.0f;
    int side = HIT_GROUND;
};

// Touching edges count as overlap.
bool Overlaps(const ColliderBox& a, const ColliderBox& b);

// For a box `a` that moved with velocity `v` during the last step `dt` and now overlaps `b`.
Resolution ComputeResolution(const ColliderBox& a, const Vector3& v, const ColliderBox& b, float dt);
// The same over this frame's step.
Resolution ComputeResolution(const ColliderBox& a, const Vector3& v, const ColliderBox& b);
