#pragma once

#include <imgui.h>

#include <functional>
#include <string>

// Drives Dear ImGui windows the way a user would, without the window system: each step is one
// ImGui frame of the given build function with the pointer and button set by the step.
class UiDriver {
public:
    explicit UiDriver(std::function<void()> build_) : build(std::move(build_)) {}

    // One frame with the pointer at `at`, the left button down or up.
    void Frame(const ImVec2& at, bool down);
    void Click(const ImVec2& at);
    void Type(const std::string& text);
    // Where the item `label` of `window` answers the pointer; false when nothing does.
    bool Find(const char* window, const char* label, ImVec2* at);
    // Finds, then clicks; false when the item was not found.
    bool ClickItem(const char* window, const char* label);
    bool FindId(const char* window, ImGuiID id, ImVec2* at);
    bool ClickId(const char* window, ImGuiID id);
    // Opens a tree node or collapsing header of `window` as a click on it would.
    static void OpenNode(const char* window, ImGuiID id);

    // One frame with an ImGui key (a GLFW key code, as the game maps them) pressed, one released.
    void Key(int code);
    // Picks entry `index` (labelled `label`) of the combo `combo` of `window`.
    bool ChooseComboItem(const char* window, const char* combo, int index, const char* label);

    // Where the combo and then its entry `index` answer the pointer, leaving the list closed.
    bool FindComboItem(const char* window, const char* combo, int index, const char* label, ImVec2* comboAt,
                       ImVec2* itemAt);

    static ImGuiID IdOf(const char* window, const char* label);
    static ImGuiID IdUnder(ImGuiID parent, const char* label);
    // The id of an entry of an open combo's list.
    static ImGuiID ComboItemId(int index, const char* label);

private:
    std::function<void()> build;
    ImVec2 pointer{-1.0f, -1.0f};
};
