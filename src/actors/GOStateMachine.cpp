#include "actors/GOStateMachine.h"

GOStateMachine::~GOStateMachine() {
    for (auto& [stateName, state] : states) {
        delete state;
    }
    states.clear();
    current = nullptr;
    next = nullptr;
}

void GOStateMachine::AddState(GOState* state) {
    if (state == nullptr) {
        return;
    }
    // A duplicate is refused before anything else, so it is never entered either; the machine owns
    // what it is given, so the refused state is deleted here.
    if (states.count(state->name) != 0) {
        delete state;
        return;
    }
    states.emplace(state->name, state);
    if (current == nullptr) {
        current = state;
        next = state;
        current->Enter();
    }
}

void GOStateMachine::ChangeState(const std::string& stateName) {
    GOState* found = FindState(stateName);
    if (found != nullptr) {
        next = found;
    }
}

void GOStateMachine::Update() {
    if (current == nullptr) {
        return;
    }
    if (next != current) {
        current->Exit();
        next->Enter();
        current = next;
    }
    current->Update();
}

GOState* GOStateMachine::FindState(const std::string& stateName) const {
    const auto found = states.find(stateName);
    return found != states.end() ? found->second : nullptr;
}
