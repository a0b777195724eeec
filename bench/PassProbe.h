#pragma once

#include <cstdint>

// Where a frame's CPU goes, pass by pass: the bench stands in for the GL calls that draw and
// clear, and whenever the kind of work changes (a parallax layer, the sprites, the blur, a
// composite, the text...) it waits for the renderer with glFinish and books the process CPU time
// since the last change to the pass that ends. Off, it costs a flag test per call.

constexpr int kMaxProbedPasses = 32;

struct PassTime {
    const char* name = nullptr;
    int64_t cpuNs = 0;
    int draws = 0;  // draw and clear calls
};

struct PassFrame {
    long frame = 0;
    int count = 0;
    PassTime passes[kMaxProbedPasses];
};

// Takes over the GL entry points the game reaches through GLEW; call once GLEW is initialised.
void InstallPassProbe();
void StartProbedFrame(long frame);
// The work from here on is the named pass, until the next change (names are string literals).
void MarkPass(const char* name);
PassFrame EndProbedFrame();
