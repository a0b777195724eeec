#pragma once

#include <string>
#include <vector>

// OpenAL Soft's wave-file back-end writes everything the game plays into a WAV file, in real
// time. These helpers point it there (before the first OpenAL call of the process) and read
// back what was heard.

// The WAV file every audio session of this test process writes.
std::string WaveFilePath();
// The directory this process's files go to.
std::string AudioTestDir();

// What one session played: the channels mixed down to one, in [-1, 1].
struct Recording {
    std::vector<float> mono;
    int sampleRate = 0;
    int channels = 0;

    double Duration() const { return sampleRate > 0 ? static_cast<double>(mono.size()) / sampleRate : 0.0; }
    // Root mean square level between two times (seconds from the session's start).
    double Rms(double from, double to) const;
    // The dominant frequency from upward zero crossings, in Hz.
    double Frequency(double from, double to) const;
    // The largest change between two neighbouring samples (a click shows as a jump).
    double MaxStep(double from, double to) const;
    // The lowest level of any window of `window` seconds in the span (a gap shows as a dip).
    double MinWindowRms(double from, double to, double window) const;
    // The start of the first window of `window` seconds from `from` on whose level is above
    // `level` (or, with `below`, under it): where a sound sets in or stops in the recording,
    // whenever the output thread got to it. Negative when there is none.
    double Onset(double from, double level, double window, bool below = false) const;
};

// Reads a 16-bit PCM or float WAV file; empty when it cannot be read.
Recording ReadWaveFile(const std::string& path);

// Opens the output device on construction; Finish closes it and reads what was recorded.
class AudioSession {
public:
    AudioSession();
    ~AudioSession();
    AudioSession(const AudioSession&) = delete;
    AudioSession& operator=(const AudioSession&) = delete;

    // Seconds since the device opened.
    double Now() const;
    // Keeps the main loop's AudioUpdate going until `seconds` after the start.
    void WaitUntil(double seconds) const;
    Recording Finish();

private:
    double startTime = 0.0;
    bool finished = false;
};
