#pragma once

#include <functional>

// What a player bot may do: press and release keys, delivered through the game's own input
// callbacks at the next frame's event poll (so a recording of the run replays it), and let the
// game's loop run. Everything else a bot knows it reads from the game's state between frames.
class BotControls {
public:
    virtual ~BotControls() = default;

    virtual void Press(int key) = 0;
    virtual void Release(int key) = 0;
    // Runs one iteration of the game's loop; does nothing once the game has quit.
    virtual void Frame() = 0;
    virtual bool Running() const = 0;
    // Frames run since the bot started.
    virtual long FramesRun() const = 0;

    void Frames(int n);
    // Pressed for one frame.
    void Tap(int key);
    // Runs frames until `condition` holds; false when it did not within `limit` frames (or the
    // game quit).
    bool Until(const std::function<bool()>& condition, int limit);
};
