#pragma once

#include "math/Vector.h"

class GameObject;

// What the player's collision pass asks of the kinds of object it meets. The pass lies below those
// objects, so the answers are written with them: interactables and winds in
// actors/CollisionReactions.cpp, level markers in levels/LevelSpawn.cpp.

// GOInteractable::OnPlayerOverlap(inside): called with false, then with true while in range.
void ReportPlayerOverlap(GameObject& interactable, bool inside);

// A collider marker (kind 2) whose markerName is "ENEMY FLYING".
bool IsFlyingEnemyMarker(const GameObject& marker);

// Takes an enemy from the scene, sets it up as a flying enemy at `position` and activates it.
void SpawnFlyingEnemy(const Vector3& position);

// A wind's velocity change per second, and whether it blows north; false when there is none.
bool GetWindPush(const GameObject& wind, Vector3* push, bool* blowsNorth);
