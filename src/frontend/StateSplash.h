#pragma once

#include "frontend/State.h"

class GameObject;

// The logo after loading: it fades in over three seconds and out over the next three, then the
// main menu follows; a click, Space, Enter or Escape skips it.
class StateSplash : public State {
public:
    static constexpr float kShowTime = 6.0f;

    StateSplash() : State(STATE_SPLASH) {}

    void Load() override;
    // Draws the frame too: the splash has no scene of its own.
    void Update() override;
    void Render() override {}
    void Unload() override;

    GameObject* GetLogo() const { return logo; }
    float GetFadeStart() const { return fadeStart; }

private:
    bool SkipPressed() const;

    GameObject* logo = nullptr;
    float fadeStart = 0.0f;
    bool leaving = false;
};
