#include "actors/Boss.h"

#include <limits>
#include <string>

#include "actors/Player.h"
#include "graphics/TextRenderer.h"
#include "platform/FrameClock.h"

// The pieces are enemies: until the enemies arrive, the boss keeps its record but has no body.
#include "actors/GOEnemy.h"
#include "actors/GOSoul.h"
#include "actors/GOStateMachine.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Renderer.h"
#include "levels/Cinematics.h"
#include "physics/Collider.h"
#include "scene/SceneManager.h"

float appearFade = 0.0f;
float defeatFade = 1.0f;
bool headLandShake = false;

namespace {

constexpr float kNever = std::numeric_limits<float>::infinity();
constexpr int kBossHealth = 2500;
constexpr int kHeadHealth = 500;
constexpr float kHeadDownTime = 7.0f;
constexpr float kFadeTime = 3.0f;

// Reinforcements come in pairs at fixed places of the arena, walking or flying towards each other.
const Vector3 kBasicRightStart(10.0f, -17.5f, 0.0f);
const Vector3 kBasicLeftStart(-10.0f, -17.5f, 0.0f);
const Vector3 kFlyingRightStart(10.0f, -10.5f, 8.0f);
const Vector3 kFlyingLeftStart(-10.0f, -10.5f, 8.0f);

// Seconds between two pairs of spirits, by phase: each phase sends them a little sooner.
constexpr float kBasicSpawnPhase1 = 15.0f;
constexpr float kBasicSpawnPhase2 = 14.0f;
constexpr float kBasicSpawnPhase3 = 13.0f;
constexpr float kFlyingSpawnPhase1 = 30.0f;
constexpr float kFlyingSpawnPhase2 = 28.0f;
constexpr float kFlyingSpawnPhase3 = 26.0f;
// The first flying pair waits one whole first-phase interval.
constexpr float kFirstFlyingSpawnDelay = kFlyingSpawnPhase1;
// The head's rest above the arena's origin, and how far it drops when it comes down.
constexpr float kHeadHomeHeight = 8.5f;
constexpr float kHeadDropDepth = 13.5f;
// The head's speed in units a frame: it floats up slowly and drops faster, gaining speed as it falls.
constexpr float kHeadRiseSpeed = 0.05f;
constexpr float kHeadDropSpeed = 0.3f;

float BasicSpawnInterval(int phase) {
    return phase == BOSS_PHASE_2 ? kBasicSpawnPhase2 : phase == BOSS_PHASE_3 ? kBasicSpawnPhase3 : kBasicSpawnPhase1;
}

float FlyingSpawnInterval(int phase) {
    return phase == BOSS_PHASE_2 ? kFlyingSpawnPhase2 : phase == BOSS_PHASE_3 ? kFlyingSpawnPhase3 : kFlyingSpawnPhase1;
}

const Vector3 kBarLabelAt(0.0f, 40.0f, 0.0f);
const Vector3 kBarRed(1.0f, 0.0f, 0.0f);
const Vector3 kBarMagenta(1.0f, 0.0f, 1.0f);
const Vector3 kBarLabelGreen(0.0f, 1.0f, 0.0f);

}  // namespace

Boss& GetBoss() {
    static Boss boss;
    return boss;
}

void HeadController::SetMode(int m) {
    if (m == mode) {
        return;
    }
    mode = m;
    if (m == HEAD_DOWN) {
        downTimer = kHeadDownTime;
    } else if (m == HEAD_UP) {
        downTimer = 0.0f;
    }
}

void Boss::Start(const Vector3& origin_, std::vector<GOEnemy*>* enemies_) {
    phase = BOSS_APPEARING;
    health = maxHealth = kBossHealth;
    playerPosition = GetPlayer().GetTransform().GetPosition();
    origin = origin_;
    enemies = enemies_;
    basicSpawnTimer = 0.0f;
    flyingSpawnTimer = kFirstFlyingSpawnDelay;
    // A restarted fight fades in again: the pieces made below read these at once.
    appearFade = 0.0f;
    defeatFade = 1.0f;
    headLandShake = false;

    head.mode = HEAD_UP;
    head.downTimer = 0.0f;
    head.homePoint = origin + Vector3(0.0f, kHeadHomeHeight, 0.0f);
    head.lowPoint = head.homePoint - Vector3(0.0f, kHeadDropDepth, 0.0f);
    head.piece = SpawnEnemy(head.homePoint, head.homePoint, ENEMY_BOSS_HEAD, true);

    leftHand.Start(origin, enemies, this);
    rightHand.Start(origin, enemies, this);

    body = SpawnEnemy(origin, origin, ENEMY_BOSS_BODY, true);
}

GOEnemy* Boss::SpawnEnemy(const Vector3& position, const Vector3& secondPoint, int kind, bool linked) {
    GOEnemy* enemy = GetScene().GetEnemy();
    enemy->Setup(position, secondPoint, kind);
    enemy->SetActive(true);
    if (linked) {
        enemy->boss = this;
    }
    if (enemies != nullptr) {
        enemies->push_back(enemy);
    }
    return enemy;
}

void Boss::Update() {
    playerPosition = GetPlayer().GetTransform().GetPosition();
    CoordinateHeadAndHands();
    TickTimers(GetDeltaTime());
    SpawnReinforcements();
}

// A single downed hand is held down (its timer re-armed every frame) until its partner falls too.
void Boss::CoordinateHeadAndHands() {
    if (head.IsDown()) {
        return;
    }
    const bool leftDown = leftHand.IsDown();
    const bool rightDown = rightHand.IsDown();
    if (leftDown && rightDown) {
        head.SetMode(HEAD_DOWN);
    } else if (leftDown) {
        leftHand.SetMode(HAND_REST);
        leftHand.SetMode(HAND_DOWN);
    } else if (rightDown) {
        rightHand.SetMode(HAND_REST);
        rightHand.SetMode(HAND_DOWN);
    }
}

void Boss::TickTimers(float dt) {
    leftHand.TickTimers(dt);
    rightHand.TickTimers(dt);
    if (head.downTimer > 0.0f) {
        head.downTimer -= dt;
    }
    if (basicSpawnTimer >= 0.0f) {
        basicSpawnTimer -= dt;
    }
    if (flyingSpawnTimer >= 0.0f) {
        flyingSpawnTimer -= dt;
    }
}

void Boss::SpawnReinforcements() {
    if (basicSpawnTimer < 0.0f) {
        basicSpawnTimer = BasicSpawnInterval(phase);
        SpawnEnemy(kBasicRightStart, kBasicLeftStart, ENEMY_BASIC, false);
        SpawnEnemy(kBasicLeftStart, kBasicRightStart, ENEMY_BASIC, false);
    }
    if (flyingSpawnTimer < 0.0f) {
        flyingSpawnTimer = FlyingSpawnInterval(phase);
        SpawnEnemy(kFlyingRightStart, kFlyingRightStart, ENEMY_FLYING, false);
        SpawnEnemy(kFlyingLeftStart, kFlyingLeftStart, ENEMY_FLYING, false);
    }
}

// One heavy blow may carry the fight through more than one phase: the checks run in order.
void Boss::TakeDamage(int amount) {
    health -= amount;
    if (phase == BOSS_PHASE_1 && health < 1800) {
        SetPhase(BOSS_PHASE_2);
    }
    if (phase == BOSS_PHASE_2 && health < 1000) {
        SetPhase(BOSS_PHASE_3);
    }
    if (health < 0) {
        SetPhase(BOSS_DEFEATED);
    }
}

void Boss::SetPhase(int p) {
    if (p == phase) {
        return;
    }
    phase = p;
    switch (p) {
    case BOSS_APPEARING:
    case BOSS_PHASE_1:
        flyingSpawnTimer = kNever;
        break;
    case BOSS_PHASE_2:
        flyingSpawnTimer = 0.0f;
        break;
    case BOSS_PHASE_3:
        basicSpawnTimer = 0.0f;
        flyingSpawnTimer = 0.0f;
        break;
    case BOSS_DEFEATED:
        if (enemies != nullptr) {
            for (GOEnemy* enemy : *enemies) {
                if (enemy->enemyKind == 0) {
                    enemy->stateMachine->ChangeState("DEAD_BE");
                } else if (enemy->enemyKind == 1) {
                    enemy->stateMachine->ChangeState("DEAD_FE");
                }
            }
        }
        basicSpawnTimer = kNever;
        flyingSpawnTimer = kNever;
        break;
    default:
        break;
    }
}

int BossBarFilled(int health, int maxHealth) {
    if (health <= 0 || maxHealth <= 0) {
        return 0;
    }
    const int filled = static_cast<int>(static_cast<float>(health) / static_cast<float>(maxHealth) *
                                        static_cast<float>(kBossBarLetters));
    return filled < 1 ? 1 : filled;
}

void DrawBossBar(int health, int maxHealth) {
    TextRenderer& text = GetTextRenderer();
    text.DrawText("ROVEVOZ", Vector2(kBarLabelAt.x, kBarLabelAt.y), 2.0f, kBarLabelGreen);
    text.DrawText(BarLetters(kBossBarLetters), Vector2(0.0f, 0.0f), 1.3f, kBarRed);
    const int filled = BossBarFilled(health, maxHealth);
    if (filled > 0) {
        text.DrawText(BarLetters(static_cast<size_t>(filled)), Vector2(0.0f, 0.0f), 1.3f, kBarMagenta);
    }
}

void PassDamageToBoss(GOEnemy& piece, int amount) {
    if (piece.boss != nullptr) {
        piece.boss->TakeDamage(amount);
    }
}

namespace {

// Common to the body's and head's states: their owner, and the alpha of their one sprite.
class BossPieceState : public GOState {
public:
    BossPieceState(const std::string& name_, GOEnemy* owner_) : GOState(name_), owner(owner_) {}

    void Enter() override {}
    void Update() override {}
    void Exit() override {}

protected:
    void SetAlpha(float alpha) const {
        if (Renderer* renderer = owner->GetComponent<Renderer>()) {
            renderer->SetAlpha(alpha);
        }
    }
    void ChangeState(const char* name_) const { owner->stateMachine->ChangeState(name_); }
    Boss& TheBoss() const { return owner->boss != nullptr ? *owner->boss : GetBoss(); }
    Vector3 Position() const { return owner->GetTransform().GetPosition(); }
    void SetNonSolid(bool nonSolid) const {
        if (Collider* collider = owner->GetComponent<Collider>()) {
            collider->nonSolid = nonSolid;
        }
    }

    GOEnemy* owner = nullptr;
};

// The whole boss fades in over three seconds; then the fight begins.
class StatePhaseStart_BB : public BossPieceState {
public:
    using BossPieceState::BossPieceState;
    void Enter() override {
        appearFade = 0.0f;
        defeatFade = 1.0f;
        SetAlpha(0.0f);
    }
    void Update() override {
        appearFade += GetDeltaTime() / kFadeTime;
        SetAlpha(appearFade);
        if (appearFade >= 1.0f) {
            SetAlpha(1.0f);
            TheBoss().SetPhase(BOSS_PHASE_1);
            ChangeState("PHASE1_BB");
        }
    }
};

// The body mirrors the shared health for its bar and grows fainter with each phase.
class StateBodyPhase : public BossPieceState {
public:
    StateBodyPhase(const std::string& name_, GOEnemy* owner_, int phase_, float alpha_)
        : BossPieceState(name_, owner_), bodyPhase(phase_), alpha(alpha_) {}
    void Enter() override {
        if (alpha >= 0.0f) {
            SetAlpha(alpha);
        }
    }
    void Update() override {
        owner->health = TheBoss().GetHealth();
        const int phase = TheBoss().GetPhase();
        if (phase == BOSS_DEFEATED) {
            ChangeState("END_BB");
        } else if (phase == BOSS_PHASE_3 && bodyPhase < BOSS_PHASE_3) {
            ChangeState("PHASE3_BB");
        } else if (phase == BOSS_PHASE_2 && bodyPhase < BOSS_PHASE_2) {
            ChangeState("PHASE2_BB");
        }
    }

private:
    int bodyPhase;
    float alpha;
};

// Every piece fades out; the body leaves Rovevoz's great Green soul behind.
class StatePhaseEnd_BB : public BossPieceState {
public:
    using BossPieceState::BossPieceState;
    void Enter() override { SetAlpha(0.2f); }
    void Update() override {
        if (!owner->IsActive()) {
            return;
        }
        defeatFade -= GetDeltaTime() / kFadeTime;
        SetAlpha(defeatFade);
        if (defeatFade > 0.0f) {
            return;
        }
        defeatFade = 0.0f;
        SetAlpha(0.0f);
        GOSoul* soul = GetScene().GetSoul();
        const Vector3 at = Position();
        soul->GetTransform().SetPosition(at.x, at.y, at.z + 1.0f);
        soul->GetTransform().SetScale(5.0f, 5.0f, 5.0f);
        soul->SetKind(false, kSoulGreen);
        soul->SetActive(true);
        owner->SetActive(false);
    }
};

class StateSTART_BH : public BossPieceState {
public:
    using BossPieceState::BossPieceState;
    void Enter() override { Update(); }
    void Update() override {
        SetAlpha(appearFade);
        if (appearFade >= 1.0f) {
            SetAlpha(1.0f);
            ChangeState("IDLE_BH");
        }
    }
};

// Hovering: the head rises back to its home height and waits for both hands to fall.
class StateIDLE_BH : public BossPieceState {
public:
    using BossPieceState::BossPieceState;
    void Enter() override {
        SetNonSolid(true);
        owner->health = kHeadHealth;
        owner->localTimeScale = kHeadRiseSpeed;
        owner->direction = Vector3(0.0f, 1.0f, 0.0f);
    }
    void Update() override {
        Boss& boss = TheBoss();
        if (boss.GetPhase() == BOSS_DEFEATED) {
            ChangeState("DEAD_BH");
            return;
        }
        if (boss.head.IsDown()) {
            ChangeState("FALL_BH");
            return;
        }
        Vector3 next = Position() + owner->direction * owner->localTimeScale;
        if (next.y > boss.head.homePoint.y) {
            next.y = boss.head.homePoint.y;
        }
        owner->GetTransform().SetPosition(next);
    }
};

// Down on the arena floor for seven seconds, where Lirra can strike it.
class StateFALL_BH : public BossPieceState {
public:
    using BossPieceState::BossPieceState;
    void Enter() override {
        owner->direction = Vector3(0.0f, -1.0f, 0.0f);
        owner->localTimeScale = kHeadDropSpeed;
        headLandShake = true;
    }
    void Update() override {
        Boss& boss = TheBoss();
        if (boss.GetPhase() == BOSS_DEFEATED) {
            ChangeState("DEAD_BH");
            return;
        }
        if (!boss.head.IsDown()) {
            boss.head.SetMode(HEAD_UP);
            ChangeState("IDLE_BH");
            return;
        }
        owner->localTimeScale += GetDeltaTime() / kFadeTime;
        Vector3 next = Position() + owner->direction * owner->localTimeScale;
        if (next.y < boss.head.lowPoint.y) {
            next.y = boss.head.lowPoint.y;
            if (headLandShake) {
                PlayCinematic(1, std::make_unique<CinShake>(0.15f, 0.15f, false));
                headLandShake = false;
            }
        } else {
            SetNonSolid(true);
        }
        owner->GetTransform().SetPosition(next);
    }
};

class StateDEAD_BH : public BossPieceState {
public:
    using BossPieceState::BossPieceState;
    void Update() override {
        SetAlpha(defeatFade);
        if (defeatFade <= 0.0f) {
            SetAlpha(0.0f);
            owner->SetActive(false);
        }
    }
};

// The body and head draw one sprite each; a Renderer is added only if none is there.
void UseSprite(GOEnemy& enemy, TextureId textureId) {
    enemy.RemoveComponent<AnimationRenderer>();
    Renderer* renderer = enemy.GetComponent<Renderer>();
    if (renderer == nullptr) {
        renderer = enemy.AddComponent<Renderer>();
        renderer->SetMesh(QUAD);
    }
    renderer->SetTexture(textureId);
    renderer->SetAlpha(1.0f);
}

void SetupBody(GOEnemy& enemy, const Vector3& position) {
    enemy.enemyKind = 2;
    UseSprite(enemy, TextureId::BossBody);
    enemy.RemoveComponent<Collider>();
    enemy.GetTransform().SetPosition(position);
    enemy.GetTransform().SetScale(16.0f, 16.0f, 0.0f);
    enemy.localTimeScale = 0.0f;
    enemy.health = enemy.maxHealth = kBossHealth;
    enemy.direction = Vector3(0.0f, 0.0f, 0.0f);
    GOStateMachine& machine = *enemy.stateMachine;
    machine.AddState(std::make_unique<StatePhaseStart_BB>("START_BB", &enemy));
    machine.AddState(std::make_unique<StateBodyPhase>("PHASE1_BB", &enemy, BOSS_PHASE_1, -1.0f));
    machine.AddState(std::make_unique<StateBodyPhase>("PHASE2_BB", &enemy, BOSS_PHASE_2, 0.8f));
    machine.AddState(std::make_unique<StateBodyPhase>("PHASE3_BB", &enemy, BOSS_PHASE_3, 0.6f));
    machine.AddState(std::make_unique<StatePhaseEnd_BB>("END_BB", &enemy));
    machine.ChangeState("START_BB");
}

void SetupHead(GOEnemy& enemy, const Vector3& position) {
    enemy.enemyKind = 3;
    UseSprite(enemy, TextureId::BossHead);
    Collider* collider = enemy.GetComponent<Collider>();
    if (collider == nullptr) {
        collider = enemy.AddComponent<Collider>();
    }
    collider->box.widthFactor = 0.75f;
    collider->box.heightFactor = 0.7f;
    collider->box.offset = Vector3(-0.6f, -1.7f, 0.0f);
    collider->nonSolid = true;
    enemy.GetTransform().SetPosition(position);
    enemy.GetTransform().SetScale(12.0f, 12.0f, 0.0f);
    enemy.localTimeScale = 1.0f;
    enemy.health = enemy.maxHealth = kHeadHealth;
    enemy.direction = Vector3(0.0f, 0.0f, 0.0f);
    collider->Update();
    GOStateMachine& machine = *enemy.stateMachine;
    machine.AddState(std::make_unique<StateSTART_BH>("START_BH", &enemy));
    machine.AddState(std::make_unique<StateIDLE_BH>("IDLE_BH", &enemy));
    machine.AddState(std::make_unique<StateFALL_BH>("FALL_BH", &enemy));
    machine.AddState(std::make_unique<StateDEAD_BH>("DEAD_BH", &enemy));
    machine.ChangeState("START_BH");
}

}  // namespace

void SetupBossPart(GOEnemy& enemy, const Vector3& position, int kind) {
    switch (kind) {
    case 2:
        SetupBody(enemy, position);
        break;
    case 3:
        SetupHead(enemy, position);
        break;
    case 4:
    case 5:
        SetupBossHand(enemy, position, kind);
        break;
    default:
        enemy.SetActive(false);
        break;
    }
}
