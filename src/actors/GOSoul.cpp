#include "actors/GOSoul.h"

#include <cmath>

#include "actors/Player.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/ParticleSystem.h"
#include "math/MathUtil.h"
#include "physics/Collider.h"
#include "platform/FrameClock.h"

namespace {
constexpr float kPulsePeriod = 2.0f;
constexpr float kBobReach = 0.4f;
constexpr float kBobPull = 0.3f;
// The chain closes up to this distance and stays there.
constexpr float kFollowDistance = 0.8f;
constexpr float kFollowPull = 1.2f;
constexpr float kBurstDistance = 0.3f;
// Souls are drawn in front of everything.
constexpr float kSoulDepth = 90.0f;

TextureId TextureOfKind(int kind) {
    switch (kind) {
    case kSoulFire:
        return TextureId::SoulFire;
    case kSoulGreen:
        return TextureId::SoulFireGreen;
    default:
        return TextureId::SoulFirePurple;
    }
}

}  // namespace

GOSoul::GOSoul() : GameObject(KIND_SOUL) {
    AddComponent<Collider>();
}

void GOSoul::Init() {
    transform.SetScale(1.0f, 1.5f, 1.0f);
    velocity = Vector3(0.0f, 0.0f, 0.0f);
    home = Vector3(0.0f, 0.0f, 0.0f);
    followTarget = nullptr;
    consumed = false;
}

void GOSoul::SetKind(bool random, int kind) {
    if (random) {
        if (GetPlayer().GetHealth() <= kHurtHealth) {
            soulKind = kSoulFire;
        } else {
            soulKind = RandomInt(0, 1) == 0 ? kSoulFire : kSoulPurple;
        }
    } else if (kind == kSoulPurple || kind == kSoulFire) {
        soulKind = kind;
    } else if (kind == kSoulGreen) {
        soulKind = kSoulGreen;
        home = transform.GetPosition();
        velocity = Vector3(0.0f, 1.0f, 0.0f);
    }
    AnimationRenderer* animation = GetComponent<AnimationRenderer>();
    if (animation == nullptr) {
        animation = AddComponent<AnimationRenderer>();
        for (TextureId texture : {TextureId::SoulFirePurple, TextureId::SoulFire, TextureId::SoulFireGreen}) {
            animation->AddClip(texture, 3, 0.1f);
        }
    }
    animation->SetClip(TextureOfKind(soulKind));
    animation->SetAlpha(0.0f);
    alpha = 0.0f;
}

void GOSoul::Update() {
    const float dt = GetDeltaTime();
    Pulse(dt);
    if (soulKind == kSoulGreen) {
        Bob(dt);
    } else {
        Follow(dt);
    }
}

void GOSoul::Pulse(float dt) {
    pulseTime += dt;
    alpha = 1.0f - std::sin(pulseTime * 2.0f * 3.14159265f) * 0.3f;
    if (AnimationRenderer* animation = GetComponent<AnimationRenderer>()) {
        animation->SetAlpha(alpha);
    }
    if (pulseTime >= kPulsePeriod) {
        pulseTime = 0.0f;
    }
}

// Turns only at the ends of its reach, so it glides between them with a slowing pull.
void GOSoul::Bob(float dt) {
    const float y = transform.GetPosition().y;
    if (y >= home.y + kBobReach) {
        velocity = Vector3(0.0f, kBobPull * ((home.y - kBobReach) - y), 0.0f);
    } else if (y <= home.y - kBobReach) {
        velocity = Vector3(0.0f, kBobPull * ((home.y + kBobReach) - y), 0.0f);
    }
    transform.Translate(velocity.x * dt, velocity.y * dt, velocity.z * dt);
}

void GOSoul::Follow(float dt) {
    if (followTarget == nullptr) {
        return;
    }
    home = followTarget->GetTransform().GetPosition();
    home.z = kSoulDepth;
    const Vector3 toHome = home - transform.GetPosition();
    const float distance = toHome.Length();
    if (!consumed) {
        if (distance > kFollowDistance) {
            velocity = toHome * kFollowPull;
            transform.Translate(velocity.x * dt, velocity.y * dt, velocity.z * dt);
        }
        return;
    }
    velocity = toHome;
    if (distance >= kFollowDistance) {
        velocity = velocity * 8.0f;
    } else if (distance >= kBurstDistance) {
        velocity = velocity * 60.0f;
    }
    transform.Translate(velocity.x * dt, velocity.y * dt, velocity.z * dt);
    if (distance < kBurstDistance) {
        Burst();
    }
}

// Four sparks in a row under Lirra: magenta for a Purple soul, cyan for the others.
void GOSoul::Burst() {
    const int preset = soulKind == kSoulPurple ? EMITTER_SOUL_SECOND : EMITTER_SOUL_FIRST;
    for (float dx : {-2.0f, -1.0f, 0.0f, 1.0f}) {
        Emitter sparks = ParticleSystem::MakeEmitter(preset);
        sparks.position.SetPosition(home.x + dx, home.y - 1.0f, home.z);
        GetParticleSystem().AddEmitter(sparks);
    }
    SetActive(false);
}
