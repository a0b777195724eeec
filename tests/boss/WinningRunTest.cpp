// A whole playthrough of the last two states: the fight is won with Lirra's own strikes, the
// ending plays itself out once she has walked home, and the game is back at the main menu.
#include <algorithm>
#include <cmath>
#include <string>

#include "boss/BossTesting.h"
#include "graphics/TextRenderer.h"
#include "levels/Dialogue.h"

#if defined(LIRRA_BOSS_HAS_PIECES) && __has_include("frontend/GOTransitionScreen.h")
#include "frontend/GOTransitionScreen.h"

namespace {

std::string StateOfPiece(const GOEnemy* piece) {
    return piece->stateMachine->GetCurrentName();
}

// A piece Lirra can strike now: a hand resting or winding up on the floor, or the fallen head.
const GOEnemy* TargetOnTheFloor(const Boss& boss) {
    const GOEnemy* head = boss.head.piece;
    if (StateOfPiece(head) == "FALL_BH" && head->GetTransform().GetPosition().y <= boss.head.lowPoint.y + 0.01f) {
        return head;
    }
    for (const HandController* hand : {&boss.leftHand, &boss.rightHand}) {
        const std::string state = StateOfPiece(hand->hand);
        const bool grounded = hand->hand->GetTransform().GetPosition().y < -16.5f;
        const bool open = (state == "SWEEP_BL" || state == "SWEEP_BR" || state == "IDLE_BL" || state == "IDLE_BR") &&
                          hand->waitTimer > 0.5f;
        if (grounded && open && hand->hand->health > 0) {
            return hand->hand;
        }
    }
    return nullptr;
}

}  // namespace

class WinningRunTest : public BossTest {
protected:
    // Lirra is kept from harm (the run checks the story, not her dodging): she is placed beside
    // whatever lies open on the floor and strikes it with the light attack key.
    void FightFrame(int frame) {
        Player& lirra = GetPlayer();
        lirra.invulnerable = true;
        lirra.invulnerableTimer = 100.0f;
        lirra.health = 100.0f;
        const GOEnemy* target = TargetOnTheFloor(GetBoss());
        if (target == nullptr) {
            HoldLirraAt(0.0f, -17.0f);
            Release(GLFW_KEY_Q);
            Frame();
            return;
        }
        const float x = target->GetTransform().GetPosition().x + (target->enemyKind == 3 ? -0.6f : 0.0f);
        const float side = x > 0.0f ? -1.0f : 1.0f;
        HoldLirraAt(x + side * 1.2f, -17.0f);
        lirra.facingRight = side < 0.0f ? 1 : 0;
        if (frame % 12 == 0) {
            Press(GLFW_KEY_Q);
        } else if (frame % 12 == 1) {
            Release(GLFW_KEY_Q);
        }
        Frame();
    }
};

TEST_F(WinningRunTest, TheFightIsWonAndTheEndingLeadsBackToTheMainMenu) {
    StateLevelBoss* level = StartBossLevel();
    const Boss& boss = GetBoss();
    int frame = 0;
    int lowestPhaseSeen = BOSS_APPEARING;
    bool headDropped = false;
    while (boss.GetPhase() != BOSS_DEFEATED && frame < 400 * kFramesPerSecond) {
        FightFrame(frame++);
        lowestPhaseSeen = std::max(lowestPhaseSeen, boss.GetPhase());
        headDropped |= boss.head.IsDown();
    }
    ASSERT_EQ(boss.GetPhase(), BOSS_DEFEATED) << "health left " << boss.GetHealth();
    EXPECT_TRUE(headDropped);
    EXPECT_TRUE(level->script.phase2Shown);
    EXPECT_TRUE(level->script.phase3Shown);
    Release(GLFW_KEY_Q);
    std::printf("fight won after %.1f s\n", frame / 60.0f);

    // Rovevoz falls, speaks and the picture washes out; the ending follows by itself.
    int outroFrames = 0;
    while ((GetCurrentState() == nullptr || GetCurrentState()->GetId() == STATE_BOSS) &&
           outroFrames < 60 * kFramesPerSecond) {
        GetPlayer().invulnerable = true;
        Frame();
        ++outroFrames;
    }
    ASSERT_EQ(GetCurrentState()->GetId(), STATE_LEVEL_END);
    EXPECT_TRUE(GetPlayer().souls.empty());
    auto* ending = static_cast<StateEnd*>(GetCurrentState());

    // Home: Lirra walks left once she may, and the script takes over at the garden.
    Press(GLFW_KEY_LEFT);
    int endingFrames = 0;
    int step = ending->step;
    while (GetCurrentState()->GetId() == STATE_LEVEL_END && endingFrames < 240 * kFramesPerSecond) {
        Frame();
        ++endingFrames;
        // The frame that leaves the ending has freed it.
        if (GetCurrentState()->GetId() != STATE_LEVEL_END) {
            break;
        }
        step = ending->step;
        if (step >= 7) {
            Release(GLFW_KEY_LEFT);
        }
    }
    ASSERT_EQ(GetCurrentState()->GetId(), STATE_MAIN_MENU) << "ending stopped at step " << step;
    std::printf("ending played for %.1f s\n", endingFrames / 60.0f);

    // A black screen slides away to the left over the main menu.
    const GOTransitionScreen* screen = nullptr;
    for (const GOTransitionScreen* candidate : GetScene().GetTransitionPool().GetObjects()) {
        screen = candidate->IsActive() ? candidate : screen;
    }
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(transitionActive);
    const float startX = screen->GetTransform().GetPosition().x;
    Frames(20);
    EXPECT_LT(screen->GetTransform().GetPosition().x, startX);
    Frames(60);
    EXPECT_FALSE(screen->IsActive());
    EXPECT_FALSE(transitionActive);

    // The labels of the main menu are back.
    TextRenderer& text = GetTextRenderer();
    text.ClearQueue();
    GetCurrentState()->Render();
    bool dired = false;
    bool credits = false;
    for (const TextItem& item : text.GetQueue()) {
        dired |= item.text == "DIRED";
        credits |= item.text == "CREDITS";
    }
    text.ClearQueue();
    EXPECT_TRUE(dired);
    EXPECT_TRUE(credits);
}

#endif
