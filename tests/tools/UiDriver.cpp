#include "tools/UiDriver.h"

#include <imgui_internal.h>

void UiDriver::Frame(const ImVec2& at, bool down) {
    ImGuiIO& io = ImGui::GetIO();
    io.DeltaTime = 1.0f / 60.0f;
    pointer = at;
    io.MousePos = at;
    io.MouseDown[0] = down;
    ImGui::NewFrame();
    build();
    ImGui::EndFrame();
}

void UiDriver::Click(const ImVec2& at) {
    Frame(at, false);
    Frame(at, true);
    Frame(at, false);
}

void UiDriver::Type(const std::string& text) {
    for (const char c : text) {
        ImGui::GetIO().AddInputCharacter(static_cast<unsigned int>(c));
        Frame(pointer, false);
    }
}

void UiDriver::Key(int code) {
    ImGuiIO& io = ImGui::GetIO();
    io.KeysDown[code] = true;
    Frame(pointer, false);
    io.KeysDown[code] = false;
    Frame(pointer, false);
}

// The list of a combo is a pop-up window of its own; each entry is a selectable under the id
// of its index.
ImGuiID UiDriver::ComboItemId(int index, const char* label) {
    const ImGuiWindow* list = ImGui::FindWindowByName("##Combo_00");
    if (list == nullptr) {
        return 0;
    }
    const ImGuiID entry = ImHashData(&index, sizeof(index), list->ID);
    return ImHashStr(label, 0, entry);
}

bool UiDriver::ChooseComboItem(const char* window, const char* combo, int index, const char* label) {
    if (!ClickItem(window, combo)) {
        return false;
    }
    Frame(pointer, false);
    Frame(pointer, false);
    const ImGuiWindow* list = ImGui::FindWindowByName("##Combo_00");
    if (list == nullptr || !list->Active) {
        return false;
    }
    const ImGuiID id = ComboItemId(index, label);
    const ImRect rect = list->Rect();
    for (float y = rect.Min.y + 2.0f; y < rect.Max.y; y += 3.0f) {
        const ImVec2 at(rect.Min.x + 12.0f, y);
        Frame(at, false);
        if (GImGui->HoveredId == id) {
            Frame(at, true);
            Frame(at, false);
            return true;
        }
    }
    return false;
}

bool UiDriver::FindComboItem(const char* window, const char* combo, int index, const char* label, ImVec2* comboAt,
                             ImVec2* itemAt) {
    if (!Find(window, combo, comboAt)) {
        return false;
    }
    Click(*comboAt);
    Frame(pointer, false);
    const ImGuiWindow* list = ImGui::FindWindowByName("##Combo_00");
    const ImGuiID id = ComboItemId(index, label);
    bool found = false;
    if (list != nullptr && list->Active) {
        const ImRect rect = list->Rect();
        for (float y = rect.Min.y + 2.0f; y < rect.Max.y && !found; y += 3.0f) {
            const ImVec2 at(rect.Min.x + 12.0f, y + 1.0f);
            Frame(at, false);
            if (GImGui->HoveredId == id) {
                *itemAt = ImVec2(at.x, at.y + 5.0f);
                found = true;
            }
        }
    }
    if (GImGui->OpenPopupStack.Size > 0) {
        ImGui::ClosePopupToLevel(0, false);
    }
    Frame(ImVec2(-1.0f, -1.0f), false);
    return found;
}

ImGuiID UiDriver::IdOf(const char* window, const char* label) {
    const ImGuiWindow* found = ImGui::FindWindowByName(window);
    return found == nullptr ? 0 : ImHashStr(label, 0, found->ID);
}

ImGuiID UiDriver::IdUnder(ImGuiID parent, const char* label) {
    return ImHashStr(label, 0, parent);
}

void UiDriver::OpenNode(const char* window, ImGuiID id) {
    if (ImGuiWindow* found = ImGui::FindWindowByName(window)) {
        found->StateStorage.SetInt(id, 1);
    }
}

bool UiDriver::Find(const char* window, const char* label, ImVec2* at) {
    Frame(ImVec2(-1.0f, -1.0f), false);
    return FindId(window, IdOf(window, label), at);
}

bool UiDriver::ClickId(const char* window, ImGuiID id) {
    ImVec2 at;
    if (!FindId(window, id, &at)) {
        return false;
    }
    Click(at);
    return true;
}

bool UiDriver::FindId(const char* window, ImGuiID id, ImVec2* at) {
    // A text field still being edited would keep every other item from answering the pointer,
    // and a window that just opened has its size only after its second frame.
    ImGui::ClearActiveID();
    Frame(ImVec2(-1.0f, -1.0f), false);
    Frame(ImVec2(-1.0f, -1.0f), false);
    const ImGuiWindow* found = ImGui::FindWindowByName(window);
    if (found == nullptr) {
        return false;
    }
    // Only what is on the display can be pointed at.
    ImRect rect = found->Rect();
    rect.ClipWith(ImRect(ImVec2(0.0f, 0.0f), ImGui::GetIO().DisplaySize));
    for (float y = rect.Min.y + 2.0f; y < rect.Max.y; y += 4.0f) {
        for (float x = rect.Min.x + 2.0f; x < rect.Max.x; x += 6.0f) {
            Frame(ImVec2(x, y), false);
            if (GImGui->HoveredId == id) {
                // The middle of the item's row, so a neighbour that grows cannot push it away.
                float right = x;
                while (right + 2.0f < rect.Max.x) {
                    Frame(ImVec2(right + 2.0f, y + 2.0f), false);
                    if (GImGui->HoveredId != id) {
                        break;
                    }
                    right += 2.0f;
                }
                *at = ImVec2((x + right) / 2.0f, y + 2.0f);
                return true;
            }
        }
    }
    return false;
}

bool UiDriver::ClickItem(const char* window, const char* label) {
    ImVec2 at;
    if (!Find(window, label, &at)) {
        return false;
    }
    Click(at);
    return true;
}
