#include "levels/StateLevel2.h"

#include "actors/Player.h"
#include "app/FrameClock.h"
#include "app/StateManager.h"
#include "graphics/Camera.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "levels/LevelStateCommon.h"
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
    GetScene().SpawnFromMarkers();
    exitMushroom = PlaceExitMushroom(exitMushroom, kExitAt, &kExitScale, kPortalToLevel3);
    GetCamera().SetPosition(LirraPosition());
    PlaceKeyHint(kKeyQTexture, kAttackHint);
    introStarted = false;
    introOver = false;
    doorSeen = false;
    doorLineClosed = false;
    introTime = 0.0f;
    doorTime = 0.0f;
    StartLevelLook();
}

void StateLevel2::Update() {
    if (LevelPaused()) {
        return;
    }
    if (!introStarted) {
        StartIntro();
    }
    if (!introOver) {
        RunIntro();
    }
    RunDoorLine();
    if (LirraPosition().y <= kLevel2FallLimit) {
        SetState(new StateLevel2());
    }
}

void StateLevel2::StartIntro() {
    introStarted = true;
    PlayCinematic(1, new CinLines(GetCamera().GetPosition(), 13.0f, 1.3f, 2.0f, false));
    GetPlayer().SetInputLocked(true);
    ShowLirraLines({"Wow, it feels a little cold here", "Hmm, seems like there's no where to go but up...",
                    "Maybe the wind can help me!"},
                   kLargeLineBox);
    cinematicPlaying = true;
}

void StateLevel2::RunIntro() {
    introTime += GetDeltaTime();
    cinematicPlaying = true;
    if (introTime > kLevel2IntroLength) {
        PlayCinematic(1, new CinLines(GetCamera().GetPosition(), 13.0f, -1.3f, 3.0f, true));
        CloseDialogue();
        GetPlayer().SetInputLocked(false);
        introOver = true;
    }
}

void StateLevel2::RunDoorLine() {
    const Vector3 lirra = LirraPosition();
    if (!doorSeen && lirra.x >= kDoorLineMinX && lirra.x <= kDoorLineMaxX && lirra.y >= kDoorLineMinY) {
        doorSeen = true;
        ShowLirraLines({"I see the door now!"}, kLargeLineBox);
    }
    if (doorSeen && !doorLineClosed) {
        doorTime += GetDeltaTime();
        if (doorTime >= kDoorLineLength) {
            doorLineClosed = true;
            CloseDialogue();
        }
    }
}

void StateLevel2::Render() {
    BeginLevelRender();
    if (!cinematicPlaying && introOver) {
        FollowLirra();
    }
    DrawLevelBackground();
}

void StateLevel2::Unload() {
    if (loaded) {
        UnloadLevel();
    }
}
