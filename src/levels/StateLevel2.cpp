#include "levels/StateLevel2.h"

#include "actors/Player.h"
#include "frontend/StateManager.h"
#include "graphics/Camera.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "levels/LevelSpawn.h"
#include "levels/LevelStateCommon.h"
#include "platform/FrameClock.h"
#include "scene/SceneManager.h"

namespace {

const Vector3 kLirraStart(0.0f, 0.0f, 0.0f);
const Vector3 kExitAt(0.0f, 76.0f, -5.0f);
const Vector3 kExitScale(4.0f, 4.0f, 4.0f);
const Vector3 kAttackHint(5.21f, 22.05f, 0.0f);

}  // namespace

void StateLevel2::Load() {
    loaded = true;
    LoadLevelTiles("level02.env", "Level 2 loaded!\n", &tiles);
    PlaceLirra(kLirraStart);
    GetCamera().SetZoom(0.9f);
    SpawnFromMarkers();
    exitMushroom = PlaceExitMushroom(exitMushroom, kExitAt, &kExitScale, STATE_LEVEL_2);
    GetCamera().SetPosition(LirraPosition());
    PlaceKeyHint(TextureId::KeyQ, kAttackHint);
    script = Script{};
    StartLevelLook();
}

void StateLevel2::Update() {
    if (LevelPaused()) {
        return;
    }
    if (!script.introStarted) {
        StartIntro();
    }
    if (!script.introOver) {
        RunIntro();
    }
    RunDoorLine();
    if (LirraPosition().y <= kLevel2FallLimit) {
        SetState(std::make_unique<StateLevel2>());
    }
}

void StateLevel2::StartIntro() {
    script.introStarted = true;
    PlayCinematic(1, std::make_unique<CinLines>(GetCamera().GetPosition(), 13.0f, 1.3f, 2.0f, false));
    GetPlayer().SetInputLocked(true);
    ShowLirraLines({"Wow, it feels a little cold here", "Hmm, seems like there's no where to go but up...",
                    "Maybe the wind can help me!"},
                   kLargeLineBox);
    cinematicPlaying = true;
}

void StateLevel2::RunIntro() {
    script.introTime += GetDeltaTime();
    cinematicPlaying = true;
    if (script.introTime > kLevel2IntroLength) {
        PlayCinematic(1, std::make_unique<CinLines>(GetCamera().GetPosition(), 13.0f, -1.3f, 3.0f, true));
        CloseDialogue();
        GetPlayer().SetInputLocked(false);
        script.introOver = true;
    }
}

void StateLevel2::RunDoorLine() {
    const Vector3 lirra = LirraPosition();
    if (!script.doorSeen && lirra.x >= kDoorLineMinX && lirra.x <= kDoorLineMaxX && lirra.y >= kDoorLineMinY) {
        script.doorSeen = true;
        ShowLirraLines({"I see the door now!"}, kLargeLineBox);
    }
    if (script.doorSeen && !script.doorLineClosed) {
        script.doorTime += GetDeltaTime();
        if (script.doorTime >= kDoorLineLength) {
            script.doorLineClosed = true;
            CloseDialogue();
        }
    }
}

void StateLevel2::Render() {
    BeginLevelRender();
    // A shake places the camera round Lirra itself. The intro's leaving bars do not hold it:
    // Lirra has her controls back.
    if (!IsCameraShaking()) {
        if (script.introOver) {
            FollowLirra();
        } else {
            HoldCameraOnLirra();
        }
    }
    DrawLevelBackground();
}

void StateLevel2::Unload() {
    if (loaded) {
        UnloadLevel();
    }
}
