#include <cmath>
#include <limits>

#include "actors/GOSoul.h"
#include "boss/BossTesting.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/TextRenderer.h"
#include "resources/ResourceLoader.h"

// The shared record alone: health, phases and the hands' reach.
TEST(BossRecord, OneHeavyBlowCarriesTheFightFromPhaseOneToThree) {
    Boss boss;
    boss.phase = BOSS_PHASE_1;
    boss.health = 1900;
    boss.TakeDamage(1000);
    EXPECT_EQ(boss.GetHealth(), 900);
    EXPECT_EQ(boss.GetPhase(), BOSS_PHASE_3);
}

TEST(BossRecord, TheEndNeedsHealthBelowZero) {
    Boss boss;
    boss.phase = BOSS_PHASE_3;
    boss.health = 40;
    boss.TakeDamage(40);
    EXPECT_EQ(boss.GetHealth(), 0);
    EXPECT_EQ(boss.GetPhase(), BOSS_PHASE_3);
    boss.TakeDamage(1);
    EXPECT_EQ(boss.GetPhase(), BOSS_DEFEATED);
    EXPECT_TRUE(std::isinf(boss.basicSpawnTimer));
    EXPECT_TRUE(std::isinf(boss.flyingSpawnTimer));
}

TEST(BossRecord, ThePhaseTwoEntranceCallsFlyersOnlyOnce) {
    Boss boss;
    boss.phase = BOSS_PHASE_1;
    boss.flyingSpawnTimer = std::numeric_limits<float>::infinity();
    boss.health = 1800;
    boss.TakeDamage(1);
    EXPECT_EQ(boss.GetPhase(), BOSS_PHASE_2);
    EXPECT_EQ(boss.flyingSpawnTimer, 0.0f);
    boss.flyingSpawnTimer = 12.0f;
    boss.SetPhase(BOSS_PHASE_2);
    EXPECT_EQ(boss.flyingSpawnTimer, 12.0f);
}

TEST(BossRecord, EachHandReachesOnlyALittlePastTheMiddle) {
    Boss boss;
    boss.leftHand.targetPoint = Vector3(5.0f, -17.0f, 0.0f);
    boss.rightHand.targetPoint = Vector3(5.0f, -17.0f, 0.0f);
    EXPECT_FLOAT_EQ(boss.leftHand.SweepTarget().x, 1.0f);
    EXPECT_FLOAT_EQ(boss.rightHand.SweepTarget().x, 5.0f);
    EXPECT_FLOAT_EQ(boss.rightHand.SweepTarget().y, -17.0f);
    boss.leftHand.targetPoint.x = -20.0f;
    boss.rightHand.targetPoint.x = -20.0f;
    EXPECT_FLOAT_EQ(boss.leftHand.SweepTarget().x, -14.0f);
    EXPECT_FLOAT_EQ(boss.rightHand.SweepTarget().x, -1.0f);
}

TEST(BossRecord, HandAndHeadModesSetTheirTimersOnlyOnAChange) {
    HandController hand(HAND_LEFT);
    hand.SetMode(HAND_DOWN);
    EXPECT_FLOAT_EQ(hand.downTimer, 7.0f);
    hand.downTimer = 3.0f;
    hand.SetMode(HAND_DOWN);
    EXPECT_FLOAT_EQ(hand.downTimer, 3.0f);
    hand.SetMode(HAND_REST);
    EXPECT_FLOAT_EQ(hand.waitTimer, 4.0f);
    EXPECT_FALSE(hand.IsDown());
    HeadController head;
    head.SetMode(HEAD_DOWN);
    EXPECT_TRUE(head.IsDown());
    head.SetMode(HEAD_UP);
    EXPECT_FALSE(head.IsDown());
}

TEST(BossBar, ShowsTheShareOfHealthLeftWithAtLeastOneLetter) {
    EXPECT_EQ(BossBarFilled(2500, 2500), 100);
    EXPECT_EQ(BossBarFilled(2499, 2500), 99);
    EXPECT_EQ(BossBarFilled(1, 2500), 1);
    EXPECT_EQ(BossBarFilled(0, 2500), 0);
    EXPECT_EQ(BossBarFilled(-20, 2500), 0);
}

TEST_F(BossTest, TheBarIsTheNameOverARedRowAndAMagentaShare) {
    TextRenderer& text = GetTextRenderer();
    text.ClearQueue();
    DrawBossBar(2499, 2500);
    ASSERT_EQ(text.CountQueued(), 3u);
    const TextItem& label = text.GetQueue()[0];
    const TextItem& row = text.GetQueue()[1];
    const TextItem& share = text.GetQueue()[2];
    EXPECT_EQ(label.text, "ROVEVOZ");
    EXPECT_FLOAT_EQ(label.position.y, 40.0f);
    EXPECT_FLOAT_EQ(label.scale, 2.0f);
    EXPECT_EQ(row.text, std::string(100, 'I'));
    EXPECT_EQ(row.colour, Vector3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(share.text, std::string(99, 'I'));
    EXPECT_EQ(share.colour, Vector3(1.0f, 0.0f, 1.0f));
    text.ClearQueue();
    DrawBossBar(1, 2500);
    EXPECT_EQ(text.GetQueue()[2].text, "I");
    text.ClearQueue();
}

#ifdef LIRRA_BOSS_HAS_PIECES

TEST_F(BossTest, TheFightOpensWithTwoWalkersAndNoFlyersUntilPhaseTwo) {
    StateLevelBoss* level = StartBossLevel();
    Boss& boss = GetBoss();
    ASSERT_EQ(level->enemies.size(), 4u);
    EXPECT_EQ(CountKind(level->enemies, 2), 1);
    EXPECT_EQ(CountKind(level->enemies, 3), 1);
    Frame();
    EXPECT_EQ(CountKind(level->enemies, 0), 2);
    EXPECT_EQ(CountKind(level->enemies, 1), 0);

    HoldLirraAt(0.0f, -3.0f);
    Seconds(3.2f);
    EXPECT_EQ(boss.GetPhase(), BOSS_PHASE_1);
    EXPECT_TRUE(std::isinf(boss.flyingSpawnTimer));
    EXPECT_EQ(StateOf(boss.body), "PHASE1_BB");
    EXPECT_EQ(CountKind(level->enemies, 1), 0);

    boss.TakeDamage(701);
    EXPECT_EQ(boss.GetPhase(), BOSS_PHASE_2);
    Frame();
    EXPECT_EQ(CountKind(level->enemies, 1), 2);
    Frame();
    EXPECT_EQ(StateOf(boss.body), "PHASE2_BB");
}

TEST_F(BossTest, OneHandDownWaitsForItsPartnerAndTwoDropTheHead) {
    StartBossLevel();
    Boss& boss = GetBoss();
    HoldLirraAt(0.0f, -3.0f);
    Seconds(3.5f);
    ASSERT_EQ(boss.GetPhase(), BOSS_PHASE_1);

    boss.leftHand.hand->TakeDamage(200);
    Seconds(10.0f);
    EXPECT_TRUE(boss.leftHand.IsDown());
    EXPECT_EQ(StateOf(boss.leftHand.hand), "FALL_BL");
    EXPECT_FALSE(boss.head.IsDown());
    EXPECT_EQ(StateOf(boss.head.piece), "IDLE_BH");
    EXPECT_NEAR(boss.leftHand.hand->GetTransform().GetPosition().y, -17.5f, 0.01f);

    boss.rightHand.hand->TakeDamage(200);
    Frames(3);
    EXPECT_TRUE(boss.head.IsDown());
    EXPECT_EQ(StateOf(boss.head.piece), "FALL_BH");
    Seconds(3.0f);
    EXPECT_NEAR(boss.head.piece->GetTransform().GetPosition().y, boss.head.lowPoint.y, 0.01f);
    Seconds(4.2f);
    EXPECT_FALSE(boss.head.IsDown());
    EXPECT_EQ(StateOf(boss.head.piece), "IDLE_BH");
    EXPECT_EQ(boss.head.piece->health, 500);
    EXPECT_EQ(StateOf(boss.leftHand.hand), "IDLE_BL");
    EXPECT_EQ(boss.leftHand.hand->health, 125);
}

TEST_F(BossTest, HandsSlamWhereLirraStoodKeepingToTheirSides) {
    StartBossLevel();
    Boss& boss = GetBoss();
    bool leftLanded = false;
    bool rightLanded = false;
    for (int frame = 0; frame < 10 * kFramesPerSecond && !(leftLanded && rightLanded); ++frame) {
        HoldLirraAt(5.0f, -17.0f);
        Frame();
        if (!leftLanded && StateOf(boss.leftHand.hand) == "SWEEP_BL") {
            leftLanded = true;
            EXPECT_NEAR(boss.leftHand.hand->GetTransform().GetPosition().x, 1.0f, 0.5f);
            EXPECT_FLOAT_EQ(boss.leftHand.hand->GetTransform().GetPosition().y, -17.0f);
        }
        if (!rightLanded && StateOf(boss.rightHand.hand) == "SWEEP_BR") {
            rightLanded = true;
            EXPECT_NEAR(boss.rightHand.hand->GetTransform().GetPosition().x, 5.0f, 0.5f);
        }
    }
    EXPECT_TRUE(leftLanded);
    EXPECT_TRUE(rightLanded);
}

TEST_F(BossTest, TheSmashSoundsAsTheSlamEndsAndTheLandingAsTheSweepStarts) {
    StartBossLevel();
    HandController& left = GetBoss().leftHand;
    int smashFrame = -1;
    int landFrame = -1;
    int sweepEntered = -1;
    int sweepMoved = -1;
    for (int frame = 0; frame < 14 * kFramesPerSecond && landFrame < 0; ++frame) {
        HoldLirraAt(-5.0f, -17.0f);
        const float xBefore = left.hand->GetTransform().GetPosition().x;
        Frame();
        const std::string state = StateOf(left.hand);
        if (smashFrame < 0 && left.lastSound == BOSS_SMASH) {
            smashFrame = frame;
        }
        if (sweepEntered < 0 && state == "SWEEP_BL") {
            sweepEntered = frame;
        }
        if (sweepEntered >= 0 && sweepMoved < 0 && left.hand->GetTransform().GetPosition().x != xBefore) {
            sweepMoved = frame;
        }
        if (landFrame < 0 && left.lastSound == BOSS_LAND) {
            landFrame = frame;
        }
    }
    ASSERT_GE(smashFrame, 0);
    EXPECT_EQ(smashFrame, sweepEntered);
    EXPECT_EQ(landFrame, sweepMoved);
    EXPECT_NEAR((landFrame - smashFrame) / static_cast<float>(kFramesPerSecond), 4.0f, 0.1f);
}

TEST_F(BossTest, TheRightHandSlamsAndLiftsAtHalfTheLeftHandsPace) {
    StartBossLevel();
    AnimationRenderer* left = GetBoss().leftHand.hand->GetComponent<AnimationRenderer>();
    AnimationRenderer* right = GetBoss().rightHand.hand->GetComponent<AnimationRenderer>();
    // While the hands fade in their states leave the clip alone.
    for (const TextureId clip : {TextureId::BossHandSlam, TextureId::BossHandLift}) {
        left->SetClip(clip);
        right->SetClip(clip);
        const int leftFirst = left->GetFrame();
        const int rightFirst = right->GetFrame();
        int leftFrames = 0;
        int rightFrames = 0;
        for (int i = 0; i < 60; ++i) {
            Frame();
            leftFrames += left->GetFrame() == leftFirst ? 1 : 0;
            rightFrames += right->GetFrame() == rightFirst ? 1 : 0;
        }
        EXPECT_NEAR(leftFrames, 20, 1) << "clip " << ToInt(clip);
        EXPECT_NEAR(rightFrames, 40, 1) << "clip " << ToInt(clip);
    }
}

TEST_F(BossTest, TheDefeatedBossFadesAndLeavesAGreatGreenSoul) {
    StateLevelBoss* level = StartBossLevel();
    Boss& boss = GetBoss();
    HoldLirraAt(0.0f, -17.0f);
    Seconds(3.5f);
    boss.phase = BOSS_PHASE_3;
    boss.health = 5;
    boss.TakeDamage(10);
    EXPECT_EQ(boss.GetPhase(), BOSS_DEFEATED);
    Frames(2);
    EXPECT_EQ(StateOf(boss.body), "END_BB");
    for (const GOEnemy* enemy : level->enemies) {
        if (enemy->enemyKind == 0) {
            EXPECT_EQ(StateOf(enemy), "DEAD_BE");
        }
    }
    Seconds(3.2f);
    EXPECT_FALSE(boss.body->IsActive());
    EXPECT_FALSE(boss.head.piece->IsActive());
    EXPECT_FALSE(boss.leftHand.hand->IsActive());
    bool greenSoul = false;
    for (const GOSoul* soul : GetScene().GetSoulPool().GetObjects()) {
        greenSoul |= soul->IsActive() && soul->GetKind() == kSoulGreen && soul->GetTransform().GetScale().x == 5.0f;
    }
    EXPECT_TRUE(greenSoul);
    EXPECT_TRUE(level->script.bossDown);
    EXPECT_TRUE(GetPlayer().inputLocked);
}

#endif
