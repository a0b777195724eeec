#include "GameBot.h"

#include <GLFW/glfw3.h>

#include "app/Game.h"
#include "automation/InputScript.h"

void GameBot::Send(int key, int action) {
    ScriptedEvent event;
    event.type = ScriptedEvent::Type::Key;
    event.code = key;
    event.action = action;
    QueueInputEvent(event);
}

void GameBot::Press(int key) {
    Send(key, GLFW_PRESS);
}

void GameBot::Release(int key) {
    Send(key, GLFW_RELEASE);
}

void GameBot::Frame() {
    if (!Running()) {
        return;
    }
    RunOneFrame();
    ++framesRun;
}

bool GameBot::Running() const {
    return IsGameRunning();
}
