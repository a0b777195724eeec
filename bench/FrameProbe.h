#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PassProbe.h"

// What one frame of a measured run cost and why it may have allocated.
struct FrameRecord {
    long frame = 0;
    std::string scene;
    int64_t logicNs = 0;     // main-thread CPU time
    int64_t drawNs = 0;      // main-thread CPU time
    int64_t frameNs = 0;     // wall time
    int64_t frameCpuNs = 0;  // CPU time of every thread of the process (the renderer's too)
    uint64_t allocations = 0;
    uint64_t driverAllocations = 0;  // Mesa's and LLVM's own, counted apart
    // Reasons a frame allocates by design: a state was requested or loaded, the loading screen
    // loaded assets, a pool grew, a cinematic effect was queued, a dialogue box started, or an
    // object was handed out by its pool and built (an enemy, a soul, a particle emitter): the
    // enemy's and the soul's set-up make their components and sprite meshes afresh.
    bool stateLoaded = false;
    bool loadingAssets = false;
    bool poolGrew = false;
    bool cinematicQueued = false;
    bool dialogueStarted = false;
    bool spawned = false;

    bool AllocatesByDesign() const {
        return stateLoaded || loadingAssets || poolGrew || cinematicQueued || dialogueStarted || spawned;
    }
    // The reasons named by the frame budget itself, without hand-outs.
    bool AllocatesWithoutHandOut() const {
        return stateLoaded || loadingAssets || poolGrew || cinematicQueued || dialogueStarted;
    }
};

// How the measured run is driven beyond its command line.
struct ProbeSettings {
    // Carry the boss fight into its third phase as soon as the first begins, keep Lirra alive,
    // and name the frames from then on "Boss phase 3".
    bool forceBossPhase3 = false;
    // Print a stack for every allocation of a steady frame (to find their sources).
    bool traceSteadyAllocations = false;
    // Quit once this many frames of the named scene have been measured (0: run to the end).
    std::string stopScene;
    long stopSceneFrames = 0;
    // After the named scene's measured frames, this many more frames with each pass waited for and
    // timed apart (they are left out of the frame records: the waits change the frame's cost).
    long passFrames = 0;
    // After the last frame, time this many rounds of the blur and of the composite alone, each
    // waited for with glFinish (0: none).
    int postPassRounds = 0;
    // CLOCK_MONOTONIC nanoseconds when the parent started this process.
    int64_t spawnNs = 0;
};

struct ProbeResult {
    std::vector<FrameRecord> frames;
    // The frames measured pass by pass, in the named scene.
    std::vector<PassFrame> passFrames;
    // From the start of the process to the end of the first loading frame's buffer swap.
    int64_t startupNs = 0;
    // The CPU time all threads of the process spent by then (what the start-up costs on an idle machine).
    int64_t startupCpuNs = 0;
    // Wall time of one blur of ten passes, and of one composite, at the window's size (medians).
    int64_t blurNs = 0;
    int64_t compositeNs = 0;
    int64_t blurCpuNs = 0;
    int64_t compositeCpuNs = 0;
    // From the start of the process to the open window with its first state, before any frame.
    int64_t openNs = 0;
};

// Runs the game as its command line asks, one instrumented frame at a time; false when the
// command line is refused.
bool RunProbe(int argc, char** argv, const ProbeSettings& settings, ProbeResult* result);

int64_t MonotonicNs();
// CPU time of the calling thread: what logic and draw submission cost, whatever else the machine runs.
int64_t ThreadCpuNs();
// CPU time of the whole process, the software renderer's threads included.
int64_t ProcessCpuNs();
