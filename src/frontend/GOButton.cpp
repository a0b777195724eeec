#include "frontend/GOButton.h"

#include "graphics/Mesh.h"
#include "graphics/Renderer.h"

GOButton::GOButton() : GameObject(KIND_BUTTON) {
    AddComponent<UIRenderer>();
}

void GOButton::Init() {
    objectKind = KIND_BUTTON;
    onClick = nullptr;
    UIRenderer* renderer = GetRenderer();
    if (renderer == nullptr) {
        renderer = AddComponent<UIRenderer>();
    }
    renderer->SetAlpha(1.0f);
    renderer->SetMesh(QUAD);
    renderer->SetTexture(TextureId::PanelPause);
    if (renderer->GetTexture() != nullptr) {
        renderer->SetPixelPerfect();
    }
    renderer->SetIgnoreDepth(false);
}

void GOButton::Click(bool pressed) {
    if (pressed && onClick) {
        // A copy: the action may hand the button back to the pool and re-initialise it.
        const Action action = onClick;
        action(this);
    }
}

UIRenderer* GOButton::GetRenderer() const {
    return GetComponent<UIRenderer>();
}
