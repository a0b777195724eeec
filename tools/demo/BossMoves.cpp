#include "BossMoves.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "actors/BasicEnemyStates.h"
#include "actors/Boss.h"
#include "actors/BossHands.h"
#include "actors/GOEnemy.h"
#include "actors/GOStateMachine.h"
#include "actors/Player.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Camera.h"
#include "physics/Rigidbody.h"

namespace {

// Lirra's body (the same constants her movement uses).
constexpr float kRunSpeed = 10.0f;
constexpr float kReverseKeep = 2.5f;
constexpr float kJumpSpeed = 1.5f * 9.81f;
constexpr float kGravity = -22.0725f;
constexpr float kStandingPress = -9.81f;
constexpr float kGlideFallDamping = 0.9f;
constexpr float kRiseDamping = 0.99f;
constexpr float kGroundFriction = 0.87f;
// Her box: 0.9 x 1.5, its centre 0.7 below hers.
constexpr float kHalfWidth = 0.45f;
constexpr float kHalfHeight = 0.75f;
constexpr float kBoxDrop = 0.7f;
constexpr float kFeet = kBoxDrop + kHalfHeight;
constexpr float kHead = kHalfHeight - kBoxDrop;

// The arena: the floor's top, the two low platforms, the side walls.
constexpr float kFloorTop = -18.5f;
constexpr float kPlatformTop = -14.5f;
constexpr float kPlatformBottom = -15.1f;
const float kPlatformSpans[2][2] = {{-7.5f, -3.5f}, {3.5f, 7.5f}};

// The hands' hitboxes: 0.7 of a 4-unit hand, a slam's box below it, a sweep's ahead of it.
constexpr float kHandBoxHalf = 1.4f;
constexpr float kSlamBoxDrop = -1.5f;
constexpr float kSweepBoxLead = 1.5f;
// The hand's own solid box sits 0.5 below its centre.
constexpr float kHandBodyDrop = -0.5f;
constexpr float kHandBodyTop = kHandBodyDrop + 1.4f;
constexpr float kRestWait = 4.0f;
constexpr float kSpiritBoxHalf = 0.3f;
constexpr float kSpiritFadeRate = 3.0f;
constexpr float kSpiritTurnGain = 4.0f;
constexpr float kSpiritMaxTurn = 60.0f;

bool OverPlatform(float x, int platform) {
    return x + kHalfWidth > kPlatformSpans[platform][0] && x - kHalfWidth < kPlatformSpans[platform][1];
}

bool Supported(const LirraBody& body) {
    const float feet = body.position.y - kFeet;
    if (std::fabs(feet - kFloorTop) < 0.05f) {
        return true;
    }
    for (int platform = 0; platform < 2; ++platform) {
        if (OverPlatform(body.position.x, platform) && std::fabs(feet - kPlatformTop) < 0.05f) {
            return true;
        }
    }
    return false;
}

void Land(LirraBody& body, float top) {
    body.position.y = top + kFeet;
    body.velocity.y = kGravity;
    body.airborne = false;
    body.gliding = false;
}

void Collide(LirraBody& body, float previousY) {
    Vector3& p = body.position;
    if (p.x > kArenaWallX) {
        p.x = kArenaWallX;
        body.velocity.x = 0.0f;
    } else if (p.x < -kArenaWallX) {
        p.x = -kArenaWallX;
        body.velocity.x = 0.0f;
    }
    const float feet = p.y - kFeet;
    const float previousFeet = previousY - kFeet;
    const float head = p.y + kHead;
    const float previousHead = previousY + kHead;
    for (int platform = 0; platform < 2; ++platform) {
        if (!OverPlatform(p.x, platform)) {
            continue;
        }
        if (previousFeet >= kPlatformTop - 0.05f && feet < kPlatformTop) {
            Land(body, kPlatformTop);
            return;
        }
        if (previousHead <= kPlatformBottom + 0.05f && head > kPlatformBottom) {
            p.y = kPlatformBottom - kHead;
            body.velocity.y = 0.0f;
        }
    }
    if (p.y - kFeet < kFloorTop) {
        Land(body, kFloorTop);
        return;
    }
    if (!body.airborne && !Supported(body)) {
        body.airborne = true;
    }
}

Vector3 Normalised(const Vector3& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0.0f ? v * (1.0f / length) : v;
}

bool StateIs(const GOEnemy& enemy, const char* stem) {
    return std::strncmp(enemy.stateMachine->GetCurrentName(), stem, std::strlen(stem)) == 0;
}

}  // namespace

LirraBody ReadLirraBody() {
    const Player& lirra = GetPlayer();
    const Rigidbody* rigidbody = lirra.GetComponent<Rigidbody>();
    LirraBody body;
    body.position = lirra.GetTransform().GetPosition();
    if (rigidbody != nullptr) {
        body.velocity = rigidbody->velocity;
        body.airborne = rigidbody->airborne;
        body.moving = rigidbody->moving;
        body.gliding = rigidbody->gliding;
    }
    return body;
}

void StepLirra(LirraBody& body, const FrameKeys& keys, float dt) {
    Vector3& v = body.velocity;
    if (!keys.runLocked && keys.run != 0) {
        body.moving = true;
        if (keys.run < 0 && v.x > -kRunSpeed) {
            v.x = std::min(v.x, kReverseKeep) - kRunSpeed * dt;
        } else if (keys.run > 0 && v.x < kRunSpeed) {
            v.x = std::max(v.x, -kReverseKeep) + kRunSpeed * dt;
        }
    }
    if (keys.runReleased) {
        body.moving = false;
    }
    if (keys.jumpPressed && !body.airborne) {
        v.y = kJumpSpeed;
        body.airborne = true;
    }
    if (body.airborne && keys.jumpHeld && v.y < 0.0f) {
        body.gliding = true;
    }
    if (!keys.jumpHeld) {
        body.gliding = false;
    }
    if (body.airborne) {
        v.y += kGravity * dt;
    } else {
        v.y = kStandingPress * dt;
    }
    if (body.gliding) {
        if (v.y < 0.0f) {
            v.y *= kGlideFallDamping;
        }
    } else if (v.y > 0.0f) {
        v.y *= kRiseDamping;
    }
    if (!body.moving && !body.airborne) {
        v.x *= kGroundFriction;
    }
    const float previousY = body.position.y;
    body.position.x += v.x * dt;
    body.position.y += v.y * dt;
    Collide(body, previousY);
}

bool LirraTouches(const LirraBody& body, const HarmBox& box, float margin) {
    const float centreY = body.position.y - kBoxDrop;
    return std::fabs(body.position.x - box.x) <= kHalfWidth + box.halfWidth + margin &&
           std::fabs(centreY - box.y) <= kHalfHeight + box.halfHeight + margin;
}

HandForecast::HandForecast(const HandController& controller) : side(controller.side) {
    const GOEnemy& hand = *controller.hand;
    position = hand.GetTransform().GetPosition();
    target = controller.targetPoint;
    speed = hand.localTimeScale;
    wait = controller.waitTimer;
    sweepHeading = hand.direction.x;
    if (!hand.IsActive()) {
        phase = Quiet;
    } else if (StateIs(hand, "SLAM")) {
        phase = wait > 0.0f ? SlamWindUp : Slam;
    } else if (StateIs(hand, "SWEEP")) {
        phase = wait > 0.0f ? SweepWindUp : Sweep;
    }
}

Vector3 HandForecast::SweepTarget() const {
    float x = target.x;
    if (side == HAND_LEFT) {
        x = std::max(std::min(x, 1.0f), -14.0f);
    } else {
        x = std::max(std::min(x, 14.0f), -1.0f);
    }
    return Vector3(x, kHandFloorY, target.z);
}

bool HandForecast::Step(const LirraBody& lirra, float dt, HarmBox& box) {
    box.halfWidth = box.halfHeight = kHandBoxHalf;
    switch (phase) {
    case SlamWindUp:
        target = lirra.position;
        wait -= dt;
        if (wait <= 0.0f) {
            phase = Slam;
        }
        return false;
    case Slam: {
        const Vector3 direction = Normalised(SweepTarget() - position);
        speed += dt / 3.0f;
        position = position + direction * speed;
        box.x = position.x;
        if (position.y <= kHandFloorY) {
            position.y = kHandFloorY;
            phase = SweepWindUp;
            wait = kRestWait - dt;
            speed = 0.3f;
        }
        // The hitbox below it and the solid hand itself, which shoves her aside as it passes.
        box.y = position.y + (kSlamBoxDrop + kHandBodyTop) / 2.0f;
        box.halfHeight = kHandBoxHalf + (kHandBodyTop - kSlamBoxDrop) / 2.0f;
        return true;
    }
    case SweepWindUp:
        target = lirra.position;
        sweepHeading = SweepTarget().x - position.x;
        wait -= dt;
        if (wait <= 0.0f) {
            phase = Sweep;
        }
        return false;
    case Sweep: {
        const float heading = sweepHeading < 0.0f ? -1.0f : 1.0f;
        speed += dt / 3.0f;
        position.x += heading * speed;
        box.x = position.x + heading * kSweepBoxLead / 2.0f;
        box.halfWidth = kHandBoxHalf + kSweepBoxLead / 2.0f;
        box.y = position.y + kHandBodyDrop / 2.0f;
        box.halfHeight = kHandBoxHalf - kHandBodyDrop / 2.0f;
        if (position.x < -kHandSweepLimit || position.x > kHandSweepLimit) {
            phase = Quiet;
        }
        return true;
    }
    case Quiet:
    default:
        return false;
    }
}

SpiritForecast::SpiritForecast(const GOEnemy& spirit) {
    position = spirit.GetTransform().GetPosition();
    direction = spirit.direction;
    speed = spirit.localTimeScale;
    fadingIn = StateIs(spirit, "SPAWN");
}

void SpiritForecast::Step(const LirraBody& lirra, float dt, HarmBox& box) {
    box.halfWidth = box.halfHeight = kSpiritBoxHalf;
    if (fadingIn) {
        fade += kSpiritFadeRate * dt;
        fadingIn = fade < 1.0f;
    } else {
        Vector3 toLirra = lirra.position - position;
        toLirra.z = 0.0f;
        const float length = toLirra.Length();
        if (length > 0.0f) {
            const Vector3 aim = toLirra * (1.0f / length);
            const float cosine = std::max(-1.0f, std::min(1.0f, direction.x * aim.x + direction.y * aim.y));
            const float angle = std::acos(cosine) * 180.0f / 3.14159265f;
            float rate = std::min(kSpiritTurnGain * angle, kSpiritMaxTurn);
            if (direction.x * aim.y - direction.y * aim.x < 0.0f) {
                rate = -rate;
            }
            const float radians = rate * dt * 3.14159265f / 180.0f;
            const float c = std::cos(radians);
            const float s = std::sin(radians);
            direction = Normalised(Vector3(direction.x * c - direction.y * s, direction.x * s + direction.y * c, 0.0f));
        }
        position.x += direction.x * speed * dt;
        position.y += direction.y * speed * dt;
    }
    box.x = position.x;
    box.y = position.y;
}

namespace {

constexpr float kWalkerChaseSpeed = 2.0f;
constexpr float kWalkerPatrolSpeed = 1.0f;
constexpr float kWalkerSight = 4.0f;
constexpr float kWalkerStrikeRange = 1.5f;
constexpr float kWalkerStun = 0.3f;
constexpr float kWalkerTurnDeadZone = 0.2f;
// Its swing comes on the second frame of its attack, a fifth of a second in.
constexpr int kWalkerSwingFrames = 12;
constexpr float kWalkerFrameTime = 0.2f;
// The attack clip's first frame (after four of idling and four of running) is the jab.
constexpr int kWalkerJabFrame = 8;
constexpr float kWalkerJabReach = 0.45f;
constexpr float kWalkerSwingReach = 0.96f;
constexpr float kWalkerBoxHalfWidth = 0.3f;
constexpr float kStrikeHalf = 0.5f;

}  // namespace

WalkerForecast::WalkerForecast(const GOEnemy& walker) {
    const Vector3 at = walker.GetTransform().GetPosition();
    x = at.x;
    y = at.y;
    heading = walker.direction.x < 0.0f ? -1.0f : 1.0f;
    health = walker.health;
    chasing = StateIs(walker, "ATTACK");
    steady = walker.vulnerable;
    stunned = walker.vulnerable ? 0.0f : walker.hitCooldown;
    // Its attack clip shows the jab first; the swing follows when that frame's time is up.
    swingIn = kWalkerSwingFrames;
    const AnimationRenderer* animation = walker.GetComponent<AnimationRenderer>();
    if (animation != nullptr && animation->GetClip() == TextureId::VozarovuAttack) {
        inReach = true;
        swingIn = animation->GetFrame() > kWalkerJabFrame
                      ? 0
                      : static_cast<int>(std::ceil((kWalkerFrameTime - animation->GetTimer()) * 60.0f));
    }
}

bool WalkerForecast::Step(const LirraBody& lirra, const Strike& strike, float dt, HarmBox& box) {
    if (health <= 0) {
        return false;
    }
    if (strike.now && steady && std::fabs(x - strike.x) <= kStrikeHalf + kWalkerBoxHalfWidth) {
        health -= strike.power;
        steady = false;
        stunned = kWalkerStun;
        inReach = false;
        swingIn = kWalkerSwingFrames;
        return false;
    }
    if (!steady) {
        stunned -= dt;
        steady = stunned <= 0.0f;
        return false;
    }
    const float dx = lirra.position.x - x;
    const float dy = lirra.position.y - y;
    const float distance = std::sqrt(dx * dx + dy * dy);
    if (!chasing && dx * heading > 0.0f && distance < kWalkerSight) {
        chasing = true;
    }
    if (chasing && distance >= kWalkerSight) {
        chasing = false;
    }
    if (chasing && std::fabs(dx) > kWalkerTurnDeadZone) {
        heading = dx > 0.0f ? 1.0f : -1.0f;
    }
    const bool reaching = chasing && distance < kWalkerStrikeRange && dx * heading > 0.0f;
    if (!reaching) {
        swingIn = kWalkerSwingFrames;
    } else if (inReach && swingIn > 0) {
        --swingIn;
    }
    inReach = reaching;
    const float step = (chasing ? kWalkerChaseSpeed : kWalkerPatrolSpeed) * dt * heading;
    const bool blocked = std::fabs(lirra.position.x - (x + step)) < 0.75f && std::fabs(dy) < 1.6f;
    if (!blocked) {
        x = std::max(-10.0f, std::min(10.0f, x + step));
    }
    if (!inReach) {
        return false;
    }
    const float reach = swingIn <= 0 ? kWalkerSwingReach : kWalkerJabReach;
    box.x = x + heading * (reach - 0.05f) / 2.0f;
    box.halfWidth = (reach + 0.05f) / 2.0f;
    box.y = -17.8375f + (y + 17.5f);
    box.halfHeight = 0.6125f;
    return true;
}

Threats ReadThreats() {
    Threats threats;
    const Boss& boss = GetBoss();
    for (const HandController* controller : {&boss.leftHand, &boss.rightHand}) {
        if (controller->hand != nullptr) {
            threats.hands.emplace_back(*controller);
        }
    }
    if (boss.enemies != nullptr) {
        for (const GOEnemy* enemy : *boss.enemies) {
            if (enemy->IsActive() && enemy->enemyKind == ENEMY_FLYING && !StateIs(*enemy, "DEAD")) {
                threats.spirits.emplace_back(*enemy);
            }
            if (enemy->IsActive() && enemy->enemyKind == ENEMY_BASIC && enemy->health > 0 && !StateIs(*enemy, "DEAD")) {
                threats.walkers.emplace_back(*enemy);
            }
        }
    }
    return threats;
}

void HeldKeys::Run(int direction) {
    run = direction;
}

void HeldKeys::JumpKey(bool down) {
    jump = down;
}

void HeldKeys::TapAttack(int key) {
    tappedKey = key;
}

void HeldKeys::Set(int key, bool down, bool& held) {
    if (down == held) {
        return;
    }
    held = down;
    if (down) {
        bot.Press(key);
    } else {
        bot.Release(key);
    }
}

void HeldKeys::Frame() {
    const bool wasLeft = left;
    const bool wasRight = right;
    Set(GLFW_KEY_LEFT, run < 0, left);
    Set(GLFW_KEY_RIGHT, run > 0, right);
    runReleased = (wasLeft && !left) || (wasRight && !right);
    Set(GLFW_KEY_SPACE, jump, jumpSent);
    if (heldTap != 0) {
        bot.Release(heldTap);
        heldTap = 0;
    }
    if (tappedKey != 0) {
        bot.Press(tappedKey);
        heldTap = tappedKey;
        tappedKey = 0;
    }
    bot.Frame();
}

void HeldKeys::ReleaseAll() {
    run = 0;
    jump = false;
    Frame();
}
