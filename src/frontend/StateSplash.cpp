#include "frontend/StateSplash.h"

#include <GLFW/glfw3.h>

#include "frontend/StateMainMenu.h"
#include "frontend/StateManager.h"
#include "graphics/Mesh.h"
#include "graphics/PostProcess.h"
#include "graphics/Renderer.h"
#include "math/MathUtil.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "scene/SceneManager.h"

namespace {

constexpr float kLogoScale = 15.0f;
constexpr float kFadeTime = 3.0f;

}  // namespace

void StateSplash::Load() {
    fadeStart = GetScaledTotalTime() + kShowTime;
    leaving = false;
    logo = GetScene().GetGameObject(KIND_LOGO);
    logo->FreeComponents();
    logo->SetActive(true);
    Renderer* renderer = logo->AddComponent<Renderer>();
    renderer->SetMesh(QUAD);
    renderer->SetTexture(TextureId::Logo);
    renderer->SetAlpha(0.0f);
    if (renderer->GetTexture() != nullptr) {
        renderer->SetPixelPerfect();
    }
    logo->GetTransform().ScaleBy(kLogoScale, kLogoScale, 1.0f);

    SetBloomEnabled(false);
    SetExposure(kStandardExposure);
    SetGamma(kStandardGamma);
}

bool StateSplash::SkipPressed() const {
    static const int kSkipKeys[] = {
        GLFW_MOUSE_BUTTON_LEFT, GLFW_MOUSE_BUTTON_RIGHT, GLFW_KEY_SPACE,
        GLFW_KEY_ENTER,         GLFW_KEY_KP_ENTER,       GLFW_KEY_ESCAPE,
    };
    for (const int key : kSkipKeys) {
        if (IsTriggered(key)) {
            return true;
        }
    }
    return false;
}

void StateSplash::Update() {
    BeginScene();
    ClearScene();
    PrepareSceneShader();
    if (leaving) {
        return;
    }
    const float now = GetScaledTotalTime();
    if (now > fadeStart || SkipPressed()) {
        // Once: a second request would build and throw away another main menu.
        leaving = true;
        SetState(std::make_unique<StateMainMenu>());
        return;
    }
    if (Renderer* renderer = logo->GetComponent<Renderer>()) {
        renderer->SetAlpha(PingPong((now - fadeStart) / kFadeTime, 1.0f));
    }
}

void StateSplash::Unload() {
    if (logo != nullptr) {
        logo->SetActive(false);
    }
}
