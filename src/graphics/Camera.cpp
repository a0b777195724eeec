#include "graphics/Camera.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "graphics/MatrixStack.h"
#include "platform/Window.h"

void Camera::SetZoom(float z) {
    zoom = std::max(z, 0.01f);
}

void Camera::SetPosition(const Vector3& p) {
    position = p;
    target = p + Vector3(0.0f, 0.0f, -1.0f);
}

bool Camera::Shows(const Vector3& point, float part) const {
    const float reach = part * zoom * 10.0f;
    return std::fabs(point.x - position.x) <= reach && std::fabs(point.y - position.y) <= reach;
}

void Camera::Reset() {
    SetZoom(1.0f);
    SetPosition(Vector3(0.0f, 0.0f, 0.0f));
}

void Camera::UpdateMatrices() {
    halfExtent = zoom * 10.0f;
    GetProjectionStack().Load(glm::ortho(-halfExtent, halfExtent, -halfExtent, halfExtent, -100.0f, 100.0f));
    GetViewStack().LoadIdentity();
    GetViewStack().LookAt(position, target, up);
    GetModelStack().LoadIdentity();
}

Vector3 Camera::ScreenToWorld(const Vector3& windowPoint) const {
    glm::ivec4 viewport;
    glGetIntegerv(GL_VIEWPORT, &viewport[0]);
    const float y = static_cast<float>(viewport[3]) - windowPoint.y;
    float depth = 0.0f;
    glReadPixels(static_cast<int>(windowPoint.x), static_cast<int>(y), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    const glm::mat4 modelView = GetViewStack().Top() * GetModelStack().Top();
    const glm::vec3 world =
        glm::unProject(glm::vec3(windowPoint.x, y, depth), modelView, GetProjectionStack().Top(), glm::vec4(viewport));
    return Vector3(world.x, world.y, world.z);
}

Vector3 Camera::WorldToScreen(const Vector3& worldPoint) const {
    glm::vec4 clip =
        GetProjectionStack().Top() * GetViewStack().Top() * glm::vec4(worldPoint.x, worldPoint.y, worldPoint.z, 1.0f);
    if (clip.w != 0.0f) {
        clip /= clip.w;
    }
    return Vector3((clip.x + 1.0f) / 2.0f * kScreenWidth, (clip.y + 1.0f) / 2.0f * kScreenHeight, 0.0f);
}

void Camera::SetPolygonMode(unsigned int mode) const {
    glPolygonMode(GL_FRONT_AND_BACK, mode);
}

Camera& GetCamera() {
    static Camera camera;
    return camera;
}
