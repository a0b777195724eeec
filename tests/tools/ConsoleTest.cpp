#include <GL/glew.h>
#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <string>
#include <vector>

#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "graphics/Camera.h"
#include "physics/Collider.h"
#include "scene/SceneManager.h"
#include "scene/SceneTesting.h"
#include "support/TestGame.h"
#include "tools/Console.h"
#include "tools/UiDriver.h"

namespace {

std::string ObjectLabel(size_t index) {
    return std::to_string(index) + ": " + GetScene().GetAllObjects()[index]->GetTypeName();
}

}  // namespace

class ConsoleTest : public testing::Test {
protected:
    void SetUp() override {
        StartTestGame(1024, 720);
        EndTestStates();
        RunFrames(1);
        ui.Frame(ImVec2(-1.0f, -1.0f), false);
    }
    void TearDown() override {
        // Every header and node closed again.
        if (ImGuiWindow* console = ImGui::FindWindowByName("Console")) {
            console->StateStorage.Clear();
        }
        EndTestStates();
        GetCamera().Reset();
    }

    ImGuiID Id(const char* label) const { return UiDriver::IdOf("Console", label); }

    UiDriver ui{BuildConsole};
};

TEST_F(ConsoleTest, TheObjectTreeCountsEveryObjectAndGreysTheInactiveOnes) {
    SceneObjectManager& scene = GetScene();
    // A free plain object is handed out again until it is used.
    std::vector<GameObject*> taken;
    while (scene.CountObjects() < 250) {
        taken.push_back(scene.GetGameObject(KIND_UNKNOWN));
        taken.back()->SetActive(true);
    }
    scene.FlushObjectQueues();
    const size_t count = scene.GetAllObjects().size();
    EXPECT_EQ(ConsoleObjectsHeader(250), "GameObjects: 250");
    EXPECT_EQ(ConsoleObjectsHeader(count), "GameObjects: " + std::to_string(count));
    // The header keeps its place while the count changes under it.
    ImVec2 header;
    EXPECT_TRUE(ui.FindId("Console", Id("###GameObjects"), &header));

    GameObject* object = scene.GetAllObjects().back();
    object->SetActive(false);
    const ImVec4 grey = ConsoleObjectColour(*object);
    EXPECT_FLOAT_EQ(grey.x, 0.3f);
    EXPECT_FLOAT_EQ(grey.y, 0.3f);
    EXPECT_FLOAT_EQ(grey.z, 0.3f);
    EXPECT_FLOAT_EQ(grey.w, 1.0f);
    object->SetActive(true);
    const ImVec4 white = ConsoleObjectColour(*object);
    EXPECT_FLOAT_EQ(white.x, 1.0f);
    EXPECT_FLOAT_EQ(white.w, 1.0f);
    for (GameObject* used : taken) {
        used->SetActive(false);
    }
    scene.FlushObjectQueues();
}

TEST_F(ConsoleTest, AnObjectWithoutComponentsShowsNone) {
    SceneObjectManager& scene = GetScene();
    GameObject* bare = scene.GetGameObject(KIND_UNKNOWN);
    scene.FlushObjectQueues();
    ASSERT_TRUE(bare->GetComponents().empty());
    const std::vector<GameObject*>& objects = scene.GetAllObjects();
    const size_t index = std::find(objects.begin(), objects.end(), bare) - objects.begin();
    ASSERT_LT(index, objects.size());

    const std::string label = ObjectLabel(index);
    const ImGuiID node = Id(label.c_str());
    UiDriver::OpenNode("Console", Id("###GameObjects"));
    UiDriver::OpenNode("Console", node);
    UiDriver::OpenNode("Console", UiDriver::IdUnder(node, "Components##0"));
    ImVec2 components;
    if (index < 30) {
        EXPECT_TRUE(ui.FindId("Console", UiDriver::IdUnder(node, "Components##0"), &components));
    }
    EXPECT_EQ(ConsoleComponentLines(*bare), std::vector<std::string>{"<None>"});
}

TEST_F(ConsoleTest, ElevenPressesOfMinusPassTheCamerasLowerBound) {
    GetCamera().SetZoom(1.0f);
    UiDriver::OpenNode("Console", Id("Camera"));
    ImVec2 minus;
    ASSERT_TRUE(ui.FindId("Console", Id("-"), &minus));
    for (int i = 0; i < 11; ++i) {
        ui.Click(minus);
    }
    EXPECT_NEAR(GetCamera().GetZoom(), -0.1f, 1e-4f);
}

TEST_F(ConsoleTest, TheDrawingSwitchesReachGlAndTheColliderOutlines) {
    UiDriver::OpenNode("Console", Id("Tools"));
    ASSERT_TRUE(blendingEnabled);
    ASSERT_TRUE(ui.ClickId("Console", Id("Blending")));
    EXPECT_FALSE(blendingEnabled);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    ASSERT_TRUE(ui.ClickId("Console", Id("Blending")));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    ASSERT_TRUE(ui.ClickId("Console", Id("Alpha Test")));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    ASSERT_TRUE(ui.ClickId("Console", Id("Alpha Test")));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));

    const bool before = showColliderBoxes;
    ASSERT_TRUE(ui.ClickId("Console", Id("Collider Box")));
    EXPECT_NE(showColliderBoxes, before);
    ASSERT_TRUE(ui.ClickId("Console", Id("Collider Box")));
    EXPECT_EQ(showColliderBoxes, before);

    GLint mode[2] = {0, 0};
    ASSERT_TRUE(ui.ClickId("Console", Id("WireFrame")));
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);
    ASSERT_TRUE(ui.ClickId("Console", Id("Default")));
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
}

TEST_F(ConsoleTest, TheEditorButtonStartsTheEditor) {
    UiDriver::OpenNode("Console", Id("State"));
    ASSERT_TRUE(ui.ClickId("Console", Id("Editor")));
    ASSERT_NE(GetCurrentState(), nullptr);
    EXPECT_EQ(GetCurrentState()->GetId(), STATE_EDITOR);
}
