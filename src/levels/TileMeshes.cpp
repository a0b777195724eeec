#include "levels/TileMeshes.h"

#include "graphics/Mesh.h"

void TileMeshTable::Build(int columnCount, int tileCount) {
    meshes.clear();
    columns = columnCount > 0 ? columnCount : 0;
    lastRow = 0;
    if (columns == 0 || tileCount <= 0) {
        return;
    }
    // The sheet is square: rows and columns share one cell size.
    const float u = 1.0f / static_cast<float>(columns);
    const int rows = tileCount / columns + (tileCount % columns != 0 ? 1 : 0);
    lastRow = rows - 1;
    meshes.reserve(static_cast<size_t>(tileCount));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns && count() < tileCount; ++column) {
            const float s = u * static_cast<float>(column);
            const float t = u * static_cast<float>(row);
            meshes.emplace_back(CreateQuad("EnvTile", glm::vec4(1.0f), 1.0f, s, s + u, t, t + u));
        }
    }
}

Mesh* TileMeshTable::Lookup(uint32_t index) const {
    if (index >= meshes.size()) {
        return nullptr;
    }
    return meshes[index].get();
}

TileMeshTable& GetTileMeshTable() {
    static TileMeshTable table;
    return table;
}

void BuildTileMeshTable(int columns, int count) {
    GetTileMeshTable().Build(columns, count);
}
