#include "FrontendTesting.h"

#include <unistd.h>

#include "actors/GOGranny.h"
#include "actors/GOSignpost.h"
#include "frontend/StateMainMenu.h"
#include "frontend/StateSplash.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Camera.h"
#include "graphics/Renderer.h"
#include "graphics/TextRenderer.h"
#include "levels/GOTile.h"
#include "platform/FrameClock.h"
#include "resources/ResourceLoader.h"

namespace {

class SplashTest : public FrontendTest {};

TEST_F(SplashTest, TheLogoFadesInAndOutOverSixSecondsThenTheMainMenuFollows) {
    StateSplash* splash = SetNewState<StateSplash>();
    EXPECT_FALSE(IsBloomEnabled());
    EXPECT_FLOAT_EQ(GetExposure(), 0.5f);
    EXPECT_FLOAT_EQ(GetGamma(), 0.7f);
    const Renderer* logo = splash->GetLogo()->GetComponent<Renderer>();
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(splash->GetLogo()->objectKind, KIND_LOGO);
    EXPECT_FLOAT_EQ(logo->GetAlpha(), 0.0f);

    Frames(90);  // 1.5 s in (the first frame's step is a full one here)
    EXPECT_NEAR(logo->GetAlpha(), 0.5f, 0.02f);
    Frames(90);
    EXPECT_NEAR(logo->GetAlpha(), 1.0f, 0.02f);
    Frames(150);
    EXPECT_NEAR(logo->GetAlpha(), 1.0f / 6.0f, 0.02f);
    EXPECT_STREQ(StateName(), "Splash");
    ASSERT_TRUE(Until([] { return std::string(StateName()) == "Main Menu"; }, 40));
}

TEST_F(SplashTest, EachSkipKeyLeavesAtOnce) {
    for (const int key :
         {GLFW_MOUSE_BUTTON_LEFT, GLFW_MOUSE_BUTTON_RIGHT, GLFW_KEY_SPACE, GLFW_KEY_ENTER, GLFW_KEY_KP_ENTER}) {
        EndTestStates();
        ResetInput();
        SetState(std::make_unique<StateSplash>());
        Frames(1);
        if (key <= GLFW_MOUSE_BUTTON_LAST) {
            MouseButtonCallback(GetWindow(), key, GLFW_PRESS, 0);
            Frames(1);
            MouseButtonCallback(GetWindow(), key, GLFW_RELEASE, 0);
            Frames(1);
        } else {
            Tap(key);
        }
        EXPECT_STREQ(StateName(), "Main Menu") << "key " << key;
        EXPECT_EQ(MenuId(), MENU_NONE_MAIN_MENU);
    }
}

class MainMenuTest : public FrontendTest {
protected:
    void SetUp() override {
        FrontendTest::SetUp();
        menu = Enter<StateMainMenu>();
    }
    StateMainMenu* menu = nullptr;
};

TEST_F(MainMenuTest, TheSceneStandsEveryoneInPlaceUnderAStillCamera) {
    EXPECT_FALSE(menu->tiles.empty()) << "mainmenu.env is in the data directory";
    ASSERT_NE(menu->granny, nullptr);
    ASSERT_NE(menu->signpost, nullptr);
    EXPECT_EQ(menu->granny->GetTransform().GetPosition(), kMenuDiredAt);
    EXPECT_EQ(menu->granny->target, STATE_MAIN_MENU);
    EXPECT_EQ(menu->signpost->GetTransform().GetPosition(), kMenuSignpostAt);
    EXPECT_EQ(menu->signpost->target, STATE_MAIN_MENU);
    EXPECT_EQ(GetCamera().GetPosition(), kMenuCameraAt);
    EXPECT_FLOAT_EQ(GetCamera().GetZoom(), 0.9f);
    EXPECT_TRUE(IsBloomEnabled());
    EXPECT_FLOAT_EQ(GetBloomIntensity(), 1.0f);
    ASSERT_NE(leftKeyHint, nullptr);
    EXPECT_EQ(leftKeyHint->GetTransform().GetPosition(), Vector3(-1.0f, 2.5f, 0.0f));
    EXPECT_EQ(rightKeyHint->GetTransform().GetPosition(), Vector3(1.0f, 2.5f, 0.0f));
    EXPECT_EQ(menu->GetTitle()->GetTransform().GetPosition(), Vector3(512.0f, 580.0f, 0.0f));

    Frames(120);
    EXPECT_NEAR(LirraY(), 1.95f, 0.05f) << "Lirra lands on the grass at y = 0.5";
    EXPECT_NEAR(LirraX(), 0.0f, 0.01f);
    EXPECT_EQ(GetCamera().GetPosition(), kMenuCameraAt) << "the camera never moves";
}

TEST_F(MainMenuTest, WallsKeepLirraInsideTheView) {
    Frames(30);
    Press(GLFW_KEY_LEFT);
    Frames(400);
    Release(GLFW_KEY_LEFT);
    EXPECT_GT(LirraX(), -8.4f);
    EXPECT_LT(LirraX(), -7.0f);
    EXPECT_NEAR(LirraY(), 1.95f, 0.05f);
    Press(GLFW_KEY_RIGHT);
    Frames(500);
    Release(GLFW_KEY_RIGHT);
    EXPECT_LT(LirraX(), 9.6f);
    EXPECT_GT(LirraX(), 8.5f);
    EXPECT_NEAR(LirraY(), 1.95f, 0.05f) << "no pit anywhere";
}

TEST_F(MainMenuTest, TheKeyHintsGoForGoodAtTheFirstArrowPressButNotDuringAPause) {
    Frames(2);
    GameObject* left = leftKeyHint;
    GameObject* right = rightKeyHint;
    Tap(GLFW_KEY_ESCAPE);
    Tap(GLFW_KEY_LEFT);
    EXPECT_TRUE(left->IsActive()) << "the menu's update does nothing while a menu is open";
    Tap(GLFW_KEY_ESCAPE);
    Tap(GLFW_KEY_RIGHT);
    EXPECT_FALSE(left->IsActive());
    EXPECT_FALSE(right->IsActive());
    EXPECT_EQ(leftKeyHint, nullptr);
    EXPECT_EQ(rightKeyHint, nullptr);
}

TEST_F(MainMenuTest, ComingBackAgainAndAgainMakesNoNewPromptsOrKeyHints) {
    Frames(2);
    RestartState();
    Frames(2);
    const size_t objects = GetScene().CountObjects();
    for (int visit = 0; visit < 8; ++visit) {
        RestartState();
        Frames(2);
        if (visit % 2 == 0) {
            Tap(GLFW_KEY_RIGHT);  // the key hints go before the menu does
        }
    }
    EXPECT_EQ(GetScene().CountObjects(), objects);
    ASSERT_NE(leftKeyHint, nullptr);
    EXPECT_TRUE(leftKeyHint->IsActive());
    EXPECT_EQ(leftKeyHint->objectKind, KIND_INTERACT_POPUP);
}

TEST_F(MainMenuTest, TheTitlePulsesWithASixSecondPeriod) {
    const UIRenderer* title = menu->GetTitle()->GetComponent<UIRenderer>();
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(menu->GetTitle()->objectKind, KIND_TITLE);
    Frames(180);
    EXPECT_NEAR(title->GetAlpha(), 1.0f, 0.02f);
    Frames(180);
    EXPECT_NEAR(title->GetAlpha(), 0.0f, 0.02f);
    Frames(90);
    EXPECT_NEAR(title->GetAlpha(), 0.5f, 0.02f);
}

TEST_F(MainMenuTest, TheLabelsStandOnDiredsLineAndHideUnderAMenuOrATransition) {
    Frames(1);
    TextRenderer& text = GetTextRenderer();
    auto labels = [&] {
        int count = 0;
        text.ClearQueue();
        menu->Render();
        for (const TextItem& item : text.GetQueue()) {
            if (item.text == "DIRED" || item.text == "CREDITS") {
                EXPECT_TRUE(item.zoomScaled);
                ++count;
            }
        }
        text.ClearQueue();
        return count;
    };
    text.ClearQueue();
    menu->Render();
    ASSERT_EQ(text.GetQueue().size(), 2u);
    const TextItem dired = text.GetQueue()[0];
    const TextItem credits = text.GetQueue()[1];
    text.ClearQueue();
    const Vector3 diredAt = GetCamera().WorldToScreen(Vector3(-6.5f, 2.0f - 2.32f, 8.0f));
    const Vector3 creditsAt = GetCamera().WorldToScreen(Vector3(6.8f, 2.0f - 2.32f, 8.0f));
    EXPECT_EQ(dired.text, "DIRED");
    EXPECT_NEAR(dired.position.x, diredAt.x, 0.01f);
    EXPECT_NEAR(dired.position.y, diredAt.y, 0.01f);
    EXPECT_EQ(credits.text, "CREDITS");
    EXPECT_NEAR(credits.position.x, creditsAt.x, 0.01f);
    EXPECT_NEAR(credits.position.y, diredAt.y, 0.01f) << "at Dired's height, not the signpost's";

    GetGameStateManager().SwitchTo(MENU_PAUSE);
    EXPECT_EQ(labels(), 0);
    GetGameStateManager().SwitchTo(MENU_NONE_MAIN_MENU);
    transitionActive = true;
    EXPECT_EQ(labels(), 0);
    transitionActive = false;
    EXPECT_EQ(labels(), 2);
}

TEST_F(MainMenuTest, LeavingClearsParticlesPutsLirraAwayAndStopsTheSound) {
    Frames(2);
    if (IsAudioRunning() && GetResources().LookupSound(MENU_BGM) != nullptr) {
        EXPECT_GT(CountBusyVoices(), 0) << "the menu tune plays";
    }
    GetParticleSystem().AddEmitter(ParticleSystem::MakeEmitter(EMITTER_PLAYER_DUST));
    ASSERT_GT(GetParticleSystem().CountEmitters(), 0u);
    SetState(std::make_unique<BareState>());
    Frames(2);
    EXPECT_EQ(CountBusyVoices(), 0);
    EXPECT_EQ(GetParticleSystem().CountEmitters(), 0u);
    EXPECT_FALSE(GetPlayer().IsActive());
    EXPECT_EQ(leftKeyHint, nullptr);
}

TEST_F(MainMenuTest, AMissingSceneFileLeavesAnEmptyButWorkingMenu) {
    EndTestStates();
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
    ASSERT_EQ(chdir(MakeTempDir("frontend-nomenu").c_str()), 0);
    testing::internal::CaptureStdout();
    StateMainMenu* bare =
        SetNewState<StateMainMenu>();  // the first state loads at once, while the directory has no scene file
    const std::string output = testing::internal::GetCapturedStdout();
    ASSERT_EQ(chdir(here), 0);
    EXPECT_NE(output.find("Failed to load main menu!!\n"), std::string::npos);
    EXPECT_TRUE(bare->tiles.empty());
    EXPECT_NE(bare->granny, nullptr);
    Frames(3);
    EXPECT_STREQ(StateName(), "Main Menu");
}

}  // namespace
