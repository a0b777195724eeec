#include "levels/StateLevel3.h"

#include "LevelBot.h"
#include "levels/LevelStateCommon.h"

namespace {

class LevelThreeTest : public LevelBot {
protected:
    StateLevel3* Level() const { return dynamic_cast<StateLevel3*>(GetCurrentState()); }
    // Stands Lirra still at a spot of the corridor and runs the script once.
    void StandAt(float x, float y) {
        lirra.GetTransform().SetPosition(x, y, 0.0f);
        Body()->velocity = Vector3(0.0f, 0.0f, 0.0f);
        Level()->Update();
    }
};

TEST_F(LevelThreeTest, ABotTakesTheGustAndThePathsPastTheSpiritsToTheExit) {
    Start(std::make_unique<StateLevel3>());
    EXPECT_FLOAT_EQ(GetCamera().GetZoom(), 1.0f);
    EXPECT_TRUE(Level()->script.openingShown);
    ASSERT_TRUE(Settle());
    ASSERT_TRUE(WalkTo(21.5f));
    ASSERT_TRUE(StandNear(21.5f));
    ASSERT_NEAR(Y(), -5.05f, 0.1f) << "at the shaft's foot";
    EXPECT_TRUE(Level()->script.areaShown[0]);
    ASSERT_TRUE(RideWind(31.5f, GLFW_KEY_LEFT));
    ASSERT_NEAR(Y(), 30.95f, 0.1f) << "in the corridor";
    ASSERT_TRUE(FightThrough(1.5f));
    ASSERT_TRUE(StandNear(1.5f));
    EXPECT_TRUE(Level()->script.areaShown[1]);
    EXPECT_TRUE(Level()->script.areaShown[2]) << "the dead end";
    ASSERT_TRUE(RideWind(46.0f, GLFW_KEY_LEFT));
    ASSERT_NEAR(Y(), 45.95f, 0.1f) << "on the lookout";
    ASSERT_TRUE(WalkTo(-4.0f));
    EXPECT_TRUE(Level()->script.areaShown[3]) << "the exit in sight";
    ASSERT_TRUE(WalkTo(15.0f));
    ASSERT_NEAR(Y(), 41.95f, 0.1f) << "on the corridor's roof";
    EXPECT_TRUE(Level()->script.areaShown[4]);
    // A hop into the wind at the roof's end, a brake in the column, and up.
    WalkTo(17.6f);
    Press(GLFW_KEY_RIGHT);
    Press(GLFW_KEY_UP);
    ASSERT_TRUE(Until([&] { return X() >= 20.5f; }, 120));
    Release(GLFW_KEY_RIGHT);
    Press(GLFW_KEY_LEFT);
    Until([&] { return Body()->velocity.x <= 0.0f; }, 60);
    Release(GLFW_KEY_LEFT);
    ASSERT_TRUE(RideWind(51.5f, GLFW_KEY_RIGHT));
    ASSERT_NEAR(Y(), 50.95f, 0.1f) << "on the spirits' ledge";
    ASSERT_TRUE(WalkTo(26.0f));
    EXPECT_TRUE(Level()->script.areaShown[5]);
    ASSERT_TRUE(RunningJump(22.2f, 19.0f));
    ASSERT_NEAR(Y(), 53.95f, 0.1f) << "on the last step";
    ASSERT_TRUE(RunningJump(17.0f, 12.5f));
    ASSERT_NEAR(Y(), 56.95f, 0.1f) << "on the exit path";
    WalkTo(4.0f);
    EXPECT_TRUE(UseExit(STATE_BOSS)) << "the mushroom leads to the boss";
}

TEST_F(LevelThreeTest, AreaBoxesAreOpenAtTheirBoundsAndFireOnce) {
    Start(std::make_unique<StateLevel3>());
    CloseDialogue();
    // The dead end's box runs from x = 1 to 2, open on both sides.
    StandAt(1.0f, 31.0f);
    StandAt(2.0f, 31.0f);
    StandAt(1.5f, 29.0f);
    StandAt(1.5f, 36.0f);
    EXPECT_FALSE(Level()->script.areaShown[2]);
    EXPECT_FALSE(IsDialogueVisible());
    StandAt(1.5f, 31.0f);
    EXPECT_TRUE(Level()->script.areaShown[2]);
    ASSERT_TRUE(IsDialogueVisible());
    EXPECT_EQ(GetDialogue().text, "This looks like a dead end...");
    CloseDialogue();
    StandAt(1.2f, 31.0f);
    EXPECT_FALSE(IsDialogueVisible()) << "each area speaks once";
    // Exactly on the lookout's bounds nothing fires either.
    StandAt(-6.0f, 44.0f);
    StandAt(-4.0f, 46.0f);
    EXPECT_FALSE(Level()->script.areaShown[3]);
}

TEST_F(LevelThreeTest, AfterTheSpiritsOnlyTheFallIsChecked) {
    Start(std::make_unique<StateLevel3>());
    CloseDialogue();
    StandAt(26.0f, 51.0f);
    ASSERT_TRUE(Level()->script.areaShown[5]);
    CloseDialogue();
    StandAt(22.0f, -5.0f);
    EXPECT_FALSE(Level()->script.areaShown[0]) << "the script is over";
    StateLevel3* first = Level();
    lirra.GetTransform().SetPosition(28.5f, -19.0f, 0.0f);  // down the chasm beyond the shaft
    ASSERT_TRUE(Until([&] { return Level() != first; }, 240));
    EXPECT_FALSE(Level()->script.areaShown[5]);
    ASSERT_NE(ActiveExit(), nullptr);
    EXPECT_EQ(ActiveExit()->target, STATE_LEVEL_3);
}

}  // namespace
