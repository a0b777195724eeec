#pragma once

#include <vector>

#include "frontend/GOButton.h"
#include "frontend/GameStateManager.h"
#include "resources/TextureId.h"
#include "math/Vector.h"

class GameObject;

// The picture the pause menu shows over itself (controls or credits), and whether it is up.
extern GameObject* popupPanel;
extern bool popupOpen;
// The options menu's mute switch; the game starts with sound.
extern bool menuMuted;

// One overlay menu. Menus draw nothing themselves: their buttons and panels are screen-space
// objects of the scene, drawn with the button list.
class BaseGameState {
public:
    virtual ~BaseGameState() = default;

    virtual int GetId() const { return id; }
    virtual void SetId(int newId) { id = newId; }
    virtual void Enter(int enteredId) { (void)enteredId; }
    virtual void Update() {}
    virtual void Render() {}
    virtual void Exit() {}

    // The selected button while the menu shows buttons, else -1.
    virtual int GetSelected() const { return -1; }

protected:
    int id = MENU_UNSET;
};

// What the three button menus share: the objects they put up (buttons first, then the highlight
// frame and the panel), the frame that follows the selection, and keyboard navigation.
class ButtonMenu : public BaseGameState {
public:
    static constexpr float kButtonDepth = 92.0f;
    static constexpr float kPanelDepth = 90.0f;

    void Update() override;
    void Exit() override;
    int GetSelected() const override { return selected; }

    int GetButtonCount() const { return buttonCount; }
    GOButton* GetButton(int index) const;
    GameObject* GetFrame() const { return frame; }
    const std::vector<GameObject*>& GetItems() const { return items; }

protected:
    void Begin(int count);
    GOButton* AddButton(TextureId textureId, const Vector3& position, GOButton::Action action);
    void AddFrame();
    void AddPanel(TextureId textureId, float scale);
    void MoveFrameToSelected();

    std::vector<GameObject*> items;
    GameObject* frame = nullptr;
    int buttonCount = 0;
    int selected = 0;
};

// The menu with id N. Ids 0 and 1 show nothing.
template <int N>
class GameState : public BaseGameState {};

// Resume, controls, options, credits and quit over the paused scene.
template <>
class GameState<MENU_PAUSE> : public ButtonMenu {
public:
    void Enter(int enteredId) override;
    // While a picture is up, Enter only closes it.
    void Update() override;
    void Exit() override;
};

// Full-screen, mute and back.
template <>
class GameState<MENU_OPTIONS> : public ButtonMenu {
public:
    void Enter(int enteredId) override;
};

// Confirm quitting, or back to the pause menu.
template <>
class GameState<MENU_QUIT> : public ButtonMenu {
public:
    void Enter(int enteredId) override;
};

// The menu actions, as the buttons run them.
void ResumeFromMenu();
void ShowPopupPicture(TextureId textureId);
void ToggleMenuMute();
