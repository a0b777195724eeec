#include "frontend/GameState.h"

#include <GLFW/glfw3.h>

#include <cstring>

#include "audio/Audio.h"
#include "frontend/GameStateManager.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "graphics/Renderer.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "scene/SceneManager.h"

GameObject* popupPanel = nullptr;
bool popupOpen = false;
bool menuMuted = false;

namespace {

const Vector3 kMenuCentre(512.0f, 360.0f, 90.0f);

const Vector3 kButtonScale(300.0f, 100.0f, 1.0f);
const Vector3 kFrameScale(350.0f, 150.0f, 1.0f);
constexpr float kPopupDepth = 96.0f;
constexpr float kPopupScale = 1000.0f;

// A fresh screen object from the button pool showing `textureId`, sized to the texture's
// pixel proportions and then by `scale`.
GOButton* TakeScreenObject(TextureId textureId, const Vector3& position, const Vector3& scale) {
    GOButton* object = GetScene().GetButton();
    if (UIRenderer* renderer = object->GetRenderer()) {
        renderer->SetTexture(textureId);
        if (renderer->GetTexture() != nullptr) {
            renderer->SetPixelPerfect();
        }
    }
    object->GetTransform().ScaleBy(scale.x, scale.y, scale.z);
    object->GetTransform().SetPosition(position);
    object->SetActive(true);
    return object;
}

void SwitchMenu(int id) {
    GetGameStateManager().SwitchTo(id);
}

bool InMainMenu() {
    const State* state = GetCurrentState();
    return state != nullptr && std::strcmp(state->GetName(), "Main Menu") == 0;
}

}  // namespace

void ResumeFromMenu() {
    SwitchMenu(InMainMenu() ? MENU_NONE_MAIN_MENU : MENU_NONE_PLAYING);
    SetMasterVolume(1.0f);
}

void ShowPopupPicture(TextureId textureId) {
    popupPanel = TakeScreenObject(textureId, Vector3(kMenuCentre.x, kMenuCentre.y, kPopupDepth),
                                  Vector3(kPopupScale, kPopupScale, 1.0f));
    popupOpen = true;
}

void ToggleMenuMute() {
    menuMuted = !menuMuted;
    SetMute(menuMuted);
}

GOButton* ButtonMenu::GetButton(int index) const {
    if (index < 0 || index >= buttonCount || index >= static_cast<int>(items.size())) {
        return nullptr;
    }
    return static_cast<GOButton*>(items[static_cast<size_t>(index)]);
}

void ButtonMenu::Begin(int count) {
    items.clear();
    frame = nullptr;
    buttonCount = count;
    selected = 0;
}

GOButton* ButtonMenu::AddButton(TextureId textureId, const Vector3& position, GOButton::Action action) {
    GOButton* button = TakeScreenObject(textureId, position, kButtonScale);
    button->SetOnClick(std::move(action));
    items.push_back(button);
    return button;
}

void ButtonMenu::AddFrame() {
    Vector3 at = items.empty() ? kMenuCentre : items.front()->GetTransform().GetPosition();
    at.z = kButtonDepth;
    frame = TakeScreenObject(TextureId::ButtonFrame, at, kFrameScale);
    items.push_back(frame);
}

void ButtonMenu::AddPanel(TextureId textureId, float scale) {
    items.push_back(TakeScreenObject(textureId, kMenuCentre, Vector3(scale, scale, 1.0f)));
}

void ButtonMenu::MoveFrameToSelected() {
    const GOButton* button = GetButton(selected);
    if (frame != nullptr && button != nullptr) {
        frame->GetTransform().SetPosition(button->GetTransform().GetPosition());
    }
}

void ButtonMenu::Update() {
    if (buttonCount <= 0) {
        return;
    }
    if (IsTriggered(GLFW_KEY_UP)) {
        selected = selected - 1 < 0 ? buttonCount - 1 : selected - 1;
        MoveFrameToSelected();
    }
    if (IsTriggered(GLFW_KEY_DOWN)) {
        selected = selected + 1 >= buttonCount ? 0 : selected + 1;
        MoveFrameToSelected();
    }
    if (IsTriggered(GLFW_KEY_ENTER)) {
        if (GOButton* button = GetButton(selected)) {
            // The action may switch menus, which takes this menu's objects down: nothing after it.
            button->Click(true);
        }
    }
}

void ButtonMenu::Exit() {
    for (GameObject* item : items) {
        item->SetActive(false);
    }
    items.clear();
    frame = nullptr;
}

void GameState<MENU_PAUSE>::Enter(int enteredId) {
    (void)enteredId;
    Begin(5);
    popupOpen = false;
    const float s = 300.0f / 4.0f;
    const float cx = kMenuCentre.x;
    const float cy = kMenuCentre.y;
    AddButton(TextureId::ButtonResume, Vector3(cx - (1.5f * s + 40.0f), cy + s - 40.0f, kButtonDepth),
              [](GOButton*) { ResumeFromMenu(); });
    AddButton(TextureId::ButtonControls, Vector3(cx + 1.5f * s + 40.0f, cy + s - 40.0f, kButtonDepth),
              [](GOButton*) { ShowPopupPicture(TextureId::PanelControls); });
    AddButton(TextureId::ButtonOptions, Vector3(cx - (1.5f * s + 40.0f), cy - 60.0f, kButtonDepth),
              [](GOButton*) { SwitchMenu(MENU_OPTIONS); });
    AddButton(TextureId::ButtonCredits, Vector3(cx + 1.5f * s + 40.0f, cy - 60.0f, kButtonDepth),
              [](GOButton*) { ShowPopupPicture(TextureId::PanelCredits); });
    AddButton(TextureId::ButtonExit, Vector3(cx, cy - (s + 80.0f), kButtonDepth),
              [](GOButton*) { SwitchMenu(MENU_QUIT); });
    AddFrame();
    AddPanel(TextureId::PanelPause, 1000.0f);
}

void GameState<MENU_PAUSE>::Update() {
    if (popupOpen) {
        if (IsTriggered(GLFW_KEY_ENTER)) {
            if (popupPanel != nullptr) {
                popupPanel->SetActive(false);
                popupPanel = nullptr;
            }
            popupOpen = false;
        }
        return;
    }
    ButtonMenu::Update();
}

void GameState<MENU_PAUSE>::Exit() {
    if (popupPanel != nullptr) {
        popupPanel->SetActive(false);
        popupPanel = nullptr;
    }
    popupOpen = false;
    ButtonMenu::Exit();
}

void GameState<MENU_OPTIONS>::Enter(int enteredId) {
    (void)enteredId;
    Begin(3);
    const float s = 300.0f / 3.0f;
    const float cx = kMenuCentre.x;
    const float cy = kMenuCentre.y;
    AddButton(TextureId::ButtonFullscreen, Vector3(cx, cy + s - 40.0f, 96.0f), [](GOButton*) { ToggleFullscreen(); });
    AddButton(TextureId::ButtonMute, Vector3(cx, cy - 40.0f, kButtonDepth), [](GOButton*) { ToggleMenuMute(); });
    AddButton(TextureId::ButtonBack, Vector3(cx, cy - (s + 40.0f), 96.0f), [](GOButton*) { SwitchMenu(MENU_PAUSE); });
    AddFrame();
    AddPanel(TextureId::PanelOptions, 800.0f);
}

void GameState<MENU_QUIT>::Enter(int enteredId) {
    (void)enteredId;
    Begin(2);
    const float s = 100.0f / 2.0f;
    const float cx = kMenuCentre.x;
    const float cy = kMenuCentre.y;
    AddButton(TextureId::ButtonConfirm, Vector3(cx, cy + s - 40.0f, kButtonDepth), [](GOButton*) { RequestQuit(); });
    AddButton(TextureId::ButtonBack, Vector3(cx, cy - (s + 40.0f), kButtonDepth),
              [](GOButton*) { SwitchMenu(MENU_PAUSE); });
    AddFrame();
    AddPanel(TextureId::PanelConfirm, 800.0f);
}
