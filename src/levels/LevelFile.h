#pragma once

#include <string>
#include <vector>

class GOTile;
class GOCollider;
struct TileRecord;
struct MarkerRecord;

// One record of a read level made real: an active tile, or an active marker flagged `placed`
// and shown as a marker (a pooled one may have been an invisible box in an earlier level).
GOTile* PlaceTile(const TileRecord& record);
GOCollider* PlaceMarker(const MarkerRecord& record);

// Fills the scene from a ".env" level file: active tiles, and active markers flagged `placed`
// for SpawnFromMarkers. Either list, when given, receives the created objects in file order.
// The whole file is read and checked first: a file that cannot be opened or is damaged creates
// nothing (a damaged one is reported on standard output) and gives false.
bool LoadLevelFile(const std::string& path, std::vector<GOTile*>* tiles, std::vector<GOCollider*>* markers);

// Writes the tiles and markers as a level file. An empty tile list, a value that cannot be
// written or a place that cannot be written to gives false and leaves an existing file as it was.
bool SaveLevelFile(const std::string& path, const std::vector<GOTile*>& tiles, const std::vector<GOCollider*>& markers);
