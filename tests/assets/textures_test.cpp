// The generated pictures: every texture the game loads exists and decodes, sprite sheets hold
// their frames in the counts the actors register, and frames have the aspect of the size they
// are drawn at, so texels come out square on screen.
#include "asset_support.h"

#include <SOIL/SOIL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace assets_test;

namespace {

constexpr float kAnyAspect = 0.0f;
constexpr float kWorldFrame = 51.2f / 36.0f;  // a square patch of the world, as the screen shows it

struct ExpectedTexture {
    const char* path;
    int frames;
    float frameAspect;  // width / height of one frame on screen; 0 when any aspect will do
};

// By texture id, then the window icon.
const ExpectedTexture kTextures[] = {
    {"Textures/Lirra/Lirra_Attack.png", 4, kWorldFrame},
    {"Textures/Lirra/Lirra_CollectSoul.png", 7, kWorldFrame},
    {"Textures/Lirra/Lirra_Damaged.png", 2, kWorldFrame},
    {"Textures/Lirra/Lirra_Death.png", 8, kWorldFrame},
    {"Textures/Lirra/Lirra_Idle.png", 3, kWorldFrame},
    {"Textures/Lirra/Lirra_Jump.png", 2, kWorldFrame},
    {"Textures/Lirra/Lirra_Fall.png", 2, kWorldFrame},
    {"Textures/Lirra/Lirra_Glide.png", 2, kWorldFrame},
    {"Textures/Lirra/Lirra_Run.png", 4, kWorldFrame},
    {"Textures/Forest/Forest_Tileset_1.png", 1, kWorldFrame},
    {"Textures/Forest/Forest_FG_Lower.png", 1, kAnyAspect},
    {"Textures/Forest/Forest_FG_Upper.png", 1, kAnyAspect},
    {"Textures/Forest/Forest_MG.png", 1, kAnyAspect},
    {"Textures/Forest/Forest_BG.png", 1, 6144.0f / 720.0f},
    {"Textures/NPC/Dired_Idle.png", 4, kWorldFrame},
    {"Textures/NPC/Vozarovu_Idle.png", 4, kWorldFrame},
    {"Textures/NPC/Vozarovu_Run.png", 4, kWorldFrame},
    {"Textures/NPC/Vozarovu_Attack.png", 3, kWorldFrame},
    {"Textures/NPC/Vozarovu_Damaged.png", 2, kWorldFrame},
    {"Textures/NPC/Vozarovu_Death.png", 8, kWorldFrame},
    {"Textures/NPC/VozarovuF_Idle.png", 4, kWorldFrame},
    {"Textures/Boss/Boss_Hand_Raised.png", 1, kWorldFrame},
    {"Textures/Boss/Boss_Hand_Slam.png", 3, kWorldFrame},
    {"Textures/Boss/Boss_Hand_Grounded.png", 1, kWorldFrame},
    {"Textures/Boss/Boss_Hand_Sweep.png", 1, kWorldFrame},
    {"Textures/Boss/Boss_Hand_Lift.png", 3, kWorldFrame},
    {"Textures/Boss/Boss_Body.png", 1, kWorldFrame},
    {"Textures/Boss/Boss_Head.png", 1, kWorldFrame},
    {"Textures/Interactable/Soul-Fire.png", 3, 51.2f / 54.0f},
    {"Textures/Interactable/Soul-Fire-Green.png", 3, 51.2f / 54.0f},
    {"Textures/Interactable/Soul-Fire-Purple.png", 3, 51.2f / 54.0f},
    {"Textures/Interactable/Wind_North2.png", 6, kAnyAspect},
    {"Textures/Interactable/Wind_East.png", 6, kAnyAspect},
    {"Textures/Interactable/Wind_South.png", 6, kAnyAspect},
    {"Textures/Interactable/Wind_West.png", 6, kAnyAspect},
    {"Textures/Interactable/Portal.png", 8, 102.4f / 180.0f},
    {"Textures/UI/cursor.png", 4, kWorldFrame},
    {"Textures/UI/key_Q.png", 4, kWorldFrame},
    {"Textures/UI/key_W.png", 4, kWorldFrame},
    {"Textures/UI/key_left.png", 4, kWorldFrame},
    {"Textures/UI/key_right.png", 4, kWorldFrame},
    {"Textures/UI/key_up.png", 4, kWorldFrame},
    {"Textures/UI/dialogpanel.png", 1, kAnyAspect},
    {"Textures/UI/cinbar.png", 1, kAnyAspect},
    {"Textures/UI/brelmor_logo.png", 1, kAnyAspect},
    {"Textures/UI/Lirra_Title.png", 1, kAnyAspect},
    {"Textures/UI/health_hud.png", 1, 1.0f},
    {"Textures/UI/button_back.png", 1, kAnyAspect},
    {"Textures/UI/button_confirm.png", 1, kAnyAspect},
    {"Textures/UI/button_exit.png", 1, kAnyAspect},
    {"Textures/UI/button_options.png", 1, kAnyAspect},
    {"Textures/UI/button_mute.png", 1, kAnyAspect},
    {"Textures/UI/button_fullscreen.png", 1, kAnyAspect},
    {"Textures/UI/button_resume.png", 1, kAnyAspect},
    {"Textures/UI/button_boarder.png", 1, kAnyAspect},
    {"Textures/UI/button_controls.png", 1, kAnyAspect},
    {"Textures/UI/button_credits.png", 1, kAnyAspect},
    {"Textures/UI/panel_pause.png", 1, kAnyAspect},
    {"Textures/UI/panel_options.png", 1, kAnyAspect},
    {"Textures/UI/panel_confirm.png", 1, kAnyAspect},
    {"Textures/UI/panel_controls.png", 1, kAnyAspect},
    {"Textures/UI/panel_credits.png", 1, kAnyAspect},
    {"Textures/Particles/default_particle.png", 1, kWorldFrame},
    {"Textures/window_icon.png", 1, 1.0f},
};

// On-screen size of a screen-space picture of w x h pixels sized by the pixel-perfect rule and
// then scaled by (kx, ky).
struct ScreenSize {
    double w, h;
};

ScreenSize OnScreen(const Picture& pic, double kx, double ky) {
    const double x = 1024.0 * pic.width, y = 720.0 * pic.height;
    const double length = std::sqrt(x * x + y * y);
    return {kx * x / length, ky * y / length};
}

Picture Load(const std::string& relative) {
    Picture pic = ReadPng(DataPath(relative));
    EXPECT_TRUE(pic.ok) << relative << " does not decode";
    return pic;
}

}  // namespace

TEST(Textures, EveryTextureExistsDecodesAndHoldsItsFrames) {
    ASSERT_EQ(std::size(kTextures), 64u);
    for (const ExpectedTexture& expected : kTextures) {
        SCOPED_TRACE(expected.path);
        const Picture pic = Load(expected.path);
        ASSERT_TRUE(pic.ok);
        EXPECT_GT(pic.width, 0);
        EXPECT_GT(pic.height, 0);
        EXPECT_EQ(pic.width % expected.frames, 0) << "width " << pic.width << " for " << expected.frames << " frames";
        if (expected.frameAspect != kAnyAspect) {
            const float aspect = float(pic.width) / expected.frames / pic.height;
            EXPECT_NEAR(aspect / expected.frameAspect, 1.0f, 0.025f) << "frame aspect " << aspect;
        }
        // nothing is left blank: every frame shows something
        for (int f = 0; f < expected.frames; f++) {
            const int fw = pic.width / expected.frames;
            int visible = 0;
            for (int y = 0; y < pic.height; y++) {
                for (int x = f * fw; x < (f + 1) * fw; x++) {
                    visible += pic.Alpha(x, y) > 0;
                }
            }
            EXPECT_GT(visible, 0) << "frame " << f << " is empty";
        }
    }
}

TEST(Textures, TheTileSheetIsATenByTenGridOfWorldCells) {
    const Picture pic = Load("Textures/Forest/Forest_Tileset_1.png");
    ASSERT_TRUE(pic.ok);
    EXPECT_EQ(pic.width % 10, 0);
    EXPECT_EQ(pic.height % 10, 0);
    EXPECT_EQ(pic.width / 10, 32);
    EXPECT_EQ(pic.height / 10, 23);
}

TEST(Textures, GroundTilesJoinWithoutSeams) {
    // the plain fill (cell 5) continues into itself across its edges: the step across a join is
    // no bigger than the steps between neighbouring rows and columns inside the cell
    const Picture pic = Load("Textures/Forest/Forest_Tileset_1.png");
    ASSERT_TRUE(pic.ok);
    auto at = [&](int x, int y) { return pic.Luminance(5 * 32 + (x % 32), y % 23); };
    auto columnStep = [&](int x) {
        double sum = 0;
        for (int y = 0; y < 23; y++) {
            sum += std::abs(at(x, y) - at(x + 1, y));
        }
        return sum / 23;
    };
    auto rowStep = [&](int y) {
        double sum = 0;
        for (int x = 0; x < 32; x++) {
            sum += std::abs(at(x, y) - at(x, y + 1));
        }
        return sum / 32;
    };
    double columns = 0, rows = 0;
    for (int x = 0; x < 31; x++) {
        columns += columnStep(x) / 31;
    }
    for (int y = 0; y < 22; y++) {
        rows += rowStep(y) / 22;
    }
    EXPECT_LE(columnStep(31), columns * 2.5);
    EXPECT_LE(rowStep(22), rows * 2.5);
    // every pixel of the fill is solid, so stacked and side-by-side cells leave no holes
    for (int y = 0; y < 23; y++) {
        for (int x = 0; x < 32; x++) {
            ASSERT_EQ(pic.Alpha(5 * 32 + x, y), 255) << x << "," << y;
        }
    }
}

TEST(Textures, MenuButtonsAppearUndistortedAndTheFrameSurroundsThem) {
    const char* buttons[] = {"back",       "confirm", "exit",     "options", "mute",
                             "fullscreen", "resume",  "controls", "credits"};
    ScreenSize button{0, 0};
    for (const char* name : buttons) {
        SCOPED_TRACE(name);
        const Picture pic = Load(std::string("Textures/UI/button_") + name + ".png");
        ASSERT_TRUE(pic.ok);
        button = OnScreen(pic, 300, 100);
        EXPECT_NEAR(button.w, 240.0, 1.0);
        EXPECT_NEAR(button.h, 60.0, 1.0);
        // one file pixel per screen pixel across, so the lettering is not smeared sideways
        EXPECT_EQ(pic.width, int(std::lround(button.w)));
    }
    const Picture frame = Load("Textures/UI/button_boarder.png");
    ASSERT_TRUE(frame.ok);
    const ScreenSize around = OnScreen(frame, 350, 150);
    EXPECT_GT(around.w, button.w + 8);
    EXPECT_GT(around.h, button.h + 8);
    // the middle is see-through so the selected button shows inside the frame
    EXPECT_EQ(frame.Alpha(frame.width / 2, frame.height / 2), 0);
}

TEST(Textures, PanelsShareTheirAspectSoPicturesFitThePauseMenu) {
    const Picture pause = Load("Textures/UI/panel_pause.png");
    for (const char* name : {"Textures/UI/panel_controls.png", "Textures/UI/panel_credits.png"}) {
        const Picture pic = Load(name);
        EXPECT_EQ(pic.width * pause.height, pic.height * pause.width) << name;
    }
    const ScreenSize onScreen = OnScreen(pause, 1000, 1000);
    EXPECT_LT(onScreen.w, 1024);
    EXPECT_LT(onScreen.h, 720);
    // opaque enough to hide the buttons under the controls and credits pictures
    EXPECT_GT(Load("Textures/UI/panel_controls.png").Alpha(pause.width / 2, pause.height / 2), 240);
}

TEST(Textures, TheHealthVignetteIsClearInTheMiddleAndRedAtTheScreenEdges) {
    const Picture pic = Load("Textures/UI/health_hud.png");
    ASSERT_TRUE(pic.ok);
    EXPECT_EQ(pic.Alpha(pic.width / 2, pic.height / 2), 0);
    // the screen's left edge falls 18.7 % into the texture (a 1636-wide quad over 1024 pixels)
    const int edgeX = int(pic.width * (0.5 - 512.0 / 1636.0)) + 1;
    EXPECT_GT(pic.Alpha(edgeX, pic.height / 2), 100);
    const uint8_t* p = &pic.rgba[(size_t(pic.height / 2) * pic.width + edgeX) * 4];
    EXPECT_GT(p[0], p[1] * 3);
}

TEST(Textures, OnlyMagicIsBrightEnoughToGlow) {
    // the world and its people stay under the bloom's bright pass
    const char* world[] = {
        "Textures/Lirra/Lirra_Idle.png",       "Textures/Lirra/Lirra_Run.png",
        "Textures/Lirra/Lirra_Jump.png",       "Textures/Lirra/Lirra_Fall.png",
        "Textures/Lirra/Lirra_Glide.png",      "Textures/Lirra/Lirra_Attack.png",
        "Textures/Lirra/Lirra_Damaged.png",    "Textures/Forest/Forest_Tileset_1.png",
        "Textures/Forest/Forest_FG_Lower.png", "Textures/Forest/Forest_FG_Upper.png",
        "Textures/Forest/Forest_MG.png",       "Textures/Forest/Forest_BG.png",
        "Textures/NPC/Dired_Idle.png",         "Textures/NPC/Vozarovu_Idle.png",
        "Textures/NPC/Vozarovu_Run.png",       "Textures/NPC/Vozarovu_Attack.png",
        "Textures/NPC/Vozarovu_Damaged.png",   "Textures/NPC/Vozarovu_Death.png",
        "Textures/NPC/VozarovuF_Idle.png",     "Textures/Boss/Boss_Hand_Raised.png",
        "Textures/Boss/Boss_Hand_Slam.png",    "Textures/Boss/Boss_Hand_Sweep.png",
        "Textures/Boss/Boss_Hand_Lift.png",    "Textures/Boss/Boss_Hand_Grounded.png",
        "Textures/Boss/Boss_Body.png",
    };
    for (const char* path : world) {
        const Picture pic = Load(path);
        float brightest = 0;
        for (int y = 0; y < pic.height; y++) {
            for (int x = 0; x < pic.width; x++) {
                if (pic.Alpha(x, y) > 0) {
                    brightest = std::max(brightest, pic.Luminance(x, y));
                }
            }
        }
        EXPECT_LT(brightest, 0.8f) << path;
    }
    // and magic does glow
    const char* magic[] = {"Textures/Interactable/Soul-Fire.png",        "Textures/Interactable/Soul-Fire-Green.png",
                           "Textures/Interactable/Soul-Fire-Purple.png", "Textures/Interactable/Portal.png",
                           "Textures/Lirra/Lirra_CollectSoul.png",       "Textures/Boss/Boss_Head.png",
                           "Textures/Particles/default_particle.png"};
    for (const char* path : magic) {
        const Picture pic = Load(path);
        float brightest = 0;
        for (int y = 0; y < pic.height; y++) {
            for (int x = 0; x < pic.width; x++) {
                if (pic.Alpha(x, y) > 128) {
                    brightest = std::max(brightest, pic.Luminance(x, y));
                }
            }
        }
        EXPECT_GT(brightest, 0.85f) << path;
    }
}

TEST(Textures, SpritesStandOnTheBottomRowOfTheirFrames) {
    // Lirra's and the spirits' colliders reach the bottom of their frames: their feet touch it
    for (const char* path :
         {"Textures/Lirra/Lirra_Idle.png", "Textures/Lirra/Lirra_Run.png", "Textures/NPC/Vozarovu_Idle.png",
          "Textures/NPC/Vozarovu_Run.png", "Textures/NPC/Dired_Idle.png"}) {
        const Picture pic = Load(path);
        int lowest = 0;
        for (int y = 0; y < pic.height; y++) {
            for (int x = 0; x < pic.width; x++) {
                if (pic.Alpha(x, y) > 0) {
                    lowest = y;
                }
            }
        }
        EXPECT_GE(lowest, pic.height - 2) << path;
    }
}

TEST(Textures, TheWindowIconHasFourChannels) {
    const Picture pic = Load("Textures/window_icon.png");
    ASSERT_TRUE(pic.ok);
    EXPECT_EQ(pic.channels, 4);
    EXPECT_EQ(pic.width, pic.height);
}

TEST(Textures, TheGamesImageLoaderReadsEveryTexture) {
    // the game loads its pictures through SOIL, which reads a narrower range of PNGs than libpng
    for (const ExpectedTexture& expected : kTextures) {
        int width = 0, height = 0, channels = 0;
        unsigned char* pixels =
            SOIL_load_image(DataPath(expected.path).c_str(), &width, &height, &channels, SOIL_LOAD_AUTO);
        ASSERT_NE(pixels, nullptr) << expected.path << ": " << SOIL_last_result();
        EXPECT_EQ(channels, 4) << expected.path;
        const Picture pic = ReadPng(DataPath(expected.path));
        EXPECT_EQ(width, pic.width) << expected.path;
        EXPECT_EQ(height, pic.height) << expected.path;
        // the same pixels, row for row from the top
        EXPECT_TRUE(std::equal(pixels, pixels + size_t(width) * height * 4, pic.rgba.begin())) << expected.path;
        SOIL_free_image_data(pixels);
    }
}
