#include "frontend/StateManager.h"

#include "frontend/State.h"
#include "base/Log.h"
#include "graphics/Camera.h"

namespace {

std::unique_ptr<State> currentState;
std::unique_ptr<State> pendingState;

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

void UnloadAndRelease(std::unique_ptr<State>& state) {
    UnloadState(state.get());
    state.reset();
}

}  // namespace

State* GetCurrentState() {
    return currentState.get();
}

bool HasPendingState() {
    return pendingState != nullptr;
}

void SetState(std::unique_ptr<State> next) {
    // A request for no state is a caller's mistake; the running state carries on.
    if (next == nullptr) {
        return;
    }
    if (currentState == nullptr) {
        currentState = std::move(next);
        LoadState(currentState.get());
    } else {
        if (pendingState != nullptr) {
            UnloadAndRelease(pendingState);
        }
        pendingState = std::move(next);
    }
    GetCamera().Reset();
}

void RestartState() {
    if (currentState == nullptr) {
        return;
    }
    UnloadState(currentState.get());
    LoadState(currentState.get());
    GetCamera().Reset();
}

void ApplyPendingState() {
    if (pendingState == nullptr) {
        return;
    }
    Log("Changed [State %s] to [State %s]\n", currentState->GetName(), pendingState->GetName());
    UnloadAndRelease(currentState);
    currentState = std::move(pendingState);
    LoadState(currentState.get());
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
        UnloadAndRelease(currentState);
    }
    if (pendingState != nullptr) {
        UnloadAndRelease(pendingState);
    }
}
