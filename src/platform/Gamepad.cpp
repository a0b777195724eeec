#include "platform/Gamepad.h"

#include "platform/Input.h"
#include "platform/Window.h"

namespace {

constexpr int kOutputKeys[] = {
    GLFW_KEY_LEFT, GLFW_KEY_RIGHT, GLFW_KEY_UP, GLFW_KEY_DOWN,   GLFW_KEY_SPACE,        GLFW_KEY_ENTER,
    GLFW_KEY_Q,    GLFW_KEY_W,     GLFW_KEY_E,  GLFW_KEY_ESCAPE, GLFW_KEY_GRAVE_ACCENT,
};

bool Pressed(const GLFWgamepadstate& pad, int button) {
    return pad.buttons[button] == GLFW_PRESS;
}

void SendToGame(int key, int action) {
    KeyCallback(GetWindow(), key, 0, action, 0);
}

}  // namespace

bool GamepadTranslator::StickPast(bool wasPast, float value, float press, float release) {
    return wasPast ? value > release : value > press;
}

void GamepadTranslator::Feed(const GLFWgamepadstate* pads, int padCount) {
    float x = 0.0f;
    float y = 0.0f;
    bool wanted[OUTPUT_COUNT] = {};
    for (int i = 0; i < padCount; ++i) {
        const GLFWgamepadstate& pad = pads[i];
        wanted[LEFT] |= Pressed(pad, GLFW_GAMEPAD_BUTTON_DPAD_LEFT);
        wanted[RIGHT] |= Pressed(pad, GLFW_GAMEPAD_BUTTON_DPAD_RIGHT);
        wanted[UP] |= Pressed(pad, GLFW_GAMEPAD_BUTTON_DPAD_UP);
        wanted[DOWN] |= Pressed(pad, GLFW_GAMEPAD_BUTTON_DPAD_DOWN);
        wanted[SPACE] |= Pressed(pad, GLFW_GAMEPAD_BUTTON_A);
        wanted[ENTER] |= Pressed(pad, GLFW_GAMEPAD_BUTTON_A);
        wanted[Q] |= Pressed(pad, GLFW_GAMEPAD_BUTTON_X);
        wanted[W] |= Pressed(pad, GLFW_GAMEPAD_BUTTON_Y);
        wanted[E] |= Pressed(pad, GLFW_GAMEPAD_BUTTON_B);
        wanted[ESCAPE] |= Pressed(pad, GLFW_GAMEPAD_BUTTON_START);
        wanted[GRAVE] |= Pressed(pad, GLFW_GAMEPAD_BUTTON_BACK);
        // The pad pushed furthest decides the stick.
        const float padX = pad.axes[GLFW_GAMEPAD_AXIS_LEFT_X];
        const float padY = pad.axes[GLFW_GAMEPAD_AXIS_LEFT_Y];
        x = padX * padX > x * x ? padX : x;
        y = padY * padY > y * y ? padY : y;
    }
    stickLeft = StickPast(stickLeft, -x, kHorizontalPress, kHorizontalRelease);
    stickRight = StickPast(stickRight, x, kHorizontalPress, kHorizontalRelease);
    // GLFW's stick y grows downwards.
    stickUp = StickPast(stickUp, -y, kVerticalPress, kVerticalRelease);
    stickDown = StickPast(stickDown, y, kVerticalPress, kVerticalRelease);
    wanted[LEFT] |= stickLeft;
    wanted[RIGHT] |= stickRight;
    wanted[UP] |= stickUp;
    wanted[DOWN] |= stickDown;

    for (int output = 0; output < OUTPUT_COUNT; ++output) {
        if (wanted[output] != keyDown[output]) {
            keyDown[output] = wanted[output];
            sink(kOutputKeys[output], wanted[output] ? GLFW_PRESS : GLFW_RELEASE);
        }
    }
}

void PollGamepads() {
    static GamepadTranslator translator(SendToGame);
    GLFWgamepadstate pads[GLFW_JOYSTICK_LAST + 1];
    int padCount = 0;
    for (int joystick = GLFW_JOYSTICK_1; joystick <= GLFW_JOYSTICK_LAST; ++joystick) {
        if (glfwJoystickIsGamepad(joystick) && glfwGetGamepadState(joystick, &pads[padCount])) {
            ++padCount;
        }
    }
    translator.Feed(pads, padCount);
}
