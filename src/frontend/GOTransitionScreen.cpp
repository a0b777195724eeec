#include "frontend/GOTransitionScreen.h"

#include "actors/Player.h"
#include "graphics/Mesh.h"
#include "graphics/Renderer.h"
#include "platform/FrameClock.h"

bool transitionActive = false;

bool TransitionSidePosition(int side, Vector3* position) {
    switch (side) {
    case SIDE_OFF_LEFT:
        *position = Vector3(-512.0f, 360.0f, GOTransitionScreen::kDepth);
        return true;
    case SIDE_OFF_RIGHT:
        *position = Vector3(1536.0f, 360.0f, GOTransitionScreen::kDepth);
        return true;
    case SIDE_COVERING:
        *position = Vector3(512.0f, 360.0f, GOTransitionScreen::kDepth);
        return true;
    default:
        return false;
    }
}

float EaseInOutQuad(float t, float b, float c, float d) {
    const float u = t / (d / 2.0f);
    if (u < 1.0f) {
        return c / 2.0f * u * u + b;
    }
    return -c / 2.0f * ((u - 1.0f) * (u - 3.0f) - 1.0f) + b;
}

GOTransitionScreen::GOTransitionScreen() : GameObject(KIND_TRANSITION_SCREEN) {
    UIRenderer* renderer = AddComponent<UIRenderer>();
    renderer->SetIgnoreDepth(false);
}

void GOTransitionScreen::Init() {
    objectKind = KIND_TRANSITION_SCREEN;
    onFinished = nullptr;
    elapsed = 0.0f;
    if (UIRenderer* renderer = GetRenderer()) {
        renderer->SetAlpha(1.0f);
        renderer->SetMesh(BLACK_QUAD);
    }
    transform.SetScale(1024.0f, 720.0f, 1.0f);
    GetPlayer().state = PLAYER_FROZEN;
}

void GOTransitionScreen::SetFrom(int side) {
    fromSide = side;
    if (TransitionSidePosition(side, &from)) {
        transform.SetPosition(from);
    } else {
        from = Vector3(0.0f, 0.0f, 0.0f);
    }
}

void GOTransitionScreen::SetTo(int side) {
    toSide = side;
    TransitionSidePosition(side, &to);
}

void GOTransitionScreen::Update() {
    const bool endedBefore = elapsed >= kDuration;
    elapsed += GetDeltaTime();
    const Vector3 at = transform.GetPosition();
    // The curve turns back beyond its end, so a screen left running holds where it arrived.
    const float x = endedBefore ? to.x : EaseInOutQuad(elapsed, from.x, to.x - from.x, kDuration);
    transform.SetPosition(x, at.y, at.z);
    transitionActive = true;
    if (elapsed < kDuration) {
        return;
    }
    GetPlayer().state = PLAYER_IDLE;
    if (onFinished) {
        // A copy: the action may hand this screen out again, which clears the stored one.
        const Action action = onFinished;
        action(this);
    }
    if (toSide == SIDE_OFF_LEFT) {
        transitionActive = false;
    }
}

void GOTransitionScreen::SetActive(bool a) {
    if (!a && active && elapsed < kDuration) {
        transitionActive = false;
    }
    GameObject::SetActive(a);
}

UIRenderer* GOTransitionScreen::GetRenderer() const {
    return GetComponent<UIRenderer>();
}
