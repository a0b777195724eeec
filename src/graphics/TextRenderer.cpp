#include "graphics/TextRenderer.h"

void TextRenderer::Init(const char*) {}
void TextRenderer::Flush() {}

TextRenderer& GetTextRenderer() {
    static TextRenderer renderer;
    return renderer;
}
