#include "frontend/State.h"

#include <GLFW/glfw3.h>

#include "audio/Audio.h"
#include "frontend/GameStateManager.h"
#include "graphics/ParticleSystem.h"
#include "graphics/PostProcess.h"
#include "graphics/TextRenderer.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "scene/SceneManager.h"
#include "tools/Console.h"

namespace {

const char* const kStateNames[] = {
    "UNKNOWN", "Loading", "Splash",  "Main Menu", "Option",    "Editor",
    "Level 1", "Level 2", "Level 3", "Boss",      "Level End",
};

}  // namespace

const char* GetStateName(int id) {
    if (id < STATE_LOADING || id > STATE_LEVEL_END) {
        return "UNKNOWN";
    }
    return kStateNames[id];
}

void State::PostLoad() {
    if (!consoleOpen) {
        SetCursorVisible(false);
    }
    if (id == STATE_EDITOR) {
        SetCursorVisible(true);
    }
}

void State::PreUpdate() {
    if (IsTriggered(GLFW_KEY_F5)) {
        ToggleFullscreen();
    }
    if (IsTriggered(GLFW_KEY_GRAVE_ACCENT)) {
        consoleOpen = !consoleOpen;
        if (consoleOpen) {
            SetCursorVisible(true);
        } else if (id != STATE_EDITOR) {
            SetCursorVisible(false);
        }
    }
    if (IsTriggered(GLFW_KEY_ESCAPE) && id != STATE_SPLASH && id != STATE_LOADING) {
        GameStateManager& menus = GetGameStateManager();
        if (!menus.IsMenuOpen()) {
            menus.SwitchTo(MENU_PAUSE);
            SetMasterVolume(0.3f);
        } else {
            menus.SwitchTo(id == STATE_MAIN_MENU ? MENU_NONE_MAIN_MENU : MENU_NONE_PLAYING);
            SetMasterVolume(1.0f);
        }
    }
}

void State::PostUpdate() {
    GetScene().FlushObjectQueues();
    if (!GetGameStateManager().IsMenuOpen()) {
        GetScene().UpdateObjects();
        GetParticleSystem().Update();
        UpdateCinematics();
        UpdateDialogue();
    }
    GetGameStateManager().UpdateCurrent();
}

void State::PostRender() {
    SceneObjectManager& scene = GetScene();
    scene.RenderWorld();
    GetParticleSystem().Render();
    GetGameStateManager().RenderCurrent();
    if (consoleOpen) {
        BuildConsole();
    }

    // The world and particles glow through the blurred bright pass.
    BindWindowFramebuffer();
    BlurBright(true, 10);
    CompositeBloom(0);

    // Winds are composited over the world once more, without adding to the glow.
    BeginScene();
    PrepareSceneShader();
    scene.RenderWinds();
    BlurBright(true, 0);
    CompositeBloom(0);

    // Dialogue, text and buttons go straight into the window, neither blurred nor tone-mapped.
    BindWindowFramebuffer();
    SetBloomEnabled(false);
    PrepareSceneShader();
    RenderDialogue();
    GetTextRenderer().Flush();
    scene.RenderButtons();
    SetBloomEnabled(true);
}

void State::PostUnload() {
    CloseDialogue();
    GetScene().DeactivateAll();
    GetParticleSystem().Clear();
}
