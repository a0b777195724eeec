#pragma once

// Start-up, the main loop and the window's shut-down.
void RunGame();
