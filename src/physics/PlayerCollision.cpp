#include "physics/PlayerCollision.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "physics/Collider.h"
#include "physics/CollisionReactions.h"
#include "physics/Rigidbody.h"
#include "platform/FrameClock.h"
#include "scene/GameObject.h"

namespace {

// A gliding Lirra rides an upward wind far more strongly than any other.
constexpr float kGlideNorthWindFactor = 48.0f;
constexpr float kGlideWindFactor = 4.0f;
// Flying enemies appear within this many units of their marker, on each axis.
constexpr int kFlyingSpawnSpread = 15;
// Left between Lirra and a wall an enemy's push stops her at.
constexpr float kWallMargin = 0.002f;

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

// The level's own solid boxes: its floors, walls and ledges.
bool IsLevelBox(const GameObject& object, const Collider& collider) {
    if (collider.nonSolid) {
        return false;
    }
    return object.objectKind == KIND_TILE || (object.objectKind == KIND_TILE_COLLIDER && !IsFlyingEnemyMarker(object));
}

// How far a sideways move of `box` by `moved` may go before its leading face meets `wall`, which
// it was clear of before; `moved` itself when the wall is not in the way.
float AllowedSidewaysMove(const ColliderBox& box, float moved, const ColliderBox& wall) {
    if (std::fabs(box.center.y - wall.center.y) >= (box.height + wall.height) / 2.0f) {
        return moved;
    }
    if (moved > 0.0f) {
        const float lead = box.center.x + box.width / 2.0f;
        const float face = wall.center.x - wall.width / 2.0f;
        return (lead <= face && lead + moved > face) ? std::max(0.0f, face - lead - kWallMargin) : moved;
    }
    const float lead = box.center.x - box.width / 2.0f;
    const float face = wall.center.x + wall.width / 2.0f;
    return (lead >= face && lead + moved < face) ? std::min(0.0f, face - lead + kWallMargin) : moved;
}

// An enemy's box moves into her, so the push-back it gives her is as deep as it went in (a boss
// hand slamming onto her as she jumps): that push never carries her into or through a level box;
// she stops at its face instead.
void StopAtLevelFaces(GameObject& player, const ColliderBox& before, const std::vector<GameObject*>& collidables) {
    Collider* playerCollider = player.GetComponent<Collider>();
    const float moved = playerCollider->box.center.x - before.center.x;
    if (moved == 0.0f) {
        return;
    }
    float allowed = moved;
    for (const GameObject* object : collidables) {
        const Collider* collider = object->GetComponent<Collider>();
        if (collider != nullptr && IsLevelBox(*object, *collider)) {
            const float step = AllowedSidewaysMove(before, allowed, collider->box);
            allowed = std::fabs(step) < std::fabs(allowed) ? step : allowed;
        }
    }
    if (allowed != moved) {
        player.GetTransform().Translate(allowed - moved, 0.0f, 0.0f);
        playerCollider->RefreshCenter();
    }
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
    // An object whose collider a reaction took away is passed over.
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
                if (kind == KIND_ENEMY) {
                    StopAtLevelFaces(player, playerBox, collidables);
                }
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
