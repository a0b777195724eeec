#include "frontend/GameStateManager.h"

void GameStateManager::EnsureCreated() {}

void GameStateManager::SwitchTo(int id) {
    if (id == 5 || id == currentId) {
        return;
    }
    currentId = id;
}

bool GameStateManager::IsMenuOpen() const {
    return currentId == 2 || currentId == 3 || currentId == 4;
}

int GameStateManager::GetSelected() const {
    return -1;
}

void GameStateManager::UpdateCurrent() {}
void GameStateManager::RenderCurrent() {}

GameStateManager& GetGameStateManager() {
    static GameStateManager manager;
    return manager;
}
