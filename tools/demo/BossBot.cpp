#include <cstdio>

#include "DemoSegments.h"

bool PlayBossFight(BotControls&) {
    std::printf("lirra-demo: the boss fight is not played yet\n");
    return false;
}
