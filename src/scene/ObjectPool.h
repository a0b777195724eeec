#pragma once

#include <cstddef>
#include <vector>

class GameObject;

// Objects of one class, created ten at a time and recycled for the whole run; the pool never
// shrinks. The pool only lists its objects: the scene object manager owns them (it deletes them at
// exit through its list of every object), so T may stay an incomplete type wherever the pool is
// merely declared.
template <typename T>
class ObjectPool {
public:
    static constexpr int kGrowth = 10;

    // The first object, in pool order, that `isFree` accepts; null if there is none.
    template <typename IsFree>
    T* FindFree(IsFree isFree) const {
        for (T* object : objects) {
            if (isFree(object)) {
                return object;
            }
        }
        return nullptr;
    }

    // Makes `count` objects with `make`, appends each to the pool and to `created`, returns the last.
    template <typename U, typename Make>
    U* Grow(int count, Make make, std::vector<GameObject*>& created) {
        U* last = nullptr;
        for (int i = 0; i < count; ++i) {
            last = make();
            objects.push_back(last);
            created.push_back(last);
        }
        return last;
    }

    const std::vector<T*>& GetObjects() const { return objects; }
    size_t Size() const { return objects.size(); }

private:
    std::vector<T*> objects;
};
