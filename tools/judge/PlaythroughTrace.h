#pragma once

#include <string>
#include <vector>

// A demo file of demos/: its path and the options its first line replays it with.
struct DemoFile {
    std::string path;
    std::string options;  // the first line after "# lirra "
    long frames = 0;      // its --frames value
};

// Reads the first line of a demo; false, with the reason, when it is not a demo's first line.
bool ReadDemoFile(const std::string& path, DemoFile& demo, std::string& problem);

// One frame of the game's trace, reduced to what a playthrough is judged by.
struct TraceFrame {
    long frame = 0;
    float dt = 0.0f;
    std::string state;
    int menu = 0;
    bool menuOpen = false;
    bool playerActive = false;
    float x = 0.0f;
    float y = 0.0f;
    int playerState = 0;
    float health = 0.0f;
    int souls = 0;
    bool inputLocked = false;
    float cameraX = 0.0f;
    float cameraY = 0.0f;
    float zoom = 1.0f;
    float shake = 0.0f;
    bool dialogue = false;
    std::string speaker;
    std::string shown;
    bool bossPresent = false;
    int bossPhase = 0;
    int bossHealth = 0;
    bool transition = false;
    bool cinematic = false;
};

TraceFrame ParseTraceFrame(const std::string& line);
std::vector<std::string> ReadTraceLines(const std::string& path);
std::vector<TraceFrame> ParseTrace(const std::vector<std::string>& lines);
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
    long firstFrame = 0;
    long frames = 0;
    float x = 0.0f;
    float y = 0.0f;
};

StillSpan LongestStillSpan(const std::vector<TraceFrame>& frames);

// The longest run of frames of the forests and the fight (the boss alive, no transition screen)
// in which Lirra stood outside the camera's view, a square of 20 x zoom units round it. A run
// that ends in a fall out of the level is what a fall looks like and does not count.
struct OutOfViewSpan {
    std::string state;
    long firstFrame = 0;
    long frames = 0;
    long total = 0;  // out-of-view frames over the whole trace
    float x = 0.0f;  // Lirra and the camera on the run's first frame
    float y = 0.0f;
    float cameraX = 0.0f;
    float cameraY = 0.0f;
    float zoom = 1.0f;
};

OutOfViewSpan LongestOutOfView(const std::vector<TraceFrame>& frames);

// The boss's phases in the order the fight ran them, consecutive repeats collapsed.
std::vector<int> BossPhases(const std::vector<TraceFrame>& frames);

// The first frame after a death or a fall out of the level on which the restarted level shows
// Lirra with less than full health or with souls, or nullptr when every restart was fresh.
const TraceFrame* StaleRestart(const std::vector<TraceFrame>& frames);

// The unbroken shake of the camera that lasted longest for the heavy strikes begun and blows
// taken within it (or just before it), in scaled seconds; frames with a menu open pause it.
struct ShakeSpan {
    std::string state;
    long firstFrame = 0;
    long frames = 0;
    float seconds = 0.0f;
    int causes = 0;
};

ShakeSpan LongestShake(const std::vector<TraceFrame>& frames);
