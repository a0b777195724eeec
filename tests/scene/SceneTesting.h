#pragma once

#include "actors/Player.h"
#include "physics/Collider.h"
#include "physics/Rigidbody.h"
#include "platform/FrameClock.h"
#include "scene/GameObject.h"
#include "scene/ObjectPool.h"
#include "scene/SceneManager.h"
#include "support/TestGame.h"

// The scene and the player live for the whole test process; each test starts from an empty scene
// (EmptyTheScene) and a player at rest at the origin.
inline void ResetPlayer() {
    Player& player = GetPlayer();
    player.GetTransform().Reset();
    player.localTimeScale = 1.0f;
    player.SetActive(false);
    player.GetComponent<Rigidbody>()->Reset();
    Collider* collider = player.GetComponent<Collider>();
    collider->box = ColliderBox();
    collider->nonSolid = false;
    collider->Update();
}

// Every following frame of the clock lasts exactly `seconds` (scaled by 1).
inline void UseFrameStep(double seconds) {
    SetFixedStep(seconds);
    ResetFrameClock();
    AdvanceFrameClock();
    AdvanceFrameClock();
}

// A plain object with a box of the given size at the given place, handed out by the scene.
inline GameObject* MakeBox(float x, float y, float width, float height, int kind = KIND_UNKNOWN) {
    GameObject* box = GetScene().GetGameObject(kind);
    if (box->GetComponent<Collider>() == nullptr) {
        box->AddComponent<Collider>();
    }
    Collider* collider = box->GetComponent<Collider>();
    collider->nonSolid = false;
    collider->box.offset = Vector3();
    collider->box.widthFactor = 1.0f;
    collider->box.heightFactor = 1.0f;
    box->GetTransform().SetPosition(x, y, 0.0f);
    box->GetTransform().SetScale(width, height, 1.0f);
    collider->Update();
    return box;
}
