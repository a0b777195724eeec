#include "resources/GameDirectory.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "audio/OggTestFiles.h"
#include "resources/ResourceLoader.h"
#include "support/TestGame.h"

namespace {

// Before main, so before OpenAL reads its configuration: a real output device whose recording
// nobody keeps.
bool PrepareSilentOutput() {
    char pattern[] = "/tmp/lirra-resources-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return false;
    }
    const std::string config = std::string(pattern) + "/alsoft.conf";
    std::ofstream(config) << "[wave]\nfile = /dev/null\n";
    setenv("ALSOFT_CONF", config.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    return true;
}

const bool kSilentOutputPrepared = PrepareSilentOutput();

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
