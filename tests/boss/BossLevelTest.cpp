#include <string>

#include "actors/GOSoul.h"
#include "actors/GOWind.h"
#include "boss/BossTesting.h"
#include "graphics/Camera.h"
#include "graphics/PostProcess.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "physics/Rigidbody.h"

namespace {

void GiveSouls(int count) {
    Player& lirra = GetPlayer();
    for (int i = 0; i < count; ++i) {
        GOSoul* soul = GetScene().GetSoul();
        soul->GetTransform().SetPosition(lirra.GetTransform().GetPosition());
        soul->SetKind(false, kSoulPurple);
        soul->SetActive(true);
        lirra.souls.push_back(soul);
    }
    lirra.RelinkSouls();
}

}  // namespace

TEST_F(BossTest, TheArenaLoadsWithLirraAboveTheFloorBetweenTwoUpdrafts) {
    StateLevelBoss* level = StartBossLevel();
    EXPECT_FALSE(level->tiles.empty());
    ASSERT_EQ(level->winds.size(), 2u);
    EXPECT_TRUE(level->winds[0]->BlowsNorth());
    EXPECT_EQ(level->winds[0]->GetTransform().GetPosition(), Vector3(8.0f, -8.5f, 3.0f));
    EXPECT_EQ(level->winds[1]->GetTransform().GetPosition(), Vector3(-8.0f, -8.5f, 3.0f));
    EXPECT_FLOAT_EQ(GetGamma(), 0.7f);
    Seconds(1.5f);
    // She lands on the arena floor, whose top is at y = -18.5.
    const Rigidbody* body = GetPlayer().GetComponent<Rigidbody>();
    EXPECT_FALSE(body->airborne);
    EXPECT_NEAR(GetPlayer().GetTransform().GetPosition().y - 1.45f, -18.5f, 0.05f);
    EXPECT_NEAR(GetPlayer().GetTransform().GetPosition().x, 0.0f, 0.01f);
}

TEST_F(BossTest, LirraOpensTheFightWithHerGreeting) {
    StartBossLevel();
    Frame();
    ASSERT_TRUE(IsDialogueVisible());
    EXPECT_EQ(GetDialogue().name, "Lirra");
    EXPECT_EQ(GetDialogue().text, "Oh hello! Could you be...      Rovevoz?");
    EXPECT_TRUE(BossLevel()->script.introShown);
}

TEST_F(BossTest, AfterADeathTheFightRestartsInPlaceWithHerGreetingAndNothingPiledUp) {
    StateLevelBoss* level = StartBossLevel();
    Frame();
    const size_t tiles = level->tiles.size();
    CloseDialogue();
    Player& lirra = GetPlayer();
    lirra.invulnerable = false;
    lirra.Damage(200, false);
    ASSERT_EQ(lirra.state, PLAYER_DYING);
    for (int i = 0; i < 5 * kFramesPerSecond && lirra.state == PLAYER_DYING; ++i) {
        Frame();
    }
    Frame();
    ASSERT_EQ(BossLevel(), level) << "a death restarts the fight in place";
    EXPECT_EQ(level->tiles.size(), tiles);
    EXPECT_EQ(level->winds.size(), 2u);
    ASSERT_TRUE(IsDialogueVisible()) << "the fight starts silent";
    EXPECT_EQ(GetDialogue().text, "Oh hello! Could you be...      Rovevoz?");
}

TEST_F(BossTest, LeavingTheBossLevelEmptiesTheSoulChain) {
    StartBossLevel();
    Frame();
    GiveSouls(3);
    ASSERT_EQ(savedSoulKinds.size(), 3u);
    GetPlayer().GetTransform().SetPosition(0.0f, -26.0f, 0.0f);
    Frames(2);
    ASSERT_NE(BossLevel(), nullptr);
    EXPECT_TRUE(GetPlayer().souls.empty());
    EXPECT_TRUE(savedSoulKinds.empty());
    // A fresh fight: the boss fades in again from full health.
    EXPECT_EQ(GetBoss().GetPhase(), BOSS_APPEARING);
    EXPECT_EQ(GetBoss().GetHealth(), 2500);

    GiveSouls(2);
    SetState(CreateState(STATE_LEVEL_END));
    Frames(2);
    EXPECT_TRUE(GetPlayer().souls.empty());
    EXPECT_TRUE(savedSoulKinds.empty());
}

TEST_F(BossTest, TheWhiteOutEndsOnTheFirstFrameGammaReachesSixty) {
    StateLevelBoss* level = StartBossLevel();
    Frame();
    level->script.outroStep = 7;
    float lastGamma = GetGamma();
    int frames = 0;
    while (level->script.outroStep == 7 && frames < 20 * kFramesPerSecond) {
        HoldLirraAt(0.0f, -17.0f);
        lastGamma = GetGamma();
        Frame();
        ++frames;
    }
    // The frame that reaches gamma 60 ends the white-out and asks for the ending.
    EXPECT_EQ(level->script.outroStep, 9);
    EXPECT_TRUE(HasPendingState());
    EXPECT_LT(lastGamma, 60.0f);
    EXPECT_GE(GetGamma(), 60.0f);
    EXPECT_LT(GetGamma() - lastGamma, 6.5f / 60.0f + 1e-4f);
    EXPECT_GT(GetExposure(), 30.0f);
    const float whiteGamma = GetGamma();
    // The ending starts from the white-out and fades back.
    Frame();
    ASSERT_NE(GetCurrentState(), nullptr);
    EXPECT_EQ(GetCurrentState()->GetId(), STATE_LEVEL_END);
    auto* ending = static_cast<StateEnd*>(GetCurrentState());
    EXPECT_LT(ending->gamma, whiteGamma);
    EXPECT_GT(ending->gamma, 55.0f);
}

TEST_F(BossTest, AfterTheFallTheCameraPansToTheArenaAndRovevozSpeaksLast) {
    StateLevelBoss* level = StartBossLevel();
    Frame();
    level->script.bossDown = true;
    cinematicPlaying = false;
    Camera& camera = GetCamera();
    camera.SetPosition(Vector3(10.0f, 0.0f, camera.GetPosition().z));
    Frame();
    // 0.03 of the way to (0, -10.5) each frame.
    EXPECT_NEAR(camera.GetPosition().x, 10.0f * 0.97f, 1e-3f);
    EXPECT_NEAR(camera.GetPosition().y, -10.5f * 0.03f, 1e-3f);
    EXPECT_NEAR(level->script.outroTimer, 3.0f - 1.0f / 60.0f, 1e-4f);
    for (int i = 0; i < 4 * kFramesPerSecond && !level->script.lastWordsStarted; ++i) {
        HoldLirraAt(0.0f, -17.0f);
        Frame();
    }
    ASSERT_TRUE(level->script.lastWordsStarted);
    ASSERT_TRUE(IsDialogueVisible());
    EXPECT_EQ(GetDialogue().name, "Rovevoz");
    EXPECT_EQ(GetDialogue().text, "... this fight might be over ...");
    EXPECT_EQ(GetDialogue().size.x, 400.0f);
    // Typed out (one letter every few frames), but not yet handed over.
    Seconds(2.0f);
    const int stepBefore = level->script.outroStep;
    AdvanceDialogue();
    EXPECT_EQ(level->script.outroStep, stepBefore + 1);
    EXPECT_EQ(GetDialogue().text, "... my life at its eNd ...");
}
