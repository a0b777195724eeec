#include <algorithm>
#include <cmath>

#include "actors/FlyingEnemyStates.h"
#include "levels/GOCollider.h"
#include "math/MathUtil.h"
#include "physics/Rigidbody.h"

#include "EnemyTesting.h"
#include "actors/GOHitbox.h"
#include "physics/Collider.h"

namespace {

using FlyingEnemyTest = EnemyTest;

float HeadingDegrees(const GOEnemy* enemy) {
    return RadToDeg(std::atan2(enemy->direction.y, enemy->direction.x));
}

float TurnBetween(float fromDegrees, float toDegrees) {
    float turn = std::fmod(toDegrees - fromDegrees + 540.0f, 360.0f) - 180.0f;
    return std::fabs(turn);
}

Vector3 At(const GOEnemy* enemy) {
    return enemy->GetTransform().GetPosition();
}

// A flying-enemy marker of 2 x 2 units, switched on.
GOCollider* FlyingMarkerAt(const Vector3& at) {
    GOCollider* marker = GetScene().GetCollider();
    marker->markerName = "ENEMY FLYING";
    marker->GetTransform().SetPosition(at);
    marker->GetTransform().SetScale(2.0f, 2.0f, 1.0f);
    marker->GetComponent<Collider>()->Update();
    marker->SetActive(true);
    return marker;
}

TEST(FlyingTurnRateTest, ProportionalToTheAngleCappedAtSixtyAndSignedByLirrasSide) {
    EXPECT_FLOAT_EQ(FlyingTurnRate(0.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(FlyingTurnRate(5.0f, 1.0f), 20.0f);
    EXPECT_FLOAT_EQ(FlyingTurnRate(5.0f, -1.0f), -20.0f);
    EXPECT_FLOAT_EQ(FlyingTurnRate(15.0f, 1.0f), 60.0f);
    EXPECT_FLOAT_EQ(FlyingTurnRate(90.0f, -0.3f), -60.0f);
    EXPECT_FLOAT_EQ(FlyingTurnRate(180.0f, 0.0f), 60.0f);
    const Vector3 turned = RotateAboutZ(Vector3(1.0f, 0.0f, 0.0f), 90.0f);
    EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.y, 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(turned.z, 0.0f);
}

TEST_F(FlyingEnemyTest, SetupHeadsForLirraWithNoBoxATrailAndTheFadeInState) {
    StartLevel(0.0f);
    GOEnemy* enemy = SpawnFlyer(3.0f, 5.45f);
    EXPECT_EQ(enemy->enemyKind, ENEMY_FLYING);
    EXPECT_EQ(enemy->GetComponent<Collider>(), nullptr);
    EXPECT_FLOAT_EQ(enemy->localTimeScale, 10.0f);
    EXPECT_EQ(enemy->health, 1);
    EXPECT_FLOAT_EQ(enemy->GetTransform().GetScale().x, 2.0f);
    EXPECT_FLOAT_EQ(enemy->GetTransform().GetScale().z, 1.0f);
    const Vector3 toLirra = lirra.GetTransform().GetPosition() - Vector3(3.0f, 5.45f, 0.0f);
    EXPECT_NEAR(enemy->direction.x, toLirra.x / toLirra.Length(), 1e-3f);
    EXPECT_NEAR(enemy->direction.y, toLirra.y / toLirra.Length(), 1e-3f);
    EXPECT_FLOAT_EQ(enemy->direction.z, 0.0f);
    EXPECT_EQ(StateOf(enemy), "SPAWN_FE");
    EXPECT_EQ(enemy->GetComponent<AnimationRenderer>()->GetFrameCount(), 4);
    ASSERT_NE(enemy->emitterId, -1);
    const Emitter* trail = GetParticleSystem().FindEmitter(enemy->emitterId);
    ASSERT_NE(trail, nullptr);
    EXPECT_EQ(trail->target, &enemy->GetTransform());
    EXPECT_TRUE(trail->keepAlive);
}

TEST_F(FlyingEnemyTest, ItFadesInMotionlessForAThirdOfASecondThenFliesAtTenUnitsASecond) {
    StartLevel(0.0f);
    GOEnemy* enemy = SpawnFlyer(8.0f, 1.45f);
    const Vector3 start = At(enemy);
    float lastAlpha = -1.0f;
    const int fade = FramesUntil(
        [&] {
            if (StateOf(enemy) != "SPAWN_FE") {
                return true;
            }
            EXPECT_FLOAT_EQ(At(enemy).x, start.x);
            EXPECT_FLOAT_EQ(At(enemy).y, start.y);
            const float alpha = enemy->GetComponent<AnimationRenderer>()->GetAlpha();
            EXPECT_GE(alpha, lastAlpha);
            lastAlpha = alpha;
            return false;
        },
        60);
    EXPECT_NEAR(fade * kFrame, 1.0f / 3.0f, 2.5f * kFrame);
    EXPECT_FLOAT_EQ(enemy->GetComponent<AnimationRenderer>()->GetAlpha(), 1.0f);
    ASSERT_NE(enemy->attackHitbox, nullptr);
    EXPECT_EQ(enemy->attackHitbox->hitboxKind, HITBOX_FLYING_CONTACT);
    EXPECT_TRUE(enemy->attackHitbox->IsActive());

    Vector3 last = At(enemy);
    for (int i = 0; i < 10; ++i) {
        Frame();
        EXPECT_NEAR((At(enemy) - last).Length(), 10.0f * kFrame, 1e-3f);
        last = At(enemy);
    }
}

TEST_F(FlyingEnemyTest, ItNeverTurnsFasterThanSixtyDegreesASecond) {
    StartLevel(0.0f);
    HoldLirraStill(false);
    GOEnemy* enemy = SpawnFlyer(-3.0f, 1.45f);
    enemy->direction = Vector3(-1.0f, 0.0f, 0.0f);  // flying straight away from her
    FramesUntil([&] { return StateOf(enemy) == "IDLE_FE"; }, 60);
    float heading = HeadingDegrees(enemy);
    float fastest = 0.0f;
    for (int i = 0; i < 120 && enemy->IsActive(); ++i) {
        Frame();
        fastest = std::max(fastest, TurnBetween(heading, HeadingDegrees(enemy)));
        heading = HeadingDegrees(enemy);
    }
    EXPECT_LE(fastest, 60.0f * kFrame + 1e-3f);
    EXPECT_GE(fastest, 60.0f * kFrame - 1e-3f);
}

TEST_F(FlyingEnemyTest, TheSpriteFlipsExactlyWhenTheHeadingCrossesTheVertical) {
    StartLevel(0.0f);
    HoldLirraStill(false);
    GOEnemy* enemy = SpawnFlyer(-2.0f, 9.0f);
    enemy->direction = Vector3(1.0f, 0.0f, 0.0f);
    FramesUntil([&] { return StateOf(enemy) == "IDLE_FE"; }, 60);
    bool facedLeft = false;
    for (int i = 0; i < 90 && enemy->IsActive(); ++i) {
        Frame();
        const bool right = enemy->GetTransform().GetScale().x > 0.0f;
        EXPECT_EQ(right, enemy->direction.x >= 0.0f) << "frame " << i;
        facedLeft = facedLeft || !right;
    }
    EXPECT_TRUE(facedLeft);
}

TEST_F(FlyingEnemyTest, ItVanishesWithItsTrailOnceMoreThanTwentyUnitsAwayAtZoomOne) {
    StartLevel(0.0f);
    HoldLirraStill(false);
    GOEnemy* near = SpawnFlyer(15.0f, 1.45f);
    GOEnemy* far = SpawnFlyer(0.0f, 1.45f + 20.5f);
    const int farTrail = far->emitterId;
    Frames(30);
    EXPECT_TRUE(near->IsActive());
    EXPECT_FALSE(far->IsActive());
    EXPECT_EQ(far->emitterId, -1);
    EXPECT_EQ(GetParticleSystem().FindEmitter(farTrail), nullptr);
    EXPECT_NE(GetParticleSystem().FindEmitter(near->emitterId), nullptr);

    // Thrown far out on any one frame, it goes at once.
    near->GetTransform().SetPosition(lirra.GetTransform().GetPosition() + Vector3(-20.3f, 0.0f, 0.0f));
    Frames(2);
    EXPECT_FALSE(near->IsActive());
    EXPECT_EQ(GetParticleSystem().CountEmitters(), 0u);
    EXPECT_FALSE(near->attackHitbox != nullptr);
}

TEST_F(FlyingEnemyTest, ItHurtsLirraOnContactFliesOnAndCannotBeHurt) {
    StartLevel(0.0f);
    HoldLirraStill(true);
    GOEnemy* enemy = SpawnFlyer(6.0f, 1.45f);
    FramesUntil([&] { return lirra.GetHealth() < 100.0f; }, 120);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 75.0f);
    Frame();
    EXPECT_TRUE(enemy->IsActive());
    EXPECT_EQ(StateOf(enemy), "IDLE_FE");

    GOHitbox* blow = GetScene().GetHitbox();
    blow->Init(HITBOX_HEAVY_ATTACK, nullptr);
    blow->GetTransform().SetPosition(At(enemy));
    blow->GetTransform().SetScale(4.0f, 4.0f, 1.0f);
    blow->GetComponent<Collider>()->Update();
    HitCheck(blow);
    EXPECT_EQ(enemy->health, 1);
}

TEST_F(FlyingEnemyTest, AFlyingMarkerReleasesOneSpiritWithinFifteenUnitsWhenLirraTouchesIt) {
    StartLevel(0.0f);
    GOCollider* marker = FlyingMarkerAt(lirra.GetTransform().GetPosition());
    Frames(3);
    EXPECT_FALSE(marker->IsActive());
    int flyers = 0;
    for (const GOEnemy* enemy : GetScene().GetEnemyPool().GetObjects()) {
        if (enemy->IsActive() && enemy->enemyKind == ENEMY_FLYING) {
            ++flyers;
            EXPECT_LE(std::fabs(At(enemy).x - marker->GetTransform().GetPosition().x), 15.5f);
            EXPECT_LE(std::fabs(At(enemy).y - marker->GetTransform().GetPosition().y), 15.5f);
        }
    }
    EXPECT_EQ(flyers, 1);
}

TEST_F(FlyingEnemyTest, ASpiritReleasedIntoAnEnemyStillListedLeavesNoBoxOfTheFrameUnchecked) {
    StartLevel(0.0f);
    HoldLirraStill(false);
    // Every enemy of the pool walks far away, so the spirit takes the first that falls.
    while (GetScene().GetEnemyPool().Size() == 0 ||
           std::any_of(GetScene().GetEnemyPool().GetObjects().begin(), GetScene().GetEnemyPool().GetObjects().end(),
                       [](const GOEnemy* e) { return !e->IsActive(); })) {
        SpawnWalker(150.0f, 160.0f);
    }
    GOEnemy* falling = GetScene().GetEnemyPool().GetObjects().front();
    ASSERT_NE(falling->GetComponent<Collider>(), nullptr);
    GOCollider* marker = FlyingMarkerAt(lirra.GetTransform().GetPosition());
    // A wall she presses into, listed after the marker.
    const Vector3 at = lirra.GetTransform().GetPosition();
    MakeBox(at.x + 0.9f, at.y, 1.0f, 4.0f, KIND_TILE)->SetActive(true);

    // The scene's frame, with the walker falling during the updates: it leaves the lists only at
    // the next flush, and the released spirit reuses it during the pass.
    GetScene().FlushObjectQueues();
    falling->SetActive(false);
    lirra.GetComponent<Rigidbody>()->velocity.x = 3.0f;
    GetScene().UpdateObjects();
    ASSERT_FALSE(marker->IsActive()) << "the marker did not release its spirit";
    ASSERT_EQ(falling->enemyKind, ENEMY_FLYING);
    EXPECT_EQ(lirra.GetComponent<Rigidbody>()->velocity.x, 0.0f) << "the wall after the marker was skipped";
}

}  // namespace
