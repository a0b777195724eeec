#pragma once

#include <string>

// Opens the game's real window (once per test process) inside the built data directory, with
// the clock at a fixed step of 1/60 s, and starts audio, the font and the tile meshes. Focus
// changes of the shared virtual display are ignored: tests call WindowFocusChanged themselves.
void StartTestGame(int width = 256, int height = 180);
// Loads the game's textures and meshes and builds the backgrounds, once per test process, as the
// loading screen would.
void LoadGameAssets();
// Runs n iterations of the game's own main loop body.
void RunFrames(int n);
// Ends the current and pending states, so the next test starts from no state.
void EndTestStates();
// Every object of the scene inactive and on no list.
void EmptyTheScene();
// Puts the whole game back to its start, as a fresh test process has it once the assets are
// loaded: no state, the main menu's overlay, an empty scene with no marker placed, no particles,
// dialogue or pop-up, no keys down, no sound playing, full volume and no mute, the clock at its
// start with steps of 1/60 s, the camera at rest, and Lirra out of the scene, healthy, with no
// souls. Loaded textures, meshes and sounds stay loaded.
void ResetTestGame();

// Call from a static initialiser, so before OpenAL reads its configuration, in this process and
// in the games it starts: the output device is OpenAL Soft's wave-file writer, a real device
// whose recording goes to "played.wav" in a fresh temporary directory, or nowhere unless `keep`.
bool UseWaveOutput(const std::string& tag, bool keep);
// A fresh empty directory under the system's temporary directory.
std::string MakeTempDir(const std::string& tag);
// Runs a shell command, returns its exit status; its output goes to `output` when given.
int RunCommand(const std::string& command, std::string* output = nullptr);
// Runs a command on a virtual display of its own (a game on the shared display can lose its
// focus to another test's window, and pauses); tries the next display when one is taken.
int RunOnOwnDisplay(const std::string& command, std::string* output, const std::string& screen = "640x480x24");
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
