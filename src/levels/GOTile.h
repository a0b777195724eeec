#pragma once

#include <cstdint>

#include "scene/GameObject.h"

class GOTile;

// The tile-sheet cell a tile shows. Assigning it also gives the tile's renderer that cell's
// mesh, so what is stored and what is drawn never disagree.
class TileIndex {
public:
    explicit TileIndex(GOTile* tile_) : tile(tile_) {}
    TileIndex(const TileIndex&) = delete;

    TileIndex& operator=(uint32_t index);
    TileIndex& operator=(const TileIndex& other) { return *this = other.value; }
    operator uint32_t() const { return value; }

private:
    GOTile* const tile;
    uint32_t value = 0;
};

// One decorative cell of the tile sheet on a level's grid; z is its depth layer.
class GOTile : public GameObject {
public:
    // Texture of the tile sheet.

    GOTile();

    // The sheet is looked up again on every hand-out, so tiles follow a reloaded texture table.
    void Init() override;

    TileIndex tileIndex{this};
    // Kept in the level file for the level designers; the game does not use it.
    int32_t tileTag = 0;

private:
    friend class TileIndex;
    void ShowCell(uint32_t index);
};
