#include "levels/GOCollider.h"

#include "graphics/Renderer.h"
#include "levels/LevelFileFormat.h"
#include "physics/Collider.h"

GOCollider::GOCollider() : GameObject(KIND_TILE_COLLIDER) {
    AddComponent<Collider>();
    AddComponent<Renderer>();
    ShowAsMarker();
    transform.SetPosition(0.0f, 0.0f, kMarkerDepth);
}

void GOCollider::ShowAsMarker() {
    if (Renderer* renderer = GetComponent<Renderer>()) {
        renderer->SetMesh(RED_QUAD);
        renderer->SetAlpha(kMarkerAlpha);
    }
}
