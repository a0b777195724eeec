#pragma once

#include <cstring>
#include <type_traits>
#include <vector>

#include "scene/Component.h"
#include "scene/Transform.h"

enum ObjectKind : int {
    KIND_UNKNOWN = 0,
    KIND_TILE = 1,
    KIND_TILE_COLLIDER = 2,
    KIND_WIND = 3,
    KIND_ENEMY = 4,
    KIND_PLAYER = 5,
    KIND_SOUL = 6,
    KIND_HITBOX = 7,
    KIND_INTERACTABLE = 8,
    KIND_INTERACT_POPUP = 9,
    KIND_CINEMATIC_BARS = 10,
    KIND_LOGO = 11,
    KIND_TITLE = 12,
    KIND_HEALTH_HUD = 13,
    KIND_TRANSITION_SCREEN = 14,
    KIND_BUTTON = 15,
    KIND_ENDING_FIGURE = 16,
};

const char* GetKindName(int kind);

// Holds an object's components, in order of addition; it owns them.
class ComponentBehavior {
public:
    ComponentBehavior() = default;
    ComponentBehavior(const ComponentBehavior&) = delete;
    ComponentBehavior& operator=(const ComponentBehavior&) = delete;

    template <typename T>
    T* AddComponent();
    template <typename T>
    T* GetComponent() const;
    template <typename T>
    bool RemoveComponent();

    void UpdateComponents();
    void DrawComponents();
    void FreeComponents();

    const std::vector<Component*>& GetComponents() const { return components; }

protected:
    ~ComponentBehavior() = default;

    std::vector<Component*> components;
};

// Every thing in a scene. Behaviour lives in subclasses; the scene object manager owns and
// recycles them.
class GameObject : public ComponentBehavior {
public:
    GameObject() = default;
    explicit GameObject(int kind) : objectKind(kind) {}
    virtual ~GameObject();

    virtual void Init() {}
    virtual void Update() {}
    virtual void Render() {}
    // Joins or leaves the scene's lists through the manager's queues, at the next flush.
    virtual void SetActive(bool a);
    virtual bool IsActive() const { return active; }

    const char* GetTypeName() const { return GetKindName(objectKind); }
    Transform& GetTransform() { return transform; }
    const Transform& GetTransform() const { return transform; }

    int objectKind = KIND_UNKNOWN;
    float localTimeScale = 1.0f;
    int health = 0;
    Transform transform{Vector3(), Vector3(), Vector3(1.0f, 1.0f, 1.0f), this};
    bool active = false;
};

template <typename T>
T* ComponentBehavior::AddComponent() {
    static_assert(std::is_base_of_v<Component, T>, "Invalid component added!");
    T* added = new T(static_cast<GameObject*>(this));
    for (const Component* existing : components) {
        if (std::strcmp(existing->GetName(), T::kName) == 0 || dynamic_cast<const T*>(existing) != nullptr) {
            delete added;
            return nullptr;
        }
    }
    added->Init();
    components.push_back(added);
    return added;
}

template <typename T>
T* ComponentBehavior::GetComponent() const {
    static_assert(std::is_base_of_v<Component, T>, "Invalid component passed in");
    // Components are matched by class name only, so a UIRenderer is not found as a Renderer.
    for (Component* existing : components) {
        if (std::strcmp(existing->GetName(), T::kName) == 0) {
            return static_cast<T*>(existing);
        }
    }
    return nullptr;
}

template <typename T>
bool ComponentBehavior::RemoveComponent() {
    static_assert(std::is_base_of_v<Component, T>, "Invalid component to remove!");
    for (auto it = components.begin(); it != components.end(); ++it) {
        if (std::strcmp((*it)->GetName(), T::kName) == 0) {
            Component* removed = *it;
            removed->Free();
            delete removed;
            components.erase(it);
            return true;
        }
    }
    return false;
}
