// The game's data files as the generator builds them: every texture with its frame count,
// and the painters that make each family of pictures.
#pragma once

#include "raster.h"

#include <string>
#include <vector>

namespace datagen {

struct Sheet {
    std::string path;  // relative to the data directory, e.g. "Textures/Lirra/Lirra_Idle.png"
    Image image;
    int frames = 1;  // frames side by side in one row
};

using SheetList = std::vector<Sheet>;

void PaintLirra(SheetList& out);
void PaintCreatures(SheetList& out);  // Vozarovu, VozarovuF, Dired
void PaintBoss(SheetList& out);
void PaintForest(SheetList& out);     // tile sheet and background layers
void PaintMagic(SheetList& out);      // souls, winds, portal, particle
void PaintInterface(SheetList& out);  // buttons, panels, hints, prompt, logo, title, icon

// Sounds: writes the seven Ogg Vorbis files into dir/Audio; false on a failure it has reported.
bool ComposeAudio(const std::string& dataDir);

// Mock scenes composed the way the game draws them, for review: (name, picture) pairs.
std::vector<std::pair<std::string, Image>> PreviewScenes(const SheetList& sheets);
// A labelled overview of every texture, followed by the review scenes.
Image ContactSheet(const SheetList& sheets, const std::vector<std::pair<std::string, Image>>& scenes);

// Gives transparent pixels the colour of their nearest opaque neighbour, so that linear
// filtering blends edges toward the sprite's own colour instead of black.
void BleedEdges(Image& img);

}  // namespace datagen
