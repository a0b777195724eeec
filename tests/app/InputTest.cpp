#include <gtest/gtest.h>

#include <GLFW/glfw3.h>
#include <imgui.h>

#include "automation/InputScript.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "support/TestGame.h"

namespace {

// Records, each frame, what the game's queries answer for one key.
class KeyWatchState : public State {
public:
    explicit KeyWatchState(int key_) : State(STATE_LEVEL_1), key(key_) {}
    void Load() override {}
    void Update() override {
        triggered = IsTriggered(key);
        held = IsHeld(key);
        released = IsReleased(key);
        scroll = GetScrollOffset();
    }
    void Render() override {}
    void Unload() override {}

    int key;
    bool triggered = false;
    bool held = false;
    bool released = false;
    float scroll = 0;
};

class InputTest : public testing::Test {
protected:
    void SetUp() override {
        StartTestGame();
        EndTestStates();
        ResetInput();
        state = new KeyWatchState(GLFW_KEY_Q);
        SetState(state);
        RunFrames(1);
    }
    void TearDown() override {
        EndTestStates();
        ResetInput();
    }

    // Events are recorded between frames exactly as the event poll would deliver them.
    void Key(int key, int action, int mods = 0) { KeyCallback(GetWindow(), key, 0, action, mods); }

    KeyWatchState* state = nullptr;
};

}  // namespace

TEST_F(InputTest, HoldingAKeyTriggersOnceAndReleasesOnce) {
    Key(GLFW_KEY_Q, GLFW_PRESS);
    RunFrames(1);
    EXPECT_TRUE(state->triggered);
    EXPECT_TRUE(state->held);
    EXPECT_FALSE(state->released);

    Key(GLFW_KEY_Q, GLFW_REPEAT);
    RunFrames(1);
    EXPECT_FALSE(state->triggered) << "a repeat is not a new press";
    EXPECT_TRUE(state->held);

    RunFrames(1);
    EXPECT_FALSE(state->triggered);
    EXPECT_TRUE(state->held);

    Key(GLFW_KEY_Q, GLFW_RELEASE);
    RunFrames(1);
    EXPECT_FALSE(state->held);
    EXPECT_TRUE(state->released);

    RunFrames(1);
    EXPECT_FALSE(state->released);
}

TEST_F(InputTest, PressAndReleaseInOnePollIsNeitherTriggeredNorHeld) {
    Key(GLFW_KEY_Q, GLFW_PRESS);
    Key(GLFW_KEY_Q, GLFW_RELEASE);
    RunFrames(1);
    EXPECT_FALSE(state->triggered);
    EXPECT_FALSE(state->held);
    EXPECT_FALSE(state->released) << "it was not down in the previous frame";

    Key(GLFW_KEY_Q, GLFW_PRESS);
    RunFrames(1);
    Key(GLFW_KEY_Q, GLFW_RELEASE);
    Key(GLFW_KEY_Q, GLFW_PRESS);
    Key(GLFW_KEY_Q, GLFW_RELEASE);
    RunFrames(1);
    EXPECT_TRUE(state->released) << "down in the previous frame, up after this poll";
}

TEST_F(InputTest, ACodeNeverSeenAnswersFalse) {
    EXPECT_FALSE(IsTriggered(GLFW_KEY_F12));
    EXPECT_FALSE(IsHeld(GLFW_KEY_F12));
    EXPECT_FALSE(IsReleased(GLFW_KEY_F12));
}

TEST_F(InputTest, MouseButtonsShareTheKeyCodes) {
    MouseButtonCallback(GetWindow(), GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS, 0);
    MouseButtonCallback(GetWindow(), GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS, 0);
    RunFrames(1);
    EXPECT_TRUE(IsHeld(0));
    EXPECT_TRUE(IsHeld(1));
    MouseButtonCallback(GetWindow(), GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE, 0);
    MouseButtonCallback(GetWindow(), GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE, 0);
    RunFrames(1);
}

TEST_F(InputTest, OnlyTheLastScrollOfAFrameCounts) {
    ScrollCallback(GetWindow(), 0, 1.0);
    ScrollCallback(GetWindow(), 0, -2.0);
    RunFrames(1);
    EXPECT_FLOAT_EQ(state->scroll, -2.0f);
    RunFrames(1);
    EXPECT_FLOAT_EQ(state->scroll, 0.0f);
}

TEST_F(InputTest, AltEnterTogglesFullScreenOncePerPressAndCtrlEnterDoesNot) {
    ASSERT_FALSE(IsFullscreen());
    testing::internal::CaptureStdout();
    Key(GLFW_KEY_ENTER, GLFW_PRESS, GLFW_MOD_CONTROL);
    Key(GLFW_KEY_ENTER, GLFW_RELEASE, GLFW_MOD_CONTROL);
    EXPECT_FALSE(IsFullscreen());
    Key(GLFW_KEY_ENTER, GLFW_PRESS, GLFW_MOD_ALT);
    Key(GLFW_KEY_ENTER, GLFW_REPEAT, GLFW_MOD_ALT);
    EXPECT_TRUE(IsFullscreen());
    Key(GLFW_KEY_ENTER, GLFW_RELEASE, GLFW_MOD_ALT);
    Key(GLFW_KEY_ENTER, GLFW_PRESS, GLFW_MOD_ALT);
    EXPECT_FALSE(IsFullscreen());
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("[Fullscreen: 1]\nRefresh Rate: "), std::string::npos);
    EXPECT_NE(printed.find("[Fullscreen: 0]\nRefresh Rate: "), std::string::npos);
    RunFrames(2);
    EXPECT_EQ(GetWindowWidth(), 256) << "back to the windowed size";
}

TEST_F(InputTest, UnknownKeysAreRecordedButStayOutOfImGui) {
    Key(GLFW_KEY_UNKNOWN, GLFW_PRESS);
    Key(600, GLFW_PRESS);
    RunFrames(1);
    EXPECT_TRUE(IsHeld(GLFW_KEY_UNKNOWN));
    EXPECT_TRUE(IsHeld(600));
    Key(GLFW_KEY_LEFT_SHIFT, GLFW_PRESS);
    EXPECT_TRUE(ImGui::GetIO().KeyShift);
    Key(GLFW_KEY_LEFT_SHIFT, GLFW_RELEASE);
    EXPECT_FALSE(ImGui::GetIO().KeyShift);
}

TEST(InputScript, ReadsEveryEventKindAndComments) {
    std::vector<ScriptedEvent> events;
    std::string error;
    const std::string text =
        "# a comment line\n"
        "\n"
        "3 key RIGHT press\n"
        "3 key 81 release 4   # trailing comment\n"
        "5 mouse 1 press\n"
        "7 cursor 100 200.5\n"
        "9 scroll -1\n"
        "10 key A repeat\n";
    ASSERT_TRUE(ParseInputScript(text, events, error)) << error;
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].frame, 3);
    EXPECT_EQ(events[0].code, GLFW_KEY_RIGHT);
    EXPECT_EQ(events[0].action, GLFW_PRESS);
    EXPECT_EQ(events[1].code, GLFW_KEY_Q);
    EXPECT_EQ(events[1].mods, 4);
    EXPECT_EQ(events[2].type, ScriptedEvent::Type::Mouse);
    EXPECT_EQ(events[3].type, ScriptedEvent::Type::Cursor);
    EXPECT_DOUBLE_EQ(events[3].y, 200.5);
    EXPECT_DOUBLE_EQ(events[4].y, -1.0);
    EXPECT_EQ(events[5].code, 'A');
    EXPECT_EQ(events[5].action, GLFW_REPEAT);
}

TEST(InputScript, AMalformedLineNamesItsNumber) {
    std::vector<ScriptedEvent> events;
    std::string error;
    EXPECT_FALSE(ParseInputScript("1 key SPACE press\n2 key NOPE press\n", events, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_FALSE(ParseInputScript("x key SPACE press\n", events, error));
    EXPECT_FALSE(ParseInputScript("1 key SPACE hold\n", events, error));
    EXPECT_FALSE(ParseInputScript("1 cursor 4\n", events, error));
    EXPECT_FALSE(ParseInputScript("1 mouse 9 press\n", events, error));
    EXPECT_FALSE(ParseInputScript("-1 key SPACE press\n", events, error));
}

TEST(InputScript, KeyNamesRoundTrip) {
    for (const char* name : {"SPACE", "ENTER", "KP_ENTER", "ESCAPE", "GRAVE_ACCENT", "F5", "LEFT_ALT", "Q", "5"}) {
        const int code = KeyCodeFromName(name);
        ASSERT_GE(code, 0) << name;
        EXPECT_STREQ(KeyNameFromCode(code), name);
    }
    EXPECT_EQ(KeyCodeFromName("BOGUS"), -2);
}
