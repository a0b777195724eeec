#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "resources/TextureId.h"
#include "math/Vector.h"

class GameObject;
class GOMushroom;
class GOTile;
struct DialogueRequest;

// The steps the three forest levels share: their load, their look, Lirra's lines, the exit
// mushroom, the key hints and the camera.

// Where a level's lines sit over Lirra and how big their panel is.
struct LirraLineBox {
    Vector2 offset;
    Vector2 size;
};

// Levels 1 and 3, and the larger, higher box of level 2.
extern const LirraLineBox kSmallLineBox;
extern const LirraLineBox kLargeLineBox;

// One of Lirra's thoughts, in the levels' style, anchored on her.
DialogueRequest LirraLine(const std::string& text, const LirraLineBox& box);
// Shows the first line at once; each of the others follows when the one before has been read.
void ShowLirraLines(std::initializer_list<const char*> texts, const LirraLineBox& box);

// Loads the level's tiles and markers, and reports the outcome on standard output.
bool LoadLevelTiles(const char* file, const char* loadedMessage, std::vector<GOTile*>* tiles);
// Initialises Lirra, makes her active and stands her on her start point.
void PlaceLirra(const Vector3& start);
// The level's exit: taken from the pool on the first load and kept, and on every load placed,
// pointed at `target` and made active again, so a restarted level always has its way out.
// With no scale the portal keeps the shape its target gives it.
GOMushroom* PlaceExitMushroom(GOMushroom* kept, const Vector3& position, const Vector3* scale, int target);
// An animated key picture floating in the level.
GameObject* PlaceKeyHint(TextureId texture, const Vector3& position);
// Bloom on, the levels' exposure, gamma and intensity, and the adventure tune.
void StartLevelLook();
void UnloadLevel();

// The frame's scene target, cleared; the level's camera step comes next, then the forest.
void BeginLevelRender();
void DrawLevelBackground();
// The camera moves half way towards Lirra each frame.
void FollowLirra();
// A camera held still while a scene is scripted; once Lirra nears the edge of the picture it
// follows her again, so neither she nor what comes at her is ever out of sight.
void HoldCameraOnLirra();

Vector3 LirraPosition();
// The level scripts do nothing while an in-game menu is open.
bool LevelPaused();

// Key pictures of the hints, and how they animate.
constexpr int kKeyHintFrames = 4;
constexpr float kKeyHintFrameTime = 0.12f;
