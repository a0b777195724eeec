#include "graphics/Renderer.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>

#include "base/Log.h"
#include "graphics/MatrixStack.h"
#include "graphics/Texture.h"
#include "math/MathUtil.h"
#include "platform/Window.h"
#include "resources/ResourceLoader.h"
#include "scene/GameObject.h"

void Renderer::SetTexture(TextureId textureId) {
    texture = GetResources().LookupTexture(textureId);
}

void Renderer::SetMesh(MeshType type) {
    mesh = GetResources().LookupMesh(type);
}

void Renderer::SetAlpha(float value) {
    alpha = Clamp(value, 0.0f, 1.0f);
}

void Renderer::DrawMesh() const {
    GetModelStack().ApplyTransform(owner->GetTransform());
    mesh->Draw(texture, alpha, tint);
    GetModelStack().Pop();
}

void Renderer::Draw() {
    if (mesh == nullptr || !owner->IsActive()) {
        return;
    }
    DrawMesh();
}

void Renderer::SetPixelPerfect() {
    if (texture == nullptr) {
        Log("SetPixelPerfect Failed: Texture not set!");
        return;
    }
    const Vector2 size = texture->GetSize();
    Vector2 v(size.x / kScreenWidth, size.y / kScreenHeight);
    v.Normalize();
    owner->GetTransform().SetScale(v.x, v.y, 1.0f);
}

void UIRenderer::Draw() {
    if (mesh == nullptr) {
        return;
    }
    MatrixStack& projection = GetProjectionStack();
    MatrixStack& view = GetViewStack();
    projection.Push();
    projection.Load(
        glm::ortho(0.0f, static_cast<float>(kScreenWidth), 0.0f, static_cast<float>(kScreenHeight), -100.0f, 100.0f));
    view.Push();
    view.LoadIdentity();
    if (ignoreDepth) {
        glDisable(GL_DEPTH_TEST);
    }
    DrawMesh();
    if (ignoreDepth) {
        glEnable(GL_DEPTH_TEST);
    }
    view.Pop();
    projection.Pop();
}

void UIRenderer::SetPixelPerfect() {
    if (texture == nullptr) {
        Log("SetPixelPerfect Failed: Texture not set!");
        return;
    }
    const Vector2 size = texture->GetSize();
    Vector3 v(kScreenWidth * size.x, kScreenHeight * size.y, 0.0f);
    v.Normalize();
    owner->GetTransform().SetScale(v.x, v.y, 1.0f);
}
