#include "levels/LevelFile.h"

#include "base/Log.h"
#include "levels/GOCollider.h"
#include "levels/GOTile.h"
#include "levels/LevelFileFormat.h"
#include "physics/Collider.h"
#include "scene/SceneManager.h"

namespace {

void ReportDamagedFile(const std::string& path, const LevelError& error) {
    Log("Invalid file data detected!\n");
    Log("Level file '%s', line %zu: %s\n", path.c_str(), error.line, error.reason.c_str());
}

TileRecord RecordOf(const GOTile& tile) {
    const Vector3 position = tile.GetTransform().GetPosition();
    return TileRecord{tile.tileIndex, tile.tileTag, position.x, position.y, position.z};
}

MarkerRecord RecordOf(const GOCollider& marker) {
    const Vector3 position = marker.GetTransform().GetPosition();
    return MarkerRecord{marker.markerName, marker.GetWidth(), marker.GetHeight(),
                        position.x,        position.y,        marker.markerValue};
}

}  // namespace

GOTile* PlaceTile(const TileRecord& record) {
    GOTile* tile = GetScene().GetTile(0);
    tile->SetActive(true);
    tile->tileIndex = record.tileIndex;
    tile->tileTag = record.tileTag;
    tile->GetTransform().SetPosition(record.x, record.y, record.z);
    return tile;
}

GOCollider* PlaceMarker(const MarkerRecord& record) {
    GOCollider* marker = GetScene().GetCollider();
    marker->SetActive(true);
    marker->placed = true;
    marker->markerName = record.markerName;
    marker->markerValue = record.markerValue;
    marker->GetTransform().SetScale(record.width, record.height, 1.0f);
    marker->GetTransform().SetPosition(record.x, record.y, kMarkerDepth);
    // A pooled marker may have been realised as an invisible box by an earlier level.
    marker->ShowAsMarker();
    return marker;
}

bool LoadLevelFile(const std::string& path, std::vector<GOTile*>* tiles, std::vector<GOCollider*>* markers) {
    LevelData level;
    LevelError error;
    if (!ReadLevelData(path, &level, &error)) {
        // A file that is not there is the level state's to report.
        if (!error.notOpened) {
            ReportDamagedFile(path, error);
        }
        return false;
    }
    for (const TileRecord& record : level.tiles) {
        GOTile* tile = PlaceTile(record);
        if (tiles != nullptr) {
            tiles->push_back(tile);
        }
    }
    for (const MarkerRecord& record : level.markers) {
        GOCollider* marker = PlaceMarker(record);
        if (markers != nullptr) {
            markers->push_back(marker);
        }
    }
    return true;
}

bool SaveLevelFile(const std::string& path, const std::vector<GOTile*>& tiles,
                   const std::vector<GOCollider*>& markers) {
    if (tiles.empty()) {
        return false;
    }
    LevelData level;
    level.tiles.reserve(tiles.size());
    level.markers.reserve(markers.size());
    for (const GOTile* tile : tiles) {
        level.tiles.push_back(RecordOf(*tile));
    }
    for (const GOCollider* marker : markers) {
        level.markers.push_back(RecordOf(*marker));
    }
    std::string text;
    LevelError formatError;
    if (!FormatLevelText(level, &text, &formatError)) {
        Log("Level not saved to '%s': %s\n", path.c_str(), formatError.reason.c_str());
        return false;
    }
    std::string writeError;
    if (!WriteFileReplacing(path, text, &writeError)) {
        Log("Level not saved: %s\n", writeError.c_str());
        return false;
    }
    return true;
}
