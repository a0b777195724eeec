#pragma once

#include <map>
#include <memory>
#include <string>

#include "resources/TextureId.h"

class AudioChannel;
class Texture;
class Mesh;
struct Sound;
enum MeshType : int;

enum AUDIO_DIR : int {
    MENU_BGM = 0,
    GAMEPLAY_BGM = 1,
    BOSS_BGM = 2,
    LIRRA_ATTACK_LIGHT = 3,
    LIRRA_ATTACK_HEAVY = 4,
    BOSS_LAND = 5,
    BOSS_SMASH = 6,
};

constexpr int kSoundCount = 7;
constexpr int kMeshCount = 5;

using SoundTable = std::map<int, Sound*>;

// The loading percentage once sound `loadedIndex` (0 to 6) is in: 14.29, 28.57, ... 85.71, 100.
float SoundLoadProgress(int loadedIndex);

// Loads every sound, texture and standard mesh once and owns them for the whole run.
class ResourceLoader {
public:
    ResourceLoader();
    ~ResourceLoader();
    ResourceLoader(const ResourceLoader&) = delete;
    ResourceLoader& operator=(const ResourceLoader&) = delete;

    // Runs on the loading screen's worker thread; writes the percentage to `progress`.
    SoundTable LoadSounds(float* progress);
    void SetSounds(const SoundTable& table);
    // Main thread, with the GL context.
    void LoadTexturesAndMeshes();

    // An id that is not in its table is reported on standard output and gives null.
    Sound* LookupSound(AUDIO_DIR id) const;
    Texture* LookupTexture(TextureId id) const;
    Mesh* LookupMesh(MeshType id) const;

    const std::string& GetSoundPath(int id) const { return soundPaths[id]; }
    std::string GetTexturePath(TextureId id) const;

private:
    void ReleaseSounds();

    std::string soundPaths[kSoundCount];
    SoundTable sounds;
    std::map<int, std::unique_ptr<Texture>> textures;
    std::map<int, std::unique_ptr<Mesh>> meshes;
    bool soundsHandedOver = false;
};

ResourceLoader& GetResources();

// Plays the resource loader's sound for `id`.
AudioChannel PlayAudio(AUDIO_DIR id, float volume, bool loop, float pitch);
