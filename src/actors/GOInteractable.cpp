#include "actors/GOInteractable.h"

#include "graphics/AnimationRenderer.h"
#include "physics/Collider.h"
#include "scene/SceneManager.h"

namespace {

constexpr int kPromptFrames = 4;
constexpr float kPromptFrameTime = 0.12f;
constexpr float kPromptAboveBox = 2.0f;

}  // namespace

GOInteractable::GOInteractable() : GameObject(KIND_INTERACTABLE) {
    AddComponent<Collider>();
}

void GOInteractable::CreatePopup() {
    if (popup != nullptr) {
        // Switched off too, so a prompt showing at the time does not stay behind on its own.
        GetScene().GiveBack(popup);
    }
    popup = GetScene().GetGameObject(KIND_INTERACT_POPUP);
    popup->GetTransform().SetScale(2.0f, 2.0f, 1.0f);
    popup->FreeComponents();
    AnimationRenderer* animation = popup->AddComponent<AnimationRenderer>();
    animation->AddClip(TextureId::Cursor, kPromptFrames, kPromptFrameTime);
    animation->SetClip(TextureId::Cursor);
}

Vector3 GOInteractable::PromptPosition() const {
    const Collider* collider = GetComponent<Collider>();
    const float halfHeight = collider != nullptr ? collider->box.height / 2.0f : 0.0f;
    return transform.GetPosition() + Vector3(0.0f, halfHeight + kPromptAboveBox, 0.0f);
}

void GOInteractable::Render() {
    if (popup == nullptr) {
        return;
    }
    // Once used, the prompt goes at once rather than when Lirra steps away.
    if (target == kTargetNoPrompt || (activated && popup->IsActive())) {
        popup->SetActive(false);
    } else if (playerInside && !popup->IsActive() && !activated) {
        popup->GetTransform().SetPosition(PromptPosition());
        popup->SetActive(true);
    } else if (!playerInside && popup->IsActive()) {
        popup->SetActive(false);
    }
}
