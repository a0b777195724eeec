#include "levels/LevelFileFormat.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

const char* const kColliderLine = "Collider";

namespace {

constexpr size_t kTileFieldCount = 5;

// What a line of either section keeps from the lines before it.
struct RunningValues {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

class LevelParser {
public:
    LevelParser(LevelData* level_, LevelError* error_) : level(*level_), error(*error_) {}

    bool ParseLine(std::string_view line);
    void NextLine() { ++lineNumber; }

private:
    bool ParseTileLine();
    bool ParseMarkerLine();
    bool Fail(const std::string& reason);
    bool ToFloat(std::string_view field, float* value);
    template <typename T>
    bool ToInteger(std::string_view field, T* value);

    LevelData& level;
    LevelError& error;
    size_t lineNumber = 1;
    bool inMarkers = false;
    RunningValues running;
    std::vector<std::string_view> fields;
};

// As successive getline(',') calls see it: an empty line has no field, and a trailing comma
// ends the last field instead of starting an empty one.
void SplitFields(std::string_view line, std::vector<std::string_view>* fields) {
    fields->clear();
    size_t start = 0;
    while (start < line.size()) {
        const size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields->push_back(line.substr(start));
            return;
        }
        fields->push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

// The number in a field, without the blanks around it or a leading plus sign.
std::string_view NumberText(std::string_view field) {
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) {
        field.remove_prefix(1);
    }
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) {
        field.remove_suffix(1);
    }
    if (field.size() > 1 && field.front() == '+' && field[1] != '-') {
        field.remove_prefix(1);
    }
    return field;
}

// Printable text only: a control byte in a name means the file is damaged, and a comma or a line
// end could not be written back.
bool IsWritableName(std::string_view name) {
    for (const char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == ',') {
            return false;
        }
    }
    return true;
}

std::string Quoted(std::string_view field) {
    constexpr size_t kShown = 40;
    std::string shown;
    for (const char c : field.substr(0, kShown)) {
        const unsigned char byte = static_cast<unsigned char>(c);
        shown += (byte < 0x20 || byte >= 0x7f) ? '?' : c;
    }
    return "'" + shown + (field.size() > kShown ? "...'" : "'");
}

bool LevelParser::Fail(const std::string& reason) {
    error.line = lineNumber;
    error.reason = reason;
    return false;
}

bool LevelParser::ToFloat(std::string_view field, float* value) {
    const std::string_view number = NumberText(field);
    float parsed = 0.0f;
    const auto [end, status] = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (status == std::errc::result_out_of_range) {
        return Fail(Quoted(field) + " is out of range");
    }
    if (status != std::errc() || end != number.data() + number.size() || number.empty()) {
        return Fail(Quoted(field) + " is not a number");
    }
    if (!std::isfinite(parsed)) {
        return Fail(Quoted(field) + " is not a finite number");
    }
    *value = parsed;
    return true;
}

template <typename T>
bool LevelParser::ToInteger(std::string_view field, T* value) {
    const std::string_view number = NumberText(field);
    T parsed = 0;
    const auto [end, status] = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (status == std::errc::result_out_of_range) {
        return Fail(Quoted(field) + " is out of range");
    }
    if (status != std::errc() || end != number.data() + number.size() || number.empty()) {
        return Fail(Quoted(field) + " is not a whole number");
    }
    *value = parsed;
    return true;
}

bool LevelParser::ParseLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (line.size() > kMaxLevelLineLength) {
        return Fail("the line is " + std::to_string(line.size()) + " characters long");
    }
    if (line == kColliderLine) {
        inMarkers = true;
        running.x = 0.0f;
        running.y = 0.0f;
        running.z = kMarkerDepth;
        return true;
    }
    if (level.tiles.size() + level.markers.size() >= kMaxLevelRecords) {
        return Fail("more than " + std::to_string(kMaxLevelRecords) + " tiles and markers");
    }
    SplitFields(line, &fields);
    return inMarkers ? ParseMarkerLine() : ParseTileLine();
}

bool LevelParser::ParseTileLine() {
    if (fields.size() > kTileFieldCount) {
        return Fail("a tile line has " + std::to_string(fields.size()) + " fields");
    }
    TileRecord tile;
    float* const position[3] = {&running.x, &running.y, &running.z};
    for (size_t i = 0; i < fields.size(); ++i) {
        const bool converted = i == 0   ? ToInteger(fields[i], &tile.tileIndex)
                               : i == 1 ? ToInteger(fields[i], &tile.tileTag)
                                        : ToFloat(fields[i], position[i - 2]);
        if (!converted) {
            return false;
        }
    }
    tile.x = running.x;
    tile.y = running.y;
    tile.z = running.z;
    level.tiles.push_back(tile);
    return true;
}

// Fields past the sixth are ignored.
bool LevelParser::ParseMarkerLine() {
    MarkerRecord marker;
    if (!fields.empty()) {
        if (!IsWritableName(fields[0])) {
            return Fail("the marker name " + Quoted(fields[0]) + " holds control characters");
        }
        marker.markerName.assign(fields[0]);
    }
    float* const targets[5] = {&running.width, &running.height, &running.x, &running.y, &marker.markerValue};
    for (size_t i = 1; i < fields.size() && i <= 5; ++i) {
        if (!ToFloat(fields[i], targets[i - 1])) {
            return false;
        }
    }
    marker.width = running.width;
    marker.height = running.height;
    marker.x = running.x;
    marker.y = running.y;
    level.markers.push_back(marker);
    return true;
}

void AppendFloat(std::string* text, float value) {
    text->append(FormatLevelFloat(value));
}

bool AllFinite(std::initializer_list<float> values) {
    for (const float value : values) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

void AppendTile(std::string* text, const TileRecord& tile) {
    text->append(std::to_string(tile.tileIndex)).append(",");
    text->append(std::to_string(tile.tileTag)).append(",");
    AppendFloat(text, tile.x);
    text->append(",");
    AppendFloat(text, tile.y);
    text->append(",");
    AppendFloat(text, tile.z);
    text->append("\n");
}

void AppendMarker(std::string* text, const MarkerRecord& marker) {
    text->append(marker.markerName);
    for (const float value : {marker.width, marker.height, marker.x, marker.y, marker.markerValue}) {
        text->append(",");
        AppendFloat(text, value);
    }
    text->append("\n");
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string SystemError(const std::string& what, const std::string& path, int code = errno) {
    return what + " '" + path + "': " + std::strerror(code);
}

bool WriteAll(int descriptor, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(descriptor, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// The new file keeps the permissions of the one it replaces; a first save gets the usual ones.
mode_t ModeFor(const std::string& path) {
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0) {
        return existing.st_mode & 07777;
    }
    return 0644;
}

}  // namespace

bool ParseLevelText(std::string_view text, LevelData* level, LevelError* error) {
    LevelData parsed;
    LevelError ignored;
    LevelError& failure = error != nullptr ? *error : ignored;
    if (text.size() > kMaxLevelFileSize) {
        failure = {0, "the file is larger than " + std::to_string(kMaxLevelFileSize) + " bytes"};
        return false;
    }
    LevelParser parser(&parsed, &failure);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (!parser.ParseLine(text.substr(start, end - start))) {
            return false;
        }
        parser.NextLine();
        start = end + 1;
    }
    *level = std::move(parsed);
    return true;
}

std::string FormatLevelFloat(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

bool FormatLevelText(const LevelData& level, std::string* text, LevelError* error) {
    LevelError ignored;
    LevelError& failure = error != nullptr ? *error : ignored;
    std::string written;
    for (size_t i = 0; i < level.tiles.size(); ++i) {
        const TileRecord& tile = level.tiles[i];
        if (!AllFinite({tile.x, tile.y, tile.z})) {
            failure = {i + 1, "tile " + std::to_string(i) + " has a position that is not finite"};
            return false;
        }
        AppendTile(&written, tile);
    }
    written.append(kColliderLine).append("\n");
    for (size_t i = 0; i < level.markers.size(); ++i) {
        const MarkerRecord& marker = level.markers[i];
        const size_t line = level.tiles.size() + 2 + i;
        if (!IsWritableName(marker.markerName)) {
            failure = {line, "the marker name " + Quoted(marker.markerName) + " cannot be written"};
            return false;
        }
        if (!AllFinite({marker.width, marker.height, marker.x, marker.y, marker.markerValue})) {
            failure = {line, "marker " + std::to_string(i) + " has a value that is not finite"};
            return false;
        }
        AppendMarker(&written, marker);
    }
    *text = std::move(written);
    return true;
}

bool ReadLevelData(const std::string& path, LevelData* level, LevelError* error) {
    LevelError ignored;
    LevelError& failure = error != nullptr ? *error : ignored;
    struct stat info {};
    std::ifstream file(path, std::ios::binary);
    if (!file || stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        failure = {0, SystemError("cannot open", path), true};
        return false;
    }
    std::string text;
    char buffer[65536];
    while (file.read(buffer, sizeof(buffer)) || file.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(file.gcount()));
        if (text.size() > kMaxLevelFileSize) {
            failure = {0, "the file is larger than " + std::to_string(kMaxLevelFileSize) + " bytes"};
            return false;
        }
    }
    if (file.bad()) {
        failure = {0, SystemError("cannot read", path)};
        return false;
    }
    return ParseLevelText(text, level, &failure);
}

std::string WriteTemporaryBeside(const std::string& path, std::string_view text, std::string* error) {
    std::string temporary = path + ".saving-XXXXXX";
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        *error = SystemError("cannot create a file in", DirectoryOf(path));
        return std::string();
    }
    int failure = 0;
    if (fchmod(descriptor, ModeFor(path)) != 0 || !WriteAll(descriptor, text) || fsync(descriptor) != 0) {
        failure = errno;
    }
    if (close(descriptor) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure != 0) {
        *error = SystemError("cannot write", temporary, failure);
        unlink(temporary.c_str());
        return std::string();
    }
    return temporary;
}

bool WriteFileReplacing(const std::string& path, std::string_view text, std::string* error) {
    std::string ignored;
    std::string& failure = error != nullptr ? *error : ignored;
    const std::string temporary = WriteTemporaryBeside(path, text, &failure);
    if (temporary.empty()) {
        return false;
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        failure = SystemError("cannot replace", path);
        unlink(temporary.c_str());
        return false;
    }
    // The rename itself reaches the disk with the directory.
    const int directory = open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (directory >= 0) {
        fsync(directory);
        close(directory);
    }
    return true;
}
