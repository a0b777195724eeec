#pragma once

#include <vector>

#include "frontend/State.h"

class GOMushroom;
class GOTile;

// The third forest: down to a shaft's foot, up into a corridor that ends in a gust, past the
// flying spirits' ledge and across to the mushroom that leads to Rovevoz.
class StateLevel3 : public State {
public:
    StateLevel3() : State(STATE_LEVEL_3) {}

    void Load() override;
    void Update() override;
    void Render() override;
    void Unload() override;

    std::vector<GOTile*> tiles;
    GOMushroom* exitMushroom = nullptr;
    // The script's one-shot progress; every load, a restart in place too, starts it afresh.
    struct Script {
        bool openingShown = false;
        // One flag per area of kLevel3Areas.
        bool areaShown[6] = {};
    };
    Script script;
    bool loaded = false;

private:
    void RunAreaLines();
};

// A box of the third forest that makes Lirra think aloud once she is strictly inside it.
struct Level3Area {
    float minX, maxX, minY, maxY;
    const char* first;
    const char* second;  // a follow-up line, or null
};

extern const Level3Area kLevel3Areas[6];
constexpr float kLevel3FallLimit = -20.0f;
