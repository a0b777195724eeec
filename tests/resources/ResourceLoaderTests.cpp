// The resource loader's tables: the file names it loads, the sound load and its progress.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "audio/Audio.h"
#include "frontend/StateLoading.h"
#include "resources/GameDirectory.h"
#include "resources/ResourceLoader.h"
#include "support/TestGame.h"

namespace {

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

TEST(ResourceTables, NamesTheFilesTheGameShipsWith) {
    const ResourceLoader& loader = GetResources();
    const char* const kSounds[kSoundCount] = {
        "Audio/Menu_BGM.ogg",           "Audio/Gameplay_BGM.ogg",       "Audio/Boss_BGM.ogg",
        "Audio/Lirra_Attack_Light.ogg", "Audio/Lirra_Attack_Heavy.ogg", "Audio/Boss_Land.ogg",
        "Audio/Boss_Smash.ogg",
    };
    for (int id = 0; id < kSoundCount; ++id) {
        EXPECT_EQ(loader.GetSoundPath(id), kSounds[id]);
    }
    EXPECT_EQ(loader.GetTexturePath(TextureId::LirraAttack), "Textures/Lirra/Lirra_Attack.png");
    EXPECT_EQ(loader.GetTexturePath(TextureId::ButtonFrame), "Textures/UI/button_boarder.png");
    EXPECT_EQ(loader.GetTexturePath(TextureId::DefaultParticle), "Textures/Particles/default_particle.png");

    std::set<std::string> distinct;
    for (int id = 0; id < kTextureCount; ++id) {
        const std::string& path = loader.GetTexturePath(static_cast<TextureId>(id));
        distinct.insert(path);
        EXPECT_EQ(path.rfind("Textures/", 0), 0u) << id;
        EXPECT_EQ(path.substr(path.size() - 4), ".png") << id;
    }
    EXPECT_EQ(distinct.size(), static_cast<size_t>(kTextureCount));

    // The generated data must hold every file under exactly these names.
    const std::string data = LIRRA_TEST_DATA_DIR;
    ASSERT_TRUE(FileExists(data + "/" + loader.GetSoundPath(0)) &&
                FileExists(data + "/" + loader.GetTexturePath(TextureId::LirraAttack)))
        << "the generated data is not in " << data;
    for (int id = 0; id < kSoundCount; ++id) {
        EXPECT_TRUE(FileExists(data + "/" + loader.GetSoundPath(id))) << loader.GetSoundPath(id);
    }
    for (int id = 0; id < kTextureCount; ++id) {
        const std::string& path = loader.GetTexturePath(static_cast<TextureId>(id));
        EXPECT_TRUE(FileExists(data + "/" + path)) << path;
    }
}

TEST(ResourceTables, ProgressAndReadoutNumbers) {
    const int kShownAfterSound[kSoundCount - 1] = {14, 28, 42, 57, 71, 85};
    for (int id = 0; id < kSoundCount - 1; ++id) {
        EXPECT_EQ(LoadingReadout(SoundLoadProgress(id), 2.0f), kShownAfterSound[id]) << id;
    }
    EXPECT_EQ(SoundLoadProgress(kSoundCount - 1), 100.0f);
    // Once all sounds are in, the read-out falls back to 70 and climbs with the countdown.
    EXPECT_EQ(LoadingReadout(100.0f, 2.0f), 70);
    EXPECT_EQ(LoadingReadout(100.0f, 0.5f), 85);
    EXPECT_EQ(LoadingReadout(100.0f, -0.95f), 99);
    EXPECT_EQ(LoadingReadout(100.0f, -1.0f), 100);
    EXPECT_EQ(LoadingReadout(100.0f, -1.5f), 100);
}

TEST(ResourceLoaderSounds, LoadsEverySoundUnderItsIdAndReportsProgress) {
    StartTestGame();
    GameDirectory game;
    game.RemoveSound(BOSS_LAND);
    game.CorruptSound(BOSS_SMASH);
    game.Enter();

    alignas(std::atomic_ref<float>::required_alignment) float progress = -1.0f;
    std::atomic<bool> done = false;
    SoundTable returned;
    testing::internal::CaptureStdout();
    std::thread worker([&] {
        returned = GetResources().LoadSounds(&progress);
        done = true;
    });
    std::vector<float> seen;
    while (!done) {
        const float now = std::atomic_ref<float>(progress).load();
        if (seen.empty() || seen.back() != now) {
            seen.push_back(now);
        }
    }
    worker.join();
    const std::string printed = testing::internal::GetCapturedStdout();
    GameDirectory::Leave();

    EXPECT_EQ(progress, 100.0f);
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_LT(seen[i - 1], seen[i]) << "progress never goes back";
    }
    EXPECT_EQ(printed,
              "Audio loaded: Audio/Menu_BGM.ogg\n"
              "Audio loaded: Audio/Gameplay_BGM.ogg\n"
              "Audio loaded: Audio/Boss_BGM.ogg\n"
              "Audio loaded: Audio/Lirra_Attack_Light.ogg\n"
              "Audio loaded: Audio/Lirra_Attack_Heavy.ogg\n"
              "FMOD error! (1) File not found.\n"
              "FMOD error! (3) Unsupported or corrupt sound format.\n");

    ASSERT_EQ(returned.size(), static_cast<size_t>(kSoundCount));
    GetResources().SetSounds(returned);
    testing::internal::CaptureStdout();
    for (int id = MENU_BGM; id <= LIRRA_ATTACK_HEAVY; ++id) {
        const Sound* sound = GetResources().LookupSound(static_cast<AUDIO_DIR>(id));
        ASSERT_NE(sound, nullptr) << id;
        EXPECT_EQ(sound->channels, 1 + id % 2);
    }
    // A sound that failed keeps its key with no sound: nothing is reported, nothing plays.
    EXPECT_EQ(GetResources().LookupSound(BOSS_LAND), nullptr);
    EXPECT_EQ(GetResources().LookupSound(BOSS_SMASH), nullptr);
    EXPECT_FALSE(PlayAudio(BOSS_LAND, 0.1f, false, 1.0f).WasStarted());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    testing::internal::CaptureStdout();
    EXPECT_EQ(GetResources().LookupSound(static_cast<AUDIO_DIR>(kSoundCount)), nullptr);
    EXPECT_EQ(GetResources().LookupSound(static_cast<AUDIO_DIR>(-1)), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "sound id 7 is not in the sound table\nsound id -1 is not in the sound table\n");

    const AudioChannel menu = PlayAudio(MENU_BGM, 0.1f, true, 1.0f);
    EXPECT_EQ(menu.IsPlaying(), IsAudioRunning());
    StopAllSounds();
}

TEST(ResourceLoaderSounds, LoadingAgainReplacesTheEarlierSounds) {
    StartTestGame();
    GameDirectory game;
    game.Enter();
    testing::internal::CaptureStdout();
    const SoundTable first = GetResources().LoadSounds(nullptr);
    const SoundTable second = GetResources().LoadSounds(nullptr);
    testing::internal::GetCapturedStdout();
    GameDirectory::Leave();

    GetResources().SetSounds(second);
    for (int id = 0; id < kSoundCount; ++id) {
        ASSERT_NE(second.at(id), nullptr);
        EXPECT_EQ(GetResources().LookupSound(static_cast<AUDIO_DIR>(id)), second.at(id));
    }
    EXPECT_EQ(CountBusyVoices(), 0);
}
