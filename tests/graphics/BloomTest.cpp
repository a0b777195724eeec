#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <memory>

#include "GraphicsTestUtil.h"
#include "graphics/Camera.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "graphics/PostProcess.h"
#include "graphics/ShaderManager.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "support/TestGame.h"

namespace {

void TapKey(int key) {
    KeyCallback(GetWindow(), key, 0, GLFW_PRESS, 0);
    EndInputFrame(GetModelStack().Top(), GetViewStack().Top(), GetProjectionStack().Top());
    KeyCallback(GetWindow(), key, 0, GLFW_RELEASE, 0);
}

// The composite at the standard gamma applies the glow's intensity.
float CompositeProgramFloat(const char* name) {
    const ShaderProgram* program = GetShaderManager().Find("Shader/bloom-standard-gamma");
    float value = -1.0f;
    glGetUniformfv(static_cast<GLuint>(program->program),
                   glGetUniformLocation(static_cast<GLuint>(program->program), name), &value);
    return value;
}

// Calls the window's own framebuffer-size handler, as GLFW does when the window is resized or minimised.
void ReportFramebufferSize(int width, int height) {
    GLFWframebuffersizefun handler = glfwSetFramebufferSizeCallback(GetWindow(), nullptr);
    glfwSetFramebufferSizeCallback(GetWindow(), handler);
    handler(GetWindow(), width, height);
}

class BloomTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartGraphicsTest();
        glClearColor(0.1f, 0.1f, 0.1f, 1.0f);  // the frame start's clear colour
        SetBloomEnabled(true);
        SetBloomIntensity(1.0f);
        SetExposure(0.5f);
        SetGamma(0.7f);
        quad = CreateQuad("Glow", glm::vec4(1.0f), 1.0f, 0.0f, 1.0f, 0.0f, 1.0f);
    }
    void TearDown() override {
        SetBloomEnabled(true);
        SetBloomIntensity(1.0f);
        SetGamma(0.7f);
        EndInputFrame(GetModelStack().Top(), GetViewStack().Top(), GetProjectionStack().Top());
    }

    // The frame's passes around one sprite of the given colour at the centre of the world.
    void RenderSpriteFrame(const Vector3& colour, float size) {
        GetCamera().UpdateMatrices();
        BeginScene();
        ClearScene();
        PrepareSceneShader();
        GetModelStack().Push();
        GetModelStack().Scale(size, size, 1.0f);
        quad->Draw(nullptr, 1.0f, colour);
        GetModelStack().Pop();
        BindWindowFramebuffer();
        BlurBright(true, 10);
        CompositeBloom(0);
    }

    std::unique_ptr<Mesh> quad;
};

TEST_F(BloomTest, IntensityKeysStepByThreeTenthsAndStopAtZero) {
    RunFrames(1);
    SetBloomIntensity(0.2f);
    TapKey(GLFW_KEY_P);
    PrepareSceneShader();
    CompositeBloom(0);
    EXPECT_FLOAT_EQ(GetBloomIntensity(), 0.0f);
    EXPECT_FLOAT_EQ(CompositeProgramFloat("bloomIntensity"), 0.0f);

    RunFrames(1);
    TapKey(GLFW_KEY_O);
    // The frame prepares the scene shader three times; the release still counts once.
    PrepareSceneShader();
    PrepareSceneShader();
    PrepareSceneShader();
    CompositeBloom(0);
    EXPECT_FLOAT_EQ(GetBloomIntensity(), 0.3f);
    EXPECT_FLOAT_EQ(CompositeProgramFloat("bloomIntensity"), 0.3f);
}

TEST_F(BloomTest, BrightSpriteSpreadsLightIntoItsNeighbourhood) {
    // The sprite covers window pixels 122..134 x 86..94 of 256 x 180.
    RenderSpriteFrame(Vector3(1.0f, 0.2f, 1.0f), 1.0f);
    const Vector3 inside = ReadPixel(128, 90);
    const Vector3 near = ReadPixel(139, 90);
    const Vector3 far = ReadPixel(20, 20);
    EXPECT_GT(inside.x, 220.0f);
    EXPECT_GT(near.x, far.x + 8.0f) << "no glow next to the sprite";
    EXPECT_GT(near.z, far.z + 8.0f);
    EXPECT_GT(ReadPixel(136, 90).x, near.x);  // fading with distance
    EXPECT_NEAR(far.x, 26.0f, 2.0f);          // the clear colour, untouched

    SetBloomIntensity(0.0f);
    RenderSpriteFrame(Vector3(1.0f, 0.2f, 1.0f), 1.0f);
    EXPECT_NEAR(ReadPixel(139, 90).x, far.x, 1.0f);

    // Turned up past 1, as the boss's white-out does, the glow spreads brighter still.
    SetBloomIntensity(3.0f);
    RenderSpriteFrame(Vector3(1.0f, 0.2f, 1.0f), 1.0f);
    EXPECT_GT(ReadPixel(139, 90).z, near.z + 8.0f);

    SetBloomIntensity(1.0f);
    SetBloomEnabled(false);
    RenderSpriteFrame(Vector3(1.0f, 0.2f, 1.0f), 1.0f);
    EXPECT_NEAR(ReadPixel(139, 90).x, far.x, 1.0f);
}

TEST_F(BloomTest, TheSecondCompositeShowsWhatWasDrawnBetweenAndKeepsTheRest) {
    RenderSpriteFrame(Vector3(1.0f, 0.2f, 1.0f), 1.0f);
    const Vector3 glow = ReadPixel(139, 90);
    // A wind-like sprite drawn into the scene after the first composite, left of the glowing one.
    BeginScene();
    PrepareSceneShader();
    GetModelStack().Push();
    GetModelStack().Translate(-5.0f, 0.0f, 0.0f);
    quad->Draw(nullptr, 1.0f, Vector3(0.2f, 0.6f, 0.3f));
    GetModelStack().Pop();
    BlurBright(true, 0);
    CompositeBloom(0);
    const Vector3 wind = ReadPixel(64, 90);
    EXPECT_NEAR(wind.y, 153.0f, 3.0f);
    EXPECT_NEAR(ReadPixel(139, 90).x, glow.x, 1.0f);
    EXPECT_GT(ReadPixel(128, 90).x, 220.0f);
    EXPECT_NEAR(ReadPixel(20, 20).x, 26.0f, 2.0f);
}

// The buttons and dialogue drawn after the composite are tested against the depth its quad would
// leave (the middle of the range), which the composite clears to instead of writing.
TEST_F(BloomTest, TheCompositeLeavesTheDepthOfItsQuadAndTheDepthTestOn) {
    RenderSpriteFrame(Vector3(1.0f, 0.2f, 1.0f), 1.0f);
    for (const int x : {0, 139, 255}) {
        float depth = -1.0f;
        glReadPixels(x, 90, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_NEAR(depth, 0.5f, 1e-6f) << "at x " << x;
    }
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
}

// The forest draws its bright image only around texels stronger than kStrongestDullChannel: a
// weaker colour must leave the bright image black (a full channel shows the image is read).
TEST_F(BloomTest, NoColourUpToTheStrongestDullChannelSendsAnythingToTheBrightImage) {
    for (const int channel : {kStrongestDullChannel, 255}) {
        RenderSpriteFrame(Vector3(0.1f, static_cast<float>(channel) / 255.0f, 0.1f), 4.0f);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, GetBloomTargets().sceneFramebuffer);
        glReadBuffer(GL_COLOR_ATTACHMENT1);
        const Vector3 bright = ReadPixel(128, 90);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        EXPECT_EQ(bright.y > 0.0f, channel > kStrongestDullChannel) << "channel " << channel;
    }
}

TEST_F(BloomTest, OrdinaryScenerySendsNothingToTheBrightPass) {
    RenderSpriteFrame(Vector3(0.3f, 0.45f, 0.25f), 1.0f);  // a forest green
    EXPECT_NEAR(ReadPixel(139, 90).x, ReadPixel(20, 20).x, 1.0f);
    EXPECT_NEAR(ReadPixel(139, 90).y, ReadPixel(20, 20).y, 1.0f);
}

TEST_F(BloomTest, StandardSettingsShowTheSceneAsDrawnAndLargeGammaWashesOutToWhite) {
    SetBloomEnabled(false);
    RenderSpriteFrame(Vector3(0.5f, 0.25f, 0.0f), 20.0f);
    const Vector3 normal = ReadPixel(128, 90);
    EXPECT_NEAR(normal.x, 128.0f, 2.0f);
    EXPECT_NEAR(normal.y, 64.0f, 2.0f);
    EXPECT_NEAR(normal.z, 0.0f, 1.0f);

    SetGamma(60.0f);
    RenderSpriteFrame(Vector3(0.5f, 0.25f, 0.0f), 20.0f);
    const Vector3 white = ReadPixel(128, 90);
    EXPECT_GT(white.x, 250.0f);
    EXPECT_GT(white.y, 250.0f);
    EXPECT_GT(white.z, 215.0f);  // even a black channel washes out

    // Easing gamma back returns the picture smoothly: brightness falls steadily.
    float previous = 256.0f;
    for (float g = 60.0f; g > 0.7f; g = 0.7f + (g - 0.7f) * 0.5f) {
        SetGamma(g);
        RenderSpriteFrame(Vector3(0.5f, 0.25f, 0.0f), 20.0f);
        const float y = ReadPixel(128, 90).y;
        EXPECT_LE(y, previous + 0.5f);
        previous = y;
        if (g - 0.7f < 0.01f) {
            break;
        }
    }
    EXPECT_NEAR(previous, 64.0f, 3.0f);
}

TEST_F(BloomTest, TargetsFollowTheWindowSizeAndSurviveAMinimisedWindow) {
    const int width = GetWindowWidth();
    const int height = GetWindowHeight();
    RenderSpriteFrame(Vector3(1.0f, 1.0f, 1.0f), 1.0f);
    while (glGetError() != GL_NO_ERROR) {
    }

    ReportFramebufferSize(0, 0);
    for (int i = 0; i < 3; ++i) {
        RenderSpriteFrame(Vector3(1.0f, 1.0f, 1.0f), 1.0f);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    int targetWidth = 0;
    int targetHeight = 0;
    GetBloomTargetSize(&targetWidth, &targetHeight);
    EXPECT_EQ(targetWidth, width);
    EXPECT_EQ(targetHeight, height);
    glBindFramebuffer(GL_FRAMEBUFFER, GetBloomTargets().sceneFramebuffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    BindWindowFramebuffer();

    ReportFramebufferSize(200, 150);
    RenderSpriteFrame(Vector3(1.0f, 1.0f, 1.0f), 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // The first frame at the new size already glows as every later one does: the blur's targets
    // take the new size before a pass draws into them, not after.
    const Vector3 glowAfterResize = ReadPixel(108, 75);
    RenderSpriteFrame(Vector3(1.0f, 1.0f, 1.0f), 1.0f);
    const Vector3 glowLater = ReadPixel(108, 75);
    EXPECT_GT(glowLater.x, ReadPixel(20, 20).x + 8.0f) << "no glow next to the sprite";
    EXPECT_NEAR(glowAfterResize.x, glowLater.x, 1.0f);
    EXPECT_NEAR(glowAfterResize.z, glowLater.z, 1.0f);
    const BloomTargets& targets = GetBloomTargets();
    // The blur's targets are a quarter of the window's size, rounded up.
    const unsigned int textures[4] = {targets.sceneTextures[0], targets.sceneTextures[1], targets.pingpongTextures[0],
                                      targets.pingpongTextures[1]};
    const GLint sizes[4][2] = {{200, 150}, {200, 150}, {50, 38}, {50, 38}};
    for (int i = 0; i < 4; ++i) {
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        GLint w = 0;
        GLint h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        EXPECT_EQ(w, sizes[i][0]);
        EXPECT_EQ(h, sizes[i][1]);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, targets.depthRenderbuffer);
    GLint depthWidth = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &depthWidth);
    EXPECT_EQ(depthWidth, 200);

    ReportFramebufferSize(width, height);
    RenderSpriteFrame(Vector3(1.0f, 1.0f, 1.0f), 1.0f);
    GetBloomTargetSize(&targetWidth, &targetHeight);
    EXPECT_EQ(targetWidth, width);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
