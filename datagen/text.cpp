#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <map>

namespace datagen {

namespace {

constexpr int kGridSize = 16;

struct Glyph {
    Image bitmap;  // one-bit coverage as white pixels
    int left = 0;
    int top = 0;  // pixels above the baseline
    int advance = 0;
};

class GlyphCache {
public:
    GlyphCache() {
        if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, FontSourcePath(), 0, &face) != 0) {
            std::printf("Cannot open the font '%s' (install fonts-dotgothic16)\n", FontSourcePath());
            std::exit(1);
        }
        FT_Set_Pixel_Sizes(face, 0, kGridSize);
    }
    ~GlyphCache() {
        FT_Done_Face(face);
        FT_Done_FreeType(library);
    }

    const Glyph& Get(unsigned char c) {
        auto found = glyphs.find(c);
        if (found != glyphs.end()) {
            return found->second;
        }
        Glyph glyph;
        if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
            const FT_Bitmap& bm = face->glyph->bitmap;
            glyph.bitmap = Image(int(bm.width), int(bm.rows));
            for (unsigned y = 0; y < bm.rows; y++) {
                for (unsigned x = 0; x < bm.width; x++) {
                    const unsigned char byte = bm.buffer[y * bm.pitch + x / 8];
                    if (byte & (0x80 >> (x % 8))) {
                        glyph.bitmap.Put(int(x), int(y), Rgba{255, 255, 255, 255});
                    }
                }
            }
            glyph.left = face->glyph->bitmap_left;
            glyph.top = face->glyph->bitmap_top;
            glyph.advance = int(face->glyph->advance.x >> 6);
        }
        return glyphs.emplace(c, std::move(glyph)).first->second;
    }

private:
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::map<unsigned char, Glyph> glyphs;
};

GlyphCache& Cache() {
    static GlyphCache cache;
    return cache;
}

}  // namespace

const char* FontSourcePath() {
    return "/usr/share/fonts/truetype/dotgothic16/DotGothic16-Regular.ttf";
}

int TextWidth(const std::string& text, int scale) {
    int width = 0;
    for (unsigned char c : text) {
        width += Cache().Get(c).advance;
    }
    return width * scale;
}

// Lines are measured from the top of the capitals to the bottom of the descenders.
static int CapHeight() {
    return Cache().Get('H').top;
}

int CapHeight(int scale) {
    return CapHeight() * scale;
}

static int Descent() {
    int descent = 0;
    for (unsigned char c : {'g', 'j', 'p', 'q', 'y'}) {
        const Glyph& g = Cache().Get(c);
        descent = std::max(descent, g.bitmap.Height() - g.top);
    }
    return descent;
}

int TextHeight(int scale) {
    return (CapHeight() + Descent()) * scale;
}

void DrawText(Image& img, const std::string& text, int x, int y, int scale, Rgba color) {
    DrawTextWeighted(img, text, x, y, scale, color, false, 0);
}

void DrawTextWeighted(Image& img, const std::string& text, int x, int y, int scale, Rgba color, bool bold,
                      int tracking) {
    int penX = 0;
    const int baseline = CapHeight();
    for (unsigned char c : text) {
        const Glyph& g = Cache().Get(c);
        // the narrow counters of M and W would close up if their strokes were doubled
        const bool widen = bold && std::string("MWmw").find(char(c)) == std::string::npos;
        for (int gy = 0; gy < g.bitmap.Height(); gy++) {
            for (int gx = 0; gx < g.bitmap.Width(); gx++) {
                if (g.bitmap.Get(gx, gy).a == 0) {
                    continue;
                }
                const int px = x + (penX + g.left + gx) * scale, py = y + (baseline - g.top + gy) * scale;
                // bold doubles every stroke one pixel to the right
                FillRect(img, px, py, px + scale * (widen ? 2 : 1) - 1, py + scale - 1, color);
            }
        }
        penX += g.advance + tracking;
    }
}

void DrawTextShadowed(Image& img, const std::string& text, int x, int y, int scale, Rgba color, Rgba shadow) {
    DrawText(img, text, x + scale, y + scale, scale, shadow);
    DrawText(img, text, x, y, scale, color);
}

void DrawTextCentered(Image& img, const std::string& text, int cx, int y, int scale, Rgba color, Rgba shadow) {
    DrawTextShadowed(img, text, cx - TextWidth(text, scale) / 2, y, scale, color, shadow);
}

}  // namespace datagen
