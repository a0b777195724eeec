#include "actors/GOHitbox.h"

#include <cmath>

#include "actors/GOEnemy.h"
#include "actors/Player.h"
#include "audio/Audio.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Renderer.h"
#include "math/MathUtil.h"
#include "physics/Collider.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneManager.h"

namespace {

// Lirra's global animation frames at which her attacks strike.
constexpr int kLightFirstStrikeFrame = 15;
constexpr int kLightSecondStrikeFrame = 16;
constexpr int kHeavyStrikeFrame = 21;
constexpr int kHeavyEndFrame = 22;
constexpr float kReach = 0.8f;
constexpr float kStrikeDrop = -0.5f;
// The second light strike swings back behind her.
constexpr float kBackSwing = -0.4f;
constexpr float kAttackVolume = 0.1f;
// Each strike's sound is pitched at random between its lowest pitch and 1.
constexpr float kLightLowestPitch = 0.8f;
constexpr float kHeavyLowestPitch = 0.9f;
// The striking boxes, in world units: the heavy strike reaches higher.
constexpr float kLightBoxWidth = 1.0f;
constexpr float kLightBoxHeight = 1.5f;
constexpr float kHeavyBoxWidth = 1.0f;
constexpr float kHeavyBoxHeight = 2.0f;

// One voice per attack sound for the whole program, so a strike does not stack on itself.
AudioChannel lightAttackChannel;
AudioChannel heavyAttackChannel;

// The pitch is drawn on every strike: whether the last voice still sounds depends on the sound
// device's clock, and the game's random stream must not, or replays would drift apart.
void PlayAttackSound(AudioChannel& channel, AUDIO_DIR sound, float lowestPitch) {
    const float pitch = RandomFloat(lowestPitch, 1.0f);
    if (channel.IsPlaying()) {
        return;
    }
    channel = PlayAudio(sound, kAttackVolume, false, pitch);
}

int LirraFrame() {
    const AnimationRenderer* animation = GetPlayer().GetComponent<AnimationRenderer>();
    return animation != nullptr ? animation->GetFrame() : -1;
}

TextureId LirraAnimation() {
    const AnimationRenderer* animation = GetPlayer().GetComponent<AnimationRenderer>();
    return animation != nullptr ? animation->GetClip() : AnimationRenderer::kNoClip;
}

}  // namespace

GOHitbox::GOHitbox() : GameObject(KIND_HITBOX) {
    AddComponent<Collider>();
    // Without a mesh it draws nothing.
    AddComponent<Renderer>();
}

void GOHitbox::Init(int kind, GOEnemy* owner_) {
    GetComponent<Collider>()->box.offset = Vector3(0.0f, 0.0f, 0.0f);
    hitboxKind = kind;
    owner = owner_;
    reachedCount = 0;
    if (owner == nullptr) {
        return;
    }
    const Vector3 s = owner->GetTransform().GetScale();
    switch (owner->enemyKind) {
    case 0:
        offsetX = offsetY = 0.25f;
        transform.SetScale(s.x * 0.3f, s.y * 0.3f, s.z);
        break;
    case 1:
        offsetX = offsetY = 0.0f;
        transform.SetScale(std::fabs(s.x * 0.3f), std::fabs(s.y * 0.3f), s.z);
        break;
    case 4:
    case 5:
        offsetX = offsetY = 0.0f;
        transform.SetScale(std::fabs(s.x), std::fabs(s.y), 1.0f);
        break;
    default:
        break;
    }
}

void GOHitbox::Update() {
    switch (hitboxKind) {
    case HITBOX_LIGHT_ATTACK:
        UpdateLightAttack();
        break;
    case HITBOX_HEAVY_ATTACK:
        UpdateHeavyAttack();
        break;
    case HITBOX_ENEMY_MELEE:
        UpdateEnemyMelee();
        break;
    case HITBOX_FLYING_CONTACT:
    case HITBOX_BOSS_HAND:
        FollowOwner();
        break;
    default:
        break;
    }
}

bool GOHitbox::FirstReach(const GOEnemy* enemy) {
    for (int i = 0; i < reachedCount; ++i) {
        if (reached[i] == enemy) {
            return false;
        }
    }
    // More enemies in one blow than the list holds: the rest shake nothing.
    if (reachedCount == kMaxReached) {
        return false;
    }
    reached[reachedCount++] = enemy;
    return true;
}

void GOHitbox::StrikeHere() {
    GetComponent<Collider>()->Update();
    HitCheck(this);
}

// Two strikes: ahead of her on the third frame, then a back-swing behind her on the fourth.
void GOHitbox::UpdateLightAttack() {
    const Player& lirra = GetPlayer();
    transform.SetScale(1.0f, 2.0f, 1.0f);
    offsetX = kReach;
    offsetY = kStrikeDrop;
    if (lirra.state != PLAYER_LIGHT_ATTACK) {
        SetActive(false);
        return;
    }
    offsetX = lirra.facingRight == 1 ? kReach : -kReach;
    const Vector3 at = lirra.GetTransform().GetPosition();
    const int frame = LirraFrame();
    if (frame == kLightFirstStrikeFrame) {
        transform.SetPosition(at.x + offsetX, at.y + kStrikeDrop, at.z);
        transform.SetScale(kLightBoxWidth, kLightBoxHeight, 1.0f);
        StrikeHere();
        PlayAttackSound(lightAttackChannel, LIRRA_ATTACK_LIGHT, kLightLowestPitch);
    } else if (frame == kLightSecondStrikeFrame) {
        transform.SetPosition(at.x + kBackSwing * offsetX, at.y + kStrikeDrop, at.z);
        transform.SetScale(kLightBoxWidth, kLightBoxHeight, 1.0f);
        StrikeHere();
    } else {
        transform.SetPosition(at);
        transform.SetScale(0.0f, 0.0f, 0.0f);
    }
    if (LirraAnimation() != TextureId::LirraAttack) {
        transform.SetScale(0.0f, 0.0f, 0.0f);
        SetActive(false);
    }
}

void GOHitbox::UpdateHeavyAttack() {
    const Player& lirra = GetPlayer();
    transform.SetScale(0.0f, 0.0f, 0.0f);
    offsetX = kReach;
    offsetY = kStrikeDrop;
    if (lirra.state != PLAYER_HEAVY_ATTACK) {
        SetActive(false);
        return;
    }
    offsetX = lirra.facingRight == 1 ? kReach : -kReach;
    const int frame = LirraFrame();
    if (frame == kHeavyStrikeFrame) {
        const Vector3 at = lirra.GetTransform().GetPosition();
        transform.SetPosition(at.x + offsetX, at.y + kStrikeDrop, at.z);
        transform.SetScale(kHeavyBoxWidth, kHeavyBoxHeight, 1.0f);
        StrikeHere();
        PlayAttackSound(heavyAttackChannel, LIRRA_ATTACK_HEAVY, kHeavyLowestPitch);
    }
    if (frame >= kHeavyEndFrame || LirraAnimation() != TextureId::LirraCollectSoul) {
        transform.SetScale(0.0f, 0.0f, 0.0f);
        SetActive(false);
    }
}

// The enemy's three attack frames: a jab, the full swing, then the follow-through low down.
void GOHitbox::UpdateEnemyMelee() {
    if (owner == nullptr || !active) {
        return;
    }
    const AnimationRenderer* animation = owner->GetComponent<AnimationRenderer>();
    const int frame = animation != nullptr ? animation->GetFrame() : 0;
    if (frame <= 8) {
        transform.SetScale(0.5f, 0.25f, 0.0f);
        offsetX = 0.2f;
        offsetY = 0.15f;
    } else if (frame == 9) {
        transform.SetScale(0.925f, 0.8f, 0.0f);
        offsetX = 0.5f;
        offsetY = -0.15f;
    } else {
        transform.SetScale(0.5f, 1.0f, 0.0f);
        offsetX = 0.5f;
        offsetY = -0.45f;
    }
    if (owner->direction.x < 0.0f) {
        offsetX = -offsetX;
    }
    const Vector3 at = owner->GetTransform().GetPosition();
    transform.SetPosition(at.x + offsetX, at.y + offsetY, at.z);
    StrikeHere();
}

void GOHitbox::FollowOwner() {
    if (owner == nullptr) {
        return;
    }
    transform.SetPosition(owner->GetTransform().GetPosition());
    StrikeHere();
}
