// The front end played as a player would: the loading screen and the splash watched to the end,
// Dired's talk heard through in the main menu, her portal taken, and after the fight the walk
// home, the ending and the credits watched until the main menu returns.
#include <GLFW/glfw3.h>

#include <cstdio>
#include <string>

#include "DemoSegments.h"
#include "actors/GOGranny.h"
#include "actors/GOInteractable.h"
#include "actors/Player.h"
#include "frontend/State.h"
#include "frontend/StateMainMenu.h"
#include "frontend/StateManager.h"
#include "levels/Dialogue.h"
#include "levels/StateEnd.h"
#include "scene/SceneManager.h"

namespace {

constexpr int kFramesPerSecond = 60;
constexpr int kLoadingLimit = 60 * kFramesPerSecond;
// The splash leaves by itself after six seconds.
constexpr int kSplashLimit = 10 * kFramesPerSecond;
constexpr int kTitleLookFrames = kFramesPerSecond;
constexpr int kWalkLimit = 10 * kFramesPerSecond;
constexpr int kUseLimit = kFramesPerSecond;
constexpr int kTalkLimit = 60 * kFramesPerSecond;
constexpr int kPortalLimit = 10 * kFramesPerSecond;
constexpr int kTravelLimit = 5 * kFramesPerSecond;
constexpr int kEndingLimit = 240 * kFramesPerSecond;
// Well inside Dired's box rather than on its edge, so a stop there stays inside.
constexpr float kStopPastDired = 0.5f;
// The step of the ending after which the script walks Lirra itself.
constexpr int kEndingScriptedStep = 7;
const char* const kDiredsLastWords = "Hurry along now, don't be late for dinner!";

int CurrentStateId() {
    const State* state = GetCurrentState();
    return state != nullptr ? state->GetId() : STATE_UNKNOWN;
}

bool Fail(const BotControls& bot, const char* where) {
    std::printf("lirra-demo: %s (frame %ld)\n", where, bot.FramesRun());
    return false;
}

bool WaitForState(BotControls& bot, int state, int limit) {
    return bot.Until([state] { return CurrentStateId() == state; }, limit);
}

float LirraX() {
    return GetPlayer().GetTransform().GetPosition().x;
}

const StateMainMenu* CurrentMainMenu() {
    return dynamic_cast<const StateMainMenu*>(GetCurrentState());
}

const GOGranny* MenuDired() {
    const StateMainMenu* menu = CurrentMainMenu();
    return menu != nullptr ? menu->granny : nullptr;
}

// The portal Dired summons, once it stands in the scene.
const GOInteractable* ActivePortal() {
    const SceneObjectManager& scene = GetScene();
    for (const GOInteractable* interactable : scene.GetInteractablePool().GetObjects()) {
        if (interactable->IsActive() && interactable->interactableType == INTERACTABLE_PORTAL) {
            return interactable;
        }
    }
    return nullptr;
}

// Her last line typed out in full, then closed.
bool HearDiredOut(BotControls& bot) {
    const std::string lastWords = WithoutSpaces(kDiredsLastWords);
    bool lastLineShown = false;
    return bot.Until(
        [&] {
            lastLineShown |= IsDialogueVisible() && WithoutSpaces(GetDialogue().shown) == lastWords;
            return lastLineShown && !IsDialogueVisible() && ActivePortal() != nullptr;
        },
        kTalkLimit);
}

bool WalkToDired(BotControls& bot, const GOGranny& dired) {
    const float stopAt = dired.GetTransform().GetPosition().x + kStopPastDired;
    bot.Press(GLFW_KEY_LEFT);
    const bool arrived = bot.Until([&] { return dired.playerInside && LirraX() <= stopAt; }, kWalkLimit);
    bot.Release(GLFW_KEY_LEFT);
    return arrived;
}

bool TalkToDired(BotControls& bot, const GOGranny& dired) {
    bot.Press(GLFW_KEY_E);
    const bool started = bot.Until([&] { return dired.activated; }, kUseLimit);
    bot.Release(GLFW_KEY_E);
    return started;
}

// E is held on the way, so the portal takes her the moment she reaches it.
bool WalkIntoPortal(BotControls& bot, const GOInteractable& portal) {
    const int key = portal.GetTransform().GetPosition().x > LirraX() ? GLFW_KEY_RIGHT : GLFW_KEY_LEFT;
    bot.Press(GLFW_KEY_E);
    bot.Press(key);
    const bool entered = bot.Until([&] { return portal.activated; }, kPortalLimit);
    bot.Release(key);
    bot.Release(GLFW_KEY_E);
    return entered;
}

const StateEnd* CurrentEnding() {
    return dynamic_cast<const StateEnd*>(GetCurrentState());
}

}  // namespace

bool PlayLoadingAndSplash(BotControls& bot) {
    if (!WaitForState(bot, STATE_SPLASH, kLoadingLimit)) {
        return Fail(bot, "the loading screen never handed over to the splash");
    }
    if (!WaitForState(bot, STATE_MAIN_MENU, kSplashLimit)) {
        return Fail(bot, "the splash never handed over to the main menu");
    }
    return true;
}

bool PlayMainMenu(BotControls& bot) {
    // The title fades in before Lirra moves.
    bot.Frames(kTitleLookFrames);
    const GOGranny* dired = MenuDired();
    if (dired == nullptr) {
        return Fail(bot, "the main menu has no Dired");
    }
    if (!WalkToDired(bot, *dired)) {
        return Fail(bot, "Lirra did not reach Dired");
    }
    if (!TalkToDired(bot, *dired)) {
        return Fail(bot, "Dired did not start talking");
    }
    if (!HearDiredOut(bot)) {
        return Fail(bot, "Dired's talk did not end with her portal standing");
    }
    const GOInteractable* portal = ActivePortal();
    if (!WalkIntoPortal(bot, *portal)) {
        return Fail(bot, "Lirra did not get into the portal");
    }
    if (!WaitForState(bot, STATE_LEVEL_1, kTravelLimit)) {
        return Fail(bot, "the portal did not lead to level 1");
    }
    return true;
}

// Lirra walks home once she may; from Dired's praise on the script moves her and the credits
// roll by themselves.
bool PlayEnding(BotControls& bot) {
    const StateEnd* ending = CurrentEnding();
    if (ending == nullptr) {
        return Fail(bot, "the ending is not the current state");
    }
    if (!bot.Until([] { return !GetPlayer().inputLocked; }, kEndingLimit)) {
        return Fail(bot, "Lirra was never free to walk home");
    }
    bot.Press(GLFW_KEY_LEFT);
    const bool home = bot.Until([ending] { return ending->step >= kEndingScriptedStep; }, kEndingLimit);
    bot.Release(GLFW_KEY_LEFT);
    if (!home) {
        return Fail(bot, "Lirra did not reach Dired on the way home");
    }
    if (!WaitForState(bot, STATE_MAIN_MENU, kEndingLimit)) {
        return Fail(bot, "the credits did not lead back to the main menu");
    }
    return true;
}
