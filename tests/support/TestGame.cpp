#include "support/TestGame.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/Game.h"
#include "frontend/StateManager.h"
#include "graphics/Background.h"
#include "platform/FrameClock.h"
#include "platform/Window.h"
#include "resources/ResourceLoader.h"

namespace {

bool started = false;

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
