#include <sys/stat.h>

#include "PlayerTesting.h"
#include "audio/Audio.h"
#include "resources/ResourceLoader.h"

namespace {

const bool kWaveOutput = UseWaveOutput("player", true);

class AttackSoundTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        struct stat info;
        ASSERT_EQ(stat("Audio/Lirra_Attack_Light.ogg", &info), 0) << "no attack sounds in the data directory";
        if (!IsAudioRunning()) {
            GTEST_SKIP() << "no output device";
        }
        light = LoadSound("Audio/Lirra_Attack_Light.ogg");
        heavy = LoadSound("Audio/Lirra_Attack_Heavy.ogg");
        GetResources().SetSounds({{LIRRA_ATTACK_LIGHT, light}, {LIRRA_ATTACK_HEAVY, heavy}});
    }
    void TearDown() override {
        StopAllSounds();
        GetResources().SetSounds({});
        ReleaseSound(light);
        ReleaseSound(heavy);
        PlayerTest::TearDown();
    }

    // Frames until Lirra shows `frame`, then one more so the voices are counted.
    void RunToFrame(int frame) {
        for (int i = 0; i < 60 && Animation()->GetFrame() != frame; ++i) {
            Frame();
        }
        ASSERT_EQ(Animation()->GetFrame(), frame);
        Frame();
    }

    Sound* light = nullptr;
    Sound* heavy = nullptr;
};

TEST_F(AttackSoundTest, TheLightStrikeSoundsOnceAndIsNotRestartedWhileItPlays) {
    ASSERT_NE(light, nullptr);
    StartLevel();
    StopAllSounds();
    Frame();
    ASSERT_EQ(CountBusyVoices(), 0);
    Press(GLFW_KEY_Q);
    Frame();
    Release(GLFW_KEY_Q);
    RunToFrame(15);
    EXPECT_EQ(CountBusyVoices(), 1);
    RunToFrame(16);
    EXPECT_EQ(CountBusyVoices(), 1) << "the back-swing has no sound of its own";

    if (light->GetLength() > 0.5f) {
        Frames(4);
        Press(GLFW_KEY_Q);
        Frame();
        Release(GLFW_KEY_Q);
        RunToFrame(15);
        EXPECT_EQ(CountBusyVoices(), 1) << "a second voice for a sound still playing";
    }
}

TEST_F(AttackSoundTest, TheHeavyStrikeSoundsAtItsStrikingFrame) {
    ASSERT_NE(heavy, nullptr);
    StartLevel();
    StopAllSounds();
    GiveSoul(kSoulPurple);
    Frame();
    Press(GLFW_KEY_W);
    Frame();
    Release(GLFW_KEY_W);
    ASSERT_EQ(lirra.state, PLAYER_HEAVY_ATTACK);
    Frame();
    EXPECT_EQ(CountBusyVoices(), 0);
    RunToFrame(21);
    EXPECT_EQ(CountBusyVoices(), 1);
}

}  // namespace
