// The game itself, started as a player or a replay would: it opens on the loading screen, loads
// the seven sounds and then the textures, on the same frame in every run with a fixed step.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>

#include "resources/ResourceLoader.h"
#include "support/TestGame.h"

namespace {

const std::string kRunOptions = " --size 128x90 --fixed-step 0.0166667 --seed 7";

bool HasGeneratedSounds() {
    struct stat info;
    return stat((std::string(LIRRA_TEST_DATA_DIR) + "/Audio/Menu_BGM.ogg").c_str(), &info) == 0;
}

int RunGame(const std::string& dir, const std::string& options, std::string* output) {
    return RunCommand("cd " + dir + " && " + std::string(LIRRA_BINARY_PATH) + " --data " + LIRRA_TEST_DATA_DIR +
                          kRunOptions + " " + options + " 2>/dev/null",
                      output);
}

size_t CountLines(const std::string& text, const std::string& prefix) {
    size_t count = 0;
    for (size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace

TEST(GameRun, LoadsSoundsThenTexturesOnTheSameFrameEveryRun) {
    ASSERT_TRUE(HasGeneratedSounds()) << "the generated sounds are not in " << LIRRA_TEST_DATA_DIR;
    const std::string dir = MakeTempDir("loading-run");
    std::string first;
    std::string second;
    ASSERT_EQ(RunGame(dir, "--frames 215 --trace a.jsonl", &first), 0) << first;
    ASSERT_EQ(RunGame(dir, "--frames 215 --trace b.jsonl", &second), 0) << second;

    const std::string trace = ReadFile(dir + "/a.jsonl");
    EXPECT_EQ(trace, ReadFile(dir + "/b.jsonl"));
    // The first 200 frames are the loading screen's, whatever follows it.
    std::istringstream lines(trace);
    std::string line;
    for (int frame = 0; frame < 200 && std::getline(lines, line); ++frame) {
        ASSERT_NE(line.find("\"state\": \"Loading\""), std::string::npos) << line.substr(0, 80);
    }

    size_t lastSound = 0;
    for (int id = 0; id < kSoundCount; ++id) {
        const size_t at = first.find("Audio loaded: " + GetResources().GetSoundPath(id) + "\n");
        ASSERT_NE(at, std::string::npos) << GetResources().GetSoundPath(id);
        EXPECT_GT(at, lastSound);
        lastSound = at;
    }
    EXPECT_EQ(CountLines(first, "Texture Loaded: "), static_cast<size_t>(kTextureCount));
    EXPECT_GT(first.find("Texture Loaded: "), lastSound);

    // Seven sounds of four frames, then three seconds of 1/60 s: nothing of the textures before.
    std::string early;
    ASSERT_EQ(RunGame(dir, "--frames 200", &early), 0) << early;
    EXPECT_EQ(CountLines(early, "Audio loaded: "), static_cast<size_t>(kSoundCount));
    EXPECT_EQ(CountLines(early, "Texture Loaded: "), 0u);
}
