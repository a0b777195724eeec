#pragma once

#include "frontend/State.h"
#include "scene/GameObject.h"

// What an interactable leads to: the state type of the screen it stands in (a portal leads on
// to the next one). The ending's type hides the prompt (a prop that only stands there).
constexpr int kTargetNoPrompt = STATE_LEVEL_END;

// The kinds of interactable, by which the scene's pool hands them out.
enum InteractableType : int {
    INTERACTABLE_PORTAL = 2,
    INTERACTABLE_DIRED = 3,
    INTERACTABLE_SIGNPOST = 4,
};

// Something Lirra uses with the E key. While she stands at it and it has not been used, a small
// bouncing prompt floats two units above its box. The collision pass reports every frame whether
// she overlaps it: once with false, and again with true while she does.
class GOInteractable : public GameObject {
public:
    GOInteractable();

    // The prompt logic; update is left to the kinds.
    void Render() override;

    virtual void OnPlayerOverlap(bool inside) { (void)inside; }
    virtual void SetTarget(int newTarget) { target = newTarget; }

    // A fresh prompt object; the one before, if any, is given back to the scene.
    void CreatePopup();
    // Where the prompt stands for the object's current box.
    Vector3 PromptPosition() const;

    GameObject* popup = nullptr;
    int interactableType = 0;
    int target = 0;
    bool activated = false;
    bool playerInside = false;
};
