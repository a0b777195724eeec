// What the game's sound layer plays, heard through OpenAL Soft's wave-file output.
#include <gtest/gtest.h>

#include <vector>

#include "audio/Audio.h"
#include "audio/OggTestFiles.h"
#include "audio/WaveRecording.h"
#include "resources/ResourceLoader.h"

namespace {

constexpr double kSilence = 1e-3;
// The output runs in real time a block behind and may lag when the machine is busy: what a call
// changes is heard up to this long before or after the call.
constexpr double kSlack = 0.1;

// The times just before and just after an action.
struct Moment {
    double before = 0.0;
    double after = 0.0;
};

template <typename Action>
Moment At(const AudioSession& session, Action action) {
    Moment moment;
    moment.before = session.Now();
    action();
    moment.after = session.Now();
    return moment;
}

std::string TonePath(const char* name) {
    return AudioTestDir() + "/" + name;
}

// A sound loaded on the session's device, released when the test ends.
class LoadedSound {
public:
    explicit LoadedSound(const std::string& path) : sound(LoadSound(path.c_str())) {}
    ~LoadedSound() { ReleaseSound(sound); }
    LoadedSound(const LoadedSound&) = delete;
    LoadedSound& operator=(const LoadedSound&) = delete;
    Sound* get() const { return sound; }

private:
    Sound* sound;
};

class AudioPlayback : public testing::Test {
protected:
    static void SetUpTestSuite() {
        WriteToneFile(TonePath("a440.ogg"), 440.0f, 0.6f);
        // 110 whole periods, so that the loop seam continues the wave.
        WriteToneFile(TonePath("loop440.ogg"), 440.0f, 0.25f);
        WriteToneFile(TonePath("a880.ogg"), 880.0f, 0.3f);
        WriteToneFile(TonePath("long440.ogg"), 440.0f, 2.0f);
        WriteToneFile(TonePath("blip.ogg"), 440.0f, 0.05f);
    }
};

}  // namespace

TEST_F(AudioPlayback, PlayedSoundIsHeardAtItsPitchAndEnds) {
    AudioSession session;
    ASSERT_TRUE(IsAudioRunning());
    LoadedSound tone(TonePath("a440.ogg"));
    ASSERT_NE(tone.get(), nullptr);
    EXPECT_EQ(tone.get()->frames, 26460);
    EXPECT_EQ(tone.get()->channels, 1);

    const double start = session.Now();
    const AudioChannel channel = PlaySound(tone.get(), 1.0f, false, 1.0f);
    EXPECT_TRUE(channel.WasStarted());
    session.WaitUntil(start + 0.3);
    EXPECT_TRUE(channel.IsPlaying());
    session.WaitUntil(start + 0.9);
    EXPECT_FALSE(channel.IsPlaying());
    EXPECT_EQ(CountBusyVoices(), 0);

    const Recording heard = session.Finish();
    ASSERT_GT(heard.Duration(), start + 0.85);
    EXPECT_GT(heard.Rms(start + 0.1, start + 0.45), 0.1);
    EXPECT_NEAR(heard.Frequency(start + 0.1, start + 0.45), 440.0, 4.0);
    EXPECT_LT(heard.Rms(start + 0.75, start + 0.85), kSilence);  // a one-shot plays once
}

TEST_F(AudioPlayback, LoopedSoundKeepsPlayingWithoutGapOrClick) {
    AudioSession session;
    LoadedSound loop(TonePath("loop440.ogg"));
    ASSERT_NE(loop.get(), nullptr);

    const double start = session.Now();
    const AudioChannel channel = PlaySound(loop.get(), 1.0f, true, 1.0f);
    session.WaitUntil(start + 1.2);
    EXPECT_TRUE(channel.IsPlaying());  // more than four times its length
    const Moment stopped = At(session, [] { StopAllSounds(); });
    EXPECT_FALSE(channel.IsPlaying());
    session.WaitUntil(stopped.after + kSlack + 0.2);

    const Recording heard = session.Finish();
    const double end = stopped.before - kSlack;
    const double level = heard.Rms(start + 0.05, end);
    EXPECT_GT(level, 0.1);
    // A gap at a seam would show as a quiet window, a click as a jump between samples.
    EXPECT_GT(heard.MinWindowRms(start + 0.05, end, 0.01), 0.8 * level);
    EXPECT_LT(heard.MaxStep(start + 0.05, end), 1.5 * heard.MaxStep(start + 0.05, start + 0.2));
    EXPECT_NEAR(heard.Frequency(start + 0.05, end), 440.0, 4.0);
    EXPECT_LT(heard.Rms(stopped.after + kSlack, stopped.after + kSlack + 0.15), kSilence);
}

// Judged by what the recording holds, not by when the calls were made: the music sets in, stops
// at the mute, and the first sound after the silence is the music again, not the higher effect
// started while muted (which ends before the unmute).
TEST_F(AudioPlayback, MuteSilencesWhatPlaysAndWhatStartsLater) {
    AudioSession session;
    LoadedSound music(TonePath("long440.ogg"));
    LoadedSound effect(TonePath("a880.ogg"));

    const double start = session.Now();
    PlaySound(music.get(), 1.0f, true, 1.0f);
    session.WaitUntil(start + 0.35);
    const Moment muted = At(session, [] { SetMute(true); });
    EXPECT_TRUE(IsMuted());
    session.WaitUntil(muted.after + 0.1);
    const AudioChannel later = PlaySound(effect.get(), 1.0f, false, 1.0f);
    EXPECT_TRUE(later.IsPlaying());  // muted voices still run
    session.WaitUntil(muted.after + 0.5);
    while (later.IsPlaying()) {  // the effect runs its course unheard, however slow the output
        session.WaitUntil(session.Now() + 0.05);
    }
    At(session, [] { SetMute(false); });
    session.WaitUntil(session.Now() + 0.4);

    const Recording heard = session.Finish();
    constexpr double kWindow = 0.01;
    const double musicOn = heard.Onset(start, 0.05, kWindow);
    ASSERT_GE(musicOn, 0.0) << "the music was never heard";
    const double silenceOn = heard.Onset(musicOn, kSilence, kWindow, true);
    ASSERT_GT(silenceOn, musicOn) << "the mute silenced nothing";
    const double soundAgain = heard.Onset(silenceOn, 0.05, kWindow);
    ASSERT_GT(soundAgain, silenceOn) << "nothing was heard after the unmute";
    EXPECT_GT(heard.Rms(musicOn + kWindow, silenceOn - kWindow), 0.1);
    EXPECT_NEAR(heard.Frequency(soundAgain + 0.02, soundAgain + 0.2), 440.0, 4.0)
        << "the first sound after the silence is the music, not the effect started while muted";
    EXPECT_GT(heard.Rms(soundAgain + 0.02, soundAgain + 0.2), 0.1);
}

TEST_F(AudioPlayback, ChannelAndMasterVolumeScaleTheLevel) {
    AudioSession session;
    LoadedSound tone(TonePath("long440.ogg"));
    std::vector<double> marks;

    constexpr double kPhase = 0.45;
    marks.push_back(At(session, [&] { PlaySound(tone.get(), 1.0f, true, 1.0f); }).after);
    session.WaitUntil(marks.back() + kPhase);
    marks.push_back(At(session, [&] {
                        StopAllSounds();
                        PlaySound(tone.get(), 0.5f, true, 1.0f);
                    }).after);
    session.WaitUntil(marks.back() + kPhase);
    AudioChannel playing;
    marks.push_back(At(session, [&] {
                        StopAllSounds();
                        SetMasterVolume(0.25f);
                        playing = PlaySound(tone.get(), 1.0f, true, 1.0f);
                    }).after);
    session.WaitUntil(marks.back() + kPhase);
    // Reaches the voice already playing.
    marks.push_back(At(session, [] { SetMasterVolume(1.0f); }).after);
    session.WaitUntil(marks.back() + kPhase);
    EXPECT_TRUE(playing.IsPlaying());

    const Recording heard = session.Finish();
    std::vector<double> levels;
    for (const double mark : marks) {
        levels.push_back(heard.Rms(mark + kSlack, mark + kPhase - kSlack));
    }
    ASSERT_GT(levels[0], 0.1);
    EXPECT_NEAR(levels[1] / levels[0], 0.5, 0.03);
    EXPECT_NEAR(levels[2] / levels[0], 0.25, 0.02);
    EXPECT_NEAR(levels[3] / levels[0], 1.0, 0.03);
}

TEST_F(AudioPlayback, HalfPitchHalvesTheFrequencyAndDoublesTheLength) {
    AudioSession session;
    LoadedSound tone(TonePath("a880.ogg"));

    const double slow = session.Now();
    PlaySound(tone.get(), 1.0f, false, 0.5f);
    session.WaitUntil(slow + 0.9);
    const double normal = session.Now();
    PlaySound(tone.get(), 1.0f, false, 1.0f);
    session.WaitUntil(normal + 0.4);

    const Recording heard = session.Finish();
    EXPECT_NEAR(heard.Frequency(slow + 0.05, slow + 0.45), 440.0, 4.0);
    EXPECT_GT(heard.Rms(slow + 0.4, slow + 0.48), 0.1);  // past the sound's own 0.3 s
    EXPECT_LT(heard.Rms(slow + 0.6 + kSlack, normal - 0.05), kSilence);
    EXPECT_NEAR(heard.Frequency(normal + 0.05, normal + 0.25), 880.0, 8.0);
}

TEST_F(AudioPlayback, PauseHoldsEveryVoiceAndResumeRestartsThem) {
    AudioSession session;
    LoadedSound music(TonePath("long440.ogg"));
    LoadedSound effect(TonePath("a880.ogg"));

    const double start = session.Now();
    const AudioChannel looping = PlaySound(music.get(), 1.0f, true, 1.0f);
    session.WaitUntil(start + 0.35);
    const Moment paused = At(session, [] { PauseAllSounds(); });
    EXPECT_TRUE(IsAudioPaused());
    EXPECT_TRUE(looping.IsPlaying());  // paused is not finished
    session.WaitUntil(paused.after + 0.15);
    StopAllSounds();
    // A sound started while paused waits for the resume.
    const AudioChannel held = PlaySound(effect.get(), 1.0f, false, 1.0f);
    session.WaitUntil(paused.after + 0.5);
    EXPECT_TRUE(held.IsPlaying());
    const Moment resumed = At(session, [] { ResumeAllSounds(); });
    session.WaitUntil(resumed.after + 0.6);
    EXPECT_FALSE(held.IsPlaying());

    const Recording heard = session.Finish();
    EXPECT_GT(heard.Rms(start + 0.05, paused.before - kSlack), 0.1);
    EXPECT_LT(heard.Rms(paused.after + kSlack, resumed.before - kSlack), kSilence);
    // The held sound (0.3 s) plays from the resume.
    EXPECT_GT(heard.Rms(resumed.after + 0.05, resumed.after + 0.19), 0.1);
    EXPECT_NEAR(heard.Frequency(resumed.after + 0.05, resumed.after + 0.19), 880.0, 8.0);
    EXPECT_LT(heard.Rms(resumed.after + 0.3 + kSlack, resumed.after + 0.55), kSilence);
}

TEST_F(AudioPlayback, ReleasingAPlayingSoundSilencesIt) {
    AudioSession session;
    Sound* music = LoadSound(TonePath("long440.ogg").c_str());
    const double start = session.Now();
    const AudioChannel channel = PlaySound(music, 1.0f, true, 1.0f);
    session.WaitUntil(start + 0.3);
    const Moment released = At(session, [&] { ReleaseSound(music); });
    EXPECT_FALSE(channel.IsPlaying());
    session.WaitUntil(released.after + 0.3);

    const Recording heard = session.Finish();
    EXPECT_GT(heard.Rms(start + 0.05, released.before - kSlack), 0.1);
    EXPECT_LT(heard.Rms(released.after + kSlack, released.after + 0.25), kSilence);
}

TEST_F(AudioPlayback, VoiceBudgetDropsSoundsBeyondItAndReclaimsFinishedOnes) {
    AudioSession session;
    LoadedSound tone(TonePath("a440.ogg"));
    LoadedSound blip(TonePath("blip.ogg"));

    int started = 0;
    for (int i = 0; i < kVoiceBudget + 88; ++i) {
        started += PlaySound(tone.get(), 0.001f, false, 1.0f).WasStarted() ? 1 : 0;
    }
    EXPECT_EQ(started, kVoiceBudget);
    EXPECT_EQ(CountBusyVoices(), kVoiceBudget);
    StopAllSounds();
    EXPECT_EQ(CountBusyVoices(), 0);

    for (int i = 0; i < kVoiceBudget; ++i) {
        ASSERT_TRUE(PlaySound(blip.get(), 0.001f, false, 1.0f).WasStarted());
    }
    const double full = session.Now();
    session.WaitUntil(full + 0.25);
    AudioUpdate();
    EXPECT_EQ(CountBusyVoices(), 0);
    EXPECT_TRUE(PlaySound(blip.get(), 0.001f, false, 1.0f).WasStarted());
}

TEST_F(AudioPlayback, ChannelOfAReusedVoiceReportsNotPlaying) {
    AudioSession session;
    LoadedSound blip(TonePath("blip.ogg"));
    LoadedSound tone(TonePath("a440.ogg"));

    const AudioChannel first = PlaySound(blip.get(), 0.1f, false, 1.0f);
    session.WaitUntil(session.Now() + 0.2);
    const AudioChannel second = PlaySound(tone.get(), 0.1f, false, 1.0f);
    EXPECT_TRUE(second.IsPlaying());
    EXPECT_FALSE(first.IsPlaying());  // its voice now carries another sound
    EXPECT_FALSE(AudioChannel().IsPlaying());
}

TEST_F(AudioPlayback, ChannelOfAnEarlierDeviceReportsNotPlaying) {
    AudioChannel earlier;
    {
        AudioSession session;
        LoadedSound tone(TonePath("long440.ogg"));
        earlier = PlaySound(tone.get(), 0.1f, true, 1.0f);
        EXPECT_TRUE(earlier.IsPlaying());
    }
    EXPECT_FALSE(earlier.IsPlaying());
    AudioSession session;
    LoadedSound tone(TonePath("long440.ogg"));
    const AudioChannel now = PlaySound(tone.get(), 0.1f, true, 1.0f);
    EXPECT_TRUE(now.IsPlaying());
    EXPECT_FALSE(earlier.IsPlaying());  // same voice slot, another device
}

TEST_F(AudioPlayback, PlayAudioPlaysTheLoadersSoundAndIgnoresTheRest) {
    AudioSession session;
    Sound* music = LoadSound(TonePath("long440.ogg").c_str());
    GetResources().SetSounds({{MENU_BGM, music}, {GAMEPLAY_BGM, nullptr}});

    testing::internal::CaptureStdout();
    const double start = session.Now();
    const AudioChannel menu = PlayAudio(MENU_BGM, 1.0f, true, 1.0f);
    EXPECT_FALSE(PlayAudio(GAMEPLAY_BGM, 1.0f, true, 1.0f).WasStarted());  // failed to load
    EXPECT_FALSE(PlayAudio(BOSS_SMASH, 1.0f, false, 1.0f).WasStarted());   // not in the table
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "sound id 6 is not in the sound table\n");
    session.WaitUntil(start + 0.3);
    EXPECT_TRUE(menu.IsPlaying());

    const Recording heard = session.Finish();
    EXPECT_GT(heard.Rms(start + 0.05, start + 0.25), 0.1);
    GetResources().SetSounds({});
    ReleaseSound(music);
}
