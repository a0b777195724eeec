#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/TestGame.h"

namespace {

const std::string kGame = LIRRA_BINARY_PATH;
const std::string kRunOptions = " --size 128x90 --fixed-step 0.0166667 --seed 7";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

int RunGameWith(const std::string& arguments, std::string* output = nullptr) {
    return RunCommand(kGame + " " + arguments, output);
}

}  // namespace

TEST(CommandLine, ThirtyFramesWriteThirtyTraceLines) {
    const std::string dir = MakeTempDir("cli");
    ASSERT_EQ(RunGameWith("--windowed --fixed-step 0.0166667 --frames 30 --trace " + dir + "/t.jsonl"), 0);
    const std::vector<std::string> lines = Lines(ReadFile(dir + "/t.jsonl"));
    ASSERT_EQ(lines.size(), 30u);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind("{\"frame\": " + std::to_string(i) + ", ", 0), 0u) << lines[i];
        EXPECT_EQ(lines[i].back(), '}');
    }
    for (const char* key :
         {"\"t\": ", "\"dt\": ", "\"state\": \"Loading\"", "\"menu\": {\"id\": 0, \"selected\": null}",
          "\"player\": ", "\"camera\": {", "\"dialogue\": ", "\"enemies\": [", "\"interactables\": [",
          "\"boss\": ", "\"transition\": ", "\"cinematic\": ", "\"console\": ", "\"objects\": ", "\"activeObjects\": ",
          "\"particles\": ", "\"bloom\": {\"enabled\": "}) {
        EXPECT_NE(lines[29].find(key), std::string::npos) << key;
    }
    EXPECT_NE(lines[0].find("\"dt\": 0, "), std::string::npos) << "the first frame has no length";
    EXPECT_NE(lines[29].find("\"dt\": 0.0166667, "), std::string::npos);
}

TEST(CommandLine, TheSameInputGivesTheSameTraceByteForByte) {
    const std::string dir = MakeTempDir("cli");
    WriteFile(dir + "/in.txt",
              "# walk, jump, open the console, pause\n"
              "2 key RIGHT press\n"
              "10 key SPACE press\n12 key SPACE release\n"
              "20 key RIGHT release\n"
              "25 key GRAVE_ACCENT press\n26 key GRAVE_ACCENT release\n"
              "30 cursor 40 30\n31 mouse 0 press\n32 mouse 0 release\n33 scroll 1\n");
    const std::string common = kRunOptions + " --frames 60 --input " + dir + "/in.txt";
    ASSERT_EQ(RunGameWith(common + " --trace " + dir + "/a.jsonl --record " + dir + "/rec.txt"), 0);
    ASSERT_EQ(RunGameWith(common + " --trace " + dir + "/b.jsonl"), 0);
    const std::string a = ReadFile(dir + "/a.jsonl");
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, ReadFile(dir + "/b.jsonl"));

    const std::string recorded = ReadFile(dir + "/rec.txt");
    EXPECT_NE(recorded.find("2 key RIGHT press 0"), std::string::npos) << recorded;
    EXPECT_NE(recorded.find("31 mouse 0 press 0"), std::string::npos) << recorded;
    EXPECT_NE(recorded.find("30 cursor 40 30"), std::string::npos) << recorded;
    EXPECT_NE(recorded.find("33 scroll 1"), std::string::npos) << recorded;

    ASSERT_EQ(RunGameWith(kRunOptions + " --frames 60 --input " + dir + "/rec.txt --trace " + dir + "/c.jsonl"), 0);
    EXPECT_EQ(a, ReadFile(dir + "/c.jsonl")) << "a recording replays the run it came from";
}

TEST(CommandLine, ScreenshotsArePngsOfTheWindow) {
    const std::string dir = MakeTempDir("cli");
    ASSERT_EQ(RunGameWith(kRunOptions + " --frames 4 --screenshot 1:" + dir + "/one.png --screenshot 3:" + dir +
                          "/three.png"),
              0);
    for (const char* name : {"/one.png", "/three.png"}) {
        const std::string png = ReadFile(dir + name);
        ASSERT_GT(png.size(), 24u) << name;
        EXPECT_EQ(png.substr(1, 3), "PNG");
        const auto be32 = [&](size_t at) {
            return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
                   (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
        };
        EXPECT_EQ(be32(16), 128u);
        EXPECT_EQ(be32(20), 90u);
    }
}

TEST(CommandLine, BadOptionsExitWithStatusTwoBeforeTheWindowOpens) {
    const std::string dir = MakeTempDir("cli");
    WriteFile(dir + "/bad.txt", "1 key SPACE press\n2 jump\n");
    const std::vector<std::string> bad = {
        "--bogus",
        "--size",
        "--size 100",
        "--size 0x5",
        "--fixed-step -1",
        "--fixed-step abc",
        "--seed -3",
        "--start Nowhere",
        "--frames 0",
        "--screenshot 5",
        "--screenshot x:f.png",
        "--input " + dir + "/missing.txt",
        "--input " + dir + "/bad.txt",
        "--data " + dir + "/nowhere",
    };
    for (const std::string& arguments : bad) {
        std::string output;
        EXPECT_EQ(RunGameWith(arguments + " --frames 1", &output), 2) << arguments;
        EXPECT_NE(output.find("lirra: "), std::string::npos) << arguments << ": " << output;
        EXPECT_EQ(output.find("[Fullscreen"), std::string::npos) << arguments;
    }
}

TEST(CommandLine, HelpVersionAndDataDirectory) {
    std::string output;
    EXPECT_EQ(RunGameWith("--help", &output), 0);
    EXPECT_NE(output.find("--fixed-step S"), std::string::npos);
    EXPECT_EQ(RunGameWith("--version", &output), 0);
    EXPECT_EQ(output.rfind("lirra ", 0), 0u);
    EXPECT_EQ(RunGameWith("--print-datadir", &output), 0);
    EXPECT_EQ(output, std::string(LIRRA_TEST_DATA_DIR) + "\n");
}

TEST(CommandLine, FindsItsDataFromAnyWorkingDirectory) {
    const std::string dir = MakeTempDir("cli");
    EXPECT_EQ(
        RunCommand("cd " + dir + " && " + kGame + kRunOptions + " --frames 3 --trace t.jsonl --screenshot 2:s.png"), 0);
    EXPECT_EQ(Lines(ReadFile(dir + "/t.jsonl")).size(), 3u)
        << "relative paths name places in the directory the game was started from";
    EXPECT_FALSE(ReadFile(dir + "/s.png").empty());
}
