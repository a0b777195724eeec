#pragma once

#include "math/Vector.h"

class GameObject;

// Position, rotation (degrees about x, y, z) and scale of one object; z is the drawing depth.
struct Transform {
    Vector3 position{0.0f, 0.0f, 0.0f};
    Vector3 rotation{0.0f, 0.0f, 0.0f};
    Vector3 scale{1.0f, 1.0f, 1.0f};
    GameObject* owner = nullptr;

    Vector3 GetPosition() const { return position; }
    Vector3 GetRotation() const { return rotation; }
    Vector3 GetScale() const { return scale; }

    void SetPosition(float x, float y, float z) { position = Vector3(x, y, z); }
    void SetPosition(const Vector3& p) { position = p; }
    void Translate(float dx, float dy, float dz) { position += Vector3(dx, dy, dz); }
    void SetRotation(float x, float y, float z) { rotation = Vector3(x, y, z); }
    void SetRotation(const Vector3& r) { rotation = r; }
    void Rotate(float dx, float dy, float dz) { rotation += Vector3(dx, dy, dz); }
    // A component that is exactly 0 is stored as 2^-23, so no matrix is ever singular.
    void SetScale(float x, float y, float z);
    void SetScale(const Vector3& s) { SetScale(s.x, s.y, s.z); }
    void ScaleBy(float a, float b, float c) { SetScale(scale.x * a, scale.y * b, scale.z * c); }
    void Reset();
};
