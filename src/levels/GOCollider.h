#pragma once

#include <string>

#include "scene/GameObject.h"

// A named box of a level file: solid ground, an enemy's patrol, a wind zone or a cinematic
// trigger once the level realises it. A translucent red box while it is only a marker (the editor
// shows it); its box size is its scale.
class GOCollider : public GameObject {
public:
    static constexpr float kMarkerAlpha = 0.3f;

    GOCollider();

    // Back to the look of a new marker: the red quad at its translucent alpha.
    void ShowAsMarker();

    float GetWidth() const { return transform.scale.x; }
    float GetHeight() const { return transform.scale.y; }

    // Wind strength for wind markers; for the others only kept for the file.
    float markerValue = 1.0f;
    // Read from a file or placed in the editor, and not yet realised.
    bool placed = false;
    std::string markerName = "TILE";
};
