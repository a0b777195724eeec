#pragma once

#include <string>
#include <vector>

// A demo file of demos/: its path and the options its first line replays it with.
struct DemoFile {
    std::string path;
    std::string options;  // the first line after "# lirra "
    long        frames = 0;  // its --frames value
};

// Reads the first line of a demo; false, with the reason, when it is not a demo's first line.
bool ReadDemoFile(const std::string& path, DemoFile& demo, std::string& problem);

// One frame of the game's trace, reduced to what a playthrough is judged by.
struct TraceFrame {
    long        frame = 0;
    std::string state;
    int         menu = 0;
    bool        menuOpen = false;
    bool        playerActive = false;
    float       x = 0.0f;
    float       y = 0.0f;
    int         playerState = 0;
    bool        inputLocked = false;
    bool        dialogue = false;
    std::string speaker;
    std::string shown;
    bool        transition = false;
    bool        cinematic = false;
};

TraceFrame              ParseTraceFrame(const std::string& line);
std::vector<TraceFrame> ReadTrace(const std::string& path);

// The states in their order, consecutive repeats collapsed.
std::vector<std::string> StateSequence(const std::vector<TraceFrame>& frames);

// The game's own record of its state changes ("Changed [State A] to [State B]"), as "A>B";
// a restart shows as a change of a state to itself.
std::vector<std::string> StateChanges(const std::string& gameOutput);

// The first frame in which Lirra is dying (her level then starts again in place, which the
// game does not report as a change of state), or nullptr.
const TraceFrame* FirstDeath(const std::vector<TraceFrame>& frames);

// True when a frame of `state` shows `speaker`'s dialogue with `text` typed out, wherever the
// box broke its lines.
bool LineShown(const std::vector<TraceFrame>& frames, const std::string& state, const std::string& speaker,
               const std::string& text);

// Where Lirra stood still the longest while she was free to move: frames in which she is
// active, her input unlocked, no menu open and no transition screen passing.
struct StillSpan {
    std::string state;
    long        firstFrame = 0;
    long        frames = 0;
    float       x = 0.0f;
    float       y = 0.0f;
};

StillSpan LongestStillSpan(const std::vector<TraceFrame>& frames);
