#pragma once

#include <string>

#include "actors/GOStateMachine.h"
#include "resources/TextureId.h"
#include "math/Vector.h"

class GOEnemy;

// Shared by every walking spirit, set by the state being entered: the pace (slow on patrol,
// fast in a chase) and the pause at the end of a path.
extern float walkSpeed;
extern float pauseTimer;

// What a spirit says as it fades.
constexpr int kBarkLineCount = 14;
extern const char* const kBarkLines[kBarkLineCount];

// Lirra notices a spirit within this distance ahead of her; it strikes within the shorter one.
constexpr float kAttackRange = 4.0f;
constexpr float kStrikeRange = 1.5f;
// The last death frame shown before the spirit is gone.
constexpr int kLastDeathFrame = 18;

// The part of every enemy state: the enemy it drives and the steps they all take.
class EnemyState : public GOState {
public:
    EnemyState(const std::string& name_, GOEnemy* owner_) : GOState(name_), owner(owner_) {}

protected:
    void Play(TextureId clip) const;
    void RequestState(const char* stateName) const;
    Vector3 Position() const;
    // From the enemy to Lirra, in the x-y plane.
    Vector3 ToLirra() const;

    GOEnemy* const owner;
};

// Patrols its path, pausing a second at each end; sees Lirra ahead within reach and gives chase.
class StateIdle_BE : public EnemyState {
public:
    using EnemyState::EnemyState;
    void Enter() override;
    void Update() override;
    void Exit() override {}
};

// Runs at Lirra and strikes her when she is close; gives up when she gets away.
class StateAttack_BE : public EnemyState {
public:
    using EnemyState::EnemyState;
    void Enter() override;
    void Update() override;
    void Exit() override;

private:
    void FaceLirra(const Vector3& toLirra) const;
    void Strike(const Vector3& toLirra, float distance) const;
    void Chase() const;
};

// Dies where it stands, says one last line and leaves Lirra a soul.
class StateDead_BE : public EnemyState {
public:
    using EnemyState::EnemyState;
    void Enter() override;
    void Update() override;
    void Exit() override {}
};

// The walking spirit's build: five animations, a box about its body, one straight path from
// `position` to `secondPoint` and its three states.
void SetupBasicEnemy(GOEnemy& enemy, const Vector3& position, const Vector3& secondPoint);

// A soul for Lirra at `at`, one unit nearer the viewer; it joins her chain at once, and heals her
// at once when she is at half health or less.
void DropSoul(const Vector3& at);
