#include "actors/Player.h"

#include "physics/Collider.h"
#include "physics/Rigidbody.h"

Player::Player() : GameObject(KIND_PLAYER) {
    AddComponent<Rigidbody>();
    AddComponent<Collider>();
}

void Player::Update() {
    UpdateComponents();
}

Player& GetPlayer() {
    static Player player;
    return player;
}
