#pragma once

#include <cstddef>

class GameObject;

// Creates, recycles, updates, collides and draws every pooled object of a scene.
// (Being built: the spine calls these at their fixed places in the frame.)
class SceneObjectManager {
public:
    void QueueActivation(GameObject* object, bool active);
    void FlushObjectQueues();
    void UpdateObjects();
    void RenderWorld();
    void RenderWinds();
    void RenderButtons();
    void DeactivateAll();

    size_t CountObjects() const;
    size_t CountActiveObjects() const;
};

SceneObjectManager& GetScene();
