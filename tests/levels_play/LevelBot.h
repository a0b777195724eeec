#pragma once

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "PlayerMoves.h"
#include "actors/GOEnemy.h"
#include "actors/GOMushroom.h"
#include "actors/Player.h"
#include "frontend/GameStateManager.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/ParticleSystem.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "math/MathUtil.h"
#include "physics/Rigidbody.h"
#include "platform/Input.h"
#include "platform/Window.h"
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
        ResetTestGame();
        log = std::getenv("LIRRA_BOT_LOG") != nullptr;
        SeedRandom(7);
        std::srand(7);
    }
    void TearDown() override {
        ReleaseAll();
        ResetTestGame();
    }

    void Start(std::unique_ptr<State> level) {
        SetState(std::move(level));
        Frames(1);
    }

    // One iteration of the game's loop; a focus change of the shared display must not pause it.
    void Frame() {
        GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);
        RunFrames(1);
        ++frame;
        if (!GetCamera().Shows(lirra.GetTransform().GetPosition())) {
            ++framesOutOfView;
        }
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

    // The moves are the demo bots' own, played over this fixture's frames and keys.
    bool WalkTo(float x, int limit = 900) { return moves.WalkTo(x, limit); }
    void Holding(int key, const std::function<void()>& body) { moves.Holding(key, body); }
    bool Jump() { return moves.Jump(); }
    bool RunningJump(float takeOff, float brakeAt, bool glide = false) {
        return moves.RunningJump(takeOff, brakeAt, glide);
    }
    bool StandNear(float x) { return moves.StandNear(x); }
    bool RideWind(float leaveY, int side, float brakeAt = NAN, int limit = 900) {
        return moves.RideWind(leaveY, side, brakeAt, limit);
    }
    bool FightThrough(float x, int limit = 1800) { return moves.FightThrough(x, limit); }
    const GOMushroom* ActiveExit() const { return moves.ActiveExit(); }
    bool JumpAndGlide(const std::function<bool()>& done, int limit = 900) { return moves.JumpAndGlide(done, limit); }
    bool Landed() const { return moves.Landed(); }
    bool Settle(int limit = 300) { return moves.Settle(limit); }
    bool FightNearbySpirits(float range, int limit = 900) { return moves.FightNearbySpirits(range, limit); }
    const GOEnemy* NearestWalker(float range) const { return moves.NearestWalker(range); }
    int CountActiveEnemies(int kind) const { return moves.CountActiveEnemies(kind); }
    bool UseExit(StateId next, int limit = 600) { return moves.UseExit(next, limit); }
    bool WaitForControls(int limit = 1500) { return moves.WaitForControls(limit); }

    Rigidbody* Body() const { return lirra.GetComponent<Rigidbody>(); }
    float X() const { return lirra.GetTransform().GetPosition().x; }
    float Y() const { return lirra.GetTransform().GetPosition().y; }
    int StateIdNow() const { return GetCurrentState() ? GetCurrentState()->GetId() : STATE_UNKNOWN; }

    // The keys and frames of this fixture, as the moves play them.
    class FixtureControls : public BotControls {
    public:
        explicit FixtureControls(LevelBot& fixture) : bot(fixture) {}
        void Press(int key) override { bot.Press(key); }
        void Release(int key) override { bot.Release(key); }
        void Frame() override { bot.Frame(); }
        bool Running() const override { return true; }
        long FramesRun() const override { return bot.frame; }

    private:
        LevelBot& bot;
    };

    Player& lirra = GetPlayer();
    int frame = 0;
    // Frames after which Lirra stood outside the picture: the player would have lost her.
    int framesOutOfView = 0;
    bool log = false;
    FixtureControls controls{*this};
    PlayerMoves moves{controls};
};
