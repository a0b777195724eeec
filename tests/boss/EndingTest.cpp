#include <string>

#include "boss/BossTesting.h"
#include "graphics/Camera.h"
#include "graphics/PostProcess.h"
#include "levels/Dialogue.h"
#include "physics/Rigidbody.h"

class EndingTest : public BossTest {
protected:
    StateEnd* StartEnding(float gamma = 0.7f, float exposure = 0.5f) {
        SetGamma(gamma);
        SetExposure(exposure);
        SetBloomIntensity(1.0f);
        // Reached from another state, as in play: the change resets the camera before the load.
        Frames(2);
        SetState(std::make_unique<StateEnd>());
        auto* ending = SetNewState<StateEnd>();
        SetGamma(gamma);
        SetExposure(exposure);
        Frame();
        return ending;
    }
    void WalkTo(float x) {
        Player& lirra = GetPlayer();
        const Vector3 at = lirra.GetTransform().GetPosition();
        lirra.GetTransform().SetPosition(x, at.y, at.z);
    }
    // The number of frames whose dialogue box newly showed `text`.
    int CountShowings(const std::string& text, int frames, float walkX) {
        int showings = 0;
        bool showing = IsDialogueVisible() && GetDialogue().text == text;
        for (int i = 0; i < frames; ++i) {
            WalkTo(walkX);
            Frame();
            const bool now = IsDialogueVisible() && GetDialogue().text == text;
            showings += now && !showing ? 1 : 0;
            showing = now;
        }
        return showings;
    }
};

TEST_F(EndingTest, LirraStandsAtTheEndOfThePathUnderTheEndingCamera) {
    StateEnd* ending = StartEnding();
    EXPECT_FALSE(ending->tiles.empty());
    EXPECT_FLOAT_EQ(GetCamera().GetZoom(), 0.55f);
    EXPECT_FLOAT_EQ(GetPlayer().localTimeScale, 0.4f);
    EXPECT_TRUE(GetPlayer().inputLocked);
    EXPECT_TRUE(GetPlayer().jumpDisabled);
    ASSERT_NE(ending->lookAlike, nullptr);
    EXPECT_EQ(ending->lookAlike->GetTransform().GetPosition(), Vector3(-9.0f, 2.0f, 0.0f));
    Seconds(1.0f);
    EXPECT_FALSE(GetPlayer().GetComponent<Rigidbody>()->airborne);
    // The ground's top is at y = 0.5: Lirra's feet rest on it.
    EXPECT_NEAR(GetPlayer().GetTransform().GetPosition().y - 1.45f, 0.5f, 0.05f);
    EXPECT_FLOAT_EQ(GetCamera().GetPosition().x, 27.0f);
    EXPECT_FLOAT_EQ(GetCamera().GetPosition().y, 2.1f);
}

TEST_F(EndingTest, ThePictureComesBackFromWhiteAndThenLirraMayWalk) {
    StateEnd* ending = StartEnding(60.5f, 32.0f);
    Frame();
    EXPECT_LT(ending->gamma, 60.5f);
    int frames = 0;
    while (ending->gamma > 5.0f && frames < 20 * kFramesPerSecond) {
        Frame();
        ++frames;
    }
    EXPECT_NEAR(frames / 60.0f, 55.5f / 6.5f, 0.1f);
    EXPECT_TRUE(GetPlayer().inputLocked);
    Seconds(2.1f);
    EXPECT_FALSE(GetPlayer().inputLocked);
    EXPECT_NEAR(GetGamma(), 0.7f, 0.01f);
    EXPECT_NEAR(GetExposure(), 0.5f, 0.01f);
}

TEST_F(EndingTest, DiredsRemarksComeOnceEachEvenWhenLirraWalksBack) {
    StateEnd* ending = StartEnding();
    Frame();
    WalkTo(28.0f);
    Frame();
    ASSERT_EQ(ending->step, 1);
    EXPECT_FLOAT_EQ(GetPlayer().localTimeScale, 0.2f);
    EXPECT_EQ(CountShowings("Dired, I'm homeee!", 5 * kFramesPerSecond, 28.0f), 1);
    EXPECT_EQ(ending->step, 2);
    EXPECT_EQ(CountShowings("I'll be making APPLE PIE in a while!", 30, 17.0f), 1);
    EXPECT_EQ(ending->step, 3);
    // Back past the mark and over it again: the remark does not come back.
    EXPECT_EQ(CountShowings("I'll be making APPLE PIE in a while!", 30, 20.0f), 0);
    EXPECT_EQ(CountShowings("I'll be making APPLE PIE in a while!", 30, 17.0f), 0);
    EXPECT_EQ(ending->step, 3);
    EXPECT_EQ(CountShowings("It must've been tiring, isn't it?", 30, 12.0f), 1);
    EXPECT_EQ(CountShowings("Souls are not easy to harvest, aren't they?", 30, 7.0f), 1);
    EXPECT_EQ(CountShowings("They talk a little too much sometimes...", 30, 2.0f), 1);
    EXPECT_EQ(ending->step, 6);
    EXPECT_EQ(CountShowings("Well done on your first collection", 30, -4.0f), 1);
    EXPECT_TRUE(GetPlayer().inputLocked);
    EXPECT_EQ(ending->step, 6);
}

TEST_F(EndingTest, TheMusicTurnsOnTheFrameAfterLirraAsksForDired) {
    StateEnd* ending = StartEnding();
    Frame();
    ending->step = 7;
    ending->lineShown = true;
    Seconds(0.6f);
    ASSERT_TRUE(IsDialogueVisible());
    ASSERT_EQ(GetDialogue().text, "Dired...?");
    Seconds(0.5f);
    FinishDialogue();
    EXPECT_EQ(ending->step, 8);
    Frame();
    EXPECT_EQ(ending->step, 9);
    ASSERT_TRUE(IsDialogueVisible());
    EXPECT_EQ(GetDialogue().text, "Lirra!!");
}

TEST_F(EndingTest, TheRevelationWaitsOnEachLineAndEndsInTheCredits) {
    StateEnd* ending = StartEnding();
    Frame();
    ending->step = 7;
    ending->lineShown = true;
    int frames = 0;
    std::string lastLine;
    std::vector<std::string> lines;
    while (ending->step < 27 && frames < 120 * kFramesPerSecond) {
        Frame();
        ++frames;
        if (IsDialogueVisible() && GetDialogue().text != lastLine) {
            lastLine = GetDialogue().text;
            lines.push_back(lastLine);
        }
        // Odd steps wait for their line to close.
        if (ending->step % 2 == 1 && ending->step > 10) {
            ASSERT_TRUE(IsDialogueVisible()) << "step " << ending->step;
        }
    }
    ASSERT_EQ(ending->step, 27);
    const std::vector<std::string> expected = {
        "Dired...?",
        "Lirra!!",
        "You're earlier than expected...",
        "Who's...",
        "This isn't something you should know",
        "What..? NO!!",
        "It's time for you to forget it all...",
        "DIRED, NO!!",
        "Chant: It's all a bad dream...",
        "Dired?",
        "Who's Lirra?",
        "She looks just like me...",
        GetCreditsText(),
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(GetDialogue().name, "Credits");
    EXPECT_EQ(GetDialogue().speed, 10.0f);
    const std::string credits = GetCreditsText();
    EXPECT_EQ(credits.substr(credits.size() - 11), "====End====");
    // The school whose logo the splash shows presents the game; no other school is named.
    EXPECT_NE(credits.find("Brelmor School of Games"), std::string::npos);
    EXPECT_EQ(credits.find("Academy"), std::string::npos);
}
