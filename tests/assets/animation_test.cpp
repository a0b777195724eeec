// Animations put their key poses on the frames where the game acts on them: the light attack
// strikes in front of Lirra on its third frame and behind her on its fourth, the soul strike
// flares on its fifth, and the spirit's lunge reaches furthest on the frame its big hitbox uses.
#include "asset_support.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace assets_test;

namespace {

// Opaque pixels of one frame inside a box given in frame pixels.
int CoverageIn(const Picture& pic, int frames, int frame, int x0, int y0, int x1, int y1) {
    const int fw = pic.width / frames;
    int count = 0;
    for (int y = std::max(0, y0); y <= std::min(pic.height - 1, y1); y++) {
        for (int x = std::max(0, x0); x <= std::min(fw - 1, x1); x++) {
            count += pic.Alpha(frame * fw + x, y) > 64;
        }
    }
    return count;
}

int BrightIn(const Picture& pic, int frames, int frame, int x0, int x1) {
    const int fw = pic.width / frames;
    int count = 0;
    for (int y = 0; y < pic.height; y++) {
        for (int x = x0; x <= x1; x++) {
            count += pic.Alpha(frame * fw + x, y) > 128 && pic.Luminance(frame * fw + x, y) > 0.85f;
        }
    }
    return count;
}

}  // namespace

TEST(Animation, TheLightAttackStrikesAheadOnItsThirdFrameAndBehindOnItsFourth) {
    // a 64 x 45 frame covers 3 x 3 units: 21.3 pixels a unit across, 15 down
    const Picture pic = ReadPng(DataPath("Textures/Lirra/Lirra_Attack.png"));
    ASSERT_TRUE(pic.ok);
    // the forward hitbox: 0.8 units ahead, 1 x 1.5 units, centred 0.5 below her middle
    const int ahead[4] = {38, 19, 60, 41};
    const int front2 = CoverageIn(pic, 4, 2, ahead[0], ahead[1], ahead[2], ahead[3]);
    EXPECT_GT(front2, CoverageIn(pic, 4, 0, ahead[0], ahead[1], ahead[2], ahead[3]) + 20);
    EXPECT_GT(front2, CoverageIn(pic, 4, 3, ahead[0], ahead[1], ahead[2], ahead[3]));
    // the swing back: left of her body, where the second hitbox lands 0.32 units behind
    const int behind[4] = {0, 19, 22, 44};
    EXPECT_GT(CoverageIn(pic, 4, 3, behind[0], behind[1], behind[2], behind[3]),
              CoverageIn(pic, 4, 2, behind[0], behind[1], behind[2], behind[3]) + 10);
}

TEST(Animation, TheSoulStrikeFlaresInFrontOnItsFifthFrame) {
    const Picture pic = ReadPng(DataPath("Textures/Lirra/Lirra_CollectSoul.png"));
    ASSERT_TRUE(pic.ok);
    int brightest = 0, brightestFrame = -1;
    for (int f = 0; f < 7; f++) {
        const int bright = BrightIn(pic, 7, f, 0, 63);
        if (bright > brightest) {
            brightest = bright;
            brightestFrame = f;
        }
    }
    EXPECT_EQ(brightestFrame, 4);
    // and the flare is ahead of her, where the heavy hitbox is
    EXPECT_GT(BrightIn(pic, 7, 4, 33, 63), BrightIn(pic, 7, 4, 0, 31) * 3);
}

TEST(Animation, TheSpiritLungesFurthestOnItsMiddleAttackFrame) {
    // the basic enemy's hitbox is widest on the second of its three attack frames
    const Picture pic = ReadPng(DataPath("Textures/NPC/Vozarovu_Attack.png"));
    ASSERT_TRUE(pic.ok);
    auto frontmost = [&](int frame) {
        int x = 0;
        for (int y = 0; y < pic.height; y++) {
            for (int fx = 0; fx < 64; fx++) {
                if (pic.Alpha(frame * 64 + fx, y) > 64) {
                    x = std::max(x, fx);
                }
            }
        }
        return x;
    };
    EXPECT_GT(frontmost(1), frontmost(0) + 3);
}

TEST(Animation, LoopingEffectsChangeEveryFrame) {
    // winds, the portal and souls animate: no two neighbouring frames are identical
    const struct {
        const char* path;
        int frames;
    } loops[] = {{"Textures/Interactable/Wind_North2.png", 6}, {"Textures/Interactable/Wind_East.png", 6},
                 {"Textures/Interactable/Portal.png", 8},      {"Textures/Interactable/Soul-Fire.png", 3},
                 {"Textures/NPC/VozarovuF_Idle.png", 4},       {"Textures/UI/key_up.png", 4}};
    for (const auto& loop : loops) {
        const Picture pic = ReadPng(DataPath(loop.path));
        ASSERT_TRUE(pic.ok) << loop.path;
        const int fw = pic.width / loop.frames;
        int identicalPairs = 0;
        for (int f = 0; f < loop.frames; f++) {
            const int g = (f + 1) % loop.frames;
            bool same = true;
            for (int y = 0; y < pic.height && same; y++) {
                for (int x = 0; x < fw && same; x++) {
                    const size_t a = (size_t(y) * pic.width + f * fw + x) * 4,
                                 b = (size_t(y) * pic.width + g * fw + x) * 4;
                    same = std::equal(&pic.rgba[a], &pic.rgba[a] + 4, &pic.rgba[b]);
                }
            }
            identicalPairs += same;
        }
        EXPECT_EQ(identicalPairs, 0) << loop.path;
    }
}
