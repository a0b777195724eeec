#pragma once

#include <vector>

#include "frontend/State.h"
#include "graphics/PostProcess.h"

class GOEnemy;
class GOTile;
class GOWind;

// After Rovevoz falls the camera pans to him this long before his last words.
constexpr float kOutroPanTime = 3.0f;

// The fight with Rovevoz between two updraft columns: the boss runs its phases, each with its
// lines; after his fall the camera pans to the arena, he speaks his last words and the picture
// washes out to white before the ending.
class StateLevelBoss : public State {
public:
    StateLevelBoss() : State(STATE_BOSS) {}

    void Load() override;
    void Update() override;
    void Render() override;
    void Unload() override;

    std::vector<GOTile*> tiles;
    std::vector<GOEnemy*> enemies;
    std::vector<GOWind*> winds;
    // The fight's one-shot progress and the white-out; every load, the restart in place after a
    // death too, starts them afresh, so the lines of each phase are spoken again.
    struct Script {
        float exposure = kStandardExposure;
        float gamma = kStandardGamma;
        float bloomIntensity = kStandardBloomIntensity;
        bool introShown = false;
        bool phase2Shown = false;
        bool phase3Shown = false;
        bool bossDown = false;
        bool lastWordsStarted = false;
        float outroTimer = kOutroPanTime;
        int outroStep = 0;
    };
    Script script;

private:
    void SpawnWindColumns();
    void RunPhaseLines(int phase);
    void StartLastWords();
    void RunOutro();
};

// Lirra below this height has fallen out of the arena.
constexpr float kBossFallLimit = -25.0f;
// The white-out ends once gamma has climbed this far. It climbs at these rates a second, and the
// ending comes back from it at the same rates.
constexpr float kWhiteOutGamma = 60.0f;
constexpr float kWhiteOutExposureRate = 3.5f;
constexpr float kWhiteOutGammaRate = 6.5f;
constexpr float kWhiteOutBloomRate = 3.5f;
