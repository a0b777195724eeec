#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/TestGame.h"

namespace {

// One frame of the game's trace, reduced to what the front end is judged by.
struct TraceFrame {
    std::string state;
    int menu = -1;
    bool dialogue = false;
    std::string speaker;
    std::string shown;
    bool transition = false;
    float x = 0.0f;
    bool portal = false;
};

// The text after `"key": "` up to the closing quote (no escapes occur in these fields).
std::string StringField(const std::string& line, const std::string& key, size_t from = 0) {
    const std::string marker = "\"" + key + "\": \"";
    const size_t at = line.find(marker, from);
    if (at == std::string::npos) {
        return "";
    }
    const size_t start = at + marker.size();
    return line.substr(start, line.find('"', start) - start);
}

float NumberField(const std::string& line, const std::string& key, size_t from = 0) {
    const std::string marker = "\"" + key + "\": ";
    const size_t at = line.find(marker, from);
    return at == std::string::npos ? 0.0f : std::stof(line.substr(at + marker.size()));
}

TraceFrame ParseFrame(const std::string& line) {
    TraceFrame frame;
    frame.state = StringField(line, "state");
    frame.menu = static_cast<int>(NumberField(line, "id", line.find("\"menu\"")));
    const size_t dialogue = line.find("\"dialogue\": {");
    frame.dialogue = line.compare(dialogue + 13, 15, "\"visible\": true") == 0;
    if (frame.dialogue) {
        frame.speaker = StringField(line, "name", dialogue);
        frame.shown = StringField(line, "shown", dialogue);
    }
    frame.transition = line.find("\"transition\": true") != std::string::npos;
    frame.x = NumberField(line, "x", line.find("\"player\""));
    frame.portal = line.find("{\"type\": 2,") != std::string::npos;
    return frame;
}

std::vector<TraceFrame> ReadTrace(const std::string& path) {
    std::vector<TraceFrame> frames;
    std::istringstream in(ReadFile(path));
    std::string line;
    while (std::getline(in, line)) {
        frames.push_back(ParseFrame(line));
    }
    return frames;
}

// From the start of the game: the splash skipped, a walk to Dired, E held through her talk, and
// a walk into the portal she summons with E held.
const char* const kStory =
    "240 key SPACE press\n242 key SPACE release\n"
    "300 key LEFT press\n352 key LEFT release\n"
    "360 key E press\n380 key E release\n"
    "1700 key E press\n1705 key RIGHT press\n1758 key RIGHT release\n1770 key E release\n";

TEST(ScriptedRun, FromStartUpThroughDiredsTalkAndThePortalIntoLevelOne) {
    const std::string dir = MakeTempDir("frontend-run");
    WriteFile(dir + "/story.txt", kStory);
    const std::string command = std::string(LIRRA_BINARY_PATH) + " --data " + LIRRA_TEST_DATA_DIR +
                                " --size 128x90 --fixed-step 0.0166667 --seed 3 --frames 1900 --input " + dir +
                                "/story.txt --trace " + dir + "/story.jsonl";
    std::string output;
    // On a display of its own: a pause from a focus lost to another test's window would stop the story.
    ASSERT_EQ(RunOnOwnDisplay(command, &output), 0) << output;
    const std::vector<TraceFrame> frames = ReadTrace(dir + "/story.jsonl");
    ASSERT_EQ(frames.size(), 1900u);

    // The screens in their order, each once.
    std::vector<std::string> screens;
    for (const TraceFrame& frame : frames) {
        if (screens.empty() || screens.back() != frame.state) {
            screens.push_back(frame.state);
        }
    }
    const std::vector<std::string> expected = {"Loading", "Splash", "Main Menu", "Level 1"};
    ASSERT_EQ(screens, expected);

    // Dired's five lines, each seen typed out in full before the next.
    std::vector<std::string> lines;
    std::string previous;
    for (const TraceFrame& frame : frames) {
        if (frame.dialogue && frame.speaker == "Dired") {
            if (frame.shown.empty()) {
                continue;  // a line handed over, its follower not typing yet
            }
            if (previous.empty() || frame.shown.rfind(previous, 0) != 0) {
                lines.push_back(frame.shown);
            } else {
                lines.back() = frame.shown;
            }
            previous = frame.shown;
        } else {
            previous.clear();
        }
    }
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines.front().rfind("Oh hello dear", 0), 0u) << lines.front();
    EXPECT_NE(lines.back().find("late for dinner!"), std::string::npos) << lines.back();
    EXPECT_NE(output.find("Granny has been closed!"), std::string::npos);

    // The portal appears in the main menu, the screen is covered on the way and uncovered after.
    size_t firstPortal = 0;
    size_t firstCover = 0;
    size_t firstLevel = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (firstPortal == 0 && frames[i].portal && frames[i].state == "Main Menu") {
            firstPortal = i;
        }
        if (firstCover == 0 && frames[i].transition) {
            firstCover = i;
        }
        if (firstLevel == 0 && frames[i].state == "Level 1") {
            firstLevel = i;
        }
    }
    ASSERT_GT(firstPortal, 0u);
    EXPECT_NEAR(static_cast<float>(firstPortal - 360) / 60.0f, 4.5f, 0.1f) << "4.5 s after the talk began";
    ASSERT_GT(firstCover, 1700u);
    EXPECT_NEAR(static_cast<float>(firstLevel - firstCover), 60.0f, 2.0f) << "one second of covering slide";
    EXPECT_FALSE(frames.back().transition) << "the level is uncovered again";
    EXPECT_NEAR(frames.back().x, 5.5f, 0.01f) << "Lirra starts level 1 at her start point";
    for (const TraceFrame& frame : frames) {
        EXPECT_LT(frame.menu, 2) << "no menu opened on the way";
    }
}

}  // namespace
