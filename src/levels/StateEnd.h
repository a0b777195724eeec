#pragma once

#include <vector>

#include "frontend/State.h"
#include "levels/Dialogue.h"

class GameObject;
class GOTile;

// The way home: the picture comes back from white, Lirra walks to Dired, the truth comes out,
// a look-alike wakes, the credits roll and the game returns to the main menu.
class StateEnd : public State {
public:
    StateEnd() : State(STATE_LEVEL_END) {}

    void Load() override;
    void Update() override;
    void Render() override;
    void Unload() override;

    std::vector<GOTile*> tiles;
    GameObject* dired = nullptr;
    GameObject* lookAlike = nullptr;
    int step = 0;
    float sinceLoad = 0.0f;
    float waitTimer = 0.0f;
    float homeTimer = 0.0f;
    float fadeTimer = 0.0f;
    float exposure = 0.5f;
    float gamma = 0.7f;
    float bloomIntensity = 1.0f;
    bool lineShown = false;
    bool controlsFreed = false;

private:
    void PlaceDired();
    void PlaceLookAlike();
    void PrepareVoices();
    void FadeIn(float dt);
    void RunScript(float dt);
    void WalkHome(float dt);
    void Revelation(float dt);
    void ShowCredits();
    void ReturnToMainMenu();
    void SayDired(const char* text, const Vector3& offsetFromCamera);
    void SayLirra(const char* text);
    // The script's odd steps wait for the line they started to close.
    void AdvanceStep() { ++step; }
};

// The two speakers of the ending; every line is a copy of one of them.
extern DialogueRequest diredVoice;
extern DialogueRequest lirraVoice;

// The credits roll: centred lines of the team and everyone who helped, ending "====End====".
const char* GetCreditsText();
