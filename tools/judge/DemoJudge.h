#pragma once

#include <string>
#include <vector>

#include "PlaythroughTrace.h"

// What a demo of demos/ must show when it is replayed: its states in order and the lines
// spoken in them; the demos that hold the fight must also run the boss's phases in order.
struct ScriptedLine {
    const char* state;
    const char* speaker;
    const char* text;
};

struct DemoCase {
    const char* name;
    std::vector<std::string> states;
    std::vector<ScriptedLine> lines;
    bool fight = false;
};

const std::vector<DemoCase>& DemoCases();
const DemoCase* FindDemoCase(const std::string& name);

// The bots never stand still this long while Lirra is free to move (the longest wait, the boss
// bot's for a hand to come down, is about 7 s); a bot that lost its way does.
constexpr long kStuckFrames = 12 * 60;
// One strike shakes the camera once per enemy it hits; a shake that runs on longer than this for
// each heavy strike or blow in it is queued again and again.
constexpr float kShakeSecondsPerStrike = 1.0f;

struct DemoVerdict {
    std::vector<std::string> faults;  // empty when the trace tells the whole story as a player sees it
    std::string figures;              // the measures the verdict rests on, for the log
};

// Judges the trace of a demo's run and the game's output of the same run.
DemoVerdict JudgeDemo(const DemoCase& demoCase, const std::vector<TraceFrame>& frames, const std::string& gameOutput);
