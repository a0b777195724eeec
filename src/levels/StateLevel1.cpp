#include "levels/StateLevel1.h"

#include <GLFW/glfw3.h>

#include <algorithm>

#include "actors/GOEnemy.h"
#include "actors/Player.h"
#include "frontend/StateManager.h"
#include "graphics/Camera.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "levels/LevelSpawn.h"
#include "levels/LevelStateCommon.h"
#include "math/MathUtil.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "scene/SceneManager.h"

namespace {

const Vector3 kLirraStart(5.5f, 3.0f, 0.0f);
const Vector3 kExitAt(78.0f, -9.0f, 0.0f);
const Vector3 kExitScale(4.0f, 4.0f, 4.0f);
const Vector3 kJumpHints[] = {
    Vector3(52.0f, 2.14f, 0.0f),
    Vector3(60.5f, 3.25f, 0.0f),
    Vector3(69.26f, 0.37f, 0.0f),
};
}  // namespace

void StateLevel1::Load() {
    loaded = true;
    LoadLevelTiles("level01.env", "Level 1 loaded!\n", &tiles);
    PlaceLirra(kLirraStart);
    Player& lirra = GetPlayer();
    lirra.SetJumpDisabled(true);
    lirra.localTimeScale = kLevel1TimeScale;
    GetCamera().SetZoom(0.9f);
    SpawnFromMarkers();
    exitMushroom = PlaceExitMushroom(exitMushroom, kExitAt, &kExitScale, STATE_LEVEL_1);
    keyHints.clear();
    for (const Vector3& at : kJumpHints) {
        keyHints.push_back(PlaceKeyHint(TextureId::KeyUp, at));
    }
    script = Script{};
    StartLevelLook();
}

void StateLevel1::Update() {
    if (LevelPaused()) {
        return;
    }
    if (IsTriggered(GLFW_KEY_SPACE)) {
        AdvanceDialogue();
    }
    const Vector3 lirra = LirraPosition();
    if (!script.ambushStarted && lirra.x > kAmbushStartX) {
        StartAmbush();
    }
    if (script.ambushStarted && !script.ambushFinished && lirra.x < kAmbushEndX) {
        RunWave();
    }
    if (script.ambushStarted && !script.ambushFinished && lirra.x >= kAmbushEndX) {
        EndAmbush();
    }
    if (lirra.y < kLevel1FallLimit) {
        SetState(std::make_unique<StateLevel1>());
    }
}

void StateLevel1::StartAmbush() {
    script.ambushStarted = true;
    PlayCinematic(2, std::make_unique<CinZoom>(0.1f, 3.0f, 1.0f),
                  std::make_unique<CinLines>(GetCamera().GetPosition(), 13.0f, 1.3f, 3.0f, false));
    GetPlayer().SetInputLocked(true);
    ShowLirraLines({"This feels strange...", "Hang on, it can't be usually this quiet...", "Oh noes! They are coming!",
                    "Shoo shoo! Go away!"},
                   kSmallLineBox);
}

void StateLevel1::RunWave() {
    cinematicPlaying = true;
    script.ambushTime += GetDeltaTime();
    if (script.ambushTime < kAmbushHold) {
        return;
    }
    script.spawnTime += GetDeltaTime();
    Player& lirra = GetPlayer();
    lirra.SetInputLocked(false);
    lirra.SetJumpDisabled(false);
    if (script.spawnTime > kSpawnInterval) {
        const Vector3 at = LirraPosition() + Vector3(static_cast<float>(RandomInt(-kSpawnSpread, kSpawnSpread)),
                                                     static_cast<float>(RandomInt(-kSpawnSpread, kSpawnSpread)), 0.0f);
        GOEnemy* enemy = GetScene().GetEnemy();
        enemy->Setup(at, at, ENEMY_FLYING);
        enemy->SetActive(true);
        script.spawnTime = 0.0f;
    }
}

void StateLevel1::EndAmbush() {
    ShowLirraLines({"Whew! That was close..."}, kSmallLineBox);
    script.ambushFinished = true;
    GetPlayer().localTimeScale = 1.0f;
    cinematicPlaying = false;
    PlayCinematic(2, std::make_unique<CinZoom>(-0.1f, 3.0f, 1.0f),
                  std::make_unique<CinLines>(GetCamera().GetPosition(), 13.0f, -1.3f, 4.0f, true));
}

void StateLevel1::Render() {
    BeginLevelRender();
    StepCamera();
    DrawLevelBackground();
}

// The camera keeps still while the ambush is a scene: the bars close in and Lirra's controls
// are locked. Once she may fight, it frames her until the ambush ends.
bool StateLevel1::ScriptHoldsCamera() const {
    return script.ambushStarted && !script.ambushFinished && script.ambushTime < kAmbushHold;
}

void StateLevel1::StepCamera() {
    // A shake places the camera round Lirra itself.
    if (IsCameraShaking()) {
        return;
    }
    if (ScriptHoldsCamera()) {
        HoldCameraOnLirra();
        return;
    }
    Camera& camera = GetCamera();
    const Vector3 lirra = LirraPosition();
    if (lirra.x < kLevel1CameraLeftEdge) {
        camera.SetPosition(Vector3(kLevel1CameraLeftEdge, std::min(lirra.y, kLevel1CameraCeiling), lirra.z));
    } else if (lirra.y >= kLevel1CameraCeiling) {
        camera.SetPosition(Vector3(lirra.x, kLevel1CameraCeiling, lirra.z));
    } else {
        FollowLirra();
    }
}

void StateLevel1::Unload() {
    if (loaded) {
        UnloadLevel();
    }
}
