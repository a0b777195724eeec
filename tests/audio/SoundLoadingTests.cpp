// Loading sounds: decoding, the error lines, bad files and loading on a worker thread.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "audio/Audio.h"
#include "audio/AudioErrors.h"
#include "audio/OggTestFiles.h"
#include "audio/WaveRecording.h"
#include "resources/ResourceLoader.h"
#include "support/TestGame.h"

namespace {

std::string LoadAndCapture(const std::string& path, Sound** sound) {
    testing::internal::CaptureStdout();
    *sound = LoadSound(path.c_str());
    return testing::internal::GetCapturedStdout();
}

std::string ExecutablePath() {
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

}  // namespace

TEST(SoundLoading, DecodesMonoAndStereoFilesWhole) {
    AudioSession session;
    const std::string mono = WriteToneFile(AudioTestDir() + "/mono22.ogg", 300.0f, 0.5f, 0.5f, 1, 22050);
    const std::string stereo = WriteToneFile(AudioTestDir() + "/stereo.ogg", 300.0f, 1.25f, 0.5f, 2, 44100);

    Sound* monoSound = nullptr;
    EXPECT_EQ(LoadAndCapture(mono, &monoSound), "Audio loaded: " + mono + "\n");
    ASSERT_NE(monoSound, nullptr);
    EXPECT_EQ(monoSound->frames, 11025);
    EXPECT_EQ(monoSound->sampleRate, 22050);
    EXPECT_EQ(monoSound->channels, 1);
    EXPECT_NE(monoSound->buffer, 0u);

    Sound* stereoSound = nullptr;
    LoadAndCapture(stereo, &stereoSound);
    ASSERT_NE(stereoSound, nullptr);
    EXPECT_EQ(stereoSound->channels, 2);
    EXPECT_FLOAT_EQ(stereoSound->GetLength(), 1.25f);
    ReleaseSound(monoSound);
    ReleaseSound(stereoSound);
}

TEST(SoundLoading, MissingOrBadFilesPrintTheErrorLineAndGiveNoSound) {
    AudioSession session;
    const std::string dir = AudioTestDir();
    WriteFile(dir + "/garbage.ogg", std::string(4096, 'x'));
    WriteFile(dir + "/empty.ogg", "");
    const std::string whole = ReadFile(WriteToneFile(dir + "/whole.ogg", 440.0f, 0.5f));
    WriteFile(dir + "/headers-cut.ogg", whole.substr(0, 60));

    struct Case {
        std::string path;
        std::string line;
    };
    const Case cases[] = {
        {dir + "/no-such-sound.ogg", "FMOD error! (1) File not found.\n"},
        {dir + "/no-such-dir/sound.ogg", "FMOD error! (1) File not found.\n"},
        {dir, "FMOD error! (2) The file could not be read.\n"},
        {dir + "/garbage.ogg", "FMOD error! (3) Unsupported or corrupt sound format.\n"},
        {dir + "/empty.ogg", "FMOD error! (3) Unsupported or corrupt sound format.\n"},
        {dir + "/headers-cut.ogg", "FMOD error! (3) Unsupported or corrupt sound format.\n"},
    };
    for (const Case& bad : cases) {
        Sound* sound = reinterpret_cast<Sound*>(1);
        EXPECT_EQ(LoadAndCapture(bad.path, &sound), bad.line) << bad.path;
        EXPECT_EQ(sound, nullptr) << bad.path;
    }

    // Playing what failed to load is silent and harmless.
    const double start = session.Now();
    EXPECT_FALSE(PlaySound(nullptr, 1.0f, true, 1.0f).WasStarted());
    ReleaseSound(nullptr);
    session.WaitUntil(start + 0.2);
    const Recording heard = session.Finish();
    EXPECT_LT(heard.Rms(0.0, heard.Duration()), 1e-3);
}

TEST(SoundLoading, ErrorTableCoversEveryCode) {
    EXPECT_STREQ(AudioErrorString(AUDIO_OK), "No errors.");
    EXPECT_STREQ(AudioErrorString(AUDIO_ERR_NO_DEVICE), "No audio output device could be opened.");
    EXPECT_STREQ(AudioErrorString(-1), "Unknown error.");
    EXPECT_STREQ(AudioErrorString(AUDIO_ERR_MEMORY + 1), "Unknown error.");
}

TEST(SoundLoading, WorkerLoadsWhileTheMainThreadPlaysAndUpdates) {
    AudioSession session;
    const std::string dir = AudioTestDir();
    constexpr int kSounds = 12;
    for (int i = 0; i < kSounds; ++i) {
        WriteToneFile(dir + "/worker" + std::to_string(i) + ".ogg", 200.0f + 50.0f * i, 0.3f + 0.05f * i, 0.3f,
                      1 + i % 2);
    }
    Sound* playing = LoadSound((dir + "/worker0.ogg").c_str());

    testing::internal::CaptureStdout();
    std::vector<Sound*> loaded(kSounds, nullptr);
    std::atomic<bool> done = false;
    std::thread worker([&] {
        for (int i = 0; i < kSounds; ++i) {
            loaded[i] = LoadSound((dir + "/worker" + std::to_string(i) + ".ogg").c_str());
        }
        done = true;
    });
    int plays = 0;
    while (!done) {
        AudioUpdate();
        PlaySound(playing, 0.01f, false, 1.0f).IsPlaying();
        ++plays;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    worker.join();
    testing::internal::GetCapturedStdout();

    EXPECT_GT(plays, 0);
    for (int i = 0; i < kSounds; ++i) {
        ASSERT_NE(loaded[i], nullptr) << i;
        EXPECT_NE(loaded[i]->buffer, 0u) << i;
        EXPECT_EQ(loaded[i]->channels, 1 + i % 2) << i;
        ReleaseSound(loaded[i]);
    }
    ReleaseSound(playing);
}

// With no output device every call does nothing. OpenAL reads its configuration once per
// process, so this runs in a child process whose wave output cannot be opened.
TEST(NoAudioDevice, EveryCallIsHarmless) {
    const std::string dir = AudioTestDir();
    const std::string config = dir + "/no-device.conf";
    WriteFile(config, "[wave]\nfile = " + dir + "/missing-dir/never.wav\n");
    WriteToneFile(dir + "/child.ogg", 440.0f, 0.2f);
    const std::string command = "LIRRA_AUDIO_TEST_CHILD=" + dir + " ALSOFT_DRIVERS=wave ALSOFT_CONF=" + config + " " +
                                ExecutablePath() + " --gtest_filter=NoAudioDeviceChild.*";
    std::string output;
    EXPECT_EQ(RunCommand(command, &output), 0) << output;
    EXPECT_NE(output.find("FMOD error! (6) No audio output device could be opened.\n"), std::string::npos) << output;
    EXPECT_NE(output.find("Audio loaded: " + dir + "/child.ogg\n"), std::string::npos) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

TEST(NoAudioDeviceChild, RunsOnlyInsideTheNoDeviceTest) {
    const char* parentDir = std::getenv("LIRRA_AUDIO_TEST_CHILD");
    if (parentDir == nullptr) {
        GTEST_SKIP() << "started by NoAudioDevice.EveryCallIsHarmless";
    }
    AudioInit();
    ASSERT_FALSE(IsAudioRunning());
    Sound* sound = LoadSound((std::string(parentDir) + "/child.ogg").c_str());
    ASSERT_NE(sound, nullptr);  // the file is still checked
    EXPECT_EQ(sound->buffer, 0u);
    AudioUpdate();
    const AudioChannel channel = PlaySound(sound, 1.0f, true, 1.0f);
    EXPECT_FALSE(channel.WasStarted());
    EXPECT_FALSE(channel.IsPlaying());
    EXPECT_FALSE(PlayAudio(MENU_BGM, 0.1f, true, 1.0f).WasStarted());
    PauseAllSounds();
    ResumeAllSounds();
    SetMute(true);
    SetMasterVolume(0.3f);
    StopAllSounds();
    AudioUpdate();
    EXPECT_FALSE(IsMuted());
    EXPECT_EQ(CountBusyVoices(), 0);
    ReleaseSound(sound);
    AudioShutdown();
}
