#include "levels/StateLevel3.h"

#include "actors/Player.h"
#include "frontend/StateManager.h"
#include "graphics/Camera.h"
#include "levels/Cinematics.h"
#include "levels/LevelSpawn.h"
#include "levels/LevelStateCommon.h"
#include "scene/SceneManager.h"

const Level3Area kLevel3Areas[6] = {
    {20.0f, 24.0f, -8.0f, -3.0f, "Nowhere to go but up... Again...", nullptr},
    {9.0f, 11.0f, 29.0f, 36.0f, "I wonder where this leads...", nullptr},
    {1.0f, 2.0f, 29.0f, 36.0f, "This looks like a dead end...", "But... I can feel a strong gust coming from below..."},
    {-6.0f, -2.0f, 42.0f, 46.0f, "I can see the exit!", nullptr},
    {13.0f, 17.0f, 41.0f, 44.0f, "Looks to me this leads further up...", nullptr},
    {24.0f, 28.0f, 49.0f, 55.0f, "AHH!!! GO AWAY!", nullptr},
};

namespace {

const Vector3 kLirraStart(0.0f, 0.0f, 0.0f);
const Vector3 kExitAt(4.0f, 58.0f, 0.0f);

bool StrictlyInside(const Level3Area& area, const Vector3& p) {
    return p.x > area.minX && p.x < area.maxX && p.y > area.minY && p.y < area.maxY;
}

}  // namespace

void StateLevel3::Load() {
    loaded = true;
    LoadLevelTiles("level03.env", "Level 3 loaded!\n", &tiles);
    PlaceLirra(kLirraStart);
    SpawnFromMarkers();
    exitMushroom = PlaceExitMushroom(exitMushroom, kExitAt, nullptr, STATE_LEVEL_3);
    script = Script{};
    StartLevelLook();
}

void StateLevel3::Update() {
    if (LevelPaused()) {
        return;
    }
    if (LirraPosition().y < kLevel3FallLimit) {
        SetState(std::make_unique<StateLevel3>());
    }
    if (script.areaShown[5]) {
        return;
    }
    if (!script.openingShown) {
        script.openingShown = true;
        ShowLirraLines({"If I got more souls, maybe DIRED will be happy?"}, kSmallLineBox);
    }
    RunAreaLines();
}

void StateLevel3::RunAreaLines() {
    const Vector3 lirra = LirraPosition();
    for (int i = 0; i < 6; ++i) {
        const Level3Area& area = kLevel3Areas[i];
        if (script.areaShown[i] || !StrictlyInside(area, lirra)) {
            continue;
        }
        script.areaShown[i] = true;
        if (area.second != nullptr) {
            ShowLirraLines({area.first, area.second}, kSmallLineBox);
        } else {
            ShowLirraLines({area.first}, kSmallLineBox);
        }
    }
}

void StateLevel3::Render() {
    BeginLevelRender();
    if (!cinematicPlaying) {
        FollowLirra();
    }
    DrawLevelBackground();
}

void StateLevel3::Unload() {
    if (loaded) {
        UnloadLevel();
    }
}
