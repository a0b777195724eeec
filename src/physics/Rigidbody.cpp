#include "physics/Rigidbody.h"

#include "physics/Collider.h"
#include "physics/Collision.h"
#include "platform/FrameClock.h"
#include "scene/GameObject.h"

const Vector3 gravity(0.0f, -22.0725f, 0.0f);

namespace {

// The player presses lightly into the ground, so the collision pass keeps finding the floor.
constexpr float kStandingPress = -9.81f;
constexpr float kGlideFallDamping = 0.9f;
constexpr float kRiseDamping = 0.99f;
constexpr float kRiseAccelerationDamping = 0.5f;
constexpr float kGroundFriction = 0.87f;

}  // namespace

void Rigidbody::Update() {
    const float dt = GetDeltaTime();
    const float timeScale = owner->localTimeScale;
    ApplyGravityOrGround(dt);
    DampVertical();
    velocity += acceleration * dt;
    ApplyGroundFriction();
    owner->GetTransform().Translate(velocity.x * dt * timeScale, velocity.y * dt * timeScale, 0.0f);
}

void Rigidbody::ApplyGravityOrGround(float dt) {
    if (airborne) {
        velocity += gravity * dt;
        return;
    }
    acceleration.y = 0.0f;
    velocity.y = owner->objectKind == KIND_PLAYER ? kStandingPress * dt : 0.0f;
}

// Applied once per frame, so its strength follows the frame rate.
void Rigidbody::DampVertical() {
    if (gliding) {
        if (velocity.y < 0.0f) {
            velocity.y *= kGlideFallDamping;
        }
    } else if (velocity.y > 0.0f) {
        acceleration.y *= kRiseAccelerationDamping;
        velocity.y *= kRiseDamping;
    }
}

void Rigidbody::ApplyGroundFriction() {
    if (!moving && !airborne) {
        acceleration.x = 0.0f;
        velocity.x *= kGroundFriction;
    }
}

void Rigidbody::Resolve(float t, int side) {
    Transform& transform = owner->GetTransform();
    switch (side) {
    case HIT_WALL_LEFT:
    case HIT_WALL_RIGHT:
        transform.Translate(-velocity.x * t, 0.0f, 0.0f);
        velocity.x = 0.0f;
        break;
    case HIT_CEILING:
        transform.Translate(0.0f, -velocity.y * t, 0.0f);
        velocity.y = 0.0f;
        break;
    case HIT_GROUND:
        transform.Translate(0.0f, -velocity.y * t, 0.0f);
        velocity.y = gravity.y;
        airborne = false;
        gliding = false;
        break;
    default:
        break;
    }
    if (Collider* collider = owner->GetComponent<Collider>()) {
        collider->RefreshCenter();
    }
}

void Rigidbody::Reset() {
    velocity = Vector3(0.0f, 0.0f, 0.0f);
    acceleration = Vector3(0.0f, 0.0f, 0.0f);
    airborne = true;
    moving = false;
    gliding = false;
}
