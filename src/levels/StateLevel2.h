#pragma once

#include <vector>

#include "frontend/State.h"

class GOMushroom;
class GOTile;

// The second forest: a cold shaft climbed on the wind, past walking spirits, to a door at the top.
class StateLevel2 : public State {
public:
    StateLevel2() : State(STATE_LEVEL_2) {}

    void Load() override;
    void Update() override;
    void Render() override;
    void Unload() override;

    std::vector<GOTile*> tiles;
    GOMushroom* exitMushroom = nullptr;
    // The script's one-shot progress; every load, a restart in place too, starts it afresh.
    struct Script {
        bool introStarted = false;
        bool introOver = false;
        bool doorSeen = false;
        bool doorLineClosed = false;
        float introTime = 0.0f;
        float doorTime = 0.0f;
    };
    Script script;
    bool loaded = false;

private:
    void StartIntro();
    void RunIntro();
    void RunDoorLine();
};

// Lirra is held for the opening lines this long.
constexpr float kLevel2IntroLength = 13.0f;
// "I see the door now!" once Lirra is this high within the door's columns; it closes after a while.
constexpr float kDoorLineMinX = 5.0f;
constexpr float kDoorLineMaxX = 13.0f;
constexpr float kDoorLineMinY = 66.0f;
constexpr float kDoorLineLength = 3.5f;
constexpr float kLevel2FallLimit = -13.0f;
