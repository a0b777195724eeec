#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "automation/Screenshot.h"
#include "graphics/Camera.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "graphics/PostProcess.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneTesting.h"
#include "support/TestGame.h"

namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 180;

class ColliderOutlineTest : public testing::Test {
protected:
    void SetUp() override {
        StartTestGame(kWidth, kHeight);
        static bool loaded = false;
        if (!loaded) {
            loaded = true;
            GetResources().LoadTexturesAndMeshes();
        }
        GetCamera().Reset();
        BindWindowFramebuffer();
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GetCamera().UpdateMatrices();
        PrepareSceneShader();
        object.GetTransform().SetPosition(0.0f, 0.0f, 0.0f);
        object.GetTransform().SetScale(8.0f, 8.0f, 1.0f);
        object.GetTransform().SetRotation(0.0f, 0.0f, 30.0f);
        collider = object.AddComponent<Collider>();
        collider->box.offset = Vector3(1.0f, 0.0f, 0.0f);
        collider->box.widthFactor = 0.5f;
        collider->Update();
    }
    void TearDown() override { showColliderBoxes = false; }

    std::vector<unsigned char> ReadWindow() const {
        std::vector<unsigned char> pixels(kWidth * kHeight * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // Pixels whose green clearly outweighs red and blue.
    static int GreenPixels(const std::vector<unsigned char>& pixels) {
        int count = 0;
        for (size_t i = 0; i < pixels.size(); i += 4) {
            if (pixels[i + 1] > 100 && pixels[i] < 80 && pixels[i + 2] < 80) {
                ++count;
            }
        }
        return count;
    }

    static bool IsGreen(const std::vector<unsigned char>& pixels, int x, int y) {
        const size_t i = (static_cast<size_t>(y) * kWidth + x) * 4;
        return pixels[i + 1] > 100 && pixels[i] < 80 && pixels[i + 2] < 80;
    }

    GameObject object;
    Collider* collider = nullptr;
};

}  // namespace

TEST_F(ColliderOutlineTest, NothingIsDrawnWhileTheOutlinesAreOff) {
    showColliderBoxes = false;
    collider->Draw();
    EXPECT_EQ(GreenPixels(ReadWindow()), 0);
}

TEST_F(ColliderOutlineTest, TheOutlineIsAnUnrotatedGreenFrameOfTheBox) {
    ASSERT_NE(GetResources().LookupMesh(GREEN_QUAD), nullptr) << "the standard meshes did not load";
    showColliderBoxes = true;
    const size_t depth = GetModelStack().Depth();
    GLint modeBefore[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modeBefore);
    collider->Draw();
    GLint modeAfter[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modeAfter);
    EXPECT_EQ(modeAfter[0], modeBefore[0]);
    EXPECT_EQ(GetModelStack().Depth(), depth);

    const std::vector<unsigned char> pixels = ReadWindow();
    const char* shot = std::getenv("LIRRA_SHOT_DIR");
    if (shot != nullptr) {
        SaveScreenshot(std::string(shot) + "/collider-outline.png");
    }
    // The box is 4 x 8 units centred at (1, 0): x from -1 to 3, y from -4 to 4. The camera shows
    // 20 x 20 units over 256 x 180 pixels, so its edges fall near x = 115 and 166 and
    // y = 54 and 126; inside, it stays black (drawn as lines only, the quad's diagonal included).
    EXPECT_GT(GreenPixels(pixels), 100);
    EXPECT_FALSE(IsGreen(pixels, 155, 110));
    EXPECT_FALSE(IsGreen(pixels, 125, 70));
    bool leftEdge = false;
    bool rightEdge = false;
    for (int x = 112; x <= 118; ++x) {
        leftEdge = leftEdge || IsGreen(pixels, x, 90);
    }
    for (int x = 163; x <= 169; ++x) {
        rightEdge = rightEdge || IsGreen(pixels, x, 90);
    }
    EXPECT_TRUE(leftEdge);
    EXPECT_TRUE(rightEdge);
    // Unrotated: the top edge runs straight across.
    int topRow = 0;
    for (int y = 122; y <= 130; ++y) {
        int run = 0;
        for (int x = 120; x < 160; ++x) {
            run += IsGreen(pixels, x, y) ? 1 : 0;
        }
        topRow = std::max(topRow, run);
    }
    EXPECT_GE(topRow, 35);
}
