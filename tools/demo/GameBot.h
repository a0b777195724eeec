#pragma once

#include "BotControls.h"

// Bot controls over the real game: keys go through the input queue of the scripted-input layer,
// frames are the main loop's own iterations.
class GameBot : public BotControls {
public:
    void Press(int key) override;
    void Release(int key) override;
    void Frame() override;
    bool Running() const override;
    long FramesRun() const override { return framesRun; }

private:
    void Send(int key, int action);

    long framesRun = 0;
};
