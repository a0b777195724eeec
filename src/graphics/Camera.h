#pragma once

#include "math/Vector.h"

// The 2D camera: a square of 20 x zoom world units stretched over the window.
class Camera {
public:
    void SetZoom(float z);
    float GetZoom() const { return zoom; }
    // The console steps zoom directly, without the lower bound.
    void StepZoom(float delta) { zoom += delta; }
    Vector3 GetPosition() const { return position; }
    void SetPosition(const Vector3& p);
    float GetHalfExtent() const { return halfExtent; }
    // Whether the point lies in the picture, or with `part` below 1 in that middle part of it.
    bool Shows(const Vector3& point, float part = 1.0f) const;
    void Reset();
    void UpdateMatrices();

    // Window pixel (origin top-left) to world point, through the depth under that pixel.
    Vector3 ScreenToWorld(const Vector3& windowPoint) const;
    // World point to a point of the 1024 x 720 screen space, whatever the window size.
    Vector3 WorldToScreen(const Vector3& worldPoint) const;
    void SetPolygonMode(unsigned int mode) const;

private:
    Vector3 position{0.0f, 0.0f, 0.0f};
    Vector3 target{0.0f, 0.0f, -1.0f};
    Vector3 up{0.0f, 1.0f, 0.0f};
    float zoom = 1.0f;
    float halfExtent = 10.0f;
};

Camera& GetCamera();
