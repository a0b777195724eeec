#pragma once

#include <cmath>
#include <functional>

#include "BotControls.h"
#include "frontend/State.h"

class GOEnemy;
class GOMushroom;
class Rigidbody;

// Lirra's moves as a player makes them at the keyboard: every move presses arrows, Up and the
// attack keys over the game's real frames and reads where she is between them. A move that did
// not get her where it meant to returns false; the caller decides whether to try again.
class PlayerMoves {
public:
    explicit PlayerMoves(BotControls& controls) : bot(controls) {}

    // Walks (holding the arrow) until her x passes `x`, then lets go and lets her stop.
    bool WalkTo(float x, int limit = 900);
    // Walks until she stands within a short step of `x`.
    bool StandNear(float x);
    // Holds a direction while running `body` (a jump, a glide ...).
    void Holding(int key, const std::function<void()>& body);
    // Jumps with Up, held until she falls, so the jump is full but no glide starts. A press that
    // does not lift her (she was stumbling from a hit) is tried again.
    bool Jump();
    // Runs towards `takeOff`, jumps there and, once she is over `brakeAt`, pulls back on the
    // other arrow the way a player checks a long jump. With `glide` Up stays held through the fall.
    bool RunningJump(float takeOff, float brakeAt, bool glide = false);
    // Jumps into an updraft and glides up it; once she is above `leaveY` (or the lift is spent)
    // she steers towards `side` (an arrow key) until she lands. With `brakeAt` she pulls back
    // once past that x, so she stops on a narrow ledge.
    bool RideWind(float leaveY, int side, float brakeAt = NAN, int limit = 900);
    // From a ledge's end: a hop towards `side` with Up held, and once past `brakeAt` a pull back
    // on the other arrow until she drifts no more, so she hangs in the wind column beside it.
    bool HopIntoWind(int side, float brakeAt);
    // Jumps and glides: Up held through the whole flight until `done`.
    bool JumpAndGlide(const std::function<bool()>& done, int limit = 900);
    // Walks towards `x`, striking every walking spirit that comes within reach on the way.
    bool FightThrough(float x, int limit = 1800);
    // Strikes until no walking spirit is left near her.
    bool FightNearbySpirits(float range, int limit = 900);
    // Holds E at the mushroom until the level hands over to the next state.
    bool UseExit(StateId next, int limit = 600);
    bool WaitForControls(int limit = 1500);
    // Waits until she stands still on the ground.
    bool Settle(int limit = 300);
    void ReleaseAll();
    // Runs frames until `condition` holds; false when it did not within `limit` frames, or when
    // her death or a restart of the level broke the move off.
    bool Until(const std::function<bool()>& condition, int limit);

    bool Landed() const;
    bool StandsOn(float groundY) const;
    const GOEnemy* NearestWalker(float range) const;
    const GOMushroom* ActiveExit() const;
    int CountActiveEnemies(int kind) const;
    Rigidbody* Body() const;
    float X() const;
    float Y() const;
    int StateIdNow() const;
    // Prints where she is and what she was about; returns false for the caller to pass on.
    bool Stuck(const char* step) const;

    BotControls& bot;
};
