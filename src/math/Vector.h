#pragma once

#include <iosfwd>
#include <string>

// A 2D quantity of the game logic: screen points, sizes, directions.
struct Vector2 {
    float x = 0.0f;
    float y = 0.0f;

    Vector2() = default;
    Vector2(float x_, float y_) : x(x_), y(y_) {}

    float Length() const;
    Vector2 Normalized() const;
    void Normalize();

    Vector2 operator*(float s) const { return Vector2(x * s, y * s); }
};

// A 3D quantity: positions, velocities, scales; z is only ever a drawing depth.
struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vector3() = default;
    Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    float Length() const;
    float LengthSquared() const { return x * x + y * y + z * z; }
    float Dot(const Vector3& v) const { return x * v.x + y * v.y + z * v.z; }
    Vector3 Normalized() const;
    void Normalize();

    Vector3 operator+(const Vector3& v) const { return Vector3(x + v.x, y + v.y, z + v.z); }
    Vector3 operator-(const Vector3& v) const { return Vector3(x - v.x, y - v.y, z - v.z); }
    Vector3& operator+=(const Vector3& v) {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    Vector3& operator-=(const Vector3& v) {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    Vector3 operator*(float s) const { return Vector3(x * s, y * s, z * s); }
    Vector3 operator-() const { return *this * -1.0f; }
    bool operator==(const Vector3& v) const;
    bool operator!=(const Vector3& v) const { return !(*this == v); }

    // "(x, y, z)" with two decimals; never longer than 29 characters.
    std::string ToString() const;
};

std::ostream& operator<<(std::ostream& os, const Vector2& v);
std::ostream& operator<<(std::ostream& os, const Vector3& v);
