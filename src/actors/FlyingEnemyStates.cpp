#include "actors/FlyingEnemyStates.h"

#include <algorithm>
#include <cmath>

#include "actors/GOEnemy.h"
#include "actors/GOHitbox.h"
#include "actors/Player.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Camera.h"
#include "graphics/ParticleSystem.h"
#include "graphics/Renderer.h"
#include "math/MathUtil.h"
#include "physics/Collider.h"
#include "platform/FrameClock.h"

float flySpeed = 1.0f;

namespace {

constexpr float kFadeRate = 3.0f;
constexpr float kFlyingScale = 2.0f;
constexpr float kFlyingTimeScale = 10.0f;
constexpr int kFlyingHealth = 1;
constexpr int kFlyingFrames = 4;
constexpr float kFlyingFrameTime = 0.1f;
// Turn rate per degree still to turn. Above 15 degrees off it turns as fast as it can; close to
// the line it eases in without overshooting (4 x dt is far below 1 at any frame rate played).
constexpr float kTurnGain = 4.0f;
// Beyond two half-extents of the view (20 units at zoom 1) the spirit has lost Lirra.
constexpr float kLostRangeInHalfExtents = 2.0f;

AnimationRenderer* Animation(const GOEnemy& enemy) {
    return enemy.GetComponent<AnimationRenderer>();
}

}  // namespace

// The spirit flies at 10 units a second, as fast as Lirra runs, and turns at most 60 degrees a
// second: a turning circle about 9.5 units across. Proportional steering locks on smoothly while
// Lirra keeps her line, so the spirit feels like a homing shot, yet when she doubles back it
// overshoots and swings through a wide arc; by the time it is round she has gained ground, and a
// spirit that swings far enough out loses her and is gone. Dodging is changing direction.
float FlyingTurnRate(float angle, float side) {
    const float rate = std::min(kTurnGain * angle, kMaxTurnRate);
    if (side < 0.0f) {
        return -rate;
    }
    // Straight behind it the side is undecided: it always comes about counter-clockwise.
    return rate;
}

Vector3 RotateAboutZ(const Vector3& direction, float degrees) {
    const float radians = DegToRad(degrees);
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    Vector3 rotated(direction.x * c - direction.y * s, direction.x * s + direction.y * c, 0.0f);
    const float length = rotated.Length();
    return length > 0.0f ? rotated * (1.0f / length) : Vector3(1.0f, 0.0f, 0.0f);
}

void StateSpawn_FE::Enter() {
    fade = 0.0f;
    Play(TextureId::VozarovuFlyingIdle);
    // Unseen from the very first frame it is drawn.
    if (AnimationRenderer* animation = Animation(*owner)) {
        animation->SetAlpha(fade);
    }
    flySpeed = 1.0f;
}

void StateSpawn_FE::Update() {
    if (AnimationRenderer* animation = Animation(*owner)) {
        animation->SetAlpha(fade);
    }
    if (fade < 1.0f) {
        fade += kFadeRate * GetDeltaTime();
        return;
    }
    fade = 1.0f;
    RequestState("IDLE_FE");
}

void StateSpawn_FE::Exit() {
    if (AnimationRenderer* animation = Animation(*owner)) {
        animation->SetAlpha(1.0f);
    }
}

void StateIdle_FE::Enter() {
    owner->TakeAttackHitbox(HITBOX_FLYING_CONTACT);
}

void StateIdle_FE::Update() {
    if (FarFromLirra()) {
        RequestState("DEAD_FE");
        return;
    }
    Steer();
    FaceHeading();
    const float speed = flySpeed * owner->localTimeScale * GetDeltaTime();
    owner->GetTransform().Translate(owner->direction.x * speed, owner->direction.y * speed, 0.0f);
}

void StateIdle_FE::Exit() {
    owner->ReleaseAttackHitbox();
}

bool StateIdle_FE::FarFromLirra() const {
    const Vector3 lirra = GetPlayer().GetTransform().GetPosition();
    const Vector3 at = Position();
    const float range = kLostRangeInHalfExtents * GetCamera().GetHalfExtent();
    return at.x > lirra.x + range || at.x < lirra.x - range || at.y > lirra.y + range || at.y < lirra.y - range;
}

void StateIdle_FE::Steer() const {
    const Vector3 toLirra = ToLirra();
    if (toLirra.Length() <= 0.0f) {
        return;
    }
    const Vector3 target = toLirra * (1.0f / toLirra.Length());
    const Vector3 heading = owner->direction;
    const float angle = RadToDeg(std::acos(Clamp(heading.Dot(target), -1.0f, 1.0f)));
    const float side = heading.x * target.y - heading.y * target.x;
    owner->direction = RotateAboutZ(heading, FlyingTurnRate(angle, side) * GetDeltaTime());
}

void StateIdle_FE::FaceHeading() const {
    Transform& transform = owner->GetTransform();
    const Vector3 scale = transform.GetScale();
    const bool facesRight = owner->direction.x >= 0.0f;
    if (facesRight != (scale.x > 0.0f)) {
        transform.SetScale(-scale.x, scale.y, scale.z);
    }
}

void StateDead_FE::Enter() {
    owner->SetActive(false);
    owner->RemoveTrail();
}

void SetupFlyingEnemy(GOEnemy& enemy, const Vector3& position) {
    enemy.RemoveComponent<Renderer>();
    enemy.RemoveComponent<Collider>();
    enemy.enemyKind = ENEMY_FLYING;

    AnimationRenderer* animation = enemy.GetComponent<AnimationRenderer>();
    if (animation != nullptr) {
        animation->ClearClips();
    } else {
        animation = enemy.AddComponent<AnimationRenderer>();
    }
    animation->AddClip(TextureId::VozarovuFlyingIdle, kFlyingFrames, kFlyingFrameTime);

    Transform& transform = enemy.GetTransform();
    transform.SetScale(kFlyingScale, kFlyingScale, 1.0f);
    transform.SetPosition(position);

    Vector3 toLirra = GetPlayer().GetTransform().GetPosition() - position;
    toLirra.z = 0.0f;
    // Released right on top of her, it sets off to the right.
    enemy.direction = toLirra.Length() > 0.0f ? toLirra * (1.0f / toLirra.Length()) : Vector3(1.0f, 0.0f, 0.0f);

    enemy.localTimeScale = kFlyingTimeScale;
    enemy.health = enemy.maxHealth = kFlyingHealth;

    GOStateMachine& machine = *enemy.stateMachine;
    machine.AddState(std::make_unique<StateSpawn_FE>("SPAWN_FE", &enemy));
    machine.AddState(std::make_unique<StateIdle_FE>("IDLE_FE", &enemy));
    machine.AddState(std::make_unique<StateDead_FE>("DEAD_FE", &enemy));
    machine.ChangeState("SPAWN_FE");

    Emitter trail = ParticleSystem::MakeEmitter(EMITTER_FLYING_TRAIL);
    trail.target = &transform;
    enemy.emitterId = GetParticleSystem().AddEmitter(trail);
}
