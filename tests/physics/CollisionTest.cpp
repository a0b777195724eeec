#include <gtest/gtest.h>

#include <cmath>

#include "physics/Collision.h"

namespace {

constexpr float kStep = 1.0f / 60.0f;

ColliderBox Box(float x, float y, float width, float height) {
    ColliderBox box;
    box.center = Vector3(x, y, 0.0f);
    box.width = width;
    box.height = height;
    return box;
}

}  // namespace

TEST(Overlaps, TouchingEdgesOverlapAndAnyGapDoesNot) {
    const ColliderBox unit = Box(0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Overlaps(unit, Box(1.0f, 0.0f, 1.0f, 1.0f)));
    EXPECT_TRUE(Overlaps(unit, Box(0.0f, -1.0f, 1.0f, 1.0f)));
    EXPECT_TRUE(Overlaps(unit, Box(1.0f, 1.0f, 1.0f, 1.0f)));
    EXPECT_FALSE(Overlaps(unit, Box(1.001f, 0.0f, 1.0f, 1.0f)));
    EXPECT_FALSE(Overlaps(unit, Box(0.0f, 1.001f, 1.0f, 1.0f)));
    // Containment is overlap, both ways.
    EXPECT_TRUE(Overlaps(unit, Box(0.0f, 0.0f, 10.0f, 10.0f)));
    EXPECT_TRUE(Overlaps(Box(0.0f, 0.0f, 10.0f, 10.0f), unit));
}

TEST(ComputeResolution, FallingOntoAFloorLandsOnItsTop) {
    // Apart along y before the step, already overlapping along x.
    const ColliderBox lirra = Box(0.0f, 0.49f, 1.0f, 1.0f);
    const ColliderBox floor = Box(0.0f, -0.5f, 10.0f, 1.0f);
    const Resolution r = ComputeResolution(lirra, Vector3(0.0f, -6.0f, 0.0f), floor, kStep);
    EXPECT_EQ(r.side, HIT_GROUND);
    EXPECT_NEAR(r.time, -0.01f / -6.0f + 0.002f, 1e-6f);
}

TEST(ComputeResolution, WalkingIntoAWallWhileStandingStrikesItsLeftFace) {
    // Standing: the floor-level overlap along y already existed, so only the x faces were apart.
    const ColliderBox lirra = Box(0.52f, 0.5f, 1.0f, 1.0f);
    const ColliderBox wall = Box(1.5f, 1.0f, 1.0f, 4.0f);
    const Resolution r = ComputeResolution(lirra, Vector3(3.0f, -9.81f * kStep, 0.0f), wall, kStep);
    EXPECT_EQ(r.side, HIT_WALL_RIGHT);
    EXPECT_NEAR(r.time, 0.02f / 3.0f + 0.002f, 1e-6f);

    const ColliderBox leftWall = Box(-1.5f, 1.0f, 1.0f, 4.0f);
    const Resolution left =
        ComputeResolution(Box(-0.52f, 0.5f, 1.0f, 1.0f), Vector3(-3.0f, -0.1635f, 0.0f), leftWall, kStep);
    EXPECT_EQ(left.side, HIT_WALL_LEFT);
    EXPECT_NEAR(left.time, -0.02f / -3.0f + 0.002f, 1e-6f);
}

TEST(ComputeResolution, JumpingIntoACeilingStrikesItsBottomFace) {
    const ColliderBox lirra = Box(0.0f, 1.02f, 1.0f, 1.0f);
    const ColliderBox ceiling = Box(0.0f, 2.0f, 10.0f, 1.0f);
    const Resolution r = ComputeResolution(lirra, Vector3(0.0f, 5.0f, 0.0f), ceiling, kStep);
    EXPECT_EQ(r.side, HIT_CEILING);
    EXPECT_NEAR(r.time, 0.02f / 5.0f + 0.002f, 1e-6f);
}

TEST(ComputeResolution, ApartAlongBothAxesPushesBackAlongTheFasterClosingAxis) {
    // Coming down onto a box's corner. The y gap takes longer to close here, so the push is sideways.
    const ColliderBox corner = Box(1.5f, -0.5f, 1.0f, 1.0f);
    const Resolution sideways =
        ComputeResolution(Box(0.52f, 0.49f, 1.0f, 1.0f), Vector3(6.0f, -6.0f, 0.0f), corner, kStep);
    EXPECT_EQ(sideways.side, HIT_WALL_RIGHT);
    EXPECT_NEAR(sideways.time, 0.02f / 6.0f + 0.002f, 1e-6f);
    // Equal times go to y (values exact in binary: both gaps are 0.375).
    const Resolution landing =
        ComputeResolution(Box(0.625f, 0.375f, 1.0f, 1.0f), Vector3(4.0f, -4.0f, 0.0f), corner, 0.125f);
    EXPECT_EQ(landing.side, HIT_GROUND);
    EXPECT_FLOAT_EQ(landing.time, -0.125f / -4.0f + 0.002f);
}

TEST(ComputeResolution, AlreadyOverlappingAlongBothAxesAddsAFrame) {
    const ColliderBox lirra = Box(0.0f, 0.3f, 1.0f, 1.0f);
    const ColliderBox floor = Box(0.2f, -0.5f, 1.0f, 1.0f);
    const Vector3 v(10.0f, -2.0f, 0.0f);
    const float gapX = (0.2f - 0.5f) - (0.0f - v.x * kStep + 0.5f);
    const float gapY = (0.3f - v.y * kStep - 0.5f) - 0.0f;
    ASSERT_LT(gapX, 0.0f);
    ASSERT_LT(gapY, 0.0f);
    ASSERT_GT(std::fabs(gapY / v.y), std::fabs(gapX / v.x));
    const Resolution r = ComputeResolution(lirra, v, floor, kStep);
    EXPECT_EQ(r.side, HIT_WALL_RIGHT);
    const float penX = (0.0f + 0.5f) - (0.2f - 0.5f);
    EXPECT_NEAR(r.time, penX / v.x + kStep + 0.002f, 1e-6f);

    // Slower sideways: y is taken, also a frame later.
    const Resolution down = ComputeResolution(lirra, Vector3(1.0f, -2.0f, 0.0f), floor, kStep);
    EXPECT_EQ(down.side, HIT_GROUND);
    EXPECT_NEAR(down.time, -0.2f / -2.0f + kStep + 0.002f, 1e-6f);
}

TEST(ComputeResolution, AStillBoxGetsAFiniteTime) {
    const ColliderBox lirra = Box(0.0f, 0.3f, 1.0f, 1.0f);
    const ColliderBox floor = Box(0.0f, -0.5f, 10.0f, 1.0f);
    const Resolution still = ComputeResolution(lirra, Vector3(0.0f, 0.0f, 0.0f), floor, kStep);
    EXPECT_TRUE(std::isfinite(still.time));
    EXPECT_FLOAT_EQ(still.time, 0.002f);
    // Sliding sideways without vertical motion, the x axis may be chosen with no x velocity.
    const Resolution sliding =
        ComputeResolution(Box(0.0f, 0.45f, 1.0f, 1.0f), Vector3(0.0f, 0.0f, 0.0f), Box(0.6f, 0.5f, 0.1f, 0.1f), kStep);
    EXPECT_TRUE(std::isfinite(sliding.time));
}
