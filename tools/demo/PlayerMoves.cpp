#include "PlayerMoves.h"

#include <GLFW/glfw3.h>

#include <cstdio>

#include "actors/GOEnemy.h"
#include "actors/GOMushroom.h"
#include "actors/Player.h"
#include "frontend/StateManager.h"
#include "physics/Rigidbody.h"
#include "scene/SceneManager.h"

namespace {

// The interactable type of an exit portal.

bool Passed(float x, float target, bool right) {
    return right ? x >= target : x <= target;
}

}  // namespace

bool PlayerMoves::WalkTo(float x, int limit) {
    const bool right = x > X();
    const int key = right ? GLFW_KEY_RIGHT : GLFW_KEY_LEFT;
    bot.Press(key);
    const bool reached = Until([&] { return Passed(X(), x, right); }, limit);
    bot.Release(key);
    Settle();
    return reached;
}

bool PlayerMoves::StandNear(float x) {
    for (int i = 0; i < 4 && std::fabs(X() - x) > 0.4f; ++i) {
        WalkTo(x);
    }
    return std::fabs(X() - x) <= 0.6f;
}

void PlayerMoves::Holding(int key, const std::function<void()>& body) {
    bot.Press(key);
    body();
    bot.Release(key);
}

bool PlayerMoves::Jump() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        bot.Press(GLFW_KEY_UP);
        bot.Frame();
        if (Body()->airborne && Body()->velocity.y > 5.0f) {
            Until([&] { return Body()->velocity.y < 0.5f; }, 120);
            bot.Release(GLFW_KEY_UP);
            return true;
        }
        bot.Release(GLFW_KEY_UP);
        bot.Frame();
    }
    return false;
}

bool PlayerMoves::RunningJump(float takeOff, float brakeAt, bool glide) {
    const bool right = takeOff > X();
    const int key = right ? GLFW_KEY_RIGHT : GLFW_KEY_LEFT;
    const int back = right ? GLFW_KEY_LEFT : GLFW_KEY_RIGHT;
    bot.Press(key);
    if (!Until([&] { return Passed(X(), takeOff, right); }, 600) || !Jump()) {
        bot.Release(key);
        Settle();
        return false;
    }
    if (glide) {
        bot.Press(GLFW_KEY_UP);
    }
    bool braking = false;
    const bool landed = Until(
        [&] {
            if (!braking && Passed(X(), brakeAt, right)) {
                braking = true;
                bot.Release(key);
                bot.Press(back);
            }
            if (braking && (right ? Body()->velocity.x <= 0.5f : Body()->velocity.x >= -0.5f)) {
                bot.Release(back);
            }
            return Landed();
        },
        400);
    bot.Release(key);
    bot.Release(back);
    bot.Release(GLFW_KEY_UP);
    Settle();
    return landed;
}

bool PlayerMoves::RideWind(float leaveY, int side, float brakeAt, int limit) {
    const bool right = side == GLFW_KEY_RIGHT;
    const int back = right ? GLFW_KEY_LEFT : GLFW_KEY_RIGHT;
    bot.Press(GLFW_KEY_UP);
    bot.Frame();
    bool steering = false;
    bool braking = false;
    const bool landed = Until(
        [&] {
            if (!steering && (Y() >= leaveY || (Body()->gliding && Body()->velocity.y < -1.0f))) {
                steering = true;
                bot.Press(side);
            }
            if (steering && !braking && !std::isnan(brakeAt) && Passed(X(), brakeAt, right)) {
                braking = true;
                bot.Release(side);
                bot.Press(back);
            }
            if (braking && std::fabs(Body()->velocity.x) <= 0.5f) {
                bot.Release(back);
            }
            return steering && Landed();
        },
        limit);
    bot.Release(GLFW_KEY_UP);
    bot.Release(side);
    bot.Release(back);
    Settle();
    return landed;
}

bool PlayerMoves::HopIntoWind(int side, float brakeAt) {
    const bool right = side == GLFW_KEY_RIGHT;
    const int back = right ? GLFW_KEY_LEFT : GLFW_KEY_RIGHT;
    bot.Press(side);
    bot.Press(GLFW_KEY_UP);
    const bool over = Until([&] { return Passed(X(), brakeAt, right); }, 120);
    bot.Release(side);
    bot.Press(back);
    Until([&] { return right ? Body()->velocity.x <= 0.0f : Body()->velocity.x >= 0.0f; }, 60);
    bot.Release(back);
    return over;
}

bool PlayerMoves::JumpAndGlide(const std::function<bool()>& done, int limit) {
    bot.Press(GLFW_KEY_UP);
    const bool ok = Until(done, limit);
    bot.Release(GLFW_KEY_UP);
    return ok;
}

bool PlayerMoves::FightThrough(float x, int limit) {
    for (int i = 0; i < limit; i += 30) {
        if (NearestWalker(3.0f) != nullptr) {
            FightNearbySpirits(3.0f, 300);
            continue;
        }
        const bool right = x > X();
        const int key = right ? GLFW_KEY_RIGHT : GLFW_KEY_LEFT;
        bot.Press(key);
        Until([&] { return Passed(X(), x, right) || NearestWalker(3.0f) != nullptr; }, 30);
        bot.Release(key);
        if (Passed(X(), x, right)) {
            Settle();
            return true;
        }
    }
    return false;
}

bool PlayerMoves::FightNearbySpirits(float range, int limit) {
    for (int i = 0; i < limit; i += 20) {
        const GOEnemy* foe = NearestWalker(range);
        if (foe == nullptr) {
            return true;
        }
        const bool faceRight = foe->GetTransform().GetPosition().x > X();
        bot.Tap(faceRight ? GLFW_KEY_RIGHT : GLFW_KEY_LEFT);
        bot.Tap(GLFW_KEY_Q);
        bot.Frames(18);
    }
    return NearestWalker(range) == nullptr;
}

bool PlayerMoves::UseExit(StateId next, int limit) {
    bot.Press(GLFW_KEY_E);
    const bool changed = Until([&] { return StateIdNow() == next; }, limit);
    bot.Release(GLFW_KEY_E);
    return changed;
}

bool PlayerMoves::WaitForControls(int limit) {
    return Until([&] { return !GetPlayer().inputLocked; }, limit);
}

bool PlayerMoves::Settle(int limit) {
    return Until([&] { return Landed() && std::fabs(Body()->velocity.x) < 0.2f; }, limit);
}

void PlayerMoves::ReleaseAll() {
    for (const int key : {GLFW_KEY_LEFT, GLFW_KEY_RIGHT, GLFW_KEY_UP, GLFW_KEY_SPACE, GLFW_KEY_Q, GLFW_KEY_E}) {
        bot.Release(key);
    }
    bot.Frame();
}

bool PlayerMoves::Until(const std::function<bool()>& condition, int limit) {
    const State* level = GetCurrentState();
    const auto interrupted = [&] { return GetCurrentState() != level || GetPlayer().state == PLAYER_DYING; };
    return bot.Until([&] { return condition() || interrupted(); }, limit) && condition();
}

bool PlayerMoves::Landed() const {
    return !Body()->airborne;
}

bool PlayerMoves::StandsOn(float groundY) const {
    return Landed() && std::fabs(Y() - groundY) < 0.1f;
}

const GOEnemy* PlayerMoves::NearestWalker(float range) const {
    const GOEnemy* nearest = nullptr;
    const Vector3 lirra = GetPlayer().GetTransform().GetPosition();
    for (const GOEnemy* enemy : GetScene().GetEnemyPool().GetObjects()) {
        if (!enemy->IsActive() || enemy->enemyKind != ENEMY_BASIC || enemy->health <= 0) {
            continue;
        }
        const Vector3 d = enemy->GetTransform().GetPosition() - lirra;
        if (std::fabs(d.x) < range && std::fabs(d.y) < 2.5f) {
            nearest = enemy;
        }
    }
    return nearest;
}

const GOMushroom* PlayerMoves::ActiveExit() const {
    for (const GOInteractable* object : GetScene().GetInteractablePool().GetObjects()) {
        if (object->IsActive() && object->interactableType == INTERACTABLE_PORTAL) {
            return dynamic_cast<const GOMushroom*>(object);
        }
    }
    return nullptr;
}

int PlayerMoves::CountActiveEnemies(int kind) const {
    int count = 0;
    for (const GOEnemy* enemy : GetScene().GetEnemyPool().GetObjects()) {
        if (enemy->IsActive() && enemy->enemyKind == kind) {
            ++count;
        }
    }
    return count;
}

Rigidbody* PlayerMoves::Body() const {
    return GetPlayer().GetComponent<Rigidbody>();
}

float PlayerMoves::X() const {
    return GetPlayer().GetTransform().GetPosition().x;
}

float PlayerMoves::Y() const {
    return GetPlayer().GetTransform().GetPosition().y;
}

int PlayerMoves::StateIdNow() const {
    const State* state = GetCurrentState();
    return state != nullptr ? state->GetId() : STATE_UNKNOWN;
}

bool PlayerMoves::Stuck(const char* step) const {
    const Player& lirra = GetPlayer();
    const Rigidbody* body = Body();
    std::printf(
        "lirra-demo: stuck at %s: frame %ld, Lirra at (%.2f, %.2f), velocity (%.2f, %.2f), %s, "
        "health %.1f, state %d%s\n",
        step, bot.FramesRun(), X(), Y(), body->velocity.x, body->velocity.y,
        body->airborne ? "in the air" : "on the ground", lirra.health, lirra.state,
        lirra.inputLocked ? ", controls locked" : "");
    return false;
}
