#pragma once

#include <string>

#include "math/Vector.h"

class GOCollider;

// The wind direction a marker name gives: "WIND NORTH" 0, "WIND EAST" 1, "WIND SOUTH" 2,
// "WIND WEST" 3. False for any other name, which leaves a wind's direction as it was.
bool FindWindDirection(const std::string& markerName, int* direction);

// Whether a marker of this name becomes a wind zone: any name that holds "WIND".
bool IsWindMarker(const std::string& markerName);

// The two points a basic enemy of an "ENEMY NORMAL" marker walks between: half a unit beyond
// each end of the box, with the enemy's feet (half its height below its centre) on the box's
// centre line.
struct PatrolPoints {
    Vector3 left;
    Vector3 right;
};
PatrolPoints BasicEnemyPatrol(const GOCollider& marker, float enemyHeight);

// Realises the placed markers of a loaded level (tiles, enemies, winds, cinematic triggers) in the
// scene and clears their `placed`.
void SpawnFromMarkers();
