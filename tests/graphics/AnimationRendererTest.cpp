#include <gtest/gtest.h>

#include "GraphicsTestUtil.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Mesh.h"
#include "scene/GameObject.h"
#include "support/TestGame.h"

namespace {

class AnimationRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartGraphicsTest();
        if (HasGeneratedTextures()) {
            LoadGraphicsResources();
        }
        testing::internal::CaptureStdout();
        object.active = true;
        animation = object.AddComponent<AnimationRenderer>();
        SetClockStep(0.1);
        StepClock();
    }
    void TearDown() override { testing::internal::GetCapturedStdout(); }

    GameObject object;
    AnimationRenderer* animation = nullptr;
};

TEST_F(AnimationRendererTest, FramesAreNumberedOverAllClipsInRegistrationOrder) {
    animation->AddClip(TextureId::LirraIdle, 3, 0.2f);
    animation->AddClip(TextureId::LirraRun, 4, 0.15f);
    EXPECT_EQ(animation->GetFrameCount(), 7);
    EXPECT_EQ(animation->GetClip(), TextureId::LirraRun);
    EXPECT_EQ(animation->GetFrame(), 0);  // registering does not restart
    animation->SetClip(TextureId::LirraIdle);
    EXPECT_EQ(animation->GetFrame(), 0);
    animation->SetClip(TextureId::LirraRun);
    EXPECT_EQ(animation->GetFrame(), 3);
}

TEST_F(AnimationRendererTest, FrameAdvancesOnceTheFrameTimeIsReachedAndDropsTheExcess) {
    animation->AddClip(TextureId::LirraJump, 2, 0.25f);
    animation->Restart();
    animation->Update();
    animation->Update();
    EXPECT_EQ(animation->GetFrame(), 0);  // 0.2 < 0.25
    animation->Update();
    EXPECT_EQ(animation->GetFrame(), 1);  // 0.3 >= 0.25
    EXPECT_FLOAT_EQ(animation->GetTimer(), 0.0f);
    animation->Update();
    animation->Update();
    EXPECT_EQ(animation->GetFrame(), 1);  // from 0, not 0.05: 0.2 < 0.25
    animation->Update();
    EXPECT_EQ(animation->GetFrame(), 0);
}

TEST_F(AnimationRendererTest, CycleDoneIsSetOnlyOnTheStepBackToTheFirstFrame) {
    animation->AddClip(TextureId::LirraRun, 4, 0.1f);
    animation->Restart();
    int cycles = 0;
    int firstCycleStep = -1;
    for (int step = 1; step <= 12; ++step) {
        animation->Update();
        if (animation->cycleDone) {
            ++cycles;
            EXPECT_EQ(animation->GetFrame(), 0);
            if (firstCycleStep < 0) {
                firstCycleStep = step;
            }
        }
    }
    EXPECT_EQ(cycles, 3);
    EXPECT_EQ(firstCycleStep, 4);
}

TEST_F(AnimationRendererTest, SetClipOfTheCurrentClipChangesNothing) {
    animation->AddClip(TextureId::LirraIdle, 3, 0.1f);
    animation->AddClip(TextureId::LirraRun, 4, 0.1f);
    animation->SetClip(TextureId::LirraIdle);
    animation->SetClip(TextureId::LirraRun);
    animation->Update();
    animation->SetSpeed(2.0f);
    animation->SetClip(TextureId::LirraRun);
    EXPECT_EQ(animation->GetFrame(), 4);
    EXPECT_FLOAT_EQ(animation->GetSpeed(), 2.0f);
    animation->SetClip(TextureId::LirraIdle);
    EXPECT_EQ(animation->GetFrame(), 0);
    EXPECT_FLOAT_EQ(animation->GetSpeed(), 1.0f);
}

TEST_F(AnimationRendererTest, SpeedScalesTheElapsedTime) {
    animation->AddClip(TextureId::LirraIdle, 3, 0.25f);
    animation->Restart();
    animation->SetSpeed(3.0f);
    animation->Update();  // 0.3
    EXPECT_EQ(animation->GetFrame(), 1);
}

TEST_F(AnimationRendererTest, FreeKeepsClipsAndClearClipsForgetsThem) {
    animation->AddClip(TextureId::LirraIdle, 3, 0.1f);
    animation->Free();
    EXPECT_EQ(animation->GetFrameCount(), 0);
    EXPECT_TRUE(animation->HasClip(TextureId::LirraIdle));
    EXPECT_EQ(animation->GetClip(), TextureId::LirraIdle);

    animation->ClearClips();
    EXPECT_FALSE(animation->HasClip(TextureId::LirraIdle));
    EXPECT_EQ(animation->GetClip(), AnimationRenderer::kNoClip);
    // A recycled renderer registers a fresh set numbered from 0.
    animation->AddClip(TextureId::DiredIdle, 2, 0.1f);
    animation->Restart();
    EXPECT_EQ(animation->GetFrameCount(), 2);
    EXPECT_EQ(animation->GetFrame(), 0);
}

TEST_F(AnimationRendererTest, UpdateWithoutAClipIsReportedOnceAndDoesNotCrash) {
    const std::string before = testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    animation->Update();
    animation->Update();
    animation->Draw();
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(CountOf(output, "Animation clip 63 not registered!\n"), 1) << output;
    testing::internal::CaptureStdout();
}

}  // namespace
