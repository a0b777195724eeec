#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "automation/Trace.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "platform/FrameClock.h"
#include "support/TestGame.h"

namespace {

constexpr float kStep = 1.0f / 60.0f;

void Frame() {
    AdvanceFrameClock();
    UpdateDialogue();
}

// Runs frames until `done` holds (at most `limit` frames); returns the frames run.
template <typename Condition>
int RunUntil(Condition done, int limit = 2000) {
    int frames = 0;
    while (!done() && frames < limit) {
        Frame();
        ++frames;
    }
    return frames;
}

bool TypedOut() {
    const DialogueRequest& box = GetDialogue();
    return box.charIndex >= static_cast<int64_t>(box.text.size());
}

bool InPagePause() {
    return GetScaledTotalTime() <= GetDialogue().pageResumeTime;
}

std::vector<std::string> Lines(const std::string& shown) {
    std::vector<std::string> lines(1);
    for (char c : shown) {
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

std::string WithoutBreaks(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    return text;
}

DialogueRequest Line(const std::string& name, const std::string& text) {
    DialogueRequest request;
    request.name = name;
    request.text = text;
    return request;
}

class DialogueTest : public testing::Test {
protected:
    void SetUp() override {
        // One window for every test of this program: the picture tests want the full size.
        StartTestGame(1024, 720);
        // The clock's first step is always 0; the tests want real steps.
        AdvanceFrameClock();
        AdvanceFrameClock();
        CloseDialogue();
        journal.clear();
    }
    void TearDown() override { CloseDialogue(); }

    std::vector<std::string> journal;
};

}  // namespace

TEST_F(DialogueTest, ALineHoldsAboutFifteenCharactersAndTheThirdBreakPausesThePage) {
    EXPECT_FLOAT_EQ(DialogueCharAdvance(1.0f), 19.2f);
    ShowDialogue(Line("Lirra", "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk"), false);
    EXPECT_TRUE(IsDialogueVisible());
    RunUntil(InPagePause);
    ASSERT_TRUE(InPagePause());
    const DialogueRequest& box = GetDialogue();
    EXPECT_EQ(box.shown, "aaaa bbbb cccc\ndddd eeee ffff\ngggg hhhh iiii\n");
    EXPECT_NEAR(box.pageHeight, 3.0f * 19.2f, 1e-3f) << "57.6 reaches half the panel's 100";
    EXPECT_NEAR(box.pageResumeTime - GetScaledTotalTime(), box.pagePause, 1e-4f);
    EXPECT_EQ(box.text[static_cast<size_t>(box.charIndex)], ' ') << "the breaking space is typed again";

    const int pauseFrames = RunUntil([] { return GetDialogue().shown.empty(); });
    EXPECT_NEAR(pauseFrames * kStep, 2.0f, 1.5f * kStep);
    EXPECT_TRUE(InPagePause()) << "the page is cleared in the last frame of its pause";
    EXPECT_EQ(box.pageHeight, 0.0f);
    Frame();
    EXPECT_FALSE(InPagePause());
    EXPECT_EQ(box.shown, " ") << "the next page starts with the character that broke the last";
    RunUntil(TypedOut);
    EXPECT_EQ(box.shown, " jjjj kkkk");
}

TEST_F(DialogueTest, AWordThatDoesNotFitTakesTheSpaceBeforeItAsItsLineBreak) {
    std::string typed;
    DialogueRequest request = Line("Lirra", "abcdefghij klmnopq\nrs");
    request.onCharacter = [&typed](char c) { typed += c; };
    ShowDialogue(request, false);
    RunUntil(TypedOut);
    EXPECT_EQ(GetDialogue().shown, "abcdefghij\nklmnopq rs") << "a line break of the text is typed as a space";
    EXPECT_EQ(typed, "abcdefghij klmnopq rs") << "every typed character is reported, the break too";
}

TEST_F(DialogueTest, NoCharacterIsLostWhereALineOverflows) {
    // The last character of a text on a full line, and a word longer than a whole line.
    ShowDialogue(Line("Lirra", "abcdefghijklmnop"), false);
    RunUntil(TypedOut);
    EXPECT_EQ(GetDialogue().shown, "abcdefghijklmno\np");

    const std::string longWord = "Sooooooooooooooooooooo!";
    ShowDialogue(Line("Lirra", "Go " + longWord), false);
    RunUntil(TypedOut);
    const std::string shown = GetDialogue().shown;
    EXPECT_EQ(shown.substr(0, 3), "Go\n") << "the space before the long word became the break";
    EXPECT_EQ(WithoutBreaks(shown), "Go" + longWord);
    for (const std::string& line : Lines(shown)) {
        EXPECT_LE(line.size() * 19.2f, 300.0f) << line;
        EXPECT_FALSE(line.empty()) << "no empty line in " << shown;
    }
}

TEST_F(DialogueTest, TypingSpeedSetsTheTimeBetweenCharacters) {
    DialogueRequest request = Line("Credits", "0123456789");
    request.speed = 10.0f;
    ShowDialogue(request, false);
    EXPECT_EQ(RunUntil(TypedOut), 10) << "ten times the rate types one character every frame";

    ShowDialogue(Line("Lirra", "0123456789"), false);
    const float start = GetScaledTotalTime();
    RunUntil(TypedOut);
    EXPECT_GE(GetScaledTotalTime() - start, 9.0f / 26.0f) << "at most 26 characters a second";
}

TEST_F(DialogueTest, ATypedBoxClosesItselfAfterItsAutoCloseTime) {
    DialogueRequest request = Line("Lirra", "Okay then");
    request.onFinish = [this] { journal.push_back("finished"); };
    ShowDialogue(request, false);
    RunUntil(TypedOut);
    const float typedAt = GetScaledTotalTime();
    const int frames = RunUntil([] { return !IsDialogueVisible(); });
    EXPECT_NEAR(frames * kStep, 2.0f, 0.1f) << "armed as the last character was due";
    EXPECT_GT(GetScaledTotalTime() - typedAt, 1.9f);
    EXPECT_EQ(journal, (std::vector<std::string>{"finished"}));
    Frame();
    FinishDialogue();
    EXPECT_EQ(journal.size(), 1u) << "the finish action runs once";
}

TEST_F(DialogueTest, AChainedConversationHandsOverAPagePauseAfterTheLastCharacter) {
    DialogueRequest a = Line("Lirra", "This feels strange...");
    DialogueRequest b = Line("Dired", "Go on, child.");
    a.onFinish = [this] { journal.push_back("A finished"); };
    b.onFinish = [this] { journal.push_back("B finished"); };
    ChainDialogue(a, b, 2.0f);
    EXPECT_EQ(a.chainTime, 2.0f);
    ASSERT_TRUE(a.onComplete);
    ShowDialogue(a, false);

    RunUntil(TypedOut);
    const float lastCharacter = GetScaledTotalTime();
    RunUntil([] { return GetDialogue().name != "Lirra"; });
    EXPECT_NEAR(GetScaledTotalTime() - lastCharacter, a.pagePause, 0.1f);
    EXPECT_EQ(journal, (std::vector<std::string>{"A finished"})) << "A's finish action runs before B shows";
    EXPECT_TRUE(IsDialogueVisible());
    EXPECT_EQ(GetDialogue().name, "Dired");
    EXPECT_EQ(GetDialogue().shown, "");

    RunUntil([] { return !IsDialogueVisible(); });
    EXPECT_EQ(GetDialogue().shown, "Go on, child.");
    EXPECT_EQ(journal, (std::vector<std::string>{"A finished", "B finished"})) << "the last line closes itself";
}

TEST_F(DialogueTest, AdvancingDuringAPagePauseStartsTheNextPageAtOnce) {
    ShowDialogue(Line("Lirra", "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk"), false);
    RunUntil(InPagePause);
    ASSERT_FALSE(GetDialogue().shown.empty());
    AdvanceDialogue();
    EXPECT_EQ(GetDialogue().shown, "");
    EXPECT_EQ(GetDialogue().pageHeight, 0.0f);
    EXPECT_EQ(GetDialogue().pageResumeTime, 0.0f);
    Frame();
    EXPECT_EQ(GetDialogue().shown, " ") << "typing went on in the next frame";
    EXPECT_TRUE(IsDialogueVisible());
}

TEST_F(DialogueTest, AdvancingATypedBoxFinishesItOrHandsOver) {
    DialogueRequest single = Line("Lirra", "Hm.");
    single.onFinish = [this] { journal.push_back("single"); };
    ShowDialogue(single, false);
    RunUntil(TypedOut);
    AdvanceDialogue();
    EXPECT_FALSE(IsDialogueVisible());
    EXPECT_EQ(journal, (std::vector<std::string>{"single"}));

    DialogueRequest a = Line("Lirra", "One");
    a.onFinish = [this] { journal.push_back("A"); };
    ChainDialogue(a, Line("Lirra", "Two"), 2.0f);
    ShowDialogue(a, false);
    RunUntil(TypedOut);
    AdvanceDialogue();
    EXPECT_TRUE(IsDialogueVisible());
    EXPECT_EQ(GetDialogue().text, "Two");
    EXPECT_EQ(journal, (std::vector<std::string>{"single", "A"}));
}

TEST_F(DialogueTest, AChainedRequestWithoutAFollowUpClosesInsteadOfFailing) {
    DialogueRequest request = Line("Lirra", "Alone");
    request.chainTime = 1.0f;
    ShowDialogue(request, false);
    RunUntil(TypedOut);
    AdvanceDialogue();
    EXPECT_FALSE(IsDialogueVisible());
}

TEST_F(DialogueTest, ShowingWithFinishCurrentRunsTheCurrentFinishActionFirst) {
    DialogueRequest first = Line("No name", "Ouch!");
    first.onFinish = [this] { journal.push_back("bark done"); };
    ShowDialogue(first, false);
    Frame();
    DialogueRequest second = Line("Dired", "Come here.");
    second.onFinish = [this] { journal.push_back("dired done"); };
    ShowDialogue(second, true);
    EXPECT_EQ(journal, (std::vector<std::string>{"bark done"}));
    EXPECT_EQ(GetDialogue().name, "Dired");
    EXPECT_EQ(GetDialogue().shown, "") << "the new request starts from its own progress";

    ShowDialogue(Line("Lirra", "Hi"), false);
    EXPECT_EQ(journal.size(), 1u) << "without finishCurrent the replaced box does not finish";
}

TEST_F(DialogueTest, CloseHidesWithoutRunningTheFinishAction) {
    DialogueRequest request = Line("Lirra", "I see the door now!");
    request.onFinish = [this] { journal.push_back("finished"); };
    ShowDialogue(request, false);
    Frame();
    CloseDialogue();
    EXPECT_FALSE(IsDialogueVisible());
    FinishDialogue();
    UpdateDialogue();
    EXPECT_TRUE(journal.empty());
}

TEST_F(DialogueTest, AFinishActionMayShowTheNextLine) {
    DialogueRequest first = Line("Dired", "Well done on your first collection");
    first.onFinish = [] { ShowDialogue(Line("Lirra", "Thank you!"), false); };
    ShowDialogue(first, false);
    RunUntil(TypedOut);
    AdvanceDialogue();
    EXPECT_TRUE(IsDialogueVisible()) << "the line the finish action showed stays up";
    EXPECT_EQ(GetDialogue().text, "Thank you!");
}

TEST_F(DialogueTest, AnEmptyTextClosesAfterItsAutoCloseTime) {
    ShowDialogue(Line("Lirra", ""), false);
    Frame();
    EXPECT_TRUE(IsDialogueVisible());
    const int frames = RunUntil([] { return !IsDialogueVisible(); });
    EXPECT_NEAR(frames * kStep, 2.0f, 2.0f * kStep);
}

TEST_F(DialogueTest, TheTraceShowsTheSpeakerAndWhatIsTyped) {
    EXPECT_NE(BuildTraceLine(1).find("\"dialogue\": {\"visible\": false, \"name\": null, \"shown\": null}"),
              std::string::npos);
    DialogueRequest request = Line("Lirra", "This feels strange...");
    request.speed = 10.0f;
    ShowDialogue(request, false);
    for (int i = 0; i < 10; ++i) {
        Frame();
    }
    const std::string& line = BuildTraceLine(2);
    EXPECT_NE(line.find("\"dialogue\": {\"visible\": true, \"name\": \"Lirra\", \"shown\": \"This feels\"}"),
              std::string::npos)
        << line;
}
