#pragma once

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

#include "actors/GOSoul.h"
#include "actors/Player.h"
#include "frontend/GameStateManager.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/ParticleSystem.h"
#include "graphics/PostProcess.h"
#include "levels/Cinematics.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneTesting.h"
#include "support/TestGame.h"

constexpr float kFrame = 1.0f / 60.0f;

// A small level of its own: a long floor at y = 0 (top face), Lirra initialised as every level
// does and placed on her start, and whatever else a test adds in `build`.
class TestLevel : public State {
public:
    explicit TestLevel(std::function<void()> build_ = {}) : State(STATE_LEVEL_1), build(std::move(build_)) {}

    void Load() override {
        ++loads;
        GameObject* floor = MakeBox(0.0f, -0.5f, 200.0f, 1.0f, KIND_TILE);
        floor->SetActive(true);
        if (build) {
            build();
        }
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

    std::function<void()> build;
    float startX = 0.0f;
    int loads = 0;
};

// The real window and main loop, with the game's textures, a fresh scene and no keys down.
class PlayerTest : public testing::Test {
protected:
    void SetUp() override {
        StartTestGame();
        LoadGameAssets();
        ResetTestGame();
    }
    void TearDown() override { ResetTestGame(); }

    // Starts the test level and lets Lirra land on the floor.
    TestLevel* StartLevel(std::function<void()> build = {}, int settleFrames = 30) {
        level = SetNewState<TestLevel>(std::move(build));
        Frames(settleFrames);
        return level;
    }

    // One iteration of the game's loop; a focus change of the shared display must not pause it.
    void Frame() {
        GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);
        RunFrames(1);
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            Frame();
        }
    }
    void Press(int key) { KeyCallback(GetWindow(), key, 0, GLFW_PRESS, 0); }
    void Release(int key) { KeyCallback(GetWindow(), key, 0, GLFW_RELEASE, 0); }

    // A soul of `kind` appended to the chain beside Lirra, as an enemy's death leaves it.
    GOSoul* GiveSoul(int kind) {
        GOSoul* soul = GetScene().GetSoul();
        soul->GetTransform().SetPosition(lirra.GetTransform().GetPosition());
        soul->SetKind(false, kind);
        soul->SetActive(true);
        lirra.souls.push_back(soul);
        lirra.RelinkSouls();
        lirra.RecalculateAttackPower();
        return soul;
    }

    Rigidbody* Body() const { return lirra.GetComponent<Rigidbody>(); }
    AnimationRenderer* Animation() const { return lirra.GetComponent<AnimationRenderer>(); }
    float X() const { return lirra.GetTransform().GetPosition().x; }
    float Y() const { return lirra.GetTransform().GetPosition().y; }

    Player& lirra = GetPlayer();
    TestLevel* level = nullptr;
};
