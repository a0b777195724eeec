#pragma once

// Start-up, the main loop and the window's shut-down.
void RunGame();

// The start-up steps between the window and the first state (audio, font, tile meshes).
void StartSubsystems();
// One iteration of the main loop.
void RunOneFrame();
