#pragma once

#include "scene/GameObject.h"

class GOEnemy;

enum HitboxKind : int {
    HITBOX_LIGHT_ATTACK = 2,
    HITBOX_HEAVY_ATTACK = 3,
    HITBOX_ENEMY_MELEE = 4,
    HITBOX_FLYING_CONTACT = 5,
    HITBOX_BOSS_HAND = 6,
};

// An invisible box that lives for one attack. Lirra's two attacks follow her animation frames
// and leave by themselves; enemies keep theirs and switch it off when their attack ends.
class GOHitbox : public GameObject {
public:
    GOHitbox();

    void Init() override { Init(HITBOX_LIGHT_ATTACK, nullptr); }
    void Init(int kind, GOEnemy* owner_);
    void Update() override;

    int hitboxKind = HITBOX_LIGHT_ATTACK;
    GOEnemy* owner = nullptr;
    float offsetX = 0.0f;
    float offsetY = 0.0f;

    // True the first time this strike reaches `enemy`: the heavy blow stays in place for several
    // frames, and the camera shakes once per enemy it strikes.
    bool FirstReach(const GOEnemy* enemy);

private:
    static constexpr int kMaxReached = 16;
    const GOEnemy* reached[kMaxReached] = {};
    int reachedCount = 0;

    void UpdateLightAttack();
    void UpdateHeavyAttack();
    void UpdateEnemyMelee();
    void FollowOwner();
    // Puts the box where the object now is before testing it.
    void StrikeHere();
};

// The hit rules of an attack box against its targets: an enemy's box against Lirra, one of
// Lirra's against every enemy it overlaps.
void HitCheck(GOHitbox* hitbox);
