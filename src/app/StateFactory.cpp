#include "app/StateFactory.h"

#include <cstring>

#include "app/State.h"

int StartableStateId(const char* name) {
    static const int kStartable[] = {
        STATE_SPLASH, STATE_MAIN_MENU, STATE_EDITOR, STATE_LEVEL_1,
        STATE_LEVEL_2, STATE_LEVEL_3, STATE_BOSS, STATE_LEVEL_END,
    };
    for (const int id : kStartable) {
        if (std::strcmp(name, GetStateName(id)) == 0) {
            return id;
        }
    }
    return 0;
}

State* CreateState(int id) {
    switch (id) {
    default:
        return nullptr;
    }
}
