// The generated sounds: seven Ogg Vorbis files at 44.1 kHz; the three tunes are 30 to 90 seconds
// long and loop without a jump; the effects are short and start and end in silence.
#include "asset_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace assets_test;

namespace {

const char* const kMusic[] = {"Audio/Menu_BGM.ogg", "Audio/Gameplay_BGM.ogg", "Audio/Boss_BGM.ogg"};
const char* const kEffects[] = {"Audio/Lirra_Attack_Light.ogg", "Audio/Lirra_Attack_Heavy.ogg", "Audio/Boss_Land.ogg",
                                "Audio/Boss_Smash.ogg"};

// The largest sample-to-sample change that occurs in the music, ignoring the rarest 0.1 %.
float TypicalLargeStep(const std::vector<float>& s) {
    std::vector<float> steps;
    steps.reserve(s.size());
    for (size_t i = 1; i < s.size(); i++) {
        steps.push_back(std::abs(s[i] - s[i - 1]));
    }
    const size_t k = steps.size() * 999 / 1000;
    std::nth_element(steps.begin(), steps.begin() + long(k), steps.end());
    return steps[k];
}

float Rms(const std::vector<float>& s, size_t from, size_t count) {
    double sum = 0;
    for (size_t i = from; i < from + count && i < s.size(); i++) {
        sum += double(s[i]) * s[i];
    }
    return float(std::sqrt(sum / double(count)));
}

}  // namespace

TEST(Audio, EverySoundDecodesAtCdRate) {
    for (const char* path : kMusic) {
        const Sound s = ReadOgg(DataPath(path));
        ASSERT_TRUE(s.ok) << path;
        EXPECT_EQ(s.rate, 44100) << path;
    }
    for (const char* path : kEffects) {
        const Sound s = ReadOgg(DataPath(path));
        ASSERT_TRUE(s.ok) << path;
        EXPECT_EQ(s.rate, 44100) << path;
    }
}

TEST(Audio, TunesLastHalfAMinuteToAMinuteAndAHalfAndAreNeverSilent) {
    for (const char* path : kMusic) {
        const Sound s = ReadOgg(DataPath(path));
        ASSERT_TRUE(s.ok) << path;
        EXPECT_GE(s.Seconds(), 30.0) << path;
        EXPECT_LE(s.Seconds(), 90.0) << path;
        // audible throughout, also at the game's music volume of 0.1: no second is near silence
        for (size_t at = 0; at + 44100 <= s.samples.size(); at += 44100) {
            EXPECT_GT(Rms(s.samples, at, 44100), 0.03f) << path << " second " << at / 44100;
        }
        float peak = 0;
        for (float v : s.samples) {
            peak = std::max(peak, std::abs(v));
        }
        EXPECT_LE(peak, 1.0f) << path << " clips";
    }
}

TEST(Audio, TunesLoopWithoutAJump) {
    for (const char* path : kMusic) {
        const Sound s = ReadOgg(DataPath(path));
        ASSERT_TRUE(s.ok) << path;
        ASSERT_GT(s.samples.size(), 1000u);
        const std::vector<float>& x = s.samples;
        const size_t n = x.size();
        const float large = TypicalLargeStep(x);
        // the step from the last sample to the first is an ordinary step of the music
        EXPECT_LE(std::abs(x[0] - x[n - 1]), large) << path;
        // and the slope carries on: the first sample is where the last two point to
        const float predicted = 2 * x[n - 1] - x[n - 2];
        EXPECT_LE(std::abs(x[0] - predicted), 2 * large) << path;
        // the loudness does not drop or jump at the seam
        const float before = Rms(x, n - 4410, 4410), after = Rms(x, 0, 4410);
        EXPECT_LT(std::abs(before - after), 0.5f * std::max(before, after)) << path;
    }
}

TEST(Audio, EffectsAreShortAndStartAndEndInSilence) {
    for (const char* path : kEffects) {
        SCOPED_TRACE(path);
        const Sound s = ReadOgg(DataPath(path));
        ASSERT_TRUE(s.ok);
        EXPECT_LT(s.Seconds(), 1.0);
        EXPECT_GT(s.Seconds(), 0.1);
        const size_t edge = 64;
        ASSERT_GT(s.samples.size(), edge * 4);
        for (size_t i = 0; i < edge; i++) {
            EXPECT_LT(std::abs(s.samples[i]), 0.01f) << "sample " << i;
            EXPECT_LT(std::abs(s.samples[s.samples.size() - 1 - i]), 0.01f) << "sample from the end " << i;
        }
        float peak = 0;
        for (float v : s.samples) {
            peak = std::max(peak, std::abs(v));
        }
        EXPECT_GT(peak, 0.3f);
    }
}
