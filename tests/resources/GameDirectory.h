#pragma once

#include <string>

// A game directory of the tests' own: small Ogg sounds under the seven names the game loads,
// with the built data directory's textures, shaders and font linked in. Entering it makes it the
// working directory; leaving returns to the built data directory.
class GameDirectory {
public:
    GameDirectory();
    const std::string& Path() const { return path; }
    // Removes one sound file, or replaces it by bytes that are not a sound.
    void RemoveSound(int id) const;
    void CorruptSound(int id) const;
    void Enter() const;
    static void Leave();

private:
    std::string path;
};
