#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "levels/GOCollider.h"
#include "levels/GOTile.h"
#include "levels/LevelFile.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneTesting.h"
#include "support/TestGame.h"

// Every level test starts from an empty scene whose markers are all free, in the game's real
// window with the textures and standard meshes loaded, and writes its files to its own folder.
class LevelTest : public testing::Test {
public:
    void SetUp() override {
        StartTestGame();
        static bool loaded = false;
        if (!loaded) {
            loaded = true;
            GetResources().LoadTexturesAndMeshes();
        }
        ResetTestGame();
        directory = MakeTempDir("level");
    }
    void TearDown() override {
        ResetTestGame();
        RunCommand("rm -rf '" + directory + "'");
    }

    std::string Path(const std::string& name) const { return directory + "/" + name; }

    // Writes `text` as a level file and loads it into both lists.
    bool Load(const std::string& text) {
        WriteFile(Path("test.env"), text);
        tiles.clear();
        markers.clear();
        return LoadLevelFile(Path("test.env"), &tiles, &markers);
    }

    std::string directory;
    std::vector<GOTile*> tiles;
    std::vector<GOCollider*> markers;
};
