#pragma once

#include <memory>

#include "math/Vector.h"
#include "scene/GameObject.h"

class Boss;
class GOHitbox;
class GOStateMachine;
class PatrolSegment;

// The kinds an enemy can be built as.
enum EnemyKind : int {
    ENEMY_BASIC = 0,
    ENEMY_FLYING = 1,
    ENEMY_BOSS_BODY = 2,
    ENEMY_BOSS_HEAD = 3,
    ENEMY_BOSS_LEFT_HAND = 4,
    ENEMY_BOSS_RIGHT_HAND = 5,
};

// The health bar of a walking enemy or a boss piece: `letters` red capital I's, and `filled`
// green ones over them.
struct HealthBar {
    int letters = 0;
    int filled = 0;
};

// Six letters per unit of the enemy's width; at least one green letter while any health is left.
HealthBar MeasureHealthBar(int health, int maxHealth, float scaleX);

// Every hostile actor: a walking or flying spirit, or a piece of Rovevoz. Its behaviour is a
// machine of named states; the health and the object's time scale (its speed factor) come from
// GameObject. Pooled by the scene; Setup rebuilds a recycled enemy completely.
class GOEnemy : public GameObject {
public:
    GOEnemy();
    ~GOEnemy() override;
    GOEnemy(const GOEnemy&) = delete;
    GOEnemy& operator=(const GOEnemy&) = delete;

    // Builds the enemy of `kind` at `position`; basic enemies patrol towards `secondPoint`. A kind
    // outside 0-5 leaves the enemy inactive.
    void Setup(const Vector3& position, const Vector3& secondPoint, int kind);
    // Health bar, hit cool-down, then the state machine.
    void Update() override;
    // Dropped during the cool-down that follows every accepted hit.
    void TakeDamage(int amount);

    // The enemy's attack box (a walker's melee strike, a flyer's touch), held from the scene's
    // pool only while it is switched on, so the pool never hands the same box to anyone else.
    GOHitbox* TakeAttackHitbox(int hitboxKind);
    void ReleaseAttackHitbox();
    // The trail emitter leaves the particle system.
    void RemoveTrail();
    const char* GetStateName() const;

    std::unique_ptr<GOStateMachine> stateMachine;
    Boss* boss = nullptr;
    int enemyKind = ENEMY_BASIC;
    std::unique_ptr<PatrolSegment> patrolPath;
    const PatrolSegment* currentSegment = nullptr;
    Vector3 direction{0.0f, 0.0f, 0.0f};
    GOHitbox* attackHitbox = nullptr;
    float hitCooldown = 0.0f;
    bool vulnerable = true;
    int maxHealth = 0;
    int emitterId = -1;

private:
    // Forgets everything the last build left: states, path, hitbox and trail.
    void ClearBuild();
    void DrawHealthBar() const;
    void TickHitCooldown();
};

// Health bars are hidden while a transition screen covers or slides over the scene.
bool HealthBarsHidden();
