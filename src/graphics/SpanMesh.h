#pragma once

#include <memory>
#include <vector>

class Mesh;
class Texture;

// The alpha of each texel of a texture, read back from GL.
struct AlphaImage {
    int                        width = 0;
    int                        height = 0;
    std::vector<unsigned char> alpha;    // row 0 at v = 0

    bool Covered(int column, int row) const { return alpha[static_cast<size_t>(row) * width + column] != 0; }
};

// A rectangle of texels: columns first .. end - 1, rows first .. end - 1.
struct TexelRect {
    int firstColumn = 0;
    int firstRow = 0;
    int endColumn = 0;
    int endRow = 0;
};

AlphaImage ReadAlpha(const Texture* texture);
bool       HasTransparentTexel(const AlphaImage& image);

// A mesh of the unit quad (x and y in -0.5 .. 0.5, top at +0.5) that shows `rect` of the image,
// cut into bands of `bandRows` texel rows, each band holding the column spans where a texel of the
// band, or one beside it, is not fully transparent. Drawn in place of the whole quad it shades the
// same texels at the same pixels and leaves out only those a fetch would find fully transparent,
// so a software renderer neither shades nor discards them. No spans: an empty mesh.
std::unique_ptr<Mesh> MakeSpanMesh(const char* name, const AlphaImage& image, const TexelRect& rect, int bandRows);
