#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <sstream>
#include <string>
#include <vector>

#include "automation/InputScript.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "platform/FrameClock.h"
#include "platform/Gamepad.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "support/TestGame.h"

namespace {

struct SentKey {
    long frame;
    int key;
    int action;
};

std::vector<SentKey> sent;

// The same call the game's pad poll makes, noting what went in.
void SendToGame(int key, int action) {
    sent.push_back({GetFrameNumber(), key, action});
    KeyCallback(GetWindow(), key, 0, action, 0);
}

// A state in which Start opens no pause menu, so the test leaves no menu behind.
class QuietState : public State {
public:
    QuietState() : State(STATE_LOADING) {}
    void Load() override {}
    void Update() override {}
    void Render() override {}
    void Unload() override {}
};

GLFWgamepadstate Pressing(std::initializer_list<int> buttons, float stickX = 0.0f, float stickY = 0.0f) {
    GLFWgamepadstate pad{};
    for (int button : buttons) {
        pad.buttons[button] = GLFW_PRESS;
    }
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = stickX;
    pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = stickY;
    return pad;
}

// Every key line of a recording, comments and cursor lines left out.
std::string KeyLines(const std::string& recording) {
    std::istringstream lines(recording);
    std::string line;
    std::string keys;
    while (std::getline(lines, line)) {
        if (line.find(" key ") != std::string::npos && line[0] != '#') {
            keys += line + "\n";
        }
    }
    return keys;
}

}  // namespace

TEST(GamepadRecording, PadInputIsRecordedAsKeyEventsThatReplay) {
    StartTestGame();
    EndTestStates();
    ResetInput();
    SetState(new QuietState());
    RunFrames(1);
    sent.clear();

    const std::string dir = MakeTempDir("pad-record");
    const std::string recordPath = dir + "/pad.txt";
    ASSERT_TRUE(OpenInputRecording(recordPath));
    GamepadTranslator translator(SendToGame);
    const GLFWgamepadstate script[] = {
        Pressing({}, 0.9f),  // run right on the stick
        Pressing({GLFW_GAMEPAD_BUTTON_A}, 0.9f),
        Pressing({GLFW_GAMEPAD_BUTTON_X, GLFW_GAMEPAD_BUTTON_DPAD_LEFT}),
        Pressing({GLFW_GAMEPAD_BUTTON_Y, GLFW_GAMEPAD_BUTTON_B}, 0.0f, -1.0f),
        Pressing({GLFW_GAMEPAD_BUTTON_START, GLFW_GAMEPAD_BUTTON_BACK, GLFW_GAMEPAD_BUTTON_DPAD_DOWN}),
        Pressing({}),
    };
    for (const GLFWgamepadstate& pad : script) {
        translator.Feed(&pad, 1);
        RunFrames(1);
        if (&pad == &script[4]) {
            EXPECT_TRUE(IsHeld(GLFW_KEY_ESCAPE) && IsHeld(GLFW_KEY_GRAVE_ACCENT) && IsHeld(GLFW_KEY_DOWN))
                << "the game holds the keys of the pad's held buttons";
        }
        RunFrames(1);
    }
    CloseInputRecording();
    EndTestStates();
    ASSERT_EQ(sent.size(), 22u) << "eleven keys pressed and released";

    const std::string recorded = ReadFile(recordPath);
    std::vector<ScriptedEvent> events;
    std::string error;
    ASSERT_TRUE(ParseInputScript(recorded, events, error)) << error << "\n" << recorded;
    std::vector<ScriptedEvent> keys;
    for (const ScriptedEvent& event : events) {
        if (event.type == ScriptedEvent::Type::Key) {
            keys.push_back(event);
        }
    }
    ASSERT_EQ(keys.size(), sent.size()) << recorded;
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].frame, sent[i].frame) << i;
        EXPECT_EQ(keys[i].code, sent[i].key) << i;
        EXPECT_EQ(keys[i].action, sent[i].action) << i;
        EXPECT_EQ(keys[i].mods, 0) << i;
    }
    EXPECT_NE(recorded.find(" key GRAVE_ACCENT press 0\n"), std::string::npos) << "keys are written by name\n"
                                                                               << recorded;

    // The game replays the recording and delivers the same key events on the same frames.
    const long lastFrame = keys.back().frame;
    const std::string replayPath = dir + "/replay.txt";
    std::string output;
    ASSERT_EQ(RunCommand(std::string(LIRRA_BINARY_PATH) + " --size 64x45 --fixed-step 0.0166667 --frames " +
                             std::to_string(lastFrame + 2) + " --input " + recordPath + " --record " + replayPath,
                         &output),
              0)
        << output;
    EXPECT_EQ(KeyLines(ReadFile(replayPath)), KeyLines(recorded));
}
