#include <gtest/gtest.h>

#include "scene/SceneTesting.h"

namespace {

constexpr float kStep = 1.0f / 60.0f;

class RigidbodyTest : public testing::Test {
protected:
    void SetUp() override {
        UseFrameStep(1.0 / 60.0);
        body = object.AddComponent<Rigidbody>();
        object.AddComponent<Collider>();
    }

    GameObject object{KIND_PLAYER};
    Rigidbody* body = nullptr;
};

}  // namespace

TEST_F(RigidbodyTest, OneFrameInTheAirFromRest) {
    ASSERT_TRUE(body->airborne);
    object.GetTransform().SetPosition(2.0f, 3.0f, 4.0f);
    body->Update();
    EXPECT_FLOAT_EQ(body->velocity.y, -0.367875f);
    EXPECT_FLOAT_EQ(object.GetTransform().GetPosition().y, 3.0f + body->velocity.y * kStep);
    EXPECT_EQ(object.GetTransform().GetPosition().x, 2.0f);
    EXPECT_EQ(object.GetTransform().GetPosition().z, 4.0f);
}

TEST_F(RigidbodyTest, AStandingPlayerSlowsByGroundFrictionAndPressesDown) {
    body->airborne = false;
    body->velocity = Vector3(4.0f, -22.0725f, 0.0f);
    body->acceleration = Vector3(3.0f, 5.0f, 0.0f);
    body->Update();
    // This frame's push still counts; friction then clears it.
    const float firstFrame = (4.0f + 3.0f * kStep) * 0.87f;
    EXPECT_FLOAT_EQ(body->velocity.x, firstFrame);
    EXPECT_EQ(body->acceleration.x, 0.0f);
    EXPECT_EQ(body->acceleration.y, 0.0f);
    EXPECT_FLOAT_EQ(body->velocity.y, -9.81f * kStep);
    body->Update();
    EXPECT_FLOAT_EQ(body->velocity.x, firstFrame * 0.87f);

    // Driving keeps the speed; other bodies rest at zero on the ground.
    body->moving = true;
    body->Update();
    EXPECT_FLOAT_EQ(body->velocity.x, firstFrame * 0.87f);
    object.objectKind = KIND_ENEMY;
    body->Update();
    EXPECT_EQ(body->velocity.y, 0.0f);
}

TEST_F(RigidbodyTest, RisingDampsVelocityAndHalvesTheLift) {
    body->velocity = Vector3(0.0f, 5.0f, 0.0f);
    body->acceleration = Vector3(0.0f, 8.0f, 0.0f);
    body->Update();
    EXPECT_FLOAT_EQ(body->acceleration.y, 4.0f);
    const float first = (5.0f - 0.367875f) * 0.99f + 4.0f * kStep;
    EXPECT_FLOAT_EQ(body->velocity.y, first);
    body->Update();
    EXPECT_FLOAT_EQ(body->acceleration.y, 2.0f);
    EXPECT_FLOAT_EQ(body->velocity.y, (first - 0.367875f) * 0.99f + 2.0f * kStep);

    // Once falling, the lift is no longer damped.
    body->velocity = Vector3(0.0f, 0.1f, 0.0f);
    body->Update();
    EXPECT_EQ(body->acceleration.y, 2.0f);
    EXPECT_FLOAT_EQ(body->velocity.y, 0.1f - 0.367875f + 2.0f * kStep);
}

TEST_F(RigidbodyTest, GlidingCutsTheFallByATenthEachFrameAndSettles) {
    body->gliding = true;
    body->velocity = Vector3(0.0f, -2.0f, 0.0f);
    body->Update();
    EXPECT_FLOAT_EQ(body->velocity.y, (-2.0f - 0.367875f) * 0.9f);
    for (int i = 0; i < 300; ++i) {
        body->Update();
    }
    EXPECT_NEAR(body->velocity.y, 9.0f * -22.0725f * kStep, 1e-4f);
    // Rising while gliding is left alone.
    body->velocity = Vector3(0.0f, 3.0f, 0.0f);
    body->acceleration = Vector3(0.0f, 2.0f, 0.0f);
    body->Update();
    EXPECT_FLOAT_EQ(body->velocity.y, 3.0f - 0.367875f + 2.0f * kStep);
    EXPECT_EQ(body->acceleration.y, 2.0f);
}

TEST_F(RigidbodyTest, AZeroTimeScaleFreezesTheBodyWhileItsVelocityEvolves) {
    object.localTimeScale = 0.0f;
    object.GetTransform().SetPosition(1.0f, 1.0f, 0.0f);
    for (int i = 0; i < 10; ++i) {
        body->Update();
    }
    EXPECT_EQ(object.GetTransform().GetPosition(), Vector3(1.0f, 1.0f, 0.0f));
    EXPECT_NEAR(body->velocity.y, -0.367875f * 10.0f, 1e-4f);
    object.localTimeScale = 0.5f;
    const float vy = body->velocity.y;
    body->Update();
    EXPECT_FLOAT_EQ(object.GetTransform().GetPosition().y, 1.0f + (vy - 0.367875f) * kStep * 0.5f);
}

TEST_F(RigidbodyTest, LandingStopsTheGlideAndLeavesTheLandingVelocity) {
    object.GetTransform().SetPosition(0.0f, 1.0f, 0.0f);
    Collider* collider = object.GetComponent<Collider>();
    collider->box.offset = Vector3(0.0f, -0.7f, 0.0f);
    body->gliding = true;
    body->velocity = Vector3(1.0f, -3.0f, 0.0f);
    body->Resolve(0.01f, HIT_GROUND);
    EXPECT_FLOAT_EQ(object.GetTransform().GetPosition().y, 1.03f);
    EXPECT_FALSE(body->airborne);
    EXPECT_FALSE(body->gliding);
    EXPECT_FLOAT_EQ(body->velocity.y, -22.0725f);
    EXPECT_EQ(body->velocity.x, 1.0f);
    // The box follows at once.
    EXPECT_FLOAT_EQ(collider->box.center.y, 1.03f - 0.7f);
}

TEST_F(RigidbodyTest, WallsStopSidewaysAndCeilingsStopUpwards) {
    body->velocity = Vector3(2.0f, 4.0f, 0.0f);
    body->Resolve(0.1f, HIT_WALL_RIGHT);
    EXPECT_FLOAT_EQ(object.GetTransform().GetPosition().x, -0.2f);
    EXPECT_EQ(body->velocity.x, 0.0f);
    body->Resolve(0.1f, HIT_CEILING);
    EXPECT_FLOAT_EQ(object.GetTransform().GetPosition().y, -0.4f);
    EXPECT_EQ(body->velocity.y, 0.0f);
    EXPECT_TRUE(body->airborne);

    body->velocity = Vector3(2.0f, 4.0f, 0.0f);
    body->Resolve(0.1f, 7);
    EXPECT_EQ(body->velocity, Vector3(2.0f, 4.0f, 0.0f));
    EXPECT_FLOAT_EQ(object.GetTransform().GetPosition().x, -0.2f);
}

TEST(ColliderBoxes, FollowTheirObjectAndReturnToAUnitBoxWhenFreed) {
    GameObject object;
    Collider* collider = object.AddComponent<Collider>();
    collider->box.offset = Vector3(0.0f, -0.7f, 0.0f);
    collider->box.widthFactor = 0.3f;
    collider->box.heightFactor = 0.5f;
    object.GetTransform().SetPosition(2.0f, 3.0f, 5.0f);
    object.GetTransform().SetScale(-3.0f, 3.0f, 1.0f);
    collider->Update();
    EXPECT_EQ(collider->box.center, Vector3(2.0f, 2.3f, 5.0f));
    EXPECT_FLOAT_EQ(collider->box.width, 0.9f);
    EXPECT_FLOAT_EQ(collider->box.height, 1.5f);
    collider->Free();
    EXPECT_EQ(collider->box.offset, Vector3());
    EXPECT_EQ(collider->box.width, 1.0f);
    EXPECT_EQ(collider->box.widthFactor, 1.0f);
    EXPECT_EQ(collider->box.heightFactor, 1.0f);
}
