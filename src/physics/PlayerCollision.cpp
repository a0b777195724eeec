#include "physics/PlayerCollision.h"

#include <cstdlib>

#include "app/FrameClock.h"
#include "physics/Collider.h"
#include "physics/CollisionReactions.h"
#include "physics/Rigidbody.h"
#include "scene/GameObject.h"

namespace {

// A gliding Lirra rides an upward wind far more strongly than any other.
constexpr float kGlideNorthWindFactor = 48.0f;
constexpr float kGlideWindFactor = 4.0f;
// Flying enemies appear within this many units of their marker, on each axis.
constexpr int kFlyingSpawnSpread = 15;

// Lirra passes through these; the pass only looks at winds among them.
bool IsPassThroughKind(int kind) {
    return kind == KIND_WIND || kind == KIND_SOUL || kind == KIND_HITBOX;
}

// The C library's generator places the enemy: x first, then y.
void FireFlyingEnemyMarker(GameObject& marker) {
    Vector3 spawnAt = marker.GetTransform().GetPosition();
    spawnAt.x += static_cast<float>(std::rand() % (2 * kFlyingSpawnSpread + 1) - kFlyingSpawnSpread);
    spawnAt.y += static_cast<float>(std::rand() % (2 * kFlyingSpawnSpread + 1) - kFlyingSpawnSpread);
    SpawnFlyingEnemy(spawnAt);
    marker.SetActive(false);
}

void ApplyWind(const GameObject& wind, Rigidbody& body) {
    Vector3 push;
    bool blowsNorth = false;
    if (!GetWindPush(wind, &push, &blowsNorth)) {
        return;
    }
    const float dt = GetDeltaTime();
    if (!body.gliding) {
        body.velocity += push * dt;
    } else if (blowsNorth) {
        body.velocity += push * dt * kGlideNorthWindFactor;
    } else {
        body.velocity += push * dt * kGlideWindFactor;
    }
}

}  // namespace

void RunPlayerCollisionPass(GameObject& player, const std::vector<GameObject*>& collidables) {
    const Collider* playerCollider = player.GetComponent<Collider>();
    Rigidbody* body = player.GetComponent<Rigidbody>();
    if (playerCollider == nullptr || body == nullptr) {
        return;
    }
    bool grounded = false;
    // By index: a reaction may take a collider (and so an entry) off the list.
    for (size_t i = 0; i < collidables.size(); ++i) {
        GameObject& object = *collidables[i];
        const Collider* collider = object.GetComponent<Collider>();
        if (collider == nullptr) {
            continue;
        }
        // A fresh copy each turn, so the push-back by one box is seen by the tests against the next.
        const ColliderBox playerBox = playerCollider->box;
        const ColliderBox objectBox = collider->box;
        const int kind = object.objectKind;

        if (!collider->nonSolid && !IsPassThroughKind(kind)) {
            if (kind == KIND_INTERACTABLE) {
                ReportPlayerOverlap(object, false);
                if (Overlaps(playerBox, objectBox)) {
                    ReportPlayerOverlap(object, true);
                }
            } else if (Overlaps(playerBox, objectBox)) {
                if (kind == KIND_TILE_COLLIDER && IsFlyingEnemyMarker(object)) {
                    FireFlyingEnemyMarker(object);
                    continue;
                }
                const Resolution resolution = ComputeResolution(playerBox, body->velocity, objectBox);
                body->Resolve(resolution.time, resolution.side);
                if (resolution.side == HIT_GROUND) {
                    grounded = true;
                }
            }
        }
        if (!grounded) {
            body->airborne = true;
        }
        if (kind == KIND_WIND && Overlaps(playerBox, objectBox)) {
            ApplyWind(object, *body);
        }
    }
}
