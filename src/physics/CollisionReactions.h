#pragma once

#include "math/Vector.h"

class GameObject;

// What the player's collision pass asks of the kinds of object it meets. Each kind's class brings
// the real answer with it; until then the answer is the one of a kind that is not there: nobody
// is in range, no marker spawns, no wind pushes.

// GOInteractable::OnPlayerOverlap(inside): called with false, then with true while in range.
void ReportPlayerOverlap(GameObject& interactable, bool inside);

// A collider marker (kind 2) whose markerName is "ENEMY FLYING".
bool IsFlyingEnemyMarker(const GameObject& marker);

// Takes an enemy from the scene, sets it up as a flying enemy at `position` and activates it.
void SpawnFlyingEnemy(const Vector3& position);

// A wind's velocity change per second, and whether it blows north; false when there is none.
bool GetWindPush(const GameObject& wind, Vector3* push, bool* blowsNorth);
