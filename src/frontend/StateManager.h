#pragma once

class State;

State* GetCurrentState();
// Requests a change; the first state is loaded at once, later ones at the start of the next frame.
void SetState(State* next);
// Unloads and loads the current state object in place.
void RestartState();
void ApplyPendingState();
void UpdateAndRenderState();
void ShutdownStates();
bool HasPendingState();
