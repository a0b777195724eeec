// The game's font is installed and covers every character the game can print.
#include "asset_support.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

using namespace assets_test;

TEST(Font, HasAGlyphForEveryPrintableAsciiCharacter) {
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face = nullptr;
    ASSERT_EQ(FT_New_Face(library, DataPath("Fonts/PixelGameFont.ttf").c_str(), 0, &face), 0);
    FT_Set_Pixel_Sizes(face, 0, 48);
    for (FT_ULong c = 32; c < 127; c++) {
        EXPECT_NE(FT_Get_Char_Index(face, c), 0u) << "character " << char(c);
        ASSERT_EQ(FT_Load_Char(face, c, FT_LOAD_RENDER), 0) << "character " << char(c);
        if (c != ' ') {
            EXPECT_GT(face->glyph->bitmap.width * face->glyph->bitmap.rows, 0u) << "character " << char(c);
        }
        EXPECT_GT(face->glyph->advance.x, 0) << "character " << char(c);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}
