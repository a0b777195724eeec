#pragma once

#include <vector>

#include "frontend/State.h"

class GameObject;
class GOMushroom;
class GOTile;

// The first forest: a quiet walk into an ambush of flying spirits, then pits, ledges and a
// valley with the mushroom that leads on to the second forest.
class StateLevel1 : public State {
public:
    StateLevel1() : State(STATE_LEVEL_1) {}

    void Load() override;
    void Update() override;
    void Render() override;
    void Unload() override;

    std::vector<GOTile*> tiles;
    GOMushroom* exitMushroom = nullptr;
    std::vector<GameObject*> keyHints;
    // The script's one-shot progress; every load, a restart in place too, starts it afresh.
    struct Script {
        bool ambushStarted = false;
        bool ambushFinished = false;
        float ambushTime = 0.0f;
        float spawnTime = 0.0f;
    };
    Script script;
    bool loaded = false;

private:
    void StartAmbush();
    void RunWave();
    void EndAmbush();
    bool ScriptHoldsCamera() const;
    void StepCamera();
};

// The ambush begins once Lirra passes the first x and ends when she reaches the second.
constexpr float kAmbushStartX = 22.0f;
constexpr float kAmbushEndX = 38.0f;
// Lirra is held this long before the spirits come; one comes every interval after that.
constexpr float kAmbushHold = 7.0f;
constexpr float kSpawnInterval = 0.5f;
constexpr int kSpawnSpread = 15;
constexpr float kLevel1FallLimit = -20.0f;
// The camera keeps to this height or below, and does not pass left of kCameraLeftX.
constexpr float kLevel1CameraCeiling = 0.969f;
constexpr float kLevel1CameraLeftEdge = 5.0f;
// Lirra moves slowly until the ambush is over.
constexpr float kLevel1TimeScale = 0.8f;
