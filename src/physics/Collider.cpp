#include "physics/Collider.h"

#include <GL/glew.h>

#include <cmath>

#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "resources/ResourceLoader.h"
#include "scene/GameObject.h"
#include "scene/SceneManager.h"

bool showColliderBoxes = false;

void Collider::Free() {
    box.width = 1.0f;
    box.height = 1.0f;
    box.widthFactor = 1.0f;
    box.heightFactor = 1.0f;
    box.offset = Vector3(0.0f, 0.0f, 0.0f);
    if (SceneExists()) {
        GetScene().RemoveFromCollidables(owner);
    }
}

void Collider::Update() {
    RefreshCenter();
    const Vector3 scale = owner->GetTransform().GetScale();
    box.width = box.widthFactor * std::fabs(scale.x);
    box.height = box.heightFactor * std::fabs(scale.y);
}

void Collider::RefreshCenter() {
    box.center = owner->GetTransform().GetPosition() + box.offset;
}

void Collider::Draw() {
    if (!showColliderBoxes) {
        return;
    }
    GLint savedPolygonMode[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, savedPolygonMode);

    // The outline sits one unit in front of its object, unrotated, at the box's own size.
    Transform outline = owner->GetTransform();
    outline.Translate(box.offset.x, box.offset.y, 1.0f);
    outline.SetRotation(0.0f, 0.0f, 0.0f);
    outline.SetScale(box.width, box.height, 1.0f);
    GetModelStack().ApplyTransform(outline);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    if (const Mesh* greenQuad = GetResources().LookupMesh(GREEN_QUAD)) {
        greenQuad->Draw(nullptr, 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    }
    glPolygonMode(GL_FRONT_AND_BACK, savedPolygonMode[0]);
    GetModelStack().Pop();
}
