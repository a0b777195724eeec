// The real window and clock under what a desktop does to a game: a window shrunk to one pixel,
// minimised and restored, stretched over a 4K screen, the focus taken away in every screen, and
// a frame that stalls for two seconds while Lirra stands in level 1.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "actors/Player.h"
#include "audio/Audio.h"
#include "automation/Screenshot.h"
#include "faults/FaultRun.h"
#include "frontend/GameStateManager.h"
#include "frontend/State.h"
#include "frontend/StateFactory.h"
#include "frontend/StateLoading.h"
#include "frontend/StateManager.h"
#include "physics/Rigidbody.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "resources/SoundLoad.h"
#include "scene/SceneManager.h"
#include "scene/SceneTesting.h"
#include "support/TestGame.h"

namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 180;

class WindowFaultTest : public testing::Test {
protected:
    void SetUp() override {
        StartTestGame(kWidth, kHeight);
        LoadGameAssets();
        ResetTestGame();
        GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    void TearDown() override {
        ResizeWindow(kWidth, kHeight);
        ResetTestGame();
    }

    void Start(int stateId) {
        SetState(CreateState(stateId));
        RunFrames(2);
    }
    // Runs frames until Lirra stands still on the ground; false if she does not within `limit`.
    bool Settle(int limit = 600) {
        for (int i = 0; i < limit; ++i) {
            if (Standing()) {
                RunFrames(30);  // the landing's last bounce
                return Standing();
            }
            RunFrames(1);
        }
        return Standing();
    }
    bool Standing() const {
        const Rigidbody* body = GetPlayer().GetComponent<Rigidbody>();
        return !body->airborne && std::fabs(body->velocity.x) < 0.2f;
    }
    float LirraY() const { return GetPlayer().GetTransform().GetPosition().y; }
    int StateIdNow() const { return GetCurrentState() != nullptr ? GetCurrentState()->GetId() : STATE_UNKNOWN; }

    // Asks the window system for a new size and lets the game's event poll see the answer.
    static void ResizeWindow(int width, int height) {
        glfwSetWindowSize(GetWindow(), width, height);
        for (int i = 0; i < 20 && (GetWindowWidth() != width || GetWindowHeight() != height); ++i) {
            glfwWaitEventsTimeout(0.05);
        }
    }
    // Calls the window's own framebuffer-size handler, as GLFW does for a minimised window.
    static void ReportFramebufferSize(int width, int height) {
        GLFWframebuffersizefun handler = glfwSetFramebufferSizeCallback(GetWindow(), nullptr);
        glfwSetFramebufferSizeCallback(GetWindow(), handler);
        handler(GetWindow(), width, height);
    }
    static GLenum FirstGlError() {
        const GLenum error = glGetError();
        while (glGetError() != GL_NO_ERROR) {
        }
        return error;
    }
};

// The level's picture, read back after a frame: how many distinct colours it holds.
size_t CountColours(int width, int height) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<unsigned int> colours;
    for (size_t i = 0; i < pixels.size(); i += 4 * 7) {
        colours.push_back(pixels[i] << 16 | pixels[i + 1] << 8 | pixels[i + 2]);
    }
    std::sort(colours.begin(), colours.end());
    return static_cast<size_t>(std::unique(colours.begin(), colours.end()) - colours.begin());
}

TEST_F(WindowFaultTest, ATinyAMinimisedAndAHugeWindowLeaveTheLevelPlaying) {
    Start(STATE_LEVEL_1);
    ASSERT_TRUE(Settle());
    const float standingY = LirraY();
    bool survived = true;

    struct Size {
        const char* name;
        int width;
        int height;
        bool minimised;
    };
    const Size sizes[] = {
        {"window 1 x 1", 1, 1, false},
        {"window minimised (0 x 0)", 0, 0, true},
        {"window 3840 x 2160", 3840, 2160, false},
    };
    for (const Size& size : sizes) {
        if (size.minimised) {
            glfwIconifyWindow(GetWindow());
            ReportFramebufferSize(0, 0);
        } else {
            ResizeWindow(size.width, size.height);
            EXPECT_EQ(GetWindowWidth(), size.width) << size.name;
            EXPECT_EQ(GetWindowHeight(), size.height) << size.name;
        }
        // A few frames: at 4K the software renderer takes a good part of a second for each.
        RunFrames(size.width > 1000 ? 4 : 30);
        const GLenum error = FirstGlError();
        EXPECT_EQ(error, static_cast<GLenum>(GL_NO_ERROR)) << size.name;
        EXPECT_EQ(StateIdNow(), STATE_LEVEL_1) << size.name;
        EXPECT_NEAR(LirraY(), standingY, 0.01f) << size.name << ": she stays on the ground";

        // Back to the usual window: the level draws its whole picture again.
        if (size.minimised) {
            glfwRestoreWindow(GetWindow());
            ReportFramebufferSize(kWidth, kHeight);
        }
        ResizeWindow(kWidth, kHeight);
        RunFrames(3);
        const size_t colours = CountColours(kWidth, kHeight);
        EXPECT_GT(colours, 20u) << size.name << ": the forest is drawn again after it";
        const bool ok = error == GL_NO_ERROR && StateIdNow() == STATE_LEVEL_1 &&
                        std::fabs(LirraY() - standingY) < 0.01f && colours > 20u;
        CountFault(size.name, ok);
        survived = survived && ok;
    }
    if (const char* folder = std::getenv("LIRRA_FAULT_PICTURES")) {
        SaveScreenshot(std::string(folder) + "/after-window-faults.png");
    }
    EXPECT_TRUE(survived);
}

TEST_F(WindowFaultTest, LosingTheFocusInEveryScreenPausesAndRegainingItResumes) {
    const int screens[] = {STATE_LOADING, STATE_SPLASH,  STATE_MAIN_MENU, STATE_EDITOR,   STATE_LEVEL_1,
                           STATE_LEVEL_2, STATE_LEVEL_3, STATE_BOSS,      STATE_LEVEL_END};
    for (const int screen : screens) {
        EndTestStates();
        EmptyTheScene();
        GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);
        SetMasterVolume(1.0f);
        if (screen == STATE_LOADING) {
            SetState(std::make_unique<StateLoading>());
            RunFrames(2);
        } else {
            Start(screen);
        }
        const char* name = GetStateName(screen);
        ASSERT_EQ(StateIdNow(), screen) << name;
        const bool pauses = screen != STATE_LOADING && screen != STATE_SPLASH;

        WindowFocusChanged(false);
        RunFrames(20);
        const bool pausedOnLoss = IsAudioPaused();
        const bool menuOnLoss = GetGameStateManager().GetCurrentId() == MENU_PAUSE;
        EXPECT_TRUE(pausedOnLoss) << name << ": the sounds stop";
        EXPECT_EQ(menuOnLoss, pauses) << name << ": the pause menu opens outside loading and the splash";
        if (pauses) {
            EXPECT_FLOAT_EQ(GetMasterVolume(), 0.3f) << name;
        }

        WindowFocusChanged(true);
        RunFrames(20);
        const bool resumed = !IsAudioPaused();
        EXPECT_TRUE(resumed) << name << ": the sounds go on";
        EXPECT_EQ(GetGameStateManager().GetCurrentId() == MENU_PAUSE, pauses) << name << ": the menu stays open";
        if (screen == STATE_LOADING) {
            WaitForSoundLoad();
        }
        const bool stillThere = screen == STATE_LOADING || screen == STATE_SPLASH || StateIdNow() == screen;
        EXPECT_TRUE(stillThere) << name << " is still the screen";
        EXPECT_EQ(FirstGlError(), static_cast<GLenum>(GL_NO_ERROR)) << name;
        CountFault(std::string("focus lost and regained in ") + name,
                   pausedOnLoss && menuOnLoss == pauses && resumed && stillThere);
    }
}

TEST_F(WindowFaultTest, ATwoSecondStallInRealTimeKeepsLirraOnTheFloor) {
    Start(STATE_LEVEL_1);
    ASSERT_TRUE(Settle());
    const float standingY = LirraY();

    // Real time around the stall alone: the stalled frame's step is the wall time since the frame
    // before. The frames after it keep the fixed step, so what follows depends on the stall and
    // not on how busy the machine is.
    SetFixedStep(0.0);
    RunFrames(1);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    RunFrames(1);
    SetFixedStep(1.0 / 60.0);
    const float stalledStep = GetDeltaTime() / GetTimeScale();
    EXPECT_LE(stalledStep, 0.1f + 1e-4f) << "the clock clamps the stalled frame";
    EXPECT_GT(stalledStep, 0.09f);
    RunFrames(30);

    const bool onFloor = Standing() && std::fabs(LirraY() - standingY) < 0.01f && StateIdNow() == STATE_LEVEL_1;
    EXPECT_NEAR(LirraY(), standingY, 0.01f) << "she is still on the floor";
    EXPECT_TRUE(Standing());
    EXPECT_EQ(StateIdNow(), STATE_LEVEL_1) << "no fall out of the level restarted it";
    CountFault("a frame stalled for 2 s", onFloor);
}

TEST(NoMonitorFaultTest, WithNoMonitorTheGameSaysSoAndPlaysOnInItsWindow) {
    const DataCopy data;
    const std::string input = MakeTempDir("no-monitor") + "/full-screen.txt";
    WriteFile(input, "240 key F5 press\n241 key F5 release\n");
    const GameRun run = RunGameOn(data, 280, "--start 'Main Menu' --input '" + input + "'",
                                  std::string("'") + LIRRA_SCREEN_OFF_PATH + "'");
    const bool said = run.output.find("No monitor or video mode: no monitor is connected") != std::string::npos;
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(said) << run.output;
    EXPECT_NE(run.output.find("[Fullscreen: 1]: not available"), std::string::npos) << "F5 with nothing to cover";
    EXPECT_EQ(DescribeScreens(run.screens), "Loading -> Main Menu");
    CountFault("no monitor connected", said && run.status == 0);
}

}  // namespace
