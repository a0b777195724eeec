#pragma once

#include <vector>

#include "BotControls.h"
#include "math/Vector.h"

class GOEnemy;
class HandController;

// What the boss-fight bot knows of the arena and how it looks a second ahead: Lirra's body as
// her keys would move it, and the attacks that could reach her on the way (the hands' slams and
// sweeps, the flying spirits homing in). Everything here only reads the game.

// Heights and walls of the arena, as Lirra's centre meets them.
constexpr float kArenaStandY = -17.05f;
constexpr float kArenaWallX = 14.0f;
constexpr int kLookAheadFrames = 50;

struct LirraBody {
    Vector3 position;
    Vector3 velocity;
    bool airborne = false;
    bool moving = false;
    bool gliding = false;
};

LirraBody ReadLirraBody();

// The keys of one frame as the body reacts to them.
struct FrameKeys {
    int run = 0;  // -1 left, 0 none, 1 right
    bool jumpPressed = false;
    bool jumpHeld = false;
    bool runReleased = false;
    bool runLocked = false;  // an attack or a hit reaction ignores the direction keys
};

// One frame of Lirra's movement: run, jump, glide, gravity, ground, walls and the two low
// platforms, the way her body and the collision pass do it.
void StepLirra(LirraBody& body, const FrameKeys& keys, float dt);

// A box that hurts Lirra, as a centre and half sizes.
struct HarmBox {
    float x = 0.0f;
    float y = 0.0f;
    float halfWidth = 0.0f;
    float halfHeight = 0.0f;
};

bool LirraTouches(const LirraBody& body, const HarmBox& box, float margin);

// One hand's coming moves, from its current state and timers.
class HandForecast {
public:
    explicit HandForecast(const HandController& controller);
    // Advances one frame with Lirra where she is now; true and the box when its hitbox is out.
    bool Step(const LirraBody& lirra, float dt, HarmBox& box);

private:
    enum Phase { Quiet, SlamWindUp, Slam, SweepWindUp, Sweep };

    Vector3 SweepTarget() const;

    int side = 0;
    Phase phase = Quiet;
    Vector3 position;
    Vector3 target;
    float speed = 0.0f;
    float wait = 0.0f;
    float sweepHeading = 0.0f;
};

// A flying spirit steering for Lirra.
class SpiritForecast {
public:
    explicit SpiritForecast(const GOEnemy& spirit);
    void Step(const LirraBody& lirra, float dt, HarmBox& box);

private:
    Vector3 position;
    Vector3 direction;
    float speed = 10.0f;
    bool fadingIn = false;
    float fade = 0.0f;
};

// Lirra's light strike, as the look-ahead plays it: where it lands and how hard.
struct Strike {
    bool now = false;
    float x = 0.0f;
    int power = 0;
};

// A walking spirit: it closes in while it has its wits, jabs at once, swings after a moment,
// and reels for a while after each strike it takes.
class WalkerForecast {
public:
    explicit WalkerForecast(const GOEnemy& walker);
    bool Step(const LirraBody& lirra, const Strike& strike, float dt, HarmBox& box);

private:
    float x = 0.0f;
    float y = 0.0f;
    float heading = 1.0f;
    int health = 0;
    bool chasing = false;
    bool steady = true;
    float stunned = 0.0f;
    bool inReach = false;
    int swingIn = 0;
};

// Everything that may strike Lirra within the look-ahead.
struct Threats {
    std::vector<HandForecast> hands;
    std::vector<SpiritForecast> spirits;
    std::vector<WalkerForecast> walkers;
};

Threats ReadThreats();

// The keys the bot holds, and the changes it sends once per frame.
class HeldKeys {
public:
    explicit HeldKeys(BotControls& bot_) : bot(bot_) {}

    void Run(int direction);
    void JumpKey(bool down);
    // The attack key for one frame.
    void TapAttack(int key);
    // Sends the changes and runs one frame of the game.
    void Frame();
    void ReleaseAll();

    int Running() const { return run; }
    bool JumpDown() const { return jump; }
    bool RunReleasedLastFrame() const { return runReleased; }

private:
    void Set(int key, bool down, bool& held);

    BotControls& bot;
    int run = 0;
    bool left = false;
    bool right = false;
    bool jump = false;
    bool jumpSent = false;
    bool runReleased = false;
    int tappedKey = 0;
    int heldTap = 0;
};
