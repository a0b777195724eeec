#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "GraphicsTestUtil.h"
#include "automation/Screenshot.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "graphics/ParticleSystem.h"
#include "graphics/PostProcess.h"
#include "graphics/Renderer.h"
#include "graphics/TextRenderer.h"
#include "math/MathUtil.h"
#include "platform/Window.h"
#include "resources/ResourceLoader.h"
#include "scene/GameObject.h"
#include "support/TestGame.h"

namespace {

// Resizes the real window and waits until its framebuffer reports the new size.
bool ResizeWindow(int width, int height) {
    glfwSetWindowSize(GetWindow(), width, height);
    for (int i = 0; i < 200; ++i) {
        glfwPollEvents();
        if (GetWindowWidth() == width && GetWindowHeight() == height) {
            // The drawable takes its new size at the next swap, as in the game's own loop.
            glfwSwapBuffers(GetWindow());
            glViewport(0, 0, width, height);
            return true;
        }
        glfwWaitEventsTimeout(0.01);
    }
    return false;
}

// The frame's passes as every game state runs them, with the world drawn by `drawWorld`.
template <typename DrawWorld>
void RenderFrame(DrawWorld drawWorld) {
    BindWindowFramebuffer();
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GetCamera().UpdateMatrices();
    BeginScene();
    ClearScene();
    PrepareSceneShader();
    DrawBackground(BACKGROUND_FOREST);
    drawWorld();
    GetParticleSystem().Render();
    BindWindowFramebuffer();
    BlurBright(true, 10);
    CompositeBloom(0);
    BeginScene();
    PrepareSceneShader();
    BlurBright(true, 0);
    CompositeBloom(0);
    BindWindowFramebuffer();
    SetBloomEnabled(false);
    PrepareSceneShader();
    GetTextRenderer().Flush();
    SetBloomEnabled(true);
}

// A pooled object of the test scene: owns its meshes' users, not the meshes.
struct SceneObject {
    std::unique_ptr<GameObject> object = std::make_unique<GameObject>();
    SceneObject(float x, float y, float z, float sx, float sy) {
        object->active = true;
        object->GetTransform().SetPosition(x, y, z);
        object->GetTransform().SetScale(sx, sy, 1.0f);
    }
};

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartGraphicsTest();
        ASSERT_TRUE(HasGeneratedTextures()) << "the generated textures are not in the data directory";
        LoadGraphicsResources();
        SetupBackgrounds();
        SeedRandom(3);
        GetParticleSystem().Clear();
        SetBloomEnabled(true);
        SetBloomIntensity(1.0f);
        SetExposure(0.5f);
        SetGamma(0.7f);
    }
    void TearDown() override {
        GetParticleSystem().Clear();
        GetCamera().Reset();
        ResizeWindow(256, 180);
    }
};

TEST_F(SceneTest, ForestSceneWithTilesSpritesTextAndParticles) {
    ASSERT_TRUE(ResizeWindow(kScreenWidth, kScreenHeight));
    SetClockStep(1.0 / 60.0);
    GetCamera().SetPosition(Vector3(2.0f, 1.0f, 0.0f));
    GetCamera().SetZoom(0.8f);

    // The ground: a row of tiles cut from the sheet (10 columns), grass on top, earth below.
    std::vector<std::unique_ptr<Mesh>> tileMeshes;
    auto tileMesh = [&](int column, int row) {
        const float d = 0.1f;
        tileMeshes.emplace_back(
            CreateQuad("EnvTile", glm::vec4(1.0f), 1.0f, d * column, d * (column + 1), d * row, d * (row + 1)));
        return tileMeshes.back().get();
    };
    Mesh* grass = tileMesh(1, 0);
    Mesh* earth = tileMesh(1, 1);
    std::vector<SceneObject> tiles;
    for (int x = -8; x <= 12; ++x) {
        for (int y = -6; y >= -7; --y) {
            tiles.emplace_back(static_cast<float>(x), static_cast<float>(y), 0.0f, 1.0f, 1.0f);
            Renderer* r = tiles.back().object->AddComponent<Renderer>();
            r->SetMesh(y == -6 ? grass : earth);
            r->SetTexture(TextureId::ForestTileset);
        }
    }
    // A tile object without a mesh draws nothing.
    tiles.emplace_back(0.0f, 0.0f, 5.0f, 30.0f, 30.0f);
    tiles.back().object->AddComponent<Renderer>()->SetTexture(TextureId::ForestTileset);

    SceneObject lirra(0.0f, -4.5f, 11.0f, 2.0f, 2.0f);
    AnimationRenderer* lirraAnimation = lirra.object->AddComponent<AnimationRenderer>();
    lirraAnimation->AddClip(TextureId::LirraIdle, 3, 0.2f);
    SceneObject dired(-4.0f, -4.5f, 5.0f, 2.0f, 2.0f);
    dired.object->AddComponent<AnimationRenderer>()->AddClip(TextureId::DiredIdle, 4, 0.2f);
    SceneObject enemy(4.5f, -4.5f, 6.0f, -2.0f, 2.0f);
    enemy.object->AddComponent<AnimationRenderer>()->AddClip(TextureId::VozarovuIdle, 4, 0.2f);
    SceneObject soul(2.5f, -3.0f, 7.0f, 0.7f, 0.7f);
    soul.object->AddComponent<AnimationRenderer>()->AddClip(TextureId::SoulFire, 3, 0.15f);
    SceneObject purple(3.5f, -2.6f, 7.0f, 0.7f, 0.7f);
    purple.object->AddComponent<AnimationRenderer>()->AddClip(TextureId::SoulFirePurple, 3, 0.15f);
    SceneObject portal(8.0f, -4.0f, 4.0f, 3.0f, 3.0f);
    portal.object->AddComponent<AnimationRenderer>()->AddClip(TextureId::Portal, 8, 0.1f);
    SceneObject hud(110.0f, 650.0f, 90.0f, 110.0f, 110.0f);
    UIRenderer* hudRenderer = hud.object->AddComponent<UIRenderer>();
    hudRenderer->SetMesh(QUAD);
    hudRenderer->SetTexture(TextureId::HealthHud);
    hudRenderer->SetAlpha(0.8f);
    std::vector<SceneObject*> animated = {&lirra, &dired, &enemy, &soul, &purple, &portal};

    ParticleSystem& particles = GetParticleSystem();
    Emitter hit = ParticleSystem::MakeEmitter(EMITTER_ENEMY_HIT);
    hit.position.SetPosition(4.5f, -4.0f, 12.0f);
    particles.AddEmitter(hit);
    Emitter trail = ParticleSystem::MakeEmitter(EMITTER_FLYING_TRAIL);
    trail.position.SetPosition(8.0f, -4.0f, 12.0f);
    trail.velocity = {Vector3(-1.0f, 0.5f, 0.0f), Vector3(1.0f, 2.0f, 0.0f)};
    particles.AddEmitter(trail);
    Transform sparkAt;
    sparkAt.SetPosition(3.0f, -3.0f, 12.0f);
    for (int i = 0; i < 3; ++i) {
        Emitter spark = ParticleSystem::MakeEmitter(i == 1 ? EMITTER_SOUL_SECOND : EMITTER_SOUL_FIRST);
        spark.position.SetPosition(2.5f + i * 0.5f, -3.0f, 12.0f);
        particles.AddEmitter(spark);
    }
    Emitter dust = ParticleSystem::MakeEmitter(EMITTER_PLAYER_DUST);
    dust.position.SetPosition(-0.5f, -5.3f, 12.0f);
    dust.velocity = {Vector3(-1.5f, 0.2f, 0.0f), Vector3(-0.5f, 0.8f, 0.0f)};
    dust.burst = {6, 6};
    particles.AddEmitter(dust);

    for (int frame = 0; frame < 20; ++frame) {
        StepClock();
        particles.Update();
        for (SceneObject* o : animated) {
            o->object->GetComponent<AnimationRenderer>()->Update();
        }
        TextRenderer& text = GetTextRenderer();
        text.DrawText("Souls: 2", Vector2(180.0f, 640.0f), 1.2f, Vector3(0.95f, 0.9f, 1.0f));
        text.DrawTextAtWorld("Dired", Vector3(-4.8f, -3.2f, 0.0f), 0.9f, Vector3(1.0f, 0.85f, 0.5f));
        text.DrawText("Lirra:\nThe souls are waiting.", Vector2(340.0f, 420.0f), 1.0f, Vector3(1.0f, 1.0f, 1.0f));
        RenderFrame([&] {
            for (SceneObject& t : tiles) {
                t.object->GetComponent<Renderer>()->Draw();
            }
            for (SceneObject* o : animated) {
                o->object->GetComponent<AnimationRenderer>()->Draw();
            }
            hudRenderer->Draw();
        });
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const char* path = "/tmp/lirra-render-scene.png";
    ASSERT_TRUE(SaveScreenshot(path));
    std::printf("scene screenshot: %s\n", path);

    // The mesh-less renderer covering the view drew nothing: the background shows through.
    const Vector3 sky = ReadPixel(512, 500);
    EXPECT_FALSE(sky.x == 26.0f && sky.y == 26.0f && sky.z == 26.0f);
    EXPECT_GT(particles.CountParticles(), 10);
}

TEST_F(SceneTest, FiveHundredSpritesCostPerFrame) {
    ASSERT_TRUE(ResizeWindow(64, 45));
    Mesh* quad = GetResources().LookupMesh(QUAD);
    std::vector<SceneObject> sprites;
    sprites.reserve(500);
    for (int i = 0; i < 500; ++i) {
        sprites.emplace_back(RandomFloat(-9.0f, 9.0f), RandomFloat(-9.0f, 9.0f), RandomFloat(-50.0f, 50.0f), 0.5f,
                             0.5f);
        Renderer* r = sprites.back().object->AddComponent<Renderer>();
        r->SetMesh(quad);
        r->SetTexture(static_cast<TextureId>(i % 9));  // Lirra's nine sheets
    }
    auto drawAll = [&] {
        for (SceneObject& s : sprites) {
            s.object->GetComponent<Renderer>()->Draw();
        }
    };
    for (int i = 0; i < 20; ++i) {
        RenderFrame(drawAll);
        glFinish();
    }
    constexpr int kFrames = 200;
    double spriteSeconds = 0.0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i) {
        RenderFrame([&] {
            const auto begin = std::chrono::steady_clock::now();
            drawAll();
            spriteSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        });
        glFinish();
    }
    const double frameSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "500 sprites at 64 x 45: %.3f ms per frame for the sprite draws, %.3f ms per whole frame "
        "(passes, background, glFinish)\n",
        spriteSeconds * 1000.0 / kFrames, frameSeconds * 1000.0 / kFrames);
    RecordProperty("sprite_ms", std::to_string(spriteSeconds * 1000.0 / kFrames));
    RecordProperty("frame_ms", std::to_string(frameSeconds * 1000.0 / kFrames));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
