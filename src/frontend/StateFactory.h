#pragma once

class State;

// The state id whose display name is `name`, among those a run may start in; 0 if none.
int StartableStateId(const char* name);
// A new state object of that id, or null while the game has no such screen.
State* CreateState(int id);
