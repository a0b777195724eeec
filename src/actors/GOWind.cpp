#include "actors/GOWind.h"

#include "graphics/AnimationRenderer.h"
#include "physics/Collider.h"

namespace {

constexpr int kWindFrames = 6;
constexpr float kSecondsPerFramePerStrength = 0.07f;
constexpr float kWindAlpha = 0.7f;

struct WindLook {
    Vector3 direction;
    TextureId texture;
};

// By direction number: north, east, south, west.
const WindLook kWindLooks[] = {
    {Vector3(0.0f, 1.0f, 0.0f), TextureId::WindNorth},
    {Vector3(1.0f, 0.0f, 0.0f), TextureId::WindEast},
    {Vector3(0.0f, -1.0f, 0.0f), TextureId::WindSouth},
    {Vector3(-1.0f, 0.0f, 0.0f), TextureId::WindWest},
};

}  // namespace

GOWind::GOWind() : GameObject(KIND_WIND) {
    AddComponent<Collider>();
    AddComponent<AnimationRenderer>();
}

// Stronger winds animate more slowly. A recycled wind forgets its old direction's picture.
void GOWind::Init() {
    if (windDirection < WIND_NORTH || windDirection > WIND_WEST) {
        return;
    }
    const WindLook& look = kWindLooks[windDirection];
    push = look.direction * strength;
    AnimationRenderer* animation = GetComponent<AnimationRenderer>();
    if (animation == nullptr) {
        animation = AddComponent<AnimationRenderer>();
    }
    animation->ClearClips();
    animation->AddClip(look.texture, kWindFrames, kSecondsPerFramePerStrength * strength);
    animation->SetClip(look.texture);
    animation->Restart();
    animation->SetAlpha(kWindAlpha);
}
