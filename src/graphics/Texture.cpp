#include "graphics/Texture.h"

#include "base/Log.h"

#include <GL/glew.h>
#include <SOIL/SOIL.h>

#include <stdexcept>

Texture::Texture(const char* texturePath) : path(texturePath) {}

Texture::~Texture() {
    if (id != 0) {
        glDeleteTextures(1, &id);
    }
}

unsigned int Texture::Load(const char* file, int mode, unsigned int flags) {
    if (mode < 0 || mode > 6) {
        throw std::invalid_argument("Invalid texture load mode!");
    }
    path = file;
    id = SOIL_load_OGL_texture(file, SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, flags);
    if (id == 0) {
        size = Vector2();
        Log("Texture Load Error: '%s'\n", SOIL_last_result());
        return id;
    }
    // SOIL leaves the new texture bound.
    int width = 0;
    int height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    size = Vector2(static_cast<float>(width), static_cast<float>(height));
    Log("Texture Loaded: %s\n", file);
    return id;
}

void Texture::SetFilter(int filter) const {
    if (id == 0) {
        return;
    }
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}
