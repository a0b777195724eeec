#include "physics/CollisionReactions.h"

#include "actors/GOEnemy.h"
#include "actors/GOInteractable.h"
#include "actors/GOWind.h"
#include "levels/GOCollider.h"
#include "scene/GameObject.h"
#include "scene/SceneManager.h"

void ReportPlayerOverlap(GameObject& object, bool inside) {
    // Only the interactable classes react; a plain object given their kind has nothing to do.
    GOInteractable* interactable = dynamic_cast<GOInteractable*>(&object);
    if (interactable != nullptr) {
        interactable->OnPlayerOverlap(inside);
    }
}

bool IsFlyingEnemyMarker(const GameObject& object) {
    if (object.objectKind != KIND_TILE_COLLIDER) {
        return false;
    }
    // A plain object may be given the marker kind; only a level marker has a name.
    const GOCollider* marker = dynamic_cast<const GOCollider*>(&object);
    return marker != nullptr && marker->markerName == "ENEMY FLYING";
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
