#include "audio/Audio.h"

void AudioInit() {}
void AudioUpdate() {}
void StopAllSounds() {}
void PauseAllSounds() {}
void ResumeAllSounds() {}
void SetMute(bool) {}
void SetMasterVolume(float) {}
