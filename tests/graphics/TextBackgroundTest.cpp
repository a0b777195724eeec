#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "GraphicsTestUtil.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "graphics/PostProcess.h"
#include "graphics/TextRenderer.h"
#include "graphics/Texture.h"
#include "platform/Window.h"
#include "resources/ResourceLoader.h"
#include "support/TestGame.h"

namespace {

struct PlacedGlyph {
    float x, y, w, h;
    bool hasBitmap;
};

std::vector<PlacedGlyph> Layout(const std::string& text, Vector2 position, float scale, bool zoomScaled = false) {
    TextItem item;
    item.text = text;
    item.position = position;
    item.scale = scale;
    item.zoomScaled = zoomScaled;
    std::vector<PlacedGlyph> placed;
    GetTextRenderer().LayoutItem(item, [&](const Character& g, const GlyphQuad& quad) {
        placed.push_back({quad[1][0], quad[1][1], quad[2][0] - quad[1][0], quad[0][1] - quad[1][1], g.size.x > 0.0f});
    });
    return placed;
}

class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartGraphicsTest();
        ASSERT_TRUE(GetTextRenderer().IsLoaded()) << "the game's font is not in the data directory";
    }
    void TearDown() override { GetCamera().Reset(); }
};

TEST_F(TextTest, SecondLineStartsAtTheStartOneLineStepLower) {
    const std::vector<PlacedGlyph> one = Layout("H", Vector2(100.0f, 300.0f), 1.0f);
    const std::vector<PlacedGlyph> two = Layout("H\nH", Vector2(100.0f, 300.0f), 1.0f);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_FLOAT_EQ(two[1].x, one[0].x);
    EXPECT_NEAR(one[0].y - two[1].y, GetTextRenderer().LineStep(), 1e-3f);
    EXPECT_GT(GetTextRenderer().LineStep(), 0.0f);
    // A trailing line break is an ordinary character: it is laid out and moves nothing.
    const std::vector<PlacedGlyph> trailing = Layout("H\n", Vector2(100.0f, 300.0f), 1.0f);
    ASSERT_EQ(trailing.size(), 2u);
    EXPECT_FLOAT_EQ(trailing[1].y + trailing[1].h, trailing[1].y + trailing[1].h);
}

TEST_F(TextTest, GlyphsAreHalfTheItemScaleAndZoomShrinksWorldText) {
    const PlacedGlyph normal = Layout("H", Vector2(0.0f, 0.0f), 1.0f)[0];
    const PlacedGlyph doubled = Layout("H", Vector2(0.0f, 0.0f), 2.0f)[0];
    EXPECT_NEAR(doubled.h, 2.0f * normal.h, 1e-3f);
    EXPECT_NEAR(doubled.w, 2.0f * normal.w, 1e-3f);
    // A full-height glyph of the 64-pixel face is 32 units high at scale 1, 64 at scale 2.
    EXPECT_LE(normal.h, 32.0f + 1e-3f);
    EXPECT_GT(normal.h, 8.0f);

    GetCamera().SetZoom(2.0f);
    const PlacedGlyph zoomed = Layout("H", Vector2(0.0f, 0.0f), 2.0f, true)[0];
    EXPECT_NEAR(zoomed.h, normal.h, 1e-3f);
    const std::vector<PlacedGlyph> lines = Layout("H\nH", Vector2(0.0f, 0.0f), 1.0f, true);
    EXPECT_NEAR(-lines[1].y + lines[0].y, GetTextRenderer().LineStep() / 2.0f, 1e-3f);
}

TEST_F(TextTest, SpaceAdvancesWithoutAPictureAndUnknownCharactersDoNotMove) {
    const std::vector<PlacedGlyph> spaced = Layout("H H", Vector2(0.0f, 0.0f), 1.0f);
    ASSERT_EQ(spaced.size(), 3u);
    EXPECT_FALSE(spaced[1].hasBitmap);
    EXPECT_GT(spaced[2].x, spaced[0].x + spaced[0].w);
    const std::vector<PlacedGlyph> plain = Layout("HH", Vector2(0.0f, 0.0f), 1.0f);
    const std::vector<PlacedGlyph> foreign = Layout("H\xC3\xA9H", Vector2(0.0f, 0.0f), 1.0f);
    ASSERT_EQ(foreign.size(), 4u);
    EXPECT_FLOAT_EQ(foreign[3].x, plain[1].x);
}

TEST_F(TextTest, WorldTextIsQueuedAtItsScreenPoint) {
    TextRenderer& text = GetTextRenderer();
    text.ClearQueue();
    GetCamera().SetPosition(Vector3(5.0f, 2.0f, 0.0f));
    GetCamera().UpdateMatrices();
    text.DrawTextAtWorld("Hi", Vector3(5.0f, 2.0f, 0.0f), 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    ASSERT_EQ(text.CountQueued(), 1u);
    EXPECT_NEAR(text.GetQueue().front().position.x, 512.0f, 1e-3f);
    EXPECT_NEAR(text.GetQueue().front().position.y, 360.0f, 1e-3f);
    EXPECT_TRUE(text.GetQueue().front().zoomScaled);
    text.ClearQueue();
}

TEST_F(TextTest, FlushDrawsTheColourOverEverythingAndEmptiesTheQueue) {
    BeginWindowDraw(0.0f, 0.0f, 0.0f);
    // A near world sprite that text must not hide behind.
    std::unique_ptr<Mesh> quad(CreateQuad("Near", glm::vec4(0.0f, 0.0f, 1.0f, 1.0f), 20.0f, 0.0f, 1.0f, 0.0f, 1.0f));
    GetModelStack().Push();
    GetModelStack().Translate(0.0f, 0.0f, 90.0f);
    quad->Draw(nullptr, 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    GetModelStack().Pop();
    TextRenderer& text = GetTextRenderer();
    text.DrawText("HHHH", Vector2(100.0f, 340.0f), 2.0f, Vector3(1.0f, 1.0f, 0.0f));
    text.Flush();
    EXPECT_EQ(text.CountQueued(), 0u);
    std::vector<unsigned char> pixels(256 * 180 * 4);
    glReadPixels(0, 0, 256, 180, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int yellow = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        if (pixels[i] > 200 && pixels[i + 1] > 200 && pixels[i + 2] < 60) {
            ++yellow;
        }
    }
    EXPECT_GT(yellow, 20);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

class BackgroundTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartGraphicsTest();
        ASSERT_TRUE(HasGeneratedTextures()) << "the generated textures are not in the data directory";
        LoadGraphicsResources();
        SetupBackgrounds();
    }
    void TearDown() override { GetCamera().Reset(); }
};

TEST_F(BackgroundTest, UnknownTypeIsRejected) {
    BeginWindowDraw();
    try {
        DrawBackground(1);
        FAIL() << "no throw";
    } catch (const char* message) {
        EXPECT_STREQ(message, "Invalid Background Type!");
    }
    EXPECT_EQ(GetProjectionStack().Depth(), 1u);
}

TEST_F(BackgroundTest, ForestFillsTheScreenBehindTheWorld) {
    BeginWindowDraw(1.0f, 0.0f, 1.0f);
    DrawBackground(BACKGROUND_FOREST);
    EXPECT_EQ(GetProjectionStack().Depth(), 1u);
    EXPECT_EQ(GetViewStack().Depth(), 1u);
    EXPECT_EQ(GetModelStack().Depth(), 1u);
    std::vector<unsigned char> pixels(256 * 180 * 4);
    glReadPixels(0, 0, 256, 180, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int magenta = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        if (pixels[i] == 255 && pixels[i + 1] == 0 && pixels[i + 2] == 255) {
            ++magenta;
        }
    }
    EXPECT_EQ(magenta, 0) << "the far strip leaves gaps";

    // A world sprite just in front of the edges' depth covers them.
    std::unique_ptr<Mesh> quad(CreateQuad("Front", glm::vec4(1.0f, 0.0f, 1.0f, 1.0f), 1.0f, 0.0f, 1.0f, 0.0f, 1.0f));
    GetModelStack().Push();
    GetModelStack().Translate(0.0f, -9.5f, -95.0f);
    quad->Draw(nullptr, 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    GetModelStack().Pop();
    EXPECT_EQ(ReadPixel(128, 4), Vector3(255, 0, 255));
}

// Into a freshly cleared scene the forest is drawn without depth; anything drawn into the scene
// before it (the editor's guides) keeps it testing depth, so that stays in front.
TEST_F(BackgroundTest, InTheSceneWhatWasDrawnBeforeTheForestStaysInFrontAndTheWorldCoversIt) {
    std::unique_ptr<Mesh> quad(CreateQuad("Front", glm::vec4(1.0f), 1.0f, 0.0f, 1.0f, 0.0f, 1.0f));
    const auto drawAt = [&](float x, const Vector3& colour) {
        GetModelStack().Push();
        GetModelStack().Translate(x, 0.0f, 0.0f);
        GetModelStack().Scale(4.0f, 4.0f, 1.0f);
        quad->Draw(nullptr, 1.0f, colour);
        GetModelStack().Pop();
    };
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    GetCamera().UpdateMatrices();
    BeginScene();
    ClearScene();
    PrepareSceneShader();
    drawAt(-5.0f, Vector3(0.0f, 0.0f, 1.0f));
    DrawBackground(BACKGROUND_FOREST);
    drawAt(5.0f, Vector3(0.0f, 1.0f, 0.0f));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, GetBloomTargets().sceneFramebuffer);
    EXPECT_EQ(ReadPixel(64, 90), Vector3(0, 0, 255)) << "drawn before the forest";
    EXPECT_EQ(ReadPixel(192, 90), Vector3(0, 255, 0)) << "drawn after it";
    EXPECT_NE(ReadPixel(128, 90), Vector3(255, 0, 255)) << "the forest";

    // The usual frame: the forest first, then the world over it.
    ClearScene();
    DrawBackground(BACKGROUND_FOREST);
    drawAt(5.0f, Vector3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(ReadPixel(192, 90), Vector3(0, 255, 0));
    EXPECT_NE(ReadPixel(64, 90), Vector3(255, 0, 255));
    BindWindowFramebuffer();
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// In a fresh scene the layers draw their colours alone and their bright image only around what
// glows (the far strip's moon): both images hold what drawing every layer into both gives, which
// the forest still does after something else was drawn first.
TEST_F(BackgroundTest, TheForestsImagesAreTheSameWhetherDrawnFirstOrAfterASprite) {
    std::unique_ptr<Mesh> quad(CreateQuad("Corner", glm::vec4(1.0f), 1.0f, 0.0f, 1.0f, 0.0f, 1.0f));
    const auto drawCorner = [&]() {
        GetModelStack().Push();
        GetModelStack().Translate(-15.0f, -10.0f, 0.0f);
        quad->Draw(nullptr, 1.0f, Vector3(0.2f, 0.3f, 0.2f));
        GetModelStack().Pop();
    };
    const auto readImage = [](int image) {
        std::vector<unsigned char> pixels(static_cast<size_t>(GetWindowWidth()) * GetWindowHeight() * 4);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, GetBloomTargets().sceneFramebuffer);
        glReadBuffer(GL_COLOR_ATTACHMENT0 + image);
        glReadPixels(0, 0, GetWindowWidth(), GetWindowHeight(), GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        return pixels;
    };
    // The whole moon, the moon mostly behind the layers in front of it, no moon.
    for (const Vector3& camera :
         {Vector3(828.0f, 0.0f, 0.0f), Vector3(828.0f, -30.0f, 0.0f), Vector3(0.0f, 0.0f, 0.0f)}) {
        GetCamera().SetPosition(camera);
        GetCamera().UpdateMatrices();
        std::vector<unsigned char> images[2][2];
        for (int first = 0; first < 2; ++first) {
            BeginScene();
            ClearScene();
            PrepareSceneShader();
            if (first == 1) {
                drawCorner();
            }
            DrawBackground(BACKGROUND_FOREST);
            if (first == 0) {
                drawCorner();
            }
            images[first][0] = readImage(0);
            images[first][1] = readImage(1);
        }
        int glowing = 0;
        for (int image = 0; image < 2; ++image) {
            size_t differing = 0;
            for (size_t p = 0; p < images[0][image].size(); p += 4) {
                differing += std::memcmp(&images[0][image][p], &images[1][image][p], 3) != 0 ? 1 : 0;
                glowing += image == 1 && images[0][image][p] + images[0][image][p + 1] + images[0][image][p + 2] > 0;
            }
            EXPECT_EQ(differing, 0u) << (image == 0 ? "colours" : "bright image") << " at camera x " << camera.x;
        }
        EXPECT_EQ(glowing > 0, camera.x > 0.0f) << "the moon glows where it is on the screen, camera x " << camera.x;
    }
    BindWindowFramebuffer();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The layers with transparent texels are drawn through meshes of their filled spans: at any place,
// scale and flip, those cover exactly the pixels the whole quad would show.
TEST_F(BackgroundTest, ALayersSpanMeshShowsWhatItsWholeQuadShows) {
    std::unique_ptr<Mesh> whole(CreateQuad("Whole", glm::vec4(1.0f), 1.0f, 0.0f, 1.0f, 0.0f, 1.0f));
    const glm::vec4 placements[] = {
        {0.13f, -0.37f, 41.0f, 12.0f},
        {-7.31f, 2.05f, 63.5f, -19.0f},
        {3.77f, 0.91f, 20.0f, 6.0f},
    };
    int layersWithMeshes = 0;
    for (const char* name : {"FOREST_MG2", "FOREST_LOWER", "FOREST_UPPER"}) {
        const Texture* texture = GetBackgroundLayers().at(name);
        const Mesh* spans = GetLayerMesh(texture);
        if (spans == nullptr) {
            continue;
        }
        ++layersWithMeshes;
        EXPECT_LT(spans->GetIndexCount(), 6 * 4096) << name;
        for (const glm::vec4& place : placements) {
            std::vector<unsigned char> pictures[2];
            const Mesh* meshes[2] = {whole.get(), spans};
            for (int i = 0; i < 2; ++i) {
                BeginWindowDraw(1.0f, 0.0f, 1.0f);
                GetCamera().UpdateMatrices();
                GetModelStack().Push();
                GetModelStack().Translate(place.x, place.y, 0.0f);
                GetModelStack().Scale(place.z, place.w, 1.0f);
                meshes[i]->Draw(texture, 1.0f, Vector3(1.0f, 1.0f, 1.0f));
                GetModelStack().Pop();
                pictures[i].resize(static_cast<size_t>(GetWindowWidth()) * GetWindowHeight() * 4);
                glReadPixels(0, 0, GetWindowWidth(), GetWindowHeight(), GL_RGBA, GL_UNSIGNED_BYTE, pictures[i].data());
            }
            size_t differing = 0;
            for (size_t p = 0; p < pictures[0].size(); p += 4) {
                differing += std::memcmp(&pictures[0][p], &pictures[1][p], 3) != 0 ? 1 : 0;
            }
            EXPECT_EQ(differing, 0u) << name << " at " << place.x << ", " << place.y;
        }
    }
    EXPECT_EQ(layersWithMeshes, 3) << "the middle ground and both edges have transparent texels";
}

}  // namespace
