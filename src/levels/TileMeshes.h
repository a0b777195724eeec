#pragma once

// Cuts the tile sheet into one quad mesh per tile. (Being built.)
void BuildTileMeshTable(int columns, int count);
