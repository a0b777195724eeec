// The game played from start to finish by replaying the demos players watch: each replays with
// the options of its first line on a display of its own, and its trace must show the whole story.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "DemoJudge.h"
#include "PlaythroughTrace.h"
#include "TraceDigest.h"
#include "actors/Player.h"
#include "support/TestGame.h"

// A failing case is named by its demo (found beside DemoCase, in the global namespace).
void PrintTo(const DemoCase& demoCase, std::ostream* out) {
    *out << demoCase.name;
}

namespace {

const char* const kRerecord = "if the change is meant, run scripts/record-demos.sh";
const char* const kAsRecorded =
    "the replay follows its recording, so the recording itself shows this: mend the game, then record again";

std::string DemoPath(const std::string& name) {
    return std::string(LIRRA_DEMOS_DIR) + "/" + name + ".rec";
}

std::string DigestPath(const std::string& name) {
    return std::string(LIRRA_DEMOS_DIR) + "/" + name + ".digest";
}

struct Replay {
    int status = -1;
    std::string output;
    std::vector<std::string> lines;
};

// The built game, on a display of its own so no other test's window takes its focus, with a
// silent audio device.
Replay ReplayDemo(const DemoFile& demo) {
    const std::string dir = MakeTempDir("playthrough");
    const std::string trace = dir + "/trace.jsonl";
    const std::string command = "env ALSOFT_DRIVERS=null '" + std::string(LIRRA_BINARY_PATH) + "' --data '" +
                                LIRRA_TEST_DATA_DIR + "' " + demo.options + " --input '" + demo.path + "' --trace '" +
                                trace + "'";
    Replay replay;
    replay.status = RunOnOwnDisplay(command, &replay.output);
    replay.lines = ReadTraceLines(trace);
    RunCommand("rm -rf '" + dir + "'");
    return replay;
}

class PlaythroughTest : public testing::TestWithParam<DemoCase> {};

TEST_P(PlaythroughTest, TheDemoReplaysItsWholeStory) {
    const DemoCase& demoCase = GetParam();
    DemoFile demo;
    TraceDigest recorded;
    std::string problem;
    ASSERT_TRUE(ReadDemoFile(DemoPath(demoCase.name), demo, problem)) << problem << ": run scripts/record-demos.sh";
    ASSERT_TRUE(ReadDigest(DigestPath(demoCase.name), recorded, problem)) << problem << ": run scripts/record-demos.sh";
    const Replay replay = ReplayDemo(demo);
    const std::string parting = WhereReplayParts(recorded, replay.lines);
    ASSERT_EQ(replay.status, 0) << replay.output << "\n" << parting;
    ASSERT_EQ(static_cast<long>(replay.lines.size()), demo.frames) << "the trace of every frame; " << parting;
    EXPECT_EQ(parting, "") << "the demo no longer replays as it was recorded; " << kRerecord;
    const DemoVerdict verdict = JudgeDemo(demoCase, ParseTrace(replay.lines), replay.output);
    std::printf("%s\n", verdict.figures.c_str());
    for (const std::string& fault : verdict.faults) {
        ADD_FAILURE() << fault << "; " << (parting.empty() ? kAsRecorded : parting);
    }
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

TEST(PlaythroughJudge, LirraOutsideTheViewCountsInTheForestsAndTheLiveFight) {
    std::vector<TraceFrame> frames;
    for (long i = 0; i < 100; ++i) {
        frames.push_back(Free(i, i < 80 ? 29.0f : 22.0f));  // the held camera shows 22.1 +- 6
        frames.back().cameraX = 22.1f;
        frames.back().zoom = 0.6f;
    }
    frames[10].transition = true;  // the transition screen hides the world
    OutOfViewSpan unseen = LongestOutOfView(frames);
    EXPECT_EQ(unseen.total, 79);
    EXPECT_EQ(unseen.frames, 69);
    EXPECT_EQ(unseen.firstFrame, 11);

    for (TraceFrame& frame : frames) {
        frame.state = "Boss";
        frame.bossPresent = true;
        frame.bossHealth = frame.frame < 50 ? 10 : 0;  // the fight is over and the white-out takes the view
    }
    EXPECT_EQ(LongestOutOfView(frames).total, 49);

    frames[10].transition = false;
    for (TraceFrame& frame : frames) {
        frame.state = "Level 2";
        frame.y = -4.0f - 0.2f * static_cast<float>(frame.frame);  // she falls out of the level
    }
    EXPECT_EQ(LongestOutOfView(frames).total, 0) << "a fall out of the level leaves the picture as it should";
}

TEST(PlaythroughJudge, TheFightsPhasesAreReadInTheirOrder) {
    std::vector<TraceFrame> frames(3, Free(0, 1.0f, "Level 3"));
    for (const int phase : {0, 0, 1, 2, 1, 3, 4, 4}) {
        frames.push_back(Free(0, 1.0f, "Boss"));
        frames.back().bossPresent = true;
        frames.back().bossPhase = phase;
    }
    EXPECT_EQ(BossPhases(frames), (std::vector<int>{0, 1, 2, 1, 3, 4}));
}

TEST(PlaythroughJudge, ARestartThatKeepsHealthOrSoulsIsCaught) {
    std::vector<TraceFrame> frames;
    for (long i = 0; i < 10; ++i) {
        frames.push_back(Free(i, 5.0f, "Boss"));
        frames.back().health = i < 3 ? 100.0f : 25.0f;
        frames.back().playerState = i >= 3 && i < 6 ? 9 : 0;  // she dies; the fight starts again on frame 6
    }
    frames[6].transition = true;
    ASSERT_NE(StaleRestart(frames), nullptr);
    EXPECT_EQ(StaleRestart(frames)->frame, 7) << "the first frame she is seen again";
    for (size_t i = 6; i < frames.size(); ++i) {
        frames[i].health = 100.0f;
    }
    EXPECT_EQ(StaleRestart(frames), nullptr);
    frames[7].souls = 1;
    EXPECT_NE(StaleRestart(frames), nullptr) << "a restarted level gives back no souls";

    std::vector<TraceFrame> fall = {Free(0, 5.0f, "Level 1"), Free(1, 5.0f, "Level 1"), Free(2, 0.0f, "Level 1")};
    fall[1].y = -21.0f;
    fall[2].health = 50.0f;
    EXPECT_NE(StaleRestart(fall), nullptr) << "a fall restarts her at full health as well";
}

std::vector<TraceFrame> ShakingFrames(long count) {
    std::vector<TraceFrame> frames;
    for (long i = 0; i < count; ++i) {
        frames.push_back(Free(i, 1.0f));
        frames.back().dt = 1.0f / 60.0f;
        frames.back().health = 100.0f;
    }
    return frames;
}

TEST(PlaythroughJudge, AShakeIsTimedAgainstTheStrikesAndBlowsThatStartedItAndAPauseDoesNotBreakIt) {
    std::vector<TraceFrame> strike = ShakingFrames(100);
    for (long i = 10; i < 82; ++i) {
        strike[i].shake = 0.1f;  // one strike, four 0.3 s shakes one after the other
    }
    strike[4].playerState = PLAYER_HEAVY_ATTACK;
    strike[40].menuOpen = true;
    strike[40].shake = 0.0f;
    const ShakeSpan shake = LongestShake(strike);
    EXPECT_EQ(shake.firstFrame, 10);
    EXPECT_EQ(shake.frames, 71);
    EXPECT_NEAR(shake.seconds, 71.0f / 60.0f, 1e-4f);
    EXPECT_EQ(shake.causes, 1);

    // Two strikes and a blow in a row keep the camera shaking for 1.5 s: half a second each.
    std::vector<TraceFrame> flurry = ShakingFrames(100);
    for (long i = 0; i < 100; ++i) {
        flurry[i].shake = i < 90 ? 0.1f : 0.0f;
        flurry[i].playerState = i < 20 || (i >= 40 && i < 60) ? PLAYER_HEAVY_ATTACK : 0;
        flurry[i].health = i >= 30 ? 90.0f : 100.0f;
    }
    flurry.insert(flurry.begin(), strike.begin(), strike.begin() + 1);
    EXPECT_EQ(LongestShake(flurry).causes, 3);
    EXPECT_NEAR(LongestShake(flurry).seconds, 1.5f, 1e-4f);
}

std::vector<std::string> TraceLines(long frames, long movedFrom) {
    std::vector<std::string> lines;
    for (long i = 0; i < frames; ++i) {
        const std::string x = std::to_string(i >= movedFrom ? i + 1 : i);
        lines.push_back(R"({"frame": )" + std::to_string(i) +
                        R"(, "t": 0, "dt": 0.0166667, "state": "Level 1", )"
                        R"("player": {"x": )" +
                        x + R"(, "souls": [1, 2]}, "camera": {"x": 3}, "objects": )" + std::to_string(i) + "}");
    }
    return lines;
}

TEST(PlaythroughJudge, AReplayThatPartsFromItsRecordingSaysWhere) {
    const std::vector<std::string> recording = TraceLines(150, 1000);
    TraceDigest digest;
    std::string problem;
    ASSERT_TRUE(ParseDigest(DigestText(DigestTrace(recording)), digest, problem)) << problem;
    EXPECT_EQ(WhereReplayParts(digest, recording), "");

    const std::string parting = WhereReplayParts(digest, TraceLines(150, 97));
    EXPECT_EQ(parting.rfind("the replay parts from its recording at frame 97 (differing by frame 119: player)", 0), 0)
        << parting;
    EXPECT_NE(parting.find(R"(replayed player: {"x": 98, "souls": [1, 2]})"), std::string::npos) << parting;
    EXPECT_EQ(WhereReplayParts(digest, TraceLines(130, 1000)), "the replay ran 130 frames, the recording 150");
}

TEST(PlaythroughJudge, TraceFieldsAreReadFromTheirOwnObjects) {
    const std::string line =
        R"({"frame": 7, "t": 0.1, "dt": 0.0166667, "state": "Level End", "menu": {"id": 2, "selected": 0}, )"
        R"("player": {"active": true, "x": -3.5, "y": 2.25, "vx": 0, "state": 9, "health": 75, "inputLocked": true, )"
        R"("souls": [1, 2]}, "camera": {"x": 9, "y": 8, "zoom": 0.5, "shake": 0.1}, "dialogue": {"visible": true, )"
        R"("name": "Dired", "shown": "say \"hi\""}, "enemies": [{"kind": 0, "x": 1, "y": 2, "health": 40}], )"
        R"("interactables": [{"type": 2, "x": 1, "y": 3, "target": 3}], "boss": {"phase": 3, "health": 60}, )"
        R"("transition": false, "cinematic": true})";
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
    EXPECT_FLOAT_EQ(frame.health, 75.0f) << "Lirra's health, not an enemy's or the boss's";
    EXPECT_EQ(frame.souls, 2);
    EXPECT_FLOAT_EQ(frame.cameraX, 9.0f);
    EXPECT_FLOAT_EQ(frame.cameraY, 8.0f);
    EXPECT_FLOAT_EQ(frame.zoom, 0.5f);
    EXPECT_FLOAT_EQ(frame.shake, 0.1f);
    EXPECT_TRUE(frame.bossPresent);
    EXPECT_EQ(frame.bossPhase, 3);
    EXPECT_EQ(frame.bossHealth, 60);
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
