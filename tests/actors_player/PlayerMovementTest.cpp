#include <cmath>

#include "graphics/Renderer.h"
#include "math/MathUtil.h"
#include "platform/FrameClock.h"

#include "PlayerTesting.h"

namespace {

constexpr float kStandingVy = -22.0725f;

using PlayerMovementTest = PlayerTest;

TEST_F(PlayerMovementTest, StartsStandingOnTheFloorFacingLeftAndBlinking) {
    StartLevel();
    EXPECT_FALSE(Body()->airborne);
    EXPECT_FLOAT_EQ(Body()->velocity.y, kStandingVy);
    EXPECT_NEAR(Y(), 1.45f, 0.01f);  // a 1.5-high box 0.7 below her centre, on a floor at 0
    EXPECT_EQ(lirra.state, PLAYER_IDLE);
    EXPECT_EQ(lirra.facingRight, 0);
    EXPECT_FLOAT_EQ(lirra.GetTransform().GetScale().x, -3.0f);  // the sprite faces the same way
    EXPECT_FLOAT_EQ(lirra.GetTransform().GetScale().y, 3.0f);
    EXPECT_TRUE(lirra.invulnerable);
    EXPECT_EQ(Animation()->GetClip(), TextureId::LirraIdle);
    EXPECT_EQ(lirra.GetAttackPower(), 34);
}

TEST_F(PlayerMovementTest, LeftAndRightHeldTogetherMoveLeft) {
    StartLevel();
    Press(GLFW_KEY_RIGHT);
    Press(GLFW_KEY_LEFT);
    Frames(20);
    EXPECT_LT(Body()->velocity.x, -1.0f);
    EXPECT_EQ(lirra.state, PLAYER_RUN);
    EXPECT_EQ(lirra.facingRight, 0);
    EXPECT_LT(lirra.GetTransform().GetScale().x, 0.0f);
    EXPECT_EQ(Animation()->GetClip(), TextureId::LirraRun);
}

TEST_F(PlayerMovementTest, RunningRightAcceleratesAtTenToTopSpeedAndStopsByFriction) {
    StartLevel();
    const float startX = X();
    Press(GLFW_KEY_RIGHT);
    Frame();
    EXPECT_NEAR(Body()->velocity.x, 10.0f * kFrame, 1e-5f);
    EXPECT_EQ(lirra.facingRight, 1);
    EXPECT_GT(lirra.GetTransform().GetScale().x, 0.0f);
    Frames(90);
    EXPECT_NEAR(Body()->velocity.x, 10.0f, 0.2f);
    EXPECT_GT(X(), startX + 5.0f);
    Release(GLFW_KEY_RIGHT);
    Frames(60);
    EXPECT_LT(std::fabs(Body()->velocity.x), 0.01f);
    EXPECT_EQ(lirra.state, PLAYER_IDLE);
}

TEST_F(PlayerMovementTest, ReversingFromFullSpeedKeepsTwoAndAHalfBeforeAcceleratingLeft) {
    StartLevel();
    Body()->velocity.x = 10.0f;
    Press(GLFW_KEY_LEFT);
    Frame();
    EXPECT_NEAR(Body()->velocity.x, 2.5f - 10.0f * kFrame, 1e-5f);

    // At top speed the run adds nothing more.
    Body()->velocity.x = -10.0f;
    lirra.ApplyMovement(PLAYER_ACTION_MOVE_LEFT);
    EXPECT_FLOAT_EQ(Body()->velocity.x, -10.0f);
}

TEST_F(PlayerMovementTest, JumpRisesAtFifteenAndSpaceInTheAirDoesNotJumpAgain) {
    StartLevel();
    Press(GLFW_KEY_SPACE);
    lirra.ApplyMovement(PLAYER_ACTION_JUMP);
    EXPECT_FLOAT_EQ(Body()->velocity.y, 14.715f);
    EXPECT_EQ(lirra.state, PLAYER_JUMP);
    EXPECT_EQ(Animation()->GetClip(), TextureId::LirraJump);
    Frame();
    Release(GLFW_KEY_SPACE);
    Frames(5);
    ASSERT_TRUE(Body()->airborne);
    const float rising = Body()->velocity.y;
    ASSERT_GT(rising, 0.0f);
    Press(GLFW_KEY_SPACE);
    Frame();
    EXPECT_LT(Body()->velocity.y, rising) << "a second jump in the air";
    Release(GLFW_KEY_SPACE);
    Frames(120);
    EXPECT_FALSE(Body()->airborne);
}

TEST_F(PlayerMovementTest, UpArrowJumpsToo) {
    StartLevel();
    Press(GLFW_KEY_UP);
    Frame();
    EXPECT_TRUE(Body()->airborne);
    EXPECT_GT(Body()->velocity.y, 13.0f);
}

TEST_F(PlayerMovementTest, GlideStartsOnlyOnceFallingWithTheKeyStillHeld) {
    StartLevel();
    Press(GLFW_KEY_SPACE);
    int frames = 0;
    bool glided = false;
    while (frames < 120 && !glided) {
        const float vyBefore = Body()->velocity.y;
        Frame();
        ++frames;
        glided = Body()->gliding;
        if (glided) {
            EXPECT_LT(vyBefore, 0.0f) << "glide began while still rising";
        }
    }
    ASSERT_TRUE(glided);
    EXPECT_EQ(lirra.state, PLAYER_GLIDE);
    EXPECT_EQ(Animation()->GetClip(), TextureId::LirraGlide);
    EXPECT_GT(frames, 20);  // the rise of a jump lasts well over a third of a second

    // The glide slows the fall far below free fall.
    Frames(30);
    EXPECT_GT(Body()->velocity.y, -3.5f);
    Release(GLFW_KEY_SPACE);
    Frame();
    EXPECT_FALSE(Body()->gliding);
    EXPECT_EQ(lirra.state, PLAYER_FALL);
    Frame();
    EXPECT_EQ(Animation()->GetClip(), TextureId::LirraFall);
}

TEST_F(PlayerMovementTest, JumpDisabledBlocksJumpGlideAndTheirRelease) {
    StartLevel();
    lirra.SetJumpDisabled(true);
    Press(GLFW_KEY_SPACE);
    Press(GLFW_KEY_UP);
    Frame();
    EXPECT_FALSE(Body()->airborne);
    Release(GLFW_KEY_SPACE);
    Release(GLFW_KEY_UP);
    Frame();

    // Gliding when the lock comes: letting go of the key does not end the glide.
    lirra.SetJumpDisabled(false);
    Press(GLFW_KEY_SPACE);
    Frames(50);
    ASSERT_TRUE(Body()->gliding);
    lirra.SetJumpDisabled(true);
    Release(GLFW_KEY_SPACE);
    Frame();
    EXPECT_TRUE(Body()->gliding);

    // Held while falling, the key does not start a glide either.
    Body()->gliding = false;
    Press(GLFW_KEY_SPACE);
    Frame();
    EXPECT_FALSE(Body()->gliding);
}

TEST_F(PlayerMovementTest, ALockedLirraComesToRestByFrictionWithTheKeyStillHeld) {
    StartLevel();
    Press(GLFW_KEY_RIGHT);
    Frames(40);
    ASSERT_GT(Body()->velocity.x, 5.0f);
    lirra.SetInputLocked(true);
    EXPECT_FALSE(Body()->moving);
    Frames(60);
    EXPECT_LT(std::fabs(Body()->velocity.x), 0.01f);
    EXPECT_EQ(lirra.state, PLAYER_IDLE);
    Press(GLFW_KEY_SPACE);
    Press(GLFW_KEY_Q);
    Frame();
    EXPECT_FALSE(Body()->airborne);
    EXPECT_EQ(lirra.state, PLAYER_IDLE);

    lirra.SetInputLocked(false);
    Frame();
    EXPECT_GT(Body()->velocity.x, 0.0f);
}

TEST_F(PlayerMovementTest, FrozenKeepsHerBodyStillWhileRegenerationRuns) {
    StartLevel();
    lirra.GetTransform().SetPosition(3.0f, 6.0f, 0.0f);
    Body()->airborne = true;
    Body()->velocity = Vector3(2.0f, -5.0f, 0.0f);
    lirra.health = 30.0f;
    lirra.regenStartTime = 0.0f;
    lirra.state = PLAYER_FROZEN;
    Press(GLFW_KEY_RIGHT);
    Frames(29);
    const float elapsed = GetScaledTotalTime();
    Frame();
    EXPECT_FLOAT_EQ(X(), 3.0f);
    EXPECT_FLOAT_EQ(Y(), 6.0f);
    EXPECT_FLOAT_EQ(Body()->velocity.x, 2.0f);
    EXPECT_EQ(lirra.state, PLAYER_FROZEN);
    EXPECT_NEAR(lirra.GetHealth(), 35.0f, 0.01f);
    EXPECT_FLOAT_EQ(lirra.healthHudRenderer->GetAlpha(), PingPong(elapsed / 5.0f, 0.1f));
}

TEST_F(PlayerMovementTest, RunningOnTheGroundRaisesDustAQuarterSecondApart) {
    StartLevel();
    Press(GLFW_KEY_RIGHT);
    int puffs = 0;
    for (int i = 0; i < 61; ++i) {
        const float before = nextDustTime;
        Frame();
        puffs += nextDustTime != before;
    }
    EXPECT_GE(puffs, 4);
    EXPECT_LE(puffs, 5);
    const Emitter& last = GetParticleSystem().GetEmitters().back();
    EXPECT_FLOAT_EQ(last.velocity.min.x, -3.0f);
    EXPECT_FLOAT_EQ(last.velocity.max.x, -3.0f);
    EXPECT_FLOAT_EQ(last.velocity.max.y, 1.5f);
    EXPECT_FLOAT_EQ(last.acceleration.min.y, -1.5f);
    EXPECT_LT(last.position.position.x, X());
    EXPECT_NEAR(last.position.position.y, Y() - 1.1f, 0.05f);

    // None in the air.
    Press(GLFW_KEY_SPACE);
    Frame();
    const float afterJump = nextDustTime;
    Frames(30);
    EXPECT_FLOAT_EQ(nextDustTime, afterJump);
}

}  // namespace
