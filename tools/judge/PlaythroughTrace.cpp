#include "PlaythroughTrace.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>

#include "actors/Player.h"
#include "levels/Dialogue.h"
#include "levels/StateLevel1.h"
#include "levels/StateLevel2.h"
#include "levels/StateLevel3.h"
#include "levels/StateLevelBoss.h"

namespace {

const std::string kFirstLinePrefix = "# lirra ";
// Closer than this to where a still span began counts as not having moved.
constexpr float kStillDistance = 0.05f;
constexpr float kFullHealth = 100.0f;
// The camera shows a square of 20 x zoom units.
constexpr float kViewHalfExtent = 10.0f;

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

bool FreeToMove(const TraceFrame& frame) {
    return frame.state != "Loading" && frame.state != "Splash" && frame.playerActive && !frame.inputLocked &&
           !frame.menuOpen && !frame.transition && !frame.dialogue;
}

bool SameSpot(const TraceFrame& frame, const StillSpan& span) {
    return std::fabs(frame.x - span.x) < kStillDistance && std::fabs(frame.y - span.y) < kStillDistance;
}

int ArrayLength(const std::string& line, const std::string& key, size_t from) {
    size_t at = ValueAt(line, key, from);
    if (at == std::string::npos || line[at] != '[' || line[at + 1] == ']') {
        return 0;
    }
    int items = 1;
    for (int depth = 0; at < line.size(); ++at) {
        depth += line[at] == '[' || line[at] == '{' ? 1 : line[at] == ']' || line[at] == '}' ? -1 : 0;
        if (depth == 0) {
            break;
        }
        items += depth == 1 && line[at] == ',' ? 1 : 0;
    }
    return items;
}

// The forests and the fight while the boss lives: where a player must see Lirra.
bool InPlay(const TraceFrame& frame) {
    const bool forest = frame.state == "Level 1" || frame.state == "Level 2" || frame.state == "Level 3";
    const bool fight = frame.state == "Boss" && frame.bossPresent && frame.bossHealth > 0;
    return (forest || fight) && frame.playerActive && !frame.transition;
}

bool OutOfView(const TraceFrame& frame) {
    const float half = kViewHalfExtent * frame.zoom;
    return std::fabs(frame.x - frame.cameraX) > half || std::fabs(frame.y - frame.cameraY) > half;
}

// Below this height the level starts again.
bool FallenOut(const TraceFrame& frame) {
    if (frame.state == "Level 1") {
        return frame.y < kLevel1FallLimit;
    }
    if (frame.state == "Level 2") {
        return frame.y <= kLevel2FallLimit;
    }
    if (frame.state == "Level 3") {
        return frame.y < kLevel3FallLimit;
    }
    return frame.state == "Boss" && frame.y <= kBossFallLimit;
}

// A frame on which the level is about to start again.
bool Ending(const TraceFrame& frame) {
    return frame.playerActive && (frame.playerState == PLAYER_DYING || FallenOut(frame));
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
    frame.dt = static_cast<float>(NumberField(line, "dt"));
    frame.state = StringField(line, "state");
    const size_t menu = line.find("\"menu\": {");
    frame.menu = static_cast<int>(NumberField(line, "id", menu));
    frame.menuOpen = !NullField(line, "selected", menu) || frame.menu >= 2;
    const size_t player = line.find("\"player\": {");
    frame.playerActive = TrueField(line, "active", player);
    frame.x = static_cast<float>(NumberField(line, "x", player));
    frame.y = static_cast<float>(NumberField(line, "y", player));
    frame.playerState = static_cast<int>(NumberField(line, "state", player));
    frame.health = static_cast<float>(NumberField(line, "health", player));
    frame.souls = ArrayLength(line, "souls", player);
    frame.inputLocked = TrueField(line, "inputLocked", player);
    const size_t camera = line.find("\"camera\": {");
    if (camera != std::string::npos) {
        frame.cameraX = static_cast<float>(NumberField(line, "x", camera));
        frame.cameraY = static_cast<float>(NumberField(line, "y", camera));
        frame.zoom = static_cast<float>(NumberField(line, "zoom", camera));
        frame.shake = static_cast<float>(NumberField(line, "shake", camera));
    }
    const size_t dialogue = line.find("\"dialogue\": {");
    frame.dialogue = TrueField(line, "visible", dialogue);
    if (frame.dialogue) {
        frame.speaker = StringField(line, "name", dialogue);
        frame.shown = StringField(line, "shown", dialogue);
    }
    const size_t boss = line.find("\"boss\": {");
    frame.bossPresent = boss != std::string::npos;
    if (frame.bossPresent) {
        frame.bossPhase = static_cast<int>(NumberField(line, "phase", boss));
        frame.bossHealth = static_cast<int>(NumberField(line, "health", boss));
    }
    frame.transition = TrueField(line, "transition");
    frame.cinematic = TrueField(line, "cinematic");
    return frame;
}

std::vector<std::string> ReadTraceLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<TraceFrame> ParseTrace(const std::vector<std::string>& lines) {
    std::vector<TraceFrame> frames;
    frames.reserve(lines.size());
    for (const std::string& line : lines) {
        frames.push_back(ParseTraceFrame(line));
    }
    return frames;
}

std::vector<TraceFrame> ReadTrace(const std::string& path) {
    return ParseTrace(ReadTraceLines(path));
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
        if (frame.playerActive && frame.playerState == PLAYER_DYING) {
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

OutOfViewSpan LongestOutOfView(const std::vector<TraceFrame>& frames) {
    OutOfViewSpan longest;
    OutOfViewSpan current;
    long total = 0;
    const auto close = [&]() {
        total += current.frames;
        if (current.frames > longest.frames) {
            longest = current;
        }
        current.frames = 0;
    };
    for (const TraceFrame& frame : frames) {
        if (FallenOut(frame)) {
            current.frames = 0;
            continue;
        }
        if (!InPlay(frame) || !OutOfView(frame)) {
            close();
            continue;
        }
        if (current.frames == 0) {
            current = OutOfViewSpan{frame.state,   frame.frame,   0,         0, frame.x, frame.y,
                                    frame.cameraX, frame.cameraY, frame.zoom};
        }
        ++current.frames;
    }
    close();
    longest.total = total;
    return longest;
}

std::vector<int> BossPhases(const std::vector<TraceFrame>& frames) {
    std::vector<int> phases;
    for (const TraceFrame& frame : frames) {
        if (frame.bossPresent && (phases.empty() || phases.back() != frame.bossPhase)) {
            phases.push_back(frame.bossPhase);
        }
    }
    return phases;
}

const TraceFrame* StaleRestart(const std::vector<TraceFrame>& frames) {
    bool restarting = false;
    for (const TraceFrame& frame : frames) {
        if (Ending(frame)) {
            restarting = true;
            continue;
        }
        if (!restarting || !frame.playerActive || frame.transition) {
            continue;
        }
        restarting = false;
        if (frame.health < kFullHealth || frame.souls > 0) {
            return &frame;
        }
    }
    return nullptr;
}

namespace {

// Heavy strikes begun and blows taken this long before the camera starts shaking are counted
// among the shake's causes: a strike's blow lands some frames after it begins.
constexpr float kShakeCauseLead = 1.0f;

// A heavy strike beginning or a blow taking Lirra's health: each queues shakes of its own.
bool StartsAShake(const TraceFrame& frame, const TraceFrame* previous) {
    if (previous == nullptr || previous->state != frame.state) {
        return false;
    }
    const bool strikes = frame.playerState == PLAYER_HEAVY_ATTACK && previous->playerState != PLAYER_HEAVY_ATTACK;
    return strikes || frame.health < previous->health;
}

float SecondsPerCause(const ShakeSpan& span) {
    return span.seconds / static_cast<float>(std::max(1, span.causes));
}

}  // namespace

ShakeSpan LongestShake(const std::vector<TraceFrame>& frames) {
    ShakeSpan longest;
    ShakeSpan current;
    // Judged whole, once over: a strike late in a shake has its share of all of it.
    const auto close = [&longest, &current] {
        if (current.frames > 0 && SecondsPerCause(current) > SecondsPerCause(longest)) {
            longest = current;
        }
        current.frames = 0;
    };
    const TraceFrame* previous = nullptr;
    float clock = 0.0f;
    std::vector<float> causeTimes;
    for (const TraceFrame& frame : frames) {
        if (frame.menuOpen) {
            continue;
        }
        clock += frame.dt;
        const bool cause = StartsAShake(frame, previous);
        previous = &frame;
        if (cause) {
            causeTimes.push_back(clock);
        }
        if (frame.shake <= 0.0f) {
            close();
            continue;
        }
        if (current.frames == 0) {
            const float since = clock - kShakeCauseLead;
            const auto recent =
                std::count_if(causeTimes.begin(), causeTimes.end(), [since](float t) { return t >= since; });
            current = ShakeSpan{frame.state, frame.frame, 0, 0.0f, static_cast<int>(recent)};
        } else if (cause) {
            ++current.causes;
        }
        ++current.frames;
        current.seconds += frame.dt;
    }
    close();
    return longest;
}
