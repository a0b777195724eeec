#pragma once

#include <functional>

#include "app/State.h"

// The first screen: loads every sound, texture and mesh while it shows its progress.
class StateLoading : public State {
public:
    StateLoading() : State(STATE_LOADING) {}

    void Load() override;
    void Update() override;
    void Render() override {}
    void Unload() override {}

    // The global keys, the scene and its clean-up play no part before the game has loaded.
    void PreUpdate() override {}
    void PostUpdate() override {}
    void PostRender() override;
    void PostUnload() override {}

    std::function<void()> onLoaded;

private:
    float countdown = 2.0f;
};

// The state the loading screen hands over to: the splash, or the one --start names.
int NextStateAfterLoading();
