#include "graphics/TextRenderer.h"

#include <GL/glew.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <glm/gtc/matrix_transform.hpp>

#include "base/Log.h"
#include "graphics/Camera.h"
#include "graphics/PostProcess.h"
#include "graphics/ShaderManager.h"
#include "platform/Window.h"

namespace {

constexpr unsigned int kTextAttribute = 4;
constexpr float kLineSpacing = 0.4f;
constexpr float kGlyphScale = 0.5f;
// Enough for every text of a busy frame (health bars, the boss bar, dialogue, labels).
constexpr size_t kReservedItems = 256;
constexpr size_t kReservedCharacters = 2048;  // a page of the credits roll
constexpr size_t kBarRowLength = 256;

// Made with the program, so the first health bar of a level takes nothing from the heap.
std::string barRow(kBarRowLength, 'I');

void Report(const char* line) {
    Log("%s", line);
}

}  // namespace

TextRenderer::TextRenderer() : items(kReservedItems) {
    for (TextItem& item : items) {
        item.text.reserve(kReservedCharacters);
    }
}

TextRenderer::~TextRenderer() {
    Shutdown();
}

void TextRenderer::Init(const char* fontPath) {
    FT_Library ftLibrary = nullptr;
    if (FT_Init_FreeType(&ftLibrary) != 0) {
        Report("ERROR::FREETYPE: Could not init FreeType Library\n");
        return;
    }
    library = ftLibrary;
    Report("FreeType Library loaded\n");
    FT_Face ftFace = nullptr;
    if (FT_New_Face(ftLibrary, fontPath, 0, &ftFace) != 0) {
        Report("ERROR::FREETYPE: Failed to load font\n");
        return;
    }
    face = ftFace;
    Log("Font: \"%s\" loaded!\n", fontPath);
    FT_Set_Pixel_Sizes(ftFace, 0, kPixelSize);
    lineHeight = static_cast<float>(ftFace->size->metrics.height) / 64.0f;
    LoadGlyphs();
}

void TextRenderer::LoadGlyphs() {
    FT_Face ftFace = static_cast<FT_Face>(face);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int code = 0; code < 128; ++code) {
        if (FT_Load_Char(ftFace, static_cast<FT_ULong>(code), FT_LOAD_RENDER) != 0) {
            Report("ERROR::FREETYTPE: Failed to load Glyph\n");
            continue;
        }
        const FT_Bitmap& bitmap = ftFace->glyph->bitmap;
        unsigned int texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RED, static_cast<GLsizei>(bitmap.width), static_cast<GLsizei>(bitmap.rows), 0,
                     GL_RED, GL_UNSIGNED_BYTE, bitmap.buffer);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        Character character;
        character.texture = texture;
        character.size = Vector2(static_cast<float>(bitmap.width), static_cast<float>(bitmap.rows));
        character.bearing =
            Vector2(static_cast<float>(ftFace->glyph->bitmap_left), static_cast<float>(ftFace->glyph->bitmap_top));
        character.advance = static_cast<unsigned int>(ftFace->glyph->advance.x);
        characters[static_cast<char>(code)] = character;
    }
    glBindTexture(GL_TEXTURE_2D, 0);

    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &vertexBuffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(GlyphQuad), nullptr, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(kTextAttribute);
    glVertexAttribPointer(kTextAttribute, 4, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

void TextRenderer::Shutdown() {
    if (face != nullptr) {
        FT_Done_Face(static_cast<FT_Face>(face));
        face = nullptr;
    }
    if (library != nullptr) {
        FT_Done_FreeType(static_cast<FT_Library>(library));
        library = nullptr;
    }
    // At process exit the context is gone and GL ignores these.
    if (vertexBuffer != 0) {
        glDeleteBuffers(1, &vertexBuffer);
        glDeleteVertexArrays(1, &vertexArray);
        vertexBuffer = 0;
        vertexArray = 0;
    }
    characters.clear();
    queued = 0;
}

void TextRenderer::DrawText(std::string_view text, const Vector2& position, float scale, const Vector3& colour,
                            bool zoomScaled) {
    if (queued == items.size()) {
        items.emplace_back();
    }
    TextItem& item = items[queued++];
    item.text.assign(text);
    item.position = position;
    item.scale = scale;
    item.colour = colour;
    item.zoomScaled = zoomScaled;
}

void TextRenderer::DrawTextAtWorld(std::string_view text, const Vector3& worldPosition, float scale,
                                   const Vector3& colour) {
    const Vector3 screen = GetCamera().WorldToScreen(worldPosition);
    DrawText(text, Vector2(screen.x, screen.y), scale, colour, true);
}

float TextRenderer::LineStep() const {
    return lineHeight * kLineSpacing;
}

void TextRenderer::LayoutItem(const TextItem& item,
                              const std::function<void(const Character&, const GlyphQuad&)>& emit) const {
    float s = item.scale;
    if (item.zoomScaled) {
        s /= GetCamera().GetZoom();
    }
    const float lineScale = s;
    const float glyphScale = s * kGlyphScale;
    float x = item.position.x;
    float yOffset = 0.0f;
    const Character missing;
    for (size_t i = 0; i < item.text.size(); ++i) {
        const char c = item.text[i];
        if (c == '\n' && i + 1 < item.text.size()) {
            yOffset -= LineStep() * lineScale;
            x = item.position.x;
            continue;
        }
        const auto found = characters.find(c);
        const Character& g = found == characters.end() ? missing : found->second;
        const float xpos = x + g.bearing.x * glyphScale;
        const float ypos = item.position.y + yOffset - (g.size.y - g.bearing.y) * glyphScale;
        const float w = g.size.x * glyphScale;
        const float h = g.size.y * glyphScale;
        const GlyphQuad quad = {
            {xpos, ypos + h, 0.0f, 0.0f}, {xpos, ypos, 0.0f, 1.0f},     {xpos + w, ypos, 1.0f, 1.0f},
            {xpos, ypos + h, 0.0f, 0.0f}, {xpos + w, ypos, 1.0f, 1.0f}, {xpos + w, ypos + h, 1.0f, 0.0f},
        };
        emit(g, quad);
        x += static_cast<float>(g.advance >> 6) * glyphScale;
    }
}

void TextRenderer::DrawItem(const TextItem& item) {
    ShaderManager& shaders = GetShaderManager();
    // Only the default program has the text path (the scene's program is built without it).
    const ShaderProgram* current = shaders.GetCurrent();
    if (current == nullptr || current->name != "Shader/default") {
        shaders.Use("Shader/default");
    }
    shaders.SetMat4("textProj",
                    glm::ortho(0.0f, static_cast<float>(kScreenWidth), 0.0f, static_cast<float>(kScreenHeight)));
    shaders.SetBool("textEnabled", true);
    shaders.SetVec3("textColor", item.colour);
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(vertexArray);
    LayoutItem(item, [this](const Character& g, const GlyphQuad& quad) {
        if (g.texture == 0) {
            return;
        }
        glBindTexture(GL_TEXTURE_2D, g.texture);
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(GlyphQuad), quad);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glDisable(GL_DEPTH_TEST);
        glDrawArrays(GL_TRIANGLES, 0, 6);
        glEnable(GL_DEPTH_TEST);
    });
    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    shaders.SetBool("textEnabled", false);
}

void TextRenderer::Flush() {
    // Without a font nothing can be drawn, but the queue still empties every frame.
    if (vertexArray != 0) {
        if (queued > 0) {
            NoteWindowDrawn();
        }
        for (size_t i = 0; i < queued; ++i) {
            DrawItem(items[i]);
        }
    }
    queued = 0;
}

TextRenderer& GetTextRenderer() {
    static TextRenderer renderer;
    return renderer;
}

std::string_view BarLetters(size_t count) {
    if (barRow.size() < count) {
        barRow.assign(count, 'I');
    }
    return std::string_view(barRow).substr(0, count);
}
