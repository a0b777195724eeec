#include "resources/ResourceLoader.h"

#include <atomic>
#include <set>

#include "base/Log.h"
#include "audio/Audio.h"
#include "graphics/Mesh.h"
#include "graphics/Texture.h"
#include "resources/SoundLoad.h"

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
          "Audio/Menu_BGM.ogg",
          "Audio/Gameplay_BGM.ogg",
          "Audio/Boss_BGM.ogg",
          "Audio/Lirra_Attack_Light.ogg",
          "Audio/Lirra_Attack_Heavy.ogg",
          "Audio/Boss_Land.ogg",
          "Audio/Boss_Smash.ogg",
      },
      texturePaths{
          "Textures/Lirra/Lirra_Attack.png",
          "Textures/Lirra/Lirra_CollectSoul.png",
          "Textures/Lirra/Lirra_Damaged.png",
          "Textures/Lirra/Lirra_Death.png",
          "Textures/Lirra/Lirra_Idle.png",
          "Textures/Lirra/Lirra_Jump.png",
          "Textures/Lirra/Lirra_Fall.png",
          "Textures/Lirra/Lirra_Glide.png",
          "Textures/Lirra/Lirra_Run.png",
          "Textures/Forest/Forest_Tileset_1.png",
          "Textures/Forest/Forest_FG_Lower.png",
          "Textures/Forest/Forest_FG_Upper.png",
          "Textures/Forest/Forest_MG.png",
          "Textures/Forest/Forest_BG.png",
          "Textures/NPC/Dired_Idle.png",
          "Textures/NPC/Vozarovu_Idle.png",
          "Textures/NPC/Vozarovu_Run.png",
          "Textures/NPC/Vozarovu_Attack.png",
          "Textures/NPC/Vozarovu_Damaged.png",
          "Textures/NPC/Vozarovu_Death.png",
          "Textures/NPC/VozarovuF_Idle.png",
          "Textures/Boss/Boss_Hand_Raised.png",
          "Textures/Boss/Boss_Hand_Slam.png",
          "Textures/Boss/Boss_Hand_Grounded.png",
          "Textures/Boss/Boss_Hand_Sweep.png",
          "Textures/Boss/Boss_Hand_Lift.png",
          "Textures/Boss/Boss_Body.png",
          "Textures/Boss/Boss_Head.png",
          "Textures/Interactable/Soul-Fire.png",
          "Textures/Interactable/Soul-Fire-Green.png",
          "Textures/Interactable/Soul-Fire-Purple.png",
          "Textures/Interactable/Wind_North2.png",
          "Textures/Interactable/Wind_East.png",
          "Textures/Interactable/Wind_South.png",
          "Textures/Interactable/Wind_West.png",
          "Textures/Interactable/Portal.png",
          "Textures/UI/cursor.png",
          "Textures/UI/key_Q.png",
          "Textures/UI/key_W.png",
          "Textures/UI/key_left.png",
          "Textures/UI/key_right.png",
          "Textures/UI/key_up.png",
          "Textures/UI/dialogpanel.png",
          "Textures/UI/cinbar.png",
          "Textures/UI/brelmor_logo.png",
          "Textures/UI/Lirra_Title.png",
          "Textures/UI/health_hud.png",
          "Textures/UI/button_back.png",
          "Textures/UI/button_confirm.png",
          "Textures/UI/button_exit.png",
          "Textures/UI/button_options.png",
          "Textures/UI/button_mute.png",
          "Textures/UI/button_fullscreen.png",
          "Textures/UI/button_resume.png",
          "Textures/UI/button_boarder.png",
          "Textures/UI/button_controls.png",
          "Textures/UI/button_credits.png",
          "Textures/UI/panel_pause.png",
          "Textures/UI/panel_options.png",
          "Textures/UI/panel_confirm.png",
          "Textures/UI/panel_controls.png",
          "Textures/UI/panel_credits.png",
          "Textures/Particles/default_particle.png",
      } {}

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
