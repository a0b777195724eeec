#include "math/Vector.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "base/Log.h"
#include "math/MathUtil.h"

float Vector2::Length() const {
    return std::sqrt(x * x + y * y);
}

Vector2 Vector2::Normalized() const {
    const float length = Length();
    if (ApproxEqual(length, 0.0f)) {
        Log("Detected Vector2 Division by Zero");
        return *this;
    }
    return *this * (1.0f / length);
}

void Vector2::Normalize() {
    *this = Normalized();
}

float Vector3::Length() const {
    return std::sqrt(LengthSquared());
}

Vector3 Vector3::Normalized() const {
    const float length = Length();
    if (ApproxEqual(length, 0.0f)) {
        Log("Detected Vector3 Division by Zero");
        return *this;
    }
    return *this * (1.0f / length);
}

void Vector3::Normalize() {
    *this = Normalized();
}

bool Vector3::operator==(const Vector3& v) const {
    return ApproxEqual(x, v.x) && ApproxEqual(y, v.y) && ApproxEqual(z, v.z);
}

std::string Vector3::ToString() const {
    constexpr size_t kMaxLength = 29;
    const float clampedZ = Clamp(z, -1000000.0f, 1000000.0f);
    char text[kMaxLength + 1];
    // snprintf stops at the buffer's end, so a huge x or y is cut rather than overflowing.
    std::snprintf(text, sizeof(text), "(%.2f, %.2f, %.2f)", x, y, clampedZ);
    return text;
}

std::ostream& operator<<(std::ostream& os, const Vector2& v) {
    return os << v.x << "," << v.y;
}

std::ostream& operator<<(std::ostream& os, const Vector3& v) {
    return os << v.x << "," << v.y << "," << v.z;
}
