#pragma once

#include <map>
#include <string>

class Mesh;
class Texture;

enum BackgroundType : int {
    BACKGROUND_FOREST = 0,
};

// The five-layer parallax forest, drawn behind the world in reference-screen pixels.
void SetupBackgrounds();
// Throws "Invalid Background Type!" (as a const char*) for any type but the forest.
void DrawBackground(int type);

// The layer table, by layer name.
const std::map<std::string, Texture*>& GetBackgroundLayers();
// What a layer's texture is drawn through in place of the unit quad: the spans that hold a texel
// that is not fully transparent (null for a texture without transparent texels, or not a layer's).
const Mesh* GetLayerMesh(const Texture* texture);
