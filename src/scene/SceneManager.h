#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "scene/GameObject.h"
#include "scene/ObjectPool.h"

// The pooled classes. Each arrives with its own part of the game; the hand-outs below are
// templates, so this header needs only their names and a hand-out is compiled where it is used.
class GOTile;
class GOCollider;
class GOWind;
class GOEnemy;
class GOSoul;
class GOHitbox;
class GOInteractable;
class GOTransitionScreen;
class GOButton;
class Collider;

// What a level's collider marker turns into; the names are the only valid marker names of a level.
enum MarkerType : int {
    MARKER_TILE = 0,
    MARKER_ENEMY_NORMAL = 1,
    MARKER_ENEMY_FLYING = 2,
    MARKER_WIND_NORTH = 3,
    MARKER_WIND_WEST = 4,
    MARKER_WIND_EAST = 5,
    MARKER_WIND_SOUTH = 6,
    MARKER_CIN = 7,
};

constexpr int kMarkerTypeCount = 8;

// "TILE", "ENEMY NORMAL", ... by type; null outside the table.
const char* GetMarkerTypeName(int type);
// False, leaving `type` alone, for a name that is not in the table.
bool FindMarkerType(const std::string& name, MarkerType* type);

// Creates, recycles, updates, collides and draws every pooled object of a scene. Objects are never
// deleted during play; activation changes reach the lists only in FlushObjectQueues, so no list
// changes while it is being walked.
class SceneObjectManager {
public:
    SceneObjectManager();
    ~SceneObjectManager();
    SceneObjectManager(const SceneObjectManager&) = delete;
    SceneObjectManager& operator=(const SceneObjectManager&) = delete;

    // A plain object of `kind`: a free one of kind 0 or `kind` keeps its transform and components;
    // a pop-up is taken only from objects given back, and cinematic bars always come from a fresh batch.
    GameObject* GetGameObject(int kind);
    // A plain object its user is done with: switched off, stripped of its components, of kind 0.
    void GiveBack(GameObject* object);

    template <typename T = GOTile>
    T* GetTile(int tileIndex);
    template <typename T = GOCollider>
    T* GetCollider();
    template <typename T = GOWind>
    T* GetWind() {
        return HandOut<T>(windPool);
    }
    template <typename T = GOEnemy>
    T* GetEnemy() {
        return HandOut<T>(enemyPool);
    }
    template <typename T = GOSoul>
    T* GetSoul() {
        return HandOut<T>(soulPool);
    }
    template <typename T = GOHitbox>
    T* GetHitbox() {
        return HandOut<T>(hitboxPool);
    }
    template <typename T = GOTransitionScreen>
    T* GetTransitionScreen() {
        return HandOut<T>(transitionPool);
    }
    template <typename T = GOButton>
    T* GetButton() {
        return HandOut<T>(buttonPool);
    }
    // A free interactable of `interactableType` (null if that object is not a T); portals and
    // signposts come ten at a time, Dired alone; other types give null and create nothing.
    template <typename T>
    T* GetInteractable(int interactableType);

    // The rule of most pools: the first inactive object is reused with its transform reset; when
    // none is free, ten are made and the last is used. Either way the object is initialised.
    template <typename T>
    T* HandOut(ObjectPool<T>& pool);

    // Called by GameObject::SetActive; takes effect at the next flush.
    void QueueActivation(GameObject* object, bool active);
    // At once: a freed Collider takes its object off the collision list.
    void RemoveFromCollidables(GameObject* object);

    void FlushObjectQueues();
    // The player, the update list, then the player's collision pass.
    void UpdateObjects();
    void RenderWorld();
    void RenderWinds();
    void RenderButtons();
    // Every drawn object is switched off; the lists shrink at the next flush.
    void DeactivateAll();

    float NextWindDepth() { return windCounter += 1.0f; }
    void ResetWindDepth() { windCounter = 0.0f; }
    // Clears `placed` on every marker (the editor starts from a clean slate).
    template <typename T = GOCollider>
    void ClearPlacedMarkers();

    const std::vector<GameObject*>& GetAllObjects() const { return allObjects; }
    const std::vector<GameObject*>& GetWorldList() const { return worldList; }
    const std::vector<GameObject*>& GetWindList() const { return windList; }
    const std::vector<GameObject*>& GetButtonList() const { return buttonList; }
    const std::vector<GameObject*>& GetCollidables() const { return collidables; }
    const std::vector<GameObject*>& GetUpdateList() const { return updateList; }

    const ObjectPool<GameObject>& GetPlainPool() const { return plainPool; }
    const ObjectPool<GOTile>& GetTilePool() const { return tilePool; }
    const ObjectPool<GOCollider>& GetMarkerPool() const { return markerPool; }
    const ObjectPool<GOWind>& GetWindPool() const { return windPool; }
    const ObjectPool<GOEnemy>& GetEnemyPool() const { return enemyPool; }
    const ObjectPool<GOSoul>& GetSoulPool() const { return soulPool; }
    const ObjectPool<GOHitbox>& GetHitboxPool() const { return hitboxPool; }
    const ObjectPool<GOInteractable>& GetInteractablePool() const { return interactablePool; }
    const ObjectPool<GOTransitionScreen>& GetTransitionPool() const { return transitionPool; }
    const ObjectPool<GOButton>& GetButtonPool() const { return buttonPool; }

    // Every object the manager ever created, and those of them that are active.
    size_t CountObjects() const;
    size_t CountActiveObjects() const;

private:
    template <typename T, typename Pool>
    T* TakeInteractable(Pool& pool, int interactableType);
    template <typename T, typename Pool>
    T* TakeMarker(Pool& pool);

    std::vector<GameObject*>& RenderListOf(const GameObject& object);
    void WalkRenderList(const std::vector<GameObject*>& list);
    void RenderPlayer();

    float windCounter = 0.0f;
    ObjectPool<GameObject> plainPool;
    std::vector<GameObject*> allObjects;
    std::vector<GameObject*> worldList;
    std::vector<GameObject*> windList;
    std::vector<GameObject*> buttonList;
    std::vector<GameObject*> collidables;
    // The collision pass's own copy of `collidables`, its storage kept from frame to frame.
    std::vector<GameObject*> collisionWalk;
    std::vector<GameObject*> updateList;
    // The three queues are first-in first-out; flushing walks them in order and empties them, so
    // their storage is kept from frame to frame.
    std::vector<GameObject*> deactivationQueue;
    std::vector<GameObject*> activationQueue;
    ObjectPool<GOTile> tilePool;
    ObjectPool<GOCollider> markerPool;
    ObjectPool<GOWind> windPool;
    ObjectPool<GOEnemy> enemyPool;
    ObjectPool<GOSoul> soulPool;
    ObjectPool<GOHitbox> hitboxPool;
    ObjectPool<GOInteractable> interactablePool;
    ObjectPool<GOTransitionScreen> transitionPool;
    ObjectPool<GOButton> buttonPool;
    std::vector<GameObject*> newObjects;
};

SceneObjectManager& GetScene();

// Written above the scene, which needs neither header: the one player (actors/Player.cpp), made
// before the scene so that it outlives it, and its collision pass (physics/PlayerCollision.cpp).
GameObject& GetScenePlayer();
void RunPlayerCollisionPass(GameObject& player, const std::vector<GameObject*>& collidables);
// False before the scene is first reached and after it was destroyed at exit, so objects that
// outlive it (held by other process-wide objects) can free their components safely.
bool SceneExists();

// The pools' objects are made by hand here (the pools hand out plain pointers for the whole run)
// and deleted once, by the manager's destructor.
template <typename T>
T* SceneObjectManager::HandOut(ObjectPool<T>& pool) {
    T* object = pool.FindFree([](const T* candidate) { return !candidate->IsActive(); });
    if (object != nullptr) {
        object->GetTransform().Reset();
    } else {
        object = pool.template Grow<T>(
            ObjectPool<T>::kGrowth, [] { return new T(); }, newObjects);
    }
    object->Init();
    return object;
}

template <typename T>
T* SceneObjectManager::GetTile(int tileIndex) {
    T* tile = HandOut<T>(tilePool);
    tile->tileIndex = tileIndex;
    return tile;
}

template <typename T>
T* SceneObjectManager::GetCollider() {
    return TakeMarker<T>(markerPool);
}

// A marker is free once its level no longer places it; it keeps its settings, but winds take its
// Collider away, so it gets one back.
template <typename T, typename Pool>
T* SceneObjectManager::TakeMarker(Pool& pool) {
    T* marker = pool.FindFree([](const auto* candidate) { return !candidate->placed; });
    if (marker == nullptr) {
        return pool.template Grow<T>(
            Pool::kGrowth, [] { return new T(); }, newObjects);
    }
    if (marker->template GetComponent<Collider>() == nullptr) {
        marker->template AddComponent<Collider>();
    }
    return marker;
}

template <typename T>
T* SceneObjectManager::GetInteractable(int interactableType) {
    return TakeInteractable<T>(interactablePool, interactableType);
}

template <typename T, typename Pool>
T* SceneObjectManager::TakeInteractable(Pool& pool, int interactableType) {
    auto* free = pool.FindFree([interactableType](const auto* candidate) {
        return !candidate->IsActive() && candidate->interactableType == interactableType;
    });
    if (free != nullptr) {
        return dynamic_cast<T*>(free);
    }
    switch (interactableType) {
    case 1:
    case 2:
    case 4:
        return pool.template Grow<T>(
            Pool::kGrowth, [] { return new T(); }, newObjects);
    case 3:
        return pool.template Grow<T>(
            1, [] { return new T(); }, newObjects);
    default:
        return nullptr;
    }
}

template <typename T>
void SceneObjectManager::ClearPlacedMarkers() {
    const ObjectPool<T>& markers = markerPool;
    for (T* marker : markers.GetObjects()) {
        marker->placed = false;
    }
}
