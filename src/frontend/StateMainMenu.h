#pragma once

#include <vector>

#include "frontend/State.h"
#include "math/Vector.h"

class GameObject;
class GOGranny;
class GOSignpost;
class GOTile;

// The arrow-key hints beside Lirra, until the first Left or Right press.
extern GameObject* leftKeyHint;
extern GameObject* rightKeyHint;

// The main menu is a small playable scene: Lirra in the forest between Dired and the credits
// signpost, under the pulsing title. Talking to Dired opens the way to level 1.
class StateMainMenu : public State {
public:
    static constexpr float kPulseTime = 3.0f;

    StateMainMenu() : State(STATE_MAIN_MENU) {}

    void Load() override;
    void Update() override;
    void Render() override;
    void Unload() override;

    float GetFadeStart() const { return fadeStart; }
    GameObject* GetTitle() const { return title; }

    std::vector<GOTile*> tiles;
    GOGranny* granny = nullptr;
    GOSignpost* signpost = nullptr;
    GameObject* title = nullptr;

private:
    void LoadScene();
    void PlaceLirra();
    void PlaceDiredAndSignpost();
    void ShowTitle();
    void ShowKeyHints();
    void DrawLabels() const;

    float fadeStart = 0.0f;
};

// Where the main menu stands its figures and looks at them.
extern const Vector3 kMenuLirraStart;
extern const Vector3 kMenuDiredAt;
extern const Vector3 kMenuSignpostAt;
extern const Vector3 kMenuCameraAt;
constexpr float kMenuCameraZoom = 0.9f;
