#pragma once

#include <memory>

class BaseGameState;

// The overlay menu ids: no overlay in the main menu or in a level, then the three menus.
enum MenuId : int {
    MENU_NONE_MAIN_MENU = 0,
    MENU_NONE_PLAYING = 1,
    MENU_PAUSE = 2,
    MENU_OPTIONS = 3,
    MENU_QUIT = 4,
    MENU_UNSET = 5,
};

constexpr int kMenuCount = 5;

// The overlay menus over every scene: 0 main menu, 1 playing, 2 pause, 3 options, 4 quit. One
// object per id, made together the first time they are needed; the current one is updated after
// the scene and its objects are drawn with the button list.
class GameStateManager {
public:
    GameStateManager();
    ~GameStateManager();

    // Makes the five menus if they are not there yet; the current one is then the main menu's.
    void EnsureCreated();
    // Leaves the current menu and enters `id`; the same id, MENU_UNSET or an unknown one changes nothing.
    void SwitchTo(int id);
    bool IsMenuOpen() const;
    int GetCurrentId() const;
    // The selected button index while a menu with buttons is open, else -1.
    int GetSelected() const;
    void UpdateCurrent();
    void RenderCurrent();

    BaseGameState* GetCurrent() const { return current; }
    BaseGameState* GetMenu(int id) const;

private:
    std::unique_ptr<BaseGameState> slots[kMenuCount];
    BaseGameState* current = nullptr;
};

GameStateManager& GetGameStateManager();

// The window's focus handler (platform/Window.h), installed at start-up: the sounds pause while
// the window is away, and a playing screen opens the pause menu; loading and splash do not.
void OnWindowFocusChanged(bool focused);
