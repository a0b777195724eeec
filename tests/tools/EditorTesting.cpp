#include "tools/EditorTesting.h"

#include <GLFW/glfw3.h>

#include <imgui.h>
#include <imgui_internal.h>

#include <cmath>

#include "frontend/StateManager.h"
#include "levels/GOCollider.h"
#include "levels/TileMeshes.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneTesting.h"
#include "support/TestGame.h"

void EditorTest::SetUp() {
    StartTestGame(kWidth, kHeight);
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        GetResources().LoadTexturesAndMeshes();
    }
    ResetTestGame();
    editor = new StateLevelEditor();
    SetState(editor);
    Frames(2);
    directory = MakeTempDir("editor");
}

void EditorTest::TearDown() {
    // Dear ImGui keeps its pop-ups and the field being edited across states; the next test
    // starts with neither.
    ImGui::ClearActiveID();
    if (GImGui->OpenPopupStack.Size > 0) {
        ImGui::ClosePopupToLevel(0, false);
    }
    ResetTestGame();
    RunCommand("chmod -R u+w '" + directory + "'; rm -rf '" + directory + "'");
}

void EditorTest::Frames(int n) {
    RunFrames(n);
}

// The display is shared with other tests, which may move the pointer: the warp is repeated
// until the editor has seen the cell.
void EditorTest::PointAt(int x, int y) {
    const float half = 10.0f * editor->zoom;
    const Vector3 camera = editor->cameraPos;
    const double px = (x - camera.x + half) / (2.0 * half) * kWidth;
    const double py = (half - (y - camera.y)) / (2.0 * half) * kHeight;
    for (int attempt = 0; attempt < 10; ++attempt) {
        glfwSetCursorPos(GetWindow(), px, py);
        Frames(1);
        const Vector3 cell = editor->SnapCursor();
        if (cell.x == static_cast<float>(x) && cell.y == static_cast<float>(y)) {
            return;
        }
    }
    FAIL() << "the pointer never reached cell " << x << ", " << y;
}

void EditorTest::Press(int code) {
    if (code <= GLFW_MOUSE_BUTTON_LAST) {
        MouseButtonCallback(GetWindow(), code, GLFW_PRESS, 0);
    } else {
        KeyCallback(GetWindow(), code, 0, GLFW_PRESS, 0);
    }
}

void EditorTest::Release(int code) {
    if (code <= GLFW_MOUSE_BUTTON_LAST) {
        MouseButtonCallback(GetWindow(), code, GLFW_RELEASE, 0);
    } else {
        KeyCallback(GetWindow(), code, 0, GLFW_RELEASE, 0);
    }
}

void EditorTest::Tap(int code) {
    Press(code);
    Frames(1);
    Release(code);
    Frames(1);
}

void EditorTest::PlaceTileAt(int x, int y, int layer) {
    Tap(GLFW_KEY_0 + layer);
    PointAt(x, y);
    Tap(GLFW_MOUSE_BUTTON_LEFT);
}
