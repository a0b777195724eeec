#include <cstdio>

#include "DemoSegments.h"

bool PlayLoadingAndSplash(BotControls&) {
    std::printf("lirra-demo: the loading screen and splash are not played yet\n");
    return false;
}

bool PlayMainMenu(BotControls&) {
    std::printf("lirra-demo: the main menu is not played yet\n");
    return false;
}

bool PlayEnding(BotControls&) {
    std::printf("lirra-demo: the ending is not played yet\n");
    return false;
}
