#include "physics/CollisionReactions.h"

#include "actors/GOWind.h"
#include "levels/GOCollider.h"
#include "scene/GameObject.h"

// Interactables: static_cast<GOInteractable&>(interactable).OnPlayerOverlap(inside).
void ReportPlayerOverlap(GameObject&, bool) {}

bool IsFlyingEnemyMarker(const GameObject& marker) {
    return marker.objectKind == KIND_TILE_COLLIDER &&
           static_cast<const GOCollider&>(marker).markerName == "ENEMY FLYING";
}

// Flying enemies: GOEnemy* enemy = GetScene().GetEnemy(); enemy->Setup(position, position, 1);
// enemy->SetActive(true).
void SpawnFlyingEnemy(const Vector3&) {}

bool GetWindPush(const GameObject& object, Vector3* push, bool* blowsNorth) {
    const GOWind* wind = dynamic_cast<const GOWind*>(&object);
    if (wind == nullptr) {
        return false;
    }
    *push = wind->GetPush();
    *blowsNorth = wind->BlowsNorth();
    return true;
}
