#pragma once

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "actors/GOEnemy.h"
#include "actors/Player.h"
#include "app/Input.h"
#include "app/State.h"
#include "app/StateManager.h"
#include "app/Window.h"
#include "frontend/GameStateManager.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/ParticleSystem.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "math/MathUtil.h"
#include "actors/GOMushroom.h"
#include "physics/Rigidbody.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneManager.h"
#include "scene/SceneTesting.h"
#include "support/TestGame.h"

// A player of the forest levels: it reads Lirra's state every frame of the game's real loop and
// presses keys the way a person at the keyboard would. Set LIRRA_BOT_LOG to follow its runs.
class LevelBot : public testing::Test {
protected:
    void SetUp() override {
        StartTestGame();
        LoadGameAssets();
        EndTestStates();
        EmptyTheScene();
        GetParticleSystem().Clear();
        ResetInput();
        savedSoulKinds.clear();
        lirra.souls.clear();
        lirra.health = 100.0f;
        log = std::getenv("LIRRA_BOT_LOG") != nullptr;
        SeedRandom(7);
        std::srand(7);
    }
    void TearDown() override {
        ReleaseAll();
        EndTestStates();
        EmptyTheScene();
        ResetInput();
        savedSoulKinds.clear();
        lirra.souls.clear();
        lirra.SetActive(false);
    }

    void Start(State* level) {
        SetState(level);
        Frames(1);
    }

    // One iteration of the game's loop; a focus change of the shared display must not pause it.
    void Frame() {
        GetGameStateManager().SwitchTo(1);
        RunFrames(1);
        ++frame;
        if (log && frame % 15 == 0) {
            const Rigidbody* body = Body();
            std::printf("[bot] %5d %-8s x=%7.2f y=%7.2f vx=%6.2f vy=%7.2f air=%d glide=%d hp=%5.1f locked=%d\n", frame,
                        GetCurrentState() ? GetCurrentState()->GetName() : "-", X(), Y(), body->velocity.x,
                        body->velocity.y, body->airborne, body->gliding, lirra.health, lirra.inputLocked);
        }
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            Frame();
        }
    }
    // Runs until the condition holds; false when it did not within `limit` frames.
    bool Until(const std::function<bool()>& condition, int limit = 1200) {
        for (int i = 0; i < limit; ++i) {
            if (condition()) {
                return true;
            }
            Frame();
        }
        return condition();
    }

    void Press(int key) { KeyCallback(GetWindow(), key, 0, GLFW_PRESS, 0); }
    void Release(int key) { KeyCallback(GetWindow(), key, 0, GLFW_RELEASE, 0); }
    void Tap(int key) {
        Press(key);
        Frame();
        Release(key);
    }
    void ReleaseAll() {
        for (const int key : {GLFW_KEY_LEFT, GLFW_KEY_RIGHT, GLFW_KEY_UP, GLFW_KEY_SPACE, GLFW_KEY_Q, GLFW_KEY_E}) {
            Release(key);
        }
        Frame();
    }

    // Walks (holding the arrow) until Lirra's x passes `x`, then lets go and lets her stop.
    bool WalkTo(float x, int limit = 900) {
        const int key = x > X() ? GLFW_KEY_RIGHT : GLFW_KEY_LEFT;
        const bool right = key == GLFW_KEY_RIGHT;
        Press(key);
        const bool reached = Until([&] { return right ? X() >= x : X() <= x; }, limit);
        Release(key);
        Settle();
        return reached;
    }
    // Holds a direction while running `body` (a jump, a glide ...).
    void Holding(int key, const std::function<void()>& body) {
        Press(key);
        body();
        Release(key);
    }
    // Jumps with Up and keeps it held until she falls, so the jump is full but no glide starts.
    // A press that does not lift her (she was stumbling from a hit) is tried again.
    bool Jump() {
        for (int attempt = 0; attempt < 20; ++attempt) {
            Press(GLFW_KEY_UP);
            Frame();
            if (Body()->airborne && Body()->velocity.y > 5.0f) {
                Until([&] { return Body()->velocity.y < 0.5f; }, 120);
                Release(GLFW_KEY_UP);
                return true;
            }
            Release(GLFW_KEY_UP);
            Frame();
        }
        return false;
    }
    // Runs towards `takeOff` (rightwards when it lies right of her), jumps there and, once she
    // is over `brakeAt`, pulls back on the other arrow the way a player checks a long jump.
    bool RunningJump(float takeOff, float brakeAt, bool glide = false) {
        const bool right = takeOff > X();
        const int key = right ? GLFW_KEY_RIGHT : GLFW_KEY_LEFT;
        const int back = right ? GLFW_KEY_LEFT : GLFW_KEY_RIGHT;
        Press(key);
        if (!Until([&] { return right ? X() >= takeOff : X() <= takeOff; }, 600) || !Jump()) {
            Release(key);
            return false;
        }
        if (glide) {
            Press(GLFW_KEY_UP);
        }
        bool braking = false;
        const bool landed = Until([&] {
            if (!braking && (right ? X() >= brakeAt : X() <= brakeAt)) {
                braking = true;
                Release(key);
                Press(back);
            }
            if (braking && (right ? Body()->velocity.x <= 0.5f : Body()->velocity.x >= -0.5f)) {
                Release(back);
            }
            return Landed();
        }, 400);
        Release(key);
        Release(back);
        Release(GLFW_KEY_UP);
        Settle();
        return landed;
    }
    // Walks until she stands within a short step of `x`.
    bool StandNear(float x) {
        for (int i = 0; i < 4 && std::fabs(X() - x) > 0.4f; ++i) {
            WalkTo(x);
        }
        return std::fabs(X() - x) <= 0.6f;
    }
    // Jumps into an updraft and glides up it; once she is above `leaveY` (or the lift is spent)
    // she steers towards `side` (an arrow key) until she lands.
    // With `brakeAt` she pulls back once past that x, so she stops on a narrow ledge.
    bool RideWind(float leaveY, int side, float brakeAt = NAN, int limit = 900) {
        const bool right = side == GLFW_KEY_RIGHT;
        const int back = right ? GLFW_KEY_LEFT : GLFW_KEY_RIGHT;
        Press(GLFW_KEY_UP);
        Frame();
        bool steering = false;
        bool braking = false;
        const bool landed = Until([&] {
            if (!steering && (Y() >= leaveY || (Body()->gliding && Body()->velocity.y < -1.0f))) {
                steering = true;
                Press(side);
            }
            if (steering && !braking && !std::isnan(brakeAt) && (right ? X() >= brakeAt : X() <= brakeAt)) {
                braking = true;
                Release(side);
                Press(back);
            }
            if (braking && std::fabs(Body()->velocity.x) <= 0.5f) {
                Release(back);
            }
            return steering && Landed();
        }, limit);
        Release(GLFW_KEY_UP);
        Release(side);
        Release(back);
        Settle();
        return landed;
    }
    // Walks towards `x`, striking every walking spirit that comes within reach on the way.
    bool FightThrough(float x, int limit = 1800) {
        for (int i = 0; i < limit; i += 30) {
            if (NearestWalker(3.0f) != nullptr) {
                FightNearbySpirits(3.0f, 300);
                continue;
            }
            const bool right = x > X();
            const int key = right ? GLFW_KEY_RIGHT : GLFW_KEY_LEFT;
            Press(key);
            Until([&] { return (right ? X() >= x : X() <= x) || NearestWalker(3.0f) != nullptr; }, 30);
            Release(key);
            if (right ? X() >= x : X() <= x) {
                Settle();
                return true;
            }
        }
        return false;
    }
    // The level's exit portal, if one is active.
    const GOMushroom* ActiveExit() const {
        for (const GOInteractable* object : GetScene().GetInteractablePool().GetObjects()) {
            if (object->IsActive() && object->interactableType == 2) {
                return dynamic_cast<const GOMushroom*>(object);
            }
        }
        return nullptr;
    }
    // Jumps and glides: Up held through the whole flight until `done`.
    bool JumpAndGlide(const std::function<bool()>& done, int limit = 900) {
        Press(GLFW_KEY_UP);
        const bool ok = Until(done, limit);
        Release(GLFW_KEY_UP);
        return ok;
    }
    bool Landed() const { return !Body()->airborne; }
    // Waits until Lirra stands still on the ground.
    bool Settle(int limit = 300) {
        return Until([&] { return Landed() && std::fabs(Body()->velocity.x) < 0.2f; }, limit);
    }
    // Strikes until no walking spirit is left near Lirra.
    bool FightNearbySpirits(float range, int limit = 900) {
        for (int i = 0; i < limit; i += 20) {
            const GOEnemy* foe = NearestWalker(range);
            if (foe == nullptr) {
                return true;
            }
            const bool faceRight = foe->GetTransform().GetPosition().x > X();
            Tap(faceRight ? GLFW_KEY_RIGHT : GLFW_KEY_LEFT);
            Tap(GLFW_KEY_Q);
            Frames(18);
        }
        return NearestWalker(range) == nullptr;
    }
    const GOEnemy* NearestWalker(float range) const {
        const GOEnemy* nearest = nullptr;
        for (const GOEnemy* enemy : GetScene().GetEnemyPool().GetObjects()) {
            if (!enemy->IsActive() || enemy->enemyKind != ENEMY_BASIC || enemy->health <= 0) {
                continue;
            }
            const Vector3 d = enemy->GetTransform().GetPosition() - lirra.GetTransform().GetPosition();
            if (std::fabs(d.x) < range && std::fabs(d.y) < 2.5f) {
                nearest = enemy;
            }
        }
        return nearest;
    }
    int CountActiveEnemies(int kind) const {
        int count = 0;
        for (const GOEnemy* enemy : GetScene().GetEnemyPool().GetObjects()) {
            if (enemy->IsActive() && enemy->enemyKind == kind) {
                ++count;
            }
        }
        return count;
    }
    // Holds E at the mushroom until the level hands over to the next state.
    bool UseExit(StateId next, int limit = 600) {
        Press(GLFW_KEY_E);
        const bool changed = Until([&] { return GetCurrentState() && GetCurrentState()->GetId() == next; }, limit);
        Release(GLFW_KEY_E);
        return changed;
    }
    bool WaitForControls(int limit = 1500) {
        return Until([&] { return !lirra.inputLocked; }, limit);
    }

    Rigidbody* Body() const { return lirra.GetComponent<Rigidbody>(); }
    float X() const { return lirra.GetTransform().GetPosition().x; }
    float Y() const { return lirra.GetTransform().GetPosition().y; }
    int   StateIdNow() const { return GetCurrentState() ? GetCurrentState()->GetId() : 0; }

    Player& lirra = GetPlayer();
    int     frame = 0;
    bool    log = false;
};
