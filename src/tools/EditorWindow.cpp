#include <imgui.h>

#include <cstdlib>

#include "graphics/Texture.h"
#include "levels/GOCollider.h"
#include "levels/GOTile.h"
#include "resources/ResourceLoader.h"
#include "tools/StateLevelEditor.h"

std::string resultText;
char windStrengthText[5] = "1";

const char* const kSaveSuccessText = "Save success!";
const char* const kSaveFailedText = "Save failed\n\nAre there no Tiles in the map?";
const char* const kLoadSuccessText = "Load success!";
const char* const kLoadFailedText = "Load failed\n\nDoes the file exist?";

namespace {

const ImVec2 kWideButton(120.0f, 0.0f);
constexpr float kSaveFieldWidth = 100.0f;
constexpr float kWindFieldWidth = 50.0f;
constexpr int kPaletteColumns = 10;
constexpr int kPaletteRows = 10;
const ImVec2 kPaletteButton(32.0f, 32.0f);

const char* const kModeItems[] = {"Nothing", "Place", "Move", "Erase"};
const char* const kTypeItems[] = {"TILE", "ENEMY", "WIND", "CIN"};
const char* const kTypeNames[] = {"TILE", "ENEMY NORMAL", "WIND NORTH", "CIN"};
const char* const kEnemyItems[] = {"NORMAL", "FLYING"};
const char* const kEnemyNames[] = {"ENEMY NORMAL", "ENEMY FLYING"};
const char* const kWindItems[] = {"NORTH", "SOUTH", "EAST", "WEST"};
const char* const kWindNames[] = {"WIND NORTH", "WIND SOUTH", "WIND EAST", "WIND WEST"};

const char* const kModeTips[] = {
    "[Q] Place\n[W] Move\n[E] Erase\n[Esc] Default Mode",
    "[Q] Place\n[W] Move\n[E] Erase\n[Esc] Default Mode\n[Left-Click] Place Tile\n[Right-Click] Delete Tile",
    "**Not Implemented Yet!**",
    "[Q] Place\n[W] Move\n[E] Erase\n[Esc] Default Mode\n[Left-Click] Delete Tile\n[Right-Click] Delete Tile "
    "(All-Layers)",
};

// A confirmation modal of two buttons; true on the frame its confirming button is pressed.
bool ConfirmModal(const char* title, const char* question, const char* confirm, const char* cancel,
                  const ImVec2& cancelSize) {
    bool confirmed = false;
    if (ImGui::BeginPopupModal(title, nullptr, ImGuiWindowFlags_AlwaysAutoResize)) {
        ImGui::Text("%s", question);
        ImGui::Separator();
        if (ImGui::Button(confirm, kWideButton)) {
            ImGui::CloseCurrentPopup();
            confirmed = true;
        }
        ImGui::SameLine();
        if (ImGui::Button(cancel, cancelSize)) {
            ImGui::CloseCurrentPopup();
        }
        ImGui::EndPopup();
    }
    return confirmed;
}

template <size_t N>
bool Combo(const char* id, int* choice, const char* const (&items)[N]) {
    return ImGui::Combo(id, choice, items, static_cast<int>(N));
}

}  // namespace

// A pop-up opened inside a modal would get the modal's id, so "Result" is opened once the
// window's modals have ended.
void StateLevelEditor::ShowResult(const char* text) {
    resultText = text;
    resultWanted = true;
}

void StateLevelEditor::BuildEditorWindow() {
    ImGui::Begin("Editor", nullptr, ImGuiWindowFlags_AlwaysAutoResize);
    BuildFileRows();
    BuildResultPopup();
    ImGui::Separator();
    const Vector3 cell = SnapCursor();
    ImGui::Text("Cursor Tile Position\n[%d, %d]", static_cast<int>(cell.x), static_cast<int>(cell.y));
    ImGui::Separator();
    BuildLayerRow();
    ImGui::Separator();
    ImGui::Checkbox("Grid", &settings.showGrid);
    ImGui::Checkbox("Axis", &settings.showAxis);
    ImGui::Checkbox("Parallax Background", &settings.showBackground);
    ImGui::Separator();
    BuildModeRow();
    if (mode == EDITOR_PLACE) {
        BuildPlacePalette();
    }
    if (mode == EDITOR_ERASE) {
        BuildEraseRow();
    }
    if (resultWanted) {
        resultWanted = false;
        ImGui::OpenPopup("Result");
    }
    ImGui::End();
}

void StateLevelEditor::BuildFileRows() {
    ImGui::Text("File Name:");
    ImGui::SameLine();
    ImGui::PushItemWidth(kSaveFieldWidth);
    // Typing a name must not also place tiles: the editor drops back to doing nothing.
    if (ImGui::InputText("##saveName", settings.saveName, sizeof(settings.saveName))) {
        SetMode(EDITOR_NOTHING);
    }
    ImGui::PopItemWidth();
    ImGui::SameLine();
    if (ImGui::Button("Save")) {
        ImGui::OpenPopup("Save Level");
    }
    if (ConfirmModal("Save Level", "Confirm saving the level?", "Save!", "Cancel", kWideButton)) {
        ShowResult(SaveToFile(settings.saveName) ? kSaveSuccessText : kSaveFailedText);
    }

    ImGui::Text("File Name:");
    ImGui::SameLine();
    ImGui::PushItemWidth(kSaveFieldWidth);
    if (ImGui::InputText("##loadName", settings.loadName, sizeof(settings.loadName))) {
        SetMode(EDITOR_NOTHING);
    }
    ImGui::PopItemWidth();
    ImGui::SameLine();
    if (ImGui::Button("Load")) {
        ImGui::OpenPopup("Load Level");
    }
    if (ConfirmModal("Load Level", "Confirm load level?\nAll changes will be discarded!", "Load!", "Cancel",
                     kWideButton)) {
        ShowResult(LoadFromFile(settings.loadName) ? kLoadSuccessText : kLoadFailedText);
    }
}

void StateLevelEditor::BuildResultPopup() {
    if (ImGui::BeginPopupModal("Result", nullptr, ImGuiWindowFlags_AlwaysAutoResize)) {
        ImGui::Text("%s", resultText.c_str());
        ImGui::Separator();
        if (ImGui::Button("Ok", kWideButton)) {
            ImGui::CloseCurrentPopup();
        }
        ImGui::EndPopup();
    }
}

void StateLevelEditor::BuildLayerRow() {
    ImGui::Text("Tile Layer");
    ImGui::SameLine();
    if (ImGui::ArrowButton("##layerDown", ImGuiDir_Left) && layer > kFirstLayer) {
        --layer;
    }
    ImGui::SameLine();
    ImGui::Text("%d", layer);
    ImGui::SameLine();
    if (ImGui::ArrowButton("##layerUp", ImGuiDir_Right) && layer < kLastLayer) {
        ++layer;
    }
}

void StateLevelEditor::BuildModeRow() {
    int chosen = mode;
    if (Combo("##Cb1", &chosen, kModeItems)) {
        SetMode(chosen);
    }
    ImGui::SameLine();
    ImGui::TextDisabled("(?)");
    if (ImGui::IsItemHovered() && mode >= EDITOR_NOTHING && mode <= EDITOR_ERASE) {
        ImGui::SetTooltip("%s", kModeTips[mode]);
    }
}

void StateLevelEditor::BuildPlacePalette() {
    if (ImGui::Button("GOTiles")) {
        ToggleTilePalette();
    }
    ImGui::SameLine();
    if (ImGui::Button("Collider")) {
        ToggleColliderPalette();
    }
    if (tileMode) {
        BuildTilePalette();
    }
    if (colliderMode) {
        BuildColliderPalette();
    }
}

void StateLevelEditor::ToggleTilePalette() {
    ClearCursor();
    colliderMode = false;
    tileMode = !tileMode;
}

void StateLevelEditor::ToggleColliderPalette() {
    ClearCursor();
    tileMode = false;
    ResetPalette();
    colliderMode = !colliderMode;
    // Only a palette that is switched on gets a marker to draw with.
    if (colliderMode) {
        TakeCursorMarker();
    }
}

void StateLevelEditor::BuildTilePalette() {
    const Texture* sheet = GetResources().LookupTexture(TextureId::ForestTileset);
    if (sheet == nullptr) {
        ImGui::TextDisabled("The tile sheet is not loaded.");
        return;
    }
    const ImTextureID texture = reinterpret_cast<ImTextureID>(static_cast<intptr_t>(sheet->GetId()));
    const float cell = 1.0f / static_cast<float>(kPaletteColumns);
    for (int r = 0; r < kPaletteRows; ++r) {
        for (int c = 0; c < kPaletteColumns; ++c) {
            const int n = r * kPaletteColumns + c;
            if (c > 0) {
                ImGui::SameLine();
            }
            ImGui::PushID(n);
            const ImVec2 uv0(c * cell, r * cell);
            const ImVec2 uv1((c + 1) * cell, (r + 1) * cell);
            if (ImGui::ImageButton(texture, kPaletteButton, uv0, uv1, -1, ImVec4(0, 0, 0, 1), ImVec4(1, 1, 1, 1))) {
                tileIndex = n;
                RefreshCursorTile();
            }
            ImGui::PopID();
        }
    }
}

void StateLevelEditor::BuildColliderPalette() {
    if (Combo("##Cb2", &typeChoice, kTypeItems)) {
        ChooseMarkerType(typeChoice);
    }
    if (enemyChosen && Combo("##Cb3", &subChoice, kEnemyItems)) {
        ApplyPalette();
    }
    if (windChosen) {
        if (Combo("##Cb4", &subChoice, kWindItems)) {
            ApplyPalette();
        }
        ImGui::PushItemWidth(kWindFieldWidth);
        if (ImGui::InputText("##windAV", windStrengthText, sizeof(windStrengthText))) {
            ApplyPalette();
        }
        ImGui::PopItemWidth();
    }
    ImGui::NewLine();
    if (ImGui::Button("Confirm")) {
        ConfirmMarker();
    }
}

void StateLevelEditor::ChooseMarkerType(int choice) {
    if (choice < CHOICE_TILE || choice > CHOICE_CIN) {
        return;
    }
    typeChoice = choice;
    enemyChosen = choice == CHOICE_ENEMY;
    windChosen = choice == CHOICE_WIND;
    subChoice = 0;
    ApplyPalette();
}

void StateLevelEditor::ApplyPalette() {
    if (cursorMarker == nullptr) {
        return;
    }
    if (enemyChosen) {
        cursorMarker->markerName = kEnemyNames[subChoice];
    } else if (windChosen) {
        cursorMarker->markerName = kWindNames[subChoice];
    } else {
        cursorMarker->markerName = kTypeNames[typeChoice];
    }
    cursorMarker->markerValue = windChosen ? std::strtof(windStrengthText, nullptr) : 1.0f;
}

void StateLevelEditor::ConfirmMarker() {
    if (cursorMarker == nullptr) {
        return;
    }
    ShowResult("Collider placed!");
    cursorMarker->placed = true;
    cursorMarker->SetActive(true);
    markers.push_back(cursorMarker);
    // The placed marker keeps its type; the palette starts again with the next one.
    TakeCursorMarker();
    ResetPalette();
}

void StateLevelEditor::BuildEraseRow() {
    if (ImGui::Button("Erase All")) {
        ImGui::OpenPopup("Erase Level");
    }
    if (ConfirmModal("Erase Level", "Confirm Erase level?\nAll changes will be delete!!", "Obliterate!!", "Hold up",
                     ImVec2(0.0f, 0.0f))) {
        EraseAll();
    }
}
