#include <algorithm>
#include <cmath>
#include <string>

#include "actors/BasicEnemyStates.h"
#include "automation/Trace.h"

#include "EnemyTesting.h"

#if __has_include("frontend/GOTransitionScreen.h")
#include "actors/GOHitbox.h"
#include "frontend/GOTransitionScreen.h"
#define LIRRA_HAS_TRANSITIONS 1
#endif

namespace {

using BasicEnemyTest = EnemyTest;

// The enemy's box where the enemy now stands (its collider catches up after the enemy's update).
ColliderBox BoxNow(const GOEnemy* enemy) {
    ColliderBox box = enemy->GetComponent<Collider>()->box;
    box.center = enemy->GetTransform().GetPosition() + box.offset;
    box.width = box.widthFactor * std::fabs(enemy->GetTransform().GetScale().x);
    box.height = box.heightFactor * std::fabs(enemy->GetTransform().GetScale().y);
    return box;
}

// The text the enemy's health bar queues this frame: red letters, then green.
std::vector<TextItem> BarOf(GOEnemy* enemy) {
    GetTextRenderer().ClearQueue();
    enemy->Update();
    std::vector<TextItem> items(GetTextRenderer().GetQueue().begin(), GetTextRenderer().GetQueue().end());
    GetTextRenderer().ClearQueue();
    return items;
}

bool IsBarkLine(const std::string& text) {
    return std::find(std::begin(kBarkLines), std::end(kBarkLines), text) != std::end(kBarkLines);
}

TEST_F(BasicEnemyTest, SetupBuildsAWalkingSpiritOnItsPath) {
    StartLevel(-60.0f);
    GOEnemy* enemy = SpawnWalker(0.0f, 4.0f);
    Frame();
    EXPECT_TRUE(enemy->IsActive());
    EXPECT_EQ(enemy->objectKind, KIND_ENEMY);
    EXPECT_EQ(enemy->health, 100);
    EXPECT_EQ(enemy->maxHealth, 100);
    EXPECT_EQ(StateOf(enemy), "IDLE_BE");
    EXPECT_EQ(enemy->stateMachine->CountStates(), 3u);
    EXPECT_FLOAT_EQ(enemy->GetTransform().GetScale().x, 2.0f);
    const Collider* collider = enemy->GetComponent<Collider>();
    ASSERT_NE(collider, nullptr);
    EXPECT_FLOAT_EQ(collider->box.width, 0.6f);
    EXPECT_FLOAT_EQ(collider->box.height, 1.0f);
    EXPECT_FLOAT_EQ(collider->box.center.y, kEnemyY - 0.6f);
    const AnimationRenderer* animation = enemy->GetComponent<AnimationRenderer>();
    EXPECT_EQ(animation->GetFrameCount(), 21);
    EXPECT_EQ(animation->GetClip(), TextureId::VozarovuIdle);
    EXPECT_TRUE(enemy->stateMachine->FindState("DEAD_BE") != nullptr);
}

TEST_F(BasicEnemyTest, APatrolWalksAtOneUnitASecondTurnsAndPausesASecondAtEachEnd) {
    StartLevel(-60.0f);
    GOEnemy* enemy = SpawnWalker(0.0f, 4.0f);
    // It starts with a pause where it stands.
    const int firstStep = FramesUntil([&] { return X(enemy) > 0.0f; }, 200);
    EXPECT_NEAR(firstStep * kFrame, 1.0f, 0.05f);
    EXPECT_EQ(Clip(enemy), TextureId::VozarovuRun);

    const int walk = FramesUntil([&] { return X(enemy) >= 4.0f; }, 600);
    EXPECT_NEAR(walk * kFrame, 4.0f, 0.1f);
    EXPECT_FLOAT_EQ(X(enemy), 4.0f);
    EXPECT_LT(enemy->GetTransform().GetScale().x, 0.0f);
    EXPECT_FLOAT_EQ(enemy->direction.x, -1.0f);

    const int pause = FramesUntil([&] { return X(enemy) < 4.0f; }, 200);
    EXPECT_NEAR(pause * kFrame, 1.0f, 0.05f);
    const int back = FramesUntil([&] { return X(enemy) <= 0.0f; }, 600);
    EXPECT_NEAR(back * kFrame, 4.0f, 0.1f);
    EXPECT_FLOAT_EQ(X(enemy), 0.0f);
    EXPECT_GT(enemy->GetTransform().GetScale().x, 0.0f);
    EXPECT_EQ(StateOf(enemy), "IDLE_BE");
}

TEST_F(BasicEnemyTest, APathWhosePointsShareXNeverEndsAndTheSpiritNeverTurns) {
    StartLevel(-60.0f);
    GOEnemy* enemy = SpawnWalker(2.0f, 2.0f);
    Frames(600);
    EXPECT_NEAR(X(enemy), 2.0f + 9.0f, 0.1f);
    EXPECT_FLOAT_EQ(enemy->direction.x, 1.0f);
    EXPECT_GT(enemy->GetTransform().GetScale().x, 0.0f);
}

TEST_F(BasicEnemyTest, ItChasesLirraOnlyWhenSheIsAheadAndCloserThanFour) {
    StartLevel(-60.0f);
    HoldLirraStill(false);
    GOEnemy* enemy = SpawnWalker(0.0f, 20.0f);
    Frame();
    enemy->localTimeScale = 0.0f;  // it stays where it is, so the distances hold

    MoveLirra(-2.0f);  // close, but behind it
    Frames(3);
    EXPECT_EQ(StateOf(enemy), "IDLE_BE");
    MoveLirra(4.2f);  // ahead, 4.21 away
    Frames(3);
    EXPECT_EQ(StateOf(enemy), "IDLE_BE");
    MoveLirra(3.8f);  // ahead, 3.82 away
    Frames(3);
    EXPECT_EQ(StateOf(enemy), "ATTACK_BE");
    EXPECT_EQ(Clip(enemy), TextureId::VozarovuRun);
    EXPECT_EQ(enemy->attackHitbox, nullptr);

    MoveLirra(1.4f);  // 1.44 away: within the strike
    Frames(2);
    EXPECT_EQ(Clip(enemy), TextureId::VozarovuAttack);
    ASSERT_NE(enemy->attackHitbox, nullptr);
    EXPECT_TRUE(enemy->attackHitbox->IsActive());
    EXPECT_EQ(enemy->attackHitbox->owner, enemy);
    EXPECT_EQ(enemy->attackHitbox->hitboxKind, HITBOX_ENEMY_MELEE);

    GOHitbox* strike = enemy->attackHitbox;
    MoveLirra(1.6f);  // 1.64 away
    Frames(2);
    EXPECT_EQ(Clip(enemy), TextureId::VozarovuRun);
    EXPECT_EQ(enemy->attackHitbox, nullptr);
    EXPECT_FALSE(strike->IsActive());

    MoveLirra(4.1f);
    Frames(3);
    EXPECT_EQ(StateOf(enemy), "IDLE_BE");
}

TEST_F(BasicEnemyTest, ItTurnsToFaceLirraOutsideANarrowBandAboveIt) {
    StartLevel(-60.0f);
    HoldLirraStill(false);
    GOEnemy* enemy = SpawnWalker(-10.0f, 20.0f);
    Frame();
    enemy->localTimeScale = 0.0f;
    MoveLirra(-8.0f);
    Frames(3);
    ASSERT_EQ(StateOf(enemy), "ATTACK_BE");
    MoveLirra(-10.1f);  // 0.1 behind: within the band the heading stays
    Frames(2);
    EXPECT_FLOAT_EQ(enemy->direction.x, 1.0f);
    MoveLirra(-11.0f);
    Frames(2);
    EXPECT_FLOAT_EQ(enemy->direction.x, -1.0f);
    EXPECT_LT(enemy->GetTransform().GetScale().x, 0.0f);
}

TEST_F(BasicEnemyTest, ItNeverWalksIntoLirraAndNeverPushesHer) {
    StartLevel(5.0f);
    HoldLirraStill(false);
    GOEnemy* enemy = SpawnWalker(-2.0f, 20.0f);
    const float lirraX = lirra.GetTransform().GetPosition().x;
    bool reachedHer = false;
    for (int i = 0; i < 360; ++i) {
        Frame();
        ASSERT_FALSE(Overlaps(BoxNow(enemy), lirra.GetComponent<Collider>()->box)) << "frame " << i;
        EXPECT_NEAR(lirra.GetTransform().GetPosition().x, lirraX, 0.001f);
        reachedHer = reachedHer || Clip(enemy) == TextureId::VozarovuAttack;
    }
    EXPECT_TRUE(reachedHer);
    // It stopped right in front of her: boxes less than one step apart.
    const float gap = (lirraX - 0.45f) - (X(enemy) + 0.3f);
    EXPECT_GT(gap, 0.0f);
    EXPECT_LT(gap, 2.0f * kFrame + 1e-4f);
}

TEST_F(BasicEnemyTest, ItsStrikeHurtsLirraForTwentyFive) {
    StartLevel(1.2f);
    HoldLirraStill(true);
    GOEnemy* enemy = SpawnWalker(0.0f, 20.0f);
    Frame();
    enemy->localTimeScale = 0.0f;
    FramesUntil([&] { return lirra.GetHealth() < 100.0f; }, 120);
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 75.0f);
    EXPECT_TRUE(lirra.invulnerable);
}

TEST_F(BasicEnemyTest, HitsCountOnlyAfterTheCooldownAndAHurtSpiritNeitherMovesNorFights) {
    StartLevel(-60.0f);
    GOEnemy* enemy = SpawnWalker(0.0f, 20.0f);
    Frames(70);  // past its first pause, walking
    enemy->TakeDamage(34);
    EXPECT_EQ(enemy->health, 66);
    EXPECT_FALSE(enemy->vulnerable);
    const float x = X(enemy);
    Frames(12);  // 0.2 s
    EXPECT_EQ(Clip(enemy), TextureId::VozarovuDamaged);
    EXPECT_FLOAT_EQ(X(enemy), x);
    enemy->TakeDamage(34);  // dropped
    EXPECT_EQ(enemy->health, 66);
    Frames(12);  // 0.4 s after the first hit
    enemy->TakeDamage(34);
    EXPECT_EQ(enemy->health, 32);
    Frames(2);
    EXPECT_EQ(StateOf(enemy), "IDLE_BE");
}

TEST_F(BasicEnemyTest, ThreeLightHitsOfThirtyFourKillOnlyWhenSpacedAtLeastThreeTenthsApart) {
    StartLevel(-60.0f);
    GOEnemy* close = SpawnWalker(0.0f, 20.0f);
    GOEnemy* spaced = SpawnWalker(30.0f, 50.0f);
    Frame();
    for (int hit = 0; hit < 3; ++hit) {
        close->TakeDamage(34);
        Frames(12);
    }
    for (int hit = 0; hit < 3; ++hit) {
        spaced->TakeDamage(34);
        Frames(21);
    }
    EXPECT_EQ(close->health, 32);
    EXPECT_NE(StateOf(close), "DEAD_BE");
    EXPECT_EQ(spaced->health, -2);
    EXPECT_EQ(StateOf(spaced), "DEAD_BE");
}

TEST_F(BasicEnemyTest, LirrasHeavyHitDealsTwiceHerAttackPowerAndThrowsSparks) {
    StartLevel(-60.0f);
    GOEnemy* enemy = SpawnWalker(0.0f, 20.0f);
    Frame();
    GOHitbox* blow = GetScene().GetHitbox();
    blow->Init(HITBOX_HEAVY_ATTACK, nullptr);
    blow->GetTransform().SetPosition(enemy->GetTransform().GetPosition() + Vector3(0.0f, -0.5f, 0.0f));
    blow->GetTransform().SetScale(1.0f, 2.0f, 1.0f);
    blow->GetComponent<Collider>()->Update();
    const size_t emitters = GetParticleSystem().CountEmitters();
    HitCheck(blow);
    EXPECT_EQ(enemy->health, 100 - 2 * lirra.GetAttackPower());
    EXPECT_EQ(lirra.GetAttackPower(), 34);
    // The camera shake and the spark burst of the hit.
    EXPECT_EQ(GetParticleSystem().CountEmitters(), emitters + 1);
    const Emitter& burst = GetParticleSystem().GetEmitters().back();
    EXPECT_FLOAT_EQ(burst.position.position.z, 50.0f);

    blow->hitboxKind = HITBOX_LIGHT_ATTACK;
    HitCheck(blow);  // within the cooldown
    EXPECT_EQ(enemy->health, 32);
}

TEST_F(BasicEnemyTest, TheHealthBarOfAScaleTwoSpiritIsTwelveLettersGreenForWhatIsLeft) {
    StartLevel(-60.0f);
    GOEnemy* enemy = SpawnWalker(0.0f, 20.0f);
    Frame();
    std::vector<TextItem> bar = BarOf(enemy);
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_EQ(bar[0].text, std::string(12, 'I'));
    EXPECT_FLOAT_EQ(bar[0].colour.x, 1.0f);
    EXPECT_FLOAT_EQ(bar[0].colour.y, 0.0f);
    EXPECT_EQ(bar[1].text, std::string(12, 'I'));
    EXPECT_FLOAT_EQ(bar[1].colour.y, 1.0f);
    EXPECT_TRUE(bar[1].zoomScaled);
    // Over the spirit's left edge, a third of its height above its centre.
    const Vector3 anchor = GetCamera().WorldToScreen(Vector3(X(enemy) - 1.0f, kEnemyY + 2.0f / 3.0f, 4.0f));
    EXPECT_NEAR(bar[0].position.x, anchor.x, 0.01f);
    EXPECT_NEAR(bar[0].position.y, anchor.y, 0.01f);

    enemy->TakeDamage(34);
    bar = BarOf(enemy);
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_EQ(bar[0].text.size(), 12u);
    EXPECT_EQ(bar[1].text.size(), 7u);  // 12 x 66 / 100 = 7.92

    enemy->health = 1;
    bar = BarOf(enemy);
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_EQ(bar[1].text.size(), 1u);

    enemy->health = 0;
    EXPECT_TRUE(BarOf(enemy).empty());

    EXPECT_EQ(MeasureHealthBar(100, 100, -2.0f).letters, 12);
    EXPECT_EQ(MeasureHealthBar(2500, 2500, 12.0f).letters, 72);
    EXPECT_EQ(MeasureHealthBar(5, 100, 1.5f).filled, 1);
}

#ifdef LIRRA_HAS_TRANSITIONS
TEST_F(BasicEnemyTest, HealthBarsHideWhileATransitionScreenRuns) {
    StartLevel(-60.0f);
    GOEnemy* enemy = SpawnWalker(0.0f, 20.0f);
    Frame();
    transitionActive = true;
    EXPECT_TRUE(BarOf(enemy).empty());
    transitionActive = false;
    EXPECT_EQ(BarOf(enemy).size(), 2u);
}
#endif

TEST_F(BasicEnemyTest, ADyingSpiritBarksALineAndItsSoulFollowsWhenTheLineIsDone) {
    StartLevel(-60.0f);
    GOEnemy* enemy = SpawnWalker(0.0f, 20.0f);
    Frames(70);
    const Vector3 at = enemy->GetTransform().GetPosition();
    enemy->TakeDamage(100);
    Frames(2);
    ASSERT_EQ(StateOf(enemy), "DEAD_BE");
    EXPECT_EQ(Clip(enemy), TextureId::VozarovuDeath);
    ASSERT_TRUE(IsDialogueVisible());
    const DialogueRequest& bark = GetDialogue();
    EXPECT_EQ(bark.name, "No name");
    EXPECT_TRUE(IsBarkLine(bark.text)) << bark.text;
    EXPECT_FLOAT_EQ(bark.nameColor.x, 1.0f);
    EXPECT_FLOAT_EQ(bark.nameColor.y, 0.0f);
    EXPECT_FLOAT_EQ(bark.nameColor.z, 1.0f);
    EXPECT_FLOAT_EQ(bark.offset.y, 40.0f);
    EXPECT_FLOAT_EQ(bark.size.x, 200.0f);
    EXPECT_FLOAT_EQ(bark.size.y, 80.0f);
    EXPECT_FLOAT_EQ(bark.panelAlpha, 0.6f);
    EXPECT_FLOAT_EQ(bark.textScale, 0.6f);
    EXPECT_FLOAT_EQ(bark.nameScale, 0.8f);
    EXPECT_TRUE(bark.worldAnchored);
    EXPECT_FLOAT_EQ(bark.position.x, at.x);
    EXPECT_TRUE(lirra.souls.empty());

    // Gone after the seventh death frame, about 0.6 s after it fell; the line may still be up.
    const int gone = FramesUntil([&] { return !enemy->IsActive(); }, 120);
    EXPECT_NEAR(gone * kFrame, 0.6f, 0.1f);
    EXPECT_TRUE(lirra.souls.empty());

    FinishDialogue();
    ASSERT_EQ(lirra.souls.size(), 1u);
    const GOSoul* soul = lirra.souls[0];
    EXPECT_TRUE(soul->IsActive());
    EXPECT_FLOAT_EQ(soul->GetTransform().GetPosition().x, at.x);
    EXPECT_FLOAT_EQ(soul->GetTransform().GetPosition().z, at.z + 1.0f);
    EXPECT_EQ(soul->GetFollowTarget(), &lirra);
    EXPECT_TRUE(soul->GetKind() == kSoulFire || soul->GetKind() == kSoulPurple);
}

TEST_F(BasicEnemyTest, DeathWhileAnotherDialogueIsOpenGivesTheSoulAtOnceWithNoBark) {
    StartLevel(-60.0f);
    GOEnemy* enemy = SpawnWalker(0.0f, 20.0f);
    Frame();
    DialogueRequest talk;
    talk.name = "Dired";
    talk.text = "Off you go, child, and mind the spirits.";
    ShowDialogue(talk, false);
    enemy->TakeDamage(100);
    Frames(2);
    ASSERT_EQ(StateOf(enemy), "DEAD_BE");
    EXPECT_EQ(lirra.souls.size(), 1u);
    EXPECT_EQ(GetDialogue().name, "Dired");
}

TEST_F(BasicEnemyTest, AtHalfHealthOrLessTheSoulIsFireAndHealsHerAtOnce) {
    StartLevel(-60.0f);
    GOEnemy* enemy = SpawnWalker(0.0f, 20.0f);
    Frame();
    lirra.health = 50.0f;
    lirra.regenStartTime = 1.0e9f;  // no regeneration meanwhile
    enemy->TakeDamage(100);
    Frames(2);
    ASSERT_TRUE(IsDialogueVisible());
    const float before = lirra.GetHealth();
    FinishDialogue();
    EXPECT_FLOAT_EQ(lirra.GetHealth(), before + 50.0f);
    EXPECT_TRUE(lirra.souls.empty());
    // The soul that healed her flies into her as a Fire soul.
    int fireSouls = 0;
    for (const GOSoul* soul : GetScene().GetSoulPool().GetObjects()) {
        if (soul->IsActive() && soul->IsConsumed()) {
            EXPECT_EQ(soul->GetKind(), kSoulFire);
            ++fireSouls;
        }
    }
    EXPECT_EQ(fireSouls, 1);
}

TEST_F(BasicEnemyTest, AKindOutsideTheTableDeactivatesAndARecycledEnemyIsRebuiltWhole) {
    StartLevel(-60.0f);
    GOEnemy* enemy = SpawnWalker(0.0f, 20.0f);
    Frame();
    enemy->Setup(Vector3(), Vector3(), 6);
    EXPECT_FALSE(enemy->IsActive());
    enemy->Setup(Vector3(), Vector3(), -1);
    EXPECT_FALSE(enemy->IsActive());

    enemy->Setup(Vector3(0.0f, 10.0f, 0.0f), Vector3(), ENEMY_FLYING);
    EXPECT_EQ(enemy->GetComponent<Collider>(), nullptr);
    EXPECT_NE(enemy->emitterId, -1);
    enemy->Setup(Vector3(1.0f, kEnemyY, 0.0f), Vector3(5.0f, kEnemyY, 0.0f), ENEMY_BASIC);
    enemy->SetActive(true);
    EXPECT_EQ(enemy->emitterId, -1);  // the flyer's trail went with it
    EXPECT_EQ(GetParticleSystem().CountEmitters(), 0u);
    EXPECT_NE(enemy->GetComponent<Collider>(), nullptr);
    EXPECT_EQ(enemy->GetComponent<AnimationRenderer>()->GetFrameCount(), 21);
    EXPECT_EQ(enemy->enemyKind, ENEMY_BASIC);
    EXPECT_EQ(enemy->stateMachine->CountStates(), 3u);
    EXPECT_FLOAT_EQ(enemy->localTimeScale, 1.0f);
    Frame();
    EXPECT_EQ(StateOf(enemy), "IDLE_BE");
}

TEST_F(BasicEnemyTest, TheTraceListsEveryActiveEnemyWithItsState) {
    StartLevel(-60.0f);
    SpawnWalker(10.0f, 20.0f);
    Frame();
    const std::string line = BuildTraceLine(0);
    EXPECT_NE(line.find("\"enemies\": [{\"kind\": 0, \"x\": 10, \"y\": 1.1, \"health\": 100, \"state\": \"IDLE_BE\"}]"),
              std::string::npos)
        << line;
}

}  // namespace
