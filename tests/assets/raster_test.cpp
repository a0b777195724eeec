// The generator's raster library: the properties the art relies on, checked on small pictures.
#include "raster.h"
#include "text.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace datagen;

TEST(Raster, ShapesPaintExactlyThePixelsWhoseCentresTheyCover) {
    Image img(10, 10);
    FillPolygon(img, {{2, 2}, {5, 2}, {5, 5}, {2, 5}}, Hex(0xff0000));
    int painted = 0;
    for (int y = 0; y < 10; y++) {
        for (int x = 0; x < 10; x++) {
            const bool inside = x >= 2 && x < 5 && y >= 2 && y < 5;
            EXPECT_EQ(img.Get(x, y).a != 0, inside) << x << "," << y;
            painted += img.Get(x, y).a != 0;
        }
    }
    EXPECT_EQ(painted, 9);
    // an ellipse centred between pixels is symmetric
    Image disc(12, 12);
    FillEllipse(disc, 6, 6, 4.5f, 3.5f, Hex(0x00ff00));
    for (int y = 0; y < 12; y++) {
        for (int x = 0; x < 12; x++) {
            EXPECT_EQ(disc.Get(x, y).a, disc.Get(11 - x, y).a);
            EXPECT_EQ(disc.Get(x, y).a, disc.Get(x, 11 - y).a);
        }
    }
}

TEST(Raster, ShadingInsideAShapeNeverSpillsOutOfIt) {
    Image img(8, 8);
    FillRect(img, 2, 2, 5, 5, Hex(0x404040));
    img.clipToOpaque = true;
    FillRect(img, 0, 0, 7, 7, Hex(0xffffff));
    img.clipToOpaque = false;
    EXPECT_EQ(img.Get(3, 3).r, 255);
    EXPECT_EQ(img.Get(1, 1).a, 0);
    EXPECT_EQ(img.Get(6, 6).a, 0);
}

TEST(Raster, OutlineAddsOneRimAroundTheShape) {
    Image img(7, 7);
    PutPixel(img, 3, 3, Hex(0xffffff));
    Outline(img, Hex(0x000000));
    int rim = 0;
    for (int y = 0; y < 7; y++) {
        for (int x = 0; x < 7; x++) {
            rim += img.Get(x, y).a != 0 && !(x == 3 && y == 3);
        }
    }
    EXPECT_EQ(rim, 4);
    EXPECT_EQ(img.Get(3, 3).r, 255);
}

TEST(Raster, ResamplingKeepsEdgeColoursInsteadOfDarkeningThem) {
    Image img(4, 1);
    FillRect(img, 0, 0, 0, 0, Hex(0xff0000));  // one red pixel, the rest transparent black
    const Image half = ResampleArea(img, 2, 1);
    EXPECT_EQ(half.Get(0, 0).r, 255);
    EXPECT_NEAR(half.Get(0, 0).a, 128, 1);
    EXPECT_EQ(half.Get(1, 0).a, 0);
}

TEST(Raster, ScreenPicturesStretchedTallComeBackRowForRow) {
    // a 240 x 60 button is stored 240 x 256; drawing it 60 pixels high samples each painted row
    Image painted(240, 60);
    for (int y = 0; y < 60; y++) {
        FillRect(painted, 0, y, 239, y, Rgba{uint8_t(y * 4), uint8_t(255 - y * 4), 0, 255});
    }
    const Image stored = ResampleArea(painted, 240, 256);
    for (int row = 0; row < 60; row++) {
        const float texel = (row + 0.5f) * 256.0f / 60.0f;
        // linear filtering reads the two texels around the sample point: both hold this row
        for (int t : {int(std::floor(texel - 0.5f)), int(std::floor(texel - 0.5f)) + 1}) {
            EXPECT_EQ(stored.Get(100, t).r, painted.Get(100, row).r) << "row " << row;
        }
    }
}

TEST(Raster, PeriodicNoiseRepeatsSoTilesJoin) {
    for (float x = 0.1f; x < 4.0f; x += 0.37f) {
        for (float y = 0.2f; y < 3.0f; y += 0.41f) {
            EXPECT_NEAR(ValueNoise(x, y, 7, 4, 3), ValueNoise(x + 4, y, 7, 4, 3), 1e-5);
            EXPECT_NEAR(ValueNoise(x, y, 7, 4, 3), ValueNoise(x, y + 3, 7, 4, 3), 1e-5);
            EXPECT_NEAR(Fbm(x, y, 7, 3, 4, 3), Fbm(x + 4, y + 3, 7, 3, 4, 3), 1e-5);
        }
    }
    EXPECT_EQ(Hash(3, 4, 5), Hash(3, 4, 5));
    EXPECT_NE(Hash(3, 4, 5), Hash(4, 3, 5));
}

TEST(Raster, LetteringIsCrispAndTheLongestButtonWordFits) {
    Image img(200, 40);
    DrawText(img, "FULLSCREEN", 4, 4, 2, Hex(0xffffff));
    int inked = 0;
    for (const Rgba& p : img.Pixels()) {
        EXPECT_TRUE(p.a == 0 || p.a == 255);  // one-bit glyphs: no blurred edges
        inked += p.a == 255;
    }
    EXPECT_GT(inked, 100);
    EXPECT_LE(TextWidth("FULLSCREEN", 2), 200);  // inside a 240-pixel button with room for its border
    EXPECT_GT(CapHeight(2), 16);
}
