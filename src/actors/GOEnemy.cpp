#include "actors/GOEnemy.h"

#include <cmath>
#include <string>

#include "actors/BasicEnemyStates.h"
#include "actors/FlyingEnemyStates.h"
#include "actors/GOHitbox.h"
#include "actors/GOStateMachine.h"
#include "actors/PatrolSegment.h"
#include "graphics/ParticleSystem.h"
#include "graphics/TextRenderer.h"
#include "platform/FrameClock.h"
#include "scene/SceneManager.h"

// Rovevoz's pieces are built and hurt through the boss's own part of the game.
#include "actors/Boss.h"

// Health bars hide while a transition screen covers the scene.
#include "frontend/GOTransitionScreen.h"

namespace {

constexpr int kLettersPerUnit = 6;
constexpr float kHitCooldown = 0.3f;
constexpr float kHealthBarDepth = 4.0f;
constexpr float kHealthBarScale = 1.0f;
const Vector3 kHealthBarRed(1.0f, 0.0f, 0.0f);
const Vector3 kHealthBarGreen(0.0f, 1.0f, 0.0f);
// The burst of sparks of a struck spirit is drawn in front of the scene.
constexpr float kHitBurstDepth = 50.0f;

bool DrawsLetterBar(int kind) {
    return kind == ENEMY_BASIC || kind == ENEMY_BOSS_HEAD || kind == ENEMY_BOSS_LEFT_HAND ||
           kind == ENEMY_BOSS_RIGHT_HAND;
}

bool PassesDamageToBoss(int kind) {
    return kind == ENEMY_BOSS_HEAD || kind == ENEMY_BOSS_LEFT_HAND || kind == ENEMY_BOSS_RIGHT_HAND;
}

void SetupBossPiece(GOEnemy& enemy, const Vector3& position, int kind) {
    SetupBossPart(enemy, position, kind);
}

}  // namespace

HealthBar MeasureHealthBar(int health, int maxHealth, float scaleX) {
    HealthBar bar;
    bar.letters = static_cast<int>(std::fabs(scaleX)) * kLettersPerUnit;
    if (maxHealth > 0) {
        bar.filled = static_cast<int>(static_cast<float>(bar.letters) * static_cast<float>(health) /
                                      static_cast<float>(maxHealth));
    }
    if (health > 0 && bar.filled < 1) {
        bar.filled = 1;
    }
    return bar;
}

bool HealthBarsHidden() {
    return transitionActive;
}

GOEnemy::GOEnemy() : GameObject(KIND_ENEMY) {
    maxHealth = health;
    transform.SetScale(1.0f, 1.0f, 1.0f);
    stateMachine = new GOStateMachine();
}

GOEnemy::~GOEnemy() {
    delete stateMachine;
    stateMachine = nullptr;
    delete patrolPath;
    patrolPath = nullptr;
    FreeComponents();
}

void GOEnemy::ClearBuild() {
    delete stateMachine;
    stateMachine = new GOStateMachine();
    delete patrolPath;
    patrolPath = nullptr;
    currentSegment = nullptr;
    boss = nullptr;
    ReleaseAttackHitbox();
    RemoveTrail();
    hitCooldown = 0.0f;
    vulnerable = true;
}

void GOEnemy::Setup(const Vector3& position, const Vector3& secondPoint, int kind) {
    ClearBuild();
    switch (kind) {
    case ENEMY_BASIC:
        SetupBasicEnemy(*this, position, secondPoint);
        break;
    case ENEMY_FLYING:
        SetupFlyingEnemy(*this, position);
        break;
    case ENEMY_BOSS_BODY:
    case ENEMY_BOSS_HEAD:
    case ENEMY_BOSS_LEFT_HAND:
    case ENEMY_BOSS_RIGHT_HAND:
        SetupBossPiece(*this, position, kind);
        break;
    default:
        SetActive(false);
        break;
    }
}

void GOEnemy::Update() {
    if (!HealthBarsHidden()) {
        DrawHealthBar();
    }
    TickHitCooldown();
    stateMachine->Update();
}

void GOEnemy::DrawHealthBar() const {
    if (enemyKind == ENEMY_BOSS_BODY) {
        DrawBossBar(health, maxHealth);
        return;
    }
    if (!DrawsLetterBar(enemyKind)) {
        return;
    }
    const Vector3 at = transform.GetPosition();
    const Vector3 scale = transform.GetScale();
    float y = at.y + std::fabs(scale.y) / 3.0f;
    if (enemyKind == ENEMY_BOSS_HEAD) {
        y += std::fabs(scale.y) / 6.0f;
    }
    const Vector3 barAt(at.x - std::fabs(scale.x) / 2.0f, y, kHealthBarDepth);
    const HealthBar bar = MeasureHealthBar(health, maxHealth, scale.x);
    TextRenderer& text = GetTextRenderer();
    if (health > 0 && bar.letters > 0) {
        text.DrawTextAtWorld(BarLetters(static_cast<size_t>(bar.letters)), barAt, kHealthBarScale, kHealthBarRed);
    }
    if (bar.filled > 0) {
        text.DrawTextAtWorld(BarLetters(static_cast<size_t>(bar.filled)), barAt, kHealthBarScale, kHealthBarGreen);
    }
}

void GOEnemy::TickHitCooldown() {
    if (vulnerable) {
        return;
    }
    hitCooldown -= GetDeltaTime();
    if (hitCooldown <= 0.0f) {
        vulnerable = true;
    }
}

void GOEnemy::TakeDamage(int amount) {
    if (!vulnerable) {
        return;
    }
    const int oldHealth = health;
    health -= amount;
    vulnerable = false;
    hitCooldown = kHitCooldown;
    if (PassesDamageToBoss(enemyKind)) {
        if (health > 0) {
            PassDamageToBoss(*this, amount);
        }
        return;
    }
    if (enemyKind == ENEMY_BASIC && oldHealth > 0) {
        Emitter burst = ParticleSystem::MakeEmitter(EMITTER_ENEMY_HIT);
        const Vector3 at = transform.GetPosition();
        burst.position.SetPosition(at.x, at.y, kHitBurstDepth);
        GetParticleSystem().AddEmitter(burst);
    }
}

GOHitbox* GOEnemy::TakeAttackHitbox(int hitboxKind) {
    // A held box that was switched off behind the enemy's back (leaving a level) is no longer its.
    if (attackHitbox != nullptr && (!attackHitbox->IsActive() || attackHitbox->owner != this)) {
        attackHitbox = nullptr;
    }
    if (attackHitbox == nullptr) {
        attackHitbox = GetScene().GetHitbox();
    }
    attackHitbox->Init(hitboxKind, this);
    attackHitbox->SetActive(true);
    return attackHitbox;
}

void GOEnemy::ReleaseAttackHitbox() {
    if (attackHitbox == nullptr) {
        return;
    }
    // A box the scene switched off (leaving a level) may already serve someone else.
    if (attackHitbox->IsActive() && attackHitbox->owner == this) {
        attackHitbox->SetActive(false);
    }
    attackHitbox = nullptr;
}

void GOEnemy::RemoveTrail() {
    if (emitterId == -1) {
        return;
    }
    GetParticleSystem().RemoveEmitter(emitterId);
    emitterId = -1;
}

const char* GOEnemy::GetStateName() const {
    return stateMachine != nullptr ? stateMachine->GetCurrentName() : "";
}
