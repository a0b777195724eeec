#include <algorithm>
#include <cmath>

#include "PlayerTesting.h"
#include "actors/BasicEnemyStates.h"
#include "graphics/Renderer.h"
#include "math/MathUtil.h"
#include "platform/FrameClock.h"

namespace {

class PlayerHealthTest : public PlayerTest {
protected:
    void StartVulnerable() {
        StartLevel();
        lirra.invulnerable = false;
        lirra.invulnerableTimer = 2.0f;
        Animation()->SetAlpha(1.0f);
    }
};

TEST_F(PlayerHealthTest, AHitTakesTwentyFiveKnocksHerAwayShakesTheCameraAndStartsTheBlink) {
    StartVulnerable();
    const size_t steps = CountCinematicSteps();
    Body()->velocity.x = 0.0f;
    lirra.TakeHit(true);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 75.0f);
    EXPECT_EQ(lirra.state, PLAYER_DAMAGED);
    EXPECT_TRUE(lirra.invulnerable);
    EXPECT_FLOAT_EQ(Body()->velocity.x, -4.0f);
    EXPECT_GT(lirra.GetTransform().GetScale().x, 0.0f);  // turned to the attacker on her right
    EXPECT_EQ(lirra.facingRight, 0);
    EXPECT_FLOAT_EQ(Animation()->GetAlpha(), 0.7f);
    EXPECT_FLOAT_EQ(lirra.regenStartTime, GetScaledTotalTime() + 5.0f);
    EXPECT_EQ(CountCinematicSteps(), steps + 1);

    // A second hit while blinking is dropped without any effect.
    lirra.TakeHit(false);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 75.0f);
    EXPECT_FLOAT_EQ(Body()->velocity.x, -4.0f);
    EXPECT_EQ(CountCinematicSteps(), steps + 1);

    // The hit reaction plays once, then she stands again.
    Frame();
    EXPECT_EQ(Animation()->GetClip(), TextureId::LirraDamaged);
    Frames(25);
    EXPECT_EQ(lirra.state, PLAYER_IDLE);
}

TEST_F(PlayerHealthTest, AHitFromTheLeftPushesRightAndTurnsHerLeft) {
    StartVulnerable();
    lirra.ApplyMovement(PLAYER_ACTION_MOVE_RIGHT);
    Body()->velocity.x = 0.0f;
    lirra.Damage(10, false);
    EXPECT_FLOAT_EQ(Body()->velocity.x, 4.0f);
    EXPECT_LT(lirra.GetTransform().GetScale().x, 0.0f);
    EXPECT_EQ(lirra.facingRight, 1);
}

TEST_F(PlayerHealthTest, AHitAtFiftyWithAFireSoulSpendsItAndLeavesSeventyFive) {
    StartVulnerable();
    lirra.health = 50.0f;
    GOSoul* purple = GiveSoul(kSoulPurple);
    GOSoul* fire = GiveSoul(kSoulFire);
    ASSERT_EQ(savedSoulKinds, (std::vector<int>{1, 2}));
    lirra.TakeHit(true);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 75.0f);
    EXPECT_TRUE(fire->IsConsumed());
    EXPECT_EQ(fire->GetFollowTarget(), &lirra);
    EXPECT_EQ(lirra.souls, std::vector<GOSoul*>{purple});
    EXPECT_EQ(savedSoulKinds, std::vector<int>{1});
    EXPECT_EQ(lirra.GetAttackPower(), 36);

    // Above half health a hit spends nothing.
    lirra.invulnerable = false;
    lirra.health = 80.0f;
    GiveSoul(kSoulFire);
    lirra.TakeHit(true);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 55.0f);
    EXPECT_EQ(lirra.souls.size(), 2u);
}

TEST_F(PlayerHealthTest, AHitToExactlyZeroIsDeathAndRestartsTheLevelAtFullHealthWithoutSouls) {
    StartVulnerable();
    lirra.regenStartTime = 0.0f;  // regeneration is long since allowed
    lirra.health = 25.0f;
    GiveSoul(kSoulFire);
    lirra.TakeHit(false);
    EXPECT_EQ(lirra.state, PLAYER_DYING);
    // A killing blow is not healed: the chain is lost with her.
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 0.0f);
    EXPECT_EQ(lirra.souls.size(), 1u);

    Frame();
    EXPECT_EQ(Animation()->GetClip(), TextureId::LirraDeath);
    EXPECT_EQ(level->loads, 1);
    int frames = 0;
    float healthWhileDying = 0.0f;
    while (level->loads == 1 && frames < 120) {
        healthWhileDying = std::max(healthWhileDying, lirra.GetHealth());
        Frame();
        ++frames;
    }
    EXPECT_FLOAT_EQ(healthWhileDying, 0.0f) << "she healed during her death";
    EXPECT_EQ(level->loads, 2) << "the level was not restarted";
    EXPECT_GE(frames, 47);  // eight frames of a tenth of a second each
    EXPECT_EQ(GetCurrentState(), level);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 100.0f);
    EXPECT_EQ(lirra.state, PLAYER_IDLE);
    EXPECT_TRUE(lirra.souls.empty());
    EXPECT_TRUE(savedSoulKinds.empty());
    EXPECT_TRUE(lirra.invulnerable);
}

TEST_F(PlayerHealthTest, WhileSheDiesNoBlowLandsAndNoFreedSoulHealsHerOrComesBackWithHer) {
    StartVulnerable();
    lirra.health = 25.0f;
    lirra.TakeHit(false);
    ASSERT_EQ(lirra.state, PLAYER_DYING);
    const size_t steps = CountCinematicSteps();
    Body()->velocity.x = 0.0f;
    lirra.TakeHit(true);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 0.0f);
    EXPECT_FLOAT_EQ(Body()->velocity.x, 0.0f) << "a dying Lirra was knocked back";
    EXPECT_EQ(CountCinematicSteps(), steps) << "a dying Lirra shook the camera";

    // An enemy's bark closing during her death frees its soul: at low health that is a Fire soul
    // spent at once, which must neither heal her nor join the chain she is about to lose.
    Frame();
    DropSoul(lirra.GetTransform().GetPosition());
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 0.0f) << "a freed soul healed her while she died";
    EXPECT_TRUE(lirra.souls.empty());
    for (int frames = 0; level->loads == 1 && frames < 120; ++frames) {
        DropSoul(lirra.GetTransform().GetPosition());
        Frame();
    }
    ASSERT_EQ(level->loads, 2);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 100.0f);
    EXPECT_TRUE(lirra.souls.empty());
    EXPECT_TRUE(savedSoulKinds.empty());
}

TEST_F(PlayerHealthTest, TheOverlayIsInvisibleAboveHalfHealthAndPulsesBelow) {
    StartLevel();
    lirra.regenStartTime = 1.0e9f;
    lirra.health = 60.0f;
    Frame();
    EXPECT_FLOAT_EQ(lirra.healthHudRenderer->GetAlpha(), 0.0f);

    lirra.health = 50.0f;
    float lowest = 1.0f;
    float highest = 0.0f;
    for (int i = 0; i < 60; ++i) {
        const float elapsed = GetScaledTotalTime();
        Frame();
        const float alpha = lirra.healthHudRenderer->GetAlpha();
        ASSERT_FLOAT_EQ(alpha, PingPong(elapsed / 5.0f, 0.1f));
        lowest = std::min(lowest, alpha);
        highest = std::max(highest, alpha);
    }
    EXPECT_LT(lowest, 0.01f);  // one full period of the ramp
    EXPECT_GT(highest, 0.09f);
    EXPECT_LE(highest, 0.1f);

    lirra.health = 20.0f;
    const float elapsed = GetScaledTotalTime();
    Frame();
    EXPECT_FLOAT_EQ(lirra.healthHudRenderer->GetAlpha(), PingPong(elapsed / 3.0f, 0.15f));
    lirra.health = 0.0f;
    lirra.state = PLAYER_FROZEN;  // not dying: only the overlay is looked at
    Frame();
    EXPECT_FLOAT_EQ(lirra.healthHudRenderer->GetAlpha(), 0.3f);
}

TEST_F(PlayerHealthTest, RegenerationStopsAtFullHealthWhileSoulHealingMayExceedIt) {
    StartLevel();
    lirra.regenStartTime = GetScaledTotalTime() + 0.5f;
    lirra.health = 95.0f;
    Frames(29);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 95.0f) << "regenerating before the delay ran out";
    Frames(60);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 100.0f);

    lirra.health = 90.0f;
    GiveSoul(kSoulFire);
    lirra.ConsumeFireSoul();
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 140.0f);
    Frames(30);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 140.0f);
}

TEST_F(PlayerHealthTest, TheBlinkLastsTwoSecondsAndAnInputLockHoldsIt) {
    StartLevel(nullptr, 1);
    ASSERT_TRUE(lirra.invulnerable);
    lirra.invulnerableTimer = 2.0f;
    lirra.SetInputLocked(true);
    Frames(180);
    EXPECT_TRUE(lirra.invulnerable);
    EXPECT_FLOAT_EQ(lirra.invulnerableTimer, 2.0f);

    lirra.SetInputLocked(false);
    Frames(60);
    EXPECT_TRUE(lirra.invulnerable);
    EXPECT_NEAR(Animation()->GetAlpha(), 1.0f - std::sin(lirra.invulnerableTimer * 3.14159265f * 5.0f) * 0.3f, 1e-5f);
    Frames(61);
    EXPECT_FALSE(lirra.invulnerable);
    EXPECT_FLOAT_EQ(lirra.invulnerableTimer, 2.0f);
    EXPECT_FLOAT_EQ(Animation()->GetAlpha(), 1.0f);
}

}  // namespace
