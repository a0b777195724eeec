#include "faults/FaultRun.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "support/TestGame.h"

namespace {

const bool kSilentOutputPrepared = UseWaveOutput("faults", false);

const char* const kRunOptions = " --size 64x45 --fixed-step 0.0166667 --seed 1";

// The splash ends at a key; Space is pressed a few times from just after loading, so a run whose
// loading took a little longer or shorter still skips it. In the main menu Space only jumps.
const char* const kSkipSplash =
    "225 key SPACE press\n226 key SPACE release\n"
    "240 key SPACE press\n241 key SPACE release\n"
    "255 key SPACE press\n256 key SPACE release\n";
constexpr int kMainMenuFrames = 300;
constexpr int kStartFrames = 280;

// As the front end's own scripted run: the splash skipped, a walk to Dired, E held through her
// talk, and a walk into the portal she summons.
const char* const kStory =
    "240 key SPACE press\n242 key SPACE release\n"
    "300 key LEFT press\n352 key LEFT release\n"
    "360 key E press\n380 key E release\n"
    "1700 key E press\n1705 key RIGHT press\n1758 key RIGHT release\n1770 key E release\n";
constexpr int kStoryFrames = 1850;

std::string ParentOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

std::vector<std::string> ScreensOf(const std::string& trace, std::string* lastLine) {
    std::vector<std::string> screens;
    std::istringstream lines(trace);
    std::string line;
    const std::string marker = "\"state\": \"";
    while (std::getline(lines, line)) {
        *lastLine = line;
        const size_t at = line.find(marker);
        if (at == std::string::npos) {
            continue;
        }
        const size_t start = at + marker.size();
        const std::string screen = line.substr(start, line.find('"', start) - start);
        if (screens.empty() || screens.back() != screen) {
            screens.push_back(screen);
        }
    }
    return screens;
}

struct FaultTally {
    int tried = 0;
    int survived = 0;
    std::vector<std::string> lost;
};

FaultTally& Tally() {
    static FaultTally tally;
    return tally;
}

class FaultFigures : public testing::Environment {
public:
    void TearDown() override {
        const FaultTally& tally = Tally();
        if (tally.tried == 0) {
            return;
        }
        std::printf("Faults tried: %d, survived: %d\n", tally.tried, tally.survived);
        for (const std::string& name : tally.lost) {
            std::printf("  not survived: %s\n", name.c_str());
        }
        std::fflush(stdout);
    }
};

testing::Environment* const kFaultFigures = testing::AddGlobalTestEnvironment(new FaultFigures);

}  // namespace

const char* DamageName(Damage damage) {
    switch (damage) {
    case Damage::MISSING:
        return "missing";
    case Damage::TRUNCATED:
        return "truncated";
    case Damage::RANDOM_BYTES:
        return "random";
    }
    return "?";
}

DataCopy::DataCopy() : path(MakeTempDir("fault") + "/data") {
    const int status = RunCommand("cp -al '" + std::string(LIRRA_TEST_DATA_DIR) + "' '" + path + "'");
    if (status != 0) {
        ADD_FAILURE() << "cannot copy the data directory into " << path;
    }
}

DataCopy::~DataCopy() {
    if (std::getenv("LIRRA_KEEP_FAULT_RUNS") == nullptr) {
        std::error_code ignored;
        std::filesystem::remove_all(ParentOf(path), ignored);
    }
}

void DataCopy::Damage(const std::string& file, ::Damage damage) const {
    const std::string original = ReadFile(PathOf(file));
    std::remove(PathOf(file).c_str());
    switch (damage) {
    case Damage::MISSING:
        return;
    case Damage::TRUNCATED:
        WriteFile(PathOf(file), original.substr(0, original.size() / 2));
        return;
    case Damage::RANDOM_BYTES: {
        std::seed_seq seed(file.begin(), file.end());
        std::mt19937 random(seed);
        std::string bytes(original.size(), '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(random() & 0xFF);
        }
        WriteFile(PathOf(file), bytes);
        return;
    }
    }
}

void DataCopy::Replace(const std::string& file, const std::string& content) const {
    std::remove(PathOf(file).c_str());
    WriteFile(PathOf(file), content);
}

GameRun RunGameOn(const DataCopy& data, int frames, const std::string& options, const std::string& environment) {
    const std::string base = ParentOf(data.Path());
    const std::string trace = base + "/trace.jsonl";
    std::remove(trace.c_str());
    // A hang ends at the timeout: a minute, or a tenth of a second a frame for the long runs,
    // which a loaded machine or a sanitized build may need.
    const int seconds = std::max(60, frames / 10);
    const std::string game = "timeout " + std::to_string(seconds) + " '" + LIRRA_BINARY_PATH + "' --data '" +
                             data.Path() + "'" + kRunOptions + " --frames " + std::to_string(frames) + " --trace '" +
                             trace + "' " + options;
    GameRun run;
    run.status = RunOnOwnDisplay("env -C '" + base + "' " + environment + " " + game, &run.output, "320x240x24");
    run.screens = ScreensOf(ReadFile(trace), &run.lastTraceLine);
    return run;
}

GameRun RunToMainMenu(const DataCopy& data, const std::string& environment) {
    const std::string input = ParentOf(data.Path()) + "/skip-splash.txt";
    WriteFile(input, kSkipSplash);
    return RunGameOn(data, kMainMenuFrames, "--input '" + input + "'", environment);
}

GameRun RunInto(const DataCopy& data, const std::string& screen, const std::string& environment) {
    return RunGameOn(data, kStartFrames, "--start '" + screen + "'", environment);
}

GameRun RunStoryToLevelOne(const DataCopy& data, const std::string& environment) {
    const std::string input = ParentOf(data.Path()) + "/story.txt";
    WriteFile(input, kStory);
    return RunGameOn(data, kStoryFrames, "--input '" + input + "'", environment);
}

std::vector<std::string> ListDataFiles() {
    std::vector<std::string> files;
    const std::filesystem::path root(LIRRA_TEST_DATA_DIR);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files.push_back(std::filesystem::relative(entry.path(), root).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string DescribeScreens(const std::vector<std::string>& screens) {
    std::string text;
    for (const std::string& screen : screens) {
        text += (text.empty() ? "" : " -> ") + screen;
    }
    return text.empty() ? "(no frame traced)" : text;
}

void CountFault(const std::string& name, bool survived) {
    FaultTally& tally = Tally();
    ++tally.tried;
    if (survived) {
        ++tally.survived;
    } else {
        tally.lost.push_back(name);
    }
    std::printf("Fault %s: %s\n", name.c_str(), survived ? "survived" : "NOT survived");
    std::fflush(stdout);
}
