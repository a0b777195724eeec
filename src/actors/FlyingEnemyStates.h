#pragma once

#include "actors/BasicEnemyStates.h"

// Shared by every flying spirit; set when one is released.
extern float flySpeed;

// The fastest a flying spirit turns, degrees per second either way.
constexpr float kMaxTurnRate = 60.0f;

// The signed turn rate (degrees per second, counter-clockwise positive) of a spirit whose heading
// is `angle` degrees (0 to 180) away from the way to Lirra, on her side `side` (the sign of the
// heading's cross product with that way; 0 when she is straight ahead or straight behind).
float FlyingTurnRate(float angle, float side);
// `direction` rotated about the z axis by `degrees`, kept of unit length.
Vector3 RotateAboutZ(const Vector3& direction, float degrees);

// Fades in where it was released, motionless.
class StateSpawn_FE : public EnemyState {
public:
    using EnemyState::EnemyState;
    void Enter() override;
    void Update() override;
    void Exit() override;

    float fade = 0.0f;
};

// Hunts Lirra at a constant speed, turning at a limited rate; gone once it is far from her.
class StateIdle_FE : public EnemyState {
public:
    using EnemyState::EnemyState;
    void Enter() override;
    void Update() override;
    void Exit() override;

private:
    bool FarFromLirra() const;
    void Steer() const;
    void FaceHeading() const;
};

// The spirit and its trail are gone.
class StateDead_FE : public EnemyState {
public:
    using EnemyState::EnemyState;
    void Enter() override;
    void Update() override {}
    void Exit() override {}
};

// The flying spirit's build at `position`: no box (Lirra's blows pass through it), heading for
// Lirra, a trail of sparks and its three states.
void SetupFlyingEnemy(GOEnemy& enemy, const Vector3& position);
