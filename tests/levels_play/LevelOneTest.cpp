#include "levels/StateLevel1.h"

#include "LevelBot.h"
#include "levels/LevelStateCommon.h"

namespace {

class LevelOneTest : public LevelBot {
protected:
    // Through the ambush: held for its seven seconds, then the dash to its end.
    void RunThroughAmbush() {
        ASSERT_TRUE(Settle());
        ASSERT_TRUE(WalkToAmbush());
        ASSERT_TRUE(WaitForControls());
        Press(GLFW_KEY_RIGHT);
        ASSERT_TRUE(Until([&] { return X() >= kAmbushEndX + 0.5f; }, 900));
        Release(GLFW_KEY_RIGHT);
    }
    // Walks right until the ambush takes her controls.
    bool WalkToAmbush() {
        Press(GLFW_KEY_RIGHT);
        const bool started = Until([&] { return Level()->script.ambushStarted; }, 600);
        Release(GLFW_KEY_RIGHT);
        Settle();
        return started;
    }
    StateLevel1* Level() const { return dynamic_cast<StateLevel1*>(GetCurrentState()); }
};

TEST_F(LevelOneTest, ABotPlaysFromTheStartThroughTheAmbushToTheExit) {
    Start(std::make_unique<StateLevel1>());
    ASSERT_TRUE(Settle());
    EXPECT_NEAR(Y(), 1.95f, 0.05f) << "she lands on the meadow";
    EXPECT_FLOAT_EQ(GetCamera().GetPosition().x, X()) << "the camera keeps to her x right of 5";
    EXPECT_NEAR(GetCamera().GetPosition().y, kLevel1CameraCeiling, 1e-4f);

    Tap(GLFW_KEY_UP);
    Frames(10);
    EXPECT_FALSE(Body()->airborne) << "no jump before the ambush";
    EXPECT_EQ(CountActiveEnemies(ENEMY_FLYING), 0);

    ASSERT_TRUE(WalkToAmbush());
    EXPECT_TRUE(lirra.inputLocked);
    EXPECT_TRUE(IsDialogueVisible());
    EXPECT_EQ(GetDialogue().name, "Lirra");
    // Held almost to the end of the seven seconds: nothing comes, and her jump stays locked.
    ASSERT_TRUE(Until([&] { return Level()->script.ambushTime >= 6.8f; }, 600));
    EXPECT_EQ(CountActiveEnemies(ENEMY_FLYING), 0);
    EXPECT_TRUE(lirra.jumpDisabled);
    ASSERT_TRUE(WaitForControls());
    EXPECT_FALSE(lirra.jumpDisabled);
    EXPECT_FLOAT_EQ(lirra.localTimeScale, kLevel1TimeScale);

    // Once she may fight, the camera frames her all the way through the wave.
    framesOutOfView = 0;
    Press(GLFW_KEY_RIGHT);
    ASSERT_TRUE(Until([&] { return X() >= kAmbushEndX; }, 900));
    EXPECT_EQ(framesOutOfView, 0) << "Lirra ran out of the picture during the ambush";
    EXPECT_GT(CountActiveEnemies(ENEMY_FLYING), 0) << "the spirits came";
    Frames(2);
    EXPECT_TRUE(Level()->script.ambushFinished);
    EXPECT_FLOAT_EQ(lirra.localTimeScale, 1.0f);
    Release(GLFW_KEY_RIGHT);
    // Past x = 38 no spirit is added, however long she stays.
    int spirits = CountActiveEnemies(ENEMY_FLYING);
    for (int i = 0; i < 120; ++i) {
        Frame();
        ASSERT_LE(CountActiveEnemies(ENEMY_FLYING), spirits);
        spirits = CountActiveEnemies(ENEMY_FLYING);
    }

    WalkTo(49.0f);
    ASSERT_TRUE(RunningJump(51.8f, 57.5f));
    ASSERT_NEAR(Y(), 2.95f, 0.05f) << "on the step after the first pit";
    ASSERT_TRUE(RunningJump(61.9f, 68.0f));
    if (Y() < 1.0f) {
        // On the low ledge under the rim: the third jump.
        WalkTo(68.5f);
        ASSERT_TRUE(RunningJump(72.6f, 74.8f));
    }
    ASSERT_NEAR(Y(), 1.95f, 0.05f) << "on the rim";
    WalkTo(78.0f);
    Settle();
    ASSERT_NEAR(Y(), -10.05f, 0.05f) << "in the valley";
    if (X() > 78.5f) {
        WalkTo(78.3f);
    }
    EXPECT_TRUE(UseExit(STATE_LEVEL_2)) << "the mushroom leads to level 2";
}

TEST_F(LevelOneTest, AFallRestartsTheLevelWithTheAmbushArmedAgain) {
    Start(std::make_unique<StateLevel1>());
    StateLevel1* first = Level();
    first->script.ambushStarted = true;
    first->script.ambushFinished = true;
    lirra.GetTransform().SetPosition(54.5f, -5.0f, 0.0f);  // over the first pit
    ASSERT_TRUE(Until([&] { return Level() != first; }, 240));
    EXPECT_FALSE(Level()->script.ambushStarted);
    EXPECT_FALSE(Level()->script.ambushFinished);
    EXPECT_FLOAT_EQ(Level()->script.ambushTime, 0.0f);
    EXPECT_NEAR(X(), 5.5f, 0.5f);
    ASSERT_NE(ActiveExit(), nullptr);
    EXPECT_EQ(ActiveExit()->target, STATE_LEVEL_1);
}

TEST_F(LevelOneTest, AfterADeathTheLevelStillHasItsExit) {
    Start(std::make_unique<StateLevel1>());
    StateLevel1* level = Level();
    Frames(130);  // past the blink of a fresh start
    const GOMushroom* exit = ActiveExit();
    ASSERT_NE(exit, nullptr);
    lirra.Damage(200, false);
    ASSERT_EQ(lirra.state, PLAYER_DYING);
    ASSERT_TRUE(Until([&] { return lirra.state != PLAYER_DYING; }, 300));
    Frames(2);
    EXPECT_EQ(Level(), level) << "a death restarts the level in place";
    ASSERT_EQ(ActiveExit(), exit) << "the kept mushroom stands again";
    EXPECT_EQ(exit->target, STATE_LEVEL_1);
    EXPECT_FLOAT_EQ(exit->GetTransform().GetPosition().x, 78.0f);
    EXPECT_FLOAT_EQ(exit->GetTransform().GetPosition().y, -9.0f);
    EXPECT_EQ(level->keyHints.size(), 3u);
    for (const GameObject* hint : level->keyHints) {
        EXPECT_TRUE(hint->IsActive());
    }
}

}  // namespace
