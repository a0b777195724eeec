#include "playthrough/PlaythroughTrace.h"

#include <cctype>
#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

const std::string kFirstLinePrefix = "# lirra ";
// Closer than this to where a still span began counts as not having moved.
constexpr float kStillDistance = 0.05f;
// The player's state number while she dies.
constexpr int kPlayerDying = 9;

// The JSON string that starts at `at` (its opening quote), unescaped.
std::string JsonStringAt(const std::string& line, size_t at) {
    std::string text;
    for (size_t i = at + 1; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
            text += line[i] == 'n' ? '\n' : line[i];
        } else {
            text += line[i];
        }
    }
    return text;
}

size_t ValueAt(const std::string& line, const std::string& key, size_t from) {
    const std::string marker = "\"" + key + "\": ";
    const size_t at = line.find(marker, from);
    return at == std::string::npos ? std::string::npos : at + marker.size();
}

std::string StringField(const std::string& line, const std::string& key, size_t from = 0) {
    const size_t at = ValueAt(line, key, from);
    return at == std::string::npos || line[at] != '"' ? "" : JsonStringAt(line, at);
}

double NumberField(const std::string& line, const std::string& key, size_t from = 0) {
    const size_t at = ValueAt(line, key, from);
    return at == std::string::npos || line.compare(at, 4, "null") == 0 ? 0.0 : std::stod(line.substr(at, 32));
}

bool TrueField(const std::string& line, const std::string& key, size_t from = 0) {
    const size_t at = ValueAt(line, key, from);
    return at != std::string::npos && line.compare(at, 4, "true") == 0;
}

bool NullField(const std::string& line, const std::string& key, size_t from = 0) {
    const size_t at = ValueAt(line, key, from);
    return at != std::string::npos && line.compare(at, 4, "null") == 0;
}

// The dialogue box breaks lines where it likes, so texts are compared without white space.
std::string WithoutSpaces(const std::string& text) {
    std::string kept;
    for (const char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            kept += c;
        }
    }
    return kept;
}

bool FreeToMove(const TraceFrame& frame) {
    return frame.state != "Loading" && frame.state != "Splash" && frame.playerActive && !frame.inputLocked &&
           !frame.menuOpen && !frame.transition && !frame.dialogue;
}

bool SameSpot(const TraceFrame& frame, const StillSpan& span) {
    return std::fabs(frame.x - span.x) < kStillDistance && std::fabs(frame.y - span.y) < kStillDistance;
}

}  // namespace

bool ReadDemoFile(const std::string& path, DemoFile& demo, std::string& problem) {
    std::ifstream in(path);
    std::string first;
    if (!in || !std::getline(in, first)) {
        problem = path + " cannot be read";
        return false;
    }
    if (first.rfind(kFirstLinePrefix, 0) != 0) {
        problem = path + " does not begin with \"" + kFirstLinePrefix + "<options>\"";
        return false;
    }
    static const std::regex frames(R"(--frames (\d+))");
    std::smatch match;
    if (!std::regex_search(first, match, frames)) {
        problem = path + ": its first line has no --frames";
        return false;
    }
    demo.path = path;
    demo.options = first.substr(kFirstLinePrefix.size());
    demo.frames = std::stol(match[1]);
    return true;
}

TraceFrame ParseTraceFrame(const std::string& line) {
    TraceFrame frame;
    frame.frame = static_cast<long>(NumberField(line, "frame"));
    frame.state = StringField(line, "state");
    const size_t menu = line.find("\"menu\": {");
    frame.menu = static_cast<int>(NumberField(line, "id", menu));
    frame.menuOpen = !NullField(line, "selected", menu) || frame.menu >= 2;
    const size_t player = line.find("\"player\": {");
    frame.playerActive = TrueField(line, "active", player);
    frame.x = static_cast<float>(NumberField(line, "x", player));
    frame.y = static_cast<float>(NumberField(line, "y", player));
    frame.playerState = static_cast<int>(NumberField(line, "state", player));
    frame.inputLocked = TrueField(line, "inputLocked", player);
    const size_t dialogue = line.find("\"dialogue\": {");
    frame.dialogue = TrueField(line, "visible", dialogue);
    if (frame.dialogue) {
        frame.speaker = StringField(line, "name", dialogue);
        frame.shown = StringField(line, "shown", dialogue);
    }
    frame.transition = TrueField(line, "transition");
    frame.cinematic = TrueField(line, "cinematic");
    return frame;
}

std::vector<TraceFrame> ReadTrace(const std::string& path) {
    std::vector<TraceFrame> frames;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        frames.push_back(ParseTraceFrame(line));
    }
    return frames;
}

std::vector<std::string> StateSequence(const std::vector<TraceFrame>& frames) {
    std::vector<std::string> states;
    for (const TraceFrame& frame : frames) {
        if (states.empty() || states.back() != frame.state) {
            states.push_back(frame.state);
        }
    }
    return states;
}

std::vector<std::string> StateChanges(const std::string& gameOutput) {
    static const std::regex change(R"(Changed \[State ([^\]]*)\] to \[State ([^\]]*)\])");
    std::vector<std::string> changes;
    for (std::sregex_iterator it(gameOutput.begin(), gameOutput.end(), change), end; it != end; ++it) {
        changes.push_back((*it)[1].str() + ">" + (*it)[2].str());
    }
    return changes;
}

const TraceFrame* FirstDeath(const std::vector<TraceFrame>& frames) {
    for (const TraceFrame& frame : frames) {
        if (frame.playerActive && frame.playerState == kPlayerDying) {
            return &frame;
        }
    }
    return nullptr;
}

bool LineShown(const std::vector<TraceFrame>& frames, const std::string& state, const std::string& speaker,
               const std::string& text) {
    const std::string wanted = WithoutSpaces(text);
    for (const TraceFrame& frame : frames) {
        if (frame.dialogue && frame.state == state && frame.speaker == speaker &&
            WithoutSpaces(frame.shown).find(wanted) != std::string::npos) {
            return true;
        }
    }
    return false;
}

StillSpan LongestStillSpan(const std::vector<TraceFrame>& frames) {
    StillSpan longest;
    StillSpan current;
    for (const TraceFrame& frame : frames) {
        if (!FreeToMove(frame)) {
            current.frames = 0;
            continue;
        }
        if (current.frames == 0 || frame.state != current.state || !SameSpot(frame, current)) {
            current = StillSpan{frame.state, frame.frame, 0, frame.x, frame.y};
        }
        ++current.frames;
        if (current.frames > longest.frames) {
            longest = current;
        }
    }
    return longest;
}
