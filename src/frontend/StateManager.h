#pragma once

#include <memory>
#include <utility>

class State;

// The running state; the manager owns it.
State* GetCurrentState();
// Requests a change and takes the state; the first state is loaded at once, later ones at the
// start of the next frame.
void SetState(std::unique_ptr<State> next);
// Makes a T, requests it as SetState does and returns it; the manager owns it.
template <typename T, typename... Args>
T* SetNewState(Args&&... args) {
    auto made = std::make_unique<T>(std::forward<Args>(args)...);
    T* state = made.get();
    SetState(std::move(made));
    return state;
}
// Unloads and loads the current state object in place.
void RestartState();
void ApplyPendingState();
void UpdateAndRenderState();
void ShutdownStates();
bool HasPendingState();
