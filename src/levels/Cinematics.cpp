#include "levels/Cinematics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>

#include "actors/Player.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "base/Log.h"
#include "graphics/Camera.h"
#include "graphics/Renderer.h"
#include "math/MathUtil.h"
#include "platform/FrameClock.h"
#include "platform/Window.h"
#include "scene/GameObject.h"
#include "scene/SceneManager.h"

bool cinematicPlaying = false;
Vector3 barsLastPlayerPos;

namespace {
constexpr float kBarDepth = 100.0f;

std::deque<CinematicStep> cinematicQueue;
GameObject* cinematicBars[2] = {nullptr, nullptr};

Vector3 LirraPosition() {
    return GetPlayer().GetTransform().GetPosition();
}

// The bars may be made before the loader has the quad and the bar texture; they pick them up
// each time they are placed.
void PrepareBar(GameObject* bar) {
    Renderer* renderer = bar->GetComponent<Renderer>();
    if (renderer == nullptr) {
        renderer = bar->AddComponent<Renderer>();
    }
    if (renderer->GetMesh() == nullptr) {
        renderer->SetMesh(QUAD);
    }
    if (renderer->GetTexture() == nullptr) {
        renderer->SetTexture(TextureId::CinematicBar);
    }
}

bool IsLevelEnd() {
    const State* state = GetCurrentState();
    return state != nullptr && state->GetId() == STATE_LEVEL_END;
}

void MoveBarsWithLirra() {
    if (cinematicBars[0] == nullptr || !cinematicBars[0]->IsActive()) {
        return;
    }
    const Vector3 lirra = LirraPosition();
    const float dx = lirra.x - barsLastPlayerPos.x;
    for (GameObject* bar : cinematicBars) {
        bar->GetTransform().Translate(dx, 0.0f, 0.0f);
    }
    barsLastPlayerPos = lirra;
}

}  // namespace

GameObject* GetCinematicBar(int index) {
    if (cinematicBars[0] == nullptr) {
        for (GameObject*& bar : cinematicBars) {
            bar = GetScene().GetGameObject(KIND_CINEMATIC_BARS);
        }
    }
    return cinematicBars[index & 1];
}

CinZoom::CinZoom(float rate_, float duration_, float startZoom) : CinBase(duration_), rate(rate_), zoom(startZoom) {}

void CinZoom::Start() {
    zoom = GetCamera().GetZoom();
}

bool CinZoom::Update() {
    elapsed += GetDeltaTime();
    if (elapsed >= duration) {
        return true;
    }
    zoom -= GetDeltaTime() * rate;
    GetCamera().SetZoom(zoom);
    return false;
}

CinShake::CinShake(float magnitude_, float duration_, bool rampUp)
    : CinBase(duration_), maxMagnitude(magnitude_), magnitude(rampUp ? 0.0f : magnitude_) {}

void CinShake::Start() {
    // Seeded from the game clock so a replay shakes the same way.
    std::srand(static_cast<unsigned int>(static_cast<int>(GetScaledTotalTime())));
}

bool CinShake::Update() {
    elapsed += GetDeltaTime();
    if (elapsed >= duration) {
        return true;
    }
    if (maxMagnitude > magnitude) {
        magnitude = std::min(magnitude + GetDeltaTime(), maxMagnitude);
    }
    const float a1 = DegToRad(static_cast<float>(std::rand() % 360));
    const float a2 = DegToRad(static_cast<float>(std::rand() % 360));
    const Vector3 swing(std::cos(a1) * magnitude, std::sin(a2) * magnitude, 0.0f);
    GetCamera().SetPosition(LirraPosition() + swing);
    return false;
}

CinLines::CinLines(const Vector3& cameraPosition, float distance, float speed_, float duration_, bool leaving_)
    : CinBase(duration_), speed(speed_), leaving(leaving_) {
    if (leaving) {
        return;
    }
    const Vector3 centre = GetCamera().ScreenToWorld(
        Vector3(static_cast<float>(GetWindowWidth()) / 2.0f, static_cast<float>(GetWindowHeight()) / 2.0f, 0.0f));
    for (int i = 0; i < 2; ++i) {
        GameObject* bar = GetCinematicBar(i);
        PrepareBar(bar);
        bar->SetActive(true);
        bar->GetTransform().SetScale(40.0f, 10.0f, 1.0f);
        const float y = i == 0 ? centre.y - distance : centre.y + distance;
        bar->GetTransform().SetPosition(centre.x, y, cameraPosition.z);
    }
    barsLastPlayerPos = LirraPosition();
}

bool CinLines::Update() {
    const float dt = GetDeltaTime();
    elapsed += dt;
    GameObject* lower = GetCinematicBar(0);
    GameObject* upper = GetCinematicBar(1);
    if (elapsed < duration) {
        Transform& lowerTransform = lower->GetTransform();
        Transform& upperTransform = upper->GetTransform();
        lowerTransform.Translate(0.0f, speed * dt, 0.0f);
        upperTransform.Translate(0.0f, -speed * dt, 0.0f);
        lowerTransform.position.z = kBarDepth;
        upperTransform.position.z = kBarDepth;
        return false;
    }
    // The ending keeps its bars up after the last step.
    if (leaving && !IsLevelEnd()) {
        lower->SetActive(false);
        upper->SetActive(false);
    }
    return true;
}

void WarnCinematicCount(int count, int given) {
    Log("PlayCinematic: %d effects announced, %d given; playing the %d given\n", count, given, given);
}

void PlayCinematicStep(std::vector<std::unique_ptr<CinBase>> effects) {
    std::erase(effects, nullptr);
    for (const std::unique_ptr<CinBase>& effect : effects) {
        effect->Start();
    }
    CinematicStep step;
    step.effects = std::move(effects);
    cinematicQueue.push_back(std::move(step));
}

void UpdateCinematics() {
    if (cinematicQueue.empty()) {
        cinematicPlaying = false;
    } else {
        CinematicStep& step = cinematicQueue.front();
        size_t finished = 0;
        for (const std::unique_ptr<CinBase>& effect : step.effects) {
            if (effect->Update()) {
                ++finished;
            }
        }
        step.done = finished >= step.effects.size();
        cinematicPlaying = true;
        if (step.done) {
            cinematicQueue.pop_front();
        }
    }
    MoveBarsWithLirra();
}

bool IsCinematicPlaying() {
    return cinematicPlaying;
}

bool IsCameraShaking() {
    if (cinematicQueue.empty()) {
        return false;
    }
    for (const std::unique_ptr<CinBase>& effect : cinematicQueue.front().effects) {
        if (dynamic_cast<const CinShake*>(effect.get()) != nullptr) {
            return true;
        }
    }
    return false;
}

size_t CountCinematicSteps() {
    return cinematicQueue.size();
}

float CurrentCameraShake() {
    float shake = 0.0f;
    if (!cinematicQueue.empty()) {
        for (const std::unique_ptr<CinBase>& effect : cinematicQueue.front().effects) {
            shake = std::max(shake, effect->Shake());
        }
    }
    return shake;
}
