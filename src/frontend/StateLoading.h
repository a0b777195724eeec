#pragma once

#include <functional>
#include <string>

#include "frontend/State.h"

// The first screen: loads the sounds on a worker thread while it shows the progress, then the
// textures and meshes, and hands over to the splash.
class StateLoading : public State {
public:
    StateLoading() : State(STATE_LOADING) {}

    void Load() override;
    void Update() override;
    // An empty scene, so the composite never shows what an earlier run left in the targets.
    void Render() override;
    void Unload() override {}

    // The global keys, the scene and its clean-up play no part before the game has loaded.
    void PreUpdate() override {}
    void PostUpdate() override {}
    void PostRender() override;
    void PostUnload() override {}

    // The number of "Loading Progress: N %" as shown this frame, and the whole text.
    int GetShownPercent() const { return shownPercent; }
    const std::string& GetProgressText() const { return progressText; }
    float GetCountdown() const { return countdown; }
    // True once textures and meshes are in and the next state has been requested.
    bool IsLoaded() const { return loaded; }

    std::function<void()> onLoaded;

private:
    float CurrentProgress();
    float ScheduledProgress();
    void FinishLoading();

    float countdown = 2.0f;
    long framesShown = 0;
    int shownPercent = 0;
    bool loaded = false;
    std::string progressText;
};

// Frames each sound takes on the loading screen under a fixed step, whatever the worker does.
constexpr int kFramesPerSoundAtFixedStep = 4;

// What the read-out shows: in the last stretch it falls back by the countdown (at most 30) and
// climbs to 100 as the countdown runs out; always cut to a whole number toward zero.
int LoadingReadout(float progress, float countdown);

// The state the loading screen hands over to: the splash, or the one named here (by --start).
void SetStartStateName(const std::string& name);
int NextStateAfterLoading();
