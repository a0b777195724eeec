#pragma once

#include <functional>

#include "scene/GameObject.h"

class UIRenderer;

// A textured screen-space panel with a click action. The menus lay buttons out and fire the
// selected one from the keyboard; a button has no hover or mouse handling of its own.
class GOButton : public GameObject {
public:
    using Action = std::function<void(GOButton*)>;

    // Texture shown until the owning menu picks its own.

    GOButton();

    // Run by the pool on every hand-out: a plain quad of the default texture, pixel-perfect.
    void Init() override;

    void SetOnClick(Action action) { onClick = std::move(action); }
    // Runs the action only for a press, and only when there is one.
    void Click(bool pressed);
    bool HasAction() const { return static_cast<bool>(onClick); }

    UIRenderer* GetRenderer() const;

private:
    Action onClick;
};
