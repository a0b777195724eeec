#include <gtest/gtest.h>

#include <dirent.h>

#include <string>
#include <vector>

#include "../../fuzz/LevelTextCheck.h"
#include "levels/LevelFileFormat.h"
#include "support/TestGame.h"

namespace {

std::vector<std::string> FilesIn(const std::string& directory, const std::string& suffix) {
    std::vector<std::string> paths;
    if (DIR* dir = opendir(directory.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
                paths.push_back(directory + "/" + name);
            }
        }
        closedir(dir);
    }
    return paths;
}

}  // namespace

// The fuzzer's seeds, read by the game's own build: none may break the reader's rules.
TEST(LevelCorpusTest, EverySeedOfTheFuzzerKeepsTheReadersRules) {
    const std::vector<std::string> seeds = FilesIn(std::string(LIRRA_SOURCE_DIR) + "/fuzz/corpus/level", "");
    ASSERT_GE(seeds.size(), 10u);
    int accepted = 0;
    for (const std::string& path : seeds) {
        const std::string text = ReadFile(path);
        EXPECT_EQ(CheckLevelText(text), "") << path;
        LevelData level;
        accepted += ParseLevelText(text, &level, nullptr) ? 1 : 0;
    }
    EXPECT_GE(accepted, 5);
}

// Every level the game ships reads without a fault.
TEST(LevelCorpusTest, TheGamesLevelFilesAllRead) {
    const std::vector<std::string> levels = FilesIn(std::string(LIRRA_SOURCE_DIR) + "/data", ".env");
    ASSERT_FALSE(levels.empty()) << "no level files in the data directory";
    for (const std::string& path : levels) {
        LevelData level;
        LevelError error;
        EXPECT_TRUE(ReadLevelData(path, &level, &error)) << path << " line " << error.line << ": " << error.reason;
        EXPECT_FALSE(level.tiles.empty()) << path;
    }
}
