#include "levels/GOTile.h"

#include "graphics/MatrixStack.h"
#include "levels/TileMeshes.h"

TileIndex& TileIndex::operator=(uint32_t index) {
    value = index;
    tile->ShowCell(index);
    return *this;
}

void TileRenderer::Draw() {
    if (mesh == nullptr || !owner->IsActive()) {
        return;
    }
    const Mesh* drawn = AlphaTestDiscardsTransparent() ? GetTileMeshTable().DrawnShape(mesh, texture) : mesh;
    if (drawn->GetIndexCount() == 0) {
        return;
    }
    GetModelStack().ApplyTransform(owner->GetTransform());
    drawn->Draw(texture, alpha, tint);
    GetModelStack().Pop();
}

GOTile::GOTile() : GameObject(KIND_TILE) {
    Renderer* renderer = AddComponent<TileRenderer>();
    renderer->SetTexture(kTileSheetTexture);
    ShowCell(tileIndex);
}

void GOTile::Init() {
    if (Renderer* renderer = GetComponent<Renderer>()) {
        renderer->SetTexture(kTileSheetTexture);
    }
}

void GOTile::ShowCell(uint32_t index) {
    if (Renderer* renderer = GetComponent<Renderer>()) {
        renderer->SetMesh(GetTileMeshTable().Lookup(index));
    }
}
