#include "BotControls.h"

void BotControls::Frames(int n) {
    for (int i = 0; i < n && Running(); ++i) {
        Frame();
    }
}

void BotControls::Tap(int key) {
    Press(key);
    Frame();
    Release(key);
}

bool BotControls::Until(const std::function<bool()>& condition, int limit) {
    for (int i = 0; i < limit && Running(); ++i) {
        if (condition()) {
            return true;
        }
        Frame();
    }
    return Running() && condition();
}
