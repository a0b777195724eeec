#pragma once

class GameObject;

// One value per component class: objects find their components by it, never by name.
using ComponentType = const void*;

template <typename T>
ComponentType ComponentTypeOf() {
    static constexpr char kTag = 0;
    return &kTag;
}

// A piece of behaviour attached to a GameObject by type: at most one of each type per object.
// Every concrete component declares `static constexpr const char* kName` and returns it from
// GetName, the name the console shows.
class Component {
public:
    explicit Component(GameObject* owner_) : owner(owner_) {}
    virtual ~Component() = default;

    virtual const char* GetName() const = 0;
    // True for the collider (physics/Collider.h): the scene keeps its object on the collision list.
    virtual bool IsCollider() const { return false; }
    virtual void Init() {}
    virtual void Free() {}
    virtual void Update() {}
    virtual void Draw() {}

    GameObject* GetOwner() const { return owner; }

protected:
    GameObject* const owner;
};
