#pragma once

#include <deque>
#include <glm/glm.hpp>

struct Transform;
struct Vector3;

// A stack of 4 x 4 matrices whose top feeds every draw's MVP.
class MatrixStack {
public:
    MatrixStack();

    void Push();
    void Pop();
    const glm::mat4& Top() const { return matrices.back(); }
    size_t Depth() const { return matrices.size(); }

    void LoadIdentity();
    void Load(const glm::mat4& m);
    void Translate(float x, float y, float z);
    void Scale(float x, float y, float z);
    void Rotate(float degrees, const glm::vec3& axis);
    void LookAt(const Vector3& eye, const Vector3& centre, const Vector3& up);
    // Push, then translate, rotate about Y, then Z, then X, then scale. The caller pops.
    void ApplyTransform(const Transform& transform);

private:
    std::deque<glm::mat4> matrices;
};

MatrixStack& GetProjectionStack();
MatrixStack& GetViewStack();
MatrixStack& GetModelStack();
