#include <cmath>
#include <string>
#include <vector>

#include "PlayerTesting.h"
#include "actors/GOWind.h"
#include "automation/Trace.h"
#include "physics/PlayerCollision.h"

namespace {

class SoulWindTest : public PlayerTest {
protected:
    GOSoul* SoulAt(float dx, int kind) {
        GOSoul* soul = GetScene().GetSoul();
        soul->SetKind(false, kind);
        const Vector3 at = lirra.GetTransform().GetPosition();
        soul->GetTransform().SetPosition(at.x + dx, at.y, 90.0f);
        soul->SetFollowTarget(&lirra);
        soul->SetActive(true);
        return soul;
    }

    GOWind* WindAround(float x, float y, float width, float height, int direction, float strength) {
        GOWind* wind = GetScene().GetWind();
        wind->GetTransform().SetPosition(x, y, 0.0f);
        wind->GetTransform().SetScale(width, height, 1.0f);
        wind->strength = strength;
        wind->windDirection = direction;
        wind->Init();
        wind->GetComponent<Collider>()->Update();
        wind->SetActive(true);
        return wind;
    }
};

TEST_F(SoulWindTest, ASoulExactlyAtTheChainDistanceStaysAndAFartherOneClosesIn) {
    StartLevel();
    GameObject post(KIND_UNKNOWN);  // a target that stands perfectly still
    post.GetTransform().SetPosition(0.0f, 3.0f, 0.0f);
    GOSoul* near = SoulAt(0.0f, kSoulPurple);
    near->GetTransform().SetPosition(0.8f, 3.0f, 90.0f);
    near->SetFollowTarget(&post);
    GOSoul* far = SoulAt(0.0f, kSoulFire);
    far->GetTransform().SetPosition(3.0f, 3.0f, 90.0f);
    far->SetFollowTarget(&post);
    Frame();
    EXPECT_EQ(near->GetTransform().GetPosition(), Vector3(0.8f, 3.0f, 90.0f));
    EXPECT_NEAR(far->GetTransform().GetPosition().x, 3.0f - 3.0f * 1.2f * kFrame, 1e-4f);
    Frames(300);
    EXPECT_NEAR(far->GetTransform().GetPosition().x, 0.8f, 0.01f);
    near->SetActive(false);
    far->SetActive(false);
    Frame();
}

TEST_F(SoulWindTest, AConsumedSoulCloseToHerBurstsAtOnceIntoFourSparks) {
    StartLevel();
    for (int kind : {kSoulPurple, kSoulFire}) {
        GetParticleSystem().Clear();
        GOSoul* soul = SoulAt(0.25f, kind);
        soul->SetConsumed(true);
        Frame();
        EXPECT_FALSE(soul->IsActive());
        const std::vector<Emitter>& sparks = GetParticleSystem().GetEmitters();
        ASSERT_EQ(sparks.size(), 4u);
        const Emitter preset =
            ParticleSystem::MakeEmitter(kind == kSoulPurple ? EMITTER_SOUL_SECOND : EMITTER_SOUL_FIRST);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(sparks[i].colour.min, preset.colour.min) << "kind " << kind;
            EXPECT_NEAR(sparks[i].position.position.x, X() - 2.0f + i, 1e-3f);
            EXPECT_NEAR(sparks[i].position.position.y, Y() - 1.0f, 0.005f);
        }
    }
}

TEST_F(SoulWindTest, AConsumedSoulFarAwayFliesInAndBurstsWhenItArrives) {
    StartLevel();
    GOSoul* soul = SoulAt(5.0f, kSoulFire);
    soul->SetConsumed(true);
    Frame();
    EXPECT_NEAR(soul->GetTransform().GetPosition().x - X(), 5.0f - 5.0f * 8.0f * kFrame, 1e-3f);
    int frames = 0;
    while (soul->IsActive() && frames < 120) {
        Frame();
        ++frames;
    }
    EXPECT_FALSE(soul->IsActive());
    EXPECT_LT(frames, 30);
}

TEST_F(SoulWindTest, ADroppedSoulIsFireWhenSheIsAtHalfHealthAndEitherKindOtherwise) {
    StartLevel();
    lirra.health = 50.0f;
    for (int i = 0; i < 20; ++i) {
        GOSoul* soul = GetScene().GetSoul();
        soul->SetKind(true, 0);
        EXPECT_EQ(soul->GetKind(), kSoulFire);
        EXPECT_EQ(soul->GetComponent<AnimationRenderer>()->GetClip(), TextureId::SoulFire);
    }
    lirra.health = 100.0f;
    int purple = 0;
    for (int i = 0; i < 200; ++i) {
        GOSoul* soul = GetScene().GetSoul();
        soul->SetKind(true, 0);
        purple += soul->GetKind() == kSoulPurple;
    }
    EXPECT_GT(purple, 60);
    EXPECT_LT(purple, 140);
}

TEST_F(SoulWindTest, AGreenSoulRisesToItsReachThenBobsWithinIt) {
    StartLevel();
    GOSoul* soul = GetScene().GetSoul();
    soul->GetTransform().SetPosition(4.0f, 10.0f, 90.0f);
    soul->SetKind(false, kSoulGreen);
    soul->SetActive(true);
    Frames(12);
    EXPECT_NEAR(soul->GetTransform().GetPosition().y, 10.0f + 12.0f * kFrame, 1e-4f);
    float lowest = 100.0f;
    float highest = 0.0f;
    for (int i = 0; i < 1200; ++i) {
        Frame();
        const float y = soul->GetTransform().GetPosition().y;
        lowest = std::min(lowest, y);
        highest = std::max(highest, y);
    }
    EXPECT_NEAR(highest, 10.4f, 0.02f);
    EXPECT_NEAR(lowest, 9.6f, 0.02f);
    EXPECT_FLOAT_EQ(soul->GetTransform().GetPosition().x, 4.0f);
}

TEST_F(SoulWindTest, ASoulPulsesItsAlphaOnATwoSecondCycle) {
    StartLevel();
    GOSoul* soul = SoulAt(0.5f, kSoulPurple);
    soul->pulseTime = 0.0f;  // a recycled soul carries on its pulse
    EXPECT_FLOAT_EQ(soul->GetComponent<AnimationRenderer>()->GetAlpha(), 0.0f);
    Frames(15);  // a quarter of a cycle of the sine
    EXPECT_NEAR(soul->GetComponent<AnimationRenderer>()->GetAlpha(), 0.7f, 1e-4f);
    Frames(30);
    EXPECT_NEAR(soul->GetComponent<AnimationRenderer>()->GetAlpha(), 1.3f, 1e-4f);
    Frames(76);  // the cycle starts over after two seconds
    EXPECT_LT(soul->pulseTime, 0.1f);
    EXPECT_EQ(soul->GetComponent<AnimationRenderer>()->GetClip(), TextureId::SoulFirePurple);
}

TEST_F(SoulWindTest, ANorthWindPushesFortyEightTimesHarderWhenSheGlides) {
    StartLevel();
    GOWind* wind = WindAround(X(), Y(), 4.0f, 4.0f, WIND_NORTH, 1.0f);
    const std::vector<GameObject*> onlyTheWind{wind};
    Rigidbody* body = Body();

    body->velocity = Vector3(0.0f, 0.0f, 0.0f);
    body->gliding = true;
    RunPlayerCollisionPass(lirra, onlyTheWind);
    EXPECT_NEAR(body->velocity.y, 48.0f * kFrame, 1e-5f);

    body->velocity = Vector3(0.0f, 0.0f, 0.0f);
    body->gliding = false;
    RunPlayerCollisionPass(lirra, onlyTheWind);
    EXPECT_NEAR(body->velocity.y, kFrame, 1e-6f);

    // Other directions: four times when gliding.
    GOWind* west = WindAround(X(), Y(), 4.0f, 4.0f, WIND_WEST, 2.0f);
    body->velocity = Vector3(0.0f, 0.0f, 0.0f);
    body->gliding = true;
    RunPlayerCollisionPass(lirra, {west});
    EXPECT_NEAR(body->velocity.x, -2.0f * 4.0f * kFrame, 1e-5f);
    EXPECT_FLOAT_EQ(body->velocity.y, 0.0f);

    // Out of the zone nothing pushes.
    west->GetTransform().SetPosition(X() + 50.0f, Y(), 0.0f);
    west->GetComponent<Collider>()->Update();
    body->velocity = Vector3(0.0f, 0.0f, 0.0f);
    RunPlayerCollisionPass(lirra, {west});
    EXPECT_FLOAT_EQ(body->velocity.x, 0.0f);
}

TEST_F(SoulWindTest, AWindAnimatesSlowerTheStrongerItIsAndARecycledWindTakesItsNewDirection) {
    StartLevel();
    GOWind* wind = WindAround(20.0f, 5.0f, 2.0f, 2.0f, WIND_SOUTH, 3.0f);
    const AnimationRenderer* animation = wind->GetComponent<AnimationRenderer>();
    EXPECT_EQ(wind->GetPush(), Vector3(0.0f, -3.0f, 0.0f));
    EXPECT_EQ(animation->GetClip(), TextureId::WindSouth);
    EXPECT_EQ(animation->GetFrameCount(), 6);
    EXPECT_FLOAT_EQ(animation->GetAlpha(), 0.7f);
    Frames(12);  // 0.2 s, less than one frame of 0.21 s
    EXPECT_EQ(animation->GetFrame(), 0);
    Frames(2);
    EXPECT_EQ(animation->GetFrame(), 1);

    // The pool hands out its free winds in its own order: keep taking winds until this one comes back.
    wind->SetActive(false);
    Frame();
    std::vector<GOWind*> others;
    GOWind* again = nullptr;
    for (int taken = 0; taken < 20 && again != wind; ++taken) {
        GOWind* next = WindAround(20.0f, 5.0f, 2.0f, 2.0f, WIND_EAST, 1.0f);
        if (next == wind) {
            again = next;
        } else {
            others.push_back(next);
        }
    }
    ASSERT_EQ(again, wind) << "the deactivated wind was never handed out again";
    EXPECT_EQ(again->GetPush(), Vector3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(animation->GetClip(), TextureId::WindEast);
    EXPECT_EQ(animation->GetFrameCount(), 6);
    for (GOWind* other : others) {
        other->SetActive(false);
    }
    again->SetActive(false);
    Frame();
}

TEST_F(SoulWindTest, SheGlidesUpANorthWind) {
    StartLevel([] {
        GOWind* wind = GetScene().GetWind();
        wind->GetTransform().SetPosition(0.0f, 8.0f, 0.0f);
        wind->GetTransform().SetScale(3.0f, 12.0f, 1.0f);
        wind->strength = 1.0f;
        wind->windDirection = WIND_NORTH;
        wind->Init();
        wind->SetActive(true);
    });
    Press(GLFW_KEY_SPACE);
    float highest = Y();
    for (int i = 0; i < 240; ++i) {
        Frame();
        highest = std::max(highest, Y());
    }
    // A plain jump tops out below 6.5; the updraft carries her to the top of the zone.
    EXPECT_GT(highest, 12.0f);
    EXPECT_TRUE(Body()->gliding);
}

TEST_F(SoulWindTest, TheChainIsRebuiltFromTheSavedKindsAfterALevelChange) {
    StartLevel();
    GiveSoul(kSoulPurple);
    GiveSoul(kSoulFire);
    GiveSoul(kSoulPurple);
    ASSERT_EQ(savedSoulKinds, (std::vector<int>{1, 2, 1}));
    lirra.health = 70.0f;
    SetState(std::make_unique<TestLevel>());
    Frames(3);
    ASSERT_EQ(lirra.souls.size(), 3u);
    std::vector<int> kinds;
    for (const GOSoul* soul : lirra.souls) {
        kinds.push_back(soul->GetKind());
        EXPECT_TRUE(soul->IsActive());
        EXPECT_FALSE(soul->IsConsumed());
    }
    EXPECT_EQ(kinds, (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(lirra.souls[0]->GetFollowTarget(), &lirra);
    EXPECT_EQ(lirra.souls[1]->GetFollowTarget(), lirra.souls[0]);
    EXPECT_EQ(lirra.souls[2]->GetFollowTarget(), lirra.souls[1]);
    EXPECT_EQ(lirra.GetAttackPower(), 38);
    EXPECT_GE(lirra.GetHealth(), 70.0f);  // carried over, regenerating
    EXPECT_LT(lirra.GetHealth(), 71.0f);

    // Spending the last soul leaves nothing to bring back.
    while (lirra.ConsumePurpleSoul()) {
    }
    lirra.ConsumeFireSoul();
    EXPECT_TRUE(savedSoulKinds.empty());
}

TEST_F(SoulWindTest, TheTraceCarriesHerRecord) {
    StartLevel();
    GiveSoul(kSoulPurple);
    GiveSoul(kSoulFire);
    lirra.localTimeScale = 0.8f;
    lirra.SetJumpDisabled(true);
    const std::string& trace = BuildTraceLine(7);
    const std::string player = trace.substr(trace.find("\"player\""));
    EXPECT_NE(player.find("\"active\": true"), std::string::npos) << player;
    EXPECT_NE(player.find("\"vy\": -22.0725"), std::string::npos) << player;
    EXPECT_NE(player.find("\"state\": 0"), std::string::npos) << player;
    EXPECT_NE(player.find("\"health\": 100"), std::string::npos) << player;
    EXPECT_NE(player.find("\"airborne\": false"), std::string::npos) << player;
    EXPECT_NE(player.find("\"facingRight\": 0"), std::string::npos) << player;
    EXPECT_NE(player.find("\"attackPower\": 36"), std::string::npos) << player;
    EXPECT_NE(player.find("\"invulnerable\": true"), std::string::npos) << player;
    EXPECT_NE(player.find("\"inputLocked\": false"), std::string::npos) << player;
    EXPECT_NE(player.find("\"jumpDisabled\": true"), std::string::npos) << player;
    EXPECT_NE(player.find("\"timeScale\": 0.8"), std::string::npos) << player;
    EXPECT_NE(player.find("\"souls\": [1, 2]}"), std::string::npos) << player;
}

}  // namespace
