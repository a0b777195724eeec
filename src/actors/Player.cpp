#include "actors/Player.h"

#include "physics/Collider.h"
#include "physics/Rigidbody.h"

Player::Player() : GameObject(KIND_PLAYER) {
    AddComponent<Rigidbody>();
    AddComponent<Collider>();
}

// An inactive Lirra (splash, menus before a level starts) neither moves nor falls.
void Player::Update() {
    if (!active) {
        return;
    }
    UpdateComponents();
}

Player& GetPlayer() {
    static Player player;
    return player;
}
