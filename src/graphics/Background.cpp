#include "graphics/Background.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>
#include <algorithm>
#include <memory>
#include <vector>

#include "graphics/Camera.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "graphics/SpanMesh.h"
#include "graphics/Texture.h"
#include "resources/ResourceLoader.h"

namespace {

constexpr int   kForestBgTexture = 13;
constexpr int   kForestLowerTexture = 10;
constexpr int   kForestUpperTexture = 11;
constexpr int   kForestMiddleTexture = 12;
constexpr float kLayerScale = 2.7f;
constexpr float kHalfScreenHeight = 360.0f;
constexpr float kFarStripWidth = 6144.0f;
constexpr float kFarStripHeight = 720.0f;

std::map<std::string, Texture*> layers;

// What of a layer's quad is drawn. A layer without a transparent texel is drawn without blending
// and alpha test; a layer with transparent texels is drawn through a mesh that leaves out the
// spans of its texture where every texel is transparent, so a software renderer does not shade
// and discard them. The pixels it draws sample the texture exactly where the whole quad would.
struct LayerShape {
    bool                  opaque = false;
    std::unique_ptr<Mesh> tight;
};
std::map<const Texture*, LayerShape> shapes;

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
        shape.tight = MakeSpanMesh("BackgroundLayer", image, TexelRect{0, 0, image.width, image.height}, 4);
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
    Texture* far = resources.LookupTexture(kForestBgTexture);
    Texture* lower = resources.LookupTexture(kForestLowerTexture);
    Texture* upper = resources.LookupTexture(kForestUpperTexture);
    Texture* middle = resources.LookupTexture(kForestMiddleTexture);
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
    DrawForest(*quad, cx, cy);
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
