#include <GL/glew.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "automation/Screenshot.h"
#include "graphics/Camera.h"
#include "graphics/Mesh.h"
#include "graphics/PostProcess.h"
#include "graphics/Texture.h"
#include "levels/TileMeshes.h"
#include "levels_file/LevelTesting.h"
#include "resources/ResourceLoader.h"

namespace {

constexpr int kWindowWidth = 256;
constexpr int kWindowHeight = 180;

std::vector<Vertex> ReadVertices(const Mesh& mesh) {
    std::vector<Vertex> vertices(4);
    glBindBuffer(GL_ARRAY_BUFFER, mesh.GetVertexBuffer());
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)), vertices.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return vertices;
}

struct TextureRect {
    float sLeft = 1e9f, sRight = -1e9f, tTop = 1e9f, tBottom = -1e9f;
};

// The texture coordinates at the quad's left, right, top and bottom edges.
TextureRect RectOf(const std::vector<Vertex>& vertices) {
    TextureRect rect;
    for (const Vertex& v : vertices) {
        if (v.position[0] < 0.0f) {
            rect.sLeft = v.uv[0];
        } else {
            rect.sRight = v.uv[0];
        }
        if (v.position[1] > 0.0f) {
            rect.tTop = v.uv[1];
        } else {
            rect.tBottom = v.uv[1];
        }
    }
    return rect;
}

std::vector<unsigned char> ReadTexture(const Texture& texture, int* width, int* height) {
    glBindTexture(GL_TEXTURE_2D, texture.GetId());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, height);
    std::vector<unsigned char> pixels(static_cast<size_t>(*width) * *height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

}  // namespace

TEST_F(LevelTest, TheTableHoldsAHundredCellsOfTheSheetRowByRowFromTheTop) {
    const TileMeshTable& table = GetTileMeshTable();
    ASSERT_EQ(table.count(), 100);
    EXPECT_EQ(table.GetColumns(), 10);
    EXPECT_EQ(table.GetLastRow(), 9);
    EXPECT_EQ(table.Lookup(100), nullptr);
    EXPECT_EQ(table.Lookup(4294967295u), nullptr);
    for (const uint32_t index : {0u, 9u, 10u, 47u, 99u}) {
        const Mesh* mesh = table.Lookup(index);
        ASSERT_NE(mesh, nullptr);
        EXPECT_STREQ(mesh->GetName(), "EnvTile");
        EXPECT_EQ(mesh->GetIndexCount(), 4);
        const TextureRect rect = RectOf(ReadVertices(*mesh));
        const float column = static_cast<float>(index % 10);
        const float row = static_cast<float>(index / 10);
        EXPECT_FLOAT_EQ(rect.sLeft, 0.1f * column) << index;
        EXPECT_FLOAT_EQ(rect.sRight, 0.1f * column + 0.1f) << index;
        EXPECT_FLOAT_EQ(rect.tTop, 0.1f * row) << index;
        EXPECT_FLOAT_EQ(rect.tBottom, 0.1f * row + 0.1f) << index;
    }
}

TEST_F(LevelTest, ATableOfAnUnevenCountEndsPartWayThroughItsLastRow) {
    TileMeshTable table;
    table.Build(4, 10);
    EXPECT_EQ(table.count(), 10);
    EXPECT_EQ(table.GetLastRow(), 2);
    const TextureRect last = RectOf(ReadVertices(*table.Lookup(9)));
    EXPECT_FLOAT_EQ(last.sLeft, 0.25f);
    EXPECT_FLOAT_EQ(last.tTop, 0.5f);
    table.Build(0, 10);
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(table.Lookup(0), nullptr);
}

// The whole sheet laid out as a level: each tile shows its own cell, the right way up.
TEST_F(LevelTest, TilesOfALevelShowTheirCellsOfTheSheet) {
    const Texture* sheet = GetResources().LookupTexture(TextureId::ForestTileset);
    ASSERT_TRUE(sheet != nullptr && sheet->GetId() != 0) << "the tile sheet was not generated";
    std::string level;
    for (int index = 0; index < 100; ++index) {
        level +=
            std::to_string(index) + ",0," + std::to_string(index % 10) + "," + std::to_string(-(index / 10)) + ",1\n";
    }
    ASSERT_TRUE(Load(level));
    GetScene().FlushObjectQueues();

    GetCamera().Reset();
    GetCamera().SetPosition(Vector3(4.5f, -4.5f, 0.0f));
    BindWindowFramebuffer();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GetCamera().UpdateMatrices();
    PrepareSceneShader();
    GetScene().RenderWorld();
    glFinish();
    if (const char* shots = std::getenv("LIRRA_SHOT_DIR")) {
        SaveScreenshot(std::string(shots) + "/level-tile-sheet.png");
    }
    std::vector<unsigned char> window(kWindowWidth * kWindowHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWindowWidth, kWindowHeight, GL_RGBA, GL_UNSIGNED_BYTE, window.data());
    int sheetWidth = 0;
    int sheetHeight = 0;
    const std::vector<unsigned char> texels = ReadTexture(*sheet, &sheetWidth, &sheetHeight);
    GetCamera().Reset();

    // A quarter of a tile up and left of each centre; the camera shows 20 x 20 units.
    int compared = 0;
    int matching = 0;
    for (int index = 0; index < 100; ++index) {
        const int column = index % 10;
        const int row = index / 10;
        const int px = static_cast<int>((column - 0.25f - (4.5f - 10.0f)) / 20.0f * kWindowWidth);
        const int py = static_cast<int>((-row + 0.25f - (-4.5f - 10.0f)) / 20.0f * kWindowHeight);
        const int tx = static_cast<int>((column + 0.25f) * sheetWidth / 10.0f);
        const int ty = static_cast<int>((row + 0.25f) * sheetHeight / 10.0f);
        const unsigned char* texel = &texels[(static_cast<size_t>(ty) * sheetWidth + tx) * 4];
        if (texel[3] < 255) {
            continue;
        }
        ++compared;
        // One window pixel spans a few texels: any texel close by may be the one drawn.
        const unsigned char* pixel = &window[(static_cast<size_t>(py) * kWindowWidth + px) * 4];
        bool found = false;
        for (int dy = -3; dy <= 3 && !found; ++dy) {
            for (int dx = -3; dx <= 3 && !found; ++dx) {
                const unsigned char* near = &texels[(static_cast<size_t>(ty + dy) * sheetWidth + tx + dx) * 4];
                const int difference =
                    std::abs(pixel[0] - near[0]) + std::abs(pixel[1] - near[1]) + std::abs(pixel[2] - near[2]);
                found = near[3] == 255 && difference <= 12;
            }
        }
        matching += found ? 1 : 0;
    }
    ASSERT_GT(compared, 10) << "the sheet has opaque cells to compare";
    EXPECT_GE(matching, compared * 9 / 10) << matching << " of " << compared << " cells";
}
