#include "physics/CollisionReactions.h"

#include "actors/GOEnemy.h"
#include "actors/GOWind.h"
#include "levels/GOCollider.h"
#include "scene/GameObject.h"
#include "scene/SceneManager.h"

// Interactables: static_cast<GOInteractable&>(interactable).OnPlayerOverlap(inside).
void ReportPlayerOverlap(GameObject&, bool) {}

bool IsFlyingEnemyMarker(const GameObject& marker) {
    return marker.objectKind == KIND_TILE_COLLIDER &&
           static_cast<const GOCollider&>(marker).markerName == "ENEMY FLYING";
}

void SpawnFlyingEnemy(const Vector3& position) {
    GOEnemy* enemy = GetScene().GetEnemy();
    enemy->Setup(position, position, ENEMY_FLYING);
    enemy->SetActive(true);
}

bool GetWindPush(const GameObject& object, Vector3* push, bool* blowsNorth) {
    const GOWind* wind = dynamic_cast<const GOWind*>(&object);
    if (wind == nullptr) {
        return false;
    }
    *push = wind->GetPush();
    *blowsNorth = wind->BlowsNorth();
    return true;
}
