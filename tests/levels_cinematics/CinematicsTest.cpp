#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "actors/Player.h"
#include "automation/Trace.h"
#include "frontend/GameStateManager.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "graphics/Camera.h"
#include "levels/Cinematics.h"
#include "math/MathUtil.h"
#include "platform/FrameClock.h"
#include "scene/GameObject.h"
#include "support/TestGame.h"

namespace {

constexpr float kStep = 1.0f / 60.0f;

// One frame of the shared systems, at the test clock's fixed step.
void Frame() {
    AdvanceFrameClock();
    UpdateCinematics();
}

// Whole frames of the main loop. Focus changes between windows of parallel test programs open
// the pause menu, which would freeze the shared systems, so each frame starts from play.
void RunPlayingFrames(int n) {
    for (int i = 0; i < n; ++i) {
        GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);
        RunFrames(1);
    }
}

class EmptyState : public State {
public:
    explicit EmptyState(StateId id) : State(id) {}
    void Load() override {}
    void Update() override {}
    void Render() override {}
    void Unload() override {}
};

class CinematicsTest : public testing::Test {
protected:
    void SetUp() override {
        // One window for every test of this program: the picture tests want the full size.
        StartTestGame(1024, 720);
        EndTestStates();
        // A focus change of the new window opens the pause menu when a state is current: let it
        // arrive with none, and start from the playing overlay.
        RunFrames(1);
        GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);
        // The clock's first step is always 0; the tests want real steps.
        AdvanceFrameClock();
        AdvanceFrameClock();
        for (int i = 0; i < 2000 && CountCinematicSteps() > 0; ++i) {
            Frame();
        }
        ASSERT_EQ(CountCinematicSteps(), 0u);
        UpdateCinematics();
        GetCamera().Reset();
        GetCamera().UpdateMatrices();
        GetPlayer().GetTransform().SetPosition(4.0f, 2.0f, 0.0f);
        barsLastPlayerPos = GetPlayer().GetTransform().GetPosition();
        for (int i = 0; i < 2; ++i) {
            GetCinematicBar(i)->SetActive(false);
        }
    }
    void TearDown() override { EndTestStates(); }
};

}  // namespace

TEST_F(CinematicsTest, AZoomAndAShortShakeEndTogetherAfterTheLongerEffect) {
    ASSERT_GT(GetDeltaTime(), 0.0f);
    const Vector3 lirra = GetPlayer().GetTransform().GetPosition();
    PlayCinematic(2, std::make_unique<CinZoom>(0.1f, 3.0f, 1.0f), std::make_unique<CinShake>(0.1f, 0.3f, false));
    EXPECT_EQ(CountCinematicSteps(), 1u);

    int frames = 0;
    int lastShakeFrame = 0;
    while (CountCinematicSteps() > 0 && frames < 400) {
        const Vector3 before = GetCamera().GetPosition();
        Frame();
        ++frames;
        const Vector3 now = GetCamera().GetPosition();
        if (now != before) {
            lastShakeFrame = frames;
            EXPECT_LE(std::fabs(now.x - lirra.x), 0.1f + 1e-5f);
            EXPECT_LE(std::fabs(now.y - lirra.y), 0.1f + 1e-5f);
        }
        if (CountCinematicSteps() > 0) {
            EXPECT_TRUE(cinematicPlaying);
        }
    }
    EXPECT_NEAR(frames * kStep, 3.0f, 1.5f * kStep) << "the step lasts as long as its longest effect";
    EXPECT_NEAR(lastShakeFrame * kStep, 0.3f, 1.5f * kStep) << "the shake stops moving the camera";
    EXPECT_NEAR(GetCamera().GetZoom(), 1.0f - 0.1f * 3.0f, 0.1f * 2.0f * kStep);
    EXPECT_TRUE(cinematicPlaying) << "still set by the update that removed the step";
    Frame();
    EXPECT_FALSE(cinematicPlaying);
    EXPECT_FALSE(IsCinematicPlaying());
}

TEST_F(CinematicsTest, StepsQueuedInOneFrameRunOneAfterTheOther) {
    GetCamera().SetZoom(2.0f);
    auto firstEffect = std::make_unique<CinZoom>(0.5f, 0.5f, 1.0f);
    auto* first = firstEffect.get();
    auto secondEffect = std::make_unique<CinZoom>(-0.5f, 0.5f, 1.0f);
    auto* second = secondEffect.get();
    PlayCinematic(1, std::move(firstEffect));
    PlayCinematic(1, std::move(secondEffect));
    EXPECT_FLOAT_EQ(second->zoom, 2.0f) << "a queued step is started at once";
    EXPECT_EQ(CountCinematicSteps(), 2u);

    int firstFrames = 0;
    while (CountCinematicSteps() == 2 && firstFrames < 100) {
        Frame();
        ++firstFrames;
        if (CountCinematicSteps() == 2) {
            EXPECT_EQ(second->elapsed, 0.0f) << "the second step waits for the first";
        }
    }
    EXPECT_NEAR(firstFrames * kStep, 0.5f, 1.5f * kStep);
    EXPECT_LT(GetCamera().GetZoom(), 2.0f);

    Frame();
    EXPECT_FLOAT_EQ(second->elapsed, GetDeltaTime()) << "the next step runs from the next frame";
    EXPECT_GT(GetCamera().GetZoom(), 2.0f) << "it zooms out from the zoom it started with";
}

TEST_F(CinematicsTest, ARampingShakeGrowsByTheStepUpToItsMagnitude) {
    auto shakeEffect = std::make_unique<CinShake>(0.05f, 1.0f, true);
    auto* shake = shakeEffect.get();
    EXPECT_EQ(shake->magnitude, 0.0f);
    EXPECT_EQ(shake->maxMagnitude, 0.05f);
    PlayCinematic(1, std::move(shakeEffect));
    Frame();
    EXPECT_NEAR(shake->magnitude, kStep, 1e-6f);
    Frame();
    EXPECT_NEAR(shake->magnitude, 2.0f * kStep, 1e-6f);
    for (int i = 0; i < 10; ++i) {
        Frame();
        EXPECT_LE(shake->magnitude, shake->maxMagnitude);
    }
    EXPECT_FLOAT_EQ(shake->magnitude, 0.05f);
}

TEST_F(CinematicsTest, TheShakeIsSeededFromTheGameClockSoReplaysShakeAlike) {
    const Vector3 lirra = GetPlayer().GetTransform().GetPosition();
    const float startTime = GetScaledTotalTime();
    std::srand(static_cast<unsigned int>(static_cast<int>(startTime)));
    const float a1 = DegToRad(static_cast<float>(std::rand() % 360));
    const float a2 = DegToRad(static_cast<float>(std::rand() % 360));
    std::srand(99);  // whatever drew from the generator before, the shake's own seed decides
    PlayCinematic(1, std::make_unique<CinShake>(0.2f, 1.0f, false));
    Frame();
    const Vector3 camera = GetCamera().GetPosition();
    EXPECT_NEAR(camera.x, lirra.x + std::cos(a1) * 0.2f, 1e-5f) << "x from the first draw";
    EXPECT_NEAR(camera.y, lirra.y + std::sin(a2) * 0.2f, 1e-5f) << "y from the second draw";
}

TEST_F(CinematicsTest, BarsOpenAroundTheViewCloseInAndFollowLirraInX) {
    GetCamera().SetPosition(Vector3(3.0f, 1.0f, 0.0f));
    GetCamera().UpdateMatrices();
    GetPlayer().GetTransform().SetPosition(3.0f, 1.0f, 0.0f);
    PlayCinematic(1, std::make_unique<CinLines>(GetCamera().GetPosition(), 13.0f, 1.3f, 1.0f, false));
    GameObject* lower = GetCinematicBar(0);
    GameObject* upper = GetCinematicBar(1);
    ASSERT_NE(lower, upper);
    EXPECT_EQ(lower->objectKind, KIND_CINEMATIC_BARS);
    EXPECT_TRUE(lower->IsActive());
    EXPECT_TRUE(upper->IsActive());
    EXPECT_FLOAT_EQ(lower->GetTransform().scale.x, 40.0f);
    EXPECT_FLOAT_EQ(lower->GetTransform().scale.y, 10.0f);
    EXPECT_NEAR(lower->GetTransform().position.x, 3.0f, 0.1f);
    EXPECT_NEAR(lower->GetTransform().position.y, 1.0f - 13.0f, 0.15f);
    EXPECT_NEAR(upper->GetTransform().position.y, 1.0f + 13.0f, 0.15f);
    EXPECT_EQ(lower->GetTransform().position.z, 0.0f);

    const float lowerY = lower->GetTransform().position.y;
    const float upperY = upper->GetTransform().position.y;
    const float barX = lower->GetTransform().position.x;
    Frame();
    EXPECT_NEAR(lower->GetTransform().position.y, lowerY + 1.3f * kStep, 1e-4f) << "the lower bar rises";
    EXPECT_NEAR(upper->GetTransform().position.y, upperY - 1.3f * kStep, 1e-4f) << "the upper bar descends";
    EXPECT_EQ(lower->GetTransform().position.z, 100.0f);
    EXPECT_EQ(upper->GetTransform().position.z, 100.0f);

    GetPlayer().GetTransform().Translate(2.5f, 4.0f, 0.0f);
    Frame();
    EXPECT_NEAR(lower->GetTransform().position.x, barX + 2.5f, 1e-4f);
    EXPECT_NEAR(upper->GetTransform().position.x, barX + 2.5f, 1e-4f);
    EXPECT_NEAR(lower->GetTransform().position.y, lowerY + 2.0f * 1.3f * kStep, 1e-4f) << "only x follows";
}

TEST_F(CinematicsTest, ALeavingStepMovesTheBarsThatAreThereAndHidesThemAtItsEnd) {
    PlayCinematic(1, std::make_unique<CinLines>(GetCamera().GetPosition(), 13.0f, 1.3f, 0.1f, false));
    GameObject* lower = GetCinematicBar(0);
    while (CountCinematicSteps() > 0) {
        Frame();
    }
    const float lowerY = lower->GetTransform().position.y;
    PlayCinematic(1, std::make_unique<CinLines>(Vector3(50.0f, 50.0f, 0.0f), 5.0f, -1.3f, 0.5f, true));
    EXPECT_FLOAT_EQ(lower->GetTransform().position.y, lowerY) << "a leaving step does not place the bars";
    Frame();
    EXPECT_LT(lower->GetTransform().position.y, lowerY) << "and moves them apart";
    EXPECT_TRUE(lower->IsActive());
    while (CountCinematicSteps() > 0) {
        Frame();
    }
    EXPECT_FALSE(GetCinematicBar(0)->IsActive());
    EXPECT_FALSE(GetCinematicBar(1)->IsActive());

    // Lirra moving no longer drags hidden bars.
    const float hiddenX = lower->GetTransform().position.x;
    GetPlayer().GetTransform().Translate(3.0f, 0.0f, 0.0f);
    Frame();
    EXPECT_EQ(lower->GetTransform().position.x, hiddenX);
}

TEST_F(CinematicsTest, TheEndingKeepsItsBarsAfterALeavingStep) {
    SetState(std::make_unique<EmptyState>(STATE_LEVEL_END));
    PlayCinematic(1, std::make_unique<CinLines>(GetCamera().GetPosition(), 11.0f, 1.3f, 0.05f, false));
    PlayCinematic(1, std::make_unique<CinLines>(GetCamera().GetPosition(), 11.0f, -1.3f, 0.05f, true));
    for (int i = 0; i < 20 && CountCinematicSteps() > 0; ++i) {
        Frame();
    }
    EXPECT_EQ(CountCinematicSteps(), 0u);
    EXPECT_TRUE(GetCinematicBar(0)->IsActive());
    EXPECT_TRUE(GetCinematicBar(1)->IsActive());
}

TEST_F(CinematicsTest, TheQueueKeepsPlayingAcrossAStateChange) {
    SetState(std::make_unique<EmptyState>(STATE_LEVEL_1));
    auto zoomEffect = std::make_unique<CinZoom>(0.1f, 1.0f, 1.0f);
    auto* zoom = zoomEffect.get();
    PlayCinematic(1, std::move(zoomEffect));
    RunPlayingFrames(3);
    const float before = zoom->elapsed;
    EXPECT_GT(before, 0.0f);
    SetState(std::make_unique<EmptyState>(STATE_LEVEL_2));
    RunPlayingFrames(3);
    ASSERT_EQ(GetCurrentState()->GetId(), STATE_LEVEL_2);
    EXPECT_EQ(CountCinematicSteps(), 1u);
    EXPECT_GT(zoom->elapsed, before);
    EXPECT_TRUE(cinematicPlaying);
}

TEST_F(CinematicsTest, EveryEffectOfAStepIsUpdatedEachFrameEvenWhenFinished) {
    // A leaving step that has ended keeps hiding its bars while a longer zoom still plays.
    PlayCinematic(1, std::make_unique<CinLines>(GetCamera().GetPosition(), 13.0f, 1.3f, 0.05f, false));
    while (CountCinematicSteps() > 0) {
        Frame();
    }
    auto linesEffect = std::make_unique<CinLines>(GetCamera().GetPosition(), 13.0f, -1.3f, 0.05f, true);
    auto* lines = linesEffect.get();
    PlayCinematic(std::make_unique<CinZoom>(0.1f, 0.5f, 1.0f), std::move(linesEffect));
    for (int i = 0; i < 10; ++i) {
        Frame();
    }
    EXPECT_FALSE(GetCinematicBar(0)->IsActive());
    GetCinematicBar(0)->SetActive(true);
    Frame();
    EXPECT_FALSE(GetCinematicBar(0)->IsActive()) << "the finished effect was updated again";
    EXPECT_NEAR(lines->elapsed, 11.0f * kStep, 1e-4f);
    EXPECT_EQ(CountCinematicSteps(), 1u);
}

TEST_F(CinematicsTest, TheTraceTellsWhetherAStepIsPlaying) {
    EXPECT_NE(BuildTraceLine(1).find("\"cinematic\": false"), std::string::npos);
    PlayCinematic(1, std::make_unique<CinShake>(0.075f, 0.3f, false));
    Frame();
    EXPECT_NE(BuildTraceLine(2).find("\"cinematic\": true"), std::string::npos);
}

TEST_F(CinematicsTest, AMiscountedCallStillPlaysEveryEffectItPassed) {
    auto zoomEffect = std::make_unique<CinZoom>(0.1f, 0.2f, 1.0f);
    auto* zoom = zoomEffect.get();
    auto shakeEffect = std::make_unique<CinShake>(0.1f, 0.4f, false);
    auto* shake = shakeEffect.get();
    testing::internal::CaptureStdout();
    PlayCinematic(1, std::move(zoomEffect), std::move(shakeEffect));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "PlayCinematic: 1 effects announced, 2 given; playing the 2 given\n");
    Frame();
    EXPECT_GT(shake->elapsed, 0.0f);
    const int frames = 1 + [] {
        int n = 0;
        while (CountCinematicSteps() > 0 && n < 100) {
            Frame();
            ++n;
        }
        return n;
    }();
    EXPECT_NEAR(frames * kStep, 0.4f, 1.5f * kStep);
}
