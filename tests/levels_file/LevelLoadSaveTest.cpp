#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <csignal>
#include <cstdio>

#include "graphics/Renderer.h"
#include "levels/LevelFileFormat.h"
#include "levels/TileMeshes.h"
#include "levels_file/LevelTesting.h"
#include "physics/Collider.h"
#include "resources/ResourceLoader.h"

namespace {

std::vector<std::string> FilesIn(const std::string& directory) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(directory.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        closedir(dir);
    }
    return names;
}

GOTile* MakeTile(uint32_t index, int32_t tag, float x, float y, float z) {
    GOTile* tile = GetScene().GetTile(0);
    tile->SetActive(true);
    tile->tileIndex = index;
    tile->tileTag = tag;
    tile->GetTransform().SetPosition(x, y, z);
    return tile;
}

GOCollider* MakeMarker(const std::string& name, float width, float height, float x, float y, float z, float value) {
    GOCollider* marker = GetScene().GetCollider();
    marker->placed = true;
    marker->markerName = name;
    marker->markerValue = value;
    marker->GetTransform().SetScale(width, height, 1.0f);
    marker->GetTransform().SetPosition(x, y, z);
    return marker;
}

struct SceneCounts {
    size_t objects;
    size_t active;
    size_t listed;

    bool operator==(const SceneCounts&) const = default;
};

SceneCounts CountScene() {
    SceneObjectManager& scene = GetScene();
    scene.FlushObjectQueues();
    return SceneCounts{scene.CountObjects(), scene.CountActiveObjects(),
                       scene.GetWorldList().size() + scene.GetCollidables().size()};
}

bool AnyMarkerPlaced() {
    for (const GOCollider* marker : GetScene().GetMarkerPool().GetObjects()) {
        if (marker->placed) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST_F(LevelTest, TheExampleLinesBecomeATileAndAMarker) {
    ASSERT_TRUE(Load("47,0,12,-3,2\nCollider\nWIND NORTH,4,6,20.5,3,1.5\n"));
    ASSERT_EQ(tiles.size(), 1u);
    const GOTile& tile = *tiles[0];
    EXPECT_EQ(tile.objectKind, KIND_TILE);
    EXPECT_TRUE(tile.IsActive());
    EXPECT_EQ(static_cast<uint32_t>(tile.tileIndex), 47u);
    EXPECT_EQ(tile.GetTransform().GetPosition(), Vector3(12.0f, -3.0f, 2.0f));
    EXPECT_EQ(tile.GetTransform().GetScale(), Vector3(1.0f, 1.0f, 1.0f));
    const Renderer* renderer = tile.GetComponent<Renderer>();
    ASSERT_NE(renderer, nullptr);
    EXPECT_EQ(renderer->GetMesh(), GetTileMeshTable().Lookup(47));
    EXPECT_EQ(renderer->GetTexture(), GetResources().LookupTexture(TextureId::ForestTileset));

    ASSERT_EQ(markers.size(), 1u);
    const GOCollider& marker = *markers[0];
    EXPECT_EQ(marker.objectKind, KIND_TILE_COLLIDER);
    EXPECT_TRUE(marker.IsActive());
    EXPECT_TRUE(marker.placed);
    EXPECT_EQ(marker.markerName, "WIND NORTH");
    EXPECT_EQ(marker.GetTransform().GetScale(), Vector3(4.0f, 6.0f, 1.0f));
    EXPECT_EQ(marker.GetTransform().GetPosition(), Vector3(20.5f, 3.0f, 10.0f));
    EXPECT_FLOAT_EQ(marker.markerValue, 1.5f);
    EXPECT_NE(marker.GetComponent<Collider>(), nullptr);
    const Renderer* box = marker.GetComponent<Renderer>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetMesh(), GetResources().LookupMesh(RED_QUAD));
    EXPECT_FLOAT_EQ(box->GetAlpha(), GOCollider::kMarkerAlpha);
}

TEST_F(LevelTest, EitherListMayBeLeftOut) {
    WriteFile(Path("two.env"), "1,0,0,0,1\n2,0,1,0,1\nCollider\nTILE,1,1,0,0,1\n");
    std::vector<GOTile*> onlyTiles;
    ASSERT_TRUE(LoadLevelFile(Path("two.env"), &onlyTiles, nullptr));
    EXPECT_EQ(onlyTiles.size(), 2u);
    EmptyTheScene();
    GetScene().ClearPlacedMarkers();
    std::vector<GOCollider*> onlyMarkers;
    ASSERT_TRUE(LoadLevelFile(Path("two.env"), nullptr, &onlyMarkers));
    EXPECT_EQ(onlyMarkers.size(), 1u);
    ASSERT_TRUE(LoadLevelFile(Path("two.env"), nullptr, nullptr));
}

TEST_F(LevelTest, TileIndexAndMeshNeverDisagree) {
    GOTile* tile = GetScene().GetTile(12);
    EXPECT_EQ(tile->GetComponent<Renderer>()->GetMesh(), GetTileMeshTable().Lookup(12));
    tile->tileIndex = 99;
    EXPECT_EQ(tile->GetComponent<Renderer>()->GetMesh(), GetTileMeshTable().Lookup(99));
    // Past the table: no mesh, and the tile draws nothing.
    tile->tileIndex = 100;
    EXPECT_EQ(tile->GetComponent<Renderer>()->GetMesh(), nullptr);
    tile->SetActive(true);
    tile->DrawComponents();
}

TEST_F(LevelTest, SavingAndLoadingGiveBackTheSameLevelInTheSameOrder) {
    std::vector<GOTile*> savedTiles = {MakeTile(47, 0, 12.0f, -3.0f, 2.0f), MakeTile(0, -7, 0.333333f, 1e-7f, 5.0f),
                                       MakeTile(99, 2147483647, -1234567.0f, 81.25f, 1.0f),
                                       MakeTile(150, 3, 4.0f, 4.0f, 3.0f)};
    std::vector<GOCollider*> savedMarkers = {MakeMarker("WIND NORTH", 4.0f, 6.0f, 20.5f, 3.0f, 10.0f, 2.5f),
                                             MakeMarker("TILE", 100.0f, 0.5f, -8.0f, -12.0f, 10.0f, 1.0f),
                                             MakeMarker("LAVA", 1.0f / 3.0f, 2.0f, 3.0f, 4.0f, 10.0f, -0.125f)};
    ASSERT_TRUE(SaveLevelFile(Path("round.env"), savedTiles, savedMarkers));
    const std::string firstText = ReadFile(Path("round.env"));
    EXPECT_EQ(firstText.substr(0, firstText.find('\n') + 1), "47,0,12,-3,2\n");
    EXPECT_NE(firstText.find("\nCollider\nWIND NORTH,4,6,20.5,3,2.5\n"), std::string::npos);

    EmptyTheScene();
    GetScene().ClearPlacedMarkers();
    std::vector<GOTile*> loadedTiles;
    std::vector<GOCollider*> loadedMarkers;
    ASSERT_TRUE(LoadLevelFile(Path("round.env"), &loadedTiles, &loadedMarkers));
    ASSERT_EQ(loadedTiles.size(), savedTiles.size());
    ASSERT_EQ(loadedMarkers.size(), savedMarkers.size());
    const auto six = [](float value) { return FormatLevelFloat(value); };
    const Vector3 expectedTiles[] = {
        {12.0f, -3.0f, 2.0f}, {0.333333f, 1e-7f, 5.0f}, {-1234567.0f, 81.25f, 1.0f}, {4.0f, 4.0f, 3.0f}};
    const uint32_t expectedIndices[] = {47, 0, 99, 150};
    const int32_t expectedTags[] = {0, -7, 2147483647, 3};
    for (size_t i = 0; i < loadedTiles.size(); ++i) {
        const Vector3 position = loadedTiles[i]->GetTransform().GetPosition();
        EXPECT_EQ(static_cast<uint32_t>(loadedTiles[i]->tileIndex), expectedIndices[i]);
        EXPECT_EQ(loadedTiles[i]->tileTag, expectedTags[i]);
        EXPECT_EQ(six(position.x), six(expectedTiles[i].x)) << "tile " << i;
        EXPECT_EQ(six(position.y), six(expectedTiles[i].y)) << "tile " << i;
        EXPECT_EQ(six(position.z), six(expectedTiles[i].z)) << "tile " << i;
    }
    const char* names[] = {"WIND NORTH", "TILE", "LAVA"};
    const float expectedMarkers[][5] = {
        {4.0f, 6.0f, 20.5f, 3.0f, 2.5f}, {100.0f, 0.5f, -8.0f, -12.0f, 1.0f}, {1.0f / 3.0f, 2.0f, 3.0f, 4.0f, -0.125f}};
    for (size_t i = 0; i < loadedMarkers.size(); ++i) {
        const GOCollider& marker = *loadedMarkers[i];
        EXPECT_EQ(marker.markerName, names[i]);
        const float got[5] = {marker.GetWidth(), marker.GetHeight(), marker.GetTransform().GetPosition().x,
                              marker.GetTransform().GetPosition().y, marker.markerValue};
        for (int field = 0; field < 5; ++field) {
            EXPECT_EQ(six(got[field]), six(expectedMarkers[i][field])) << "marker " << i << " field " << field;
        }
    }
    // Saved again, the file is the same byte for byte.
    ASSERT_TRUE(SaveLevelFile(Path("again.env"), loadedTiles, loadedMarkers));
    EXPECT_EQ(ReadFile(Path("again.env")), firstText);
}

TEST_F(LevelTest, MarkersAlwaysComeBackAtDepthTen) {
    std::vector<GOTile*> savedTiles = {MakeTile(1, 0, 0.0f, 0.0f, 4.0f)};
    std::vector<GOCollider*> savedMarkers = {MakeMarker("TILE", 2.0f, 2.0f, 1.0f, 1.0f, -3.0f, 1.0f),
                                             MakeMarker("CIN", 2.0f, 2.0f, 1.0f, 1.0f, 55.0f, 1.0f)};
    ASSERT_TRUE(SaveLevelFile(Path("depth.env"), savedTiles, savedMarkers));
    EmptyTheScene();
    GetScene().ClearPlacedMarkers();
    std::vector<GOCollider*> loaded;
    ASSERT_TRUE(LoadLevelFile(Path("depth.env"), nullptr, &loaded));
    ASSERT_EQ(loaded.size(), 2u);
    for (const GOCollider* marker : loaded) {
        EXPECT_EQ(marker->GetTransform().GetPosition().z, 10.0f);
    }
}

TEST_F(LevelTest, ATileLineLeftEmptyGivesTileZeroWhereThePreviousOneStood) {
    ASSERT_TRUE(Load("5,0,3,4,2\n\n"));
    ASSERT_EQ(tiles.size(), 2u);
    EXPECT_EQ(static_cast<uint32_t>(tiles[1]->tileIndex), 0u);
    EXPECT_EQ(tiles[1]->GetTransform().GetPosition(), Vector3(3.0f, 4.0f, 2.0f));
    EXPECT_EQ(tiles[1]->GetComponent<Renderer>()->GetMesh(), GetTileMeshTable().Lookup(0));
}

TEST_F(LevelTest, AFileWithoutColliderHasOnlyTilesAndOneThatBeginsWithItOnlyMarkers) {
    ASSERT_TRUE(Load("1,0,0,0,1\n2,0,1,0,1\n"));
    EXPECT_EQ(tiles.size(), 2u);
    EXPECT_TRUE(markers.empty());
    EmptyTheScene();
    ASSERT_TRUE(Load("Collider\nTILE,4,1,10,0,1\n"));
    EXPECT_TRUE(tiles.empty());
    EXPECT_EQ(markers.size(), 1u);
}

TEST_F(LevelTest, DamagedFilesAreReportedAndCreateNothing) {
    // Make the pools large enough that a failure could only hide in reused objects.
    ASSERT_TRUE(Load("1,0,0,0,1\nCollider\nTILE,1,1,0,0,1\n"));
    EmptyTheScene();
    GetScene().ClearPlacedMarkers();

    std::string junk;
    for (int i = 0; i < 2048; ++i) {
        junk += static_cast<char>((i * 167 + 3) % 256);
    }
    const std::string damaged[] = {
        "1,0,0,0,1\n2,0,1,0,1\n3,0,2,0,1,4\n",
        "1,0,0,0,1\nCollider\nTILE,1,1,0,0,1\nTILE,one,1,0,0,1\n",
        "1,0,0,0,1\n2,0,1e40,0,1\n",
        "1,0,0,0,1\n99999999999,0,0,0,1\n",
        "1,0,0,0,1\n" + std::string(1 << 20, '1') + "\n",
        "1,0,0,0,1\nCollider\n" + junk,
        junk,
    };
    const SceneCounts before = CountScene();
    for (const std::string& text : damaged) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(Load(text));
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(output.rfind("Invalid file data detected!\n", 0), 0u) << output;
        EXPECT_NE(output.find("test.env', line "), std::string::npos) << output;
        EXPECT_TRUE(tiles.empty());
        EXPECT_TRUE(markers.empty());
        EXPECT_EQ(CountScene(), before);
        EXPECT_FALSE(AnyMarkerPlaced());
    }
}

TEST_F(LevelTest, AMissingFileCreatesNothingAndLeavesTheMessageToTheLevel) {
    const SceneCounts before = CountScene();
    testing::internal::CaptureStdout();
    EXPECT_FALSE(LoadLevelFile(Path("none.env"), &tiles, &markers));
    RunCommand("mkdir '" + Path("folder.env") + "'");
    EXPECT_FALSE(LoadLevelFile(Path("folder.env"), &tiles, &markers));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(CountScene(), before);
}

TEST_F(LevelTest, AnEmptyTileListSavesNothingAndKeepsTheOldFile) {
    WriteFile(Path("keep.env"), "7,0,1,2,3\nCollider\n");
    std::vector<GOCollider*> someMarkers = {MakeMarker("TILE", 1.0f, 1.0f, 0.0f, 0.0f, 10.0f, 1.0f)};
    EXPECT_FALSE(SaveLevelFile(Path("keep.env"), {}, someMarkers));
    EXPECT_EQ(ReadFile(Path("keep.env")), "7,0,1,2,3\nCollider\n");
    EXPECT_FALSE(SaveLevelFile(Path("new.env"), {}, {}));
    EXPECT_EQ(FilesIn(directory), std::vector<std::string>{"keep.env"});
}

TEST_F(LevelTest, AnUnwritablePlaceOrAnUnwritableValueKeepsTheOldFile) {
    std::vector<GOTile*> someTiles = {MakeTile(1, 0, 0.0f, 0.0f, 1.0f)};
    EXPECT_FALSE(SaveLevelFile(Path("no/such/folder/level.env"), someTiles, {}));
    RunCommand("mkdir '" + Path("folder.env") + "'");
    EXPECT_FALSE(SaveLevelFile(Path("folder.env"), someTiles, {}));

    WriteFile(Path("keep.env"), "7,0,1,2,3\nCollider\n");
    std::vector<GOCollider*> badName = {MakeMarker("WIND,NORTH", 1.0f, 1.0f, 0.0f, 0.0f, 10.0f, 1.0f)};
    testing::internal::CaptureStdout();
    EXPECT_FALSE(SaveLevelFile(Path("keep.env"), someTiles, badName));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Level not saved"), std::string::npos);
    EXPECT_EQ(ReadFile(Path("keep.env")), "7,0,1,2,3\nCollider\n");
    std::vector<std::string> files = FilesIn(directory);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"folder.env", "keep.env"})) << "no temporary file is left behind";
}

TEST_F(LevelTest, ASaveStoppedBeforeTheRenameLeavesTheOldFileWhole) {
    const std::string old = "7,0,1,2,3\nCollider\nTILE,1,1,0,0,1\n";
    WriteFile(Path("level.env"), old);
    std::string error;
    const std::string temporary = WriteTemporaryBeside(Path("level.env"), "1,0,0,0,1\nCollider\n", &error);
    ASSERT_FALSE(temporary.empty()) << error;
    EXPECT_EQ(ReadFile(Path("level.env")), old);
    EXPECT_EQ(ReadFile(temporary), "1,0,0,0,1\nCollider\n");
    EXPECT_EQ(temporary.rfind(Path("level.env."), 0), 0u) << "written beside the level, on the same disk";
}

TEST_F(LevelTest, ASaveThatRunsOutOfSpaceLeavesTheOldFileWholeAndNoTemporary) {
    const std::string old = "7,0,1,2,3\nCollider\nTILE,1,1,0,0,1\n";
    WriteFile(Path("level.env"), old);
    std::vector<GOTile*> manyTiles;
    for (int i = 0; i < 400; ++i) {
        manyTiles.push_back(MakeTile(static_cast<uint32_t>(i % 100), i, static_cast<float>(i), 0.5f, 1.0f));
    }
    // A child whose files may not grow past 1 KiB stands for a full disk.
    std::fflush(stdout);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(SaveLevelFile(Path("level.env"), manyTiles, {}) ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3) << "the save reports its failure";
    EXPECT_EQ(ReadFile(Path("level.env")), old);
    EXPECT_EQ(FilesIn(directory), std::vector<std::string>{"level.env"});

    // Without the limit the same save goes through.
    ASSERT_TRUE(SaveLevelFile(Path("level.env"), manyTiles, {}));
    EXPECT_GT(ReadFile(Path("level.env")).size(), 4000u);
}
