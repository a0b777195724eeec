#include "audio/Audio.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "base/Log.h"
#include "audio/AudioErrors.h"
#include "audio/OggDecoder.h"

namespace {

struct Voice {
    ALuint source = 0;
    const Sound* sound = nullptr;
    unsigned int serial = 0;
    bool busy = false;
    bool heldForResume = false;  // started while the master group was paused
};

struct AudioSystem {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    std::vector<Voice> voices;
    std::vector<Sound*> sounds;  // every sound with a buffer on this device
    float masterVolume = 1.0f;
    bool muted = false;
    bool paused = false;
};

// The worker thread loads sounds while the main thread plays and updates: every OpenAL call
// and every change of the system runs under this lock (decoding does not).
std::mutex audioMutex;
// Never freed by the game, so sounds released during the process's exit still find it.
AudioSystem* audio = nullptr;
// Counts on across device sessions, so that a channel from an earlier session never matches.
unsigned int nextSerial = 1;

ALint SourceState(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

bool IsVoiceSounding(const Voice& voice) {
    if (!voice.busy) {
        return false;
    }
    if (voice.heldForResume) {
        return true;
    }
    const ALint state = SourceState(voice.source);
    return state == AL_PLAYING || state == AL_PAUSED;
}

void FreeVoice(Voice& voice) {
    alSourcei(voice.source, AL_BUFFER, 0);
    voice.sound = nullptr;
    voice.busy = false;
    voice.heldForResume = false;
}

void ReclaimFinishedVoices() {
    for (Voice& voice : audio->voices) {
        if (voice.busy && !IsVoiceSounding(voice)) {
            FreeVoice(voice);
        }
    }
}

int FindIdleVoice() {
    for (size_t i = 0; i < audio->voices.size(); ++i) {
        if (!audio->voices[i].busy) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int CreateVoice() {
    if (static_cast<int>(audio->voices.size()) >= kVoiceBudget) {
        return -1;
    }
    alGetError();
    Voice voice;
    alGenSources(1, &voice.source);
    if (alGetError() != AL_NO_ERROR) {
        return -1;
    }
    // Every voice plays at the listener, unattenuated: the game's sound is not positional.
    alSourcei(voice.source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(voice.source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(voice.source, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcef(voice.source, AL_MAX_GAIN, 16.0f);
    audio->voices.push_back(voice);
    return static_cast<int>(audio->voices.size()) - 1;
}

int AcquireVoice() {
    int index = FindIdleVoice();
    if (index < 0) {
        index = CreateVoice();
    }
    if (index < 0) {
        ReclaimFinishedVoices();
        index = FindIdleVoice();
    }
    return index;
}

unsigned int NextSerial() {
    if (nextSerial == 0) {
        nextSerial = 1;  // 0 stays the serial of no sound
    }
    return nextSerial++;
}

float SanitisedVolume(float volume) {
    return std::isfinite(volume) ? std::max(volume, 0.0f) : 0.0f;
}

float SanitisedPitch(float pitch) {
    return std::isfinite(pitch) ? std::max(pitch, 0.0f) : 1.0f;
}

void ApplyListenerGain() {
    alListenerf(AL_GAIN, audio->muted ? 0.0f : audio->masterVolume);
}

int UploadSamples(Sound& sound, const DecodedSound& decoded) {
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) {
        return AUDIO_ERR_MEMORY;
    }
    const ALenum format = decoded.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    const ALsizei bytes = static_cast<ALsizei>(decoded.samples.size() * sizeof(int16_t));
    alBufferData(buffer, format, decoded.samples.data(), bytes, decoded.sampleRate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return AUDIO_ERR_MEMORY;
    }
    sound.buffer = buffer;
    return AUDIO_OK;
}

void StopVoicesOf(const Sound* sound) {
    for (Voice& voice : audio->voices) {
        if (voice.busy && voice.sound == sound) {
            alSourceStop(voice.source);
            FreeVoice(voice);
        }
    }
}

void CloseDevice(ALCdevice* device, ALCcontext* context) {
    alcMakeContextCurrent(nullptr);
    if (context != nullptr) {
        alcDestroyContext(context);
    }
    alcCloseDevice(device);
}

}  // namespace

bool AudioChannel::IsPlaying() const {
    std::lock_guard<std::mutex> lock(audioMutex);
    if (audio == nullptr || voice < 0 || voice >= static_cast<int>(audio->voices.size())) {
        return false;
    }
    const Voice& held = audio->voices[voice];
    return held.serial == serial && IsVoiceSounding(held);
}

void AudioInit() {
    std::lock_guard<std::mutex> lock(audioMutex);
    if (audio != nullptr) {
        return;
    }
    ALCdevice* device = alcOpenDevice(nullptr);
    if (device == nullptr) {
        ReportAudioError(AUDIO_ERR_NO_DEVICE);
        return;
    }
    const ALCint attributes[] = {ALC_MONO_SOURCES, kVoiceBudget, ALC_STEREO_SOURCES, 0, 0};
    ALCcontext* context = alcCreateContext(device, attributes);
    if (context == nullptr || alcMakeContextCurrent(context) == ALC_FALSE) {
        CloseDevice(device, context);
        ReportAudioError(AUDIO_ERR_CONTEXT);
        return;
    }
    audio = new AudioSystem();  // by hand: the pointer must outlive static destruction, see above
    audio->device = device;
    audio->context = context;
    audio->voices.reserve(kVoiceBudget);
    ApplyListenerGain();
    // The device is closed at exit, after the resource loader has released its sounds.
    static const bool closesAtExit = std::atexit(AudioShutdown) == 0;
    (void)closesAtExit;
}

void AudioShutdown() {
    std::lock_guard<std::mutex> lock(audioMutex);
    if (audio == nullptr) {
        return;
    }
    for (Voice& voice : audio->voices) {
        alSourceStop(voice.source);
        alDeleteSources(1, &voice.source);
    }
    // The sounds stay with their owners, silent from now on.
    for (Sound* sound : audio->sounds) {
        alDeleteBuffers(1, &sound->buffer);
        sound->buffer = 0;
    }
    CloseDevice(audio->device, audio->context);
    delete audio;
    audio = nullptr;
}

bool IsAudioRunning() {
    std::lock_guard<std::mutex> lock(audioMutex);
    return audio != nullptr;
}

void AudioUpdate() {
    std::lock_guard<std::mutex> lock(audioMutex);
    if (audio != nullptr) {
        ReclaimFinishedVoices();
    }
}

Sound* LoadSound(const char* path) {
    DecodedSound decoded;
    const int decodeResult = path != nullptr ? DecodeOggFile(path, decoded) : AUDIO_ERR_FILE_NOT_FOUND;
    if (decodeResult != AUDIO_OK) {
        ReportAudioError(decodeResult);
        return nullptr;
    }
    // By hand: a sound crosses from the loading thread to the resource table, and only
    // ReleaseSound may end it, as it must leave the device under the audio lock first.
    Sound* sound = new Sound();
    sound->path = path;
    sound->frames = decoded.FrameCount();
    sound->channels = decoded.channels;
    sound->sampleRate = decoded.sampleRate;

    int uploadResult = AUDIO_OK;
    {
        std::lock_guard<std::mutex> lock(audioMutex);
        // Without a device the file is still checked and reported; the sound then plays nothing.
        if (audio != nullptr) {
            uploadResult = UploadSamples(*sound, decoded);
            if (uploadResult == AUDIO_OK) {
                audio->sounds.push_back(sound);
            }
        }
    }
    if (uploadResult != AUDIO_OK) {
        ReportAudioError(uploadResult);
        delete sound;
        return nullptr;
    }
    Log("Audio loaded: %s\n", path);
    return sound;
}

void ReleaseSound(Sound* sound) {
    if (sound == nullptr) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(audioMutex);
        if (audio != nullptr && sound->buffer != 0) {
            StopVoicesOf(sound);
            alDeleteBuffers(1, &sound->buffer);
            std::erase(audio->sounds, sound);
        }
    }
    delete sound;
}

AudioChannel PlaySound(const Sound* sound, float volume, bool loop, float pitch) {
    std::lock_guard<std::mutex> lock(audioMutex);
    if (audio == nullptr || sound == nullptr || sound->buffer == 0) {
        return AudioChannel();
    }
    const int index = AcquireVoice();
    if (index < 0) {
        return AudioChannel();  // over the voice budget: this sound is dropped
    }
    Voice& voice = audio->voices[index];
    // Volume and pitch are set before the start, so no mix block plays at the defaults.
    alSourcei(voice.source, AL_BUFFER, static_cast<ALint>(sound->buffer));
    alSourcef(voice.source, AL_GAIN, SanitisedVolume(volume));
    alSourcef(voice.source, AL_PITCH, SanitisedPitch(pitch));
    alSourcei(voice.source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    voice.sound = sound;
    voice.busy = true;
    voice.serial = NextSerial();
    voice.heldForResume = audio->paused;
    if (!audio->paused) {
        alSourcePlay(voice.source);
    }
    return AudioChannel(index, voice.serial);
}

void StopAllSounds() {
    std::lock_guard<std::mutex> lock(audioMutex);
    if (audio == nullptr) {
        return;
    }
    std::vector<ALuint> sources;
    for (const Voice& voice : audio->voices) {
        if (voice.busy) {
            sources.push_back(voice.source);
        }
    }
    if (!sources.empty()) {
        alSourceStopv(static_cast<ALsizei>(sources.size()), sources.data());
    }
    for (Voice& voice : audio->voices) {
        if (voice.busy) {
            FreeVoice(voice);
        }
    }
}

void PauseAllSounds() {
    std::lock_guard<std::mutex> lock(audioMutex);
    if (audio == nullptr || audio->paused) {
        return;
    }
    audio->paused = true;
    std::vector<ALuint> sources;
    for (const Voice& voice : audio->voices) {
        if (voice.busy && SourceState(voice.source) == AL_PLAYING) {
            sources.push_back(voice.source);
        }
    }
    // All at once, so that the voices stay in step with one another.
    if (!sources.empty()) {
        alSourcePausev(static_cast<ALsizei>(sources.size()), sources.data());
    }
}

void ResumeAllSounds() {
    std::lock_guard<std::mutex> lock(audioMutex);
    if (audio == nullptr || !audio->paused) {
        return;
    }
    audio->paused = false;
    std::vector<ALuint> sources;
    for (Voice& voice : audio->voices) {
        if (voice.busy && (voice.heldForResume || SourceState(voice.source) == AL_PAUSED)) {
            sources.push_back(voice.source);
            voice.heldForResume = false;
        }
    }
    if (!sources.empty()) {
        alSourcePlayv(static_cast<ALsizei>(sources.size()), sources.data());
    }
}

void SetMute(bool mute) {
    std::lock_guard<std::mutex> lock(audioMutex);
    if (audio == nullptr) {
        return;
    }
    audio->muted = mute;
    ApplyListenerGain();
}

void SetMasterVolume(float volume) {
    std::lock_guard<std::mutex> lock(audioMutex);
    if (audio == nullptr) {
        return;
    }
    audio->masterVolume = SanitisedVolume(volume);
    ApplyListenerGain();
}

bool IsMuted() {
    std::lock_guard<std::mutex> lock(audioMutex);
    return audio != nullptr && audio->muted;
}

bool IsAudioPaused() {
    std::lock_guard<std::mutex> lock(audioMutex);
    return audio != nullptr && audio->paused;
}

float GetMasterVolume() {
    std::lock_guard<std::mutex> lock(audioMutex);
    return audio != nullptr ? audio->masterVolume : 1.0f;
}

int CountBusyVoices() {
    std::lock_guard<std::mutex> lock(audioMutex);
    if (audio == nullptr) {
        return 0;
    }
    return static_cast<int>(
        std::count_if(audio->voices.begin(), audio->voices.end(), [](const Voice& voice) { return voice.busy; }));
}
