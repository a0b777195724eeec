#pragma once

#include <vector>

class GameObject;

// Once per frame, after every update: pushes Lirra's box out of each solid box she has moved into,
// decides whether she stands on the ground, reports her to interactables in range, fires
// flying-enemy markers and lets winds push her. Objects are met in list order.
void RunPlayerCollisionPass(GameObject& player, const std::vector<GameObject*>& collidables);
