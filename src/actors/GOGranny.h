#pragma once

#include "actors/GOInteractable.h"

// Dired, Lirra's grandmother. With conversation 3 (the main menu) E held at her starts her five
// lines, and 4.5 s after the talk began the mushroom portal to level 1 appears beside her.
class GOGranny : public GOInteractable {
public:
    static constexpr int kTalkConversation = 3;
    static constexpr float kPortalDelay = 4.5f;

    GOGranny();

    void Update() override;
    void OnPlayerOverlap(bool inside) override;
    // Ready to talk again: unused, no portal shown, a fresh prompt, the animation from its start.
    void SetTarget(int newTarget) override;

    float talkTime = 0.0f;
    bool portalShown = false;

private:
    void StartTalk();
    void ShowPortal();
};

// Where the portal Dired summons stands.
extern const Vector3 kDiredPortalPosition;
