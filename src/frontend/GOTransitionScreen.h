#pragma once

#include <functional>

#include "math/Vector.h"
#include "scene/GameObject.h"

class UIRenderer;

// Where a transition screen starts or ends its slide.
enum TransitionSide : int {
    SIDE_OFF_LEFT = 0,
    SIDE_OFF_RIGHT = 1,
    SIDE_COVERING = 2,
};

// Set while a transition covers the screen or slides over it; the main menu hides its labels
// and enemies hold still meanwhile. Only a slide that ends off to the left clears it.
extern bool transitionActive;

// A full-screen black panel that slides across the screen in one second with an ease-in-out
// curve, covering or uncovering the scene between levels, and then runs its completion action
// every frame until the action deactivates it or the state changes.
class GOTransitionScreen : public GameObject {
public:
    using Action = std::function<void(GOTransitionScreen*)>;

    static constexpr float kDuration = 1.0f;
    static constexpr float kDepth = 100.0f;

    GOTransitionScreen();

    // Run by the pool on every hand-out; freezes Lirra until a slide ends.
    void Init() override;
    void Update() override;
    // A screen switched off before its slide ends (a state change) covers nothing any more.
    void SetActive(bool a) override;

    // Moves the screen to the side at once; an unknown side only records the choice.
    void SetFrom(int side);
    void SetTo(int side);
    void SetOnFinished(Action action) { onFinished = std::move(action); }

    float GetElapsed() const { return elapsed; }
    Vector3 GetFrom() const { return from; }
    Vector3 GetTo() const { return to; }
    int GetFromSide() const { return fromSide; }
    int GetToSide() const { return toSide; }
    UIRenderer* GetRenderer() const;

private:
    float elapsed = 0.0f;
    Vector3 from;
    Vector3 to;
    Action onFinished;
    int fromSide = SIDE_OFF_LEFT;
    int toSide = SIDE_COVERING;
};

// Position of a side (y 360, depth 100); false for a number that is not a side.
bool TransitionSidePosition(int side, Vector3* position);
// The quadratic ease-in-out from b by c over d at time t, unclamped.
float EaseInOutQuad(float t, float b, float c, float d);
