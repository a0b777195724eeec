#pragma once

#include "scene/GameObject.h"

// Lirra. This is the seed of the full player: for now it carries the body and the box that the
// scene updates, collides and draws at its fixed places. Exactly one exists for the whole run.
// Its constructor must not reach the scene object manager: the scene is made after the player.
class Player : public GameObject {
public:
    Player();

    void Update() override;
    void Render() override {}
    // Lirra is outside the scene's lists: the flag is stored and nothing is queued.
    void SetActive(bool a) override { active = a; }
};

Player& GetPlayer();
