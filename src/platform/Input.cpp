#include "platform/Input.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <imgui.h>

#include <cmath>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <map>

#include "platform/Window.h"

namespace {

// The depth the window is cleared to: where the cursor lies when the depth is not read.
constexpr float kClearedDepth = 1.0f;
bool mouseDepthRead = true;

// Every code GLFW reports (-1 for a key it does not know, then mouse buttons and keys) has its
// entry from the start, released, so a first press or query never takes a node in play and the
// copy at each frame's end reuses the nodes already there.
std::map<int, KeyEvent> EveryCodeReleased() {
    std::map<int, KeyEvent> keys;
    for (int code = GLFW_KEY_UNKNOWN; code <= GLFW_KEY_LAST; ++code) {
        keys.emplace(code, KeyEvent{code, GLFW_RELEASE, 0});
    }
    return keys;
}

std::map<int, KeyEvent> currentKeys = EveryCodeReleased();
std::map<int, KeyEvent> previousKeys = EveryCodeReleased();
double scrollOffset = 0.0;
Vector3 mouseWorldPos;
Vector3 mouseViewPos;
Vector3 prevMouseViewPos;
InputListener inputListener;

constexpr int kEnterKey = 257;
constexpr int kAltOnly = 4;

// An absent previous entry reads as released; the lookup inserts it.
int PreviousAction(int code) {
    return previousKeys[code].action;
}

void UpdateImGuiKeys(int key, int action) {
    ImGuiIO& io = ImGui::GetIO();
    // GLFW reports keys it does not know as -1: those stay out of ImGui's array.
    const bool inRange = key >= 0 && key < static_cast<int>(IM_ARRAYSIZE(io.KeysDown));
    if (inRange && action == GLFW_PRESS) {
        io.KeysDown[key] = true;
    } else if (inRange && action == GLFW_RELEASE) {
        io.KeysDown[key] = false;
    }
    io.KeyCtrl = io.KeysDown[GLFW_KEY_LEFT_CONTROL] || io.KeysDown[GLFW_KEY_RIGHT_CONTROL];
    io.KeyShift = io.KeysDown[GLFW_KEY_LEFT_SHIFT] || io.KeysDown[GLFW_KEY_RIGHT_SHIFT];
    io.KeyAlt = io.KeysDown[GLFW_KEY_LEFT_ALT] || io.KeysDown[GLFW_KEY_RIGHT_ALT];
    io.KeySuper = false;
}

Vector3 ToVector(const glm::vec3& v) {
    return Vector3(v.x, v.y, v.z);
}

}  // namespace

bool IsTriggered(int code) {
    const auto it = currentKeys.find(code);
    if (it == currentKeys.end()) {
        return false;
    }
    return PreviousAction(code) == 0 && it->second.action > 0;
}

bool IsReleased(int code) {
    const auto it = currentKeys.find(code);
    if (it == currentKeys.end()) {
        return false;
    }
    return PreviousAction(code) > 0 && it->second.action == 0;
}

bool IsHeld(int code) {
    const auto it = currentKeys.find(code);
    return it != currentKeys.end() && it->second.action > 0;
}

void GetCursorPos(int* x, int* y) {
    double cx = 0.0;
    double cy = 0.0;
    if (GetWindow() != nullptr) {
        glfwGetCursorPos(GetWindow(), &cx, &cy);
    }
    if (x != nullptr) {
        *x = static_cast<int>(std::floor(cx));
    }
    if (y != nullptr) {
        *y = static_cast<int>(std::floor(cy));
    }
}

Vector3 GetMouseWorldPos() {
    return mouseWorldPos;
}

Vector3 GetMouseViewDelta() {
    return mouseViewPos - prevMouseViewPos;
}

float GetScrollOffset() {
    return static_cast<float>(scrollOffset);
}

namespace {

void ApplyKeyEvent(int key, int action, int mods) {
    currentKeys[key] = KeyEvent{key, action, mods & 0xFF};
    if (key == kEnterKey && action == GLFW_PRESS && mods == kAltOnly) {
        ToggleFullscreen();
    }
    UpdateImGuiKeys(key, action);
}

}  // namespace

void SetInputListener(const InputListener& listener) {
    inputListener = listener;
}

void KeyCallback(GLFWwindow*, int key, int, int action, int mods) {
    if (inputListener.key != nullptr) {
        inputListener.key(key, action, mods);
    }
    ApplyKeyEvent(key, action, mods);
}

void MouseButtonCallback(GLFWwindow*, int button, int action, int mods) {
    if (inputListener.mouseButton != nullptr) {
        inputListener.mouseButton(button, action, mods);
    }
    ApplyKeyEvent(button, action, mods);
}

void ScrollCallback(GLFWwindow*, double, double yOffset) {
    if (inputListener.scroll != nullptr) {
        inputListener.scroll(yOffset);
    }
    scrollOffset = yOffset;
}

void EndInputFrame(const glm::mat4& model, const glm::mat4& view, const glm::mat4& projection) {
    int x = 0;
    int y = 0;
    GetCursorPos(&x, &y);
    glm::ivec4 viewport;
    glGetIntegerv(GL_VIEWPORT, &viewport[0]);
    const float wy = static_cast<float>(viewport[3] - y);
    float depth = kClearedDepth;
    if (mouseDepthRead) {
        glReadPixels(x, static_cast<int>(wy), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    }
    const glm::vec3 win(static_cast<float>(x), wy, depth);
    const glm::mat4 modelView = view * model;
    const glm::vec4 viewportF(viewport);
    mouseWorldPos = ToVector(glm::unProject(win, modelView, projection, viewportF));
    prevMouseViewPos = mouseViewPos;
    mouseViewPos = ToVector(glm::unProject(win, model, projection, viewportF));

    previousKeys = currentKeys;
    scrollOffset = 0.0;
}

void SetMouseDepthRead(bool read) {
    mouseDepthRead = read;
}

void ResetInput() {
    currentKeys = EveryCodeReleased();
    previousKeys = EveryCodeReleased();
    scrollOffset = 0.0;
}
