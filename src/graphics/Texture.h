#pragma once

#include "math/Vector.h"

// An image file loaded through SOIL into an OpenGL texture, with its pixel size.
class Texture {
public:
    explicit Texture(const char* path);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // mode must lie in 0..6 (std::invalid_argument otherwise); returns the GL name, 0 on failure.
    unsigned int Load(const char* path, int mode, unsigned int flags);
    // Minification and magnification filter; does nothing for a texture that failed to load.
    void SetFilter(int filter) const;

    const char* GetPath() const { return path; }
    unsigned int GetId() const { return id; }
    Vector2 GetSize() const { return size; }

private:
    const char* path = nullptr;  // owned by the resource loader
    unsigned int id = 0;
    Vector2 size;
};
