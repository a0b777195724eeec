#pragma once

#include "actors/GOInteractable.h"

// A mushroom portal to another level: it fades in when it gets its destination, and walking
// into it with E held covers the screen and moves on to the level.
class GOMushroom : public GOInteractable {
public:
    static constexpr float kFadeRate = 0.1f;
    static constexpr float kFullAlpha = 0.7f;

    GOMushroom();

    void Update() override;
    void OnPlayerOverlap(bool inside) override;
    // Hidden again, fading in from nothing, unused, with a fresh prompt.
    void SetTarget(int newTarget) override;

    float fadeValue = 0.0f;
    bool fading = false;
};

// The level after the screen a portal stands in (main menu, levels 1 to 3), or STATE_UNKNOWN
// for any other target.
int PortalDestination(int target);
// Covers the screen, changes to the level of `target` (if it names one) and uncovers it again.
void TravelThroughPortal(int target);
