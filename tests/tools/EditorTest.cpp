#include <GLFW/glfw3.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <vector>

#include "frontend/GameStateManager.h"
#include "frontend/StateManager.h"
#include "graphics/Camera.h"
#include "levels/GOCollider.h"
#include "levels/GOTile.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "scene/SceneManager.h"
#include "support/TestGame.h"
#include "tools/EditorTesting.h"
#include "tools/UiDriver.h"

namespace {

struct Cell {
    int x;
    int y;
    int z;

    bool operator==(const Cell&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Cell& cell) {
    return out << "(" << cell.x << ", " << cell.y << ", " << cell.z << ")";
}

// The cells of a level file's tile lines, in file order.
std::vector<Cell> TileCellsOf(const std::string& text) {
    std::vector<Cell> cells;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line) && line != "Collider") {
        int index = 0;
        int tag = 0;
        Cell cell{};
        if (std::sscanf(line.c_str(), "%d,%d,%d,%d,%d", &index, &tag, &cell.x, &cell.y, &cell.z) == 5) {
            cells.push_back(cell);
        }
    }
    return cells;
}

// A level file's tile lines sorted, and its marker lines as they stand.
struct LevelLines {
    std::vector<std::string> tiles;
    std::vector<std::string> markers;
};

LevelLines LinesOf(const std::string& text) {
    LevelLines level;
    std::istringstream lines(text);
    std::string line;
    std::vector<std::string>* section = &level.tiles;
    while (std::getline(lines, line)) {
        if (line == "Collider") {
            section = &level.markers;
        } else {
            section->push_back(line);
        }
    }
    std::sort(level.tiles.begin(), level.tiles.end());
    return level;
}

// How many of `wanted` (sorted) are not in `got` (sorted).
size_t Missing(const std::vector<std::string>& wanted, const std::vector<std::string>& got) {
    std::vector<std::string> missing;
    std::set_difference(wanted.begin(), wanted.end(), got.begin(), got.end(), std::back_inserter(missing));
    return missing.size();
}

}  // namespace

TEST_F(EditorTest, DraggingAMarkerCoversEveryCellFromStartToEnd) {
    Tap(GLFW_KEY_Q);
    editor->ToggleColliderPalette();
    ASSERT_NE(editor->cursorMarker, nullptr);
    PointAt(2, 3);
    Press(GLFW_MOUSE_BUTTON_LEFT);
    Frames(1);
    PointAt(5, 1);
    Frames(1);
    Release(GLFW_MOUSE_BUTTON_LEFT);
    Frames(1);

    const Transform& box = editor->cursorMarker->GetTransform();
    EXPECT_FLOAT_EQ(box.GetScale().x, 4.0f);
    EXPECT_FLOAT_EQ(box.GetScale().y, 3.0f);
    EXPECT_FLOAT_EQ(box.GetPosition().x, 3.5f);
    EXPECT_FLOAT_EQ(box.GetPosition().y, 2.0f);
    EXPECT_FLOAT_EQ(box.GetPosition().z, 10.0f);
    EXPECT_TRUE(editor->cursorMarker->IsActive());
}

TEST_F(EditorTest, PlaceModeDeletesOneLayerAndEraseModeEveryLayer) {
    Tap(GLFW_KEY_E);  // erasing forces the tile palette on
    Tap(GLFW_KEY_Q);
    Tap(GLFW_KEY_S);
    ASSERT_TRUE(editor->tileMode);
    ASSERT_NE(editor->cursorTile, nullptr);
    PlaceTileAt(3, 2, 1);
    PlaceTileAt(3, 2, 2);
    PlaceTileAt(3, 2, 3);
    ASSERT_EQ(editor->CountTiles(), 3u);
    GOTile* first = editor->FindTile(3, 2, 1);
    GOTile* third = editor->FindTile(3, 2, 3);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(static_cast<uint32_t>(first->tileIndex), 1u);
    EXPECT_FLOAT_EQ(first->GetTransform().GetPosition().z, 1.0f);

    // A second click on an occupied cell leaves it alone.
    Tap(GLFW_MOUSE_BUTTON_LEFT);
    EXPECT_EQ(editor->CountTiles(), 3u);

    Tap(GLFW_MOUSE_BUTTON_RIGHT);
    EXPECT_EQ(editor->FindTile(3, 2, 3), nullptr);
    EXPECT_FALSE(third->IsActive());
    EXPECT_NE(editor->FindTile(3, 2, 1), nullptr);
    EXPECT_NE(editor->FindTile(3, 2, 2), nullptr);

    Tap(GLFW_KEY_E);
    PointAt(3, 2);
    Press(GLFW_MOUSE_BUTTON_RIGHT);
    Frames(2);
    Release(GLFW_MOUSE_BUTTON_RIGHT);
    Frames(1);
    EXPECT_EQ(editor->CountTiles(), 0u);
    EXPECT_TRUE(editor->tiles.empty());
    EXPECT_FALSE(first->IsActive());
}

TEST_F(EditorTest, AHiddenCursorTileIsNeverFiledIntoTheLevel) {
    Tap(GLFW_KEY_E);
    Tap(GLFW_KEY_Q);
    Tap(GLFW_KEY_S);
    PlaceTileAt(2, 2, 1);
    // Out of Place mode and back: the cursor tile stays hidden, and a click places nothing.
    Tap(GLFW_KEY_W);
    Tap(GLFW_KEY_Q);
    ASSERT_FALSE(editor->cursorTile->IsActive());
    PlaceTileAt(3, 2, 1);
    EXPECT_EQ(editor->FindTile(3, 2, 1), nullptr);
    Tap(GLFW_KEY_S);
    PlaceTileAt(4, 2, 1);
    PointAt(6, 5);

    ASSERT_TRUE(editor->SaveToFile(Path("placed.env")));
    EXPECT_EQ(ReadFile(Path("placed.env")), "1,0,2,2,1\n2,0,4,2,1\nCollider\n");
}

TEST_F(EditorTest, EveryShippedLevelComesBackFromTheEditorWithTheSameTiles) {
    for (const char* name :
         {"level01.env", "level02.env", "level03.env", "levelboss.env", "mainmenu.env", "ending.env"}) {
        const std::string shipped = std::string(LIRRA_TEST_DATA_DIR) + "/" + name;
        ASSERT_TRUE(editor->LoadFromFile(shipped)) << name;
        ASSERT_TRUE(editor->SaveToFile(Path(name))) << name;
        const LevelLines before = LinesOf(ReadFile(shipped));
        const LevelLines after = LinesOf(ReadFile(Path(name)));
        EXPECT_EQ(Missing(before.tiles, after.tiles), 0u) << name << ": tiles the editor lost";
        EXPECT_EQ(after.tiles.size(), before.tiles.size()) << name;
        EXPECT_EQ(after.markers, before.markers) << name;
    }
}

TEST_F(EditorTest, SavedTilesAreSortedByXThenYThenLayer) {
    Tap(GLFW_KEY_E);
    Tap(GLFW_KEY_Q);
    Tap(GLFW_KEY_S);
    const std::vector<Cell> placed = {{5, 0, 1}, {2, 3, 2}, {2, 3, 1}, {2, -1, 3}, {5, -4, 1}};
    for (const Cell& cell : placed) {
        PlaceTileAt(cell.x, cell.y, cell.z);
    }
    ASSERT_TRUE(editor->SaveToFile(Path("sorted.env")));
    const std::vector<Cell> expected = {{2, -1, 3}, {2, 3, 1}, {2, 3, 2}, {5, -4, 1}, {5, 0, 1}};
    EXPECT_EQ(TileCellsOf(ReadFile(Path("sorted.env"))), expected);
}

TEST_F(EditorTest, MarkersReadFromAFileCanBeErased) {
    WriteFile(Path("markers.env"), "3,0,7,1,2\nCollider\nTILE,3,1,4,2,1\nWIND EAST,1,1,9,9,2.5\n");
    ASSERT_TRUE(editor->LoadFromFile(Path("markers.env")));
    ASSERT_EQ(editor->markers.size(), 2u);
    ASSERT_NE(editor->FindTile(7, 1, 2), nullptr);
    GOCollider* ground = editor->markers[0];
    EXPECT_TRUE(ground->placed);
    EXPECT_EQ(MarkerLabel(*editor->markers[1]), "WIND EAST 2.50");

    Tap(GLFW_KEY_Q);
    editor->ToggleColliderPalette();
    PointAt(5, 2);
    Tap(GLFW_MOUSE_BUTTON_RIGHT);
    ASSERT_EQ(editor->markers.size(), 1u);
    EXPECT_EQ(editor->markers[0]->markerName, "WIND EAST");
    EXPECT_FALSE(ground->IsActive());
}

TEST_F(EditorTest, ARightClickDeletesOnlyAMarkerOverThePointersCell) {
    // The box drawn from cell (2, 3) to cell (5, 1).
    WriteFile(Path("box.env"), "3,0,7,1,2\nCollider\nTILE,4,3,3.5,2,1\n");
    ASSERT_TRUE(editor->LoadFromFile(Path("box.env")));
    Tap(GLFW_KEY_Q);
    editor->ToggleColliderPalette();

    // The cells beside the box and above it only touch its edges.
    for (const auto& [x, y] : {std::pair{6, 2}, std::pair{1, 1}, std::pair{3, 4}, std::pair{4, 0}}) {
        PointAt(x, y);
        Tap(GLFW_MOUSE_BUTTON_RIGHT);
        EXPECT_EQ(editor->markers.size(), 1u) << "a click in cell " << x << ", " << y;
    }
    PointAt(5, 1);
    Tap(GLFW_MOUSE_BUTTON_RIGHT);
    EXPECT_TRUE(editor->markers.empty());
}

TEST_F(EditorTest, TheMarkerIsAlwaysOfTheTypeThePaletteShows) {
    Tap(GLFW_KEY_Q);
    editor->ToggleColliderPalette();
    editor->ChooseMarkerType(CHOICE_WIND);
    editor->cursorMarker->markerValue = 2.5f;
    // Q again resets the palette to "TILE", and the marker that "Confirm" would place with it.
    Tap(GLFW_KEY_Q);
    ASSERT_EQ(editor->typeChoice, CHOICE_TILE);
    EXPECT_EQ(editor->cursorMarker->markerName, "TILE");
    EXPECT_FLOAT_EQ(editor->cursorMarker->markerValue, 1.0f);

    // A load gives the cursor marker up; the one the next drag takes is of the chosen type.
    WriteFile(Path("one.env"), "3,0,7,1,2\nCollider\n");
    ASSERT_TRUE(editor->LoadFromFile(Path("one.env")));
    editor->ChooseMarkerType(CHOICE_WIND);
    PointAt(2, 3);
    Tap(GLFW_MOUSE_BUTTON_LEFT);
    ASSERT_NE(editor->cursorMarker, nullptr);
    EXPECT_EQ(editor->cursorMarker->markerName, "WIND NORTH");
}

TEST_F(EditorTest, AFailedLoadKeepsTheEditorsWork) {
    Tap(GLFW_KEY_E);
    Tap(GLFW_KEY_Q);
    Tap(GLFW_KEY_S);
    PlaceTileAt(4, 4, 1);
    editor->ToggleColliderPalette();
    editor->ConfirmMarker();
    ASSERT_EQ(editor->markers.size(), 1u);
    GOTile* tile = editor->FindTile(4, 4, 1);
    ASSERT_NE(tile, nullptr);

    EXPECT_FALSE(editor->LoadFromFile(Path("missing.env")));
    WriteFile(Path("damaged.env"), "1,0,2,2,1\n1,0,3,3,1,99\nCollider\n");
    EXPECT_FALSE(editor->LoadFromFile(Path("damaged.env")));
    Frames(1);

    EXPECT_EQ(editor->FindTile(4, 4, 1), tile);
    EXPECT_TRUE(tile->IsActive());
    EXPECT_EQ(editor->CountTiles(), 1u);
    ASSERT_EQ(editor->markers.size(), 1u);
    EXPECT_TRUE(editor->markers[0]->IsActive());
    EXPECT_TRUE(editor->markers[0]->placed);
}

TEST_F(EditorTest, ALoadReplacesEverythingAndTheCursorsStaySeparate) {
    Tap(GLFW_KEY_E);
    Tap(GLFW_KEY_Q);
    Tap(GLFW_KEY_S);
    PlaceTileAt(4, 4, 1);
    Tap(GLFW_KEY_ESCAPE);
    if (GetGameStateManager().IsMenuOpen()) {
        Tap(GLFW_KEY_ESCAPE);
    }
    WriteFile(Path("two.env"), "5,0,1,1,1\n6,0,2,1,1\nCollider\nCIN,2,2,0,0,1\n");
    ASSERT_TRUE(editor->LoadFromFile(Path("two.env")));
    Frames(1);
    EXPECT_EQ(editor->FindTile(4, 4, 1), nullptr);
    EXPECT_EQ(editor->CountTiles(), 2u);
    EXPECT_EQ(editor->cursorTile, nullptr);
    // Back to placing: the new cursor tile is none of the loaded ones.
    Tap(GLFW_KEY_Q);
    Tap(GLFW_KEY_S);
    ASSERT_NE(editor->cursorTile, nullptr);
    EXPECT_NE(editor->cursorTile, editor->FindTile(1, 1, 1));
    EXPECT_NE(editor->cursorTile, editor->FindTile(2, 1, 1));
    EXPECT_EQ(static_cast<uint32_t>(editor->FindTile(1, 1, 1)->tileIndex), 5u);
}

TEST_F(EditorTest, SavingIntoAReadOnlyDirectoryFailsAndKeepsTheOldFile) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    Tap(GLFW_KEY_E);
    Tap(GLFW_KEY_Q);
    Tap(GLFW_KEY_S);
    PlaceTileAt(2, 2, 1);
    WriteFile(Path("level01.env"), "old level\n");
    ASSERT_EQ(RunCommand("chmod a-w '" + directory + "'"), 0);
    EXPECT_FALSE(editor->SaveToFile(Path("level01.env")));
    EXPECT_EQ(ReadFile(Path("level01.env")), "old level\n");
    EXPECT_EQ(editor->CountTiles(), 1u);
}

TEST_F(EditorTest, NothingToSaveOrNowhereToSaveFails) {
    EXPECT_FALSE(editor->SaveToFile(Path("empty.env")));
    EXPECT_NE(access(Path("empty.env").c_str(), F_OK), 0);

    // A place no one can write to, whoever runs the test: a directory that is a file.
    Tap(GLFW_KEY_E);
    Tap(GLFW_KEY_Q);
    Tap(GLFW_KEY_S);
    PlaceTileAt(2, 2, 1);
    WriteFile(Path("plain"), "not a directory\n");
    EXPECT_FALSE(editor->SaveToFile(Path("plain/level01.env")));
    EXPECT_EQ(ReadFile(Path("plain")), "not a directory\n");
    EXPECT_EQ(editor->CountTiles(), 1u);
}

TEST_F(EditorTest, ZoomTileIndexAndLayersStayInTheirRanges) {
    ScrollCallback(GetWindow(), 0.0, -100.0);
    Frames(1);
    EXPECT_FLOAT_EQ(editor->zoom, StateLevelEditor::kMaxZoom);
    EXPECT_FLOAT_EQ(GetCamera().GetZoom(), StateLevelEditor::kMaxZoom);
    ScrollCallback(GetWindow(), 0.0, 100.0);
    Frames(1);
    EXPECT_FLOAT_EQ(editor->zoom, StateLevelEditor::kMinZoom);

    Tap(GLFW_KEY_A);
    EXPECT_EQ(editor->tileIndex, 0);
    editor->tileIndex = 99;
    Tap(GLFW_KEY_S);
    EXPECT_EQ(editor->tileIndex, 99);

    Tap(GLFW_KEY_5);
    EXPECT_EQ(editor->layer, 5);
    Tap(GLFW_KEY_6);
    EXPECT_EQ(editor->layer, 5);
    Tap(GLFW_KEY_1);
    EXPECT_EQ(editor->layer, 1);
}

TEST_F(EditorTest, EscapeLeavesTheModeAndOpensThePauseMenu) {
    Tap(GLFW_KEY_Q);
    ASSERT_EQ(editor->mode, EDITOR_PLACE);
    Tap(GLFW_KEY_ESCAPE);
    EXPECT_EQ(editor->mode, EDITOR_NOTHING);
    EXPECT_TRUE(GetGameStateManager().IsMenuOpen());
    Tap(GLFW_KEY_ESCAPE);
    EXPECT_FALSE(GetGameStateManager().IsMenuOpen());
}

TEST_F(EditorTest, LeavingTheEditorFreesEveryMarkerItPlaced) {
    Tap(GLFW_KEY_Q);
    editor->ToggleColliderPalette();
    editor->ConfirmMarker();
    ASSERT_EQ(editor->markers.size(), 1u);
    EndTestStates();
    for (const GOCollider* marker : GetScene().GetMarkerPool().GetObjects()) {
        EXPECT_FALSE(marker->placed);
    }
}

// The window, driven through Dear ImGui as a user would.
class EditorWindowTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_EQ(getcwd(previousDirectory, sizeof(previousDirectory)), previousDirectory);
        ASSERT_EQ(chdir(directory.c_str()), 0);
    }
    void TearDown() override {
        ASSERT_EQ(chdir(previousDirectory), 0);
        EditorTest::TearDown();
    }

    UiDriver ui{[this] { editor->BuildEditorWindow(); }};
    char previousDirectory[4096] = {};
};

TEST_F(EditorWindowTest, TypingAFileNameDropsBackToDoingNothing) {
    Tap(GLFW_KEY_Q);
    ASSERT_EQ(editor->mode, EDITOR_PLACE);
    ASSERT_TRUE(ui.ClickItem("Editor", "##saveName"));
    ui.Type("x");
    EXPECT_EQ(editor->mode, EDITOR_NOTHING);
    EXPECT_NE(std::string(editor->settings.saveName).find('x'), std::string::npos);
}

TEST_F(EditorWindowTest, SaveAsksFirstAndReportsTheResult) {
    ASSERT_TRUE(ui.ClickItem("Editor", "Save"));
    ASSERT_TRUE(ui.ClickItem("Save Level", "Save!"));
    EXPECT_EQ(resultText, "Save failed\n\nAre there no Tiles in the map?");
    ASSERT_TRUE(ui.ClickItem("Result", "Ok"));

    Tap(GLFW_KEY_E);
    Tap(GLFW_KEY_Q);
    Tap(GLFW_KEY_S);
    PlaceTileAt(2, 1, 1);
    ASSERT_TRUE(ui.ClickItem("Editor", "Save"));
    ASSERT_TRUE(ui.ClickItem("Save Level", "Save!"));
    EXPECT_EQ(resultText, "Save success!");
    EXPECT_EQ(ReadFile(Path("level01.env")), "1,0,2,1,1\nCollider\n");
}

TEST_F(EditorWindowTest, AWindMarkerIsChosenTypedAndConfirmed) {
    Tap(GLFW_KEY_Q);
    ASSERT_TRUE(ui.ClickItem("Editor", "Collider"));
    ASSERT_TRUE(editor->colliderMode);
    ASSERT_TRUE(ui.ChooseComboItem("Editor", "##Cb2", CHOICE_WIND, "WIND"));
    ASSERT_TRUE(editor->windChosen);
    ASSERT_TRUE(ui.ChooseComboItem("Editor", "##Cb4", 2, "EAST"));
    ASSERT_TRUE(ui.ClickItem("Editor", "##windAV"));
    ui.Key(GLFW_KEY_DELETE);
    ui.Key(GLFW_KEY_BACKSPACE);
    ui.Type("2.5");
    ASSERT_NE(editor->cursorMarker, nullptr);
    EXPECT_EQ(editor->cursorMarker->markerName, "WIND EAST");
    EXPECT_FLOAT_EQ(editor->cursorMarker->markerValue, 2.5f);

    ASSERT_TRUE(ui.ClickItem("Editor", "Confirm"));
    EXPECT_EQ(resultText, "Collider placed!");
    ASSERT_EQ(editor->markers.size(), 1u);
    EXPECT_EQ(editor->markers[0]->markerName, "WIND EAST");
    EXPECT_TRUE(editor->markers[0]->placed);
    EXPECT_NE(editor->cursorMarker, editor->markers[0]);
    EXPECT_STREQ(windStrengthText, "1");
    EXPECT_FALSE(editor->windChosen);
}

TEST_F(EditorWindowTest, EraseAllAsksFirst) {
    Tap(GLFW_KEY_E);
    Tap(GLFW_KEY_Q);
    Tap(GLFW_KEY_S);
    PlaceTileAt(2, 1, 1);
    PlaceTileAt(3, 1, 2);
    Tap(GLFW_KEY_E);
    ASSERT_TRUE(ui.ClickItem("Editor", "Erase All"));
    ASSERT_TRUE(ui.ClickItem("Erase Level", "Hold up"));
    EXPECT_EQ(editor->CountTiles(), 2u);
    ASSERT_TRUE(ui.ClickItem("Editor", "Erase All"));
    ASSERT_TRUE(ui.ClickItem("Erase Level", "Obliterate!!"));
    EXPECT_EQ(editor->CountTiles(), 0u);
}
