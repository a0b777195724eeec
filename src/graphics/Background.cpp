#include "graphics/Background.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>
#include <algorithm>
#include <array>
#include <cmath>
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
    // The texels (first and end column and row) whose filtered colour may glow: those with a channel
    // stronger than kStrongestDullChannel and their neighbours. Outside them the layer's glow is black.
    bool glows = false;
    int glowTexels[4] = {0, 0, 0, 0};
};

// Window pixels (first x and y, end x and y) outside which the forest's bright image stays black.
struct GlowBox {
    bool any = false;
    GLint first[2] = {0, 0};
    GLint end[2] = {0, 0};
};
std::map<const Texture*, LayerShape> shapes;

struct LayerImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;  // row 0 at v = 0

    const unsigned char* Texel(int column, int row) const {
        return &rgba[(static_cast<size_t>(row) * width + column) * 4];
    }
    bool Covered(int column, int row) const { return Texel(column, row)[3] != 0; }
};

LayerImage ReadLayerImage(const Texture* texture) {
    LayerImage image;
    const Vector2 size = texture->GetSize();
    image.width = static_cast<int>(size.x);
    image.height = static_cast<int>(size.y);
    if (image.width <= 0 || image.height <= 0) {
        return LayerImage();
    }
    image.rgba.resize(static_cast<size_t>(image.width) * image.height * 4);
    glBindTexture(GL_TEXTURE_2D, texture->GetId());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return image;
}

// The texels of any channel stronger than kStrongestDullChannel, widened by the one texel a filtered
// fetch reaches beyond its own.
void FindGlowTexels(const LayerImage& image, LayerShape* shape) {
    int box[4] = {image.width, image.height, 0, 0};
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            const unsigned char* texel = image.Texel(column, row);
            if (std::max({texel[0], texel[1], texel[2]}) <= kStrongestDullChannel) {
                continue;
            }
            box[0] = std::min(box[0], column - 1);
            box[1] = std::min(box[1], row - 1);
            box[2] = std::max(box[2], column + 2);
            box[3] = std::max(box[3], row + 2);
        }
    }
    shape->glows = box[0] < box[2];
    shape->glowTexels[0] = std::max(box[0], 0);
    shape->glowTexels[1] = std::max(box[1], 0);
    shape->glowTexels[2] = std::min(box[2], image.width);
    shape->glowTexels[3] = std::min(box[3], image.height);
}

bool HasTransparentTexel(const LayerImage& image) {
    for (size_t alpha = 3; alpha < image.rgba.size(); alpha += 4) {
        if (image.rgba[alpha] != 255) {
            return true;
        }
    }
    return false;
}

// A vertex of the unit quad (x and y in -0.5 .. 0.5, v = 0 at the top) at a texel corner.
Vertex CornerVertex(int column, int row, const LayerImage& image) {
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

void AddSpan(int firstColumn, int endColumn, int firstRow, int endRow, const LayerImage& image,
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

std::unique_ptr<Mesh> MakeTightMesh(const LayerImage& image) {
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
    const LayerImage image = ReadLayerImage(texture);
    LayerShape& shape = shapes[texture];
    if (image.rgba.empty()) {
        return;
    }
    shape.opaque = !HasTransparentTexel(image);
    if (!shape.opaque) {
        shape.tight = MakeTightMesh(image);
    }
    FindGlowTexels(image, &shape);
}

Texture* Layer(const std::string& name) {
    const auto found = layers.find(name);
    return found == layers.end() ? nullptr : found->second;
}

Vector2 SizeOf(const Texture* texture) {
    return texture == nullptr ? Vector2() : texture->GetSize();
}

const LayerShape* ShapeOf(const Texture* texture) {
    const auto found = shapes.find(texture);
    return found == shapes.end() ? nullptr : &found->second;
}

// The layer's model matrix pushed: translated, then scaled around the quad's centre. The caller pops.
void PushLayer(const glm::vec3& translation, const glm::vec3& scale) {
    MatrixStack& model = GetModelStack();
    model.Push();
    model.Translate(translation.x, translation.y, translation.z);
    model.Scale(scale.x, scale.y, scale.z);
}

// Widens the box by the window pixels the layer's glowing texels cover, a pixel more on every side.
void AddGlowBox(const Texture* texture, const glm::vec3& translation, const glm::vec3& scale, GlowBox* box) {
    const LayerShape* shape = ShapeOf(texture);
    if (shape == nullptr || !shape->glows) {
        return;
    }
    PushLayer(translation, scale);
    const glm::mat4 mvp = GetProjectionStack().Top() * GetViewStack().Top() * GetModelStack().Top();
    GetModelStack().Pop();
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const Vector2 size = texture->GetSize();
    float low[2] = {0.0f, 0.0f};
    float high[2] = {0.0f, 0.0f};
    for (int corner = 0; corner < 4; ++corner) {
        // The quad's corners hold u = x + 0.5 and v = 0.5 - y.
        const float u = static_cast<float>(shape->glowTexels[(corner & 1) != 0 ? 2 : 0]) / size.x;
        const float v = static_cast<float>(shape->glowTexels[(corner & 2) != 0 ? 3 : 1]) / size.y;
        const glm::vec4 clip = mvp * glm::vec4(u - 0.5f, 0.5f - v, 0.0f, 1.0f);
        for (int axis = 0; axis < 2; ++axis) {
            const float pixel = viewport[axis] + (clip[axis] / clip.w + 1.0f) * 0.5f * viewport[axis + 2];
            low[axis] = corner == 0 ? pixel : std::min(low[axis], pixel);
            high[axis] = corner == 0 ? pixel : std::max(high[axis], pixel);
        }
    }
    GlowBox added;
    for (int axis = 0; axis < 2; ++axis) {
        added.first[axis] = std::max(static_cast<GLint>(std::floor(low[axis])) - 1, viewport[axis]);
        added.end[axis] = std::min(static_cast<GLint>(std::ceil(high[axis])) + 1, viewport[axis] + viewport[axis + 2]);
        if (added.end[axis] <= added.first[axis]) {
            return;
        }
        if (box->any) {
            added.first[axis] = std::min(added.first[axis], box->first[axis]);
            added.end[axis] = std::max(added.end[axis], box->end[axis]);
        }
    }
    added.any = true;
    *box = added;
}

void DrawLayer(const Mesh& quad, const Texture* texture, const glm::vec3& translation, const glm::vec3& scale) {
    const LayerShape* shape = ShapeOf(texture);
    const bool opaque = shape != nullptr && shape->opaque;
    const Mesh& drawn = shape != nullptr && shape->tight != nullptr ? *shape->tight : quad;
    if (opaque) {
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
    }
    PushLayer(translation, scale);
    drawn.Draw(texture, 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    GetModelStack().Pop();
    if (opaque) {
        glEnable(GL_BLEND);
        glEnable(GL_ALPHA_TEST);
    }
}

struct LayerPlacement {
    const char* name;
    glm::vec3 translation;
    glm::vec3 scale;
};
using ForestPlacement = std::array<LayerPlacement, 5>;

// From the back forward.
ForestPlacement PlaceForest(float cx, float cy) {
    const Vector2 middleSize = SizeOf(Layer("FOREST_MG2"));
    const Vector2 edgeSize = SizeOf(Layer("FOREST_LOWER"));
    const float middleW = kLayerScale * middleSize.x;
    const float middleH = kLayerScale * middleSize.y;
    const float edgeW = kLayerScale * edgeSize.x;
    const float edgeH = kLayerScale * edgeSize.y;
    return ForestPlacement{{
        {"FOREST_BG", glm::vec3(-cx, -1.5f * cy, -99.0f), glm::vec3(kFarStripWidth, kFarStripHeight, 1.0f)},
        {"FOREST_MG2", glm::vec3(-cx, 0.8f * cy, -98.0f), glm::vec3(middleW, middleH, 1.0f)},
        // The same middle ground again, upside down and sliding faster.
        {"FOREST_MG1", glm::vec3(-1.5f * cx + 0.1f * middleW, 0.6f * cy, -97.0f), glm::vec3(middleW, -middleH, 1.0f)},
        // The edges follow the camera sideways only: one sits on the bottom of the screen, one hangs from its top.
        {"FOREST_LOWER", glm::vec3(-cx, edgeH / 2.0f - kHalfScreenHeight, -96.0f), glm::vec3(edgeW, edgeH, 1.0f)},
        {"FOREST_UPPER", glm::vec3(-cx, kHalfScreenHeight - edgeH / 2.0f, -96.0f), glm::vec3(edgeW, edgeH, 1.0f)},
    }};
}

void DrawLayers(const Mesh& quad, const ForestPlacement& forest) {
    for (const LayerPlacement& layer : forest) {
        DrawLayer(quad, Layer(layer.name), layer.translation, layer.scale);
    }
}

// Drawn first into a fresh scene, the forest's bright image is black wherever none of its layers
// glows, so the layers draw their colours alone over the whole screen and their bright image only
// inside the box their glowing texels cover (the far strip's moon), most often nowhere.
void DrawForest(const Mesh& quad, const ForestPlacement& forest, bool fresh) {
    if (!fresh) {
        DrawLayers(quad, forest);
        return;
    }
    GlowBox glow;
    for (const LayerPlacement& layer : forest) {
        AddGlowBox(Layer(layer.name), layer.translation, layer.scale, &glow);
    }
    DrawInto(SceneImages::Colours);
    DrawLayers(quad, forest);
    if (glow.any) {
        DrawInto(SceneImages::Bright);
        glEnable(GL_SCISSOR_TEST);
        glScissor(glow.first[0], glow.first[1], glow.end[0] - glow.first[0], glow.end[1] - glow.first[1]);
        DrawLayers(quad, forest);
        glDisable(GL_SCISSOR_TEST);
    }
    DrawInto(SceneImages::Both);
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
    DrawForest(*quad, PlaceForest(cx, cy), depthless);
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
