#include "resources/GameDirectory.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "audio/OggTestFiles.h"
#include "resources/ResourceLoader.h"
#include "support/TestGame.h"

namespace {

const bool kSilentOutputPrepared = UseWaveOutput("resources", false);

void LinkFromDataDir(const std::string& dir, const char* name) {
    const std::string target = std::string(LIRRA_TEST_DATA_DIR) + "/" + name;
    const std::string link = dir + "/" + name;
    if (symlink(target.c_str(), link.c_str()) != 0) {
        std::perror(link.c_str());
    }
}

}  // namespace

GameDirectory::GameDirectory() : path(MakeTempDir("game")) {
    RunCommand("mkdir -p " + path + "/Audio");
    for (int id = 0; id < kSoundCount; ++id) {
        const float seconds = id < 3 ? 0.5f : 0.1f;  // the three tunes are the longer ones
        WriteToneFile(path + "/" + GetResources().GetSoundPath(id), 220.0f + 110.0f * id, seconds, 0.3f, 1 + id % 2);
    }
    LinkFromDataDir(path, "Textures");
    LinkFromDataDir(path, "Shader");
    LinkFromDataDir(path, "Fonts");
}

void GameDirectory::RemoveSound(int id) const {
    std::remove((path + "/" + GetResources().GetSoundPath(id)).c_str());
}

void GameDirectory::CorruptSound(int id) const {
    WriteFile(path + "/" + GetResources().GetSoundPath(id), "OggS but not really a sound");
}

void GameDirectory::Enter() const {
    if (chdir(path.c_str()) != 0) {
        std::perror(path.c_str());
    }
}

void GameDirectory::Leave() {
    if (chdir(LIRRA_TEST_DATA_DIR) != 0) {
        std::perror(LIRRA_TEST_DATA_DIR);
    }
}
