#pragma once

// The state types; 0 is no state (a name lookup gives "UNKNOWN", a factory gives null).
enum StateId : int {
    STATE_UNKNOWN = 0,
    STATE_LOADING = 1,
    STATE_SPLASH = 2,
    STATE_MAIN_MENU = 3,
    STATE_OPTION = 4,
    STATE_EDITOR = 5,
    STATE_LEVEL_1 = 6,
    STATE_LEVEL_2 = 7,
    STATE_LEVEL_3 = 8,
    STATE_BOSS = 9,
    STATE_LEVEL_END = 10,
};

const char* GetStateName(int id);

// One screen of the game. The manager loads, updates, renders and unloads it; the base class
// carries the work every screen shares (global keys, the shared systems, the render passes).
class State {
public:
    explicit State(StateId stateId) : id(stateId) {}
    virtual ~State() = default;

    virtual void Load() = 0;
    virtual void Update() = 0;
    virtual void Render() = 0;
    virtual void Unload() = 0;

    virtual void PreLoad() {}
    virtual void PostLoad();
    virtual void PreUpdate();
    virtual void PostUpdate();
    virtual void PreRender() {}
    virtual void PostRender();
    virtual void PreUnload() {}
    virtual void PostUnload();

    StateId GetId() const { return id; }
    const char* GetName() const { return GetStateName(id); }
    bool IsConsoleOpen() const { return consoleOpen; }
    void SetConsoleOpen(bool open) { consoleOpen = open; }

protected:
    StateId id;
    bool consoleOpen = false;
};
