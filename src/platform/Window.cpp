#include "platform/Window.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <SOIL/SOIL.h>
#include <imgui.h>
#include <imgui_impl_glfw.h>
#include <imgui_impl_opengl3.h>

#include <cstdlib>

#include "base/Log.h"
#include "platform/Input.h"
#include "platform/LeakCheck.h"

namespace {

GLFWwindow* window = nullptr;
int windowWidth = kScreenWidth;
int windowHeight = kScreenHeight;
int windowedWidth = kScreenWidth;
int windowedHeight = kScreenHeight;
int refreshRate = 0;
bool isFullscreen = false;
void (*focusHandler)(bool focused) = nullptr;

void ErrorCallback(int code, const char* description) {
    LogError("[Error %d]: %s\n", code, description);
}

void FramebufferSizeCallback(GLFWwindow*, int width, int height) {
    windowWidth = width;
    windowHeight = height;
    glViewport(0, 0, width, height);
}

void WindowFocusCallback(GLFWwindow* focusedWindow, int focused) {
    ImGui_ImplGlfw_WindowFocusCallback(focusedWindow, focused);
    WindowFocusChanged(focused != 0);
}

// The primary monitor's current mode; null, with a message, when the system reports no monitor
// (a session without a screen, the monitor unplugged) or no mode for it.
const GLFWvidmode* PrimaryVideoMode() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
    if (mode == nullptr) {
        Log("No monitor or video mode: %s\n",
            monitor == nullptr ? "no monitor is connected" : "the monitor reports no video mode");
    }
    return mode;
}

void CenteredPosition(const GLFWvidmode& mode, int width, int height, int* x, int* y) {
    *x = mode.width / 2 - width / 2;
    *y = mode.height / 2 - height / 2;
}

void InitImGui() {
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.IniSavingRate = -1.0f;
    ImGui::StyleColorsDark();
    ImGui_ImplGlfw_InitForOpenGL(window, true);
    ImGui_ImplOpenGL3_Init("#version 130");
}

void InstallCallbacks() {
    glfwSetErrorCallback(ErrorCallback);
    glfwSetFramebufferSizeCallback(window, FramebufferSizeCallback);
    glfwSetKeyCallback(window, KeyCallback);
    glfwSetMouseButtonCallback(window, MouseButtonCallback);
    glfwSetScrollCallback(window, ScrollCallback);
    glfwSetWindowFocusCallback(window, WindowFocusCallback);
}

}  // namespace

void SetWindowFocusHandler(void (*handler)(bool focused)) {
    focusHandler = handler;
}

void WindowFocusChanged(bool focused) {
    if (focusHandler != nullptr) {
        focusHandler(focused);
    }
}

void IgnoreWindowFocus() {
    glfwSetWindowFocusCallback(window, nullptr);
}

void SetWindowIcon() {
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* pixels = SOIL_load_image("Textures/window_icon.png", &width, &height, &channels, SOIL_LOAD_RGBA);
    if (pixels == nullptr) {
        // The window goes without an icon, but the player learns why.
        Log("Texture Load Error: '%s'\n", SOIL_last_result());
        return;
    }
    GLFWimage icon{width, height, pixels};
    glfwSetWindowIcon(window, 1, &icon);
    SOIL_free_image_data(pixels);
}

void InitWindow() {
    glfwSetErrorCallback(ErrorCallback);
    if (glfwInit() != GLFW_TRUE) {
        Log("Failed to initialise GLFW!\n");
        std::abort();
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    window = glfwCreateWindow(windowedWidth, windowedHeight, "Lirra", nullptr, nullptr);
    if (window == nullptr) {
        Log("Failed to create Window!\n");
        std::abort();
    }
    glfwGetFramebufferSize(window, &windowWidth, &windowHeight);
    // Without a mode the rate is unknown, and the limiter paces at the game's own rate.
    const GLFWvidmode* mode = PrimaryVideoMode();
    refreshRate = mode != nullptr ? mode->refreshRate : 0;
    CenterWindow();
    glfwMakeContextCurrent(window);
    InitImGui();
    InstallCallbacks();
    glewExperimental = GL_TRUE;
    glewInit();
    glGetError();  // glewInit may leave a harmless error behind on some drivers
    KeepGlDriverMapped();
    glfwSwapInterval(0);
}

void ShutdownWindow() {
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplGlfw_Shutdown();
    ImGui::DestroyContext();
    glfwDestroyWindow(window);
    glfwTerminate();
    window = nullptr;
}

bool IsWindowOpen() {
    return window != nullptr && !glfwWindowShouldClose(window);
}

void RequestQuit() {
    glfwSetWindowShouldClose(window, GLFW_TRUE);
}

bool SetFullscreen(bool on) {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = PrimaryVideoMode();
    if (mode == nullptr) {
        // Nothing to cover and nothing to centre on: the window stays as it is.
        Log("[Fullscreen: %d]: not available, the window stays\n", on ? 1 : 0);
        return isFullscreen;
    }
    int x = 0;
    int y = 0;
    CenteredPosition(*mode, windowedWidth, windowedHeight, &x, &y);
    Log("[Fullscreen: %d]\nRefresh Rate: %d\n", on ? 1 : 0, mode->refreshRate);
    if (on) {
        glfwSetWindowMonitor(window, monitor, x, y, mode->width, mode->height, mode->refreshRate);
    } else {
        glfwSetWindowMonitor(window, nullptr, x, y, windowedWidth, windowedHeight, mode->refreshRate);
    }
    isFullscreen = on;
    return on;
}

void ToggleFullscreen() {
    SetFullscreen(!isFullscreen);
}

bool IsFullscreen() {
    return isFullscreen;
}

void CenterWindow() {
    const GLFWvidmode* mode = PrimaryVideoMode();
    if (mode == nullptr) {
        return;
    }
    int x = 0;
    int y = 0;
    CenteredPosition(*mode, windowedWidth, windowedHeight, &x, &y);
    glfwSetWindowPos(window, x, y);
}

GLFWwindow* GetWindow() {
    return window;
}

void SetCursorVisible(bool visible) {
    if (window != nullptr) {
        glfwSetInputMode(window, GLFW_CURSOR, visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
    }
}

int GetWindowWidth() {
    return windowWidth;
}

int GetWindowHeight() {
    return windowHeight;
}

int GetRefreshRate() {
    return refreshRate;
}

void SetWindowedSize(int width, int height) {
    windowedWidth = width;
    windowedHeight = height;
}
