#pragma once

#include "physics/Collision.h"
#include "scene/Component.h"

// Draws every collider's outline when set (the console's "Collider Box" check box).
extern bool showColliderBoxes;

// Gives its object an axis-aligned box that follows the object's position and scale.
class Collider : public Component {
public:
    static constexpr const char* kName = "Collider";

    explicit Collider(GameObject* owner_) : Component(owner_) {}

    const char* GetName() const override { return kName; }
    bool IsCollider() const override { return true; }
    // Back to a unit box, and out of the scene's collision list at once.
    void Free() override;
    void Update() override;
    // The debug outline, only while showColliderBoxes is set.
    void Draw() override;

    // centre = owner position + offset, so the next test sees where the owner is now.
    void RefreshCenter();

    ColliderBox box;
    // Lirra passes through the box and cannot stand on it; it still counts for overlap tests.
    bool nonSolid = false;
};
