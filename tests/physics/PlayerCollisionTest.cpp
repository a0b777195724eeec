#include <gtest/gtest.h>

#include <cmath>

#include "physics/PlayerCollision.h"
#include "scene/SceneTesting.h"

namespace {

constexpr float kStep = 1.0f / 60.0f;

// Lirra as a unit box, in a scene of boxes, with frames of 1/60 s.
class PlayerCollisionTest : public testing::Test {
protected:
    void SetUp() override {
        EmptyTheScene();
        ResetPlayer();
        UseFrameStep(1.0 / 60.0);
        GetPlayer().SetActive(true);
    }
    void TearDown() override {
        EmptyTheScene();
        ResetPlayer();
    }

    GameObject* AddBox(float x, float y, float width, float height, int kind = KIND_TILE_COLLIDER) {
        GameObject* box = MakeBox(x, y, width, height, kind);
        box->SetActive(true);
        return box;
    }

    void PlaceLirra(float x, float y) {
        player.GetTransform().SetPosition(x, y, 0.0f);
        player.GetComponent<Collider>()->Update();
    }

    // The scene's own frame: flush, updates (Lirra moves), then the collision pass.
    void RunFrame() {
        GetScene().FlushObjectQueues();
        GetScene().UpdateObjects();
    }

    float Bottom() const { return lirraBox().center.y - lirraBox().height / 2.0f; }
    const ColliderBox& lirraBox() const { return player.GetComponent<Collider>()->box; }

    Player& player = GetPlayer();
    Rigidbody* body = GetPlayer().GetComponent<Rigidbody>();
};

}  // namespace

TEST_F(PlayerCollisionTest, FallingOntoAFloorLandsAndStaysStanding) {
    AddBox(0.0f, -0.5f, 20.0f, 1.0f);
    PlaceLirra(0.0f, 1.0f);
    int frames = 0;
    while (body->airborne && frames < 120) {
        RunFrame();
        ++frames;
    }
    ASSERT_FALSE(body->airborne) << "never landed";
    EXPECT_FLOAT_EQ(body->velocity.y, -22.0725f);
    EXPECT_GT(Bottom(), 0.0f);
    EXPECT_LT(Bottom(), 0.01f);
    // The box was refreshed by the push-back, not only at the next update.
    EXPECT_FLOAT_EQ(lirraBox().center.y, player.GetTransform().GetPosition().y);

    // A fast landing leaves her 0.002 s of fall speed above the floor: she may drop for a frame
    // or two more before the light standing press finds the floor every frame.
    for (int i = 0; i < 5; ++i) {
        RunFrame();
    }
    for (int i = 0; i < 120; ++i) {
        RunFrame();
        ASSERT_FALSE(body->airborne) << "frame " << i;
        ASSERT_FLOAT_EQ(body->velocity.y, -22.0725f);
    }
    EXPECT_NEAR(Bottom(), 0.0f, 0.001f);
}

TEST_F(PlayerCollisionTest, WalkingIntoAWallWhileStandingStopsHerAndKeepsHerGrounded) {
    AddBox(0.0f, -0.5f, 20.0f, 1.0f);
    AddBox(2.0f, 2.0f, 1.0f, 4.0f);  // left face at x = 1.5
    PlaceLirra(0.0f, 0.501f);
    RunFrame();
    ASSERT_FALSE(body->airborne);

    body->moving = true;
    for (int i = 0; i < 60; ++i) {
        body->velocity.x = 3.0f;
        RunFrame();
    }
    EXPECT_FALSE(body->airborne);
    EXPECT_EQ(body->velocity.x, 0.0f);
    const float right = lirraBox().center.x + lirraBox().width / 2.0f;
    EXPECT_LT(right, 1.5f);
    EXPECT_GT(right, 1.49f);
}

TEST_F(PlayerCollisionTest, JumpingIntoACeilingStopsTheRiseAndStaysAirborne) {
    AddBox(0.0f, 2.5f, 20.0f, 1.0f);  // bottom face at y = 2
    PlaceLirra(0.0f, 1.45f);
    body->velocity.y = 6.0f;
    RunFrame();
    EXPECT_EQ(body->velocity.y, 0.0f);
    EXPECT_TRUE(body->airborne);
    EXPECT_LT(lirraBox().center.y + 0.5f, 2.0f);
}

TEST_F(PlayerCollisionTest, AFrameWithOnlyAWallContactEndsAirborne) {
    AddBox(0.0f, -0.5f, 20.0f, 1.0f);
    GameObject* wall = AddBox(2.0f, 2.0f, 1.0f, 4.0f);
    PlaceLirra(0.0f, 0.501f);
    RunFrame();
    ASSERT_FALSE(body->airborne);

    // The floor goes; she is now beside the wall, pressing into it, with nothing below.
    EmptyTheScene();
    wall->SetActive(true);
    PlaceLirra(0.99f, 0.5f);
    body->velocity.x = 3.0f;
    body->moving = true;
    RunFrame();
    EXPECT_EQ(body->velocity.x, 0.0f);
    EXPECT_TRUE(body->airborne);
}

TEST_F(PlayerCollisionTest, WithNothingToCollideTheAirborneFlagIsLeftAsItWas) {
    PlaceLirra(0.0f, 0.0f);
    body->airborne = false;
    GetScene().FlushObjectQueues();
    ASSERT_TRUE(GetScene().GetCollidables().empty());
    RunPlayerCollisionPass(player, GetScene().GetCollidables());
    EXPECT_FALSE(body->airborne);
}

TEST_F(PlayerCollisionTest, ANonSolidBoxNeitherBlocksNorGrounds) {
    GameObject* floor = AddBox(0.0f, -0.5f, 20.0f, 1.0f);
    floor->GetComponent<Collider>()->nonSolid = true;
    PlaceLirra(0.0f, 0.501f);
    for (int i = 0; i < 10; ++i) {
        RunFrame();
    }
    EXPECT_TRUE(body->airborne);
    EXPECT_LT(Bottom(), 0.0f);
    // It still counts for plain overlap tests.
    EXPECT_TRUE(Overlaps(lirraBox(), floor->GetComponent<Collider>()->box));
}

TEST_F(PlayerCollisionTest, WindsSoulsHitboxesAndInteractablesDoNotBlock) {
    for (int kind : {KIND_WIND, KIND_SOUL, KIND_HITBOX, KIND_INTERACTABLE}) {
        EmptyTheScene();
        ResetPlayer();
        GetPlayer().SetActive(true);
        AddBox(0.0f, -0.5f, 20.0f, 1.0f, kind);
        PlaceLirra(0.0f, 0.501f);
        for (int i = 0; i < 5; ++i) {
            RunFrame();
        }
        EXPECT_TRUE(body->airborne) << "kind " << kind;
        EXPECT_LT(Bottom(), 0.0f) << "kind " << kind;
    }
}

TEST_F(PlayerCollisionTest, EachBoxSeesTheCorrectionOfTheOneBefore) {
    // Two floors with the same top: after landing on the first she is just above the second.
    AddBox(-0.25f, -0.5f, 1.0f, 1.0f);
    AddBox(0.25f, -0.5f, 1.0f, 1.0f, KIND_TILE);
    PlaceLirra(0.0f, 0.501f);
    RunFrame();
    ASSERT_FALSE(body->airborne);
    const float afterTwo = player.GetTransform().GetPosition().y;

    EmptyTheScene();
    ResetPlayer();
    GetPlayer().SetActive(true);
    UseFrameStep(1.0 / 60.0);
    AddBox(-0.25f, -0.5f, 1.0f, 1.0f);
    PlaceLirra(0.0f, 0.501f);
    RunFrame();
    EXPECT_FLOAT_EQ(player.GetTransform().GetPosition().y, afterTwo);
}

TEST_F(PlayerCollisionTest, AnEnemyBoxComingDownOnHerNeverPushesHerIntoAWall) {
    // A boss hand slamming down onto her as she jumps and runs: it went deep into her box in one
    // step, and the push-back along her run would carry her into the arena's wall.
    AddBox(3.5f, 0.0f, 1.0f, 8.0f);               // the wall, its face at x = 3
    AddBox(0.25f, 1.0f, 4.5f, 4.0f, KIND_ENEMY);  // the hand, reaching to x = 2.5
    PlaceLirra(1.9f, 0.3f);
    ASSERT_FLOAT_EQ(lirraBox().width, 1.0f);
    body->velocity = Vector3(-10.0f, 14.7f, 0.0f);
    GetScene().FlushObjectQueues();
    RunPlayerCollisionPass(player, GetScene().GetCollidables());
    const float right = lirraBox().center.x + lirraBox().width / 2.0f;
    EXPECT_GT(lirraBox().center.x, 1.9f) << "the hand pushed her out along her run";
    EXPECT_LE(right, 3.0f) << "the hand pushed her into the wall";
    EXPECT_GT(right, 2.99f) << "she stops at the wall's face";
}

TEST_F(PlayerCollisionTest, AStillPlayerInsideABoxIsNeverMovedByANonFiniteAmount) {
    AddBox(0.0f, 0.0f, 4.0f, 4.0f);
    PlaceLirra(0.3f, 0.2f);
    body->velocity = Vector3(0.0f, 0.0f, 0.0f);
    RunPlayerCollisionPass(player, GetScene().GetCollidables());
    GetScene().FlushObjectQueues();
    RunPlayerCollisionPass(player, GetScene().GetCollidables());
    const Vector3 position = player.GetTransform().GetPosition();
    EXPECT_TRUE(std::isfinite(position.x));
    EXPECT_TRUE(std::isfinite(position.y));
    EXPECT_FLOAT_EQ(position.x, 0.3f);
    EXPECT_FLOAT_EQ(position.y, 0.2f);
}

TEST_F(PlayerCollisionTest, AnInactiveObjectLeavesTheCollisionListAtTheNextFlush) {
    GameObject* floor = AddBox(0.0f, -0.5f, 20.0f, 1.0f);
    AddBox(100.0f, 0.0f, 1.0f, 1.0f);  // with no box at all the flag would be left alone
    PlaceLirra(0.0f, 0.501f);
    RunFrame();
    ASSERT_FALSE(body->airborne);
    floor->SetActive(false);
    // Still listed for this frame's pass.
    GetScene().UpdateObjects();
    EXPECT_FALSE(body->airborne);
    RunFrame();
    EXPECT_TRUE(body->airborne);
}
