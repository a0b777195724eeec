#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>
#include <string>
#include <vector>

#include "GraphicsTestUtil.h"
#include "graphics/Camera.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "graphics/PostProcess.h"
#include "graphics/TextRenderer.h"
#include "platform/Window.h"

namespace {

// The 9-tap Gaussian of one blur pass, centre first.
const float kPassKernel[5] = {0.2270270270f, 0.1945945946f, 0.1216216216f, 0.0540540541f, 0.0162162162f};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<float> rgba;

    float At(int x, int y, int c) const {
        x = std::clamp(x, 0, width - 1);
        y = std::clamp(y, 0, height - 1);
        return rgba[(static_cast<size_t>(y) * width + x) * 4 + c];
    }
};

Image ReadTexture(unsigned int texture) {
    Image image;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &image.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &image.height);
    image.rgba.resize(static_cast<size_t>(image.width) * image.height * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, image.rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return image;
}

// One pass of the blur as the pass-by-pass design draws it: the 9-tap kernel along one axis,
// edges clamped.
Image BlurOnce(const Image& in, bool horizontal) {
    Image out = in;
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                float sum = in.At(x, y, c) * kPassKernel[0];
                for (int k = 1; k <= 4; ++k) {
                    const int dx = horizontal ? k : 0;
                    const int dy = horizontal ? 0 : k;
                    sum += (in.At(x + dx, y + dy, c) + in.At(x - dx, y - dy, c)) * kPassKernel[k];
                }
                out.rgba[(static_cast<size_t>(y) * in.width + x) * 4 + c] = sum;
            }
        }
    }
    return out;
}

// The small blur result as the composite reads it at every window pixel: a bilinear fetch, edges clamped.
Image Upsampled(const Image& small, int width, int height) {
    Image out;
    out.width = width;
    out.height = height;
    out.rgba.resize(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        const float sy = (y + 0.5f) * small.height / height - 0.5f;
        const int y0 = static_cast<int>(std::floor(sy));
        const float fy = sy - y0;
        for (int x = 0; x < width; ++x) {
            const float sx = (x + 0.5f) * small.width / width - 0.5f;
            const int x0 = static_cast<int>(std::floor(sx));
            const float fx = sx - x0;
            for (int c = 0; c < 4; ++c) {
                const float top = small.At(x0, y0 + 1, c) * (1.0f - fx) + small.At(x0 + 1, y0 + 1, c) * fx;
                const float bottom = small.At(x0, y0, c) * (1.0f - fx) + small.At(x0 + 1, y0, c) * fx;
                out.rgba[(static_cast<size_t>(y) * width + x) * 4 + c] = bottom * (1.0f - fy) + top * fy;
            }
        }
    }
    return out;
}

float LargestDifference(const Image& a, const Image& b) {
    float largest = 0.0f;
    for (size_t i = 0; i < a.rgba.size(); ++i) {
        if (i % 4 != 3) {
            largest = std::max(largest, std::fabs(a.rgba[i] - b.rgba[i]));
        }
    }
    return largest;
}

float Brightest(const Image& image) {
    float brightest = 0.0f;
    for (size_t i = 0; i < image.rgba.size(); ++i) {
        if (i % 4 != 3) {
            brightest = std::max(brightest, image.rgba[i]);
        }
    }
    return brightest;
}

class FrameCostTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartGraphicsTest();
        SetBloomEnabled(true);
        SetBloomIntensity(1.0f);
        quad.reset(CreateQuad("Glow", glm::vec4(1.0f), 1.0f, 0.0f, 1.0f, 0.0f, 1.0f));
    }

    // A magenta square at (x, y) in the world, drawn into the bright target.
    void DrawGlowingSquare(float x, float y, float size) {
        GetCamera().UpdateMatrices();
        BeginScene();
        ClearScene();
        PrepareSceneShader();
        GetModelStack().Push();
        GetModelStack().Translate(x, y, 0.0f);
        GetModelStack().Scale(size, size, 1.0f);
        quad->Draw(nullptr, 1.0f, Vector3(1.0f, 0.2f, 1.0f));
        GetModelStack().Pop();
        BindWindowFramebuffer();
    }

    std::unique_ptr<Mesh> quad;
};

TEST_F(FrameCostTest, TheFramesBlurAtAQuarterOfTheSizeGlowsAsItsTenAlternatingPasses) {
    // Near the window's corner too, where the clamped edge makes the passes differ the most; and a
    // square on a half texel of the small size, where its fetch back up blends the most.
    for (const float x : {0.0f, 0.05f, 8.5f}) {
        DrawGlowingSquare(x, x * 0.5f, 1.0f);
        Image expected = ReadTexture(GetBloomTargets().sceneTextures[1]);
        ASSERT_GT(Brightest(expected), 0.5f) << "the square glows";
        for (int pass = 0; pass < 10; ++pass) {
            expected = BlurOnce(expected, pass % 2 == 0);
        }
        BlurBright(true, 10);
        const Image small = ReadTexture(GetBloomTargets().pingpongTextures[0]);
        EXPECT_EQ(small.width, (expected.width + 3) / 4);
        const Image blurred = Upsampled(small, expected.width, expected.height);
        // The glow's peak is near 0.7 here; the small size keeps it within a tenth of that.
        EXPECT_LT(LargestDifference(blurred, expected), 0.06f) << "square at x " << x;
        EXPECT_NEAR(Brightest(blurred), Brightest(expected), 0.03f);
    }
}

TEST_F(FrameCostTest, AnOddNumberOfPassesEndsWhereTheLastAlternatingPassWould) {
    DrawGlowingSquare(0.0f, 0.0f, 1.0f);
    const Image bright = ReadTexture(GetBloomTargets().sceneTextures[1]);

    // Vertical, horizontal, vertical: the last pass writes the vertical target, index 0.
    BlurBright(false, 3);
    const Image three = ReadTexture(GetBloomTargets().pingpongTextures[0]);
    const Image expected = BlurOnce(BlurOnce(BlurOnce(bright, false), true), false);
    // So few passes spread less than the small size's own blur: only where they land is kept.
    EXPECT_NEAR(Brightest(three), Brightest(expected), 0.2f);

    // One horizontal pass writes index 1 and leaves index 0 as it was.
    BlurBright(true, 1);
    const Image one = ReadTexture(GetBloomTargets().pingpongTextures[1]);
    EXPECT_GT(Brightest(one), 0.2f);
    EXPECT_EQ(LargestDifference(ReadTexture(GetBloomTargets().pingpongTextures[0]), three), 0.0f);

    // No passes leave the last result alone.
    BlurBright(true, 0);
    EXPECT_EQ(LargestDifference(ReadTexture(GetBloomTargets().pingpongTextures[0]), three), 0.0f);
}

TEST_F(FrameCostTest, OnlyMeshesWhollyOutsideTheViewAreLeftOut) {
    const glm::mat4 identity(1.0f);
    glm::mat4 model = glm::translate(identity, glm::vec3(0.0f, 0.0f, 0.0f));
    EXPECT_FALSE(quad->IsOutsideView(model)) << "in the middle";
    model = glm::translate(identity, glm::vec3(1.45f, 0.0f, 0.0f));
    EXPECT_FALSE(quad->IsOutsideView(model)) << "its left edge pokes into the view";
    model = glm::translate(identity, glm::vec3(1.5002f, 0.0f, 0.0f));
    EXPECT_TRUE(quad->IsOutsideView(model)) << "wholly right of the view";
    model = glm::translate(identity, glm::vec3(0.0f, -1.6f, 0.0f));
    EXPECT_TRUE(quad->IsOutsideView(model)) << "below";
    model = glm::translate(identity, glm::vec3(0.0f, 0.0f, 1.5f));
    EXPECT_TRUE(quad->IsOutsideView(model)) << "beyond the depth range";
    // Outside two planes at once but not wholly beyond either: the corner may still show.
    model = glm::rotate(glm::translate(identity, glm::vec3(1.2f, 1.2f, 0.0f)), 0.785f, glm::vec3(0.0f, 0.0f, 1.0f));
    EXPECT_FALSE(quad->IsOutsideView(glm::scale(model, glm::vec3(1.2f, 1.2f, 1.0f))));
    const Mesh empty("Empty");
    EXPECT_FALSE(empty.IsOutsideView(glm::translate(identity, glm::vec3(5.0f, 0.0f, 0.0f))))
        << "a mesh without vertices is never judged";
}

TEST_F(FrameCostTest, ASpriteAtTheWindowsEdgeStillShowsItsVisiblePart) {
    BeginWindowDraw();
    GetCamera().UpdateMatrices();
    // The camera shows 20 x zoom units: a square centred on the right edge shows its left half.
    const float rightEdge = GetCamera().GetPosition().x + 10.0f * GetCamera().GetZoom();
    GetModelStack().Push();
    GetModelStack().Translate(rightEdge, GetCamera().GetPosition().y, 0.0f);
    GetModelStack().Scale(2.0f, 2.0f, 1.0f);
    quad->Draw(nullptr, 1.0f, Vector3(1.0f, 1.0f, 0.0f));
    GetModelStack().Pop();
    const Vector3 edge = ReadPixel(GetWindowWidth() - 1, GetWindowHeight() / 2);
    EXPECT_GT(edge.x, 200.0f);
    EXPECT_GT(edge.y, 200.0f);
}

// A faded-out overlay is left out only where the alpha test would have discarded all of it: with
// the test off, a mesh of alpha 0 still writes its depth and hides what is drawn behind it later.
TEST_F(FrameCostTest, AMeshOfAlphaZeroIsLeftOutOnlyWhereTheAlphaTestDiscardsIt) {
    const Vector3 centre(GetCamera().GetPosition().x, GetCamera().GetPosition().y, 0.0f);
    const auto drawPair = [&] {
        BeginWindowDraw();
        GetCamera().UpdateMatrices();
        GetModelStack().Push();
        GetModelStack().Translate(centre.x, centre.y, 1.0f);
        GetModelStack().Scale(4.0f, 4.0f, 1.0f);
        quad->Draw(nullptr, 0.0f, Vector3(1.0f, 1.0f, 1.0f));
        GetModelStack().Pop();
        GetModelStack().Push();
        GetModelStack().Translate(centre.x, centre.y, 0.0f);
        GetModelStack().Scale(4.0f, 4.0f, 1.0f);
        quad->Draw(nullptr, 1.0f, Vector3(1.0f, 1.0f, 0.0f));
        GetModelStack().Pop();
        return ReadPixel(GetWindowWidth() / 2, GetWindowHeight() / 2);
    };
    const Vector3 tested = drawPair();
    EXPECT_GT(tested.x, 200.0f) << "the invisible overlay hid the sprite behind it";
    glDisable(GL_ALPHA_TEST);
    const Vector3 untested = drawPair();
    glEnable(GL_ALPHA_TEST);
    EXPECT_LT(untested.x, 100.0f) << "without the alpha test the overlay's depth hides the sprite";
}

TEST_F(FrameCostTest, QueuedTextKeepsItsStorageFromFrameToFrame) {
    TextRenderer& text = GetTextRenderer();
    text.ClearQueue();
    const std::string line(150, 'x');
    text.DrawText(line, Vector2(10.0f, 10.0f), 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    text.DrawText(BarLetters(40), Vector2(10.0f, 40.0f), 1.0f, Vector3(1.0f, 0.0f, 0.0f));
    const char* firstStorage = text.GetQueue()[0].text.data();
    BeginWindowDraw();
    text.Flush();
    EXPECT_EQ(text.CountQueued(), 0u);

    text.DrawText("short", Vector2(10.0f, 10.0f), 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    text.DrawText(BarLetters(3), Vector2(10.0f, 40.0f), 1.0f, Vector3(1.0f, 0.0f, 0.0f));
    ASSERT_EQ(text.CountQueued(), 2u);
    EXPECT_EQ(text.GetQueue()[0].text, "short");
    EXPECT_EQ(text.GetQueue()[0].text.data(), firstStorage) << "the item's text is written into the same storage";
    EXPECT_EQ(text.GetQueue()[1].text, "III");
    text.ClearQueue();

    // More items than the reserve still queue, in order.
    for (int i = 0; i < 300; ++i) {
        text.DrawText(std::to_string(i), Vector2(0.0f, 0.0f), 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    }
    ASSERT_EQ(text.CountQueued(), 300u);
    EXPECT_EQ(text.GetQueue()[299].text, "299");
    text.Flush();
    EXPECT_EQ(text.CountQueued(), 0u);
}

TEST_F(FrameCostTest, BarLettersAreRowsOfTheBarLetterOfAnyLength) {
    EXPECT_EQ(BarLetters(0), "");
    EXPECT_EQ(BarLetters(5), "IIIII");
    const std::string_view longRow = BarLetters(1000);
    EXPECT_EQ(longRow.size(), 1000u);
    EXPECT_EQ(longRow.find_first_not_of('I'), std::string_view::npos);
    EXPECT_EQ(BarLetters(100).size(), 100u);
}

}  // namespace
