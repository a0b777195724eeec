#include "scene/GameObject.h"

#include "scene/SceneManager.h"

namespace {

const char* const kKindNames[] = {
    "<Unknown>",      "Tile",         "Tile Collider", "Wind",         "Enemy",
    "Player",         "Soul",         "HitBox",        "Interactable", "Interact Pop-up",
    "Cinematic Bars", "Brelmor Logo", "<Unknown>",     "Health HUD",   "Transition Screen",
    "<Unknown>",      "<Unknown>",
};

}  // namespace

const char* GetKindName(int kind) {
    constexpr int count = static_cast<int>(sizeof(kKindNames) / sizeof(kKindNames[0]));
    if (kind < 0 || kind >= count) {
        return "<Unknown>";
    }
    return kKindNames[kind];
}

void ComponentBehavior::UpdateComponents() {
    for (const Attached& attached : components) {
        attached.component->Update();
    }
}

void ComponentBehavior::DrawComponents() {
    for (const Attached& attached : components) {
        attached.component->Draw();
    }
}

void ComponentBehavior::FreeComponents() {
    for (Attached& attached : components) {
        attached.component->Free();
        attached.component.reset();
    }
    components.clear();
}

GameObject::~GameObject() {
    FreeComponents();
}

void GameObject::SetActive(bool a) {
    if (a == active) {
        return;
    }
    active = a;
    GetScene().QueueActivation(this, a);
}
