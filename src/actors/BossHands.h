#pragma once

#include <vector>

#include "audio/Audio.h"
#include "math/Vector.h"

class Boss;
class GOEnemy;

enum HandSide : int {
    HAND_LEFT = 0,
    HAND_RIGHT = 1,
};

enum HandMode : int {
    HAND_REST = 0,
    HAND_ATTACK = 1,
    HAND_DOWN = 2,
};

// Where one of Rovevoz's hands is in its cycle; the hand's states read and steer it, the boss
// ticks its timers.
class HandController {
public:
    explicit HandController(int side_) : side(side_) {}

    // Makes the hand enemy (kind 4 or 5) at the rest point and hands it to the boss.
    void Start(const Vector3& origin, std::vector<GOEnemy*>* enemies, Boss* boss);
    void SetMode(int m);
    // Lirra's tracked x on the arena floor, kept on the hand's own side of the arena.
    Vector3 SweepTarget() const;
    bool IsDown() const { return downTimer > 0.0f; }
    void TickTimers(float dt);

    int side = HAND_LEFT;
    int mode = HAND_REST;
    float downTimer = 0.0f;
    float waitTimer = 0.0f;
    Vector3 targetPoint;
    Vector3 homePoint;
    GOEnemy* hand = nullptr;
    // The hand's last slam or landing sound, and the voice it plays on.
    int lastSound = -1;
    AudioChannel lastChannel;
};

// The hand enemies' set-up: sprite animations, box and the six states of its side.
void SetupBossHand(GOEnemy& enemy, const Vector3& position, int kind);

// The floor the hands slam onto and the walls that stop a sweep.
constexpr float kHandFloorY = -17.0f;
constexpr float kHandSweepLimit = 12.5f;
constexpr int kHandHealth = 125;
