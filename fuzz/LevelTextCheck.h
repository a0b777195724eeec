#pragma once

#include <string>
#include <string_view>

#include "levels/LevelFileFormat.h"

// What must hold for any bytes handed to the level reader: a refusal says why, and a level that
// is accepted writes out as a text that reads back to the very same text. Returns the broken
// rule, or an empty string.
inline std::string CheckLevelText(std::string_view text) {
    LevelData level;
    LevelError error;
    if (!ParseLevelText(text, &level, &error)) {
        if (error.reason.empty()) {
            return "a refusal without a reason";
        }
        if (!level.tiles.empty() || !level.markers.empty()) {
            return "a refusal that left records behind";
        }
        return std::string();
    }
    std::string written;
    if (!FormatLevelText(level, &written, &error)) {
        return "an accepted level that cannot be written: " + error.reason;
    }
    LevelData reread;
    if (!ParseLevelText(written, &reread, &error)) {
        return "a written level that does not read back: line " + std::to_string(error.line) + ", " + error.reason;
    }
    if (reread.tiles.size() != level.tiles.size() || reread.markers.size() != level.markers.size()) {
        return "a written level that reads back with other counts";
    }
    for (size_t i = 0; i < level.tiles.size(); ++i) {
        if (reread.tiles[i].tileIndex != level.tiles[i].tileIndex ||
            reread.tiles[i].tileTag != level.tiles[i].tileTag) {
            return "tile " + std::to_string(i) + " reads back with another index or tag";
        }
    }
    for (size_t i = 0; i < level.markers.size(); ++i) {
        if (reread.markers[i].markerName != level.markers[i].markerName) {
            return "marker " + std::to_string(i) + " reads back with another name";
        }
    }
    std::string rewritten;
    if (!FormatLevelText(reread, &rewritten, &error) || rewritten != written) {
        return "a level written twice gives two texts";
    }
    return std::string();
}
