#include <cstdio>

#include "DemoSegments.h"

bool PlayLevel1(BotControls&) {
    std::printf("lirra-demo: level 1 is not played yet\n");
    return false;
}

bool PlayLevel2(BotControls&) {
    std::printf("lirra-demo: level 2 is not played yet\n");
    return false;
}

bool PlayLevel3(BotControls&) {
    std::printf("lirra-demo: level 3 is not played yet\n");
    return false;
}
