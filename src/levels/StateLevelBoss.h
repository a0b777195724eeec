#pragma once

#include <vector>

#include "frontend/State.h"

class GOEnemy;
class GOTile;
class GOWind;

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
        float exposure = 0.5f;
        float gamma = 0.7f;
        float bloomIntensity = 1.0f;
        bool introShown = false;
        bool phase2Shown = false;
        bool phase3Shown = false;
        bool bossDown = false;
        bool lastWordsStarted = false;
        float outroTimer = 3.0f;
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
// The white-out ends once gamma has climbed this far.
constexpr float kWhiteOutGamma = 60.0f;
