#include "FrontendTesting.h"

#include <vector>

#include "frontend/GOButton.h"
#include "graphics/Renderer.h"
#include "resources/ResourceLoader.h"

namespace {

class TransitionTest : public FrontendTest {
protected:
    void SetUp() override {
        FrontendTest::SetUp();
        SetState(std::make_unique<BareState>());
        // Quarter-second frames add up exactly, so the ends of a slide land on whole frames.
        UseFrameStep(0.25);
    }

    GOTransitionScreen* Slide(int from, int to) {
        GOTransitionScreen* screen = GetScene().GetTransitionScreen();
        screen->SetFrom(from);
        screen->SetTo(to);
        screen->SetActive(true);
        return screen;
    }

    static float X(const GOTransitionScreen* screen) { return screen->GetTransform().GetPosition().x; }
};

TEST_F(TransitionTest, ACoveringSlideIsHalfWayAtHalfTimeAndRunsItsActionOnArrival) {
    GOTransitionScreen* screen = Slide(SIDE_OFF_LEFT, SIDE_COVERING);
    int calls = 0;
    screen->SetOnFinished([&](GOTransitionScreen* finished) {
        EXPECT_EQ(finished, screen);
        ++calls;
    });
    EXPECT_FLOAT_EQ(X(screen), -512.0f) << "placed on its starting side at once";
    EXPECT_EQ(GetPlayer().state, PLAYER_FROZEN) << "Lirra waits while the screen moves";

    Frames(2);
    EXPECT_FLOAT_EQ(screen->GetElapsed(), 0.5f);
    EXPECT_FLOAT_EQ(X(screen), 0.0f);
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(transitionActive);

    Frames(2);
    EXPECT_FLOAT_EQ(X(screen), 512.0f);
    EXPECT_FLOAT_EQ(screen->GetTransform().GetPosition().z, 100.0f);
    EXPECT_EQ(calls, 1) << "the action runs on the frame the slide ends";
    EXPECT_EQ(GetPlayer().state, PLAYER_IDLE);
    EXPECT_TRUE(transitionActive) << "a screen that ends covering keeps the flag";

    // An action that leaves the screen up is called again, and the screen holds its place.
    Frames(4);
    EXPECT_EQ(calls, 5);
    EXPECT_FLOAT_EQ(X(screen), 512.0f);
}

TEST_F(TransitionTest, OnlyASlideThatEndsOffToTheLeftClearsTheFlag) {
    GOTransitionScreen* uncover = Slide(SIDE_COVERING, SIDE_OFF_LEFT);
    Frames(3);
    EXPECT_TRUE(transitionActive);
    Frames(1);
    EXPECT_FLOAT_EQ(X(uncover), -512.0f);
    EXPECT_FALSE(transitionActive);

    uncover->SetActive(false);
    GOTransitionScreen* right = Slide(SIDE_COVERING, SIDE_OFF_RIGHT);
    Frames(4);
    EXPECT_FLOAT_EQ(X(right), 1536.0f);
    EXPECT_TRUE(transitionActive);
}

TEST_F(TransitionTest, AScreenSwitchedOffBeforeItsSlideEndsClearsTheFlag) {
    GOTransitionScreen* cover = Slide(SIDE_OFF_LEFT, SIDE_COVERING);
    Frames(2);
    EXPECT_TRUE(transitionActive);
    GetScene().DeactivateAll();
    EXPECT_FALSE(transitionActive) << "a state change took the screen away mid-slide";
    Frames(1);
    EXPECT_FALSE(cover->IsActive());
    EXPECT_FALSE(transitionActive);
}

TEST_F(TransitionTest, AnUnknownSideRecordsTheChoiceOnly) {
    GOTransitionScreen* screen = GetScene().GetTransitionScreen();
    screen->GetTransform().SetPosition(Vector3(7.0f, 8.0f, 9.0f));
    screen->SetFrom(5);
    EXPECT_EQ(screen->GetFromSide(), 5);
    EXPECT_EQ(screen->GetFrom(), Vector3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(screen->GetTransform().GetPosition(), Vector3(7.0f, 8.0f, 9.0f));
    screen->SetTo(SIDE_OFF_RIGHT);
    screen->SetTo(-1);
    EXPECT_EQ(screen->GetToSide(), -1);
    EXPECT_EQ(screen->GetTo(), Vector3(1536.0f, 360.0f, 100.0f)) << "the last real side is kept";
}

TEST_F(TransitionTest, AScreenHandedOutAgainStartsAfresh) {
    GOTransitionScreen* first = Slide(SIDE_OFF_LEFT, SIDE_COVERING);
    first->SetOnFinished([](GOTransitionScreen* done) { done->SetActive(false); });
    Frames(5);
    EXPECT_FALSE(first->IsActive());
    // The pool hands out its free screens in pool order: take them until the old one comes back.
    std::vector<GOTransitionScreen*> taken;
    GOTransitionScreen* again = GetScene().GetTransitionScreen();
    while (again != first && taken.size() < 20) {
        again->SetActive(true);
        taken.push_back(again);
        again = GetScene().GetTransitionScreen();
    }
    ASSERT_EQ(again, first) << "the pool recycles it";
    for (GOTransitionScreen* screen : taken) {
        screen->SetActive(false);
    }
    EXPECT_FLOAT_EQ(again->GetElapsed(), 0.0f);
    EXPECT_EQ(again->GetTransform().GetScale(), Vector3(1024.0f, 720.0f, 1.0f));
    EXPECT_FLOAT_EQ(again->GetRenderer()->GetAlpha(), 1.0f);
    EXPECT_EQ(again->GetRenderer()->GetMesh(), GetResources().LookupMesh(BLACK_QUAD));
}

TEST_F(FrontendTest, AButtonRunsItsActionOnlyWhenPressed) {
    GOButton* button = GetScene().GetButton();
    button->Click(true);  // no action yet: nothing happens
    int clicks = 0;
    button->SetOnClick([&](GOButton* clicked) {
        EXPECT_EQ(clicked, button);
        ++clicks;
    });
    button->Click(false);
    EXPECT_EQ(clicks, 0);
    button->Click(true);
    EXPECT_EQ(clicks, 1);

    button->Init();
    EXPECT_FALSE(button->HasAction()) << "a hand-out forgets the last owner's action";
    EXPECT_EQ(button->objectKind, KIND_BUTTON);
    EXPECT_FALSE(button->GetRenderer()->GetIgnoreDepth());
}

TEST_F(FrontendTest, AButtonWhoseActionRecyclesItStillFinishesTheClick) {
    GOButton* button = GetScene().GetButton();
    int clicks = 0;
    button->SetOnClick([&](GOButton* clicked) {
        clicked->Init();  // what a menu switch does to the buttons it takes down and puts up
        ++clicks;
    });
    button->Click(true);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
