#pragma once

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "math/Vector.h"

// One rasterised glyph of the font.
struct Character {
    unsigned int texture = 0;  // red channel only
    Vector2 size;              // bitmap width and rows, pixels
    Vector2 bearing;           // bitmap left and top, pixels
    unsigned int advance = 0;  // 1/64 pixel
};

// One queued string, in the 1024 x 720 screen space (origin bottom-left).
struct TextItem {
    std::string text;
    Vector2 position;  // baseline start of the first line
    float scale = 1.0f;
    Vector3 colour;
    bool zoomScaled = false;  // divided by the camera zoom (world-anchored text)
};

// Six (x, y, u, v) vertices: two triangles of one glyph.
using GlyphQuad = float[6][4];

// Queued screen-space text drawn with the game's pixel font, once per frame after the composite.
class TextRenderer {
public:
    static constexpr int kPixelSize = 64;

    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    void Init(const char* fontPath);
    void Shutdown();

    void DrawText(std::string_view text, const Vector2& position, float scale, const Vector3& colour,
                  bool zoomScaled = false);
    void DrawTextAtWorld(std::string_view text, const Vector3& worldPosition, float scale, const Vector3& colour);
    // Draws every queued item, oldest first, and empties the queue.
    void Flush();

    // Walks the glyphs of one item as they would be drawn; glyphs with an empty bitmap come too.
    void LayoutItem(const TextItem& item, const std::function<void(const Character&, const GlyphQuad&)>& emit) const;
    // The distance between two lines at scale 1.
    float LineStep() const;

    bool IsLoaded() const { return !characters.empty(); }
    size_t CountQueued() const { return queued; }
    std::span<const TextItem> GetQueue() const { return {items.data(), queued}; }
    void ClearQueue() { queued = 0; }

private:
    void LoadGlyphs();
    void DrawItem(const TextItem& item);

    // The queue is the first `queued` items; items past it keep their text storage for the next
    // frame, so queueing the same strings every frame does not allocate.
    std::vector<TextItem> items;
    size_t queued = 0;
    std::map<char, Character> characters;
    void* library = nullptr;  // FT_Library
    void* face = nullptr;     // FT_Face
    float lineHeight = 0.0f;  // the face's line height in pixels
    unsigned int vertexArray = 0;
    unsigned int vertexBuffer = 0;
};

TextRenderer& GetTextRenderer();

// `count` letters 'I', the letter the health bars are drawn with, without building a string.
std::string_view BarLetters(size_t count);
