#pragma once

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "actors/GOEnemy.h"
#include "actors/GOHitbox.h"
#include "actors/GOSoul.h"
#include "actors/GOStateMachine.h"
#include "actors/Player.h"
#include "frontend/GameStateManager.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/ParticleSystem.h"
#include "graphics/PostProcess.h"
#include "graphics/TextRenderer.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "physics/Collider.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneTesting.h"
#include "support/TestGame.h"

constexpr float kFrame = 1.0f / 60.0f;
// A walking spirit built at this height stands on the test floor (its box reaches 1.1 below it).
constexpr float kEnemyY = 1.1f;

// A small level: a long floor with its top at y = 0, and Lirra standing on it at `startX`.
class EnemyTestLevel : public State {
public:
    explicit EnemyTestLevel(float startX_) : State(STATE_LEVEL_1), startX(startX_) {}

    void Load() override {
        // A plain solid box: objects of the marker kind must be real markers.
        MakeBox(0.0f, -0.5f, 400.0f, 1.0f)->SetActive(true);
        Player& lirra = GetPlayer();
        lirra.Init();
        lirra.GetTransform().SetPosition(startX, 2.2f, 0.0f);
        lirra.SetActive(true);
    }
    void Update() override {}
    void Render() override {
        GetCamera().SetPosition(GetPlayer().GetTransform().GetPosition());
        BeginScene();
        ClearScene();
        PrepareSceneShader();
        DrawBackground(BACKGROUND_FOREST);
    }
    void Unload() override {}

    float startX = 0.0f;
};

// The real window and main loop with the game's textures, an empty scene, no dialogue and no keys.
class EnemyTest : public testing::Test {
protected:
    void SetUp() override {
        StartTestGame();
        LoadGameAssets();
        ResetTestGame();
    }
    void TearDown() override { ResetTestGame(); }

    // Starts the level with Lirra at `lirraX` and lets her land.
    void StartLevel(float lirraX) {
        SetState(std::make_unique<EnemyTestLevel>(lirraX));
        Frames(30);
    }
    // A walking spirit patrolling from `fromX` to `toX` on the floor.
    GOEnemy* SpawnWalker(float fromX, float toX) {
        GOEnemy* enemy = GetScene().GetEnemy();
        enemy->Setup(Vector3(fromX, kEnemyY, 0.0f), Vector3(toX, kEnemyY, 0.0f), ENEMY_BASIC);
        enemy->SetActive(true);
        return enemy;
    }
    GOEnemy* SpawnFlyer(float x, float y) {
        GOEnemy* enemy = GetScene().GetEnemy();
        enemy->Setup(Vector3(x, y, 0.0f), Vector3(x, y, 0.0f), ENEMY_FLYING);
        enemy->SetActive(true);
        return enemy;
    }

    void Frame() {
        GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);
        RunFrames(1);
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            Frame();
        }
    }
    // Runs frames until `done` holds, at most `limit`; the number run.
    int FramesUntil(const std::function<bool()>& done, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (done()) {
                return i;
            }
            Frame();
        }
        return limit;
    }
    void Press(int key) { KeyCallback(GetWindow(), key, 0, GLFW_PRESS, 0); }
    void Release(int key) { KeyCallback(GetWindow(), key, 0, GLFW_RELEASE, 0); }
    void Tap(int key) {
        Press(key);
        Frame();
        Release(key);
    }

    // Lirra stays where she is, and nothing hurts her unless a test wants it to.
    void HoldLirraStill(bool vulnerable) {
        lirra.invulnerable = !vulnerable;
        lirra.invulnerableTimer = vulnerable ? 2.0f : 1.0e6f;
    }
    void MoveLirra(float x) {
        Vector3 at = lirra.GetTransform().GetPosition();
        lirra.GetTransform().SetPosition(x, at.y, at.z);
        lirra.GetComponent<Collider>()->Update();
    }

    static std::string StateOf(const GOEnemy* enemy) { return enemy->GetStateName(); }
    static float X(const GOEnemy* enemy) { return enemy->GetTransform().GetPosition().x; }
    static TextureId Clip(const GOEnemy* enemy) { return enemy->GetComponent<AnimationRenderer>()->GetClip(); }

    Player& lirra = GetPlayer();
};
