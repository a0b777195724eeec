#include "levels/StateLevel1.h"

#include "LevelBot.h"

namespace {

class LevelOneTest : public LevelBot {
protected:
    // Through the ambush: held for its seven seconds, then the dash to its end.
    void RunThroughAmbush() {
        ASSERT_TRUE(Settle());
        ASSERT_TRUE(WalkTo(23.0f));
        ASSERT_TRUE(WaitForControls());
        Press(GLFW_KEY_RIGHT);
        ASSERT_TRUE(Until([&] { return X() >= kAmbushEndX + 0.5f; }, 900));
        Release(GLFW_KEY_RIGHT);
    }
    // A running jump: from `from` rightwards, taking off at `takeOff`, until she stands again.
    void RunningJump(float takeOff) {
        Press(GLFW_KEY_RIGHT);
        ASSERT_TRUE(Until([&] { return X() >= takeOff; }, 600));
        Jump();
        ASSERT_TRUE(Until([&] { return Landed(); }, 300));
        Release(GLFW_KEY_RIGHT);
        Settle();
    }
};

TEST_F(LevelOneTest, ABotPlaysFromTheStartToTheExit) {
    Start(new StateLevel1());
    RunThroughAmbush();
    WalkTo(49.0f);
    RunningJump(52.0f);
    EXPECT_GT(Y(), 2.5f) << "on the step after the first pit";
    RunningJump(61.9f);
    EXPECT_NEAR(Y(), -0.05f, 0.1f) << "on the low ledge";
    WalkTo(68.5f);
    RunningJump(72.8f);
    EXPECT_NEAR(Y(), 1.95f, 0.1f) << "on the rim";
    WalkTo(78.0f);
    Settle();
    EXPECT_NEAR(Y(), -10.05f, 0.1f) << "in the valley";
    std::printf("reached x=%.2f y=%.2f\n", X(), Y());
}

}  // namespace
