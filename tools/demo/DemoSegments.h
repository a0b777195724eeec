#pragma once

#include "BotControls.h"

// The parts of a playthrough. Each starts on the first frame its state is current and plays
// until the game has handed over to the next state; on failure it prints where it got stuck and
// returns false.
bool PlayLoadingAndSplash(BotControls& bot);  // loading screen and splash → "Main Menu"
bool PlayMainMenu(BotControls& bot);          // Dired's talk and the portal → "Level 1"
bool PlayLevel1(BotControls& bot);            // → "Level 2"
bool PlayLevel2(BotControls& bot);            // → "Level 3"
bool PlayLevel3(BotControls& bot);            // → "Boss"
bool PlayBossFight(BotControls& bot);         // → "Level End"
bool PlayEnding(BotControls& bot);            // the walk home and the credits → "Main Menu"
