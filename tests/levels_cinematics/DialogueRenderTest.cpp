#include <GL/glew.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Frame.h"
#include "audio/Audio.h"
#include "automation/Screenshot.h"
#include "frontend/GameStateManager.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/PostProcess.h"
#include "graphics/TextRenderer.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "platform/FrameClock.h"
#include "resources/ResourceLoader.h"
#include "scene/GameObject.h"
#include "support/TestGame.h"

namespace {

// The forest backdrop, as a level draws it behind its world.
class ForestState : public State {
public:
    ForestState() : State(STATE_LEVEL_1) {}
    void Load() override {}
    void Update() override {}
    void Render() override {
        BeginScene();
        ClearScene();
        PrepareSceneShader();
        DrawBackground(BACKGROUND_FOREST);
    }
    void Unload() override {}
};

bool HasGameArt() {
    struct stat info;
    return stat("Textures/UI/dialogpanel.png", &info) == 0 && stat("Fonts/PixelGameFont.ttf", &info) == 0;
}

// Counts of bright pixels in a block of the window's picture.
struct Ink {
    int white = 0;
    int magenta = 0;
};

constexpr int kBlockX = 352;
constexpr int kBlockY = 300;
constexpr int kBlockW = 320;
constexpr int kBlockH = 150;

Ink CountInk() {
    std::vector<unsigned char> rgb(static_cast<size_t>(kBlockW) * kBlockH * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(kBlockX, kBlockY, kBlockW, kBlockH, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    Ink ink;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        ink.white += rgb[i] > 200 && rgb[i + 1] > 200 && rgb[i + 2] > 200;
        ink.magenta += rgb[i] > 150 && rgb[i + 1] < 80 && rgb[i + 2] > 150;
    }
    return ink;
}

Vector3 PixelAt(int x, int y) {
    unsigned char rgb[3] = {0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return Vector3(rgb[0], rgb[1], rgb[2]);
}

struct Picture {
    Ink ink;
    Vector3 centre;
};

// One iteration of the main loop that saves and measures the picture before the buffer swap.
Picture RunFrameWithScreenshot(const std::string& path) {
    GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);  // a focus change may have opened the pause menu
    ApplyPendingState();
    BeginFrame();
    AudioUpdate();
    UpdateAndRenderState();
    EndFrame();
    EXPECT_TRUE(SaveScreenshot(path));
    const Picture picture{CountInk(), PixelAt(512, 360)};
    AdvanceFrameClock();
    SwapFrame();
    return picture;
}

// Frames of the dialogue box alone, without drawing.
void TypeFrames(int n) {
    for (int i = 0; i < n; ++i) {
        AdvanceFrameClock();
        UpdateDialogue();
    }
}

struct Rect {
    float left, bottom, right, top;
};

// Where RenderDialogue puts the panel of the shown request, in screen units.
Rect PanelRect(const Vector2& centre, const DialogueRequest& request) {
    const float zoom = GetCamera().GetZoom();
    const float x = centre.x + request.offset.x / zoom;
    const float y = centre.y + request.offset.y / zoom;
    const float w = request.size.x / zoom;
    const float h = request.size.y / zoom;
    return {x - w / 2.0f, y - h / 2.0f, x + w / 2.0f, y + h / 2.0f};
}

// The extent of the glyphs the text renderer draws for one queued item.
Rect InkOf(const TextItem& item) {
    Rect ink{1e9f, 1e9f, -1e9f, -1e9f};
    GetTextRenderer().LayoutItem(item, [&ink](const Character& glyph, const GlyphQuad& quad) {
        if (glyph.size.x <= 0.0f) {
            return;
        }
        ink.left = std::min(ink.left, quad[1][0]);
        ink.bottom = std::min(ink.bottom, quad[1][1]);
        ink.right = std::max(ink.right, quad[2][0]);
        ink.top = std::max(ink.top, quad[0][1]);
    });
    return ink;
}

class DialogueRenderTest : public testing::Test {
protected:
    void SetUp() override {
        StartTestGame(1024, 720);
        ASSERT_TRUE(HasGameArt() && GetTextRenderer().IsLoaded())
            << "the generated panel texture or the font is not in the data directory";
        static bool loaded = false;
        if (!loaded) {
            GetResources().LoadTexturesAndMeshes();
            SetupBackgrounds();
            loaded = true;
        }
        EndTestStates();
        // A focus change of the new window opens the pause menu when a state is current: let it
        // arrive with none, and start from the playing overlay.
        RunFrames(1);
        GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);
        CloseDialogue();
        GetTextRenderer().ClearQueue();
        SetState(std::make_unique<ForestState>());
        GetCamera().Reset();
    }
    void TearDown() override {
        CloseDialogue();
        EndTestStates();
        GetCamera().Reset();
    }
};

DialogueRequest LirraLine(const std::string& text) {
    DialogueRequest request;
    request.name = "Lirra";
    request.text = text;
    request.nameColor = Vector3(1.0f, 0.0f, 1.0f);
    request.panelAlpha = 0.6f;
    request.textScale = 0.6f;
    request.nameScale = 0.8f;
    request.size = Vector2(200.0f, 80.0f);
    request.offset = Vector2(0.0f, 40.0f);
    return request;
}

}  // namespace

TEST_F(DialogueRenderTest, TheWrappedBodyStaysInsideThePanelAndTheNameSitsOnIt) {
    static const Vector3 lirra(1.0f, -2.0f, 0.0f);
    DialogueRequest request = LirraLine("Hang on, it can't be usually this quiet...");
    request.follow = &lirra;
    request.speed = 10.0f;
    ShowDialogue(request, false);
    TypeFrames(60);
    ASSERT_TRUE(IsDialogueVisible());
    ASSERT_NE(GetDialogue().shown.find('\n'), std::string::npos) << "the line wrapped";

    GetCamera().UpdateMatrices();
    GetTextRenderer().ClearQueue();
    RenderDialogue();
    const auto queue = GetTextRenderer().GetQueue();
    ASSERT_EQ(queue.size(), 2u);
    const Vector3 anchor = GetCamera().WorldToScreen(lirra);
    const Rect panel = PanelRect(Vector2(anchor.x, anchor.y), GetDialogue());
    EXPECT_EQ(queue[0].text, "Lirra");
    EXPECT_TRUE(queue[0].zoomScaled);
    EXPECT_EQ(queue[1].text, GetDialogue().shown);

    const Rect name = InkOf(queue[0]);
    EXPECT_GE(name.left, panel.left);
    EXPECT_GT(name.top, panel.top) << "the name stands on the panel's top edge";
    EXPECT_LT(name.bottom, panel.top + 30.0f);

    const Rect body = InkOf(queue[1]);
    EXPECT_GE(body.left, panel.left);
    EXPECT_LE(body.right, panel.right) << "wrapping keeps every line inside the panel";
    EXPECT_LE(body.top, panel.top);
    EXPECT_GE(body.bottom, panel.bottom);
    GetTextRenderer().ClearQueue();
}

TEST_F(DialogueRenderTest, ABoxAnchoredNearAnEdgeStaysInsideTheScreenWithItsName) {
    // As Dired's talk in the main menu: a speaker standing by the screen's left edge.
    const Vector2 anchors[] = {{5.0f, 360.0f}, {1019.0f, 360.0f}, {512.0f, 5.0f}, {512.0f, 715.0f}};
    for (const Vector2& anchor : anchors) {
        DialogueRequest request = LirraLine("Oh hello dear, isn't it time to stop");
        request.position = Vector3(anchor.x, anchor.y, 0.0f);
        request.speed = 10.0f;
        ShowDialogue(request, false);
        TypeFrames(30);
        GetCamera().UpdateMatrices();
        GetTextRenderer().ClearQueue();
        RenderDialogue();
        const auto queue = GetTextRenderer().GetQueue();
        ASSERT_EQ(queue.size(), 2u);
        const Rect name = InkOf(queue[0]);
        const Rect body = InkOf(queue[1]);
        const std::string where = "anchored at " + std::to_string(anchor.x) + ", " + std::to_string(anchor.y);
        EXPECT_GE(name.left, 4.0f) << where << ": the name's first letter is cut";
        EXPECT_LE(name.top, 720.0f) << where;
        EXPECT_GE(body.left, 0.0f) << where;
        EXPECT_LE(body.right, 1024.0f) << where;
        EXPECT_GE(body.bottom, 0.0f) << where;
        GetTextRenderer().ClearQueue();
        CloseDialogue();
    }
}

TEST_F(DialogueRenderTest, ADialogueOverTheForestShowsPanelNameAndText) {
    const std::string dir = MakeTempDir("dialogue");
    RunFrames(1);
    const Picture forest = RunFrameWithScreenshot(dir + "/forest.png");

    DialogueRequest request = LirraLine("This feels strange... Hang on, it can't be usually this quiet...");
    request.size = Vector2(300.0f, 100.0f);
    request.position = Vector3(512.0f, 320.0f, 0.0f);
    request.speed = 10.0f;
    request.pagePause = 10.0f;
    ShowDialogue(request, false);
    TypeFrames(70);
    ASSERT_TRUE(IsDialogueVisible());
    const std::string path = dir + "/dialogue.png";
    const Picture dialogue = RunFrameWithScreenshot(path);
    std::printf("dialogue screenshot: %s\n", path.c_str());

    EXPECT_NE(dialogue.centre, forest.centre) << "the panel covers the forest";
    EXPECT_GT(dialogue.ink.white, forest.ink.white + 300) << "white body text on the panel";
    EXPECT_GT(dialogue.ink.magenta, forest.ink.magenta + 50) << "the magenta speaker's name";
}

TEST_F(DialogueRenderTest, LetterboxBarsCloseInOverTheWorld) {
    PlayCinematic(2, std::make_unique<CinZoom>(0.1f, 3.0f, 1.0f),
                  std::make_unique<CinLines>(GetCamera().GetPosition(), 13.0f, 1.3f, 3.0f, false));
    for (int i = 0; i < 200 && CountCinematicSteps() > 0; ++i) {
        AdvanceFrameClock();
        UpdateCinematics();
    }
    ASSERT_EQ(CountCinematicSteps(), 0u);
    const std::string path = MakeTempDir("bars") + "/bars.png";
    GetGameStateManager().SwitchTo(MENU_NONE_PLAYING);  // a focus change may have opened the pause menu
    ApplyPendingState();
    BeginFrame();
    UpdateAndRenderState();
    EndFrame();
    EXPECT_TRUE(SaveScreenshot(path));
    std::printf("bars screenshot: %s\n", path.c_str());
    // After 3 s each bar has moved 3.9 units in: its inner edge is 4.1 units from the centre, of
    // the 7 that zoom 0.7 shows above and below it.
    const Vector3 top = PixelAt(512, 715);
    const Vector3 bottom = PixelAt(512, 5);
    const Vector3 middle = PixelAt(512, 360);
    EXPECT_LT(top.x + top.y + top.z, 30.0f) << "the upper bar is dark";
    EXPECT_LT(bottom.x + bottom.y + bottom.z, 30.0f) << "the lower bar is dark";
    EXPECT_GT(middle.x + middle.y + middle.z, 30.0f) << "the forest shows between them";
    AdvanceFrameClock();
    SwapFrame();
    GetCinematicBar(0)->SetActive(false);
    GetCinematicBar(1)->SetActive(false);
}
