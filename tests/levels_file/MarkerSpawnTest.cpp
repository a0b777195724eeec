#include <algorithm>

#include "actors/GOEnemy.h"
#include "actors/GOWind.h"
#include "actors/PatrolSegment.h"
#include "graphics/Renderer.h"
#include "levels/LevelSpawn.h"
#include "levels_file/LevelTesting.h"

namespace {

bool IsCollidable(const GameObject* object) {
    const std::vector<GameObject*>& list = GetScene().GetCollidables();
    return std::find(list.begin(), list.end(), object) != list.end();
}

// Loads the level, realises its markers and lets the scene take them in, as a level state's
// first frame does; the markers' boxes are then where the collision pass sees them.
void LoadAndSpawn(LevelTest& test, const std::string& text) {
    ASSERT_TRUE(test.Load(text));
    SpawnFromMarkers();
    GetScene().FlushObjectQueues();
    for (GameObject* object : GetScene().GetCollidables()) {
        object->GetComponent<Collider>()->Update();
    }
}

std::vector<GOWind*> ActiveWinds() {
    std::vector<GOWind*> winds;
    for (GOWind* wind : GetScene().GetWindPool().GetObjects()) {
        if (wind->IsActive()) {
            winds.push_back(wind);
        }
    }
    return winds;
}

void ExpectSolidInvisibleBox(const GOCollider& marker, float left, float right) {
    EXPECT_TRUE(marker.IsActive());
    EXPECT_FALSE(marker.placed);
    EXPECT_FLOAT_EQ(marker.GetComponent<Renderer>()->GetAlpha(), 0.0f);
    const Collider* collider = marker.GetComponent<Collider>();
    ASSERT_NE(collider, nullptr);
    EXPECT_FALSE(collider->nonSolid);
    EXPECT_TRUE(IsCollidable(&marker));
    EXPECT_FLOAT_EQ(collider->box.center.x - collider->box.width / 2.0f, left);
    EXPECT_FLOAT_EQ(collider->box.center.x + collider->box.width / 2.0f, right);
}

}  // namespace

TEST_F(LevelTest, ATileMarkerBecomesAnInvisibleSolidBoxOfItsSize) {
    LoadAndSpawn(*this, "1,0,0,0,1\nCollider\nTILE,4,2,10,-1,1\n");
    ASSERT_EQ(markers.size(), 1u);
    ExpectSolidInvisibleBox(*markers[0], 8.0f, 12.0f);
    const Collider* collider = markers[0]->GetComponent<Collider>();
    EXPECT_FLOAT_EQ(collider->box.center.y - collider->box.height / 2.0f, -2.0f);
    EXPECT_FLOAT_EQ(collider->box.center.y + collider->box.height / 2.0f, 0.0f);
}

TEST_F(LevelTest, CinematicAreasAndUnknownNamesStayAsBoxesToo) {
    LoadAndSpawn(*this, "Collider\nCIN,2,2,0,0,1\nSWAMP,4,2,10,0,1\n,4,2,20,0,1\n");
    ASSERT_EQ(markers.size(), 3u);
    ExpectSolidInvisibleBox(*markers[0], -1.0f, 1.0f);
    ExpectSolidInvisibleBox(*markers[1], 8.0f, 12.0f);
    ExpectSolidInvisibleBox(*markers[2], 18.0f, 22.0f);
    EXPECT_TRUE(ActiveWinds().empty());
}

TEST_F(LevelTest, AFlyingEnemyMarkerWaitsAsABoxForLirra) {
    LoadAndSpawn(*this, "Collider\nENEMY FLYING,6,6,30,5,1\n");
    ASSERT_EQ(markers.size(), 1u);
    ExpectSolidInvisibleBox(*markers[0], 27.0f, 33.0f);
    EXPECT_EQ(markers[0]->markerName, "ENEMY FLYING");
}

TEST_F(LevelTest, ABasicEnemyMarkerGivesUpItsBoxAndPatrolsHalfAUnitPastItsEnds) {
    LoadAndSpawn(*this, "Collider\nENEMY NORMAL,4,1,10,2,1\n");
    ASSERT_EQ(markers.size(), 1u);
    const GOCollider& marker = *markers[0];
    EXPECT_EQ(marker.GetComponent<Collider>(), nullptr);
    EXPECT_FALSE(IsCollidable(&marker));
    EXPECT_FALSE(marker.placed);
    EXPECT_FLOAT_EQ(marker.GetComponent<Renderer>()->GetAlpha(), 0.0f);

    const PatrolPoints patrol = BasicEnemyPatrol(marker, 3.0f);
    EXPECT_EQ(patrol.left, Vector3(7.5f, 3.5f, 0.0f));
    EXPECT_EQ(patrol.right, Vector3(12.5f, 3.5f, 0.0f));

    std::vector<GOEnemy*> enemies;
    for (GOEnemy* enemy : GetScene().GetEnemyPool().GetObjects()) {
        if (enemy->IsActive()) {
            enemies.push_back(enemy);
        }
    }
    ASSERT_EQ(enemies.size(), 1u);
    const GOEnemy& enemy = *enemies[0];
    EXPECT_EQ(enemy.enemyKind, ENEMY_BASIC);
    ASSERT_NE(enemy.patrolPath, nullptr);
    const float from = std::min(enemy.patrolPath->start.x, enemy.patrolPath->end.x);
    const float to = std::max(enemy.patrolPath->start.x, enemy.patrolPath->end.x);
    EXPECT_FLOAT_EQ(from, 7.5f);
    EXPECT_FLOAT_EQ(to, 12.5f);
}

TEST_F(LevelTest, ANorthWindMarkerBecomesAnUpwardWindOfItsStrength) {
    LoadAndSpawn(*this, "Collider\nWIND NORTH,4,6,20.5,3,2.5\n");
    ASSERT_EQ(markers.size(), 1u);
    EXPECT_EQ(markers[0]->GetComponent<Collider>(), nullptr) << "the wind, not the marker, holds the box";
    EXPECT_FALSE(IsCollidable(markers[0]));
    const std::vector<GOWind*> winds = ActiveWinds();
    ASSERT_EQ(winds.size(), 1u);
    const GOWind& wind = *winds[0];
    EXPECT_EQ(wind.windDirection, WIND_NORTH);
    EXPECT_FLOAT_EQ(wind.strength, 2.5f);
    EXPECT_EQ(wind.GetPush(), Vector3(0.0f, 2.5f, 0.0f));
    EXPECT_EQ(wind.GetTransform().GetPosition(), Vector3(20.5f, 3.0f, 1.0f));
    EXPECT_FLOAT_EQ(wind.GetTransform().GetScale().x, 4.0f);
    EXPECT_FLOAT_EQ(wind.GetTransform().GetScale().y, 6.0f);
    EXPECT_TRUE(IsCollidable(&wind));
}

TEST_F(LevelTest, WindsStackInDepthFromOneInEveryLevel) {
    LoadAndSpawn(*this, "Collider\nWIND EAST,2,2,0,0,1\nTILE,1,1,0,0,1\nWIND WEST,2,2,5,0,3\n");
    std::vector<GOWind*> winds = ActiveWinds();
    ASSERT_EQ(winds.size(), 2u);
    std::sort(winds.begin(), winds.end(), [](const GOWind* a, const GOWind* b) {
        return a->GetTransform().GetPosition().z < b->GetTransform().GetPosition().z;
    });
    // Markers are realised in pool order, which need not be the file's.
    EXPECT_EQ(winds[0]->GetTransform().GetPosition().z, 1.0f);
    EXPECT_EQ(winds[1]->GetTransform().GetPosition().z, 2.0f);
    for (const GOWind* wind : winds) {
        const bool east = wind->GetTransform().GetPosition().x == 0.0f;
        EXPECT_EQ(wind->GetPush(), east ? Vector3(1.0f, 0.0f, 0.0f) : Vector3(-3.0f, 0.0f, 0.0f));
    }

    // The next level counts again from one.
    EmptyTheScene();
    LoadAndSpawn(*this, "Collider\nWIND SOUTH,2,2,0,0,1\n");
    winds = ActiveWinds();
    ASSERT_EQ(winds.size(), 1u);
    EXPECT_EQ(winds[0]->GetTransform().GetPosition().z, 1.0f);
    EXPECT_EQ(winds[0]->GetPush(), Vector3(0.0f, -1.0f, 0.0f));
}

TEST_F(LevelTest, OnlyTheFourWindNamesChooseADirection) {
    int direction = 7;
    EXPECT_TRUE(FindWindDirection("WIND WEST", &direction));
    EXPECT_EQ(direction, WIND_WEST);
    EXPECT_FALSE(FindWindDirection("WIND NORTH EAST", &direction));
    EXPECT_FALSE(FindWindDirection("wind north", &direction));
    EXPECT_EQ(direction, WIND_WEST);
    EXPECT_TRUE(IsWindMarker("STRONG WIND NORTH EAST"));
    EXPECT_FALSE(IsWindMarker("wind"));
}

TEST_F(LevelTest, AWindOfAnotherNameKeepsTheDirectionItHad) {
    LoadAndSpawn(*this, "Collider\nWINDY,2,2,0,0,2\n");
    const std::vector<GOWind*> winds = ActiveWinds();
    ASSERT_EQ(winds.size(), 1u);
    EXPECT_FLOAT_EQ(winds[0]->strength, 2.0f);
    EXPECT_EQ(markers[0]->GetComponent<Collider>(), nullptr);
}

TEST_F(LevelTest, OnlyPlacedMarkersAreRealisedAndEachOnlyOnce) {
    LoadAndSpawn(*this, "Collider\nWIND NORTH,2,2,0,0,1\n");
    ASSERT_EQ(ActiveWinds().size(), 1u);
    SpawnFromMarkers();
    GetScene().FlushObjectQueues();
    EXPECT_EQ(ActiveWinds().size(), 1u);
}

TEST_F(LevelTest, AMarkerReusedFromAnEarlierLevelShowsAgainAndGetsItsBoxBack) {
    // A first load grows the pool, so both loads below are handed its first marker.
    ASSERT_TRUE(Load("Collider\nTILE,1,1,0,0,1\n"));
    EmptyTheScene();
    GetScene().ClearPlacedMarkers();
    LoadAndSpawn(*this, "Collider\nWIND NORTH,2,2,0,0,1\n");
    GOCollider* first = markers[0];
    EmptyTheScene();
    GetScene().ClearPlacedMarkers();
    ASSERT_TRUE(Load("Collider\nTILE,2,2,0,0,1\n"));
    ASSERT_EQ(markers[0], first) << "the pool hands the same marker out again";
    EXPECT_NE(first->GetComponent<Collider>(), nullptr);
    EXPECT_FLOAT_EQ(first->GetComponent<Renderer>()->GetAlpha(), GOCollider::kMarkerAlpha);
}
