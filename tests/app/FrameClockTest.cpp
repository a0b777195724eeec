#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/Game.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "platform/FrameClock.h"
#include "platform/Window.h"
#include "support/TestGame.h"

namespace {

// A screen whose frames take as long as the test says.
class SlowState : public State {
public:
    SlowState() : State(STATE_LEVEL_1) {}
    void Load() override {}
    void Update() override {
        if (stall > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(stall));
            stall = 0;
        }
    }
    void Render() override {}
    void Unload() override {}
    int stall = 0;
};

class FrameClockTest : public testing::Test {
protected:
    void SetUp() override {
        StartTestGame();
        EndTestStates();
        ResetFrameClock();
        SetFixedStep(0.0);
        state = new SlowState();
        SetState(state);
    }
    void TearDown() override {
        EndTestStates();
        ResetFrameClock();
        SetFixedStep(1.0 / 60.0);
    }
    SlowState* state = nullptr;
};

}  // namespace

TEST_F(FrameClockTest, TheFirstFrameHasNoLength) {
    RunFrames(1);
    EXPECT_EQ(GetDeltaTime(), 0.0f);
    EXPECT_EQ(GetTotalTime(), 0.0f);
    RunFrames(1);
    EXPECT_GT(GetDeltaTime(), 0.0f);
}

TEST_F(FrameClockTest, PacesAtSixtyHertzWhenTheMonitorReportsNoRate) {
    // Virtual displays report 0 Hz; the game never runs faster than 60 frames per second.
    EXPECT_DOUBLE_EQ(GetFramePeriod(), 1.0 / 60.0);
    for (int i = 0; i < 5; ++i) {
        ResetFrameClock();
        const double start = glfwGetTime();
        RunFrames(1);
        EXPECT_GE(glfwGetTime() - start, 1.0 / 60.0) << "a quick frame is held back to the period";
    }
}

// The limiter's arithmetic against a given clock: a frame a little late is caught up by the next
// ones, but after a stall the pace starts again from the clock instead of repaying the lag with
// frames that never wait.
TEST(FrameDeadlineTest, ASmallLagIsCaughtUpAndAStallStartsThePaceAgainFromNow) {
    constexpr double kPeriod = 1.0 / 60.0;
    EXPECT_DOUBLE_EQ(NextFrameDeadline(10.0, 10.0 + kPeriod, kPeriod), 10.0 + kPeriod);
    EXPECT_DOUBLE_EQ(NextFrameDeadline(10.0, 10.0 + 1.9 * kPeriod, kPeriod), 10.0 + kPeriod);

    // Three seconds stopped, then frames of 2 ms each: every one of them is held to the period.
    double deadline = NextFrameDeadline(10.0, 13.0, kPeriod);
    EXPECT_DOUBLE_EQ(deadline, 13.0);
    double now = 13.0;
    int unpaced = 0;
    for (int frame = 0; frame < 120; ++frame) {
        const double worked = now + 0.002;
        const double end = std::max(worked, deadline + kPeriod);  // the limiter's wait
        if (end - now < kPeriod * 0.999) {
            ++unpaced;
        }
        deadline = NextFrameDeadline(deadline, end, kPeriod);
        now = end;
    }
    EXPECT_EQ(unpaced, 0);
}

TEST_F(FrameClockTest, AStallBecomesAtMostATenthOfASecond) {
    RunFrames(2);
    state->stall = 400;
    RunFrames(1);
    EXPECT_LE(GetDeltaTime(), 0.1f);
    EXPECT_GT(GetDeltaTime(), 0.09f);
}

TEST_F(FrameClockTest, AFixedStepAdvancesExactlyAfterTheFirstFrame) {
    SetFixedStep(0.025);
    RunFrames(1);
    EXPECT_EQ(GetDeltaTime(), 0.0f);
    RunFrames(4);
    EXPECT_FLOAT_EQ(GetDeltaTime(), 0.025f);
    EXPECT_FLOAT_EQ(GetTotalTime(), 0.1f);
}

TEST_F(FrameClockTest, TheTimeScaleScalesTheLogicStep) {
    SetFixedStep(0.02);
    RunFrames(3);
    SetTimeScale(0.5f);
    EXPECT_FLOAT_EQ(GetDeltaTime(), 0.01f);
    EXPECT_FLOAT_EQ(GetScaledTotalTime(), GetTotalTime() * 0.5f);
    SetTimeScale(1.0f);
}
