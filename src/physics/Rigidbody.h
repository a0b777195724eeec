#pragma once

#include "math/Vector.h"
#include "scene/Component.h"

// 2.25 x 9.81 world units per second squared, downwards.
extern const Vector3 gravity;

// Moves its object under gravity, its own acceleration and velocity, with the per-frame damping
// that gives Lirra's jump, glide and ground friction their feel.
class Rigidbody : public Component {
public:
    static constexpr const char* kName = "Rigidbody";

    explicit Rigidbody(GameObject* owner_) : Component(owner_) {}

    const char* GetName() const override { return kName; }
    void Update() override;

    // Moves the owner back by `t` seconds of its velocity out of the box it struck on `side`.
    void Resolve(float t, int side);
    void Reset();

    Vector3 velocity{0.0f, 0.0f, 0.0f};
    Vector3 acceleration{0.0f, 0.0f, 0.0f};
    bool airborne = true;
    // Set by the owner while it drives the body horizontally; ground friction applies otherwise.
    bool moving = false;
    bool gliding = false;

private:
    void ApplyGravityOrGround(float dt);
    void DampVertical();
    void ApplyGroundFriction();
};
