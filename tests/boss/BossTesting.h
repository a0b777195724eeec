#pragma once

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <string>

#include "actors/Boss.h"
#include "actors/Player.h"
#include "frontend/GameStateManager.h"
#include "frontend/State.h"
#include "frontend/StateFactory.h"
#include "frontend/StateManager.h"
#include "graphics/Background.h"
#include "graphics/ParticleSystem.h"
#include "levels/StateEnd.h"
#include "levels/StateLevelBoss.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneTesting.h"
#include "support/TestGame.h"

#if __has_include("actors/GOEnemy.h") && __has_include("actors/GOStateMachine.h")
#include "actors/GOEnemy.h"
#include "actors/GOStateMachine.h"
#define LIRRA_BOSS_HAS_PIECES 1
#endif

constexpr int kFramesPerSecond = 60;

// The real window and main loop with the game's textures; every test starts from no state, an
// empty scene, no souls and a healthy Lirra.
class BossTest : public testing::Test {
protected:
    void SetUp() override {
        StartTestGame();
        LoadGameAssets();
        ResetTestGame();
    }
    void TearDown() override { ResetTestGame(); }

    StateLevelBoss* StartBossLevel() {
        // The clock's first frames after a reset have no length; a level starts on a running clock.
        Frames(2);
        auto* level = SetNewState<StateLevelBoss>();
        return level;
    }
    StateLevelBoss* BossLevel() const {
        State* state = GetCurrentState();
        return state != nullptr && state->GetId() == STATE_BOSS ? static_cast<StateLevelBoss*>(state) : nullptr;
    }

    // One iteration of the game's loop, with no overlay menu open.
    void Frame() {
        GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);
        RunFrames(1);
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            Frame();
        }
    }
    void Seconds(float seconds) { Frames(static_cast<int>(seconds * kFramesPerSecond + 0.5f)); }
    void Press(int key) { KeyCallback(GetWindow(), key, 0, GLFW_PRESS, 0); }
    void Release(int key) { KeyCallback(GetWindow(), key, 0, GLFW_RELEASE, 0); }

    // Lirra held at one place, out of the hands' way or under them as a test wants.
    void HoldLirraAt(float x, float y) {
        GetPlayer().GetTransform().SetPosition(x, y, 0.0f);
        GetPlayer().invulnerable = true;
        GetPlayer().invulnerableTimer = 100.0f;
    }

#ifdef LIRRA_BOSS_HAS_PIECES
    static std::string StateOf(const GOEnemy* enemy) {
        return enemy->stateMachine->GetCurrentName();
    }
    static int CountKind(const std::vector<GOEnemy*>& enemies, int kind) {
        int count = 0;
        for (const GOEnemy* enemy : enemies) {
            count += enemy->enemyKind == kind && enemy->IsActive() ? 1 : 0;
        }
        return count;
    }
#endif
};
