#include "graphics/Background.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>
#include <algorithm>
#include <memory>
#include <vector>

#include "graphics/Camera.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "graphics/PostProcess.h"
#include "graphics/Texture.h"
#include "resources/ResourceLoader.h"

namespace {
constexpr float kLayerScale = 2.7f;
constexpr float kHalfScreenHeight = 360.0f;
constexpr float kFarStripWidth = 6144.0f;
constexpr float kFarStripHeight = 720.0f;

// Texel rows per band of a layer's tight mesh: each band covers the columns where any of its rows
// holds a texel that is not fully transparent.
constexpr int kBandRows = 4;

std::map<std::string, Texture*> layers;

// What of a layer's quad is drawn. A layer without a transparent texel is drawn without blending
// and alpha test; a layer with transparent texels is drawn through a mesh that leaves out the
// spans of its texture where every texel is transparent, so a software renderer does not shade
// and discard them. The pixels it draws sample the texture exactly where the whole quad would.
struct LayerShape {
    bool opaque = false;
    std::unique_ptr<Mesh> tight;
};
std::map<const Texture*, LayerShape> shapes;

struct AlphaImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> alpha;  // row 0 at v = 0

    bool Covered(int column, int row) const { return alpha[static_cast<size_t>(row) * width + column] != 0; }
};

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

// A vertex of the unit quad (x and y in -0.5 .. 0.5, v = 0 at the top) at a texel corner.
Vertex CornerVertex(int column, int row, const AlphaImage& image) {
    Vertex vertex;
    const float u = static_cast<float>(column) / static_cast<float>(image.width);
    const float v = static_cast<float>(row) / static_cast<float>(image.height);
    vertex.position[0] = u - 0.5f;
    vertex.position[1] = 0.5f - v;
    vertex.normal[2] = 1.0f;
    vertex.uv[0] = u;
    vertex.uv[1] = v;
    return vertex;
}

void AddSpan(int firstColumn, int endColumn, int firstRow, int endRow, const AlphaImage& image,
             std::vector<Vertex>* vertices, std::vector<unsigned int>* indices) {
    const unsigned int base = static_cast<unsigned int>(vertices->size());
    vertices->push_back(CornerVertex(firstColumn, endRow, image));
    vertices->push_back(CornerVertex(firstColumn, firstRow, image));
    vertices->push_back(CornerVertex(endColumn, endRow, image));
    vertices->push_back(CornerVertex(endColumn, firstRow, image));
    for (const unsigned int corner : {0u, 1u, 2u, 2u, 1u, 3u}) {
        indices->push_back(base + corner);
    }
}

std::unique_ptr<Mesh> MakeTightMesh(const AlphaImage& image) {
    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices;
    std::vector<bool> covered(static_cast<size_t>(image.width));
    for (int firstRow = 0; firstRow < image.height; firstRow += kBandRows) {
        const int endRow = std::min(firstRow + kBandRows, image.height);
        // A texel beside the band on any side counts too: a filtered fetch at the band's edge
        // still reaches it.
        const int lowRow = std::max(firstRow - 1, 0);
        const int highRow = std::min(endRow + 1, image.height);
        for (int column = 0; column < image.width; ++column) {
            bool any = false;
            for (int row = lowRow; row < highRow && !any; ++row) {
                for (int near = std::max(column - 1, 0); near <= std::min(column + 1, image.width - 1) && !any;
                     ++near) {
                    any = image.Covered(near, row);
                }
            }
            covered[static_cast<size_t>(column)] = any;
        }
        for (int column = 0; column < image.width;) {
            if (!covered[static_cast<size_t>(column)]) {
                ++column;
                continue;
            }
            const int firstColumn = column;
            while (column < image.width && covered[static_cast<size_t>(column)]) {
                ++column;
            }
            AddSpan(firstColumn, column, firstRow, endRow, image, &vertices, &indices);
        }
    }
    auto mesh = std::make_unique<Mesh>("BackgroundLayer");
    mesh->Upload(vertices.data(), static_cast<int>(vertices.size()), indices.data(), static_cast<int>(indices.size()),
                 MESH_TRIANGLES);
    return mesh;
}

void ShapeLayer(const Texture* texture) {
    if (texture == nullptr || shapes.count(texture) != 0) {
        return;
    }
    const AlphaImage image = ReadAlpha(texture);
    LayerShape& shape = shapes[texture];
    if (image.alpha.empty()) {
        return;
    }
    shape.opaque = !HasTransparentTexel(image);
    if (!shape.opaque) {
        shape.tight = MakeTightMesh(image);
    }
}

Texture* Layer(const std::string& name) {
    const auto found = layers.find(name);
    return found == layers.end() ? nullptr : found->second;
}

Vector2 SizeOf(const Texture* texture) {
    return texture == nullptr ? Vector2() : texture->GetSize();
}

// One layer inside its own model push: translated, then scaled around the quad's centre.
void DrawLayer(const Mesh& quad, const Texture* texture, const glm::vec3& translation, const glm::vec3& scale) {
    const auto found = shapes.find(texture);
    const LayerShape* shape = found == shapes.end() ? nullptr : &found->second;
    const bool opaque = shape != nullptr && shape->opaque;
    const Mesh& drawn = shape != nullptr && shape->tight != nullptr ? *shape->tight : quad;
    if (opaque) {
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
    }
    MatrixStack& model = GetModelStack();
    model.Push();
    model.Translate(translation.x, translation.y, translation.z);
    model.Scale(scale.x, scale.y, scale.z);
    drawn.Draw(texture, 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    model.Pop();
    if (opaque) {
        glEnable(GL_BLEND);
        glEnable(GL_ALPHA_TEST);
    }
}

void DrawForest(const Mesh& quad, float cx, float cy) {
    const Vector2 middleSize = SizeOf(Layer("FOREST_MG2"));
    const Vector2 edgeSize = SizeOf(Layer("FOREST_LOWER"));
    const float middleW = kLayerScale * middleSize.x;
    const float middleH = kLayerScale * middleSize.y;
    const float edgeW = kLayerScale * edgeSize.x;
    const float edgeH = kLayerScale * edgeSize.y;

    DrawLayer(quad, Layer("FOREST_BG"), glm::vec3(-cx, -1.5f * cy, -99.0f),
              glm::vec3(kFarStripWidth, kFarStripHeight, 1.0f));
    DrawLayer(quad, Layer("FOREST_MG2"), glm::vec3(-cx, 0.8f * cy, -98.0f), glm::vec3(middleW, middleH, 1.0f));
    // The same middle ground again, upside down and sliding faster.
    DrawLayer(quad, Layer("FOREST_MG1"), glm::vec3(-1.5f * cx + 0.1f * middleW, 0.6f * cy, -97.0f),
              glm::vec3(middleW, -middleH, 1.0f));
    // The edges follow the camera sideways only: one sits on the bottom of the screen, one hangs from its top.
    DrawLayer(quad, Layer("FOREST_LOWER"), glm::vec3(-cx, edgeH / 2.0f - kHalfScreenHeight, -96.0f),
              glm::vec3(edgeW, edgeH, 1.0f));
    DrawLayer(quad, Layer("FOREST_UPPER"), glm::vec3(-cx, kHalfScreenHeight - edgeH / 2.0f, -96.0f),
              glm::vec3(edgeW, edgeH, 1.0f));
}

}  // namespace

void SetupBackgrounds() {
    ResourceLoader& resources = GetResources();
    Texture* far = resources.LookupTexture(TextureId::ForestBackground);
    Texture* lower = resources.LookupTexture(TextureId::ForestForegroundLower);
    Texture* upper = resources.LookupTexture(TextureId::ForestForegroundUpper);
    Texture* middle = resources.LookupTexture(TextureId::ForestMiddleground);
    for (const Texture* pixelArt : {lower, upper, middle}) {
        if (pixelArt != nullptr) {
            pixelArt->SetFilter(GL_NEAREST);
        }
    }
    layers["FOREST_BG"] = far;
    layers["FOREST_LOWER"] = lower;
    layers["FOREST_UPPER"] = upper;
    layers["FOREST_MG1"] = middle;
    layers["FOREST_MG2"] = middle;
    shapes.clear();
    for (const Texture* texture : {far, lower, upper, middle}) {
        ShapeLayer(texture);
    }
}

void DrawBackground(int type) {
    const Mesh* quad = GetResources().LookupMesh(QUAD);
    const Camera& camera = GetCamera();
    const float cx = camera.GetPosition().x;
    const float cy = camera.GetPosition().y;
    const float zoom = camera.GetZoom();
    if (type != BACKGROUND_FOREST) {
        throw "Invalid Background Type!";
    }
    if (quad == nullptr) {
        return;
    }
    MatrixStack& projection = GetProjectionStack();
    MatrixStack& view = GetViewStack();
    projection.Push();
    projection.Load(glm::ortho(-1024.0f * zoom / 2.0f, 1024.0f * zoom / 2.0f, -720.0f * zoom / 2.0f,
                               720.0f * zoom / 2.0f, -100.0f, 100.0f));
    view.Push();
    view.LoadIdentity();
    // Drawn first into a freshly cleared scene, from the back forward, the layers need no depth:
    // they lie behind the whole world (at depth 0.98 and more; the world's and the sprites' stays
    // near 0.5), so neither testing nor writing it changes a pixel, and a software renderer spares
    // reading and writing it for every pixel of the screen.
    const bool depthless = IsSceneFresh() && glIsEnabled(GL_DEPTH_TEST) == GL_TRUE;
    if (depthless) {
        glDisable(GL_DEPTH_TEST);
    }
    DrawForest(*quad, cx, cy);
    if (depthless) {
        glEnable(GL_DEPTH_TEST);
    }
    view.Pop();
    projection.Pop();
}

const std::map<std::string, Texture*>& GetBackgroundLayers() {
    return layers;
}

const Mesh* GetLayerMesh(const Texture* texture) {
    const auto found = shapes.find(texture);
    return found == shapes.end() ? nullptr : found->second.tight.get();
}
