#include "frontend/StateFactory.h"

#include <cstring>

#include "frontend/State.h"
#include "frontend/StateMainMenu.h"
#include "frontend/StateSplash.h"
#include "levels/StateEnd.h"
#include "levels/StateLevel1.h"
#include "levels/StateLevel2.h"
#include "levels/StateLevel3.h"
#include "levels/StateLevelBoss.h"
#include "tools/StateLevelEditor.h"

int StartableStateId(const char* name) {
    static const int kStartable[] = {
        STATE_SPLASH,  STATE_MAIN_MENU, STATE_EDITOR, STATE_LEVEL_1,
        STATE_LEVEL_2, STATE_LEVEL_3,   STATE_BOSS,   STATE_LEVEL_END,
    };
    for (const int id : kStartable) {
        if (std::strcmp(name, GetStateName(id)) == 0) {
            return id;
        }
    }
    return 0;
}

std::unique_ptr<State> CreateState(int id) {
    switch (id) {
    case STATE_SPLASH:
        return std::make_unique<StateSplash>();
    case STATE_MAIN_MENU:
        return std::make_unique<StateMainMenu>();
    case STATE_EDITOR:
        return std::make_unique<StateLevelEditor>();
    case STATE_LEVEL_1:
        return std::make_unique<StateLevel1>();
    case STATE_LEVEL_2:
        return std::make_unique<StateLevel2>();
    case STATE_LEVEL_3:
        return std::make_unique<StateLevel3>();
    case STATE_BOSS:
        return std::make_unique<StateLevelBoss>();
    case STATE_LEVEL_END:
        return std::make_unique<StateEnd>();
    default:
        return nullptr;
    }
}
