#include "levels/TileMeshes.h"

#include "graphics/Mesh.h"
#include "graphics/SpanMesh.h"
#include "graphics/Texture.h"

void TileMeshTable::Build(int columnCount, int tileCount) {
    meshes.clear();
    cellOf.clear();
    shapes.clear();
    shapedSheet = nullptr;
    shapedId = 0;
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
            cellOf[meshes.back().get()] = meshes.size() - 1;
        }
    }
}

Mesh* TileMeshTable::Lookup(uint32_t index) const {
    if (index >= meshes.size()) {
        return nullptr;
    }
    return meshes[index].get();
}

const Mesh* TileMeshTable::DrawnShape(const Mesh* cell, const Texture* sheet) {
    const auto found = cellOf.find(cell);
    if (sheet == nullptr || found == cellOf.end()) {
        return cell;
    }
    if (sheet != shapedSheet || sheet->GetId() != shapedId) {
        ShapeCells(sheet);
    }
    return shapes.empty() ? cell : shapes[found->second].get();
}

void TileMeshTable::ShapeCells(const Texture* sheet) {
    shapes.clear();
    shapedSheet = sheet;
    shapedId = sheet->GetId();
    const AlphaImage image = ReadAlpha(sheet);
    // Each cell must span whole texels, or its span mesh would not sample where its quad does.
    if (image.alpha.empty() || columns == 0 || image.width % columns != 0 || image.height % columns != 0) {
        return;
    }
    const int cellWidth = image.width / columns;
    const int cellHeight = image.height / columns;
    shapes.reserve(meshes.size());
    for (size_t i = 0; i < meshes.size(); ++i) {
        const int column = static_cast<int>(i) % columns;
        const int row = static_cast<int>(i) / columns;
        const TexelRect rect{column * cellWidth, row * cellHeight, (column + 1) * cellWidth, (row + 1) * cellHeight};
        shapes.push_back(MakeSpanMesh("EnvTileSpans", image, rect, cellHeight));
    }
}

TileMeshTable& GetTileMeshTable() {
    static TileMeshTable table;
    return table;
}

void BuildTileMeshTable(int columns, int count) {
    GetTileMeshTable().Build(columns, count);
}
