#include "audio/WaveRecording.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "audio/Audio.h"

namespace {

double WallSeconds() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

std::string& TestDirStorage() {
    static std::string dir;
    return dir;
}

// Runs before main, so before any OpenAL call reads its configuration. A child process started
// by a test brings its own configuration.
bool PrepareWaveOutput() {
    char pattern[] = "/tmp/lirra-audio-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return false;
    }
    TestDirStorage() = pattern;
    if (std::getenv("LIRRA_AUDIO_TEST_CHILD") != nullptr) {
        return true;
    }
    const std::string config = TestDirStorage() + "/alsoft.conf";
    std::ofstream file(config);
    file << "[general]\n"
            "channels = stereo\n"
            "frequency = 44100\n"
            "sample-type = int16\n"
            "dither = false\n"
            "output-limiter = false\n"
            "hrtf = false\n"
            "[wave]\n"
            "file = "
         << TestDirStorage() << "/played.wav\n";
    file.close();
    setenv("ALSOFT_CONF", config.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    return true;
}

const bool kWaveOutputPrepared = PrepareWaveOutput();

uint32_t ReadLittle32(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

uint16_t ReadLittle16(const unsigned char* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

size_t Index(const Recording& recording, double seconds) {
    const double clamped = std::max(0.0, seconds * recording.sampleRate);
    return std::min(recording.mono.size(), static_cast<size_t>(clamped));
}

}  // namespace

std::string AudioTestDir() {
    return TestDirStorage();
}

std::string WaveFilePath() {
    return TestDirStorage() + "/played.wav";
}

double Recording::Rms(double from, double to) const {
    const size_t begin = Index(*this, from);
    const size_t end = Index(*this, to);
    if (end <= begin) {
        return 0.0;
    }
    double sum = 0.0;
    for (size_t i = begin; i < end; ++i) {
        sum += static_cast<double>(mono[i]) * mono[i];
    }
    return std::sqrt(sum / static_cast<double>(end - begin));
}

double Recording::Frequency(double from, double to) const {
    const size_t begin = Index(*this, from);
    const size_t end = Index(*this, to);
    long crossings = 0;
    size_t first = 0;
    size_t last = 0;
    for (size_t i = begin + 1; i < end; ++i) {
        if (mono[i - 1] < 0.0f && mono[i] >= 0.0f) {
            if (crossings == 0) {
                first = i;
            }
            last = i;
            ++crossings;
        }
    }
    if (crossings < 2) {
        return 0.0;
    }
    return static_cast<double>(crossings - 1) * sampleRate / static_cast<double>(last - first);
}

double Recording::MaxStep(double from, double to) const {
    const size_t begin = Index(*this, from);
    const size_t end = Index(*this, to);
    double largest = 0.0;
    for (size_t i = begin + 1; i < end; ++i) {
        largest = std::max(largest, static_cast<double>(std::fabs(mono[i] - mono[i - 1])));
    }
    return largest;
}

double Recording::MinWindowRms(double from, double to, double window) const {
    double lowest = 1e9;
    for (double t = from; t + window <= to; t += window) {
        lowest = std::min(lowest, Rms(t, t + window));
    }
    return lowest;
}

double Recording::Onset(double from, double level, double window, bool below) const {
    for (double t = from; t + window <= Duration(); t += window / 4.0) {
        const double rms = Rms(t, t + window);
        if (below ? rms < level : rms > level) {
            return t;
        }
    }
    return -1.0;
}

Recording ReadWaveFile(const std::string& path) {
    Recording recording;
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
        return recording;
    }
    int bits = 0;
    bool isFloat = false;
    size_t offset = 12;
    while (offset + 8 <= bytes.size()) {
        const uint32_t chunkSize = ReadLittle32(data + offset + 4);
        const unsigned char* body = data + offset + 8;
        if (std::memcmp(data + offset, "fmt ", 4) == 0 && chunkSize >= 16) {
            const uint16_t format = ReadLittle16(body);
            recording.channels = ReadLittle16(body + 2);
            recording.sampleRate = static_cast<int>(ReadLittle32(body + 4));
            bits = ReadLittle16(body + 14);
            // WAVE_FORMAT_EXTENSIBLE names the real format in its sub-format GUID.
            const uint16_t realFormat = format == 0xFFFE && chunkSize >= 26 ? ReadLittle16(body + 24) : format;
            isFloat = realFormat == 3;
        } else if (std::memcmp(data + offset, "data", 4) == 0) {
            // The size is written when the device closes; an unfinished file runs to its end.
            const size_t available = bytes.size() - (offset + 8);
            const size_t size = chunkSize == 0 || chunkSize > available ? available : chunkSize;
            const int sampleBytes = bits / 8;
            if (recording.channels <= 0 || sampleBytes <= 0) {
                return Recording();
            }
            const size_t frames = size / (static_cast<size_t>(sampleBytes) * recording.channels);
            recording.mono.resize(frames);
            for (size_t f = 0; f < frames; ++f) {
                double sum = 0.0;
                for (int c = 0; c < recording.channels; ++c) {
                    const unsigned char* sample = body + (f * recording.channels + c) * sampleBytes;
                    if (isFloat && sampleBytes == 4) {
                        float value = 0.0f;
                        std::memcpy(&value, sample, 4);
                        sum += value;
                    } else if (sampleBytes == 2) {
                        sum += static_cast<int16_t>(ReadLittle16(sample)) / 32768.0;
                    }
                }
                recording.mono[f] = static_cast<float>(sum / recording.channels);
            }
            return recording;
        }
        offset += 8 + chunkSize + (chunkSize & 1);
    }
    return Recording();
}

AudioSession::AudioSession() {
    AudioInit();
    startTime = WallSeconds();
}

AudioSession::~AudioSession() {
    if (!finished) {
        AudioShutdown();
    }
}

double AudioSession::Now() const {
    return WallSeconds() - startTime;
}

void AudioSession::WaitUntil(double seconds) const {
    while (Now() < seconds) {
        AudioUpdate();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

Recording AudioSession::Finish() {
    finished = true;
    AudioShutdown();
    return ReadWaveFile(WaveFilePath());
}
