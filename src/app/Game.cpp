#include "app/Game.h"

#include <cstdio>

#include "app/FrameClock.h"
#include "app/LaunchOptions.h"
#include "app/Screenshot.h"
#include "app/StateManager.h"
#include "app/Trace.h"
#include "app/Window.h"
#include "audio/Audio.h"
#include "graphics/Background.h"
#include "graphics/TextRenderer.h"
#include "levels/TileMeshes.h"
#include "resources/StateLoading.h"

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

void StartSubsystems() {
    AudioInit();
    GetTextRenderer().Init("Fonts/PixelGameFont.ttf");
    BuildTileMeshTable(10, 100);
}

void RunOneFrame() {
    ApplyPendingState();
    BeginFrame();
    AudioUpdate();
    UpdateAndRenderState();
    FinishFrame(GetFrameNumber());
}

void RunGame() {
    InitWindow();
    if (!GetLaunchOptions().windowed) {
        SetFullscreen(true);
    }
    StartSubsystems();

    StateLoading* loading = new StateLoading();
    loading->onLoaded = [] { SetupBackgrounds(); };
    SetState(loading);

    while (GetCurrentState() != nullptr && IsWindowOpen()) {
        RunOneFrame();
    }
    ShutdownWindow();
}
