#include "frontend/GameStateManager.h"

#include "audio/Audio.h"
#include "frontend/GameState.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"

GameStateManager::GameStateManager() = default;
GameStateManager::~GameStateManager() = default;

void GameStateManager::EnsureCreated() {
    if (slots[MENU_NONE_MAIN_MENU] != nullptr) {
        return;
    }
    slots[MENU_NONE_MAIN_MENU] = std::make_unique<GameState<MENU_NONE_MAIN_MENU>>();
    slots[MENU_NONE_PLAYING] = std::make_unique<GameState<MENU_NONE_PLAYING>>();
    slots[MENU_PAUSE] = std::make_unique<GameState<MENU_PAUSE>>();
    slots[MENU_OPTIONS] = std::make_unique<GameState<MENU_OPTIONS>>();
    slots[MENU_QUIT] = std::make_unique<GameState<MENU_QUIT>>();
    for (int id = 0; id < kMenuCount; ++id) {
        slots[id]->SetId(id);
    }
    current = slots[MENU_NONE_MAIN_MENU].get();
}

void GameStateManager::SwitchTo(int id) {
    if (id < 0 || id >= kMenuCount) {
        return;
    }
    // Asked before the loading screen made them (a test, the console): they are made now.
    EnsureCreated();
    if (id == current->GetId()) {
        return;
    }
    current->Exit();
    current = slots[id].get();
    current->Enter(id);
}

bool GameStateManager::IsMenuOpen() const {
    const int id = GetCurrentId();
    return id == MENU_PAUSE || id == MENU_OPTIONS || id == MENU_QUIT;
}

int GameStateManager::GetCurrentId() const {
    return current != nullptr ? current->GetId() : MENU_NONE_MAIN_MENU;
}

int GameStateManager::GetSelected() const {
    return current != nullptr ? current->GetSelected() : -1;
}

void GameStateManager::UpdateCurrent() {
    if (current != nullptr) {
        current->Update();
    }
}

void GameStateManager::RenderCurrent() {
    if (current != nullptr) {
        current->Render();
    }
}

BaseGameState* GameStateManager::GetMenu(int id) const {
    if (id < 0 || id >= kMenuCount) {
        return nullptr;
    }
    return slots[id].get();
}

GameStateManager& GetGameStateManager() {
    static GameStateManager manager;
    return manager;
}

void OnWindowFocusChanged(bool focused) {
    if (focused) {
        ResumeAllSounds();
        return;
    }
    PauseAllSounds();
    const State* state = GetCurrentState();
    if (state == nullptr || state->GetId() == STATE_SPLASH || state->GetId() == STATE_LOADING) {
        return;
    }
    if (!GetGameStateManager().IsMenuOpen()) {
        GetGameStateManager().SwitchTo(MENU_PAUSE);
        SetMasterVolume(0.3f);
    }
}
