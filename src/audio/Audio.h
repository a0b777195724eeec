#pragma once

#include <string>

// The game's sound layer over OpenAL Soft and libvorbisfile: one audio system for the process,
// sounds decoded whole from Ogg Vorbis files, fire-and-forget voices with volume, pitch and
// looping, and the master controls (stop, pause, mute, volume) over every voice, present and
// future. With no output device, or for a sound that failed to load, every call does nothing.

// One decoded sound. The resource loader owns the sounds it loads.
struct Sound {
    std::string path;
    unsigned int buffer = 0;  // the OpenAL buffer; 0 without an output device
    long frames = 0;          // sample frames per channel
    int channels = 0;
    int sampleRate = 0;

    float GetLength() const { return sampleRate > 0 ? static_cast<float>(frames) / sampleRate : 0.0f; }
};

// The voice a sound was started on. Safe to keep and ask at any time: once the sound has ended,
// been stopped or its voice reused, it reports not playing. A default channel never played.
class AudioChannel {
public:
    AudioChannel() = default;
    AudioChannel(int voiceIndex, unsigned int voiceSerial) : voice(voiceIndex), serial(voiceSerial) {}

    // True while the sound sounds, and while it is held by PauseAllSounds.
    bool IsPlaying() const;
    bool WasStarted() const { return voice >= 0; }

private:
    int voice = -1;
    unsigned int serial = 0;
};

// Voices that may sound at once; a sound started beyond them is dropped.
constexpr int kVoiceBudget = 512;

void AudioInit();
// Closes the output device; runs by itself at exit. Tests use it to finish a recording.
void AudioShutdown();
bool IsAudioRunning();
// Once per frame: reclaims the voices of finished sounds.
void AudioUpdate();

// Decodes an Ogg Vorbis file; prints "Audio loaded: <path>" or the error line and gives null.
// Safe on a worker thread while the main thread plays and updates.
Sound* LoadSound(const char* path);
// Stops the sound wherever it plays and frees it.
void ReleaseSound(Sound* sound);

AudioChannel PlaySound(const Sound* sound, float volume, bool loop, float pitch);

// The master controls act on every voice, and on every voice started later.
void StopAllSounds();
void PauseAllSounds();
void ResumeAllSounds();
void SetMute(bool mute);
void SetMasterVolume(float volume);

bool IsMuted();
bool IsAudioPaused();
float GetMasterVolume();
// Voices holding a sound (playing or paused) as of the last reclaim.
int CountBusyVoices();
