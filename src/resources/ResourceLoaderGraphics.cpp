#include "resources/ResourceLoader.h"

#include <GL/glew.h>

#include <set>

#include "base/Log.h"
#include "graphics/Mesh.h"
#include "graphics/Texture.h"
#include "resources/TexturePaths.h"

namespace {

struct StandardMesh {
    const char* name;
    glm::vec4 colour;
};

const StandardMesh kStandardMeshes[kMeshCount] = {
    {"Quad", glm::vec4(1.0f, 1.0f, 1.0f, 1.0f)},       {"Green Quad", glm::vec4(0.0f, 0.8f, 0.0f, 1.0f)},
    {"Black Quad", glm::vec4(0.0f, 0.0f, 0.0f, 1.0f)}, {"Yellow Quad", glm::vec4(0.8f, 0.8f, 0.0f, 1.0f)},
    {"Red Quad", glm::vec4(0.8f, 0.0f, 0.0f, 1.0f)},
};

// Pixel-art sheets drawn with nearest filtering, as inclusive id ranges, in the order they are set.
const TextureId kNearestRanges[][2] = {
    {TextureId::ForestTileset, TextureId::ForestTileset},
    {TextureId::Cursor, TextureId::KeyUp},
    {TextureId::LirraAttack, TextureId::LirraRun},
    {TextureId::DiredIdle, TextureId::Cursor},
};

// A lookup that misses is usually made every frame: report each id once.
void ReportMissing(const char* what, int id) {
    static std::set<std::pair<const char*, int>> reported;
    if (reported.insert({what, id}).second) {
        Log("%s id %d is not in the %s table\n", what, id, what);
    }
}

template <typename T>
T* Find(const std::map<int, std::unique_ptr<T>>& table, int id, const char* what) {
    const auto entry = table.find(id);
    if (entry == table.end()) {
        ReportMissing(what, id);
        return nullptr;
    }
    return entry->second.get();
}

}  // namespace

void ResourceLoader::LoadTexturesAndMeshes() {
    for (int id = 0; id < kTextureCount; ++id) {
        auto texture = std::make_unique<Texture>(kTexturePaths[id]);
        texture->Load(kTexturePaths[id], 0, 0);
        // Loading again replaces what an earlier load made.
        textures[id] = std::move(texture);
    }
    for (int type = QUAD; type < kMeshCount; ++type) {
        const StandardMesh& standard = kStandardMeshes[type];
        meshes[type] = CreateQuad(standard.name, standard.colour, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f);
    }
    for (const auto& range : kNearestRanges) {
        for (int id = ToInt(range[0]); id <= ToInt(range[1]); ++id) {
            textures[id]->SetFilter(GL_NEAREST);
        }
    }
}

Texture* ResourceLoader::LookupTexture(TextureId id) const {
    return Find(textures, ToInt(id), "texture");
}

Mesh* ResourceLoader::LookupMesh(MeshType id) const {
    return Find(meshes, id, "mesh");
}

ResourceLoader::~ResourceLoader() {
    ReleaseSounds();
    textures.clear();
    meshes.clear();
}
