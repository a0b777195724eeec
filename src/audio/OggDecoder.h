#pragma once

#include <cstdint>
#include <vector>

// A whole Ogg Vorbis file decoded to interleaved signed 16-bit samples.
struct DecodedSound {
    std::vector<int16_t> samples;
    int channels = 0;
    int sampleRate = 0;

    long FrameCount() const { return channels > 0 ? static_cast<long>(samples.size()) / channels : 0; }
};

// Decodes the file at `path`; returns AUDIO_OK or the AudioResult that stopped it.
// Safe to call from any thread: it touches nothing but the file and `out`.
int DecodeOggFile(const char* path, DecodedSound& out);
