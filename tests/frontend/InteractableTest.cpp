#include "FrontendTesting.h"

#include <cstring>

#include "actors/GOGranny.h"
#include "actors/GOMushroom.h"
#include "actors/GOSignpost.h"
#include "frontend/StateMainMenu.h"
#include "graphics/AnimationRenderer.h"
#include "physics/Collider.h"

namespace {

// The main menu with Lirra on the grass, and ways to walk her to its figures.
class InteractableTest : public FrontendTest {
protected:
    void SetUp() override {
        FrontendTest::SetUp();
        menu = Enter<StateMainMenu>();
        Frames(60);
    }
    void TearDown() override {
        Release(GLFW_KEY_E);
        Release(GLFW_KEY_LEFT);
        Release(GLFW_KEY_RIGHT);
        FrontendTest::TearDown();
    }

    // Walks until x passes `x` in the walking direction, then stops and settles.
    void WalkTo(float x) {
        const int key = x < LirraX() ? GLFW_KEY_LEFT : GLFW_KEY_RIGHT;
        const bool left = key == GLFW_KEY_LEFT;
        Press(key);
        ASSERT_TRUE(Until([&] { return left ? LirraX() <= x : LirraX() >= x; }, 600));
        Release(key);
        Frames(10);
    }

    static GOMushroom* ActivePortal() {
        for (GOInteractable* object : GetScene().GetInteractablePool().GetObjects()) {
            if (object->IsActive() && object->interactableType == INTERACTABLE_PORTAL) {
                return dynamic_cast<GOMushroom*>(object);
            }
        }
        return nullptr;
    }

    static int ActiveTransitionScreens() {
        int count = 0;
        for (const GOTransitionScreen* screen : GetScene().GetTransitionPool().GetObjects()) {
            count += screen->IsActive() ? 1 : 0;
        }
        return count;
    }

    StateMainMenu* menu = nullptr;
};

TEST_F(InteractableTest, DiredTalksOnceWithHerFiveLinesAndSummonsThePortal) {
    WalkTo(-4.0f);
    GOGranny* dired = menu->granny;
    ASSERT_TRUE(dired->playerInside);
    ASSERT_TRUE(dired->popup->IsActive()) << "the prompt shows while Lirra stands at her";
    EXPECT_FALSE(IsDialogueVisible());

    Press(GLFW_KEY_E);
    Frames(1);
    ASSERT_TRUE(dired->activated);
    ASSERT_TRUE(IsDialogueVisible());
    EXPECT_EQ(GetDialogue().name, "Dired");
    EXPECT_EQ(GetDialogue().text, "Oh hello dear, isn't it time to stop playing?");
    EXPECT_FLOAT_EQ(GetDialogue().size.x, 300.0f);
    EXPECT_FLOAT_EQ(GetDialogue().size.y, 150.0f);
    EXPECT_EQ(GetDialogue().follow, &dired->GetTransform().position);
    Frames(2);
    EXPECT_FALSE(dired->popup->IsActive()) << "a used object shows no prompt";

    // Holding E on keeps her where she is in the talk.
    Frames(60);
    EXPECT_EQ(GetDialogue().text, "Oh hello dear, isn't it time to stop playing?");
    Release(GLFW_KEY_E);

    ASSERT_TRUE(Until([] { return ActivePortal() != nullptr; }, 300));
    EXPECT_NEAR(dired->talkTime, 4.5f, 0.02f);
    GOMushroom* portal = ActivePortal();
    EXPECT_EQ(portal->target, STATE_MAIN_MENU);
    Frames(1);
    EXPECT_EQ(portal->GetTransform().GetPosition(), kDiredPortalPosition);
    EXPECT_TRUE(portal->fading);

    // Standing still through the rest of the talk: longer frames do no harm.
    UseFrameStep(0.05);
    std::vector<std::string> lines;
    testing::internal::CaptureStdout();
    const bool talkEnded = Until(
        [&] {
            if (IsDialogueVisible() && (lines.empty() || lines.back() != GetDialogue().text)) {
                lines.push_back(GetDialogue().text);
            }
            return !IsDialogueVisible();
        },
        1000);
    const std::string output = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(talkEnded);
    ASSERT_EQ(lines.size(), 4u) << "the four lines after the first";
    EXPECT_EQ(lines[0], "I need you to go somewhere special today, and get me Rovevoz's soul.");
    EXPECT_EQ(lines[3], "Hurry along now, don't be late for dinner!");
    size_t closes = 0;
    for (size_t at = output.find("Granny has been closed!"); at != std::string::npos;
         at = output.find("Granny has been closed!", at + 1)) {
        ++closes;
    }
    EXPECT_GE(closes, 4u);

    // A second go at her does nothing.
    Press(GLFW_KEY_E);
    Frames(5);
    EXPECT_FALSE(IsDialogueVisible());
    Release(GLFW_KEY_E);
}

TEST_F(InteractableTest, ThePortalFadesInOverSevenSecondsAndShowsItsPromptTwoUnitsAboveItsBox) {
    GOMushroom* portal = GetScene().GetInteractable<GOMushroom>(INTERACTABLE_PORTAL);
    ASSERT_NE(portal, nullptr);
    portal->SetTarget(STATE_MAIN_MENU);
    portal->SetActive(true);
    portal->GetTransform().SetPosition(Vector3(0.0f, 3.0f, 0.0f));
    const AnimationRenderer* animation = portal->GetComponent<AnimationRenderer>();
    EXPECT_FLOAT_EQ(animation->GetAlpha(), 0.0f);
    Frames(210);
    EXPECT_NEAR(animation->GetAlpha(), 0.35f, 0.01f);
    Frames(240);
    EXPECT_FALSE(portal->fading);
    EXPECT_NEAR(animation->GetAlpha(), 0.7f, 0.01f);

    ASSERT_TRUE(portal->playerInside) << "Lirra stands at x = 0";
    const Collider* box = portal->GetComponent<Collider>();
    EXPECT_FLOAT_EQ(box->box.height, 5.0f);
    ASSERT_TRUE(portal->popup->IsActive());
    EXPECT_FLOAT_EQ(portal->popup->GetTransform().GetPosition().y, 3.0f + 2.5f + 2.0f);

    // Back to the pool and out again: it fades in afresh.
    portal->SetActive(false);
    Frames(1);
    portal->SetTarget(STATE_LEVEL_1);
    EXPECT_FLOAT_EQ(portal->fadeValue, 0.0f);
    EXPECT_FLOAT_EQ(portal->GetComponent<AnimationRenderer>()->GetAlpha(), 0.0f);
}

TEST_F(InteractableTest, HoldingEInThePortalSlidesLirraIntoLevelOne) {
    GOMushroom* portal = GetScene().GetInteractable<GOMushroom>(INTERACTABLE_PORTAL);
    portal->SetTarget(STATE_MAIN_MENU);
    portal->SetActive(true);
    portal->GetTransform().SetPosition(Vector3(3.0f, 3.0f, 0.0f));
    Frames(2);
    Press(GLFW_KEY_E);
    Press(GLFW_KEY_RIGHT);
    ASSERT_TRUE(Until([&] { return portal->activated; }, 300));
    Release(GLFW_KEY_RIGHT);
    EXPECT_GT(LirraX(), 1.5f) << "used as soon as Lirra's box touches the portal's";
    Frames(2);
    EXPECT_TRUE(transitionActive);
    EXPECT_FALSE(portal->popup->IsActive()) << "the prompt does not come back after use";
    Release(GLFW_KEY_E);
    ASSERT_TRUE(Until([] { return std::strcmp(StateName(), "Level 1") == 0; }, 120));
    EXPECT_EQ(ActiveTransitionScreens(), 1) << "the second screen uncovers the level";
    ASSERT_TRUE(Until([] { return !transitionActive; }, 120));
    Frames(2);
    EXPECT_EQ(ActiveTransitionScreens(), 0);
    EXPECT_NE(GetPlayer().state, PLAYER_FROZEN);
}

TEST_F(InteractableTest, APortalThatLeadsNowhereCoversAndUncoversTheScreenOnce) {
    GOMushroom* portal = GetScene().GetInteractable<GOMushroom>(INTERACTABLE_PORTAL);
    const int noSuchState = 42;
    portal->SetTarget(noSuchState);
    portal->SetActive(true);
    portal->GetTransform().SetPosition(Vector3(0.0f, 3.0f, 0.0f));
    Frames(2);
    Press(GLFW_KEY_E);
    Frames(2);
    Release(GLFW_KEY_E);
    ASSERT_TRUE(portal->activated);
    Frames(150);
    EXPECT_STREQ(StateName(), "Main Menu");
    EXPECT_FALSE(transitionActive);
    EXPECT_EQ(ActiveTransitionScreens(), 0);
    EXPECT_LE(GetScene().GetTransitionPool().Size(), 10u) << "no screen is made every frame";
    EXPECT_EQ(GetPlayer().state, PLAYER_IDLE) << "Lirra is free again";
}

TEST_F(InteractableTest, TheSignpostNeedsAFreshPressAndOpensAgainAndAgain) {
    GOSignpost* signpost = menu->signpost;
    Press(GLFW_KEY_E);
    WalkTo(7.5f);
    ASSERT_TRUE(signpost->playerInside);
    EXPECT_FALSE(IsDialogueVisible()) << "walking in with E held opens nothing";
    Release(GLFW_KEY_E);
    Frames(1);

    Tap(GLFW_KEY_E);
    ASSERT_TRUE(IsDialogueVisible());
    EXPECT_EQ(GetDialogue().name, "Credits");
    EXPECT_EQ(GetDialogue().text, GetSignpostCredits());
    EXPECT_FLOAT_EQ(GetDialogue().autoClose, 3.0f) << "it closes by itself";
    EXPECT_FALSE(signpost->activated);
    EXPECT_TRUE(signpost->popup->IsActive()) << "the signpost keeps its prompt";
    Frames(30);
    const std::string typedSoFar = GetDialogue().shown;

    // Another press opens the panel afresh; the one showing finishes first.
    testing::internal::CaptureStdout();
    Tap(GLFW_KEY_E);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("Signpost has been closed!\n"), std::string::npos);
    ASSERT_TRUE(IsDialogueVisible());
    EXPECT_LT(GetDialogue().shown.size(), typedSoFar.size()) << "typing starts over";
}

TEST_F(FrontendTest, TheCreditsLinesAreCentredAndFillWholeRows) {
    EXPECT_EQ(CentreCreditsLine("ab").size(), kCreditsRowWidth);
    EXPECT_EQ(CentreCreditsLine("ab").find("ab"), (kCreditsVisibleWidth - 2) / 2);
    EXPECT_EQ(CentreCreditsLine(std::string(40, 'x')), std::string(29, 'x') + "   ");
    const std::string& credits = GetSignpostCredits();
    size_t start = 0;
    std::vector<std::string> rows;
    while (start <= credits.size()) {
        const size_t end = std::min(credits.find('\n', start), credits.size());
        rows.push_back(credits.substr(start, end - start));
        EXPECT_EQ(rows.back().size(), kCreditsRowWidth) << "row " << rows.size();
        start = end + 1;
    }
    ASSERT_GT(rows.size(), kCreditsRowsPerPage) << "two pages";
    for (size_t row = kCreditsRowsShown; row < kCreditsRowsPerPage; ++row) {
        EXPECT_EQ(rows[row], std::string(kCreditsRowWidth, ' ')) << "a row below the panel stays blank";
    }
    for (const char* needed : {"Lirra team", "All rights reserved", "GLFW", "GLEW", "glm", "SOIL", "FreeType",
                               "Dear ImGui", "OpenAL Soft", "libvorbis", "libogg", "libpng", "DotGothic16"}) {
        EXPECT_NE(credits.find(needed), std::string::npos) << needed;
    }
}

TEST_F(FrontendTest, ThePoolHandsOutEachKindAsItsOwnClass) {
    GOGranny* dired = GetScene().GetInteractable<GOGranny>(INTERACTABLE_DIRED);
    GOSignpost* signpost = GetScene().GetInteractable<GOSignpost>(INTERACTABLE_SIGNPOST);
    GOMushroom* portal = GetScene().GetInteractable<GOMushroom>(INTERACTABLE_PORTAL);
    ASSERT_NE(dired, nullptr);
    ASSERT_NE(signpost, nullptr);
    ASSERT_NE(portal, nullptr);
    EXPECT_EQ(dired->objectKind, KIND_INTERACTABLE);
    const GOGranny freshDired;
    const GOSignpost freshSignpost;
    const GOMushroom freshPortal;
    EXPECT_EQ(freshDired.GetTransform().GetScale(), Vector3(3.0f, 3.0f, 1.0f));
    EXPECT_EQ(freshSignpost.GetTransform().GetScale(), Vector3(2.0f, 5.0f, 1.0f));
    EXPECT_EQ(freshPortal.GetTransform().GetScale(), Vector3(1.0f, 4.0f, 1.0f));
    EXPECT_EQ(freshPortal.interactableType, INTERACTABLE_PORTAL);
    portal->SetTarget(STATE_LEVEL_2);
    EXPECT_EQ(portal->GetTransform().GetScale(), Vector3(2.0f, 5.0f, 1.0f));
    EXPECT_EQ(PortalDestination(3), STATE_LEVEL_1);
    EXPECT_EQ(PortalDestination(6), STATE_LEVEL_2);
    EXPECT_EQ(PortalDestination(7), STATE_LEVEL_3);
    EXPECT_EQ(PortalDestination(8), STATE_BOSS);
    EXPECT_EQ(PortalDestination(4), 0);

    // The prompt of a prop that only stands there never shows.
    signpost->SetTarget(kTargetNoPrompt);
    signpost->playerInside = true;
    signpost->SetActive(true);
    signpost->Render();
    EXPECT_FALSE(signpost->popup->IsActive());
    // A new prompt gives the old one back to the scene, which hands it out again: no object is made.
    GameObject* old = signpost->popup;
    const size_t objects = GetScene().CountObjects();
    signpost->SetTarget(STATE_MAIN_MENU);
    EXPECT_EQ(signpost->popup, old);
    EXPECT_EQ(old->objectKind, KIND_INTERACT_POPUP);
    EXPECT_EQ(GetScene().CountObjects(), objects);
}

}  // namespace
