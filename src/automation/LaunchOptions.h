#pragma once

#include <string>
#include <utility>
#include <vector>

// What the command line asked of this run (replays, tests, benchmarks and level work).
struct LaunchOptions {
    std::string dataDir;
    bool windowed = false;
    int width = 0;
    int height = 0;
    double fixedStep = 0.0;
    bool seeded = false;
    unsigned seed = 0;
    std::string startState;
    std::string inputFile;
    std::string recordFile;
    std::string traceFile;
    std::vector<std::pair<long, std::string>> screenshots;
    long frames = -1;
};

enum class ParseResult { Run, ExitSuccess, ExitFailure };

// Parses the arguments; usage errors go to standard error.
ParseResult ParseLaunchOptions(int argc, char** argv, LaunchOptions& options);

const LaunchOptions& GetLaunchOptions();
void SetLaunchOptions(const LaunchOptions& options);

// The data directory the binary was built or installed with.
std::string BuiltInDataDir();
// Applies --data, or moves to the built-in data directory when the working directory has none.
bool EnterDataDirectory(const LaunchOptions& options);
