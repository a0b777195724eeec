#pragma once

#include <map>
#include <string>

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
