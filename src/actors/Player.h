#pragma once

#include <memory>
#include <vector>

#include "resources/TextureId.h"
#include "scene/GameObject.h"

class GOSoul;
class UIRenderer;

// What Lirra is doing; the numbers are shared with the transition screen, which sets Frozen.
enum PlayerState : int {
    PLAYER_IDLE = 0,
    PLAYER_RUN = 1,
    PLAYER_JUMP = 2,
    PLAYER_FALL = 3,
    PLAYER_GLIDE = 4,
    PLAYER_LIGHT_ATTACK = 5,
    PLAYER_HEAVY_ATTACK = 6,
    PLAYER_DAMAGED = 8,
    PLAYER_DYING = 9,
    PLAYER_FROZEN = 10,
};

enum PlayerAction : int {
    PLAYER_ACTION_NONE = 0,
    PLAYER_ACTION_MOVE_LEFT = 1,
    PLAYER_ACTION_MOVE_RIGHT = 2,
    PLAYER_ACTION_JUMP = 3,
    PLAYER_ACTION_START_GLIDE = 4,
    PLAYER_ACTION_STOP_GLIDE = 5,
};

// At or below this health Lirra is hurt: the vignette shows, a blow burns a fire soul to heal her
// and the souls she frees are all fire souls.
constexpr float kHurtHealth = 50.0f;

// The soul kinds as numbers, for the chain kept across levels.
constexpr int kSoulPurple = 1;
constexpr int kSoulFire = 2;
constexpr int kSoulGreen = 3;

// Lirra. Exactly one exists for the whole run; every level initialises her and sets her start.
// Her constructor must not reach the scene object manager: the scene is made after the player.
class Player : public GameObject {
public:
    Player();
    ~Player() override;

    void Init() override;
    void Update() override;
    void Render() override;
    // Lirra is outside the scene's lists: the flag is stored and nothing is queued.
    void SetActive(bool a) override { active = a; }

    void ApplyMovement(int action);
    // An enemy's attack box touched her.
    void TakeHit(bool hitFromRight);
    void Damage(int amount, bool hitFromRight);
    float GetHealth() const { return health; }
    // No cap: a soul's healing may leave her above full health.
    void AddHealth(float amount) { health += amount; }
    int GetAttackPower() const { return attackPower; }

    void RecalculateAttackPower();
    void RelinkSouls();
    void RestoreSouls();
    void ConsumeFireSoul();
    bool ConsumePurpleSoul();

    void SetInputLocked(bool locked);
    void SetJumpDisabled(bool disabled);

    GameObject* GetHealthHud() const { return healthHud.get(); }
    float GetHudAlpha() const;

    std::unique_ptr<GameObject> healthHud;  // Lirra's own, not one of the scene's pooled objects
    UIRenderer* healthHudRenderer = nullptr;
    float regenStartTime = 0.0f;
    float regenDelay = 5.0f;
    float regenRate = 10.0f;
    // Hides the whole-number health of other objects: Lirra's regenerates smoothly.
    float health = 100.0f;
    int attackPower = 40;
    float invulnerableTimer = 2.0f;
    bool invulnerable = false;
    bool lightAttackStarted = false;
    bool heavyAttackStarted = false;
    bool inputLocked = false;
    bool jumpDisabled = false;
    int state = PLAYER_IDLE;
    int facingRight = 1;
    std::vector<GOSoul*> souls;

private:
    void RegisterAnimations();
    void CreateHealthHud();
    // Switches clip only when it differs, and forgets a completion seen on the old clip.
    void PlayAnimation(TextureId clip);
    bool AnimationCompleted() const;
    void FaceLeft();
    void FaceRight();

    void UpdateDying();
    void UpdateDamaged();
    void ReadMovementKeys();
    void ReadJumpKeys();
    void ReadAttackKeys();
    void UpdateLightAttack();
    void UpdateHeavyAttack();
    void UpdateBlink();
    void UpdateRunningDust();
    void UpdateRegeneration();
    void UpdateHealthHud();
    // Makes Lirra the soul's target, sends it into her and takes it out of the chain.
    void SpendSoul(size_t index);
};

Player& GetPlayer();

// The kinds of the soul chain, front to back; kept across level changes and restarts.
extern std::vector<int> savedSoulKinds;
// The earliest time of Lirra's next running-dust puff.
extern float nextDustTime;
