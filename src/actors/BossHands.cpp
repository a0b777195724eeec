#include "actors/BossHands.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "actors/Boss.h"
#include "actors/Player.h"

#include "actors/GOEnemy.h"
#include "actors/GOHitbox.h"
#include "actors/GOStateMachine.h"
#include "audio/Audio.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/ParticleSystem.h"
#include "graphics/Renderer.h"
#include "levels/Cinematics.h"
#include "math/MathUtil.h"
#include "physics/Collider.h"
#include "platform/FrameClock.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneManager.h"

namespace {

constexpr float kRestWait = 4.0f;
constexpr float kWindUp = 4.0f;
constexpr float kDownTime = 7.0f;
// Each hand keeps to its own side of the arena, reaching a little past the middle.
constexpr float kLeftReachMin = -14.0f;
constexpr float kLeftReachMax = 1.0f;
constexpr float kRightReachMin = -1.0f;
constexpr float kRightReachMax = 14.0f;
// Where a hand rests, beside and above the arena's origin.
constexpr float kHomeSide = 8.0f;
constexpr float kHomeHeight = 10.5f;
// A hand's speed in units a frame: it rises and sinks slowly and strikes faster, and gains one
// unit a frame for every three seconds of a stroke or a fall.
constexpr float kRiseSpeed = 0.1f;
constexpr float kStrikeSpeed = 0.3f;
constexpr float kSecondsPerSpeedGain = 3.0f;

}  // namespace

void HandController::Start(const Vector3& origin, std::vector<GOEnemy*>* enemies, Boss* boss) {
    (void)enemies;
    mode = HAND_REST;
    downTimer = 0.0f;
    waitTimer = 0.0f;
    lastSound = -1;
    targetPoint = GetPlayer().GetTransform().GetPosition();
    homePoint = origin + Vector3(side == HAND_LEFT ? -kHomeSide : kHomeSide, kHomeHeight, 0.0f);
    hand =
        boss->SpawnEnemy(homePoint, homePoint, side == HAND_LEFT ? ENEMY_BOSS_LEFT_HAND : ENEMY_BOSS_RIGHT_HAND, true);
}

void HandController::SetMode(int m) {
    if (m == mode) {
        return;
    }
    mode = m;
    switch (m) {
    case HAND_REST:
        waitTimer = kRestWait;
        downTimer = 0.0f;
        break;
    case HAND_ATTACK:
        waitTimer = kWindUp;
        break;
    case HAND_DOWN:
        downTimer = kDownTime;
        break;
    default:
        break;
    }
}

Vector3 HandController::SweepTarget() const {
    float x = targetPoint.x;
    if (side == HAND_LEFT) {
        x = std::max(std::min(x, kLeftReachMax), kLeftReachMin);
    } else {
        x = std::max(std::min(x, kRightReachMax), kRightReachMin);
    }
    return Vector3(x, kHandFloorY, targetPoint.z);
}

void HandController::TickTimers(float dt) {
    if (downTimer > 0.0f) {
        downTimer -= dt;
    }
    if (waitTimer > 0.0f) {
        waitTimer -= dt;
    }
}

namespace {

constexpr float kSoundVolume = 0.1f;
constexpr float kHitboxShrink = 0.7f;
constexpr float kSlamBoxDrop = -1.5f;
constexpr float kSweepBoxLead = 1.5f;
constexpr float kFallFloorY = -17.5f;
// The last moments of a wind-up throw sparks off the hand, so a strike is never a surprise.
constexpr float kWarningTime = 1.2f;
constexpr float kSparkInterval = 0.3f;
constexpr float kSparkDepth = 50.0f;

// The state names of one hand: "IDLE_BL" for the left, "IDLE_BR" for the right.
std::string HandStateName(const char* stem, int side) {
    return std::string(stem) + (side == HAND_LEFT ? "_BL" : "_BR");
}

// Common to the six states of both hands: the controller of its side and the per-frame steps.
class HandState : public GOState {
public:
    HandState(const char* stem, GOEnemy* owner_, int side_)
        : GOState(HandStateName(stem, side_)), owner(owner_), side(side_) {}

    void Enter() override {}
    void Update() override {}
    void Exit() override {}

protected:
    Boss& TheBoss() const { return owner->boss != nullptr ? *owner->boss : GetBoss(); }
    HandController& Controller() const { return side == HAND_LEFT ? TheBoss().leftHand : TheBoss().rightHand; }
    void ChangeState(const char* stem) const { owner->stateMachine->ChangeState(HandStateName(stem, side)); }
    AnimationRenderer* Animation() const { return owner->GetComponent<AnimationRenderer>(); }
    bool Playing(TextureId clip) const {
        const AnimationRenderer* animation = Animation();
        return animation != nullptr && animation->GetClip() == clip;
    }
    void Play(TextureId clip) const {
        if (AnimationRenderer* animation = Animation()) {
            animation->SetClip(clip);
        }
    }
    // Plays `first`; once it has played through, `then` follows.
    void PlayThen(TextureId first, TextureId then) const {
        AnimationRenderer* animation = Animation();
        if (animation == nullptr) {
            return;
        }
        if (animation->GetClip() == first && animation->cycleDone) {
            animation->SetClip(then);
        } else if (animation->GetClip() != then) {
            animation->SetClip(first);
        }
    }
    void SetAlpha(float alpha) const {
        if (AnimationRenderer* animation = Animation()) {
            animation->SetAlpha(alpha);
        }
    }
    void SetNonSolid(bool nonSolid) const {
        if (Collider* collider = owner->GetComponent<Collider>()) {
            collider->nonSolid = nonSolid;
        }
    }
    Vector3 Position() const { return owner->GetTransform().GetPosition(); }
    Vector3 NextPosition() const { return Position() + owner->direction * owner->localTimeScale; }
    void MoveTo(const Vector3& p) const { owner->GetTransform().SetPosition(p); }
    void Accelerate() const { owner->localTimeScale += GetDeltaTime() / kSecondsPerSpeedGain; }

    bool Defeated() const { return TheBoss().GetPhase() == BOSS_DEFEATED; }
    bool KnockedDown() const { return owner->health <= 0; }
    void FallDown() const {
        owner->health = 0;
        Controller().SetMode(HAND_DOWN);
        ChangeState("FALL");
    }
    // The slam and the sweep test the hand's health first, then the boss's defeat.
    bool LeaveAttack() const {
        if (KnockedDown()) {
            FallDown();
            return true;
        }
        if (Defeated()) {
            ChangeState("DEAD");
            return true;
        }
        return false;
    }

    // A box switched off is free in the scene's pool and may serve a reinforcement next, so the
    // hand takes one for each slam and each sweep and gives it back when the attack ends.
    bool HoldsHitbox() const {
        const GOHitbox* hitbox = owner->attackHitbox;
        return hitbox != nullptr && hitbox->IsActive() && hitbox->owner == owner;
    }
    // True when the box was switched on now.
    bool ArmHitbox(float offsetX, float offsetY) const {
        if (HoldsHitbox()) {
            return false;
        }
        GOHitbox* hitbox = owner->TakeAttackHitbox(HITBOX_BOSS_HAND);
        const Vector3 scale = owner->GetTransform().GetScale();
        hitbox->GetTransform().SetScale(std::fabs(scale.x) * kHitboxShrink, std::fabs(scale.y) * kHitboxShrink, 1.0f);
        hitbox->GetTransform().SetPosition(Position());
        if (Collider* collider = hitbox->GetComponent<Collider>()) {
            collider->box.offset = Vector3(offsetX, offsetY, 0.0f);
            collider->Update();
        }
        return true;
    }
    void DisarmHitbox() const { owner->ReleaseAttackHitbox(); }
    void PlaySound(AUDIO_DIR sound) const {
        Controller().lastSound = sound;
        Controller().lastChannel = PlayAudio(sound, kSoundVolume, false, RandomFloat(0.8f, 1.0f));
    }

    // Every few tenths of a second in the wind-up's last moments.
    void WarnOfStrike(float& nextSpark) const {
        const float left = Controller().waitTimer;
        if (left > kWarningTime || left > nextSpark) {
            return;
        }
        nextSpark = left - kSparkInterval;
        Emitter sparks = ParticleSystem::MakeEmitter(EMITTER_ENEMY_HIT);
        const Vector3 at = Position();
        sparks.position.SetPosition(at.x, at.y, kSparkDepth);
        GetParticleSystem().AddEmitter(sparks);
    }

    GOEnemy* owner = nullptr;
    int side = HAND_LEFT;
    float nextSpark = kWarningTime;
};

class StateSTART_BL : public HandState {
public:
    StateSTART_BL(GOEnemy* owner_, int side_) : HandState("START", owner_, side_) {}
    void Enter() override {
        SetAlpha(appearFade);
        Play(TextureId::BossHandRaised);
    }
    void Update() override {
        SetAlpha(appearFade);
        if (appearFade >= 1.0f) {
            SetAlpha(1.0f);
            ChangeState("IDLE");
        }
    }
};

// At rest, then rising back to the rest point; solid, so Lirra can ride it up.
class StateIDLE_BL : public HandState {
public:
    StateIDLE_BL(GOEnemy* owner_, int side_) : HandState("IDLE", owner_, side_) {}
    void Enter() override {
        SetNonSolid(false);
        if (owner->health <= 0) {
            owner->health = kHandHealth;
        }
        owner->localTimeScale = kRiseSpeed;
        Vector3 heading = (Controller().homePoint - Position()) + Vector3(0.0f, 0.1f, 0.0f);
        heading.z = 0.0f;
        owner->direction = heading.Normalized();
    }
    void Update() override {
        if (Defeated()) {
            ChangeState("DEAD");
            return;
        }
        if (KnockedDown()) {
            FallDown();
            return;
        }
        HandController& controller = Controller();
        if (controller.waitTimer > 0.0f) {
            return;
        }
        if (!Playing(TextureId::BossHandRaised)) {
            PlayThen(TextureId::BossHandLift, TextureId::BossHandRaised);
        }
        const Vector3 next = NextPosition();
        if (next.y > controller.homePoint.y) {
            controller.SetMode(HAND_ATTACK);
            ChangeState("SLAM");
            return;
        }
        MoveTo(next);
    }
};

// Four seconds hanging over Lirra, tracking her; then down onto where she was.
class StateSLAM_BL : public HandState {
public:
    StateSLAM_BL(GOEnemy* owner_, int side_) : HandState("SLAM", owner_, side_) {}
    void Enter() override {
        owner->localTimeScale = kStrikeSpeed;
        SetNonSolid(false);
        nextSpark = kWarningTime;
    }
    void Update() override {
        if (LeaveAttack()) {
            return;
        }
        HandController& controller = Controller();
        if (controller.waitTimer > 0.0f) {
            controller.targetPoint = TheBoss().playerPosition;
            WarnOfStrike(nextSpark);
            return;
        }
        nextSpark = kWarningTime;
        if (!Playing(TextureId::BossHandGrounded)) {
            ArmHitbox(0.0f, kSlamBoxDrop);
            PlayThen(TextureId::BossHandSlam, TextureId::BossHandGrounded);
        }
        controller.SetMode(HAND_ATTACK);
        owner->direction = (controller.SweepTarget() - Position()).Normalized();
        Accelerate();
        Vector3 next = NextPosition();
        if (next.y <= kHandFloorY) {
            controller.SetMode(HAND_REST);
            controller.SetMode(HAND_ATTACK);
            PlayCinematic(1, std::make_unique<CinShake>(0.2f, 0.15f, false));
            ChangeState("SWEEP");
            next.y = kHandFloorY;
        }
        MoveTo(next);
    }
    void Exit() override {
        PlaySound(BOSS_SMASH);
        DisarmHitbox();
    }
};

// Four seconds on the floor, open to Lirra's strikes; then a sweep along the ground to the wall.
class StateSWEEP_BL : public HandState {
public:
    StateSWEEP_BL(GOEnemy* owner_, int side_) : HandState("SWEEP", owner_, side_) {}
    void Enter() override {
        Play(TextureId::BossHandGrounded);
        owner->localTimeScale = kStrikeSpeed;
        SetNonSolid(true);
        nextSpark = kWarningTime;
    }
    void Update() override {
        if (LeaveAttack()) {
            return;
        }
        HandController& controller = Controller();
        if (controller.waitTimer > 0.0f) {
            controller.targetPoint = TheBoss().playerPosition;
            owner->direction = controller.SweepTarget() - Position();
            WarnOfStrike(nextSpark);
            return;
        }
        nextSpark = kWarningTime;
        const bool towardsLeft = owner->direction.x < 0.0f;
        if (!HoldsHitbox()) {
            PlaySound(BOSS_LAND);
            ArmHitbox(towardsLeft ? -kSweepBoxLead : kSweepBoxLead, 0.0f);
        }
        Play(TextureId::BossHandSweep);
        SetNonSolid(false);
        controller.SetMode(HAND_ATTACK);
        owner->direction = Vector3(towardsLeft ? -1.0f : 1.0f, 0.0f, 0.0f);
        Accelerate();
        Vector3 next = NextPosition();
        if (next.x < -kHandSweepLimit || next.x > kHandSweepLimit) {
            next.x = Clamp(next.x, -kHandSweepLimit, kHandSweepLimit);
            controller.SetMode(HAND_REST);
            PlayCinematic(1, std::make_unique<CinShake>(0.1f, 0.15f, false));
            ChangeState("IDLE");
        }
        MoveTo(next);
    }
    void Exit() override { DisarmHitbox(); }
};

// Knocked down: the hand sinks to the floor and stays there until its down time is over.
class StateFALL_BL : public HandState {
public:
    StateFALL_BL(GOEnemy* owner_, int side_) : HandState("FALL", owner_, side_) {}
    void Enter() override {
        owner->health = 0;
        Play(TextureId::BossHandSweep);
        owner->localTimeScale = kRiseSpeed;
        SetNonSolid(true);
    }
    void Update() override {
        if (Defeated()) {
            ChangeState("DEAD");
            return;
        }
        HandController& controller = Controller();
        if (controller.downTimer > 0.0f) {
            owner->direction = Vector3(0.0f, -1.0f, 0.0f);
            Vector3 next = NextPosition();
            next.y = std::max(next.y, kFallFloorY);
            Accelerate();
            MoveTo(next);
            return;
        }
        controller.SetMode(HAND_REST);
        ChangeState("IDLE");
    }
};

class StateDEAD_BL : public HandState {
public:
    StateDEAD_BL(GOEnemy* owner_, int side_) : HandState("DEAD", owner_, side_) {}
    void Update() override {
        SetAlpha(defeatFade);
        if (defeatFade <= 0.0f) {
            SetAlpha(0.0f);
            owner->SetActive(false);
        }
    }
};

}  // namespace

void SetupBossHand(GOEnemy& enemy, const Vector3& position, int kind) {
    const int side = kind == ENEMY_BOSS_LEFT_HAND ? HAND_LEFT : HAND_RIGHT;
    // The right hand's slam and lift play at half the left's pace.
    const float slowFrame = side == HAND_LEFT ? 0.33f : 0.66f;
    enemy.enemyKind = kind;
    enemy.RemoveComponent<Renderer>();
    AnimationRenderer* animation = enemy.GetComponent<AnimationRenderer>();
    if (animation != nullptr) {
        animation->ClearClips();
    } else {
        animation = enemy.AddComponent<AnimationRenderer>();
    }
    animation->AddClip(TextureId::BossHandRaised, 1, 0.1f);
    animation->AddClip(TextureId::BossHandSlam, 3, slowFrame);
    animation->AddClip(TextureId::BossHandSweep, 1, 0.1f);
    animation->AddClip(TextureId::BossHandLift, 3, slowFrame);
    animation->AddClip(TextureId::BossHandGrounded, 1, 0.1f);
    animation->SetClip(TextureId::BossHandRaised);
    animation->SetAlpha(1.0f);

    Collider* collider = enemy.GetComponent<Collider>();
    if (collider == nullptr) {
        collider = enemy.AddComponent<Collider>();
    }
    collider->box.widthFactor = 0.7f;
    collider->box.heightFactor = 0.7f;
    collider->box.offset = Vector3(0.0f, -0.5f, 0.0f);
    collider->nonSolid = true;

    enemy.GetTransform().SetPosition(position);
    enemy.GetTransform().SetScale(side == HAND_LEFT ? -4.0f : 4.0f, 4.0f, 4.0f);
    collider->Update();
    enemy.localTimeScale = 1.0f;
    enemy.health = enemy.maxHealth = kHandHealth;
    enemy.direction = Vector3(0.0f, 0.0f, 0.0f);
    enemy.attackHitbox = nullptr;

    GOStateMachine& machine = *enemy.stateMachine;
    machine.AddState(std::make_unique<StateSTART_BL>(&enemy, side));
    machine.AddState(std::make_unique<StateIDLE_BL>(&enemy, side));
    machine.AddState(std::make_unique<StateSWEEP_BL>(&enemy, side));
    machine.AddState(std::make_unique<StateSLAM_BL>(&enemy, side));
    machine.AddState(std::make_unique<StateFALL_BL>(&enemy, side));
    machine.AddState(std::make_unique<StateDEAD_BL>(&enemy, side));
    machine.ChangeState(HandStateName("START", side));
}
