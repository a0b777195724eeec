#pragma once

// The queue of camera zooms, shakes and letterbox bars. (Being built.)
void UpdateCinematics();
bool IsCinematicPlaying();
