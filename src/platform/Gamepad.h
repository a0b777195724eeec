#pragma once

#include <GLFW/glfw3.h>

// Turns gamepad states into the key events the keyboard would give, so the game, the menus and
// the editor need nothing of their own: the D-pad and the left stick act as the arrows, A as
// Space and Enter, X as Q, Y as W, B as E, Start as Escape, Back as the grave accent.
class GamepadTranslator {
public:
    using KeySink = void (*)(int key, int action);

    explicit GamepadTranslator(KeySink sink_) : sink(sink_) {}

    // One frame of every connected pad merged into one; a missing pad counts as all released.
    void Feed(const GLFWgamepadstate* pads, int padCount);

    // The stick must pass these to press, and come back inside the release bound to let go.
    static constexpr float kHorizontalPress = 0.5f;
    static constexpr float kHorizontalRelease = 0.3f;
    // Up and Down also jump and choose menu buttons, so they want the stick pushed far.
    static constexpr float kVerticalPress = 0.85f;
    static constexpr float kVerticalRelease = 0.6f;

private:
    enum Output { LEFT, RIGHT, UP, DOWN, SPACE, ENTER, Q, W, E, ESCAPE, GRAVE, OUTPUT_COUNT };

    static bool StickPast(bool wasPast, float value, float press, float release);

    KeySink sink;
    bool keyDown[OUTPUT_COUNT] = {};
    bool stickLeft = false;
    bool stickRight = false;
    bool stickUp = false;
    bool stickDown = false;
};

// Reads every connected gamepad through GLFW and feeds the game's key callback; once a frame.
void PollGamepads();
