#include "physics/CollisionReactions.h"

#include "actors/GOInteractable.h"
#include "actors/GOWind.h"
#include "scene/GameObject.h"

void ReportPlayerOverlap(GameObject& object, bool inside) {
    // Only the interactable classes react; a plain object given their kind has nothing to do.
    GOInteractable* interactable = dynamic_cast<GOInteractable*>(&object);
    if (interactable != nullptr) {
        interactable->OnPlayerOverlap(inside);
    }
}

bool GetWindPush(const GameObject& object, Vector3* push, bool* blowsNorth) {
    const GOWind* wind = dynamic_cast<const GOWind*>(&object);
    if (wind == nullptr) {
        return false;
    }
    *push = wind->GetPush();
    *blowsNorth = wind->BlowsNorth();
    return true;
}
