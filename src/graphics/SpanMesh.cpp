#include "graphics/SpanMesh.h"

#include <GL/glew.h>

#include <algorithm>

#include "graphics/Mesh.h"
#include "graphics/Texture.h"

namespace {

// A vertex of the unit quad that shows `rect`, at the corner of texel (column, row) of the image.
Vertex CornerVertex(int column, int row, const AlphaImage& image, const TexelRect& rect) {
    Vertex vertex;
    const float across = static_cast<float>(column - rect.firstColumn) / static_cast<float>(rect.endColumn - rect.firstColumn);
    const float down = static_cast<float>(row - rect.firstRow) / static_cast<float>(rect.endRow - rect.firstRow);
    vertex.position[0] = across - 0.5f;
    vertex.position[1] = 0.5f - down;
    vertex.normal[2] = 1.0f;
    vertex.uv[0] = static_cast<float>(column) / static_cast<float>(image.width);
    vertex.uv[1] = static_cast<float>(row) / static_cast<float>(image.height);
    return vertex;
}

void AddSpan(int firstColumn, int endColumn, int firstRow, int endRow, const AlphaImage& image, const TexelRect& rect,
             std::vector<Vertex>* vertices, std::vector<unsigned int>* indices) {
    const unsigned int base = static_cast<unsigned int>(vertices->size());
    vertices->push_back(CornerVertex(firstColumn, endRow, image, rect));
    vertices->push_back(CornerVertex(firstColumn, firstRow, image, rect));
    vertices->push_back(CornerVertex(endColumn, endRow, image, rect));
    vertices->push_back(CornerVertex(endColumn, firstRow, image, rect));
    for (const unsigned int corner : {0u, 1u, 2u, 2u, 1u, 3u}) {
        indices->push_back(base + corner);
    }
}

// Whether a texel of rows low .. high - 1 in the column or one beside it is not fully transparent.
// Texels outside the rect count too: a fetch at its edge may still reach them.
bool AnyCoveredNear(const AlphaImage& image, int column, int lowRow, int highRow) {
    for (int row = lowRow; row < highRow; ++row) {
        for (int near = std::max(column - 1, 0); near <= std::min(column + 1, image.width - 1); ++near) {
            if (image.Covered(near, row)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

AlphaImage ReadAlpha(const Texture* texture) {
    AlphaImage image;
    const Vector2 size = texture->GetSize();
    image.width = static_cast<int>(size.x);
    image.height = static_cast<int>(size.y);
    if (image.width <= 0 || image.height <= 0) {
        return AlphaImage();
    }
    image.alpha.resize(static_cast<size_t>(image.width) * image.height);
    glBindTexture(GL_TEXTURE_2D, texture->GetId());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, image.alpha.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    return image;
}

bool HasTransparentTexel(const AlphaImage& image) {
    for (const unsigned char a : image.alpha) {
        if (a != 255) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<Mesh> MakeSpanMesh(const char* name, const AlphaImage& image, const TexelRect& rect, int bandRows) {
    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices;
    const int columns = std::max(rect.endColumn - rect.firstColumn, 0);
    std::vector<bool> covered(static_cast<size_t>(columns));
    for (int firstRow = rect.firstRow; firstRow < rect.endRow && columns > 0; firstRow += std::max(bandRows, 1)) {
        const int endRow = std::min(firstRow + std::max(bandRows, 1), rect.endRow);
        const int lowRow = std::max(firstRow - 1, 0);
        const int highRow = std::min(endRow + 1, image.height);
        for (int i = 0; i < columns; ++i) {
            covered[static_cast<size_t>(i)] = AnyCoveredNear(image, rect.firstColumn + i, lowRow, highRow);
        }
        for (int i = 0; i < columns;) {
            if (!covered[static_cast<size_t>(i)]) {
                ++i;
                continue;
            }
            const int first = i;
            while (i < columns && covered[static_cast<size_t>(i)]) {
                ++i;
            }
            AddSpan(rect.firstColumn + first, rect.firstColumn + i, firstRow, endRow, image, rect, &vertices, &indices);
        }
    }
    auto mesh = std::make_unique<Mesh>(name);
    mesh->Upload(vertices.data(), static_cast<int>(vertices.size()), indices.data(), static_cast<int>(indices.size()),
                 MESH_TRIANGLES);
    return mesh;
}
