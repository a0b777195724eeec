#include "levels/StateLevel2.h"

#include "LevelBot.h"
#include "levels/LevelStateCommon.h"

namespace {

class LevelTwoTest : public LevelBot {
protected:
    StateLevel2* Level() const { return dynamic_cast<StateLevel2*>(GetCurrentState()); }
};

TEST_F(LevelTwoTest, ABotClimbsTheWindsPastTheSpiritsToTheExit) {
    Start(std::make_unique<StateLevel2>());
    EXPECT_TRUE(lirra.inputLocked) << "held for the opening lines";
    EXPECT_EQ(GetDialogue().name, "Lirra");
    EXPECT_FLOAT_EQ(GetDialogue().size.x, 250.0f);
    ASSERT_TRUE(WaitForControls());
    EXPECT_GT(Level()->script.introTime, kLevel2IntroLength);
    EXPECT_FALSE(IsDialogueVisible());

    // The intro's bars are still leaving as she sets off; the camera goes with her.
    framesOutOfView = 0;
    ASSERT_TRUE(StandNear(12.5f));
    EXPECT_EQ(framesOutOfView, 0) << "Lirra ran out of the picture after the intro";
    ASSERT_TRUE(RideWind(21.5f, GLFW_KEY_LEFT));
    ASSERT_NEAR(Y(), 19.95f, 0.1f) << "on the walking spirit's ledge";
    ASSERT_TRUE(FightThrough(-6.0f));
    ASSERT_TRUE(StandNear(-6.0f));
    ASSERT_TRUE(RideWind(35.0f, GLFW_KEY_RIGHT));
    ASSERT_NEAR(Y(), 33.95f, 0.1f) << "on the middle ledge";
    ASSERT_TRUE(RunningJump(4.8f, 8.5f));
    ASSERT_NEAR(Y(), 36.95f, 0.1f) << "on the step";
    ASSERT_TRUE(RunningJump(9.8f, 13.5f));
    ASSERT_NEAR(Y(), 38.95f, 0.1f) << "on the block";
    // Into the long wind beside the block: a hop left, a brake in the middle of the column.
    WalkTo(13.2f);
    Press(GLFW_KEY_LEFT);
    Press(GLFW_KEY_UP);
    ASSERT_TRUE(Until([&] { return X() <= 10.8f; }, 120));
    Release(GLFW_KEY_LEFT);
    Press(GLFW_KEY_RIGHT);
    Until([&] { return Body()->velocity.x >= 0.0f; }, 60);
    Release(GLFW_KEY_RIGHT);
    ASSERT_TRUE(RideWind(68.0f, GLFW_KEY_LEFT));
    ASSERT_NEAR(Y(), 66.95f, 0.1f) << "on the door ledge";
    EXPECT_TRUE(Level()->script.doorSeen);
    ASSERT_TRUE(FightThrough(-5.5f));
    ASSERT_TRUE(StandNear(-5.5f));
    ASSERT_TRUE(RideWind(76.0f, GLFW_KEY_RIGHT, -1.0f));
    ASSERT_NEAR(Y(), 74.95f, 0.1f) << "on the exit ledge";
    WalkTo(0.0f);
    EXPECT_TRUE(UseExit(STATE_LEVEL_3)) << "the mushroom leads to level 3";
}

TEST_F(LevelTwoTest, TheDoorLineNeedsBothItsColumnsAndItsHeight) {
    Start(std::make_unique<StateLevel2>());
    Level()->script.introOver = true;
    CloseDialogue();
    struct Spot {
        float x, y;
        bool fires;
    };
    for (const Spot spot : {Spot{4.9f, 70.0f, false}, Spot{13.1f, 70.0f, false}, Spot{9.0f, 65.9f, false},
                            Spot{5.0f, 66.0f, true}, Spot{13.0f, 80.0f, true}}) {
        Level()->script.doorSeen = false;
        lirra.GetTransform().SetPosition(spot.x, spot.y, 0.0f);
        Level()->Update();
        EXPECT_EQ(Level()->script.doorSeen, spot.fires) << spot.x << ", " << spot.y;
    }
    // Once seen, the line closes after its time and never comes back.
    lirra.GetTransform().SetPosition(9.0f, 70.0f, 0.0f);
    Level()->script.doorSeen = false;
    Level()->Update();
    ASSERT_TRUE(IsDialogueVisible());
    ASSERT_TRUE(Until([&] { return Level()->script.doorLineClosed; }, 400));
    EXPECT_FALSE(IsDialogueVisible());
    Level()->Update();
    EXPECT_FALSE(IsDialogueVisible());
}

TEST_F(LevelTwoTest, AFallBelowTheShaftRestartsTheLevel) {
    Start(std::make_unique<StateLevel2>());
    StateLevel2* first = Level();
    lirra.GetTransform().SetPosition(-5.5f, -12.0f, 0.0f);  // down the chasm beside the start
    ASSERT_TRUE(Until([&] { return Level() != first; }, 240));
    EXPECT_FALSE(Level()->script.introOver);
    ASSERT_NE(ActiveExit(), nullptr);
    EXPECT_EQ(ActiveExit()->target, STATE_LEVEL_2);
}

}  // namespace
