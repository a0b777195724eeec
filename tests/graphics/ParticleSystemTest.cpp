#include <gtest/gtest.h>

#include "GraphicsTestUtil.h"
#include "graphics/ParticleSystem.h"
#include "math/MathUtil.h"
#include "platform/FrameClock.h"
#include "support/TestGame.h"

namespace {

class ParticleSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartGraphicsTest();
        SeedRandom(7);
        GetParticleSystem().Clear();
        SetClockStep(0.1);
    }
    void TearDown() override { GetParticleSystem().Clear(); }

    // One frame: the clock moves on, then the system updates with that frame's step.
    void Frame() {
        StepClock();
        GetParticleSystem().Update();
    }
};

TEST_F(ParticleSystemTest, HitBurstSpawnsOnceAndLeavesAfterItsDuration) {
    ParticleSystem& system = GetParticleSystem();
    SetClockStep(0.125);  // exact in binary, so the duration runs out on a known update
    bool finished = false;
    Emitter burst = ParticleSystem::MakeEmitter(EMITTER_ENEMY_HIT);
    burst.onFinished = [&] { finished = true; };
    system.AddEmitter(burst);
    Frame();
    const int spawned = system.CountParticles();
    EXPECT_GE(spawned, 10);
    EXPECT_LE(spawned, 15);
    int frames = 1;
    while (system.CountEmitters() == 1 && frames < 100) {
        EXPECT_LE(system.CountParticles(), spawned);
        Frame();
        ++frames;
    }
    // Sixteen updates of 0.125 s run the two seconds out; the next one removes it.
    EXPECT_EQ(frames, 17);
    EXPECT_TRUE(finished);
}

TEST_F(ParticleSystemTest, BurstCountsStayWithinTheirRanges) {
    ParticleSystem& system = GetParticleSystem();
    int low = 100;
    int high = 0;
    for (int i = 0; i < 60; ++i) {
        system.Clear();
        system.AddEmitter(ParticleSystem::MakeEmitter(EMITTER_ENEMY_HIT));
        Frame();
        low = std::min(low, system.CountParticles());
        high = std::max(high, system.CountParticles());
    }
    EXPECT_EQ(low, 10);
    EXPECT_EQ(high, 15);
    system.Clear();
    system.AddEmitter(ParticleSystem::MakeEmitter(EMITTER_SOUL_FIRST));
    Frame();
    EXPECT_EQ(system.CountParticles(), 1);
}

TEST_F(ParticleSystemTest, TrailEmitsAtItsRateAndStaysPastItsDuration) {
    ParticleSystem& system = GetParticleSystem();
    SetClockStep(0.025);
    system.AddEmitter(ParticleSystem::MakeEmitter(EMITTER_FLYING_TRAIL));
    float lastSpawn = -1.0f;
    int spawns = 0;
    for (int i = 0; i < 40; ++i) {
        const int before = system.CountParticles();
        Frame();
        if (system.CountParticles() > before) {
            EXPECT_EQ(system.CountParticles(), before + 1);
            if (lastSpawn >= 0.0f) {
                EXPECT_GE(GetScaledTotalTime() - lastSpawn, 0.1f - 1e-4f);
            }
            lastSpawn = GetScaledTotalTime();
            ++spawns;
        }
    }
    // 1 s of game time at 10 per second, each spawn waiting for the first frame past its time.
    EXPECT_GE(spawns, 7);
    EXPECT_LE(spawns, 10);
    for (int i = 0; i < 600; ++i) {
        Frame();
    }
    EXPECT_EQ(system.CountEmitters(), 1u);
    // Particles live 1.5 s, so a steady trail holds a dozen or so.
    EXPECT_GE(system.CountParticles(), 10);
    EXPECT_LE(system.CountParticles(), 16);
}

TEST_F(ParticleSystemTest, ContinuousEmissionPausesAtTheParticleLimit) {
    ParticleSystem& system = GetParticleSystem();
    Emitter e = ParticleSystem::MakeEmitter(EMITTER_FLYING_TRAIL);
    e.maxParticles = 3;
    e.rate = 100.0f;
    e.life = {0.35f, 0.35f};
    system.AddEmitter(e);
    for (int i = 0; i < 3; ++i) {
        Frame();
    }
    EXPECT_EQ(system.CountParticles(), 3);
    Frame();
    EXPECT_EQ(system.CountParticles(), 3);  // full: nothing new
    Frame();                                // the first one died at 0.35 s: room again
    EXPECT_EQ(system.CountParticles(), 3);
    EXPECT_LT(system.GetEmitters()[0].particles.back().life, 0.35f);
}

TEST_F(ParticleSystemTest, SoulSparkFadesOutBeforeItsLifeEnds) {
    ParticleSystem& system = GetParticleSystem();
    SetClockStep(1.0 / 60.0);
    system.AddEmitter(ParticleSystem::MakeEmitter(EMITTER_SOUL_FIRST));
    Frame();
    for (int i = 0; i < 41; ++i) {  // 0.683 s
        Frame();
    }
    ASSERT_EQ(system.CountParticles(), 1);
    const Particle& spark = system.GetEmitters()[0].particles[0];
    EXPECT_FLOAT_EQ(spark.alpha, 0.0f);
    EXPECT_GT(spark.life, 0.0f);
    // It falls: gravity of 5..10 pulls it down from an upward start.
    EXPECT_LT(spark.velocity.y, 10.0f);
}

TEST_F(ParticleSystemTest, InactiveEmitterStillBurstsButNeitherMovesNorEmits) {
    ParticleSystem& system = GetParticleSystem();
    Emitter e = ParticleSystem::MakeEmitter(EMITTER_ENEMY_HIT);
    e.active = false;
    e.rate = 50.0f;
    system.AddEmitter(e);
    Frame();
    const int spawned = system.CountParticles();
    EXPECT_GE(spawned, 10);
    const Vector3 before = system.GetEmitters()[0].particles[0].transform.position;
    for (int i = 0; i < 30; ++i) {
        Frame();
    }
    EXPECT_EQ(system.CountParticles(), spawned);
    EXPECT_EQ(system.GetEmitters()[0].particles[0].transform.position, before);
    EXPECT_EQ(system.CountEmitters(), 1u);  // its duration does not run while inactive
}

TEST_F(ParticleSystemTest, EmittersAreRemovedByIdAndIdsAreNeverReused) {
    ParticleSystem& system = GetParticleSystem();
    const int a = system.AddEmitter(ParticleSystem::MakeEmitter(EMITTER_FLYING_TRAIL));
    const int b = system.AddEmitter(ParticleSystem::MakeEmitter(EMITTER_FLYING_TRAIL));
    EXPECT_EQ(b, a + 1);
    system.RemoveEmitter(a);
    system.RemoveEmitter(12345);
    ASSERT_EQ(system.CountEmitters(), 1u);
    EXPECT_EQ(system.GetEmitters()[0].id, b);
    system.Clear();
    EXPECT_EQ(system.AddEmitter(ParticleSystem::MakeEmitter(EMITTER_PLAYER_DUST)), b + 1);
}

TEST_F(ParticleSystemTest, FollowingEmitterSpawnsAtItsTargetAndRelativeParticlesMoveWithIt) {
    ParticleSystem& system = GetParticleSystem();
    Transform target;
    target.SetPosition(4.0f, -2.0f, 11.0f);
    Emitter e = ParticleSystem::MakeEmitter(EMITTER_FLYING_TRAIL);
    e.target = &target;
    e.zOffset = 3.0f;
    e.velocity = {Vector3(), Vector3()};
    e.acceleration = {Vector3(), Vector3()};
    const int id = system.AddEmitter(e);
    Frame();
    Frame();
    const Particle& p = system.FindEmitter(id)->particles.at(0);
    EXPECT_FLOAT_EQ(p.transform.position.x, 4.0f);
    EXPECT_FLOAT_EQ(p.transform.position.z, 3.0f);
    EXPECT_FLOAT_EQ(system.FindEmitter(id)->position.position.z, 14.0f);

    Emitter relative = ParticleSystem::MakeEmitter(EMITTER_SOUL_FIRST);
    relative.relative = true;
    const int rid = system.AddEmitter(relative);
    Frame();
    EXPECT_FLOAT_EQ(system.FindEmitter(rid)->particles.at(0).transform.position.x,
                    system.FindEmitter(rid)->particles.at(0).velocity.x * 0.1f);
}

}  // namespace
