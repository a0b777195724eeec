#pragma once

// The game's sound layer. (Being built: until then every call does nothing.)
void AudioInit();
void AudioUpdate();
void StopAllSounds();
void PauseAllSounds();
void ResumeAllSounds();
void SetMute(bool mute);
void SetMasterVolume(float volume);
