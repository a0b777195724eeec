#include "resources/StateLoading.h"

#include "app/FrameClock.h"
#include "app/LaunchOptions.h"
#include "app/StateFactory.h"
#include "app/StateManager.h"
#include "frontend/GameStateManager.h"
#include "graphics/PostProcess.h"
#include "graphics/TextRenderer.h"

int NextStateAfterLoading() {
    const std::string& start = GetLaunchOptions().startState;
    return start.empty() ? STATE_SPLASH : StartableStateId(start.c_str());
}

void StateLoading::Load() {
    GetGameStateManager().EnsureCreated();
}

void StateLoading::Update() {
    if (countdown <= -1.0f) {
        return;
    }
    countdown -= GetDeltaTime();
    if (countdown <= -1.0f) {
        if (onLoaded) {
            onLoaded();
        }
        SetState(CreateState(NextStateAfterLoading()));
    }
}

void StateLoading::PostRender() {
    BlurBright(true, 10);
    CompositeBloom(0);
    PrepareSceneShader();
    GetTextRenderer().Flush();
}
