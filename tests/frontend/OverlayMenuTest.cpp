#include "FrontendTesting.h"

#include "frontend/GOButton.h"
#include "frontend/StateLoading.h"
#include "frontend/StateMainMenu.h"
#include "frontend/StateSplash.h"
#include "graphics/Renderer.h"
#include "resources/SoundLoad.h"

namespace {

class OverlayMenuTest : public FrontendTest {
protected:
    ButtonMenu* Menu() const { return dynamic_cast<ButtonMenu*>(GetGameStateManager().GetCurrent()); }
    GOButton* Button(int index) const { return Menu()->GetButton(index); }
    static Vector3 At(const GameObject* object) { return object->GetTransform().GetPosition(); }
    static Vector3 Size(const GameObject* object) { return object->GetTransform().GetScale(); }

    void OpenPause() {
        Tap(GLFW_KEY_ESCAPE);
        ASSERT_EQ(MenuId(), MENU_PAUSE);
    }
    void Choose(int index) {
        while (Selected() != index) {
            Tap(GLFW_KEY_DOWN);
        }
        Tap(GLFW_KEY_ENTER);
    }
};

TEST_F(OverlayMenuTest, EscapeOpensThePauseMenuAndClosesAnyMenuToTheOverlayOfTheState) {
    SetState(std::make_unique<BareState>(STATE_LEVEL_2));
    Frames(1);
    OpenPause();
    EXPECT_FLOAT_EQ(GetMasterVolume(), 0.3f);
    EXPECT_EQ(Selected(), 0);
    Tap(GLFW_KEY_ESCAPE);
    EXPECT_EQ(MenuId(), MENU_NONE_PLAYING) << "in a level, closing returns to the playing overlay";
    EXPECT_FLOAT_EQ(GetMasterVolume(), 1.0f);

    // From the options menu Escape closes everything, not back to the pause menu.
    OpenPause();
    Choose(2);
    ASSERT_EQ(MenuId(), MENU_OPTIONS);
    Tap(GLFW_KEY_ESCAPE);
    EXPECT_EQ(MenuId(), MENU_NONE_PLAYING);
    EXPECT_FALSE(GetGameStateManager().IsMenuOpen());
}

TEST_F(OverlayMenuTest, ResumeReturnsToTheMainMenuOverlayInTheMainMenuAndToPlayingInALevel) {
    SetState(std::make_unique<BareState>(STATE_MAIN_MENU));
    Frames(1);
    OpenPause();
    Tap(GLFW_KEY_ENTER);
    EXPECT_EQ(MenuId(), MENU_NONE_MAIN_MENU);
    EXPECT_FLOAT_EQ(GetMasterVolume(), 1.0f);

    EndTestStates();
    SetState(std::make_unique<BareState>(STATE_LEVEL_3));
    Frames(1);
    OpenPause();
    Tap(GLFW_KEY_ENTER);
    EXPECT_EQ(MenuId(), MENU_NONE_PLAYING);
}

TEST_F(OverlayMenuTest, TheSelectionWrapsAroundEachMenuAndTheFrameFollowsIt) {
    SetState(std::make_unique<BareState>());
    Frames(1);
    OpenPause();
    Tap(GLFW_KEY_UP);
    EXPECT_EQ(Selected(), 4) << "up from Resume is Quit";
    EXPECT_EQ(At(Menu()->GetFrame()), At(Button(4)));
    Tap(GLFW_KEY_DOWN);
    EXPECT_EQ(Selected(), 0) << "down from Quit is Resume";
    EXPECT_EQ(At(Menu()->GetFrame()), At(Button(0)));

    Choose(2);
    ASSERT_EQ(MenuId(), MENU_OPTIONS);
    EXPECT_EQ(Selected(), 0);
    Tap(GLFW_KEY_UP);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(At(Menu()->GetFrame()), Vector3(512.0f, 220.0f, 96.0f)) << "the frame takes the button's depth too";
    Tap(GLFW_KEY_ENTER);
    ASSERT_EQ(MenuId(), MENU_PAUSE) << "Back";
    EXPECT_EQ(Selected(), 0) << "the pause menu starts on Resume again";

    Choose(4);
    ASSERT_EQ(MenuId(), MENU_QUIT);
    Tap(GLFW_KEY_UP);
    EXPECT_EQ(Selected(), 1) << "up from Confirm is Back";
    Tap(GLFW_KEY_DOWN);
    EXPECT_EQ(Selected(), 0);
    Tap(GLFW_KEY_UP);
    Tap(GLFW_KEY_ENTER);
    EXPECT_EQ(MenuId(), MENU_PAUSE);
    EXPECT_TRUE(IsWindowOpen());
}

TEST_F(OverlayMenuTest, EachMenuPutsUpItsButtonsFrameAndPanelWhereTheyBelong) {
    SetState(std::make_unique<BareState>());
    Frames(1);
    OpenPause();
    const std::vector<GameObject*>& pause = Menu()->GetItems();
    ASSERT_EQ(pause.size(), 7u);
    const Vector3 expected[] = {
        {359.5f, 395.0f, 92.0f}, {664.5f, 395.0f, 92.0f}, {359.5f, 300.0f, 92.0f}, {664.5f, 300.0f, 92.0f},
        {512.0f, 205.0f, 92.0f}, {359.5f, 395.0f, 92.0f}, {512.0f, 360.0f, 90.0f},
    };
    for (size_t i = 0; i < pause.size(); ++i) {
        EXPECT_EQ(At(pause[i]), expected[i]) << "pause item " << i;
        EXPECT_TRUE(pause[i]->IsActive());
    }
    ASSERT_TRUE(HasTextures()) << "the generated textures are not in the data directory";
    // The button files are 240 x 256: pixel-perfect sizing and x300 / x100 make them 240 x 60.
    EXPECT_NEAR(Size(pause[0]).x, 240.0f, 0.5f);
    EXPECT_NEAR(Size(pause[0]).y, 60.0f, 0.5f);
    EXPECT_NEAR(Size(pause[6]).x, 818.0f, 1.0f);
    EXPECT_NEAR(Size(pause[6]).y, 575.0f, 1.0f);
    Frames(1);
    EXPECT_EQ(GetScene().GetButtonList().size(), 7u) << "drawn with the button list";

    Choose(2);
    const std::vector<GameObject*>& options = Menu()->GetItems();
    ASSERT_EQ(options.size(), 5u);
    EXPECT_EQ(At(options[0]), Vector3(512.0f, 420.0f, 96.0f));
    EXPECT_EQ(At(options[1]), Vector3(512.0f, 320.0f, 92.0f));
    EXPECT_EQ(At(options[2]), Vector3(512.0f, 220.0f, 96.0f));
    EXPECT_EQ(At(options[3]), Vector3(512.0f, 420.0f, 92.0f)) << "the frame starts on the first button, at 92";
    Frames(1);
    EXPECT_EQ(GetScene().GetButtonList().size(), 5u) << "the pause menu's objects went back to the pool";

    Tap(GLFW_KEY_UP);
    Tap(GLFW_KEY_ENTER);
    Choose(4);
    const std::vector<GameObject*>& quit = Menu()->GetItems();
    ASSERT_EQ(quit.size(), 4u);
    EXPECT_EQ(At(quit[0]), Vector3(512.0f, 370.0f, 92.0f));
    EXPECT_EQ(At(quit[1]), Vector3(512.0f, 270.0f, 92.0f));

    Tap(GLFW_KEY_ESCAPE);
    Frames(1);
    EXPECT_TRUE(GetScene().GetButtonList().empty());
}

TEST_F(OverlayMenuTest, APictureOverThePauseMenuIsClosedByEnterAlone) {
    SetState(std::make_unique<BareState>());
    Frames(1);
    OpenPause();
    Choose(1);
    ASSERT_TRUE(popupOpen);
    ASSERT_NE(popupPanel, nullptr);
    GameObject* controls = popupPanel;
    EXPECT_EQ(At(controls), Vector3(512.0f, 360.0f, 96.0f));

    Tap(GLFW_KEY_DOWN);
    EXPECT_EQ(Selected(), 1) << "the selection holds while the picture is up";
    Tap(GLFW_KEY_ENTER);
    EXPECT_FALSE(popupOpen);
    EXPECT_FALSE(controls->IsActive());
    EXPECT_EQ(MenuId(), MENU_PAUSE) << "only the picture closed";

    Choose(3);
    ASSERT_TRUE(popupOpen);
    GameObject* credits = popupPanel;
    Tap(GLFW_KEY_ESCAPE);
    EXPECT_FALSE(credits->IsActive()) << "closing the menu takes the picture down too";
    EXPECT_FALSE(popupOpen);
}

TEST_F(OverlayMenuTest, MuteTogglesTheSoundAndConfirmEndsTheGame) {
    SetState(std::make_unique<BareState>());
    Frames(1);
    OpenPause();
    Choose(2);
    Choose(1);
    EXPECT_TRUE(menuMuted);
    EXPECT_TRUE(IsMuted());
    Tap(GLFW_KEY_ENTER);
    EXPECT_FALSE(menuMuted);
    EXPECT_FALSE(IsMuted());

    Choose(2);
    Choose(4);
    ASSERT_EQ(MenuId(), MENU_QUIT);
    Tap(GLFW_KEY_ENTER);
    EXPECT_FALSE(IsWindowOpen()) << "the main loop ends after this frame";
    glfwSetWindowShouldClose(GetWindow(), GLFW_FALSE);
}

TEST_F(OverlayMenuTest, ThePauseMenuFreezesTheSceneWhileQueuedObjectsStillAppear) {
    SetState(std::make_unique<BareState>());
    Player& lirra = GetPlayer();
    lirra.Init();
    lirra.SetActive(true);
    lirra.GetTransform().SetPosition(Vector3(0.0f, 20.0f, 0.0f));
    Frames(5);
    const float falling = LirraY();
    ASSERT_LT(falling, 20.0f) << "she falls while nothing is open";

    OpenPause();
    const float paused = LirraY();
    GameObject* late = GetScene().GetGameObject(KIND_UNKNOWN);
    late->SetActive(true);
    Frames(10);
    EXPECT_FLOAT_EQ(LirraY(), paused);
    const auto& world = GetScene().GetWorldList();
    EXPECT_NE(std::find(world.begin(), world.end(), late), world.end());

    Tap(GLFW_KEY_ESCAPE);
    Frames(2);
    EXPECT_LT(LirraY(), paused);
}

TEST_F(OverlayMenuTest, EscapeDoesNothingToTheMenusOnTheLoadingScreenAndSkipsTheSplash) {
    SetState(std::make_unique<StateLoading>());
    Frames(1);
    Tap(GLFW_KEY_ESCAPE);
    EXPECT_EQ(MenuId(), MENU_NONE_MAIN_MENU);
    EXPECT_STREQ(StateName(), "Loading");
    WaitForSoundLoad();

    EndTestStates();
    SetState(std::make_unique<StateSplash>());
    Frames(2);
    Tap(GLFW_KEY_ESCAPE);
    EXPECT_EQ(MenuId(), MENU_NONE_MAIN_MENU);
    EXPECT_STREQ(StateName(), "Main Menu") << "on the splash Escape skips to the main menu";
}

TEST_F(OverlayMenuTest, LosingFocusPausesTheGameExceptOnTheLoadingScreenAndTheSplash) {
    SetState(std::make_unique<StateSplash>());
    Frames(1);
    WindowFocusChanged(false);
    EXPECT_TRUE(IsAudioPaused());
    EXPECT_EQ(MenuId(), MENU_NONE_MAIN_MENU);
    WindowFocusChanged(true);
    EXPECT_FALSE(IsAudioPaused());

    EndTestStates();
    SetState(std::make_unique<BareState>());
    Frames(1);
    WindowFocusChanged(false);
    EXPECT_EQ(MenuId(), MENU_PAUSE);
    EXPECT_FLOAT_EQ(GetMasterVolume(), 0.3f);
    EXPECT_TRUE(IsAudioPaused());
    WindowFocusChanged(true);
    EXPECT_FALSE(IsAudioPaused());
    EXPECT_EQ(MenuId(), MENU_PAUSE) << "the menu stays open when focus returns";

    Tap(GLFW_KEY_DOWN);
    WindowFocusChanged(false);
    EXPECT_EQ(Selected(), 1) << "an open menu is not opened again";
}

TEST_F(FrontendTest, TheManagerIgnoresTheUnsetAndUnknownIds) {
    GameStateManager& menus = GetGameStateManager();
    for (const int id : {5, -1, 9}) {
        menus.SwitchTo(id);
        EXPECT_EQ(menus.GetCurrentId(), MENU_NONE_MAIN_MENU);
    }
    for (int id = 0; id < kMenuCount; ++id) {
        EXPECT_EQ(menus.GetMenu(id)->GetId(), id);
    }
    EXPECT_EQ(menus.GetSelected(), -1);
}

}  // namespace
