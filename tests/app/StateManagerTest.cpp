#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/GameStateManager.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "graphics/Camera.h"
#include "platform/Window.h"
#include "support/TestGame.h"

namespace {

std::vector<std::string> journal;

// A screen that writes every call of its life cycle to the journal.
class JournalState : public State {
public:
    JournalState(StateId id, const char* tag_) : State(id), tag(tag_) {}
    ~JournalState() override { journal.push_back(tag + " deleted"); }

    void Load() override {
        journal.push_back(tag + " load");
        ++loads;
    }
    void Update() override { journal.push_back(tag + " update"); }
    void Render() override {}
    void Unload() override { journal.push_back(tag + " unload"); }

    std::string tag;
    int loads = 0;
    int keptAcrossRestart = 0;
};

class StateManagerTest : public testing::Test {
protected:
    void SetUp() override {
        StartTestGame();
        EndTestStates();
        journal.clear();
    }
    void TearDown() override { EndTestStates(); }
};

}  // namespace

TEST_F(StateManagerTest, TheFirstStateLoadsAtOnceAndSilently) {
    testing::internal::CaptureStdout();
    auto* first = SetNewState<JournalState>(STATE_LEVEL_1, "one");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(GetCurrentState(), first);
    EXPECT_EQ(journal, (std::vector<std::string>{"one load"}));
}

TEST_F(StateManagerTest, AChangeHappensAtTheStartOfTheNextFrameAndIsPrinted) {
    SetState(std::make_unique<JournalState>(STATE_LEVEL_1, "one"));
    auto* second = SetNewState<JournalState>(STATE_LEVEL_2, "two");
    EXPECT_NE(GetCurrentState(), second);
    journal.clear();
    testing::internal::CaptureStdout();
    ApplyPendingState();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Changed [State Level 1] to [State Level 2]\n");
    EXPECT_EQ(GetCurrentState(), second);
    EXPECT_EQ(journal, (std::vector<std::string>{"one unload", "one deleted", "two load"}));
}

TEST_F(StateManagerTest, ASecondRequestInOneFrameReplacesTheFirst) {
    SetState(std::make_unique<JournalState>(STATE_LEVEL_1, "one"));
    SetState(std::make_unique<JournalState>(STATE_LEVEL_2, "two"));
    journal.clear();
    auto* three = SetNewState<JournalState>(STATE_LEVEL_3, "three");
    EXPECT_EQ(journal, (std::vector<std::string>{"two unload", "two deleted"}))
        << "the replaced request is unloaded without ever loading";
    ApplyPendingState();
    EXPECT_EQ(GetCurrentState(), three);
}

TEST_F(StateManagerTest, RestartKeepsTheSameObjectAndWhatLoadDoesNotReset) {
    auto* state = SetNewState<JournalState>(STATE_BOSS, "boss");
    state->keptAcrossRestart = 7;
    GetCamera().SetZoom(0.5f);
    journal.clear();
    RestartState();
    EXPECT_EQ(GetCurrentState(), state);
    EXPECT_EQ(state->loads, 2);
    EXPECT_EQ(state->keptAcrossRestart, 7);
    EXPECT_EQ(journal, (std::vector<std::string>{"boss unload", "boss load"}));
    EXPECT_FLOAT_EQ(GetCamera().GetZoom(), 1.0f) << "a restart resets the camera";
}

TEST_F(StateManagerTest, RequestingNoStateIsIgnored) {
    auto* state = SetNewState<JournalState>(STATE_LEVEL_1, "one");
    SetState(nullptr);
    EXPECT_FALSE(HasPendingState());
    ApplyPendingState();
    EXPECT_EQ(GetCurrentState(), state);
}

TEST_F(StateManagerTest, ARequestResetsTheCameraBeforeTheSwitch) {
    SetState(std::make_unique<JournalState>(STATE_LEVEL_1, "one"));
    GetCamera().SetZoom(3.0f);
    GetCamera().SetPosition(Vector3(5, 2, 0));
    SetState(std::make_unique<JournalState>(STATE_LEVEL_2, "two"));
    EXPECT_FLOAT_EQ(GetCamera().GetZoom(), 1.0f);
    EXPECT_TRUE(GetCamera().GetPosition() == Vector3(0, 0, 0));
}

TEST_F(StateManagerTest, ShutdownUnloadsCurrentThenPending) {
    SetState(std::make_unique<JournalState>(STATE_LEVEL_1, "one"));
    SetState(std::make_unique<JournalState>(STATE_LEVEL_2, "two"));
    journal.clear();
    ShutdownStates();
    EXPECT_EQ(GetCurrentState(), nullptr);
    EXPECT_EQ(journal, (std::vector<std::string>{"one unload", "one deleted", "two unload", "two deleted"}));
}

TEST_F(StateManagerTest, TheMainLoopRunsTheStateEveryFrame) {
    SetState(std::make_unique<JournalState>(STATE_LEVEL_1, "one"));
    journal.clear();
    RunFrames(3);
    EXPECT_EQ(journal, (std::vector<std::string>{"one update", "one update", "one update"}));
}

TEST(StateNames, EveryIdHasItsName) {
    EXPECT_STREQ(GetStateName(STATE_LOADING), "Loading");
    EXPECT_STREQ(GetStateName(STATE_MAIN_MENU), "Main Menu");
    EXPECT_STREQ(GetStateName(STATE_OPTION), "Option");
    EXPECT_STREQ(GetStateName(STATE_LEVEL_END), "Level End");
    EXPECT_STREQ(GetStateName(STATE_UNKNOWN), "UNKNOWN");
    EXPECT_STREQ(GetStateName(STATE_LEVEL_END + 1), "UNKNOWN");
}

TEST_F(StateManagerTest, LosingFocusPausesAndOpensThePauseMenuOutsideLoadingAndSplash) {
    GameStateManager& menus = GetGameStateManager();
    SetState(std::make_unique<JournalState>(STATE_SPLASH, "splash"));
    WindowFocusChanged(false);
    EXPECT_FALSE(menus.IsMenuOpen()) << "the splash opens no menu";
    WindowFocusChanged(true);
    EndTestStates();

    SetState(std::make_unique<JournalState>(STATE_LEVEL_2, "two"));
    WindowFocusChanged(false);
    EXPECT_EQ(menus.GetCurrentId(), MENU_PAUSE);
    WindowFocusChanged(true);
    EXPECT_EQ(menus.GetCurrentId(), MENU_PAUSE) << "regaining focus leaves the menu open";
    menus.SwitchTo(MENU_NONE_PLAYING);
}
