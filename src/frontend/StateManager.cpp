#include "frontend/StateManager.h"

#include <cstdio>

#include "frontend/State.h"
#include "graphics/Camera.h"

namespace {

State* currentState = nullptr;
State* pendingState = nullptr;

void LoadState(State* state) {
    state->PreLoad();
    state->Load();
    state->PostLoad();
}

void UnloadState(State* state) {
    state->PreUnload();
    state->Unload();
    state->PostUnload();
}

void UnloadAndDelete(State* state) {
    UnloadState(state);
    delete state;
}

}  // namespace

State* GetCurrentState() {
    return currentState;
}

bool HasPendingState() {
    return pendingState != nullptr;
}

void SetState(State* next) {
    // A request for no state is a caller's mistake; the running state carries on.
    if (next == nullptr) {
        return;
    }
    if (currentState == nullptr) {
        currentState = next;
        LoadState(currentState);
    } else {
        if (pendingState != nullptr) {
            UnloadAndDelete(pendingState);
        }
        pendingState = next;
    }
    GetCamera().Reset();
}

void RestartState() {
    if (currentState == nullptr) {
        return;
    }
    UnloadState(currentState);
    LoadState(currentState);
    GetCamera().Reset();
}

void ApplyPendingState() {
    if (pendingState == nullptr) {
        return;
    }
    std::printf("Changed [State %s] to [State %s]\n", currentState->GetName(), pendingState->GetName());
    UnloadAndDelete(currentState);
    currentState = pendingState;
    pendingState = nullptr;
    LoadState(currentState);
}

void UpdateAndRenderState() {
    if (currentState == nullptr) {
        return;
    }
    currentState->PreUpdate();
    currentState->Update();
    currentState->PostUpdate();
    if (currentState == nullptr) {
        return;
    }
    currentState->PreRender();
    currentState->Render();
    currentState->PostRender();
}

void ShutdownStates() {
    if (currentState != nullptr) {
        UnloadAndDelete(currentState);
        currentState = nullptr;
    }
    if (pendingState != nullptr) {
        UnloadAndDelete(pendingState);
        pendingState = nullptr;
    }
}
