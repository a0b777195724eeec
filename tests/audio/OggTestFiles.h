#pragma once

#include <string>
#include <vector>

// Interleaved float samples in [-1, 1].
struct TestSignal {
    std::vector<float> samples;
    int channels = 1;
    int sampleRate = 44100;
};

// A sine tone; stereo tones carry the same wave on both sides.
TestSignal MakeTone(float frequency, float seconds, float amplitude = 0.5f, int channels = 1, int sampleRate = 44100);
// Encodes the signal as Ogg Vorbis; false when the encoder or the file refused.
bool WriteOggFile(const std::string& path, const TestSignal& signal);
// Writes a tone to `path` and returns the path.
std::string WriteToneFile(const std::string& path, float frequency, float seconds, float amplitude = 0.5f,
                          int channels = 1, int sampleRate = 44100);
