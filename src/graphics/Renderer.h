#pragma once

#include "graphics/Mesh.h"
#include "resources/TextureId.h"
#include "math/Vector.h"
#include "scene/Component.h"

class Texture;

// Draws its owner's mesh in the world with the owner's transform.
class Renderer : public Component {
public:
    static constexpr const char* kName = "Renderer";

    explicit Renderer(GameObject* owner_) : Component(owner_) {}

    const char* GetName() const override { return kName; }
    void Draw() override;

    // By id from the resource loader.
    virtual void SetTexture(TextureId textureId);
    virtual Texture* GetTexture() const { return texture; }
    virtual void SetMesh(Mesh* m) { mesh = m; }
    virtual void SetMesh(MeshType type);
    virtual Mesh* GetMesh() const { return mesh; }
    // Scales the owner in proportion to the texture's pixel size, to unit length in x and y.
    virtual void SetPixelPerfect();

    // A plain number such as SetMesh(0) would be taken for a null pointer: standard meshes are
    // named by their MeshType.
    void SetMesh(int type) = delete;
    void SetTextureDirect(Texture* t) { texture = t; }
    void SetAlpha(float value);
    float GetAlpha() const { return alpha; }

    Vector3 tint{1.0f, 1.0f, 1.0f};

protected:
    void DrawMesh() const;

    Texture* texture = nullptr;
    Mesh* mesh = nullptr;
    float alpha = 1.0f;
};

// Draws in the fixed 1024 x 720 screen space over the world, whether or not its owner is active.
class UIRenderer : public Renderer {
public:
    static constexpr const char* kName = "UIRenderer";

    explicit UIRenderer(GameObject* owner_) : Renderer(owner_) {}

    const char* GetName() const override { return kName; }
    void Draw() override;
    void SetPixelPerfect() override;

    void SetIgnoreDepth(bool ignore) { ignoreDepth = ignore; }
    bool GetIgnoreDepth() const { return ignoreDepth; }

private:
    bool ignoreDepth = true;
};
