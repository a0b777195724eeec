#pragma once

#include "math/Vector.h"
#include "scene/GameObject.h"

// A soul: Purple and Fire souls trail Lirra in a chain, Green ones float in place, bobbing.
// A consumed soul flies into Lirra and bursts into sparks.
class GOSoul : public GameObject {
public:
    GOSoul();

    void Init() override;
    void Update() override;

    // random: Fire when Lirra is at half health or less, else Fire or Purple by chance.
    // Otherwise 1 or 2 as given, and 3 makes a Green soul that bobs around where it is now.
    void SetKind(bool random, int kind);
    int GetKind() const { return soulKind; }
    void SetFollowTarget(GameObject* target) { followTarget = target; }
    GameObject* GetFollowTarget() const { return followTarget; }
    void SetConsumed(bool value) { consumed = value; }
    bool IsConsumed() const { return consumed; }

    Vector3 velocity{0.0f, 0.0f, 0.0f};
    Vector3 home{0.0f, 0.0f, 0.0f};
    GameObject* followTarget = nullptr;
    bool consumed = false;
    float alpha = 0.0f;
    float pulseTime = 0.0f;
    int soulKind = 1;

private:
    void Pulse(float dt);
    void Bob(float dt);
    void Follow(float dt);
    void Burst();
};
