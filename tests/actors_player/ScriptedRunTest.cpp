#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "PlayerTesting.h"
#include "actors/GOWind.h"
#include "app/Frame.h"
#include "audio/Audio.h"
#include "automation/InputScript.h"
#include "automation/Screenshot.h"
#include "automation/Trace.h"
#include "platform/FrameClock.h"

namespace {

// A number of the trace line's player record; NaN when the key is missing.
double PlayerField(const std::string& line, const std::string& key) {
    const size_t player = line.find("\"player\": {");
    const size_t at = line.find("\"" + key + "\": ", player);
    if (player == std::string::npos || at == std::string::npos) {
        return std::nan("");
    }
    const std::string value = line.substr(at + key.size() + 4, 8);
    if (value.rfind("true", 0) == 0) {
        return 1.0;
    }
    if (value.rfind("false", 0) == 0) {
        return 0.0;
    }
    return std::strtod(value.c_str(), nullptr);
}

class ScriptedRunTest : public PlayerTest {
protected:
    static void BuildWindLevel() {
        GOWind* wind = GetScene().GetWind();
        wind->GetTransform().SetPosition(8.0f, 8.0f, 0.0f);
        wind->GetTransform().SetScale(6.0f, 14.0f, 1.0f);
        wind->strength = 1.0f;
        wind->windDirection = WIND_NORTH;
        wind->Init();
        wind->SetActive(true);
    }

    // Events of the script are given relative to the frame that comes next.
    void LoadScript(const std::string& relative) {
        const long base = GetFrameNumber() + 1;
        std::string text;
        long frame = 0;
        char rest[64];
        for (size_t start = 0; start < relative.size();) {
            const size_t end = relative.find('\n', start);
            const std::string line = relative.substr(start, end - start);
            if (std::sscanf(line.c_str(), "%ld %63[^\n]", &frame, rest) == 2) {
                text += std::to_string(base + frame) + " " + rest + "\n";
            }
            start = end == std::string::npos ? relative.size() : end + 1;
        }
        const std::string path = MakeTempDir("player-script") + "/run.txt";
        WriteFile(path, text);
        std::string error;
        ASSERT_TRUE(LoadInputScript(path, error)) << error;
    }
};

TEST_F(ScriptedRunTest, WalksJumpsGlidesUpANorthWindAndStrikes) {
    auto windLevel = std::make_unique<TestLevel>(BuildWindLevel);
    windLevel->startX = 2.0f;
    level = windLevel.get();
    SetState(std::move(windLevel));
    Frames(30);
    LoadScript(
        "0 key RIGHT press\n"
        "40 key RIGHT release\n"
        "70 key SPACE press\n"
        "230 key SPACE release\n"
        "400 key Q press\n"
        "401 key Q release\n");
    std::vector<std::string> trace;
    for (int i = 0; i < 460; ++i) {
        Frame();
        trace.push_back(BuildTraceLine(GetFrameNumber()));
    }
    WriteFile(MakeTempDir("player-trace") + "/trace.jsonl", [&] {
        std::string all;
        for (const std::string& line : trace) {
            all += line + "\n";
        }
        return all;
    }());

    // Walking: the run state, speed building at ten per second squared, facing right.
    EXPECT_EQ(PlayerField(trace[0], "state"), 1.0);
    EXPECT_NEAR(PlayerField(trace[0], "vx"), 10.0 / 60.0, 1e-4);
    EXPECT_EQ(PlayerField(trace[20], "facingRight"), 1.0);
    EXPECT_EQ(PlayerField(trace[20], "vy"), -22.0725);
    // Standing in the updraft: the wind lifts a walker by one unit per second squared.
    EXPECT_GT(PlayerField(trace[65], "x"), 4.6);  // her box reaches into the zone
    EXPECT_NEAR(PlayerField(trace[65], "vy"), -22.0725 + 1.0 / 60.0, 1e-4);
    EXPECT_EQ(PlayerField(trace[65], "airborne"), 0.0);

    // The jump, then the glide carried up by the wind.
    EXPECT_EQ(PlayerField(trace[70], "airborne"), 1.0);
    EXPECT_GT(PlayerField(trace[70], "vy"), 13.0);
    double highest = 0.0;
    bool risingGlide = false;
    for (int i = 70; i < 230; ++i) {
        highest = std::max(highest, PlayerField(trace[i], "y"));
        risingGlide = risingGlide || (PlayerField(trace[i], "gliding") == 1.0 && PlayerField(trace[i], "vy") > 1.0);
    }
    EXPECT_TRUE(risingGlide);
    EXPECT_GT(highest, 12.0);

    // Back on the ground, the light attack.
    EXPECT_EQ(PlayerField(trace[399], "airborne"), 0.0);
    EXPECT_EQ(PlayerField(trace[400], "state"), 5.0);
    EXPECT_EQ(PlayerField(trace[459], "state"), 0.0);
    EXPECT_EQ(PlayerField(trace[459], "attackPower"), 34.0);
    EXPECT_EQ(PlayerField(trace[459], "health"), 100.0);
    EXPECT_EQ(PlayerField(trace[459], "timeScale"), 1.0);
}

bool HasLirraArt() {
    struct stat info;
    return stat("Textures/Lirra/Lirra_Idle.png", &info) == 0;
}

// One iteration of the main loop that saves the picture before the buffer swap.
bool FrameWithScreenshot(const std::string& path) {
    GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);
    ApplyPendingState();
    BeginFrame();
    AudioUpdate();
    UpdateAndRenderState();
    EndFrame();
    const bool saved = SaveScreenshot(path);
    AdvanceFrameClock();
    SwapFrame();
    return saved;
}

// Every frame of every pose, close up, for looking at; the check is that each is drawn.
TEST_F(ScriptedRunTest, EveryPoseIsDrawn) {
    ASSERT_TRUE(HasLirraArt()) << "the generated textures are not in the data directory";
    StartLevel();
    GetCamera().SetZoom(0.3f);
    lirra.invulnerable = false;
    Animation()->SetAlpha(1.0f);
    lirra.state = PLAYER_FROZEN;  // holds the pose: her components are not updated
    const std::string dir = MakeTempDir("player-poses");
    const TextureId clips[] = {TextureId::LirraIdle,        TextureId::LirraRun,     TextureId::LirraJump,
                               TextureId::LirraFall,        TextureId::LirraGlide,   TextureId::LirraAttack,
                               TextureId::LirraCollectSoul, TextureId::LirraDamaged, TextureId::LirraDeath};
    int shots = 0;
    for (const TextureId clip : clips) {
        Animation()->SetClip(clip);
        Animation()->Restart();
        const int first = Animation()->GetFrame();
        do {
            char name[64];
            std::snprintf(name, sizeof(name), "/pose_%02d_frame_%02d.png", ToInt(clip), Animation()->GetFrame());
            ASSERT_TRUE(FrameWithScreenshot(dir + name));
            ++shots;
            const int frame = Animation()->GetFrame();
            while (Animation()->GetFrame() == frame) {
                Animation()->Update();
            }
        } while (Animation()->GetFrame() != first);
    }
    EXPECT_EQ(shots, 34);
    std::printf("Lirra's poses: %s\n", dir.c_str());
    GetCamera().SetZoom(1.0f);
}

}  // namespace
