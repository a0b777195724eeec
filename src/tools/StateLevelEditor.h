#pragma once

#include <map>
#include <string>
#include <vector>

#include "frontend/State.h"
#include "math/Vector.h"

class GOCollider;
class GOTile;
class Mesh;

// What the editor window shows and where it saves and loads.
struct EditorSettings {
    static constexpr int kNameSize = 25;

    bool showGrid = true;
    bool showAxis = true;
    bool showBackground = false;
    char saveName[kNameSize] = "level01.env";
    char loadName[kNameSize] = "";
};

enum EditorMode : int {
    EDITOR_NOTHING = 0,
    EDITOR_PLACE = 1,
    EDITOR_MOVE = 2,
    EDITOR_ERASE = 3,
};

// The marker types of the editor's collider palette, in the order of its type list.
enum EditorMarkerChoice : int {
    CHOICE_TILE = 0,
    CHOICE_ENEMY = 1,
    CHOICE_WIND = 2,
    CHOICE_CIN = 3,
};

// The in-game level editor: tiles on an integer grid in depth layers, and collider markers
// dragged out as boxes, saved to and loaded from ".env" level files.
class StateLevelEditor : public State {
public:
    static constexpr int kFirstLayer = 1;
    static constexpr int kLastLayer = 5;
    static constexpr float kMinZoom = 0.1f;
    static constexpr float kMaxZoom = 4.0f;
    static constexpr float kMoveSpeed = 10.0f;

    StateLevelEditor() : State(STATE_EDITOR) {}

    void Load() override;
    void Update() override;
    void Render() override;
    void Unload() override;

    // The mouse's world position on the grid cell it is over, at the current layer's depth.
    Vector3 SnapCursor() const;
    void RefreshCursorTile();
    void ClearCursor();
    void SetMode(int m);
    // At the cursor cell: the current layer's tile, every layer's tiles, or the first marker
    // covering the cell.
    void Delete(bool allLayers);
    void EraseAll();
    bool SaveToFile(const std::string& name) const;
    // Nothing is erased unless the whole file reads.
    bool LoadFromFile(const std::string& name);

    // Every tile in saving order: x ascending, then y, then layer.
    std::vector<GOTile*> FlattenTiles() const;
    GOTile* FindTile(int x, int y, int z) const;
    size_t CountTiles() const;

    // The "Editor" window; built every frame by Render.
    void BuildEditorWindow();
    // The window's "GOTiles" and "Collider" buttons and the collider palette's choices.
    void ToggleTilePalette();
    void ToggleColliderPalette();
    void ChooseMarkerType(int choice);
    void ConfirmMarker();

    EditorSettings settings;
    Mesh* gridMesh = nullptr;
    Mesh* axisMesh = nullptr;
    Vector3 cameraPos{0.0f, 0.0f, 0.0f};
    bool tileMode = false;
    bool colliderMode = false;
    float zoom = 1.0f;
    int layer = 1;
    int tileIndex = 0;
    GOTile* cursorTile = nullptr;
    GOCollider* cursorMarker = nullptr;
    Vector2 dragStart{0.0f, 0.0f};
    int typeChoice = CHOICE_TILE;
    int subChoice = 0;
    bool enemyChosen = false;
    bool windChosen = false;
    int mode = EDITOR_NOTHING;
    std::map<int, std::map<int, std::map<int, GOTile*>>> tiles;
    std::vector<GOCollider*> markers;

private:
    void UpdateKeys();
    void UpdateMouse();
    void PlaceTileAtCursor();
    void DragMarker();
    void MoveCamera();
    void UpdateZoomAndPan();
    // Back to a "TILE" marker of strength 1, in the palette and on the cursor marker.
    void ResetPalette();
    // The cursor marker takes the type the palette shows, and for a wind the typed strength.
    void ApplyPalette();
    void DeleteTiles(int x, int y, bool allLayers);
    void DeleteMarker(int x, int y);
    void RenderGuides() const;
    void QueueMarkerLabels() const;

    void BuildFileRows();
    void BuildResultPopup();
    void BuildLayerRow();
    void BuildModeRow();
    void BuildPlacePalette();
    void BuildTilePalette();
    void BuildColliderPalette();
    void BuildEraseRow();
    // A fresh marker from the pool, active, reset and of the palette's type, as the one being drawn.
    void TakeCursorMarker();
    void ShowResult(const char* text);

    // The "Result" pop-up is due at the end of this frame's window.
    bool resultWanted = false;
};

// The text the "Result" pop-up shows, and the wind strength typed for the marker being drawn.
extern std::string resultText;
extern char windStrengthText[5];

// Outcome texts of the editor window.
extern const char* const kSaveSuccessText;
extern const char* const kSaveFailedText;
extern const char* const kLoadSuccessText;
extern const char* const kLoadFailedText;

// A marker's editor label: its name, and for winds a space and the strength's first four
// characters printed with six decimals (1.5 gives "1.50").
std::string MarkerLabel(const GOCollider& marker);
