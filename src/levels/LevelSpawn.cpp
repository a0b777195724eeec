#include "levels/LevelSpawn.h"

#include "actors/GOEnemy.h"
#include "actors/GOWind.h"
#include "graphics/Renderer.h"
#include "levels/GOCollider.h"
#include "physics/Collider.h"
#include "physics/CollisionReactions.h"
#include "scene/SceneManager.h"

namespace {

constexpr float kPatrolOverhang = 0.5f;

void SpawnWind(SceneObjectManager& scene, const GOCollider& marker) {
    GOWind* wind = scene.GetWind();
    const Vector3 position = marker.GetTransform().GetPosition();
    wind->GetTransform().SetScale(marker.GetWidth(), marker.GetHeight(), 0.0f);
    wind->GetTransform().SetPosition(position.x, position.y, scene.NextWindDepth());
    wind->strength = marker.markerValue;
    FindWindDirection(marker.markerName, &wind->windDirection);
    wind->Init();
    wind->SetActive(true);
}

void SpawnBasicEnemy(SceneObjectManager& scene, const GOCollider& marker) {
    GOEnemy* enemy = scene.GetEnemy();
    const PatrolPoints patrol = BasicEnemyPatrol(marker, enemy->GetTransform().GetScale().y);
    enemy->Setup(patrol.left, patrol.right, ENEMY_BASIC);
    enemy->SetActive(true);
}

void RealiseMarker(SceneObjectManager& scene, GOCollider& marker) {
    if (Renderer* renderer = marker.GetComponent<Renderer>()) {
        renderer->SetAlpha(0.0f);
    }
    if (IsWindMarker(marker.markerName)) {
        SpawnWind(scene, marker);
        marker.RemoveComponent<Collider>();
        return;
    }
    MarkerType type = MARKER_TILE;
    FindMarkerType(marker.markerName, &type);
    switch (type) {
    case MARKER_ENEMY_NORMAL:
        SpawnBasicEnemy(scene, marker);
        marker.RemoveComponent<Collider>();
        break;
    case MARKER_TILE:
    case MARKER_CIN:
        marker.SetActive(true);
        break;
    default:
        // "ENEMY FLYING" waits, a solid box, for Lirra's collision pass to release its enemy.
        break;
    }
}

}  // namespace

bool FindWindDirection(const std::string& markerName, int* direction) {
    static const struct {
        const char* name;
        int direction;
    } kWinds[] = {
        {"WIND NORTH", WIND_NORTH},
        {"WIND EAST", WIND_EAST},
        {"WIND SOUTH", WIND_SOUTH},
        {"WIND WEST", WIND_WEST},
    };
    for (const auto& wind : kWinds) {
        if (markerName == wind.name) {
            *direction = wind.direction;
            return true;
        }
    }
    return false;
}

bool IsWindMarker(const std::string& markerName) {
    return markerName.find("WIND") != std::string::npos;
}

PatrolPoints BasicEnemyPatrol(const GOCollider& marker, float enemyHeight) {
    const Vector3 position = marker.GetTransform().GetPosition();
    const float halfWalk = marker.GetWidth() / 2.0f + kPatrolOverhang;
    const float feet = enemyHeight / 2.0f;
    return PatrolPoints{Vector3(position.x - halfWalk, position.y + feet, 0.0f),
                        Vector3(position.x + halfWalk, position.y + feet, 0.0f)};
}

void SpawnFromMarkers() {
    SceneObjectManager& scene = GetScene();
    scene.ResetWindDepth();
    const std::vector<GOCollider*>& markers = scene.GetMarkerPool().GetObjects();
    for (size_t i = 0; i < markers.size(); ++i) {
        GOCollider* marker = markers[i];
        if (!marker->placed) {
            continue;
        }
        RealiseMarker(scene, *marker);
        marker->placed = false;
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
