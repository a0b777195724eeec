#pragma once

// The loading screen's sound load: the sounds are read on a worker thread (on the main thread
// when no thread can be had) while the screen shows the progress. The loader waits for it before
// it frees its sounds.

// Starts the load; the progress starts again from 0.
void StartSoundLoad();
// A load left on the main thread never runs by itself: runs it now, so the progress reaches 100.
void RunDeferredSoundLoad();
// Hands the loaded sounds to the resource loader; a failed load keeps those that came in first.
void TakeLoadedSounds();
// The load's progress as the worker reports it (0 to 100).
float GetLoadProgress();
// Blocks until a sound load that was started has finished; returns at once if none runs.
void WaitForSoundLoad();
