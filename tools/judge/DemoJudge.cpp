#include "DemoJudge.h"

#include <algorithm>
#include <cstdio>

namespace {

const std::vector<ScriptedLine> kMainMenuLines = {
    {"Main Menu", "Dired", "Oh hello dear, isn't it time to stop playing?"},
    {"Main Menu", "Dired", "Hurry along now, don't be late for dinner!"},
};
const std::vector<ScriptedLine> kLevel1Lines = {
    {"Level 1", "Lirra", "This feels strange..."},
    {"Level 1", "Lirra", "Whew! That was close..."},
};
const std::vector<ScriptedLine> kLevel2Lines = {
    {"Level 2", "Lirra", "Wow, it feels a little cold here"},
};
const std::vector<ScriptedLine> kLevel3Lines = {
    {"Level 3", "Lirra", "If I got more souls, maybe DIRED will be happy?"},
};
const std::vector<ScriptedLine> kBossLines = {
    {"Boss", "Lirra", "Oh hello! Could you be...      Rovevoz?"},
    {"Boss", "Rovevoz", "Y O U C A N !"},
    {"Boss", "Lirra", "DOES NOT MEAN    YOU CAN BULLY    ME!"},
    {"Boss", "Rovevoz", "... BE ... WARE ..."},
};
const std::vector<ScriptedLine> kEndingLines = {
    {"Level End", "Lirra", "Dired, I'm homeee!"},
    {"Level End", "Dired", "Well done on your first collection"},
    {"Level End", "Noname", "She looks just like me..."},
    {"Level End", "Credits", "====End===="},
};
const std::vector<int> kBossPhaseOrder = {0, 1, 2, 3, 4};

std::vector<ScriptedLine> Join(const std::vector<std::vector<ScriptedLine>>& parts) {
    std::vector<ScriptedLine> all;
    for (const std::vector<ScriptedLine>& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::vector<std::string> ChangesAlong(const std::vector<std::string>& states) {
    std::vector<std::string> changes;
    for (size_t i = 1; i < states.size(); ++i) {
        changes.push_back(states[i - 1] + ">" + states[i]);
    }
    return changes;
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : ", ") + item;
    }
    return text;
}

std::string Joined(const std::vector<int>& numbers) {
    std::vector<std::string> items;
    for (const int number : numbers) {
        items.push_back(std::to_string(number));
    }
    return Joined(items);
}

std::string Printed(const char* format, auto... values) {
    char text[512];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

void JudgeStory(const DemoCase& demoCase, const std::vector<TraceFrame>& frames, const std::string& gameOutput,
                std::vector<std::string>& faults) {
    // The states in their order, none of them started again (a restart after a fall changes a
    // state to itself).
    const std::string states = Joined(StateSequence(frames));
    if (states != Joined(demoCase.states)) {
        faults.push_back("the states ran " + states + " instead of " + Joined(demoCase.states));
    }
    const std::string changes = Joined(StateChanges(gameOutput));
    if (changes != Joined(ChangesAlong(demoCase.states))) {
        faults.push_back("the game changed its states " + changes + " instead of " +
                         Joined(ChangesAlong(demoCase.states)));
    }
    if (frames.empty() || frames.back().state != demoCase.states.back()) {
        faults.push_back("the run does not end in " + demoCase.states.back());
    }
    if (const TraceFrame* death = FirstDeath(frames)) {
        faults.push_back("Lirra died in " + death->state + " at frame " + std::to_string(death->frame));
    }
    for (const ScriptedLine& line : demoCase.lines) {
        if (!LineShown(frames, line.state, line.speaker, line.text)) {
            faults.push_back(std::string(line.speaker) + " never said \"" + line.text + "\" in " + line.state);
        }
    }
}

// What a player sees: Lirra in the picture, the fight in its order, fresh restarts, short shakes.
void JudgeSight(const DemoCase& demoCase, const std::vector<TraceFrame>& frames, std::vector<std::string>& faults) {
    const StillSpan still = LongestStillSpan(frames);
    if (still.frames > kStuckFrames) {
        faults.push_back(Printed("Lirra stood stuck in %s at (%g, %g) for %ld frames from frame %ld",
                                 still.state.c_str(), still.x, still.y, still.frames, still.firstFrame));
    }
    const OutOfViewSpan unseen = LongestOutOfView(frames);
    if (unseen.total > 0) {
        faults.push_back(
            Printed("Lirra was outside the camera's view for %ld frames; the longest run, %ld frames in %s "
                    "from frame %ld, begins with her at (%g, %g) and the camera at (%g, %g) showing +-%g units",
                    unseen.total, unseen.frames, unseen.state.c_str(), unseen.firstFrame, unseen.x, unseen.y,
                    unseen.cameraX, unseen.cameraY, 10.0f * unseen.zoom));
    }
    if (demoCase.fight && BossPhases(frames) != kBossPhaseOrder) {
        faults.push_back("the boss's phases ran " + Joined(BossPhases(frames)) + " instead of " +
                         Joined(kBossPhaseOrder));
    }
    if (const TraceFrame* restart = StaleRestart(frames)) {
        faults.push_back(Printed("Lirra came back in %s at frame %ld with %g health and %d souls",
                                 restart->state.c_str(), restart->frame, restart->health, restart->souls));
    }
    const ShakeSpan shake = LongestShake(frames);
    if (shake.seconds > kShakeSecondsPerStrike * static_cast<float>(std::max(1, shake.causes))) {
        faults.push_back(
            Printed("the camera shook without a break for %.2f s (%ld frames) in %s from frame %ld after "
                    "%d heavy strikes or blows",
                    shake.seconds, shake.frames, shake.state.c_str(), shake.firstFrame, shake.causes));
    }
}

}  // namespace

const std::vector<DemoCase>& DemoCases() {
    static const std::vector<DemoCase> cases = {
        {"full-game",
         {"Loading", "Splash", "Main Menu", "Level 1", "Level 2", "Level 3", "Boss", "Level End", "Main Menu"},
         Join({kMainMenuLines, kLevel1Lines, kLevel2Lines, kLevel3Lines, kBossLines, kEndingLines}),
         true},
        {"level1", {"Loading", "Level 1", "Level 2"}, kLevel1Lines},
        {"level2", {"Loading", "Level 2", "Level 3"}, kLevel2Lines},
        {"level3", {"Loading", "Level 3", "Boss"}, kLevel3Lines},
        {"boss", {"Loading", "Boss", "Level End"}, kBossLines, true},
    };
    return cases;
}

const DemoCase* FindDemoCase(const std::string& name) {
    for (const DemoCase& demoCase : DemoCases()) {
        if (name == demoCase.name) {
            return &demoCase;
        }
    }
    return nullptr;
}

DemoVerdict JudgeDemo(const DemoCase& demoCase, const std::vector<TraceFrame>& frames, const std::string& gameOutput) {
    DemoVerdict verdict;
    JudgeStory(demoCase, frames, gameOutput, verdict.faults);
    JudgeSight(demoCase, frames, verdict.faults);
    const StillSpan still = LongestStillSpan(frames);
    const OutOfViewSpan unseen = LongestOutOfView(frames);
    const ShakeSpan shake = LongestShake(frames);
    verdict.figures = Printed(
        "%s: %zu frames; Lirra's longest stand while free to move: %ld frames in %s from frame %ld; "
        "out of view: %ld frames; longest shake: %.2f s after %d heavy strikes or blows; boss phases: %s",
        demoCase.name, frames.size(), still.frames, still.state.c_str(), still.firstFrame, unseen.total, shake.seconds,
        shake.causes, Joined(BossPhases(frames)).c_str());
    return verdict;
}
