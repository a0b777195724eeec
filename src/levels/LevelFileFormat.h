#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The ".env" level file as plain data: no objects, no GL. A file is a tile section, the line
// "Collider", then a marker section; one record a line, fields separated by single commas.

// One tile line: tileIndex,tileTag,x,y,z.
struct TileRecord {
    uint32_t tileIndex = 0;
    int32_t tileTag = 0;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    bool operator==(const TileRecord&) const = default;
};

// One marker line: markerName,width,height,x,y,markerValue. Markers always sit at kMarkerDepth.
struct MarkerRecord {
    std::string markerName = "TILE";
    float width = 0.0f;
    float height = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    float markerValue = 1.0f;

    bool operator==(const MarkerRecord&) const = default;
};

struct LevelData {
    std::vector<TileRecord> tiles;
    std::vector<MarkerRecord> markers;
};

constexpr float kMarkerDepth = 10.0f;
extern const char* const kColliderLine;

// Far beyond any level the editor makes; a file past them is damaged, not big.
constexpr size_t kMaxLevelFileSize = 16u << 20;
constexpr size_t kMaxLevelLineLength = 4096;
constexpr size_t kMaxLevelRecords = 1u << 18;

// Where and why a level text was refused; line 0 means the file as a whole.
struct LevelError {
    size_t line = 0;
    std::string reason;
    // The file was not there to read (or not readable at all): no damage to report.
    bool notOpened = false;
};

// Reads the whole text before anything is used, so a damaged file yields nothing at all.
// Fields a line leaves out keep the running position and box size of the lines before it; a
// marker without a name is a "TILE" of value 1. On failure `level` is left untouched.
bool ParseLevelText(std::string_view text, LevelData* level, LevelError* error);

// The file's text, floats in the C "%g" notation (six significant digits). Fails, leaving `text`
// alone, on a value that would not read back as written: a marker name with a comma or a
// control character, a number that is not finite.
bool FormatLevelText(const LevelData& level, std::string* text, LevelError* error);
std::string FormatLevelFloat(float value);

// False with error line 0 when the file cannot be opened (`notOpened`) or read.
bool ReadLevelData(const std::string& path, LevelData* level, LevelError* error);

// Writes `text` to a new file beside `path` and renames it over `path` only once every byte is
// on disk, so a failed or interrupted save leaves the old file whole.
bool WriteFileReplacing(const std::string& path, std::string_view text, std::string* error);

// The first step of WriteFileReplacing: the complete temporary file, not yet renamed. Returns
// its path, or an empty string (having removed any partial file) on failure.
std::string WriteTemporaryBeside(const std::string& path, std::string_view text, std::string* error);
