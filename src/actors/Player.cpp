#include "actors/Player.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>

#include "actors/GOHitbox.h"
#include "actors/GOSoul.h"
#include "frontend/StateManager.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Mesh.h"
#include "graphics/ParticleSystem.h"
#include "graphics/Renderer.h"
#include "levels/Cinematics.h"
#include "math/MathUtil.h"
#include "physics/Collider.h"
#include "physics/Rigidbody.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "scene/SceneManager.h"

std::vector<int> savedSoulKinds;
float nextDustTime = 0.0f;

namespace {

constexpr float kFullHealth = 100.0f;
// Both the top run speed and the run acceleration per second.
constexpr float kRunSpeed = 10.0f;
// Reversing out of a fast run keeps only this much of the old speed.
constexpr float kReverseKeep = 2.5f;
constexpr float kJumpSpeed = 1.5f * 9.81f;
constexpr float kBlinkTime = 2.0f;
constexpr int kHitDamage = 25;
constexpr float kKnockBack = 4.0f;
constexpr float kFireSoulHeal = 50.0f;
constexpr int kBaseAttackPower = 34;
constexpr int kPowerPerPurpleSoul = 2;
constexpr float kDustInterval = 0.25f;
// Below this health the vignette pulses faster and stronger.
constexpr float kCriticalHealth = 25.0f;

struct AnimationEntry {
    TextureId texture;
    int frames;
    float secondsPerFrame;
};

// The registration order fixes the global frame numbers the attack hitboxes test.
constexpr AnimationEntry kAnimations[] = {
    {TextureId::LirraIdle, 3, 0.2f},          {TextureId::LirraRun, 4, 0.15f},     {TextureId::LirraJump, 2, 0.25f},
    {TextureId::LirraFall, 2, 0.25f},         {TextureId::LirraGlide, 2, 0.25f},   {TextureId::LirraAttack, 4, 0.09f},
    {TextureId::LirraCollectSoul, 7, 0.065f}, {TextureId::LirraDamaged, 2, 0.15f}, {TextureId::LirraDeath, 8, 0.1f},
};

bool IsAttackOrHurt(int state) {
    return state == PLAYER_LIGHT_ATTACK || state == PLAYER_HEAVY_ATTACK || state == PLAYER_DAMAGED ||
           state == PLAYER_DYING;
}

}  // namespace

Player::Player() : GameObject(KIND_PLAYER) {
    AddComponent<Rigidbody>();
    AddComponent<Collider>();
}

Player::~Player() {
    healthHudRenderer = nullptr;
    healthHud.reset();
    souls.clear();
}

void Player::RegisterAnimations() {
    AnimationRenderer* animation = AddComponent<AnimationRenderer>();
    for (const AnimationEntry& entry : kAnimations) {
        animation->AddClip(entry.texture, entry.frames, entry.secondsPerFrame);
    }
}

void Player::Init() {
    if (GetComponent<AnimationRenderer>() == nullptr) {
        RegisterAnimations();
    }
    transform.SetScale(3.0f, 3.0f, 1.0f);
    transform.SetPosition(0.0f, 5.0f, 0.0f);
    GetComponent<Rigidbody>()->Reset();

    PlayAnimation(TextureId::LirraIdle);
    Collider* collider = GetComponent<Collider>();
    collider->box.widthFactor = 0.3f;
    collider->box.heightFactor = 0.5f;
    collider->box.offset = Vector3(0.0f, -0.7f, 0.0f);
    collider->Update();

    // She starts facing left, and her sprite shows it, so a first strike lands where she swings.
    facingRight = 0;
    FaceLeft();
    if (health <= 0.0f) {
        health = kFullHealth;
    }
    invulnerable = true;
    invulnerableTimer = kBlinkTime;
    state = PLAYER_IDLE;
    lightAttackStarted = false;
    heavyAttackStarted = false;
    inputLocked = false;
    jumpDisabled = false;
    localTimeScale = 1.0f;

    RestoreSouls();
    RecalculateAttackPower();
    if (healthHud == nullptr) {
        CreateHealthHud();
    }
    SetInputLocked(false);
    SetJumpDisabled(false);
}

void Player::CreateHealthHud() {
    healthHud = std::make_unique<GameObject>(KIND_HEALTH_HUD);
    healthHudRenderer = healthHud->AddComponent<UIRenderer>();
    healthHudRenderer->SetMesh(QUAD);
    healthHudRenderer->SetTexture(TextureId::HealthHud);
    healthHudRenderer->SetPixelPerfect();
    healthHudRenderer->SetAlpha(0.25f);
    healthHud->GetTransform().ScaleBy(2000.0f, 2000.0f, 1.0f);
    healthHud->GetTransform().SetPosition(512.0f, 360.0f, 0.0f);
}

void Player::PlayAnimation(TextureId clip) {
    AnimationRenderer* animation = GetComponent<AnimationRenderer>();
    if (animation->GetClip() != clip) {
        animation->SetClip(clip);
        animation->cycleDone = false;
    }
}

bool Player::AnimationCompleted() const {
    return GetComponent<AnimationRenderer>()->cycleDone;
}

void Player::FaceLeft() {
    const Vector3 scale = transform.GetScale();
    if (scale.x > 0.0f) {
        transform.SetScale(-scale.x, scale.x, 1.0f);
    }
}

void Player::FaceRight() {
    const float size = std::fabs(transform.GetScale().x);
    transform.SetScale(size, size, 1.0f);
}

void Player::ApplyMovement(int action) {
    Rigidbody* body = GetComponent<Rigidbody>();
    Vector3& v = body->velocity;
    const float dt = GetDeltaTime();
    switch (action) {
    case PLAYER_ACTION_MOVE_LEFT:
        facingRight = 0;
        state = PLAYER_RUN;
        body->moving = true;
        FaceLeft();
        if (!body->airborne) {
            PlayAnimation(TextureId::LirraRun);
        }
        if (v.x > -kRunSpeed) {
            v.x = std::min(v.x, kReverseKeep);
            v.x -= kRunSpeed * dt;
        }
        break;
    case PLAYER_ACTION_MOVE_RIGHT:
        facingRight = 1;
        state = PLAYER_RUN;
        body->moving = true;
        FaceRight();
        if (!body->airborne) {
            PlayAnimation(TextureId::LirraRun);
        }
        if (v.x < kRunSpeed) {
            v.x = std::max(v.x, -kReverseKeep);
            v.x += kRunSpeed * dt;
        }
        break;
    case PLAYER_ACTION_JUMP:
        if (!body->airborne) {
            v.y = kJumpSpeed;
            body->airborne = true;
            PlayAnimation(TextureId::LirraJump);
            state = PLAYER_JUMP;
        }
        break;
    case PLAYER_ACTION_START_GLIDE:
        if (body->airborne) {
            body->gliding = true;
            PlayAnimation(TextureId::LirraGlide);
            state = PLAYER_GLIDE;
        }
        break;
    case PLAYER_ACTION_STOP_GLIDE:
        body->gliding = false;
        PlayAnimation(TextureId::LirraFall);
        state = PLAYER_FALL;
        break;
    default:
        if (body->gliding) {
            PlayAnimation(TextureId::LirraGlide);
            state = PLAYER_GLIDE;
        } else if (body->airborne) {
            PlayAnimation(TextureId::LirraFall);
            state = PLAYER_FALL;
        } else {
            PlayAnimation(TextureId::LirraIdle);
            state = PLAYER_IDLE;
        }
        break;
    }
}

void Player::Update() {
    if (!active) {
        return;
    }
    // Never initialised by a level: only her body and box move (scene and collision checks).
    if (GetComponent<AnimationRenderer>() == nullptr) {
        UpdateComponents();
        return;
    }
    if (state != PLAYER_FROZEN) {
        bool controlled = false;
        if (state == PLAYER_DYING) {
            UpdateDying();
        } else {
            UpdateDamaged();
            ReadMovementKeys();
            if (inputLocked) {
                ApplyMovement(PLAYER_ACTION_NONE);
            } else {
                controlled = true;
            }
        }
        if (controlled) {
            if (IsReleased(GLFW_KEY_LEFT) || IsReleased(GLFW_KEY_RIGHT)) {
                GetComponent<Rigidbody>()->moving = false;
            }
            ReadJumpKeys();
            ReadAttackKeys();
            UpdateLightAttack();
            UpdateHeavyAttack();
            if (state == PLAYER_IDLE) {
                ApplyMovement(PLAYER_ACTION_NONE);
            }
            UpdateBlink();
            UpdateRunningDust();
        }
        UpdateComponents();
    }
    UpdateRegeneration();
    UpdateHealthHud();
    healthHud->Update();
    healthHud->UpdateComponents();
}

// The level starts again in place; its load initialises her afresh.
void Player::UpdateDying() {
    PlayAnimation(TextureId::LirraDeath);
    if (!AnimationCompleted()) {
        return;
    }
    souls.clear();
    savedSoulKinds.clear();
    RestartState();
}

void Player::UpdateDamaged() {
    if (state != PLAYER_DAMAGED) {
        return;
    }
    PlayAnimation(TextureId::LirraDamaged);
    if (AnimationCompleted()) {
        state = PLAYER_IDLE;
    }
}

// Left wins when both directions are held.
void Player::ReadMovementKeys() {
    if (IsAttackOrHurt(state)) {
        return;
    }
    state = PLAYER_IDLE;
    if (inputLocked) {
        return;
    }
    if (IsHeld(GLFW_KEY_LEFT)) {
        ApplyMovement(PLAYER_ACTION_MOVE_LEFT);
    } else if (IsHeld(GLFW_KEY_RIGHT)) {
        ApplyMovement(PLAYER_ACTION_MOVE_RIGHT);
    }
}

void Player::ReadJumpKeys() {
    if (jumpDisabled) {
        return;
    }
    const Rigidbody* body = GetComponent<Rigidbody>();
    if (IsTriggered(GLFW_KEY_SPACE) || (IsTriggered(GLFW_KEY_UP) && state != PLAYER_HEAVY_ATTACK)) {
        ApplyMovement(PLAYER_ACTION_JUMP);
    }
    if (body->airborne && (IsHeld(GLFW_KEY_SPACE) || IsHeld(GLFW_KEY_UP)) && body->velocity.y < 0.0f) {
        ApplyMovement(PLAYER_ACTION_START_GLIDE);
    }
    if (IsReleased(GLFW_KEY_SPACE) || IsReleased(GLFW_KEY_UP)) {
        ApplyMovement(PLAYER_ACTION_STOP_GLIDE);
    }
}

void Player::ReadAttackKeys() {
    if (IsTriggered(GLFW_KEY_Q) && state != PLAYER_GLIDE && state != PLAYER_HEAVY_ATTACK) {
        state = PLAYER_LIGHT_ATTACK;
    }
    if (IsTriggered(GLFW_KEY_W) && state != PLAYER_GLIDE) {
        state = PLAYER_HEAVY_ATTACK;
    }
}

// An attack cut short (by a jump, the other attack or a hit) starts afresh the next time, instead
// of waiting for an animation it never played.
void Player::UpdateLightAttack() {
    if (state != PLAYER_LIGHT_ATTACK) {
        lightAttackStarted = false;
        return;
    }
    if (!lightAttackStarted) {
        GOHitbox* hitbox = GetScene().GetHitbox();
        hitbox->Init(HITBOX_LIGHT_ATTACK, nullptr);
        hitbox->SetActive(true);
        PlayAnimation(TextureId::LirraAttack);
        lightAttackStarted = true;
    }
    if (AnimationCompleted()) {
        state = PLAYER_IDLE;
        lightAttackStarted = false;
    }
}

void Player::UpdateHeavyAttack() {
    if (state != PLAYER_HEAVY_ATTACK) {
        heavyAttackStarted = false;
        return;
    }
    if (!heavyAttackStarted) {
        if (souls.empty() || !ConsumePurpleSoul()) {
            state = PLAYER_IDLE;
            return;
        }
        GOHitbox* hitbox = GetScene().GetHitbox();
        hitbox->Init(HITBOX_HEAVY_ATTACK, nullptr);
        hitbox->SetActive(true);
        PlayAnimation(TextureId::LirraCollectSoul);
        heavyAttackStarted = true;
        invulnerable = true;
    }
    if (AnimationCompleted()) {
        state = PLAYER_IDLE;
        heavyAttackStarted = false;
    }
}

void Player::UpdateBlink() {
    if (!invulnerable) {
        return;
    }
    AnimationRenderer* animation = GetComponent<AnimationRenderer>();
    invulnerableTimer -= GetDeltaTime();
    animation->SetAlpha(1.0f - std::sin(invulnerableTimer * 3.14159265f * 5.0f) * 0.3f);
    if (invulnerableTimer <= 0.0f) {
        invulnerable = false;
        invulnerableTimer = kBlinkTime;
        animation->SetAlpha(1.0f);
    }
}

// A puff from her heels, thrown back against the direction she runs.
void Player::UpdateRunningDust() {
    const Vector3& v = GetComponent<Rigidbody>()->velocity;
    const float now = GetScaledTotalTime();
    if (state != PLAYER_RUN || std::fabs(v.x) <= 0.01f || v.y <= -23.0f || v.y >= -21.0f || now <= nextDustTime) {
        return;
    }
    Emitter dust = ParticleSystem::MakeEmitter(EMITTER_PLAYER_DUST);
    const float away = v.x > 0.0f ? -1.0f : 1.0f;
    const Vector3 at = transform.GetPosition();
    dust.position.SetPosition(at.x + 0.5f * away, at.y - 1.1f, at.z);
    dust.velocity = {Vector3(3.0f * away, 1.5f, 0.0f), Vector3(3.0f * away, 1.5f, 0.0f)};
    dust.acceleration = {Vector3(0.0f, -1.5f, 0.0f), Vector3(0.0f, -1.5f, 0.0f)};
    GetParticleSystem().AddEmitter(dust);
    nextDustTime = now + kDustInterval;
}

// A dying Lirra does not heal: the restart must still find her dead to bring her back at full health.
void Player::UpdateRegeneration() {
    if (state == PLAYER_DYING) {
        return;
    }
    if (health < kFullHealth && GetScaledTotalTime() > regenStartTime) {
        health = std::min(health + regenRate * GetDeltaTime(), kFullHealth);
    }
}

float Player::GetHudAlpha() const {
    const float elapsed = GetScaledTotalTime();
    if (health > kHurtHealth) {
        return 0.0f;
    }
    if (health <= 0.0f) {
        return 0.3f;
    }
    if (health <= kCriticalHealth) {
        return PingPong(elapsed / 3.0f, 0.15f);
    }
    return PingPong(elapsed / 5.0f, 0.1f);
}

void Player::UpdateHealthHud() {
    healthHudRenderer->SetAlpha(GetHudAlpha());
}

void Player::Render() {
    if (!active || GetComponent<AnimationRenderer>() == nullptr) {
        return;
    }
    DrawComponents();
    if (healthHud != nullptr) {
        healthHud->Render();
        healthHud->DrawComponents();
    }
}

void Player::TakeHit(bool hitFromRight) {
    if (invulnerable) {
        return;
    }
    Damage(kHitDamage, hitFromRight);
    // A blow that kills her is not healed: the chain is lost and she starts afresh at full health.
    if (state != PLAYER_DYING && health <= kHurtHealth && !souls.empty()) {
        ConsumeFireSoul();
    }
}

// A dying Lirra takes no more blows: no shake, no knock-back, no deeper health.
void Player::Damage(int amount, bool hitFromRight) {
    if (invulnerable || state == PLAYER_DYING) {
        return;
    }
    health -= static_cast<float>(amount);
    PlayCinematic(std::make_unique<CinShake>(0.075f, 0.3f, false));

    Rigidbody* body = GetComponent<Rigidbody>();
    if (hitFromRight) {
        FaceRight();
        body->velocity.x -= kKnockBack;
    } else {
        FaceLeft();
        body->velocity.x += kKnockBack;
    }
    if (health > 0.0f) {
        state = PLAYER_DAMAGED;
        invulnerable = true;
        if (AnimationRenderer* animation = GetComponent<AnimationRenderer>()) {
            animation->SetAlpha(0.7f);
        }
        regenStartTime = GetScaledTotalTime() + regenDelay;
    } else {
        state = PLAYER_DYING;
    }
}

void Player::RecalculateAttackPower() {
    const auto purple =
        std::count_if(souls.begin(), souls.end(), [](const GOSoul* soul) { return soul->GetKind() == kSoulPurple; });
    attackPower = kBaseAttackPower + kPowerPerPurpleSoul * static_cast<int>(purple);
}

void Player::SpendSoul(size_t index) {
    GOSoul* soul = souls[index];
    soul->SetFollowTarget(this);
    soul->SetConsumed(true);
    souls.erase(souls.begin() + static_cast<std::ptrdiff_t>(index));
    RelinkSouls();
}

// The dying are not healed: the restart must find her dead to bring her back at full health.
void Player::ConsumeFireSoul() {
    if (state == PLAYER_DYING) {
        return;
    }
    for (size_t i = 0; i < souls.size(); ++i) {
        if (souls[i]->GetKind() == kSoulFire) {
            SpendSoul(i);
            AddHealth(kFireSoulHeal);
            RecalculateAttackPower();
            return;
        }
    }
}

bool Player::ConsumePurpleSoul() {
    for (size_t i = 0; i < souls.size(); ++i) {
        if (souls[i]->GetKind() == kSoulPurple) {
            SpendSoul(i);
            RecalculateAttackPower();
            return true;
        }
    }
    return false;
}

void Player::RelinkSouls() {
    if (souls.empty()) {
        // The last soul spent leaves nothing to carry into the next level.
        savedSoulKinds.clear();
        return;
    }
    savedSoulKinds.clear();
    GameObject* leader = this;
    for (GOSoul* soul : souls) {
        soul->SetFollowTarget(leader);
        savedSoulKinds.push_back(soul->GetKind());
        leader = soul;
    }
}

void Player::RestoreSouls() {
    souls.clear();
    const std::vector<int> kinds = savedSoulKinds;
    for (int kind : kinds) {
        GOSoul* soul = GetScene().GetSoul();
        if (kind == kSoulPurple || kind == kSoulFire) {
            soul->SetKind(false, kind);
        }
        soul->GetTransform().SetPosition(transform.GetPosition());
        soul->Init();
        souls.push_back(soul);
        soul->SetActive(true);
    }
    RelinkSouls();
    RecalculateAttackPower();
}

// A locked Lirra lets go of the run, so she comes to rest by friction instead of sliding on.
void Player::SetInputLocked(bool locked) {
    inputLocked = locked;
    if (locked) {
        GetComponent<Rigidbody>()->moving = false;
    }
}

void Player::SetJumpDisabled(bool disabled) {
    jumpDisabled = disabled;
}

Player& GetPlayer() {
    static Player player;
    return player;
}

GameObject& GetScenePlayer() {
    return GetPlayer();
}
