#include "tools/StateLevelEditor.h"

#include <GLFW/glfw3.h>
#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/Log.h"
#include "frontend/GameStateManager.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "graphics/PostProcess.h"
#include "graphics/TextRenderer.h"
#include "levels/GOCollider.h"
#include "levels/GOTile.h"
#include "levels/LevelFile.h"
#include "levels/LevelFileFormat.h"
#include "levels/LevelSpawn.h"
#include "levels/TileMeshes.h"
#include "physics/Collider.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "scene/SceneManager.h"

namespace {

const glm::vec4 kGridColour(0.25f, 0.25f, 0.25f, 1.0f);
constexpr int kGridCount = 1000;
const Vector3 kGridOrigin(-100.5f, -100.5f, 0.0f);
const Vector3 kAxisOrigin(0.0f, 0.0f, 100.0f);
const Vector3 kWhite(1.0f, 1.0f, 1.0f);
constexpr float kLabelScale = 0.7f;
constexpr float kZoomPerScroll = 0.1f;

int GridOf(float value) {
    return static_cast<int>(std::lround(value));
}

// Whether the marker's box covers part of cell (x, y); a box that only touches the cell's edge
// lies in the next cell.
bool CoversCell(const GOCollider& marker, int x, int y) {
    const Vector3 centre = marker.GetTransform().GetPosition();
    return std::fabs(centre.x - static_cast<float>(x)) < std::fabs(marker.GetWidth()) / 2.0f + 0.5f &&
           std::fabs(centre.y - static_cast<float>(y)) < std::fabs(marker.GetHeight()) / 2.0f + 0.5f;
}

void ResetMarker(GOCollider* marker) {
    marker->markerName = "TILE";
    marker->markerValue = 1.0f;
    marker->GetTransform().SetPosition(0.0f, 0.0f, kMarkerDepth);
    marker->GetTransform().SetScale(1.0f, 1.0f, 1.0f);
}

void DrawAt(const Mesh* mesh, const Vector3& at) {
    if (mesh == nullptr) {
        return;
    }
    MatrixStack& model = GetModelStack();
    model.Push();
    model.Translate(at.x, at.y, at.z);
    mesh->Draw(nullptr, 1.0f, kWhite);
    model.Pop();
}

}  // namespace

std::string MarkerLabel(const GOCollider& marker) {
    std::string label = marker.markerName;
    if (IsWindMarker(marker.markerName)) {
        char value[64];
        std::snprintf(value, sizeof(value), "%f", static_cast<double>(marker.markerValue));
        label += " ";
        label += std::string(value).substr(0, 4);
    }
    return label;
}

// Here, where Mesh is complete, for the grid and axis meshes.
StateLevelEditor::StateLevelEditor() : State(STATE_EDITOR) {}

StateLevelEditor::~StateLevelEditor() = default;

void StateLevelEditor::Load() {
    gridMesh = CreateGrid("Grid Lines", kGridColour, kGridCount, 1.0f);
    axisMesh = CreateAxes("Axis", 1.0f);
    GetScene().DeactivateAll();
    SetBloomEnabled(false);
    SetExposure(1.5f);
    SetGamma(1.0f);
    SetBloomIntensity(kStandardBloomIntensity);
}

void StateLevelEditor::Unload() {
    gridMesh.reset();
    axisMesh.reset();
    GetScene().DeactivateAll();
    GetScene().ClearPlacedMarkers();
    cursorMarker = nullptr;
    cursorTile = nullptr;
    tiles.clear();
    markers.clear();
}

Vector3 StateLevelEditor::SnapCursor() const {
    const Vector3 mouse = GetMouseWorldPos();
    return Vector3(std::round(mouse.x), std::round(mouse.y), static_cast<float>(layer));
}

void StateLevelEditor::RefreshCursorTile() {
    if (cursorTile != nullptr) {
        cursorTile->tileIndex = static_cast<uint32_t>(tileIndex);
        cursorTile->SetActive(true);
        return;
    }
    cursorTile = GetScene().GetTile(tileIndex);
    cursorTile->GetTransform().SetPosition(SnapCursor());
    cursorTile->SetActive(true);
}

void StateLevelEditor::ClearCursor() {
    if (cursorTile != nullptr) {
        cursorTile->SetActive(false);
    }
    if (cursorMarker != nullptr) {
        cursorMarker->SetActive(false);
        ResetMarker(cursorMarker);
    }
}

void StateLevelEditor::ResetPalette() {
    typeChoice = CHOICE_TILE;
    subChoice = 0;
    enemyChosen = false;
    windChosen = false;
    std::strcpy(windStrengthText, "1");
    ApplyPalette();
}

void StateLevelEditor::SetMode(int m) {
    switch (m) {
    case EDITOR_NOTHING:
    case EDITOR_MOVE:
        ClearCursor();
        break;
    case EDITOR_PLACE:
        ResetPalette();
        break;
    case EDITOR_ERASE:
        ClearCursor();
        colliderMode = false;
        tileMode = true;
        break;
    default:
        return;
    }
    mode = m;
}

void StateLevelEditor::Update() {
    // The key that opened a menu over the editor still leaves the editor's modes; nothing else
    // reaches the editor while the menu has the keys.
    if (GetGameStateManager().IsMenuOpen()) {
        if (IsTriggered(GLFW_KEY_ESCAPE)) {
            SetMode(EDITOR_NOTHING);
        }
        return;
    }
    if (!ImGui::GetIO().WantTextInput) {
        UpdateKeys();
    }
    if (!ImGui::GetIO().WantCaptureMouse) {
        UpdateMouse();
    }
    UpdateZoomAndPan();
}

void StateLevelEditor::UpdateKeys() {
    for (int n = kFirstLayer; n <= kLastLayer; ++n) {
        if (IsTriggered(GLFW_KEY_0 + n)) {
            layer = n;
            Log("Switch Layer: %d\n", layer);
        }
    }
    const int lastTile = std::max(GetTileMeshTable().count() - 1, 0);
    const bool lower = IsTriggered(GLFW_KEY_A);
    const bool raise = IsTriggered(GLFW_KEY_S);
    if (lower || raise) {
        tileIndex = std::clamp(tileIndex + (raise ? 1 : 0) - (lower ? 1 : 0), 0, lastTile);
        RefreshCursorTile();
        Log("Tile Index: %d\n", tileIndex);
    }
    if (IsTriggered(GLFW_KEY_Q)) {
        SetMode(EDITOR_PLACE);
    } else if (IsTriggered(GLFW_KEY_W)) {
        SetMode(EDITOR_MOVE);
    } else if (IsTriggered(GLFW_KEY_E)) {
        SetMode(EDITOR_ERASE);
    } else if (IsTriggered(GLFW_KEY_ESCAPE)) {
        SetMode(EDITOR_NOTHING);
    }
    if (mode == EDITOR_PLACE && cursorTile != nullptr) {
        cursorTile->GetTransform().SetPosition(SnapCursor());
    }
}

void StateLevelEditor::UpdateMouse() {
    switch (mode) {
    case EDITOR_PLACE:
        if (tileMode) {
            PlaceTileAtCursor();
        } else if (colliderMode) {
            DragMarker();
        }
        break;
    case EDITOR_MOVE:
        MoveCamera();
        break;
    case EDITOR_ERASE:
        if (IsHeld(GLFW_MOUSE_BUTTON_LEFT)) {
            Delete(false);
        } else if (IsHeld(GLFW_MOUSE_BUTTON_RIGHT)) {
            Delete(true);
        }
        break;
    default:
        break;
    }
}

void StateLevelEditor::PlaceTileAtCursor() {
    // A hidden cursor tile is inactive, hence free in the pool: filed into the level, it would
    // come back as the next cursor tile and be the cell's tile and the cursor at once.
    if (IsHeld(GLFW_MOUSE_BUTTON_LEFT) && cursorTile != nullptr && cursorTile->IsActive()) {
        const Vector3 cell = SnapCursor();
        if (FindTile(GridOf(cell.x), GridOf(cell.y), layer) == nullptr) {
            cursorTile->GetTransform().SetPosition(cell);
            tiles[GridOf(cell.x)][GridOf(cell.y)][layer] = cursorTile;
            cursorTile = nullptr;
            RefreshCursorTile();
        }
    }
    if (IsTriggered(GLFW_MOUSE_BUTTON_RIGHT)) {
        Delete(false);
    }
}

void StateLevelEditor::DragMarker() {
    const Vector3 cell = SnapCursor();
    if (IsTriggered(GLFW_MOUSE_BUTTON_LEFT)) {
        dragStart = Vector2(cell.x, cell.y);
        // A cleared or given-up cursor marker shows again as soon as a new box is drawn; a new
        // one takes the type the palette shows.
        if (cursorMarker == nullptr) {
            TakeCursorMarker();
        }
        cursorMarker->SetActive(true);
    }
    if (IsHeld(GLFW_MOUSE_BUTTON_LEFT) && cursorMarker != nullptr) {
        const float dx = cell.x - dragStart.x;
        const float dy = cell.y - dragStart.y;
        Transform& box = cursorMarker->GetTransform();
        box.SetScale(std::fabs(dx) + 1.0f, std::fabs(dy) + 1.0f, 1.0f);
        box.SetPosition(dragStart.x + dx / 2.0f, dragStart.y + dy / 2.0f, kMarkerDepth);
    }
    if (IsTriggered(GLFW_MOUSE_BUTTON_RIGHT)) {
        Delete(false);
    }
}

void StateLevelEditor::MoveCamera() {
    const float step = kMoveSpeed * GetDeltaTime();
    if (IsHeld(GLFW_KEY_LEFT)) {
        cameraPos.x -= step;
    }
    if (IsHeld(GLFW_KEY_RIGHT)) {
        cameraPos.x += step;
    }
    if (IsHeld(GLFW_KEY_UP)) {
        cameraPos.y += step;
    }
    if (IsHeld(GLFW_KEY_DOWN)) {
        cameraPos.y -= step;
    }
    GetCamera().SetPosition(cameraPos);
}

void StateLevelEditor::UpdateZoomAndPan() {
    zoom = std::clamp(zoom - GetScrollOffset() * kZoomPerScroll, kMinZoom, kMaxZoom);
    GetCamera().SetZoom(zoom);
    if (IsHeld(GLFW_MOUSE_BUTTON_MIDDLE)) {
        cameraPos = cameraPos - GetMouseViewDelta();
    }
    cameraPos.z = 0.0f;
    GetCamera().SetPosition(cameraPos);
}

void StateLevelEditor::Delete(bool allLayers) {
    const Vector3 cell = SnapCursor();
    if (tileMode) {
        DeleteTiles(GridOf(cell.x), GridOf(cell.y), allLayers);
    } else if (colliderMode) {
        DeleteMarker(GridOf(cell.x), GridOf(cell.y));
    }
}

void StateLevelEditor::DeleteTiles(int x, int y, bool allLayers) {
    const auto column = tiles.find(x);
    if (column == tiles.end()) {
        return;
    }
    const auto cell = column->second.find(y);
    if (cell == column->second.end()) {
        return;
    }
    std::map<int, GOTile*>& layers = cell->second;
    if (allLayers) {
        for (const auto& [z, tile] : layers) {
            tile->SetActive(false);
        }
        layers.clear();
    } else if (const auto found = layers.find(layer); found != layers.end()) {
        found->second->SetActive(false);
        layers.erase(found);
    }
    // Empty entries would only slow the saves down.
    if (layers.empty()) {
        column->second.erase(cell);
    }
    if (column->second.empty()) {
        tiles.erase(column);
    }
}

void StateLevelEditor::DeleteMarker(int x, int y) {
    for (auto it = markers.begin(); it != markers.end(); ++it) {
        if (CoversCell(**it, x, y)) {
            (*it)->SetActive(false);
            // A marker taken out of the level is free for the pool again.
            (*it)->placed = false;
            markers.erase(it);
            return;
        }
    }
}

void StateLevelEditor::EraseAll() {
    for (GOTile* tile : FlattenTiles()) {
        tile->SetActive(false);
    }
    for (GOCollider* marker : markers) {
        marker->SetActive(false);
        marker->placed = false;
    }
    tiles.clear();
    markers.clear();
}

std::vector<GOTile*> StateLevelEditor::FlattenTiles() const {
    std::vector<GOTile*> flat;
    for (const auto& [x, column] : tiles) {
        for (const auto& [y, layers] : column) {
            for (const auto& [z, tile] : layers) {
                flat.push_back(tile);
            }
        }
    }
    return flat;
}

GOTile* StateLevelEditor::FindTile(int x, int y, int z) const {
    const auto column = tiles.find(x);
    if (column == tiles.end()) {
        return nullptr;
    }
    const auto cell = column->second.find(y);
    if (cell == column->second.end()) {
        return nullptr;
    }
    const auto found = cell->second.find(z);
    return found == cell->second.end() ? nullptr : found->second;
}

size_t StateLevelEditor::CountTiles() const {
    size_t count = 0;
    for (const auto& [x, column] : tiles) {
        for (const auto& [y, layers] : column) {
            count += layers.size();
        }
    }
    return count;
}

bool StateLevelEditor::SaveToFile(const std::string& name) const {
    return SaveLevelFile(name, FlattenTiles(), markers);
}

bool StateLevelEditor::LoadFromFile(const std::string& name) {
    LevelData level;
    LevelError error;
    if (!ReadLevelData(name, &level, &error)) {
        if (!error.notOpened) {
            Log("Level file '%s', line %zu: %s\n", name.c_str(), error.line, error.reason.c_str());
        }
        return false;
    }
    ClearCursor();
    // The pools hand out inactive tiles and unplaced markers: the cursors would come back as
    // loaded objects, so they are given up and taken afresh.
    cursorTile = nullptr;
    cursorMarker = nullptr;
    ResetPalette();
    EraseAll();
    for (const TileRecord& record : level.tiles) {
        GOTile* tile = PlaceTile(record);
        const Vector3 at = tile->GetTransform().GetPosition();
        GOTile*& slot = tiles[static_cast<int>(at.x)][static_cast<int>(at.y)][static_cast<int>(at.z)];
        // Two tiles of a file in one cell: the later one is kept, as drawn.
        if (slot != nullptr) {
            slot->SetActive(false);
        }
        slot = tile;
    }
    for (const MarkerRecord& record : level.markers) {
        markers.push_back(PlaceMarker(record));
    }
    return true;
}

void StateLevelEditor::TakeCursorMarker() {
    cursorMarker = GetScene().GetCollider();
    ResetMarker(cursorMarker);
    ApplyPalette();
    cursorMarker->ShowAsMarker();
    cursorMarker->SetActive(true);
}

void StateLevelEditor::Render() {
    BeginScene();
    ClearScene();
    PrepareSceneShader();
    RenderGuides();
    if (settings.showBackground) {
        DrawBackground(BACKGROUND_FOREST);
    }
    QueueMarkerLabels();
    BuildEditorWindow();
}

void StateLevelEditor::RenderGuides() const {
    if (settings.showAxis) {
        DrawAt(axisMesh.get(), kAxisOrigin);
    }
    if (settings.showGrid) {
        DrawAt(gridMesh.get(), kGridOrigin);
    }
}

void StateLevelEditor::QueueMarkerLabels() const {
    TextRenderer& text = GetTextRenderer();
    for (const GOCollider* marker : GetScene().GetMarkerPool().GetObjects()) {
        if (!marker->IsActive()) {
            continue;
        }
        const std::string label = MarkerLabel(*marker);
        const Vector3 at = marker->GetTransform().GetPosition();
        const float shift = static_cast<float>(label.size()) / 4.0f;
        text.DrawTextAtWorld(label, Vector3(at.x - shift, at.y, at.z), kLabelScale, kWhite);
    }
}
