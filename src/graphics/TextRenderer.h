#pragma once

// Queued screen-space text drawn with the game's font. (Being built.)
class TextRenderer {
public:
    void Init(const char* fontPath);
    void Flush();
};

TextRenderer& GetTextRenderer();
