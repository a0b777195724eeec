#include "app/Game.h"

#include <cstdio>
#include <memory>

#include "base/Log.h"
#include "app/Frame.h"
#include "audio/Audio.h"
#include "automation/InputScript.h"
#include "automation/LaunchOptions.h"
#include "automation/Screenshot.h"
#include "automation/Trace.h"
#include "frontend/GameStateManager.h"
#include "frontend/StateLoading.h"
#include "frontend/StateManager.h"
#include "graphics/Background.h"
#include "graphics/PostProcess.h"
#include "graphics/TextRenderer.h"
#include "levels/TileMeshes.h"
#include "math/MathUtil.h"
#include "platform/FrameClock.h"
#include "platform/Window.h"

namespace {

void TakeScreenshotsOf(long frame) {
    for (const auto& [shotFrame, path] : GetLaunchOptions().screenshots) {
        if (shotFrame == frame) {
            SaveScreenshot(path);
        }
    }
}

void FinishFrame(long frame) {
    WriteTraceLine(frame);
    EndFrame();
    TakeScreenshotsOf(frame);
    AdvanceFrameClock();
    SwapFrame();
    const long frameLimit = GetLaunchOptions().frames;
    if (frameLimit > 0 && frame + 1 >= frameLimit) {
        RequestQuit();
    }
}

}  // namespace

void OpenWindow() {
    InitWindow();
    InitGraphics();
    SetWindowIcon();
}

void StartSubsystems() {
    SetWindowFocusHandler(OnWindowFocusChanged);
    AudioInit();
    GetTextRenderer().Init("Fonts/PixelGameFont.ttf");
    BuildTileMeshTable(10, 100);
}

void StopSubsystems() {
    GetTextRenderer().Shutdown();
    AudioShutdown();
}

void RunOneFrame() {
    ApplyPendingState();
    BeginFrame();
    AudioUpdate();
    UpdateAndRenderState();
    FinishFrame(GetFrameNumber());
}

bool PrepareLaunch(const LaunchOptions& options, const std::string& recordingFirstLine) {
    SetLaunchOptions(options);
    SetStartStateName(options.startState);
    if (!EnterDataDirectory(options)) {
        return false;
    }
    std::string error;
    if (!options.inputFile.empty() && !LoadInputScript(options.inputFile, error)) {
        LogError("lirra: %s\n", error.c_str());
        return false;
    }
    if (!options.recordFile.empty() && !OpenInputRecording(options.recordFile, recordingFirstLine)) {
        LogError("lirra: cannot write the record file '%s'\n", options.recordFile.c_str());
        return false;
    }
    if (!options.traceFile.empty() && !OpenTrace(options.traceFile)) {
        LogError("lirra: cannot write the trace file '%s'\n", options.traceFile.c_str());
        return false;
    }
    if (options.width > 0) {
        SetWindowedSize(options.width, options.height);
    }
    if (options.seeded) {
        SeedRandom(options.seed);
    }
    SetFixedStep(options.fixedStep);
    return true;
}

void OpenGame() {
    OpenWindow();
    if (!GetLaunchOptions().windowed) {
        SetFullscreen(true);
    }
    StartSubsystems();

    auto loading = std::make_unique<StateLoading>();
    loading->onLoaded = [] { SetupBackgrounds(); };
    SetState(std::move(loading));
}

bool IsGameRunning() {
    return GetCurrentState() != nullptr && IsWindowOpen();
}

// The states go first, while the GL context they draw with is still current; the launch's
// files last, so they hold every frame the run made.
void CloseGame() {
    ShutdownStates();
    StopSubsystems();
    ShutdownWindow();
    CloseTrace();
    CloseInputRecording();
    std::fflush(stdout);
}

void RunGame() {
    OpenGame();
    while (IsGameRunning()) {
        RunOneFrame();
    }
    CloseGame();
}
