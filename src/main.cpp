#include <cstdio>

#include "app/FrameClock.h"
#include "app/Game.h"
#include "app/InputScript.h"
#include "app/LaunchOptions.h"
#include "app/StateManager.h"
#include "app/Trace.h"
#include "app/Window.h"
#include "math/MathUtil.h"

namespace {

// Everything the command line asks for is checked and prepared before the window opens.
bool PrepareRun(const LaunchOptions& options) {
    if (!EnterDataDirectory(options)) {
        return false;
    }
    std::string error;
    if (!options.inputFile.empty() && !LoadInputScript(options.inputFile, error)) {
        std::fprintf(stderr, "lirra: %s\n", error.c_str());
        return false;
    }
    if (!options.recordFile.empty() && !OpenInputRecording(options.recordFile)) {
        std::fprintf(stderr, "lirra: cannot write the record file '%s'\n", options.recordFile.c_str());
        return false;
    }
    if (!options.traceFile.empty() && !OpenTrace(options.traceFile)) {
        std::fprintf(stderr, "lirra: cannot write the trace file '%s'\n", options.traceFile.c_str());
        return false;
    }
    if (options.width > 0) {
        SetWindowedSize(options.width, options.height);
    }
    if (options.seeded) {
        SeedRandom(options.seed);
    }
    SetFixedStep(options.fixedStep);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    LaunchOptions options;
    switch (ParseLaunchOptions(argc, argv, options)) {
    case ParseResult::ExitSuccess:
        return 0;
    case ParseResult::ExitFailure:
        return 2;
    case ParseResult::Run:
        break;
    }
    SetLaunchOptions(options);
    if (!PrepareRun(options)) {
        return 2;
    }
    RunGame();
    ShutdownStates();
    CloseTrace();
    CloseInputRecording();
    std::fflush(stdout);
    return 0;
}
