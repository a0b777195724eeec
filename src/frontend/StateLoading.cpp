#include "frontend/StateLoading.h"

#include <cmath>
#include <cstdio>

#include "base/Log.h"
#include "frontend/GameStateManager.h"
#include "frontend/StateFactory.h"
#include "frontend/StateManager.h"
#include "graphics/PostProcess.h"
#include "graphics/TextRenderer.h"
#include "math/Vector.h"
#include "platform/FrameClock.h"
#include "resources/ResourceLoader.h"
#include "resources/SoundLoad.h"

namespace {

const Vector2 kReadoutPosition(347.0f, 360.0f);
const Vector3 kReadoutColour(1.0f, 1.0f, 1.0f);

std::string startStateName;

}  // namespace

int LoadingReadout(float progress, float countdown) {
    float shown = progress;
    if (progress >= 90.0f && countdown > -1.0f) {
        shown = progress - std::fabs(1.0f + countdown) * 10.0f;
    }
    return static_cast<int>(shown);
}

void SetStartStateName(const std::string& name) {
    startStateName = name;
}

int NextStateAfterLoading() {
    return startStateName.empty() ? STATE_SPLASH : StartableStateId(startStateName.c_str());
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
