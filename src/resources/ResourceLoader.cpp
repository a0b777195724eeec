#include "resources/ResourceLoader.h"

#include <atomic>
#include <set>

#include "base/Log.h"
#include "audio/Audio.h"
#include "graphics/Mesh.h"
#include "graphics/Texture.h"
#include "resources/SoundLoad.h"
#include "resources/TexturePaths.h"

namespace {

// The worker writes the percentage while the main thread reads it every frame.
void StoreProgress(float* progress, float value) {
    if (progress != nullptr) {
        std::atomic_ref<float>(*progress).store(value, std::memory_order_relaxed);
    }
}

// Once per id: a caller that misses tends to miss again every time it plays.
void ReportMissingSound(int id) {
    static std::set<int> reported;
    if (reported.insert(id).second) {
        Log("sound id %d is not in the sound table\n", id);
    }
}

}  // namespace

float SoundLoadProgress(int loadedIndex) {
    return 100.0f - static_cast<float>(kSoundCount - 1 - loadedIndex) / kSoundCount * 100.0f;
}

ResourceLoader::ResourceLoader()
    : soundPaths{
          "Audio/Menu_BGM.ogg",           "Audio/Gameplay_BGM.ogg",       "Audio/Boss_BGM.ogg",
          "Audio/Lirra_Attack_Light.ogg", "Audio/Lirra_Attack_Heavy.ogg", "Audio/Boss_Land.ogg",
          "Audio/Boss_Smash.ogg",
      } {}

std::string ResourceLoader::GetTexturePath(TextureId id) const {
    return kTexturePaths[ToInt(id)];
}

SoundTable ResourceLoader::LoadSounds(float* progress) {
    soundsHandedOver = true;
    StoreProgress(progress, 0.0f);
    for (int id = 0; id < kSoundCount; ++id) {
        Sound* sound = LoadSound(soundPaths[id].c_str());
        // Loading again replaces a sound of an earlier load instead of leaking it.
        auto [entry, inserted] = sounds.try_emplace(id, sound);
        if (!inserted) {
            ReleaseSound(entry->second);
            entry->second = sound;
        }
        StoreProgress(progress, SoundLoadProgress(id));
    }
    return sounds;
}

void ResourceLoader::SetSounds(const SoundTable& table) {
    sounds = table;
}

Sound* ResourceLoader::LookupSound(AUDIO_DIR id) const {
    const auto entry = sounds.find(id);
    if (entry == sounds.end()) {
        ReportMissingSound(id);
        return nullptr;
    }
    return entry->second;
}

void ResourceLoader::ReleaseSounds() {
    // A sound load still running (the game was closed on the loading screen) fills the table:
    // let it finish first.
    WaitForSoundLoad();
    for (auto& [id, sound] : sounds) {
        ReleaseSound(sound);
    }
    sounds.clear();
}

ResourceLoader& GetResources() {
    static ResourceLoader loader;
    return loader;
}

AudioChannel PlayAudio(AUDIO_DIR id, float volume, bool loop, float pitch) {
    return PlaySound(GetResources().LookupSound(id), volume, loop, pitch);
}
