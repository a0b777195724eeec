#include "physics/CollisionReactions.h"

#include "scene/GameObject.h"

// Interactables: static_cast<GOInteractable&>(interactable).OnPlayerOverlap(inside).
void ReportPlayerOverlap(GameObject&, bool) {}

// Level markers: kind 2 and static_cast<const GOCollider&>(marker).markerName == "ENEMY FLYING".
bool IsFlyingEnemyMarker(const GameObject&) {
    return false;
}

// Flying enemies: GOEnemy* enemy = GetScene().GetEnemy(); enemy->Setup(position, position, 1);
// enemy->SetActive(true).
void SpawnFlyingEnemy(const Vector3&) {}

// Winds: *push = wind.push; *blowsNorth = wind.windDirection == 0 (NORTH).
bool GetWindPush(const GameObject&, Vector3*, bool*) {
    return false;
}
