#pragma once

#include <memory>
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
    struct Attached {
        ComponentType type;
        std::unique_ptr<Component> component;
    };

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

    const std::vector<Attached>& GetComponents() const { return components; }

protected:
    ~ComponentBehavior() = default;

    std::vector<Attached> components;
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

// A component of type T, or of a type derived from it (a UIRenderer where a Renderer is asked
// for), is refused before anything is made.
template <typename T>
T* ComponentBehavior::AddComponent() {
    static_assert(std::is_base_of_v<Component, T>, "Invalid component added!");
    for (const Attached& existing : components) {
        if (existing.type == ComponentTypeOf<T>() || dynamic_cast<const T*>(existing.component.get()) != nullptr) {
            return nullptr;
        }
    }
    auto made = std::make_unique<T>(static_cast<GameObject*>(this));
    T* added = made.get();
    added->Init();
    components.push_back({ComponentTypeOf<T>(), std::move(made)});
    return added;
}

// Matched by exact type only, so a UIRenderer is not found as a Renderer.
template <typename T>
T* ComponentBehavior::GetComponent() const {
    static_assert(std::is_base_of_v<Component, T>, "Invalid component passed in");
    for (const Attached& existing : components) {
        if (existing.type == ComponentTypeOf<T>()) {
            return static_cast<T*>(existing.component.get());
        }
    }
    return nullptr;
}

template <typename T>
bool ComponentBehavior::RemoveComponent() {
    static_assert(std::is_base_of_v<Component, T>, "Invalid component to remove!");
    for (auto it = components.begin(); it != components.end(); ++it) {
        if (it->type == ComponentTypeOf<T>()) {
            it->component->Free();
            components.erase(it);
            return true;
        }
    }
    return false;
}
