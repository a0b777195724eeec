#include "frontend/StateLoading.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <future>
#include <system_error>

#include "automation/LaunchOptions.h"
#include "frontend/GameStateManager.h"
#include "frontend/StateFactory.h"
#include "frontend/StateManager.h"
#include "graphics/PostProcess.h"
#include "graphics/TextRenderer.h"
#include "math/Vector.h"
#include "platform/FrameClock.h"
#include "resources/ResourceLoader.h"

namespace {

// Written by the worker, read by the main thread every frame; a stale read only delays the display.
alignas(std::atomic_ref<float>::required_alignment) float loadProgress = 0.0f;
std::future<SoundTable> soundTask;

const Vector2 kReadoutPosition(347.0f, 360.0f);
const Vector3 kReadoutColour(1.0f, 1.0f, 1.0f);

void StartSoundLoad() {
    std::atomic_ref<float>(loadProgress).store(0.0f, std::memory_order_relaxed);
    auto load = [] { return GetResources().LoadSounds(&loadProgress); };
    try {
        soundTask = std::async(std::launch::async, load);
    } catch (const std::system_error& error) {
        std::printf("No loading thread (%s): sounds load on the main thread\n", error.what());
        soundTask = std::async(std::launch::deferred, load);
    }
}

// A deferred load never runs by itself: run it now, so the read-out still reaches 100.
void RunDeferredSoundLoad() {
    if (soundTask.valid() && soundTask.wait_for(std::chrono::seconds(0)) == std::future_status::deferred) {
        soundTask.wait();
    }
}

void TakeLoadedSounds() {
    if (!soundTask.valid()) {
        return;
    }
    try {
        GetResources().SetSounds(soundTask.get());
    } catch (const std::exception& error) {
        // The table keeps the sounds that came in before the failure.
        std::printf("Sound loading failed: %s\n", error.what());
    }
}

}  // namespace

int LoadingReadout(float progress, float countdown) {
    float shown = progress;
    if (progress >= 90.0f && countdown > -1.0f) {
        shown = progress - std::fabs(1.0f + countdown) * 10.0f;
    }
    return static_cast<int>(shown);
}

float GetLoadProgress() {
    return std::atomic_ref<float>(loadProgress).load(std::memory_order_relaxed);
}

void WaitForSoundLoad() {
    if (soundTask.valid()) {
        soundTask.wait();
    }
}

int NextStateAfterLoading() {
    const std::string& start = GetLaunchOptions().startState;
    return start.empty() ? STATE_SPLASH : StartableStateId(start.c_str());
}

void StateLoading::Load() {
    GetGameStateManager().EnsureCreated();
    StartSoundLoad();
}

void StateLoading::Update() {
    const float progress = CurrentProgress();
    ++framesShown;
    shownPercent = LoadingReadout(progress, countdown);
    progressText = "Loading Progress: " + std::to_string(shownPercent) + " %";
    GetTextRenderer().DrawText(progressText, kReadoutPosition, 1.0f, kReadoutColour, false);

    if (progress >= 100.0f && !loaded) {
        countdown -= GetDeltaTime();
        if (countdown <= -1.0f) {
            FinishLoading();
        }
    }
}

void StateLoading::Render() {
    BeginScene();
    ClearScene();
}

void StateLoading::PostRender() {
    BlurBright(true, 10);
    CompositeBloom(0);
    PrepareSceneShader();
    GetTextRenderer().Flush();
}

float StateLoading::CurrentProgress() {
    if (GetFixedStep() > 0.0) {
        return ScheduledProgress();
    }
    RunDeferredSoundLoad();
    return GetLoadProgress();
}

// Under a fixed step the worker's timing must not reach the picture or the trace: sound i counts
// as loaded on a fixed frame, and the task is waited for when the last one is due.
float StateLoading::ScheduledProgress() {
    const long due = framesShown / kFramesPerSoundAtFixedStep;
    if (due >= kSoundCount) {
        WaitForSoundLoad();
        return 100.0f;
    }
    return due == 0 ? 0.0f : SoundLoadProgress(static_cast<int>(due) - 1);
}

void StateLoading::FinishLoading() {
    loaded = true;
    TakeLoadedSounds();
    GetResources().LoadTexturesAndMeshes();
    if (onLoaded) {
        onLoaded();
    }
    SetState(CreateState(NextStateAfterLoading()));
}
