#pragma once

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <functional>

#include "actors/Player.h"
#include "audio/Audio.h"
#include "frontend/GOTransitionScreen.h"
#include "frontend/GameState.h"
#include "frontend/GameStateManager.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "graphics/Background.h"
#include "graphics/ParticleSystem.h"
#include "graphics/PostProcess.h"
#include "levels/Dialogue.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneManager.h"
#include "scene/SceneTesting.h"
#include "support/TestGame.h"

// A screen with nothing of its own, standing in for a level: the overlay, the scene and the
// frame work as in every state.
class BareState : public State {
public:
    explicit BareState(StateId stateId = STATE_LEVEL_2) : State(stateId) {}
    void Load() override {}
    void Update() override {}
    void Render() override {
        BeginScene();
        ClearScene();
        PrepareSceneShader();
    }
    void Unload() override {}
};

// Each test runs the game's real loop in the shared test window, from no state, an empty scene,
// no overlay menu and full volume.
class FrontendTest : public testing::Test {
protected:
    static constexpr double kStep = 1.0 / 60.0;

    void SetUp() override {
        StartTestGame();
        static bool loaded = false;
        if (!loaded) {
            GetResources().LoadTexturesAndMeshes();
            SetupBackgrounds();
            // The menu tune, so the main menu has something to play and to stop.
            if (Sound* tune = LoadSound(GetResources().GetSoundPath(MENU_BGM).c_str())) {
                GetResources().SetSounds({{MENU_BGM, tune}});
            }
            loaded = true;
        }
        Reset();
    }

    void TearDown() override { Reset(); }

    // The menus' own tests want frames with a length from the first.
    void Reset() {
        ResetTestGame();
        UseFrameStep(kStep);
    }

    static void Frames(int n) { RunFrames(n); }

    static void Press(int key) { KeyCallback(GetWindow(), key, 0, GLFW_PRESS, 0); }
    static void Release(int key) { KeyCallback(GetWindow(), key, 0, GLFW_RELEASE, 0); }
    // Down for one frame, then up again for the next.
    static void Tap(int key) {
        Press(key);
        Frames(1);
        Release(key);
        Frames(1);
    }

    // Runs frames until `done` holds, at most `limit`; true when it did.
    static bool Until(const std::function<bool()>& done, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (done()) {
                return true;
            }
            Frames(1);
        }
        return done();
    }

    static int MenuId() { return GetGameStateManager().GetCurrentId(); }
    static int Selected() { return GetGameStateManager().GetSelected(); }
    static const char* StateName() { return GetCurrentState() != nullptr ? GetCurrentState()->GetName() : ""; }
    static float LirraX() { return GetPlayer().GetTransform().GetPosition().x; }
    static float LirraY() { return GetPlayer().GetTransform().GetPosition().y; }

    static bool HasTextures() { return GetResources().LookupTexture(TextureId::Logo) != nullptr; }

    // The main menu as the game reaches it: requested while another state runs, so the camera
    // reset that goes with every request comes before its load.
    template <typename T>
    T* Enter() {
        SetState(std::make_unique<BareState>(STATE_LEVEL_3));
        T* state = SetNewState<T>();
        Frames(1);
        return state;
    }
};
