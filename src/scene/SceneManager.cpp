#include "scene/SceneManager.h"

#include "scene/GameObject.h"

void SceneObjectManager::QueueActivation(GameObject*, bool) {}
void SceneObjectManager::FlushObjectQueues() {}
void SceneObjectManager::UpdateObjects() {}
void SceneObjectManager::RenderWorld() {}
void SceneObjectManager::RenderWinds() {}
void SceneObjectManager::RenderButtons() {}
void SceneObjectManager::DeactivateAll() {}

size_t SceneObjectManager::CountObjects() const {
    return 0;
}

size_t SceneObjectManager::CountActiveObjects() const {
    return 0;
}

SceneObjectManager& GetScene() {
    static SceneObjectManager scene;
    return scene;
}
