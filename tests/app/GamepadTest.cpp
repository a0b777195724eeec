#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/Gamepad.h"

namespace {

std::vector<std::pair<int, int>> sent;

void Collect(int key, int action) {
    sent.emplace_back(key, action);
}

GLFWgamepadstate Idle() {
    GLFWgamepadstate pad{};
    return pad;
}

class GamepadTest : public testing::Test {
protected:
    void SetUp() override { sent.clear(); }
    void Feed(const GLFWgamepadstate& pad) { translator.Feed(&pad, 1); }
    GamepadTranslator translator{Collect};
};

using Events = std::vector<std::pair<int, int>>;

}  // namespace

TEST_F(GamepadTest, ButtonsBecomeTheirKeysOncePerPress) {
    GLFWgamepadstate pad = Idle();
    pad.buttons[GLFW_GAMEPAD_BUTTON_A] = GLFW_PRESS;
    pad.buttons[GLFW_GAMEPAD_BUTTON_X] = GLFW_PRESS;
    Feed(pad);
    EXPECT_EQ(sent, (Events{{GLFW_KEY_SPACE, GLFW_PRESS}, {GLFW_KEY_ENTER, GLFW_PRESS}, {GLFW_KEY_Q, GLFW_PRESS}}));
    sent.clear();
    Feed(pad);
    EXPECT_TRUE(sent.empty()) << "a held button sends nothing more";
    Feed(Idle());
    EXPECT_EQ(sent,
              (Events{{GLFW_KEY_SPACE, GLFW_RELEASE}, {GLFW_KEY_ENTER, GLFW_RELEASE}, {GLFW_KEY_Q, GLFW_RELEASE}}));

    sent.clear();
    pad = Idle();
    pad.buttons[GLFW_GAMEPAD_BUTTON_Y] = GLFW_PRESS;
    pad.buttons[GLFW_GAMEPAD_BUTTON_B] = GLFW_PRESS;
    pad.buttons[GLFW_GAMEPAD_BUTTON_START] = GLFW_PRESS;
    pad.buttons[GLFW_GAMEPAD_BUTTON_BACK] = GLFW_PRESS;
    pad.buttons[GLFW_GAMEPAD_BUTTON_DPAD_UP] = GLFW_PRESS;
    Feed(pad);
    EXPECT_EQ(sent, (Events{{GLFW_KEY_UP, GLFW_PRESS},
                            {GLFW_KEY_W, GLFW_PRESS},
                            {GLFW_KEY_E, GLFW_PRESS},
                            {GLFW_KEY_ESCAPE, GLFW_PRESS},
                            {GLFW_KEY_GRAVE_ACCENT, GLFW_PRESS}}));
}

TEST_F(GamepadTest, TheStickHasADeadZoneAndHysteresis) {
    GLFWgamepadstate pad = Idle();
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.45f;
    Feed(pad);
    EXPECT_TRUE(sent.empty()) << "inside the dead zone";
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.55f;
    Feed(pad);
    EXPECT_EQ(sent, (Events{{GLFW_KEY_RIGHT, GLFW_PRESS}}));
    sent.clear();
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.35f;
    Feed(pad);
    EXPECT_TRUE(sent.empty()) << "between the bounds the key stays down";
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.25f;
    Feed(pad);
    EXPECT_EQ(sent, (Events{{GLFW_KEY_RIGHT, GLFW_RELEASE}}));
    sent.clear();
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = -0.9f;
    Feed(pad);
    EXPECT_EQ(sent, (Events{{GLFW_KEY_LEFT, GLFW_PRESS}}));
}

TEST_F(GamepadTest, RunningWithATiltedStickNeverJumps) {
    GLFWgamepadstate pad = Idle();
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.8f;
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -0.7f;
    Feed(pad);
    EXPECT_EQ(sent, (Events{{GLFW_KEY_RIGHT, GLFW_PRESS}}));
    sent.clear();
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -0.9f;
    Feed(pad);
    EXPECT_EQ(sent, (Events{{GLFW_KEY_UP, GLFW_PRESS}})) << "pushed far up, it is Up";
    sent.clear();
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = 0.95f;
    Feed(pad);
    EXPECT_EQ(sent, (Events{{GLFW_KEY_UP, GLFW_RELEASE}, {GLFW_KEY_DOWN, GLFW_PRESS}}));
}

TEST_F(GamepadTest, DPadAndStickTogetherHoldOneKey) {
    GLFWgamepadstate pad = Idle();
    pad.buttons[GLFW_GAMEPAD_BUTTON_DPAD_LEFT] = GLFW_PRESS;
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = -1.0f;
    Feed(pad);
    pad.buttons[GLFW_GAMEPAD_BUTTON_DPAD_LEFT] = GLFW_RELEASE;
    Feed(pad);
    EXPECT_EQ(sent, (Events{{GLFW_KEY_LEFT, GLFW_PRESS}})) << "the stick still holds Left";
}

TEST_F(GamepadTest, DisconnectingReleasesEverythingThePadHeld) {
    GLFWgamepadstate pad = Idle();
    pad.buttons[GLFW_GAMEPAD_BUTTON_A] = GLFW_PRESS;
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 1.0f;
    Feed(pad);
    sent.clear();
    translator.Feed(nullptr, 0);
    EXPECT_EQ(sent,
              (Events{{GLFW_KEY_RIGHT, GLFW_RELEASE}, {GLFW_KEY_SPACE, GLFW_RELEASE}, {GLFW_KEY_ENTER, GLFW_RELEASE}}));
}

TEST_F(GamepadTest, TwoPadsMerge) {
    GLFWgamepadstate pads[2] = {Idle(), Idle()};
    pads[0].buttons[GLFW_GAMEPAD_BUTTON_X] = GLFW_PRESS;
    pads[1].buttons[GLFW_GAMEPAD_BUTTON_X] = GLFW_PRESS;
    pads[1].axes[GLFW_GAMEPAD_AXIS_LEFT_X] = -0.7f;
    translator.Feed(pads, 2);
    EXPECT_EQ(sent, (Events{{GLFW_KEY_LEFT, GLFW_PRESS}, {GLFW_KEY_Q, GLFW_PRESS}}));
}
