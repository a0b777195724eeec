#include "levels/Cinematics.h"

void UpdateCinematics() {}

bool IsCinematicPlaying() {
    return false;
}
