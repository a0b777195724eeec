#include "levels/TileMeshes.h"

void BuildTileMeshTable(int, int) {}
