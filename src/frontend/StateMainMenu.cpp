#include "frontend/StateMainMenu.h"

#include <GLFW/glfw3.h>

#include "actors/GOGranny.h"
#include "actors/GOSignpost.h"
#include "actors/Player.h"
#include "base/Log.h"
#include "audio/Audio.h"
#include "frontend/GOTransitionScreen.h"
#include "frontend/GameStateManager.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/Mesh.h"
#include "graphics/ParticleSystem.h"
#include "graphics/PostProcess.h"
#include "graphics/Renderer.h"
#include "graphics/TextRenderer.h"
#include "levels/LevelFile.h"
#include "levels/LevelSpawn.h"
#include "math/MathUtil.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneManager.h"

GameObject* leftKeyHint = nullptr;
GameObject* rightKeyHint = nullptr;

const Vector3 kMenuLirraStart(0.0f, 3.0f, 0.0f);
const Vector3 kMenuDiredAt(-5.5f, 2.0f, 7.0f);
const Vector3 kMenuSignpostAt(8.0f, 3.0f, 7.0f);
const Vector3 kMenuCameraAt(0.6f, 5.1f, 0.0f);

namespace {

constexpr int kKeyHintFrames = 4;
constexpr float kKeyHintFrameTime = 0.12f;
constexpr float kKeyHintScale = 1.5f;
constexpr float kTitleScale = 400.0f;
const Vector3 kTitleAt(512.0f, 580.0f, 0.0f);
// Both labels stand on one line, the height of Dired's feet less a little.
constexpr float kLabelDrop = 2.32f;
const Vector3 kLabelColour(1.0f, 1.0f, 1.0f);

GameObject* MakeKeyHint(TextureId textureId, const Vector3& position) {
    GameObject* hint = GetScene().GetGameObject(KIND_INTERACT_POPUP);
    hint->FreeComponents();
    AnimationRenderer* animation = hint->AddComponent<AnimationRenderer>();
    animation->AddClip(textureId, kKeyHintFrames, kKeyHintFrameTime);
    animation->SetClip(textureId);
    hint->GetTransform().SetScale(kKeyHintScale, kKeyHintScale, 1.0f);
    hint->GetTransform().SetPosition(position);
    hint->SetActive(true);
    return hint;
}

void ForgetKeyHints() {
    for (GameObject* hint : {leftKeyHint, rightKeyHint}) {
        if (hint != nullptr) {
            GetScene().GiveBack(hint);
        }
    }
    leftKeyHint = nullptr;
    rightKeyHint = nullptr;
}

}  // namespace

void StateMainMenu::Load() {
    LoadScene();
    PlaceLirra();
    Camera& camera = GetCamera();
    camera.SetPosition(kMenuCameraAt);
    camera.SetZoom(kMenuCameraZoom);
    PlaceDiredAndSignpost();
    ShowTitle();
    ShowKeyHints();
    PlayAudio(MENU_BGM, 0.1f, true, 1.0f);
    SetBloomEnabled(true);
    SetExposure(kStandardExposure);
    SetGamma(kStandardGamma);
    SetBloomIntensity(kStandardBloomIntensity);
}

void StateMainMenu::LoadScene() {
    tiles.clear();
    if (LoadLevelFile("mainmenu.env", &tiles, nullptr)) {
        Log("Main menu loaded!\n");
    } else {
        Log("Failed to load main menu!!\n");
    }
    SpawnFromMarkers();
}

void StateMainMenu::PlaceLirra() {
    Player& lirra = GetPlayer();
    lirra.Init();
    lirra.SetActive(true);
    lirra.GetTransform().SetPosition(kMenuLirraStart);
}

void StateMainMenu::PlaceDiredAndSignpost() {
    if (granny == nullptr) {
        granny = GetScene().GetInteractable<GOGranny>(INTERACTABLE_DIRED);
    }
    if (granny != nullptr) {
        granny->SetTarget(STATE_MAIN_MENU);
        granny->SetActive(true);
        granny->GetTransform().SetPosition(kMenuDiredAt);
    }
    if (signpost == nullptr) {
        signpost = GetScene().GetInteractable<GOSignpost>(INTERACTABLE_SIGNPOST);
    }
    if (signpost != nullptr) {
        signpost->SetTarget(STATE_MAIN_MENU);
        signpost->SetActive(true);
        signpost->GetTransform().SetPosition(kMenuSignpostAt);
    }
}

void StateMainMenu::ShowTitle() {
    fadeStart = GetScaledTotalTime() + 2.0f * kPulseTime;
    title = GetScene().GetGameObject(KIND_TITLE);
    title->FreeComponents();
    title->SetActive(true);
    UIRenderer* renderer = title->AddComponent<UIRenderer>();
    renderer->SetMesh(QUAD);
    renderer->SetTexture(TextureId::Title);
    renderer->SetAlpha(0.0f);
    if (renderer->GetTexture() != nullptr) {
        renderer->SetPixelPerfect();
    }
    title->GetTransform().ScaleBy(kTitleScale, kTitleScale, 1.0f);
    title->GetTransform().SetPosition(kTitleAt);
}

void StateMainMenu::ShowKeyHints() {
    const Vector3 lirra = GetPlayer().GetTransform().GetPosition();
    leftKeyHint = MakeKeyHint(TextureId::KeyLeft, lirra + Vector3(-1.0f, -0.5f, 0.0f));
    rightKeyHint = MakeKeyHint(TextureId::KeyRight, lirra + Vector3(1.0f, -0.5f, 0.0f));
}

void StateMainMenu::Update() {
    if (GetGameStateManager().IsMenuOpen()) {
        return;
    }
    if (leftKeyHint != nullptr && rightKeyHint != nullptr &&
        (IsTriggered(GLFW_KEY_LEFT) || IsTriggered(GLFW_KEY_RIGHT))) {
        ForgetKeyHints();
    }
    if (title != nullptr) {
        if (UIRenderer* renderer = title->GetComponent<UIRenderer>()) {
            renderer->SetAlpha(PingPong((GetScaledTotalTime() - fadeStart) / kPulseTime, 1.0f));
        }
    }
}

void StateMainMenu::Render() {
    BeginScene();
    ClearScene();
    PrepareSceneShader();
    DrawBackground(BACKGROUND_FOREST);
    if (!GetGameStateManager().IsMenuOpen() && !transitionActive) {
        DrawLabels();
    }
}

void StateMainMenu::DrawLabels() const {
    if (granny == nullptr || signpost == nullptr) {
        return;
    }
    const Vector3 dired = granny->GetTransform().GetPosition();
    const Vector3 post = signpost->GetTransform().GetPosition();
    const float labelY = dired.y - kLabelDrop;
    TextRenderer& text = GetTextRenderer();
    text.DrawTextAtWorld("DIRED", Vector3(dired.x - 1.0f, labelY, 8.0f), 1.0f, kLabelColour);
    text.DrawTextAtWorld("CREDITS", Vector3(post.x - 1.2f, labelY, 8.0f), 1.0f, kLabelColour);
}

void StateMainMenu::Unload() {
    GetParticleSystem().Clear();
    GetPlayer().SetActive(false);
    StopAllSounds();
    ForgetKeyHints();
}
