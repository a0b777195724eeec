// The loading screen: its read-out, its countdown and the hand-over, at a fixed step and in real time.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <chrono>
#include <memory>
#include <vector>

#include "audio/Audio.h"
#include "frontend/GameStateManager.h"
#include "frontend/StateFactory.h"
#include "frontend/StateLoading.h"
#include "frontend/StateManager.h"
#include "graphics/Mesh.h"
#include "graphics/Texture.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "resources/GameDirectory.h"
#include "resources/ResourceLoader.h"
#include "resources/SoundLoad.h"
#include "support/TestGame.h"

namespace {

constexpr double kTestStep = 1.0 / 60.0;

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A loading screen made current the way the game's entry does it, counting its onLoaded calls.
StateLoading* StartLoadingScreen(int* loadedCalls) {
    EndTestStates();
    auto made = std::make_unique<StateLoading>();
    StateLoading* loading = made.get();
    loading->onLoaded = [loadedCalls] { ++*loadedCalls; };
    SetState(std::move(made));
    return loading;
}

bool SplashExists() {
    return std::unique_ptr<State>(CreateState(NextStateAfterLoading())) != nullptr;
}

class LoadingScreen : public testing::Test {
protected:
    void SetUp() override {
        StartTestGame();
        game.Enter();
    }
    void TearDown() override {
        EndTestStates();
        SetFixedStep(kTestStep);
        GameDirectory::Leave();
    }

    GameDirectory game;
};

}  // namespace

TEST_F(LoadingScreen, FixedStepCountsOnAScheduleThenLoadsTexturesAndHandsOver) {
    int loadedCalls = 0;
    testing::internal::CaptureStdout();
    StateLoading* loading = StartLoadingScreen(&loadedCalls);

    std::vector<int> shown;
    int frames = 0;
    while (!loading->IsLoaded() && frames < 400) {
        RunFrames(1);
        shown.push_back(loading->GetShownPercent());
        ++frames;
    }
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(loading->IsLoaded());
    EXPECT_EQ(loadedCalls, 1);

    // Each sound takes its fixed frames; then the countdown runs three seconds of 1/60 s steps.
    const int scheduled = kSoundCount * kFramesPerSoundAtFixedStep;
    for (int frame = 0; frame < scheduled; ++frame) {
        const int sounds = frame / kFramesPerSoundAtFixedStep;
        const int expected = sounds == 0 ? 0 : static_cast<int>(SoundLoadProgress(sounds - 1));
        ASSERT_EQ(shown[frame], expected) << "frame " << frame;
    }
    EXPECT_EQ(shown[4], 14);
    EXPECT_EQ(shown[24], 85);
    EXPECT_EQ(shown[scheduled], 70);
    for (int frame = scheduled + 1; frame < frames; ++frame) {
        EXPECT_GE(shown[frame], shown[frame - 1]) << "frame " << frame;
    }
    EXPECT_GE(frames - scheduled, 180);
    EXPECT_LE(frames - scheduled, 182);
    EXPECT_GE(shown.back(), 99);
    EXPECT_EQ(loading->GetProgressText(), "Loading Progress: " + std::to_string(shown.back()) + " %");

    // Sounds came first, on the worker, then every texture on the main thread.
    size_t lastSound = 0;
    for (int id = 0; id < kSoundCount; ++id) {
        lastSound = printed.find("Audio loaded: " + GetResources().GetSoundPath(id) + "\n");
        EXPECT_NE(lastSound, std::string::npos) << GetResources().GetSoundPath(id);
    }
    const size_t firstTexture = printed.find("Texture Loaded: Textures/Lirra/Lirra_Attack.png\n");
    EXPECT_NE(firstTexture, std::string::npos);
    EXPECT_GT(firstTexture, lastSound);
    ASSERT_NE(GetResources().LookupSound(MENU_BGM), nullptr);
    ASSERT_NE(GetResources().LookupTexture(TextureId::ButtonFrame), nullptr);
    EXPECT_STREQ(GetResources().LookupTexture(TextureId::ButtonFrame)->GetPath(), "Textures/UI/button_boarder.png");
    ASSERT_NE(GetResources().LookupMesh(QUAD), nullptr);

    RunFrames(1);
    if (SplashExists()) {
        ASSERT_NE(GetCurrentState(), nullptr);
        EXPECT_EQ(GetCurrentState()->GetId(), NextStateAfterLoading());
    } else {
        // Until the splash exists the screen stays, at 100 %, and loads nothing twice.
        EXPECT_EQ(GetCurrentState(), loading);
        RunFrames(5);
        EXPECT_EQ(loading->GetShownPercent(), 100);
        EXPECT_EQ(loadedCalls, 1);
    }
}

TEST_F(LoadingScreen, IgnoresTheGlobalKeys) {
    int loadedCalls = 0;
    testing::internal::CaptureStdout();
    StateLoading* loading = StartLoadingScreen(&loadedCalls);
    const bool wasFullscreen = IsFullscreen();
    for (const int key : {GLFW_KEY_F5, GLFW_KEY_GRAVE_ACCENT, GLFW_KEY_ESCAPE}) {
        KeyCallback(GetWindow(), key, 0, GLFW_PRESS, 0);
        RunFrames(1);
        KeyCallback(GetWindow(), key, 0, GLFW_RELEASE, 0);
        RunFrames(1);
    }
    RunFrames(30);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(GetCurrentState(), loading);
    EXPECT_FALSE(loading->IsConsoleOpen());
    EXPECT_FALSE(GetGameStateManager().IsMenuOpen());
    EXPECT_EQ(IsFullscreen(), wasFullscreen);
}

TEST_F(LoadingScreen, InRealTimeLeavesNoSoonerThanThreeSecondsAfterTheLastSound) {
    // A frame with no state first, so the clock's first measured step is a real frame's.
    EndTestStates();
    SetFixedStep(0.0);
    RunFrames(2);
    int loadedCalls = 0;
    testing::internal::CaptureStdout();
    StateLoading* loading = StartLoadingScreen(&loadedCalls);

    std::vector<int> shown;
    double allSoundsIn = 0.0;
    double left = 0.0;
    const double start = WallSeconds();
    while (!loading->IsLoaded() && WallSeconds() - start < 20.0) {
        RunFrames(1);
        shown.push_back(loading->GetShownPercent());
        if (allSoundsIn == 0.0 && GetLoadProgress() >= 100.0f) {
            allSoundsIn = WallSeconds();
        }
    }
    left = WallSeconds();
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(loading->IsLoaded());
    ASSERT_GT(allSoundsIn, 0.0);
    // The countdown's first step is the frame before it, so it may count one frame early.
    EXPECT_GE(left - allSoundsIn, 3.0 - 2.0 * GetFramePeriod());
    EXPECT_EQ(loadedCalls, 1);

    // The read-out only takes the values of the sounds, then 70 and up; it falls back once.
    int drops = 0;
    for (size_t i = 1; i < shown.size(); ++i) {
        if (shown[i] < shown[i - 1]) {
            ++drops;
            EXPECT_EQ(shown[i], 70);
        }
    }
    EXPECT_LE(drops, 1);
    for (const int value : shown) {
        const bool soundValue =
            value == 0 || value == 14 || value == 28 || value == 42 || value == 57 || value == 71 || value == 85;
        EXPECT_TRUE(soundValue || (value >= 70 && value <= 100)) << value;
    }
}
