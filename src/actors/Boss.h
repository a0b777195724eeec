#pragma once

#include <vector>

#include "actors/BossHands.h"
#include "math/Vector.h"

class GOEnemy;

enum BossPhase : int {
    BOSS_APPEARING = 0,
    BOSS_PHASE_1 = 1,
    BOSS_PHASE_2 = 2,
    BOSS_PHASE_3 = 3,
    BOSS_DEFEATED = 4,
};

enum HeadMode : int {
    HEAD_UP = 0,
    HEAD_DOWN = 1,
};

// Rovevoz's head: it hovers at its home point and drops to the floor while both hands are down.
class HeadController {
public:
    void SetMode(int m);
    bool IsDown() const { return downTimer > 0.0f; }

    int mode = HEAD_UP;
    float downTimer = 0.0f;
    Vector3 lowPoint;
    Vector3 homePoint;
    GOEnemy* piece = nullptr;
};

// Rovevoz: body, head and two hands tied together by one shared health that drives the fight's
// phases and the reinforcements. The boss level starts it and updates it once per frame.
class Boss {
public:
    Boss() : leftHand(HAND_LEFT), rightHand(HAND_RIGHT) {}

    void Start(const Vector3& origin_, std::vector<GOEnemy*>* enemies_);
    void Update();
    void TakeDamage(int amount);
    void SetPhase(int p);
    int GetHealth() const { return health; }
    int GetPhase() const { return phase; }
    // Takes a pooled enemy, builds it as `kind` at `position`, activates it and lists it.
    GOEnemy* SpawnEnemy(const Vector3& position, const Vector3& secondPoint, int kind, bool linked);

    int phase = BOSS_APPEARING;
    int health = 2500;
    int maxHealth = 2500;
    Vector3 playerPosition;
    Vector3 origin;
    float basicSpawnTimer = 0.0f;
    float flyingSpawnTimer = 0.0f;
    std::vector<GOEnemy*>* enemies = nullptr;
    HandController leftHand;
    HandController rightHand;
    HeadController head;
    GOEnemy* body = nullptr;

private:
    void CoordinateHeadAndHands();
    void TickTimers(float dt);
    void SpawnReinforcements();
};

Boss& GetBoss();

// Shared by every piece's states: the fade-in of the fight's start and the fade-out of its end.
extern float appearFade;
extern float defeatFade;
// The next landing of the head shakes the camera.
extern bool headLandShake;

// Called by the enemy's set-up for the boss's kinds: 2 body, 3 head, 4 left hand, 5 right hand.
void SetupBossPart(GOEnemy& enemy, const Vector3& position, int kind);
// Damage to a living head or hand also counts against the shared health.
void PassDamageToBoss(GOEnemy& piece, int amount);
// "ROVEVOZ" over a red row of 100 letters and the magenta share of health left.
void DrawBossBar(int health, int maxHealth);
// The magenta letters of the bar: at least one while any health is left.
int BossBarFilled(int health, int maxHealth);

constexpr int kBossBarLetters = 100;
