#include "graphics/Background.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>
#include <vector>

#include "graphics/Camera.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
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
// The far strip has no transparent texel: it is drawn without blending and alpha test, which under
// a software renderer costs a fifth of a blended full-screen layer, for the same pixels.
bool farStripOpaque = false;

bool HasNoTransparentTexel(const Texture* texture) {
    if (texture == nullptr) {
        return false;
    }
    const Vector2 size = texture->GetSize();
    const size_t count = static_cast<size_t>(size.x) * static_cast<size_t>(size.y);
    if (count == 0) {
        return false;
    }
    std::vector<unsigned char> alpha(count);
    glBindTexture(GL_TEXTURE_2D, texture->GetId());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    for (const unsigned char a : alpha) {
        if (a != 255) {
            return false;
        }
    }
    return true;
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
    MatrixStack& model = GetModelStack();
    model.Push();
    model.Translate(translation.x, translation.y, translation.z);
    model.Scale(scale.x, scale.y, scale.z);
    quad.Draw(texture, 1.0f, Vector3(1.0f, 1.0f, 1.0f));
    model.Pop();
}

void DrawForest(const Mesh& quad, float cx, float cy) {
    const Vector2 middleSize = SizeOf(Layer("FOREST_MG2"));
    const Vector2 edgeSize = SizeOf(Layer("FOREST_LOWER"));
    const float middleW = kLayerScale * middleSize.x;
    const float middleH = kLayerScale * middleSize.y;
    const float edgeW = kLayerScale * edgeSize.x;
    const float edgeH = kLayerScale * edgeSize.y;

    if (farStripOpaque) {
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
    }
    DrawLayer(quad, Layer("FOREST_BG"), glm::vec3(-cx, -1.5f * cy, -99.0f),
              glm::vec3(kFarStripWidth, kFarStripHeight, 1.0f));
    if (farStripOpaque) {
        glEnable(GL_BLEND);
        glEnable(GL_ALPHA_TEST);
    }
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
    farStripOpaque = HasNoTransparentTexel(far);
    layers["FOREST_LOWER"] = lower;
    layers["FOREST_UPPER"] = upper;
    layers["FOREST_MG1"] = middle;
    layers["FOREST_MG2"] = middle;
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
