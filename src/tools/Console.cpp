#include "tools/Console.h"

#include <GL/glew.h>

#include "frontend/State.h"
#include "frontend/StateFactory.h"
#include "frontend/StateManager.h"
#include "graphics/Camera.h"
#include "physics/Collider.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "scene/GameObject.h"
#include "scene/SceneManager.h"

bool blendingEnabled = true;
bool alphaTestEnabled = true;

namespace {

constexpr float kZoomStep = 0.1f;
const ImVec4 kActiveColour(1.0f, 1.0f, 1.0f, 1.0f);
const ImVec4 kInactiveColour(0.3f, 0.3f, 0.3f, 1.0f);
const ImVec4 kPositionColour(0.0f, 0.8f, 0.0f, 1.0f);

void SetCapability(GLenum capability, bool on) {
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

void BuildStateHeader() {
    if (!ImGui::CollapsingHeader("State")) {
        return;
    }
    bool first = true;
    for (const ConsoleStateButton& button : GetConsoleStateButtons()) {
        if (!first) {
            ImGui::SameLine();
        }
        first = false;
        if (ImGui::Button(button.label)) {
            // Screens the game does not have yet give no state, and the press is ignored.
            if (State* next = CreateState(button.stateId)) {
                SetState(next);
            }
        }
    }
}

void BuildTimeHeader() {
    if (!ImGui::CollapsingHeader("Time")) {
        return;
    }
    ImGui::Text("Time Scale: %.2f", GetTimeScale());
    ImGui::Text("Elapsed Time: %.2f", GetScaledTotalTime());
    ImGui::SameLine();
    ImGui::Text("Unscaled Time: %.2f", GetTotalTime());
}

void BuildWindowHeader() {
    if (!ImGui::CollapsingHeader("Window")) {
        return;
    }
    ImGui::Text("Default Size: %d x %d", kScreenWidth, kScreenHeight);
    ImGui::Text("Current Size: %d x %d", GetWindowWidth(), GetWindowHeight());
    ImGui::Separator();
    bool fullscreen = IsFullscreen();
    if (ImGui::Checkbox("Fullscreen Mode", &fullscreen)) {
        SetFullscreen(fullscreen);
    }
    ImGui::Separator();
    if (ImGui::Button("Center Window")) {
        CenterWindow();
    }
}

void BuildCameraHeader() {
    if (!ImGui::CollapsingHeader("Camera")) {
        return;
    }
    Camera& camera = GetCamera();
    ImGui::Text("Position: %s", camera.GetPosition().ToString().c_str());
    ImGui::Text("Zoom: %.2f", camera.GetZoom());
    ImGui::SameLine();
    ImGui::PushButtonRepeat(true);
    // The buttons step the zoom itself, past the lower bound the camera keeps for everyone else.
    if (ImGui::Button("-")) {
        camera.StepZoom(-kZoomStep);
    }
    ImGui::SameLine();
    if (ImGui::Button("+")) {
        camera.StepZoom(kZoomStep);
    }
    ImGui::PopButtonRepeat();
}

void BuildObjectNode(size_t index, const GameObject& object, int* componentLines) {
    ImGui::PushStyleColor(ImGuiCol_Text, ConsoleObjectColour(object));
    const std::string label = std::to_string(index) + ": " + object.GetTypeName();
    if (ImGui::TreeNode(label.c_str())) {
        const std::string components = "Components##" + std::to_string(*componentLines);
        if (ImGui::TreeNode(components.c_str())) {
            for (const std::string& line : ConsoleComponentLines(object)) {
                ImGui::Text("%s", line.c_str());
                ++*componentLines;
            }
            ImGui::TreePop();
        }
        ImGui::TextColored(kPositionColour, "Pos: %s", object.GetTransform().GetPosition().ToString().c_str());
        ImGui::TreePop();
    }
    ImGui::PopStyleColor();
}

void BuildObjectsHeader() {
    const std::vector<GameObject*>& objects = GetScene().GetAllObjects();
    // The count changes while the header is open; the id after "###" keeps it open.
    const std::string title = ConsoleObjectsHeader(objects.size()) + "###GameObjects";
    if (!ImGui::CollapsingHeader(title.c_str())) {
        return;
    }
    int componentLines = 0;
    for (size_t i = 0; i < objects.size(); ++i) {
        BuildObjectNode(i, *objects[i], &componentLines);
    }
}

void BuildToolsHeader() {
    if (!ImGui::CollapsingHeader("Tools")) {
        return;
    }
    const Camera& camera = GetCamera();
    ImGui::Text("Gfx Polygon Mode");
    if (ImGui::Button("Default")) {
        camera.SetPolygonMode(GL_FILL);
    }
    ImGui::SameLine();
    if (ImGui::Button("WireFrame")) {
        camera.SetPolygonMode(GL_LINE);
    }
    ImGui::SameLine();
    if (ImGui::Button("Point")) {
        camera.SetPolygonMode(GL_POINT);
    }
    ImGui::Separator();
    ImGui::Text("Transparency");
    if (ImGui::Checkbox("Blending", &blendingEnabled)) {
        SetCapability(GL_BLEND, blendingEnabled);
    }
    if (ImGui::Checkbox("Alpha Test", &alphaTestEnabled)) {
        SetCapability(GL_ALPHA_TEST, alphaTestEnabled);
    }
    ImGui::Separator();
    ImGui::Text("Collision");
    ImGui::Checkbox("Collider Box", &showColliderBoxes);
}

}  // namespace

const std::vector<ConsoleStateButton>& GetConsoleStateButtons() {
    static const std::vector<ConsoleStateButton> buttons = {
        {"Editor", STATE_EDITOR},   {"Splash", STATE_SPLASH},       {"Main Menu", STATE_MAIN_MENU},
        {"Level 1", STATE_LEVEL_1}, {"Level 2", STATE_LEVEL_2},     {"Level 3", STATE_LEVEL_3},
        {"Level Boss", STATE_BOSS}, {"Level End", STATE_LEVEL_END},
    };
    return buttons;
}

ImVec4 ConsoleObjectColour(const GameObject& object) {
    return object.IsActive() ? kActiveColour : kInactiveColour;
}

std::vector<std::string> ConsoleComponentLines(const GameObject& object) {
    std::vector<std::string> lines;
    for (const Component* component : object.GetComponents()) {
        lines.emplace_back(component->GetName());
    }
    if (lines.empty()) {
        lines.emplace_back("<None>");
    }
    return lines;
}

std::string ConsoleObjectsHeader(size_t count) {
    return "GameObjects: " + std::to_string(count);
}

void BuildConsole() {
    ImGui::Begin("Console", nullptr, ImGuiWindowFlags_AlwaysAutoResize);
    const State* current = GetCurrentState();
    ImGui::Text("Current State: %s", current != nullptr ? current->GetName() : "UNKNOWN");
    const float framerate = ImGui::GetIO().Framerate;
    ImGui::Text("Average %.3f ms/frame (%.1f FPS)", framerate > 0.0f ? 1000.0f / framerate : 0.0f, framerate);
    int cursorX = 0;
    int cursorY = 0;
    GetCursorPos(&cursorX, &cursorY);
    ImGui::Text("Cursor Screen Pos: (%d, %d)", cursorX, cursorY);
    ImGui::Text("Cursor World Pos: %s", GetMouseWorldPos().ToString().c_str());
    BuildStateHeader();
    BuildTimeHeader();
    BuildWindowHeader();
    BuildCameraHeader();
    BuildObjectsHeader();
    BuildToolsHeader();
    ImGui::End();
}
