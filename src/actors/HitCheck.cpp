#include "actors/GOHitbox.h"

#include "actors/GOEnemy.h"
#include "actors/Player.h"
#include "levels/Cinematics.h"
#include "physics/Collider.h"
#include "scene/SceneManager.h"

namespace {

constexpr float kHeavyShakeMagnitude = 0.1f;
constexpr float kHeavyShakeTime = 0.3f;

// An enemy's attack box against Lirra: she is knocked away from the box's side.
void HitLirra(const ColliderBox& box, float boxX) {
    Player& lirra = GetPlayer();
    const Collider* lirraCollider = lirra.GetComponent<Collider>();
    if (lirraCollider == nullptr || !Overlaps(box, lirraCollider->box)) {
        return;
    }
    const bool hitFromRight = !(lirra.GetTransform().GetPosition().x > boxX);
    lirra.TakeHit(hitFromRight);
}

}  // namespace

// Every overlapping enemy is struck, not only the first; a heavy strike shakes the camera once
// for each enemy it reaches, even when the enemy's cool-down drops the damage.
void HitCheck(GOHitbox* hitbox) {
    const Collider* hitCollider = hitbox->GetComponent<Collider>();
    if (hitCollider == nullptr) {
        return;
    }
    const ColliderBox& box = hitCollider->box;
    if (hitbox->owner != nullptr) {
        HitLirra(box, hitbox->GetTransform().GetPosition().x);
        return;
    }
    const int attackPower = GetPlayer().GetAttackPower();
    for (GOEnemy* enemy : GetScene().GetEnemyPool().GetObjects()) {
        const Collider* enemyCollider = enemy->GetComponent<Collider>();
        if (!enemy->IsActive() || enemyCollider == nullptr || !Overlaps(enemyCollider->box, box)) {
            continue;
        }
        if (hitbox->hitboxKind == HITBOX_LIGHT_ATTACK) {
            enemy->TakeDamage(attackPower);
        } else if (hitbox->hitboxKind == HITBOX_HEAVY_ATTACK) {
            enemy->TakeDamage(2 * attackPower);
            if (hitbox->FirstReach(enemy)) {
                PlayCinematic(std::make_unique<CinShake>(kHeavyShakeMagnitude, kHeavyShakeTime, false));
            }
        }
    }
}
