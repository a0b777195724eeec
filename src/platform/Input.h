#pragma once

#include <glm/glm.hpp>

#include "math/Vector.h"

struct GLFWwindow;

// The last event seen for one key code or mouse-button number.
struct KeyEvent {
    int key = 0;
    int action = 0;  // 0 release, 1 press, 2 repeat
    int mods = 0;
};

bool IsTriggered(int code);
bool IsReleased(int code);
bool IsHeld(int code);

void GetCursorPos(int* x, int* y);
Vector3 GetMouseWorldPos();
Vector3 GetMouseViewDelta();
float GetScrollOffset();

// Hears every key, mouse-button and scroll event before the game does (the input recording).
struct InputListener {
    void (*key)(int key, int action, int mods) = nullptr;
    void (*mouseButton)(int button, int action, int mods) = nullptr;
    void (*scroll)(double yOffset) = nullptr;
};
void SetInputListener(const InputListener& listener);

// GLFW callbacks; also the entry points for replayed events.
void KeyCallback(GLFWwindow* window, int key, int scancode, int action, int mods);
void MouseButtonCallback(GLFWwindow* window, int button, int action, int mods);
void ScrollCallback(GLFWwindow* window, double xOffset, double yOffset);

// Once per frame, after the ImGui draw and before the frame limiter; the cursor is placed in the
// world through the frame's model, view and projection matrices.
void EndInputFrame(const glm::mat4& model, const glm::mat4& view, const glm::mat4& projection);
// Whether the end of frame reads the depth under the cursor (it waits for the renderer to finish
// the frame); without it the cursor lies at the cleared depth. Only the editor and the console's
// read-out use the depth. On by default.
void SetMouseDepthRead(bool read);

// For tests: forget every key ever seen.
void ResetInput();
