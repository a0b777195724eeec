#include "levels/GOTile.h"

#include "graphics/Renderer.h"
#include "levels/TileMeshes.h"

TileIndex& TileIndex::operator=(uint32_t index) {
    value = index;
    tile->ShowCell(index);
    return *this;
}

GOTile::GOTile() : GameObject(KIND_TILE) {
    Renderer* renderer = AddComponent<Renderer>();
    renderer->SetTexture(TextureId::ForestTileset);
    ShowCell(tileIndex);
}

void GOTile::Init() {
    if (Renderer* renderer = GetComponent<Renderer>()) {
        renderer->SetTexture(TextureId::ForestTileset);
    }
}

void GOTile::ShowCell(uint32_t index) {
    if (Renderer* renderer = GetComponent<Renderer>()) {
        renderer->SetMesh(GetTileMeshTable().Lookup(index));
    }
}
