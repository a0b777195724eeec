#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class Mesh;

// One quad mesh per cell of the tile sheet, built once at start-up and kept for the whole run.
// Entry i shows the cell in column i mod columns and row i div columns, rows counted from the
// top of the sheet.
class TileMeshTable {
public:
    void Build(int columns, int tileCount);
    // Null at or above the count: such a tile draws nothing.
    Mesh* Lookup(uint32_t index) const;

    int count() const { return static_cast<int>(meshes.size()); }
    int GetColumns() const { return columns; }
    int GetLastRow() const { return lastRow; }

private:
    std::vector<std::unique_ptr<Mesh>> meshes;
    int columns = 0;
    int lastRow = 0;
};

TileMeshTable& GetTileMeshTable();

// Fills the table (the game uses 10 columns and 100 tiles); a second call replaces it.
void BuildTileMeshTable(int columns, int count);
