#pragma once

#include <map>
#include <memory>
#include <string>

// One behaviour of an enemy, registered under its upper-case name ("IDLE_BE"). Concrete states
// keep a pointer to the enemy they drive.
class GOState {
public:
    explicit GOState(const std::string& name_) : name(name_) {}
    virtual ~GOState() = default;
    GOState(const GOState&) = delete;
    GOState& operator=(const GOState&) = delete;

    virtual void Enter() = 0;
    virtual void Update() = 0;
    virtual void Exit() = 0;

    const std::string name;
};

// The named states of one enemy. A change is requested by name and takes effect at the next
// Update, so a state never ends while it is running.
class GOStateMachine {
public:
    GOStateMachine() = default;
    GOStateMachine(const GOStateMachine&) = delete;
    GOStateMachine& operator=(const GOStateMachine&) = delete;

    // The first state added becomes current and is entered at once; a state whose name is
    // already registered is not added (and is destroyed with the handle).
    void AddState(std::unique_ptr<GOState> state);
    // Names that are not registered are ignored.
    void ChangeState(const std::string& stateName);
    // Switches to the requested state if it differs, then runs the current one.
    void Update();

    GOState* GetCurrent() const { return current; }
    GOState* GetNext() const { return next; }
    // Null for a name that is not registered.
    GOState* FindState(const std::string& stateName) const;
    size_t CountStates() const { return states.size(); }
    // "" while there is no state.
    const char* GetCurrentName() const { return current != nullptr ? current->name.c_str() : ""; }

private:
    GOState* current = nullptr;
    GOState* next = nullptr;
    std::map<std::string, std::unique_ptr<GOState>> states;
};
