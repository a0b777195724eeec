#include <gtest/gtest.h>

#include <string>

#include "levels/LevelFileFormat.h"

namespace {

LevelData Parse(const std::string& text) {
    LevelData level;
    LevelError error;
    EXPECT_TRUE(ParseLevelText(text, &level, &error)) << "line " << error.line << ": " << error.reason;
    return level;
}

// The parse fails and says where; `level` keeps what it held.
LevelError Refuse(const std::string& text) {
    LevelData level;
    level.tiles.push_back(TileRecord{7, 0, 1.0f, 2.0f, 3.0f});
    LevelError error;
    EXPECT_FALSE(ParseLevelText(text, &level, &error)) << "accepted: " << text.substr(0, 60);
    EXPECT_EQ(level.tiles.size(), 1u);
    EXPECT_TRUE(level.markers.empty());
    EXPECT_FALSE(error.reason.empty());
    return error;
}

}  // namespace

TEST(LevelFormatTest, TheTwoExampleLinesReadAndWriteAsDocumented) {
    const std::string text = "47,0,12,-3,2\nCollider\nWIND NORTH,4,6,20.5,3,1.5\n";
    const LevelData level = Parse(text);
    ASSERT_EQ(level.tiles.size(), 1u);
    EXPECT_EQ(level.tiles[0], (TileRecord{47, 0, 12.0f, -3.0f, 2.0f}));
    ASSERT_EQ(level.markers.size(), 1u);
    EXPECT_EQ(level.markers[0], (MarkerRecord{"WIND NORTH", 4.0f, 6.0f, 20.5f, 3.0f, 1.5f}));

    std::string written;
    ASSERT_TRUE(FormatLevelText(level, &written, nullptr));
    EXPECT_EQ(written, text);
}

TEST(LevelFormatTest, FloatsAreWrittenInTheStreamsDefaultNotation) {
    EXPECT_EQ(FormatLevelFloat(12.0f), "12");
    EXPECT_EQ(FormatLevelFloat(0.5f), "0.5");
    EXPECT_EQ(FormatLevelFloat(1e-7f), "1e-07");
    EXPECT_EQ(FormatLevelFloat(1234567.0f), "1.23457e+06");
    EXPECT_EQ(FormatLevelFloat(-3.0f), "-3");
    EXPECT_EQ(FormatLevelFloat(0.0001f), "0.0001");
    EXPECT_EQ(FormatLevelFloat(123456.0f), "123456");
    EXPECT_EQ(FormatLevelFloat(1.0f / 3.0f), "0.333333");
}

TEST(LevelFormatTest, EveryFiniteFloatWrittenReadsBackToTheSameSixDigits) {
    for (const float value : {3.4028235e38f, -3.4028235e38f, 1.17549435e-38f, 1.4e-45f, 2.5e-40f, 1.0f / 3.0f, -0.0f,
                              1.1920929e-7f, 98765.4321f}) {
        const std::string text = "Collider\nTILE,1,1," + FormatLevelFloat(value) + ",0,1\n";
        const LevelData level = Parse(text);
        ASSERT_EQ(level.markers.size(), 1u);
        EXPECT_EQ(FormatLevelFloat(level.markers[0].x), FormatLevelFloat(value));
    }
}

TEST(LevelFormatTest, SectionsFollowTheColliderLine) {
    const LevelData tilesOnly = Parse("1,0,0,0,1\n2,0,1,0,1\n");
    EXPECT_EQ(tilesOnly.tiles.size(), 2u);
    EXPECT_TRUE(tilesOnly.markers.empty());

    const LevelData markersOnly = Parse("Collider\nTILE,2,2,0,0,1\nCIN,1,1,5,5,1\n");
    EXPECT_TRUE(markersOnly.tiles.empty());
    ASSERT_EQ(markersOnly.markers.size(), 2u);
    EXPECT_EQ(markersOnly.markers[1].markerName, "CIN");

    // Only the whole line, in exact case, switches; "collider" is a tile line of bad numbers.
    LevelData lower;
    EXPECT_FALSE(ParseLevelText("collider\n", &lower, nullptr));
}

TEST(LevelFormatTest, MissingFieldsKeepTheRunningValuesOfEarlierLines) {
    const LevelData level = Parse("5,3,2,4,1\n6\n\n7,1,9\nCollider\nTILE,4,2\nCIN\n\nTILE,1,1,8,9,2.5\nCIN,3\n");
    ASSERT_EQ(level.tiles.size(), 4u);
    EXPECT_EQ(level.tiles[1], (TileRecord{6, 0, 2.0f, 4.0f, 1.0f}));
    // An empty line is a tile of index 0 where the previous one stood.
    EXPECT_EQ(level.tiles[2], (TileRecord{0, 0, 2.0f, 4.0f, 1.0f}));
    EXPECT_EQ(level.tiles[3], (TileRecord{7, 1, 9.0f, 4.0f, 1.0f}));

    ASSERT_EQ(level.markers.size(), 5u);
    // The marker section starts again from (0, 0) and keeps the box size across lines.
    EXPECT_EQ(level.markers[0], (MarkerRecord{"TILE", 4.0f, 2.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(level.markers[1], (MarkerRecord{"CIN", 4.0f, 2.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(level.markers[2], (MarkerRecord{"TILE", 4.0f, 2.0f, 0.0f, 0.0f, 1.0f}));
    // A value is never carried over: a marker without one has the value of a new marker.
    EXPECT_EQ(level.markers[4], (MarkerRecord{"CIN", 3.0f, 1.0f, 8.0f, 9.0f, 1.0f}));
}

TEST(LevelFormatTest, MarkerFieldsPastTheSixthAreIgnoredButATileLineMayHoldOnlyFive) {
    const LevelData level = Parse("Collider\nTILE,1,2,3,4,5,6,seven\n");
    ASSERT_EQ(level.markers.size(), 1u);
    EXPECT_EQ(level.markers[0].markerValue, 5.0f);

    const LevelError error = Refuse("1,0,0,0,1\n1,0,0,0,1,9\n");
    EXPECT_EQ(error.line, 2u);
}

TEST(LevelFormatTest, CrLfLineEndsReadExactlyLikeLf) {
    const std::string lf = "47,0,12,-3,2\n\n3,1,4\nCollider\nWIND NORTH,4,6,20.5,3,1.5\nCIN,1,1,0,0\n";
    std::string crlf;
    for (const char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    const LevelData fromLf = Parse(lf);
    const LevelData fromCrLf = Parse(crlf);
    ASSERT_EQ(fromCrLf.markers.size(), 2u) << "the Collider line ended in CR LF still divides the sections";
    EXPECT_EQ(fromCrLf.tiles, fromLf.tiles);
    EXPECT_EQ(fromCrLf.markers, fromLf.markers);
    EXPECT_EQ(fromCrLf.markers[1].markerName, "CIN");
}

TEST(LevelFormatTest, ALastLineWithoutALineEndStillCounts) {
    const LevelData level = Parse("1,0,0,0,1\nCollider\nTILE,1,1,0,0,1");
    EXPECT_EQ(level.markers.size(), 1u);
}

TEST(LevelFormatTest, DamagedFilesAreRefusedWithTheLineAndTheReason) {
    EXPECT_EQ(Refuse("1,0,0,0,1\nx,0,0,0,1\n").line, 2u);
    Refuse("1,0,abc,0,1\n");
    Refuse("12abc,0,0,0,1\n");
    Refuse("1,0,0.5.5,0,1\n");
    Refuse("-1,0,0,0,1\n");
    Refuse("1,0,,0,1\n");
    Refuse("Collider\nTILE,4,two,0,0,1\n");
    Refuse("Collider\nTILE,4,2,0,0,1.5x\n");
    // Out of range for the conversions.
    Refuse("4294967296,0,0,0,1\n");
    Refuse("1,2147483648,0,0,1\n");
    Refuse("1,0,1e39,0,1\n");
    Refuse("Collider\nTILE,1e999,1,0,0,1\n");
    Refuse("1,0," + std::string(400, '9') + ",0,1\n");
    // Not finite.
    Refuse("1,0,inf,0,1\n");
    Refuse("Collider\nTILE,1,1,nan,0,1\n");
}

TEST(LevelFormatTest, TheLimitsOfTheFormatAreAcceptedExactly) {
    const LevelData level = Parse("4294967295,-2147483648,0,0,1\n1,2147483647,0,0,1\n");
    EXPECT_EQ(level.tiles[0].tileIndex, 4294967295u);
    EXPECT_EQ(level.tiles[0].tileTag, -2147483648);
    EXPECT_EQ(level.tiles[1].tileTag, 2147483647);
}

TEST(LevelFormatTest, JunkIsRefusedWholeAndQuickly) {
    std::string longLine(1 << 20, '7');
    EXPECT_EQ(Refuse("1,0,0,0,1\n" + longLine + "\n").line, 2u);
    Refuse("Collider\n" + std::string(1 << 20, 'A') + ",1,1,0,0,1\n");

    std::string junk;
    for (int i = 0; i < 4096; ++i) {
        junk += static_cast<char>((i * 131 + 7) % 256);
    }
    Refuse(junk);
    Refuse("Collider\n" + junk);
    Refuse(std::string("1,0,0,0,1\nCollider\nTI\0LE,1,1,0,0,1\n", 33));

    Refuse(std::string(kMaxLevelRecords + 1, '\n'));
    Refuse(std::string(kMaxLevelFileSize + 1, ' '));
}

TEST(LevelFormatTest, NamesAreKeptAsWrittenEvenWhenTheGameDoesNotKnowThem) {
    const LevelData level = Parse("Collider\nLAVA POOL,1,1,0,0,1\n,2,2,0,0,1\nWIND NORTH EAST,1,1,0,0,3\n");
    ASSERT_EQ(level.markers.size(), 3u);
    EXPECT_EQ(level.markers[0].markerName, "LAVA POOL");
    EXPECT_EQ(level.markers[1].markerName, "");
    EXPECT_EQ(level.markers[2].markerName, "WIND NORTH EAST");
    std::string written;
    ASSERT_TRUE(FormatLevelText(level, &written, nullptr));
    EXPECT_EQ(Parse(written).markers, level.markers);
}

TEST(LevelFormatTest, ValuesThatCouldNotBeReadBackAreNotWritten) {
    std::string text = "untouched";
    LevelData comma;
    comma.tiles.push_back(TileRecord{});
    comma.markers.push_back(MarkerRecord{"WIND,NORTH", 1.0f, 1.0f, 0.0f, 0.0f, 1.0f});
    LevelError error;
    EXPECT_FALSE(FormatLevelText(comma, &text, &error));
    EXPECT_EQ(error.line, 3u);

    LevelData lineEnd = comma;
    lineEnd.markers[0].markerName = "TILE\n";
    EXPECT_FALSE(FormatLevelText(lineEnd, &text, nullptr));

    LevelData infinite;
    infinite.tiles.push_back(TileRecord{1, 0, 1.0f / 0.0f, 0.0f, 1.0f});
    EXPECT_FALSE(FormatLevelText(infinite, &text, nullptr));
    EXPECT_EQ(text, "untouched");
}
