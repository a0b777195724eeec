#include "actors/GOStateMachine.h"

void GOStateMachine::AddState(std::unique_ptr<GOState> state) {
    if (state == nullptr) {
        return;
    }
    // A duplicate is refused before anything else, so it is never entered either.
    if (states.count(state->name) != 0) {
        return;
    }
    GOState* added = state.get();
    states.emplace(added->name, std::move(state));
    if (current == nullptr) {
        current = added;
        next = added;
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
    return found != states.end() ? found->second.get() : nullptr;
}
