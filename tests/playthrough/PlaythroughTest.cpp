// The game played from start to finish by replaying the demos players watch: each replays with
// the options of its first line on a display of its own, and its trace must show the whole story.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "playthrough/PlaythroughTrace.h"
#include "support/TestGame.h"

namespace {

const char* const kRerecord =
    "the demo no longer replays as it was recorded (the game or a level changed): run scripts/record-demos.sh";
constexpr int kFramesPerSecond = 60;
// The bots never stand still this long while Lirra is free to move (the longest wait, the boss
// bot's for a hand to come down, is about 7 s); a bot that lost its way does.
constexpr long kStuckFrames = 12 * kFramesPerSecond;

struct ScriptedLine {
    const char* state;
    const char* speaker;
    const char* text;
};

struct DemoCase {
    const char*               name;
    std::vector<std::string>  states;
    std::vector<ScriptedLine> lines;
};

// A failing case is named by its demo.
void PrintTo(const DemoCase& demoCase, std::ostream* out) {
    *out << demoCase.name;
}

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

std::vector<ScriptedLine> Join(const std::vector<std::vector<ScriptedLine>>& parts) {
    std::vector<ScriptedLine> all;
    for (const std::vector<ScriptedLine>& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const std::vector<DemoCase>& DemoCases() {
    static const std::vector<DemoCase> cases = {
        {"full-game",
         {"Loading", "Splash", "Main Menu", "Level 1", "Level 2", "Level 3", "Boss", "Level End", "Main Menu"},
         Join({kMainMenuLines, kLevel1Lines, kLevel2Lines, kLevel3Lines, kBossLines, kEndingLines})},
        {"level1", {"Loading", "Level 1", "Level 2"}, kLevel1Lines},
        {"level2", {"Loading", "Level 2", "Level 3"}, kLevel2Lines},
        {"level3", {"Loading", "Level 3", "Boss"}, kLevel3Lines},
        {"boss", {"Loading", "Boss", "Level End"}, kBossLines},
    };
    return cases;
}

std::string DemoPath(const std::string& name) {
    return std::string(LIRRA_DEMOS_DIR) + "/" + name + ".rec";
}

std::vector<std::string> ChangesAlong(const std::vector<std::string>& states) {
    std::vector<std::string> changes;
    for (size_t i = 1; i < states.size(); ++i) {
        changes.push_back(states[i - 1] + ">" + states[i]);
    }
    return changes;
}

struct Replay {
    int                     status = -1;
    std::string             output;
    std::vector<TraceFrame> frames;
};

// The built game, on a display of its own so no other test's window takes its focus, with a
// silent audio device.
Replay ReplayDemo(const DemoFile& demo) {
    const std::string dir = MakeTempDir("playthrough");
    const std::string trace = dir + "/trace.jsonl";
    const std::string command = "env ALSOFT_DRIVERS=null '" + std::string(LIRRA_BINARY_PATH) + "' --data '" + LIRRA_TEST_DATA_DIR + "' " +
                                demo.options + " --input '" + demo.path + "' --trace '" + trace + "'";
    Replay replay;
    replay.status = RunOnOwnDisplay(command, &replay.output);
    replay.frames = ReadTrace(trace);
    RunCommand("rm -rf '" + dir + "'");
    return replay;
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : ", ") + item;
    }
    return text;
}

class PlaythroughTest : public testing::TestWithParam<DemoCase> {};

TEST_P(PlaythroughTest, TheDemoReplaysItsWholeStory) {
    const DemoCase& demoCase = GetParam();
    DemoFile demo;
    std::string problem;
    ASSERT_TRUE(ReadDemoFile(DemoPath(demoCase.name), demo, problem)) << problem << ": run scripts/record-demos.sh";
    const Replay replay = ReplayDemo(demo);
    ASSERT_EQ(replay.status, 0) << replay.output;
    ASSERT_EQ(static_cast<long>(replay.frames.size()), demo.frames) << "the trace of every frame";

    // The states in their order, none of them started again (a restart after a fall or a defeat
    // changes a state to itself).
    EXPECT_EQ(Joined(StateSequence(replay.frames)), Joined(demoCase.states)) << kRerecord;
    EXPECT_EQ(Joined(StateChanges(replay.output)), Joined(ChangesAlong(demoCase.states))) << kRerecord;
    EXPECT_EQ(replay.frames.back().state, demoCase.states.back()) << kRerecord;
    if (const TraceFrame* death = FirstDeath(replay.frames)) {
        ADD_FAILURE() << "Lirra died in " << death->state << " at frame " << death->frame << "; " << kRerecord;
    }

    for (const ScriptedLine& line : demoCase.lines) {
        EXPECT_TRUE(LineShown(replay.frames, line.state, line.speaker, line.text))
            << line.speaker << " never said \"" << line.text << "\" in " << line.state << "; " << kRerecord;
    }

    const StillSpan still = LongestStillSpan(replay.frames);
    std::printf("%s: %zu frames; Lirra's longest stand while free to move: %ld frames in %s from frame %ld\n",
                demoCase.name, replay.frames.size(), still.frames, still.state.c_str(), still.firstFrame);
    EXPECT_LE(still.frames, kStuckFrames) << "Lirra stood stuck in " << still.state << " at (" << still.x << ", "
                                          << still.y << ") for " << still.frames << " frames from frame "
                                          << still.firstFrame << "; " << kRerecord;
}

INSTANTIATE_TEST_SUITE_P(Demos, PlaythroughTest, testing::ValuesIn(DemoCases()),
                         [](const testing::TestParamInfo<DemoCase>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 c = c == '-' ? '_' : c;
                             }
                             return name;
                         });

// The judge of the replays, on traces whose verdict is known.
TEST(PlaythroughJudge, ARestartShowsAsAStateChangedToItself) {
    const std::string output =
        "Changed [State Loading] to [State Level 1]\nsome line\nChanged [State Level 1] to [State Level 1]\n";
    const std::vector<std::string> expected = {"Loading>Level 1", "Level 1>Level 1"};
    EXPECT_EQ(StateChanges(output), expected);
}

TraceFrame Free(long frame, float x, const char* state = "Level 1") {
    TraceFrame free;
    free.frame = frame;
    free.state = state;
    free.playerActive = true;
    free.x = x;
    return free;
}

TEST(PlaythroughJudge, StandingStillCountsOnlyWhileLirraIsFreeToMove) {
    std::vector<TraceFrame> frames;
    for (long i = 0; i < 100; ++i) {
        frames.push_back(Free(i, 1.0f));
        frames.back().inputLocked = i < 90;  // a cinematic holds her at first
    }
    for (long i = 100; i < 130; ++i) {
        frames.push_back(Free(i, 1.0f + 0.02f * static_cast<float>(i % 2)));  // too little to count as moving
    }
    frames.push_back(Free(130, 2.0f));
    const StillSpan still = LongestStillSpan(frames);
    EXPECT_EQ(still.frames, 40);
    EXPECT_EQ(still.firstFrame, 90);

    frames[95].dialogue = true;  // listening breaks the span as well
    EXPECT_EQ(LongestStillSpan(frames).frames, 34);
}

TEST(PlaythroughJudge, TraceFieldsAreReadFromTheirOwnObjects) {
    const std::string line =
        R"({"frame": 7, "t": 0.1, "dt": 0.0166667, "state": "Level End", "menu": {"id": 2, "selected": 0}, )"
        R"("player": {"active": true, "x": -3.5, "y": 2.25, "vx": 0, "state": 9, "inputLocked": true}, )"
        R"("camera": {"x": 9, "y": 9, "zoom": 1}, "dialogue": {"visible": true, "name": "Dired", )"
        R"("shown": "say \"hi\""}, "enemies": [], "interactables": [{"type": 2, "x": 1, "y": 3, "target": 3}], )"
        R"("boss": null, "transition": false, "cinematic": true})";
    const TraceFrame frame = ParseTraceFrame(line);
    EXPECT_EQ(frame.frame, 7);
    EXPECT_EQ(frame.state, "Level End");
    EXPECT_TRUE(frame.menuOpen);
    EXPECT_FLOAT_EQ(frame.x, -3.5f);
    EXPECT_FLOAT_EQ(frame.y, 2.25f);
    EXPECT_TRUE(frame.inputLocked);
    EXPECT_EQ(frame.speaker, "Dired");
    EXPECT_EQ(frame.shown, "say \"hi\"");
    EXPECT_EQ(frame.playerState, 9) << "the player's own state, not the game's";
    EXPECT_FALSE(frame.transition);
    EXPECT_TRUE(frame.cinematic);
}

TEST(PlaythroughJudge, AFileThatIsNoDemoIsToldApart) {
    const std::string dir = MakeTempDir("playthrough-file");
    WriteFile(dir + "/plain.rec", "0 key LEFT press\n");
    WriteFile(dir + "/endless.rec", "# lirra --size 256x180 --seed 1\n");
    WriteFile(dir + "/good.rec", "# lirra --size 256x180 --start \"Level 1\" --frames 42\n0 key LEFT press\n");
    DemoFile demo;
    std::string problem;
    EXPECT_FALSE(ReadDemoFile(dir + "/missing.rec", demo, problem));
    EXPECT_FALSE(ReadDemoFile(dir + "/plain.rec", demo, problem));
    EXPECT_FALSE(ReadDemoFile(dir + "/endless.rec", demo, problem));
    ASSERT_TRUE(ReadDemoFile(dir + "/good.rec", demo, problem)) << problem;
    EXPECT_EQ(demo.frames, 42);
    EXPECT_EQ(demo.options, "--size 256x180 --start \"Level 1\" --frames 42");
    RunCommand("rm -rf '" + dir + "'");
}

}  // namespace
