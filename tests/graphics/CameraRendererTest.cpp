#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "GraphicsTestUtil.h"
#include "graphics/Camera.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "graphics/PostProcess.h"
#include "graphics/Renderer.h"
#include "graphics/Texture.h"
#include "scene/GameObject.h"
#include "support/TestGame.h"

namespace {

class CameraRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartGraphicsTest();
        red = CreateQuad("Red", glm::vec4(1.0f, 0.0f, 0.0f, 1.0f), 1.0f, 0.0f, 1.0f, 0.0f, 1.0f);
        blue = CreateQuad("Blue", glm::vec4(0.0f, 0.0f, 1.0f, 1.0f), 1.0f, 0.0f, 1.0f, 0.0f, 1.0f);
    }
    void TearDown() override { GetCamera().Reset(); }

    std::unique_ptr<Mesh> red;
    std::unique_ptr<Mesh> blue;
};

void ExpectNear(const Vector3& actual, float x, float y) {
    EXPECT_NEAR(actual.x, x, 1e-3f);
    EXPECT_NEAR(actual.y, y, 1e-3f);
}

TEST_F(CameraRendererTest, ZoomHasALowerBoundAndResetRestoresTheView) {
    Camera& camera = GetCamera();
    camera.SetZoom(0.0f);
    EXPECT_FLOAT_EQ(camera.GetZoom(), 0.01f);
    camera.UpdateMatrices();
    EXPECT_FLOAT_EQ(camera.GetHalfExtent(), 0.1f);
    camera.SetZoom(3.0f);
    camera.SetPosition(Vector3(4.0f, 5.0f, 0.0f));
    camera.Reset();
    EXPECT_FLOAT_EQ(camera.GetZoom(), 1.0f);
    EXPECT_EQ(camera.GetPosition(), Vector3(0.0f, 0.0f, 0.0f));
}

TEST_F(CameraRendererTest, WorldToScreenMapsTheViewOntoTheReferenceScreen) {
    Camera& camera = GetCamera();
    camera.UpdateMatrices();
    ExpectNear(camera.WorldToScreen(Vector3(10.0f, 10.0f, 0.0f)), 1024.0f, 720.0f);
    ExpectNear(camera.WorldToScreen(Vector3(-10.0f, -10.0f, 0.0f)), 0.0f, 0.0f);
    ExpectNear(camera.WorldToScreen(Vector3(0.0f, 0.0f, 0.0f)), 512.0f, 360.0f);
    camera.SetPosition(Vector3(5.0f, 2.0f, 0.0f));
    camera.UpdateMatrices();
    ExpectNear(camera.WorldToScreen(Vector3(5.0f, 2.0f, 0.0f)), 512.0f, 360.0f);
    camera.SetZoom(2.0f);
    camera.UpdateMatrices();
    ExpectNear(camera.WorldToScreen(Vector3(15.0f, 2.0f, 0.0f)), 768.0f, 360.0f);
}

TEST_F(CameraRendererTest, ScreenToWorldReadsTheDepthUnderThePixel) {
    Camera& camera = GetCamera();
    camera.SetPosition(Vector3(3.0f, -1.0f, 0.0f));
    BeginWindowDraw();
    // A sprite at depth 20 under the centre of the window.
    GetModelStack().Push();
    GetModelStack().Translate(3.0f, -1.0f, 20.0f);
    GetModelStack().Scale(4.0f, 4.0f, 1.0f);
    red->Draw(nullptr, 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    GetModelStack().Pop();
    const Vector3 centre = camera.ScreenToWorld(Vector3(128.0f, 90.0f, 0.0f));
    EXPECT_NEAR(centre.x, 3.0f, 0.05f);
    EXPECT_NEAR(centre.y, -1.0f, 0.1f);
    EXPECT_NEAR(centre.z, 20.0f, 0.1f);
    // The top-left window pixel is the world's top-left corner (window y runs down).
    const Vector3 corner = camera.ScreenToWorld(Vector3(0.0f, 0.0f, 0.0f));
    EXPECT_NEAR(corner.x, 3.0f - 10.0f, 0.1f);
    EXPECT_NEAR(corner.y, -1.0f + 10.0f, 0.15f);
}

TEST_F(CameraRendererTest, ApplyTransformRotatesAboutYThenZThenX) {
    Transform transform;
    transform.SetRotation(90.0f, 90.0f, 0.0f);
    GetModelStack().ApplyTransform(transform);
    const glm::vec4 x = GetModelStack().Top() * glm::vec4(1.0f, 0.0f, 0.0f, 0.0f);
    GetModelStack().Pop();
    // Y, Z then X composed on the right: X acts on the point first, then Z, then Y.
    // (1,0,0) -X90-> (1,0,0) -Y90-> (0,0,-1).
    EXPECT_NEAR(x.x, 0.0f, 1e-5f);
    EXPECT_NEAR(x.z, -1.0f, 1e-5f);
    EXPECT_EQ(GetModelStack().Depth(), 1u);
}

TEST_F(CameraRendererTest, RendererDrawsItsSpriteAtTheExpectedPixels) {
    GameObject object;
    object.active = true;
    object.GetTransform().SetPosition(5.0f, 0.0f, 0.0f);
    object.GetTransform().SetScale(2.0f, 2.0f, 1.0f);
    Renderer* renderer = object.AddComponent<Renderer>();
    renderer->SetMesh(red.get());
    BeginWindowDraw(0.0f, 0.0f, 0.0f);
    renderer->Draw();
    // x 4..6 of -10..10 is window pixels 179..204 of 256; y -1..1 is 81..99 of 180.
    EXPECT_EQ(ReadPixel(192, 90), Vector3(255, 0, 0));
    EXPECT_EQ(ReadPixel(181, 83), Vector3(255, 0, 0));
    EXPECT_EQ(ReadPixel(176, 90), Vector3(0, 0, 0));
    EXPECT_EQ(ReadPixel(192, 102), Vector3(0, 0, 0));
    EXPECT_EQ(ReadPixel(128, 90), Vector3(0, 0, 0));

    renderer->tint = Vector3(0.5f, 1.0f, 1.0f);
    renderer->SetAlpha(7.0f);
    EXPECT_FLOAT_EQ(renderer->GetAlpha(), 1.0f);
    glDisable(GL_DEPTH_TEST);
    renderer->Draw();
    glEnable(GL_DEPTH_TEST);
    EXPECT_NEAR(ReadPixel(192, 90).x, 128.0f, 1.0f);
}

TEST_F(CameraRendererTest, RendererOfAnInactiveOwnerOrWithoutMeshDrawsNothing) {
    GameObject object;
    object.GetTransform().SetScale(20.0f, 20.0f, 1.0f);
    Renderer* renderer = object.AddComponent<Renderer>();
    BeginWindowDraw(0.0f, 0.0f, 0.0f);
    object.active = true;
    renderer->Draw();  // no mesh
    renderer->SetMesh(red.get());
    object.active = false;
    renderer->Draw();
    EXPECT_EQ(ReadPixel(128, 90), Vector3(0, 0, 0));
    EXPECT_EQ(GetModelStack().Depth(), 1u);
}

TEST_F(CameraRendererTest, UIRendererIgnoresDepthUnlessToldOtherwise) {
    GameObject world;
    world.active = true;
    world.GetTransform().SetPosition(0.0f, 0.0f, 50.0f);
    world.GetTransform().SetScale(20.0f, 20.0f, 1.0f);
    world.AddComponent<Renderer>()->SetMesh(red.get());

    GameObject panel;  // never activated: screen drawing does not look at it
    panel.GetTransform().SetPosition(512.0f, 360.0f, -50.0f);
    panel.GetTransform().SetScale(200.0f, 200.0f, 1.0f);
    UIRenderer* ui = panel.AddComponent<UIRenderer>();
    ui->SetMesh(blue.get());
    EXPECT_STREQ(ui->GetName(), "UIRenderer");
    EXPECT_TRUE(ui->GetIgnoreDepth());

    BeginWindowDraw(0.0f, 0.0f, 0.0f);
    world.GetComponent<Renderer>()->Draw();
    ui->Draw();
    EXPECT_EQ(ReadPixel(128, 90), Vector3(0, 0, 255));  // over the nearer world sprite
    EXPECT_EQ(ReadPixel(10, 90), Vector3(255, 0, 0));   // 512 +- 100 of 1024 is pixels 103..153

    BeginWindowDraw(0.0f, 0.0f, 0.0f);
    world.GetComponent<Renderer>()->Draw();
    ui->SetIgnoreDepth(false);
    ui->Draw();
    EXPECT_EQ(ReadPixel(128, 90), Vector3(255, 0, 0));  // depth-tested: behind the world sprite
    EXPECT_EQ(GetProjectionStack().Depth(), 1u);
    EXPECT_EQ(GetViewStack().Depth(), 1u);
}

TEST_F(CameraRendererTest, PixelPerfectScalesToUnitLengthOrReportsAMissingTexture) {
    GameObject object;
    Renderer* renderer = object.AddComponent<Renderer>();
    object.GetTransform().SetScale(3.0f, 3.0f, 3.0f);
    testing::internal::CaptureStdout();
    renderer->SetPixelPerfect();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "SetPixelPerfect Failed: Texture not set!");
    EXPECT_EQ(object.GetTransform().GetScale(), Vector3(3.0f, 3.0f, 3.0f));

    const std::string path = MakeTempDir("pixel") + "/sheet.png";
    WriteSolidPng(path, 1024, 720, 255, 255, 255, 255);
    Texture texture(path.c_str());
    testing::internal::CaptureStdout();
    texture.Load(path.c_str(), 0, 0);
    testing::internal::GetCapturedStdout();
    renderer->SetTextureDirect(&texture);
    renderer->SetPixelPerfect();
    EXPECT_NEAR(object.GetTransform().GetScale().x, 0.70710678f, 1e-5f);
    EXPECT_NEAR(object.GetTransform().GetScale().y, 0.70710678f, 1e-5f);
    EXPECT_FLOAT_EQ(object.GetTransform().GetScale().z, 1.0f);

    GameObject panel;
    UIRenderer* ui = panel.AddComponent<UIRenderer>();
    ui->SetTextureDirect(&texture);
    ui->SetPixelPerfect();
    const Vector3 scale = panel.GetTransform().GetScale();
    const float length = std::sqrt(1024.0f * 1024.0f * 1024.0f * 1024.0f + 720.0f * 720.0f * 720.0f * 720.0f);
    EXPECT_NEAR(scale.x, 1024.0f * 1024.0f / length, 1e-5f);
    EXPECT_NEAR(scale.y, 720.0f * 720.0f / length, 1e-5f);
}

}  // namespace
