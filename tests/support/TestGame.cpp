#include "support/TestGame.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "actors/Player.h"
#include "app/Game.h"
#include "audio/Audio.h"
#include "frontend/GOTransitionScreen.h"
#include "frontend/GameState.h"
#include "frontend/GameStateManager.h"
#include "frontend/StateManager.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/ParticleSystem.h"
#include "levels/Dialogue.h"
#include "levels/GOCollider.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneManager.h"

namespace {

bool started = false;

// Nothing playing or paused, at full volume and not muted.
void ResetAudio() {
    StopAllSounds();
    ResumeAllSounds();
    SetMasterVolume(1.0f);
    if (menuMuted) {
        ToggleMenuMute();
    }
}

// Lirra as a new game has her; each level's load places and initialises her.
void ResetLirra() {
    Player& lirra = GetPlayer();
    lirra.souls.clear();
    savedSoulKinds.clear();
    lirra.health = 100.0f;
    lirra.regenStartTime = 0.0f;
    // The dust of her run is timed on the clock, which starts again at 0.
    nextDustTime = 0.0f;
    lirra.state = PLAYER_IDLE;
    lirra.SetActive(false);
}

}  // namespace

void StartTestGame(int width, int height) {
    if (started) {
        return;
    }
    started = true;
    if (chdir(LIRRA_TEST_DATA_DIR) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", LIRRA_TEST_DATA_DIR);
        std::abort();
    }
    SetWindowedSize(width, height);
    SetFixedStep(1.0 / 60.0);
    OpenWindow();
    IgnoreWindowFocus();
    StartSubsystems();
}

void LoadGameAssets() {
    static bool loaded = false;
    if (!loaded) {
        GetResources().LoadTexturesAndMeshes();
        SetupBackgrounds();
        loaded = true;
    }
}

void RunFrames(int n) {
    for (int i = 0; i < n; ++i) {
        RunOneFrame();
    }
}

void EndTestStates() {
    ShutdownStates();
}

void EmptyTheScene() {
    SceneObjectManager& scene = GetScene();
    scene.FlushObjectQueues();
    for (GameObject* object : scene.GetAllObjects()) {
        object->SetActive(false);
    }
    scene.FlushObjectQueues();
    // Objects switched on and off within one frame stay listed while inactive; one more round
    // on and off takes every copy away.
    std::vector<GameObject*> stragglers;
    for (const auto* list : {&scene.GetWorldList(), &scene.GetWindList(), &scene.GetButtonList(),
                             &scene.GetUpdateList(), &scene.GetCollidables()}) {
        stragglers.insert(stragglers.end(), list->begin(), list->end());
    }
    for (GameObject* object : stragglers) {
        object->SetActive(true);
    }
    scene.FlushObjectQueues();
    for (GameObject* object : stragglers) {
        object->SetActive(false);
    }
    scene.FlushObjectQueues();
}

void ResetTestGame() {
    // The states first: their unloads hand objects back that the scene then clears.
    EndTestStates();
    GetGameStateManager().SwitchTo(MENU_NONE_MAIN_MENU);
    CloseDialogue();
    popupOpen = false;
    popupPanel = nullptr;
    transitionActive = false;
    EmptyTheScene();
    GetScene().ClearPlacedMarkers();
    GetParticleSystem().Clear();
    ResetInput();
    ResetAudio();
    SetFixedStep(1.0 / 60.0);
    ResetFrameClock();
    GetCamera().Reset();
    ResetLirra();
}

bool UseWaveOutput(const std::string& tag, bool keep) {
    std::string dir = "/tmp/lirra-" + tag + "-audio-XXXXXX";
    if (mkdtemp(dir.data()) == nullptr) {
        return false;
    }
    std::ofstream(dir + "/alsoft.conf") << "[wave]\nfile = " << (keep ? dir + "/played.wav" : "/dev/null") << "\n";
    setenv("ALSOFT_CONF", (dir + "/alsoft.conf").c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    return true;
}

std::string MakeTempDir(const std::string& tag) {
    std::string pattern = "/tmp/lirra-" + tag + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    return pattern;
}

int RunCommand(const std::string& command, std::string* output) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    std::string text;
    char buffer[4096];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
        text.append(buffer, count);
    }
    const int status = pclose(pipe);
    if (output != nullptr) {
        *output = text;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary);
    file << content;
}

int RunOnOwnDisplay(const std::string& command, std::string* output, const std::string& screen) {
    // Numbers away from those xvfb-run -a and the editor test's private display take; the
    // process id spreads runs beside each other apart.
    int display = 20000 + static_cast<int>(getpid() % 4000) * 4;
    std::string own;
    std::string* text = output != nullptr ? output : &own;
    for (int attempt = 0; attempt < 4; ++attempt, ++display) {
        const int status = RunCommand("xvfb-run -n " + std::to_string(display) + " -s '-screen 0 " + screen +
                                          " -nolisten tcp -noreset' " + command,
                                      text);
        if (text->find("xvfb-run: error: Xvfb failed to start") == std::string::npos &&
            text->find("Server is already active") == std::string::npos) {
            return status;
        }
    }
    return -1;
}
