#pragma once

// The overlay menus over every scene: 0 main menu, 1 playing, 2 pause, 3 options, 4 quit.
// (Being built: until then no menu is ever open.)
class GameStateManager {
public:
    void EnsureCreated();
    void SwitchTo(int id);
    bool IsMenuOpen() const;
    int  GetCurrentId() const { return currentId; }
    // The selected button index while a menu with buttons is open, else -1.
    int  GetSelected() const;
    void UpdateCurrent();
    void RenderCurrent();

private:
    int currentId = 0;
};

GameStateManager& GetGameStateManager();
