#include "actors/GOGranny.h"

#include <GLFW/glfw3.h>

#include "actors/GOMushroom.h"
#include "base/Log.h"
#include "graphics/AnimationRenderer.h"
#include "levels/Dialogue.h"
#include "physics/Collider.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "scene/SceneManager.h"

const Vector3 kDiredPortalPosition(1.0f, 3.0f, 0.0f);

namespace {

constexpr int kIdleFrames = 4;
constexpr float kIdleFrameTime = 0.2f;
constexpr float kLineHandOver = 1.0f;

const char* const kTalk[] = {
    "Oh hello dear, isn't it time to stop playing?",
    "I need you to go somewhere special today, and get me Rovevoz's soul.",
    "Be careful, he's rather a big meanie.",
    "But don't worry, I'm sure today's harvest will be as successful as your last.",
    "Hurry along now, don't be late for dinner!",
};
constexpr int kTalkLines = static_cast<int>(sizeof(kTalk) / sizeof(kTalk[0]));

DialogueRequest DiredLine(const GOGranny& dired, const char* text) {
    DialogueRequest line;
    line.name = "Dired";
    line.text = text;
    line.nameColor = Vector3(1.0f, 0.0f, 0.0f);
    line.offset = Vector2(0.0f, 100.0f);
    line.panelAlpha = 0.6f;
    line.textScale = 0.6f;
    line.nameScale = 1.2f;
    line.size = Vector2(300.0f, 150.0f);
    line.follow = &dired.GetTransform().position;
    line.onFinish = [] { Log("Granny has been closed!\n"); };
    return line;
}

}  // namespace

GOGranny::GOGranny() {
    interactableType = INTERACTABLE_DIRED;
    transform.SetScale(3.0f, 3.0f, 1.0f);
    AnimationRenderer* animation = AddComponent<AnimationRenderer>();
    animation->AddClip(TextureId::DiredIdle, kIdleFrames, kIdleFrameTime);
    Collider* collider = GetComponent<Collider>();
    collider->box.widthFactor = 1.2f;
    collider->box.offset = Vector3(0.0f, -0.5f, 0.0f);
}

void GOGranny::SetTarget(int newTarget) {
    target = newTarget;
    talkTime = 0.0f;
    activated = false;
    playerInside = false;
    portalShown = false;
    CreatePopup();
    if (AnimationRenderer* animation = GetComponent<AnimationRenderer>()) {
        animation->Restart();
    }
}

void GOGranny::OnPlayerOverlap(bool inside) {
    playerInside = inside;
    if (!inside || activated || !IsHeld(GLFW_KEY_E)) {
        return;
    }
    activated = true;
    if (target == kTalkConversation) {
        StartTalk();
    }
}

// The chain is built from the last line back, so each line carries the rest with it.
void GOGranny::StartTalk() {
    DialogueRequest next = DiredLine(*this, kTalk[kTalkLines - 1]);
    for (int i = kTalkLines - 2; i >= 0; --i) {
        DialogueRequest line = DiredLine(*this, kTalk[i]);
        ChainDialogue(line, next, kLineHandOver);
        next = line;
    }
    ShowDialogue(next, true);
}

void GOGranny::Update() {
    if (!activated || target != kTalkConversation) {
        return;
    }
    talkTime += GetDeltaTime();
    if (talkTime >= kPortalDelay && !portalShown) {
        ShowPortal();
    }
}

void GOGranny::ShowPortal() {
    portalShown = true;
    GOMushroom* portal = GetScene().GetInteractable<GOMushroom>(INTERACTABLE_PORTAL);
    if (portal == nullptr) {
        return;
    }
    portal->SetTarget(STATE_MAIN_MENU);
    portal->SetActive(true);
    portal->GetTransform().SetPosition(kDiredPortalPosition);
}
