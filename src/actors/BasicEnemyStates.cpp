#include "actors/BasicEnemyStates.h"

#include <cmath>

#include "actors/GOEnemy.h"
#include "actors/GOHitbox.h"
#include "actors/GOSoul.h"
#include "actors/PatrolSegment.h"
#include "actors/Player.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Renderer.h"
#include "levels/Dialogue.h"
#include "math/MathUtil.h"
#include "physics/Collider.h"
#include "platform/FrameClock.h"
#include "scene/SceneManager.h"

float walkSpeed = 1.0f;
float pauseTimer = 0.0f;

const char* const kBarkLines[kBarkLineCount] = {
    "no...not again",
    "it's all not true...",
    "how can you do this to us",
    "lirra...",
    "lirra!!",
    "we shall not be forgotten",
    "i feel sleepy...",
    "where do we go after we die?",
    "it's time to sleep now..",
    "is this the right thing to do though?",
    "appLe... pI-",
    "cinnamon sprinkles on appLe pIE...",
    "when will we get to eat-",
    "appLe pIE?",
};

namespace {

constexpr float kPatrolWalkSpeed = 1.0f;
constexpr float kChaseWalkSpeed = 2.0f;
constexpr float kEndPause = 1.0f;
// Between these the spirit keeps its heading, so it does not flicker when Lirra is right above.
constexpr float kTurnDeadZone = 0.2f;

constexpr float kBasicScale = 2.0f;
constexpr float kBoxWidthFactor = 0.3f;
constexpr float kBoxHeightFactor = 0.5f;
constexpr float kBoxDrop = -0.6f;
constexpr int kBasicHealth = 100;

const struct {
    TextureId clip;
    int frames;
    float frameTime;
} kBasicAnimations[] = {
    {TextureId::VozarovuIdle, 4, 0.2f},     {TextureId::VozarovuRun, 4, 0.15f},  {TextureId::VozarovuAttack, 3, 0.2f},
    {TextureId::VozarovuDamaged, 2, 0.15f}, {TextureId::VozarovuDeath, 8, 0.1f},
};

// The bark's panel: a small translucent box over the fallen spirit.
constexpr float kBarkPanelAlpha = 0.6f;
constexpr float kBarkTextScale = 0.6f;
constexpr float kBarkNameScale = 0.8f;
const Vector3 kBarkNameColour(1.0f, 0.0f, 1.0f);
const Vector2 kBarkOffset(0.0f, 40.0f);
const Vector2 kBarkPanelSize(200.0f, 80.0f);
constexpr float kHealBelowHealth = 50.0f;

// The enemy's collider box as it would be with the enemy at `at`.
ColliderBox BoxAt(const GOEnemy& enemy, const Vector3& at) {
    ColliderBox box;
    if (const Collider* collider = enemy.GetComponent<Collider>()) {
        box = collider->box;
    }
    const Vector3 scale = enemy.GetTransform().GetScale();
    box.center = at + box.offset;
    box.width = box.widthFactor * std::fabs(scale.x);
    box.height = box.heightFactor * std::fabs(scale.y);
    return box;
}

// A spirit stops rather than push into Lirra.
bool BlockedByLirra(const GOEnemy& enemy, const Vector3& candidate) {
    const Collider* lirraCollider = GetPlayer().GetComponent<Collider>();
    return lirraCollider != nullptr && Overlaps(BoxAt(enemy, candidate), lirraCollider->box);
}

// Takes the step along the path unless it would run into Lirra.
void StepAlongPath(GOEnemy& enemy, const Vector3& step) {
    const Vector3 from = enemy.GetTransform().GetPosition();
    const Vector3 candidate = enemy.currentSegment->MoveAlong(from, step);
    if (BlockedByLirra(enemy, candidate)) {
        return;
    }
    enemy.GetTransform().SetPosition(candidate);
    enemy.currentSegment = enemy.currentSegment->NextSegment(from, step);
}

Vector3 WalkStep(const GOEnemy& enemy) {
    return enemy.direction * (enemy.localTimeScale * walkSpeed * GetDeltaTime());
}

// A spirit built without a path (or whose path was taken) walks nowhere.
bool HasPath(const GOEnemy& enemy) {
    return enemy.currentSegment != nullptr;
}

DialogueRequest MakeBark(const Vector3& at) {
    DialogueRequest bark;
    bark.name = "No name";
    bark.text = kBarkLines[RandomInt(0, kBarkLineCount - 1)];
    bark.nameColor = kBarkNameColour;
    bark.offset = kBarkOffset;
    bark.panelAlpha = kBarkPanelAlpha;
    bark.textScale = kBarkTextScale;
    bark.nameScale = kBarkNameScale;
    bark.size = kBarkPanelSize;
    bark.worldAnchored = true;
    bark.position = at;
    bark.onFinish = [at] { DropSoul(at); };
    return bark;
}

}  // namespace

void EnemyState::Play(TextureId clip) const {
    if (AnimationRenderer* animation = owner->GetComponent<AnimationRenderer>()) {
        animation->SetClip(clip);
    }
}

void EnemyState::RequestState(const char* stateName) const {
    owner->stateMachine->ChangeState(stateName);
}

Vector3 EnemyState::Position() const {
    return owner->GetTransform().GetPosition();
}

Vector3 EnemyState::ToLirra() const {
    Vector3 d = GetPlayer().GetTransform().GetPosition() - Position();
    d.z = 0.0f;
    return d;
}

void StateIdle_BE::Enter() {
    walkSpeed = kPatrolWalkSpeed;
    pauseTimer = kEndPause;
    Play(TextureId::VozarovuIdle);
    owner->currentSegment = PatrolSegment::FindSegment(owner->patrolPath.get(), Position());
}

void StateIdle_BE::Update() {
    if (owner->health <= 0) {
        RequestState("DEAD_BE");
        return;
    }
    if (!owner->vulnerable) {
        Play(TextureId::VozarovuDamaged);
        return;
    }
    const Vector3 toLirra = ToLirra();
    if (toLirra.x * owner->direction.x > 0.0f && toLirra.Length() < kAttackRange) {
        RequestState("ATTACK_BE");
        return;
    }
    if (pauseTimer > 0.0f) {
        Play(TextureId::VozarovuIdle);
        pauseTimer -= GetDeltaTime();
        return;
    }
    Play(TextureId::VozarovuRun);
    if (!HasPath(*owner)) {
        return;
    }
    const Vector3 step = WalkStep(*owner);
    const PatrolSegment& segment = *owner->currentSegment;
    if (!segment.Crosses(Position(), step)) {
        StepAlongPath(*owner, step);
        return;
    }
    pauseTimer = kEndPause;
    Play(TextureId::VozarovuIdle);
    const Vector3& end = segment.PointAhead(step);
    if (segment.NeighbourBeyond(end) != nullptr) {
        StepAlongPath(*owner, step);
        return;
    }
    // The end of the path: the spirit turns round there.
    owner->direction = owner->direction * -1.0f;
    Transform& transform = owner->GetTransform();
    const Vector3 scale = transform.GetScale();
    transform.SetScale(-scale.x, scale.y, scale.z);
    transform.SetPosition(end);
}

void StateAttack_BE::Enter() {
    walkSpeed = kChaseWalkSpeed;
}

void StateAttack_BE::Update() {
    if (owner->health <= 0) {
        RequestState("DEAD_BE");
        return;
    }
    if (!owner->vulnerable) {
        // A hurt spirit does not fight back until it recovers.
        owner->ReleaseAttackHitbox();
        Play(TextureId::VozarovuDamaged);
        return;
    }
    const Vector3 toLirra = ToLirra();
    const float distance = toLirra.Length();
    if (distance >= kAttackRange) {
        RequestState("IDLE_BE");
        return;
    }
    FaceLirra(toLirra);
    Strike(toLirra, distance);
    Chase();
}

void StateAttack_BE::Exit() {
    owner->ReleaseAttackHitbox();
}

void StateAttack_BE::FaceLirra(const Vector3& toLirra) const {
    Transform& transform = owner->GetTransform();
    const Vector3 scale = transform.GetScale();
    if (toLirra.x > kTurnDeadZone) {
        owner->direction.x = 1.0f;
        transform.SetScale(std::fabs(scale.x), scale.y, scale.z);
    } else if (toLirra.x < -kTurnDeadZone) {
        owner->direction.x = -1.0f;
        transform.SetScale(-std::fabs(scale.x), scale.y, scale.z);
    }
}

void StateAttack_BE::Strike(const Vector3& toLirra, float distance) const {
    if (toLirra.Dot(owner->direction) <= 0.0f) {
        return;
    }
    if (distance < kStrikeRange) {
        Play(TextureId::VozarovuAttack);
        owner->TakeAttackHitbox(HITBOX_ENEMY_MELEE);
    } else {
        Play(TextureId::VozarovuRun);
        owner->ReleaseAttackHitbox();
    }
}

void StateAttack_BE::Chase() const {
    if (!HasPath(*owner)) {
        return;
    }
    const Vector3 step = WalkStep(*owner);
    const PatrolSegment& segment = *owner->currentSegment;
    if (segment.Crosses(Position(), step) && segment.NeighbourBeyond(segment.PointAhead(step)) == nullptr) {
        // The spirit waits at the end of its path, facing Lirra.
        owner->GetTransform().SetPosition(segment.PointAhead(step));
        return;
    }
    StepAlongPath(*owner, step);
}

void StateDead_BE::Enter() {
    Play(TextureId::VozarovuDeath);
    const Vector3 at = Position();
    if (IsDialogueVisible()) {
        // Someone is already talking: the spirit goes quietly, and Lirra gets her soul at once.
        DropSoul(at);
        return;
    }
    ShowDialogue(MakeBark(at), false);
}

void StateDead_BE::Update() {
    const AnimationRenderer* animation = owner->GetComponent<AnimationRenderer>();
    if (animation == nullptr || animation->GetFrame() > kLastDeathFrame) {
        owner->SetActive(false);
    }
}

void SetupBasicEnemy(GOEnemy& enemy, const Vector3& position, const Vector3& secondPoint) {
    enemy.RemoveComponent<Renderer>();
    enemy.enemyKind = ENEMY_BASIC;

    AnimationRenderer* animation = enemy.GetComponent<AnimationRenderer>();
    if (animation != nullptr) {
        animation->ClearClips();
    } else {
        animation = enemy.AddComponent<AnimationRenderer>();
    }
    for (const auto& clip : kBasicAnimations) {
        animation->AddClip(clip.clip, clip.frames, clip.frameTime);
    }
    animation->SetAlpha(1.0f);

    Collider* collider = enemy.GetComponent<Collider>();
    if (collider == nullptr) {
        collider = enemy.AddComponent<Collider>();
    }
    Transform& transform = enemy.GetTransform();
    transform.SetPosition(position);
    enemy.patrolPath = std::make_unique<PatrolSegment>(position, secondPoint);

    transform.SetScale(kBasicScale, kBasicScale, kBasicScale);
    collider->box.widthFactor = kBoxWidthFactor;
    collider->box.heightFactor = kBoxHeightFactor;
    collider->box.offset = Vector3(0.0f, kBoxDrop, 0.0f);
    collider->nonSolid = false;
    collider->Update();

    enemy.direction = Vector3(1.0f, 0.0f, 0.0f);
    enemy.localTimeScale = 1.0f;
    enemy.health = enemy.maxHealth = kBasicHealth;

    GOStateMachine& machine = *enemy.stateMachine;
    machine.AddState(std::make_unique<StateIdle_BE>("IDLE_BE", &enemy));
    machine.AddState(std::make_unique<StateAttack_BE>("ATTACK_BE", &enemy));
    machine.AddState(std::make_unique<StateDead_BE>("DEAD_BE", &enemy));
    machine.ChangeState("IDLE_BE");
}

// A soul freed while Lirra dies is lost with her chain, so it is not made at all.
void DropSoul(const Vector3& at) {
    Player& lirra = GetPlayer();
    if (lirra.state == PLAYER_DYING) {
        return;
    }
    GOSoul* soul = GetScene().GetSoul();
    soul->GetTransform().SetPosition(at.x, at.y, at.z + 1.0f);
    soul->Init();
    soul->SetKind(true, 0);
    soul->SetActive(true);

    lirra.souls.push_back(soul);
    lirra.RelinkSouls();
    lirra.RecalculateAttackPower();
    if (lirra.GetHealth() <= kHealBelowHealth && !lirra.souls.empty()) {
        lirra.ConsumeFireSoul();
    }
}
