#pragma once

#include <string>

struct LaunchOptions;

// Checks and prepares everything the command line asks for before the window opens: the data
// directory, the input, record and trace files, the window size, the seed and the step. False
// (with a message on standard error) when the run cannot start. A recording, if asked for, starts
// with `recordingFirstLine` as a comment when it is not empty.
bool PrepareLaunch(const LaunchOptions& options, const std::string& recordingFirstLine = "");

// Start-up, the main loop and the window's shut-down.
void RunGame();
// The same in three steps, for programs that drive the loop themselves (a player bot).
void OpenGame();
bool IsGameRunning();
// The one way out: tears down what PrepareLaunch and OpenGame started, in the reverse order.
void CloseGame();

// The window with its GL context, the render targets and shaders, and the icon.
void OpenWindow();
// The start-up steps between the window and the first state (the window's focus handling, audio,
// font, tile meshes).
void StartSubsystems();
// Their reverse; the tile meshes stay with their table until the process ends.
void StopSubsystems();
// One iteration of the main loop.
void RunOneFrame();
