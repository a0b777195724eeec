#include "scene/Transform.h"

namespace {

constexpr float kSmallestScale = 1.1920929e-7f;

float NonZero(float value) {
    return value == 0.0f ? kSmallestScale : value;
}

}  // namespace

void Transform::SetScale(float x, float y, float z) {
    scale = Vector3(NonZero(x), NonZero(y), NonZero(z));
}

void Transform::Reset() {
    position = Vector3(0.0f, 0.0f, 0.0f);
    scale = Vector3(1.0f, 1.0f, 1.0f);
    rotation = Vector3(0.0f, 0.0f, 0.0f);
}
