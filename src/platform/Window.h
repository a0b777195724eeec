#pragma once

struct GLFWwindow;

// The one window of the game, its GL context and Dear ImGui.
void InitWindow();
// The window's icon from Textures/window_icon.png; without the file the window has none.
void SetWindowIcon();
void ShutdownWindow();
bool IsWindowOpen();
void RequestQuit();
bool SetFullscreen(bool on);
void ToggleFullscreen();
bool IsFullscreen();
void CenterWindow();
GLFWwindow* GetWindow();
void SetCursorVisible(bool visible);

// Current framebuffer size in pixels; the world-to-screen mapping keeps using 1024 x 720.
int GetWindowWidth();
int GetWindowHeight();
// Refresh rate the primary monitor reported when the window was created (0 on virtual displays).
int GetRefreshRate();

// What the game does when the window gains or loses the keyboard focus (pause, sound): the
// handler the start-up installs (frontend/GameStateManager.h); nothing without one.
void SetWindowFocusHandler(void (*handler)(bool focused));
void WindowFocusChanged(bool focused);
// Tests run several game windows on one virtual display, where focus moves between them at random;
// they switch the focus handling off and call WindowFocusChanged themselves.
void IgnoreWindowFocus();

// The size the window takes when it is not full-screen (1024 x 720 unless --size says otherwise).
void SetWindowedSize(int width, int height);

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 720;
