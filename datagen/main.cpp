// lirra-datagen <outdir> [--contact-sheet <file.png>] [--preview <dir>]
// Paints every texture, composes the music and effects and installs the font of the game.
#include "assets.h"
#include "text.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "resources/TexturePaths.h"

namespace fs = std::filesystem;
using namespace datagen;

namespace {

// Every texture the game loads, then the window's icon.
std::vector<const char*> PathsToPaint() {
    std::vector<const char*> paths(std::begin(kTexturePaths), std::end(kTexturePaths));
    paths.push_back("Textures/window_icon.png");
    return paths;
}

bool CheckComplete(const SheetList& sheets) {
    std::set<std::string> painted;
    for (const Sheet& s : sheets) {
        if (!painted.insert(s.path).second) {
            std::printf("Texture painted twice: %s\n", s.path.c_str());
            return false;
        }
        if (s.frames < 1 || s.image.Width() % s.frames != 0) {
            std::printf("Texture %s: width %d does not hold %d frames\n", s.path.c_str(), s.image.Width(), s.frames);
            return false;
        }
    }
    const std::vector<const char*> expected = PathsToPaint();
    bool complete = true;
    for (const char* path : expected) {
        if (!painted.count(path)) {
            std::printf("Texture not painted: %s\n", path);
            complete = false;
        }
    }
    if (painted.size() != expected.size()) {
        std::printf("Painted %zu textures, expected %zu\n", painted.size(), expected.size());
        complete = false;
    }
    return complete;
}

bool WriteTextures(SheetList& sheets, const fs::path& dataDir) {
    for (Sheet& s : sheets) {
        const fs::path target = dataDir / s.path;
        fs::create_directories(target.parent_path());
        BleedEdges(s.image);
        if (!WritePng(s.image, target.string())) {
            return false;
        }
    }
    return true;
}

bool InstallFont(const fs::path& dataDir) {
    const fs::path source = FontSourcePath();
    if (!fs::exists(source)) {
        std::printf("The font %s is missing: install the Debian package fonts-dotgothic16\n", source.c_str());
        return false;
    }
    fs::create_directories(dataDir / "Fonts");
    std::error_code error;
    fs::copy_file(source, dataDir / "Fonts/PixelGameFont.ttf", fs::copy_options::overwrite_existing, error);
    if (error) {
        std::printf("Cannot install the font: %s\n", error.message().c_str());
        return false;
    }
    return true;
}

}  // namespace

int Generate(int argc, char** argv);

int main(int argc, char** argv) {
    try {
        return Generate(argc, argv);
    } catch (const std::exception& error) {
        // typically a data directory that cannot be created or written
        std::printf("lirra-datagen failed: %s\n", error.what());
        return 1;
    }
}

int Generate(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: lirra-datagen <outdir> [--contact-sheet <file.png>] [--preview <dir>]\n");
        return 2;
    }
    const fs::path dataDir = argv[1];
    std::string contactSheetPath, previewDir;
    for (int i = 2; i + 1 < argc; i++) {
        if (std::string(argv[i]) == "--contact-sheet") {
            contactSheetPath = argv[i + 1];
        } else if (std::string(argv[i]) == "--preview") {
            previewDir = argv[i + 1];
        }
    }
    if (!InstallFont(dataDir)) {
        return 1;
    }

    SheetList sheets;
    PaintLirra(sheets);
    PaintCreatures(sheets);
    PaintBoss(sheets);
    PaintForest(sheets);
    PaintMagic(sheets);
    PaintInterface(sheets);
    if (!CheckComplete(sheets) || !WriteTextures(sheets, dataDir)) {
        return 1;
    }
    if (!ComposeAudio(dataDir.string())) {
        return 1;
    }
    if (!contactSheetPath.empty()) {
        if (fs::path(contactSheetPath).has_parent_path()) {
            fs::create_directories(fs::path(contactSheetPath).parent_path());
        }
        if (!WritePng(ContactSheet(sheets, PreviewScenes(sheets)), contactSheetPath)) {
            return 1;
        }
    }
    if (!previewDir.empty()) {
        fs::create_directories(previewDir);
        for (const auto& [name, picture] : PreviewScenes(sheets)) {
            if (!WritePng(picture, (fs::path(previewDir) / ("scene_" + name + ".png")).string())) {
                return 1;
            }
        }
    }
    std::printf("Wrote %zu textures, 7 sounds and the font to %s\n", sheets.size(), dataDir.c_str());
    return 0;
}
