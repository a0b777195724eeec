// Pixel lettering with the game's own font, rendered in one-bit glyphs on its 16-pixel grid
// and enlarged by whole factors so every stroke stays crisp.
#pragma once

#include "raster.h"

#include <string>

namespace datagen {

const char* FontSourcePath();  // the DotGothic16 file that Debian installs

// Pixel width of text at the given whole-number scale.
int TextWidth(const std::string& text, int scale);
int CapHeight(int scale);
int TextHeight(int scale);  // from the top of the capitals to the bottom of the descenders
// Draws text with the top of its capitals at y, starting at x. With a shadow colour, a drop shadow one scaled
// pixel down and right is drawn first.
void DrawText(Image& img, const std::string& text, int x, int y, int scale, Rgba color);
// Bold doubles each stroke; tracking adds space between letters, in font pixels.
void DrawTextWeighted(Image& img, const std::string& text, int x, int y, int scale, Rgba color, bool bold,
                      int tracking);
void DrawTextShadowed(Image& img, const std::string& text, int x, int y, int scale, Rgba color, Rgba shadow);
void DrawTextCentered(Image& img, const std::string& text, int cx, int y, int scale, Rgba color, Rgba shadow);

}  // namespace datagen
