#include "resources/SoundLoad.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <future>
#include <system_error>

#include "base/Log.h"
#include "resources/ResourceLoader.h"

namespace {

// Written by the worker, read by the main thread every frame; a stale read only delays the display.
alignas(std::atomic_ref<float>::required_alignment) float loadProgress = 0.0f;
std::future<SoundTable> soundTask;

}  // namespace

void StartSoundLoad() {
    std::atomic_ref<float>(loadProgress).store(0.0f, std::memory_order_relaxed);
    auto load = [] { return GetResources().LoadSounds(&loadProgress); };
    try {
        soundTask = std::async(std::launch::async, load);
    } catch (const std::system_error& error) {
        Log("No loading thread (%s): sounds load on the main thread\n", error.what());
        soundTask = std::async(std::launch::deferred, load);
    }
}

void RunDeferredSoundLoad() {
    if (soundTask.valid() && soundTask.wait_for(std::chrono::seconds(0)) == std::future_status::deferred) {
        soundTask.wait();
    }
}

void TakeLoadedSounds() {
    if (!soundTask.valid()) {
        return;
    }
    try {
        GetResources().SetSounds(soundTask.get());
    } catch (const std::exception& error) {
        Log("Sound loading failed: %s\n", error.what());
    }
}

float GetLoadProgress() {
    return std::atomic_ref<float>(loadProgress).load(std::memory_order_relaxed);
}

void WaitForSoundLoad() {
    if (soundTask.valid()) {
        soundTask.wait();
    }
}
