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

State* CreateState(int id) {
    switch (id) {
    case STATE_SPLASH:
        return new StateSplash();
    case STATE_MAIN_MENU:
        return new StateMainMenu();
    case STATE_EDITOR:
        return new StateLevelEditor();
    case STATE_LEVEL_1:
        return new StateLevel1();
    case STATE_LEVEL_2:
        return new StateLevel2();
    case STATE_LEVEL_3:
        return new StateLevel3();
    case STATE_BOSS:
        return new StateLevelBoss();
    case STATE_LEVEL_END:
        return new StateEnd();
    default:
        return nullptr;
    }
}
