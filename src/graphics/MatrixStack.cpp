#include "graphics/MatrixStack.h"

#include <glm/gtc/matrix_transform.hpp>

#include "math/Vector.h"
#include "scene/Transform.h"

MatrixStack::MatrixStack() {
    matrices.push_back(glm::mat4(1.0f));
}

void MatrixStack::Push() {
    matrices.push_back(matrices.back());
}

void MatrixStack::Pop() {
    // The bottom matrix stays: an unmatched pop must not leave the stack without a top.
    if (matrices.size() > 1) {
        matrices.pop_back();
    }
}

void MatrixStack::LoadIdentity() {
    matrices.back() = glm::mat4(1.0f);
}

void MatrixStack::Load(const glm::mat4& m) {
    matrices.back() = m;
}

void MatrixStack::Translate(float x, float y, float z) {
    matrices.back() = glm::translate(matrices.back(), glm::vec3(x, y, z));
}

void MatrixStack::Scale(float x, float y, float z) {
    matrices.back() = glm::scale(matrices.back(), glm::vec3(x, y, z));
}

void MatrixStack::Rotate(float degrees, const glm::vec3& axis) {
    // Most sprites are not turned: a turn by nothing is the identity, and skipping it saves the
    // three rotations of every drawn object.
    if (degrees == 0.0f) {
        return;
    }
    matrices.back() = glm::rotate(matrices.back(), degrees * 0.017453292f, axis);
}

void MatrixStack::LookAt(const Vector3& eye, const Vector3& centre, const Vector3& up) {
    matrices.back() =
        matrices.back() * glm::lookAt(glm::vec3(eye.x, eye.y, eye.z), glm::vec3(centre.x, centre.y, centre.z),
                                      glm::vec3(up.x, up.y, up.z));
}

void MatrixStack::ApplyTransform(const Transform& transform) {
    Push();
    Translate(transform.position.x, transform.position.y, transform.position.z);
    Rotate(transform.rotation.y, glm::vec3(0.0f, 1.0f, 0.0f));
    Rotate(transform.rotation.z, glm::vec3(0.0f, 0.0f, 1.0f));
    Rotate(transform.rotation.x, glm::vec3(1.0f, 0.0f, 0.0f));
    Scale(transform.scale.x, transform.scale.y, transform.scale.z);
}

MatrixStack& GetProjectionStack() {
    static MatrixStack stack;
    return stack;
}

MatrixStack& GetViewStack() {
    static MatrixStack stack;
    return stack;
}

MatrixStack& GetModelStack() {
    static MatrixStack stack;
    return stack;
}
