#include "actors/GOMushroom.h"

#include <GLFW/glfw3.h>

#include "frontend/GOTransitionScreen.h"
#include "frontend/State.h"
#include "frontend/StateFactory.h"
#include "frontend/StateManager.h"
#include "graphics/AnimationRenderer.h"
#include "levels/Dialogue.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "scene/SceneManager.h"

namespace {

constexpr int kPortalFrames = 8;
constexpr float kPortalFrameTime = 0.17f;

void UncoverScreen() {
    GOTransitionScreen* screen = GetScene().GetTransitionScreen();
    screen->SetFrom(SIDE_COVERING);
    screen->SetTo(SIDE_OFF_LEFT);
    screen->SetActive(true);
    screen->SetOnFinished([](GOTransitionScreen* finished) { finished->SetActive(false); });
}

}  // namespace

int PortalDestination(int target) {
    switch (target) {
    case STATE_MAIN_MENU:
        return STATE_LEVEL_1;
    case STATE_LEVEL_1:
        return STATE_LEVEL_2;
    case STATE_LEVEL_2:
        return STATE_LEVEL_3;
    case STATE_LEVEL_3:
        return STATE_BOSS;
    default:
        return STATE_UNKNOWN;
    }
}

void TravelThroughPortal(int target) {
    GOTransitionScreen* cover = GetScene().GetTransitionScreen();
    cover->SetFrom(SIDE_OFF_LEFT);
    cover->SetTo(SIDE_COVERING);
    cover->SetActive(true);
    cover->SetOnFinished([target](GOTransitionScreen* covering) {
        const int destination = PortalDestination(target);
        if (destination != STATE_UNKNOWN) {
            SetState(CreateState(destination));
        }
        UncoverScreen();
        // Its work is done once: without this, a portal that leads nowhere would start a new
        // uncovering screen every frame.
        covering->SetActive(false);
    });
}

GOMushroom::GOMushroom() {
    interactableType = INTERACTABLE_PORTAL;
    AnimationRenderer* animation = AddComponent<AnimationRenderer>();
    animation->AddClip(TextureId::Portal, kPortalFrames, kPortalFrameTime);
    transform.SetScale(1.0f, 4.0f, 1.0f);
}

void GOMushroom::SetTarget(int newTarget) {
    target = newTarget;
    playerInside = false;
    activated = false;
    fading = true;
    // A portal handed out again fades in afresh instead of appearing at once.
    fadeValue = 0.0f;
    CreatePopup();
    if (AnimationRenderer* animation = GetComponent<AnimationRenderer>()) {
        animation->SetAlpha(0.0f);
    }
    transform.SetScale(2.0f, 5.0f, 1.0f);
}

void GOMushroom::Update() {
    if (!fading) {
        return;
    }
    fadeValue += kFadeRate * GetDeltaTime();
    if (AnimationRenderer* animation = GetComponent<AnimationRenderer>()) {
        animation->SetAlpha(fadeValue);
    }
    if (fadeValue >= kFullAlpha) {
        fading = false;
    }
}

void GOMushroom::OnPlayerOverlap(bool inside) {
    playerInside = inside;
    if (!inside || activated || !IsHeld(GLFW_KEY_E)) {
        return;
    }
    activated = true;
    if (IsDialogueVisible()) {
        FinishDialogue();
    }
    TravelThroughPortal(target);
}
