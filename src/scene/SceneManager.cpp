#include "scene/SceneManager.h"

#include <algorithm>

namespace {

const char* const kMarkerTypeNames[kMarkerTypeCount] = {
    "TILE", "ENEMY NORMAL", "ENEMY FLYING", "WIND NORTH", "WIND WEST", "WIND EAST", "WIND SOUTH", "CIN",
};

bool sceneAlive = false;

// Player depth: in front of tiles (up to 10) and markers (10).
constexpr float kPlayerDepth = 11.0f;

// Cinematic bars are set up afresh by their user every time.
bool NeverReused(int kind) {
    return kind == KIND_CINEMATIC_BARS;
}

// A hidden prompt still belongs to its owner, so only an object given back (kind 0) is free for one.
bool IsFreeFor(int kind, const GameObject* candidate) {
    if (candidate->IsActive()) {
        return false;
    }
    if (kind == KIND_INTERACT_POPUP) {
        return candidate->objectKind == KIND_UNKNOWN;
    }
    return candidate->objectKind == KIND_UNKNOWN || candidate->objectKind == kind;
}

// Removes every occurrence and keeps the order of the rest.
bool HasCollider(const GameObject& object) {
    const auto& components = object.GetComponents();
    return std::any_of(components.begin(), components.end(),
                       [](const ComponentBehavior::Attached& attached) { return attached.component->IsCollider(); });
}

void EraseAll(std::vector<GameObject*>& list, const GameObject* object) {
    list.erase(std::remove(list.begin(), list.end(), object), list.end());
}

}  // namespace

const char* GetMarkerTypeName(int type) {
    if (type < 0 || type >= kMarkerTypeCount) {
        return nullptr;
    }
    return kMarkerTypeNames[type];
}

bool FindMarkerType(const std::string& name, MarkerType* type) {
    for (int i = 0; i < kMarkerTypeCount; ++i) {
        if (name == kMarkerTypeNames[i]) {
            *type = static_cast<MarkerType>(i);
            return true;
        }
    }
    return false;
}

SceneObjectManager::SceneObjectManager() {
    sceneAlive = true;
    // Room for the largest level, so lists never grow while objects come and go during play.
    constexpr size_t kListedObjects = 4096;
    constexpr size_t kOverlayObjects = 256;
    for (std::vector<GameObject*>* list : {&allObjects, &worldList, &collidables, &collisionWalk, &updateList,
                                           &deactivationQueue, &activationQueue, &newObjects}) {
        list->reserve(kListedObjects);
    }
    windList.reserve(kOverlayObjects);
    buttonList.reserve(kOverlayObjects);
}

SceneObjectManager::~SceneObjectManager() {
    allObjects.insert(allObjects.end(), newObjects.begin(), newObjects.end());
    newObjects.clear();
    // Freed colliders take their objects off the collision list; with it empty that is no work.
    collidables.clear();
    collisionWalk.clear();
    // By hand: the pools hand out plain pointers for the whole run, and every object is listed here once.
    for (GameObject* object : allObjects) {
        delete object;
    }
    allObjects.clear();
    GetScenePlayer().FreeComponents();
    sceneAlive = false;
}

GameObject* SceneObjectManager::GetGameObject(int kind) {
    GameObject* object = nullptr;
    if (!NeverReused(kind)) {
        object = plainPool.FindFree([kind](const GameObject* candidate) { return IsFreeFor(kind, candidate); });
    }
    if (object == nullptr) {
        object = plainPool.Grow<GameObject>(
            ObjectPool<GameObject>::kGrowth, [] { return new GameObject(); }, newObjects);
    }
    object->objectKind = kind;
    return object;
}

void SceneObjectManager::GiveBack(GameObject* object) {
    object->SetActive(false);
    object->FreeComponents();
    object->objectKind = KIND_UNKNOWN;
}

void SceneObjectManager::QueueActivation(GameObject* object, bool active) {
    if (active) {
        activationQueue.push_back(object);
    } else {
        deactivationQueue.push_back(object);
    }
}

void SceneObjectManager::RemoveFromCollidables(GameObject* object) {
    EraseAll(collidables, object);
}

std::vector<GameObject*>& SceneObjectManager::RenderListOf(const GameObject& object) {
    switch (object.objectKind) {
    case KIND_WIND:
        return windList;
    case KIND_BUTTON:
        return buttonList;
    default:
        return worldList;
    }
}

// Deactivations go first: an object switched on and off within one frame stays listed, and one
// switched on, off and on again is listed twice.
void SceneObjectManager::FlushObjectQueues() {
    allObjects.insert(allObjects.end(), newObjects.begin(), newObjects.end());
    newObjects.clear();

    for (GameObject* object : deactivationQueue) {
        EraseAll(RenderListOf(*object), object);
        EraseAll(updateList, object);
        if (HasCollider(*object)) {
            EraseAll(collidables, object);
        }
    }
    deactivationQueue.clear();

    for (GameObject* object : activationQueue) {
        RenderListOf(*object).push_back(object);
        if (object->objectKind != KIND_TILE) {
            updateList.push_back(object);
        }
        if (HasCollider(*object)) {
            collidables.push_back(object);
        }
    }
    activationQueue.clear();
}

void SceneObjectManager::UpdateObjects() {
    GameObject& player = GetScenePlayer();
    player.Update();
    for (size_t i = 0; i < updateList.size(); ++i) {
        GameObject* object = updateList[i];
        object->Update();
        object->UpdateComponents();
    }
    // A reaction may take an entry off the list (a released flying spirit reuses an enemy that is
    // still listed): the pass walks a copy, so no box after it is skipped for the frame.
    collisionWalk.assign(collidables.begin(), collidables.end());
    RunPlayerCollisionPass(player, collisionWalk);
}

void SceneObjectManager::WalkRenderList(const std::vector<GameObject*>& list) {
    for (size_t i = 0; i < list.size(); ++i) {
        GameObject* object = list[i];
        object->Render();
        object->DrawComponents();
    }
}

void SceneObjectManager::RenderPlayer() {
    GameObject& player = GetScenePlayer();
    Transform& transform = player.GetTransform();
    const Vector3 position = transform.GetPosition();
    transform.SetPosition(position.x, position.y, kPlayerDepth);
    player.Render();
    transform.SetPosition(position);
}

void SceneObjectManager::RenderWorld() {
    WalkRenderList(worldList);
    RenderPlayer();
}

void SceneObjectManager::RenderWinds() {
    WalkRenderList(windList);
}

void SceneObjectManager::RenderButtons() {
    WalkRenderList(buttonList);
}

void SceneObjectManager::DeactivateAll() {
    for (const std::vector<GameObject*>* list : {&worldList, &windList, &buttonList}) {
        for (size_t i = 0; i < list->size(); ++i) {
            (*list)[i]->SetActive(false);
        }
    }
}

size_t SceneObjectManager::CountObjects() const {
    return allObjects.size() + newObjects.size();
}

size_t SceneObjectManager::CountActiveObjects() const {
    const auto isActive = [](const GameObject* object) { return object->IsActive(); };
    return static_cast<size_t>(std::count_if(allObjects.begin(), allObjects.end(), isActive) +
                               std::count_if(newObjects.begin(), newObjects.end(), isActive));
}

SceneObjectManager& GetScene() {
    // The player is made first so that it outlives the scene, which frees its components at exit.
    static GameObject& player = GetScenePlayer();
    static SceneObjectManager scene;
    (void)player;
    return scene;
}

bool SceneExists() {
    return sceneAlive;
}
