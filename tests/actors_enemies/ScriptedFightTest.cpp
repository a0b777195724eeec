#include <cstdlib>
#include <string>

#include "app/Game.h"
#include "audio/Audio.h"
#include "automation/Screenshot.h"
#include "platform/FrameClock.h"

#include "EnemyTesting.h"
#include "app/Frame.h"

namespace {

using ScriptedFightTest = EnemyTest;

// Where to keep pictures of the fight for looking at: $LIRRA_SHOT_DIR, else nowhere.
std::string ShotDir() {
    const char* dir = std::getenv("LIRRA_SHOT_DIR");
    return dir != nullptr ? dir : "";
}

// One iteration of the main loop that saves the picture before the buffer swap.
void FrameWithShot(const std::string& name) {
    GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);
    ApplyPendingState();
    BeginFrame();
    AudioUpdate();
    UpdateAndRenderState();
    EndFrame();
    if (!ShotDir().empty()) {
        EXPECT_TRUE(SaveScreenshot(ShotDir() + "/" + name + ".png"));
    }
    AdvanceFrameClock();
    SwapFrame();
}

// A spirit patrols towards Lirra, sees her, runs at her and strikes her for 25; she
// answers with three light attacks spaced out, it falls, barks a line and leaves her a soul.
TEST_F(ScriptedFightTest, PatrolChaseStrikeDeathBarkAndSoul) {
    StartLevel(0.0f);
    GetCamera().SetZoom(0.5f);
    lirra.invulnerable = false;
    // Its path runs far past her on both sides; it starts six units to her left, walking right.
    GOEnemy* enemy = SpawnWalker(-6.0f, 6.0f);

    Frames(90);
    EXPECT_EQ(StateOf(enemy), "IDLE_BE");
    EXPECT_GT(X(enemy), -6.0f);
    FrameWithShot("enemy-patrolling");

    const int chase = FramesUntil([&] { return StateOf(enemy) == "ATTACK_BE"; }, 600);
    ASSERT_LT(chase, 600);
    EXPECT_NEAR(X(enemy), -4.0f, 0.1f);
    const int struck = FramesUntil([&] { return lirra.GetHealth() < 100.0f; }, 300);
    ASSERT_LT(struck, 300);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 75.0f);
    FrameWithShot("enemy-attacking");

    // Lirra turns to face it and strikes three times, half a second apart; its later blows would
    // knock her out of her swing, so she keeps the blink of the first one.
    FramesUntil([&] { return lirra.state != PLAYER_DAMAGED; }, 120);
    HoldLirraStill(false);
    int strikes = 0;
    bool hurtShot = false;
    for (; strikes < 6 && enemy->health > 0; ++strikes) {
        const bool enemyOnRight = X(enemy) > lirra.GetTransform().GetPosition().x;
        if ((lirra.facingRight == 1) != enemyOnRight) {
            Tap(enemyOnRight ? GLFW_KEY_RIGHT : GLFW_KEY_LEFT);
        }
        Tap(GLFW_KEY_Q);
        for (int i = 0; i < 30; ++i) {
            if (!enemy->vulnerable && enemy->health > 0 && !hurtShot) {
                FrameWithShot("enemy-hurt");
                hurtShot = true;
            } else {
                Frame();
            }
        }
    }
    EXPECT_EQ(strikes, 3);
    EXPECT_EQ(enemy->health, 100 - 3 * 34);

    FramesUntil([&] { return StateOf(enemy) == "DEAD_BE"; }, 60);
    ASSERT_EQ(StateOf(enemy), "DEAD_BE");
    Frames(20);
    FrameWithShot("enemy-dying");
    ASSERT_TRUE(IsDialogueVisible());
    EXPECT_EQ(GetDialogue().name, "No name");
    FramesUntil([&] { return !enemy->IsActive(); }, 120);
    EXPECT_FALSE(enemy->IsActive());

    // The line is typed out and closes by itself; then the soul is hers.
    const int read = FramesUntil([&] { return !lirra.souls.empty(); }, 900);
    ASSERT_LT(read, 900);
    EXPECT_FALSE(IsDialogueVisible());
    ASSERT_EQ(lirra.souls.size(), 1u);
    EXPECT_EQ(lirra.souls[0]->GetFollowTarget(), &lirra);
    Frames(60);
    FrameWithShot("enemy-soul");
}

// Released up and to her right, a flying spirit fades in and dives at her with its trail behind.
TEST_F(ScriptedFightTest, AFlyingSpiritDivesAtLirraTrailingSparks) {
    StartLevel(0.0f);
    HoldLirraStill(false);
    GOEnemy* flyer = SpawnFlyer(7.0f, 6.0f);
    const float startDistance = (flyer->GetTransform().GetPosition() - lirra.GetTransform().GetPosition()).Length();
    Frames(35);
    FrameWithShot("flyer-diving");
    const float distance = (flyer->GetTransform().GetPosition() - lirra.GetTransform().GetPosition()).Length();
    EXPECT_LT(distance, startDistance - 1.5f);
    EXPECT_GT(GetParticleSystem().CountParticles(), 0);
}

}  // namespace
