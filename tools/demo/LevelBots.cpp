#include <GLFW/glfw3.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "DemoSegments.h"
#include "PlayerMoves.h"
#include "actors/GOMushroom.h"
#include "actors/Player.h"
#include "frontend/StateManager.h"
#include "levels/StateLevel1.h"
#include "levels/StateLevel2.h"
#include "levels/StateLevel3.h"

// Each forest is played as a route: from wherever Lirra stands, the route names the one move
// that takes her on. After every move the bot looks again, so a jump that fell short, a fall that
// restarted the level or a death that sent her back to the start is simply played on from there.
namespace {

struct Move {
    std::string name;
    std::function<bool()> run;
};

// A route gives up when one move fails this often in a row, or when the same move comes up
// this often without the route getting anywhere else.
constexpr int kFailuresAllowed = 3;
constexpr int kRepeatsAllowed = 8;
constexpr int kMovesAllowed = 200;

// Heights Lirra stands at on the grounds of the forests: a ground top plus her half height.
constexpr float kStandHeight = 1.45f;

constexpr float StandingOn(float groundTop) {
    return groundTop + kStandHeight;
}

// Where she leaves a ledge whose edge is at `edge` for a jump: her feet hold on for half her
// width past it, and a jump pressed there takes a frame to start, so she takes off a little over
// two frames of a full run before her feet would slip off.
constexpr float kTakeOffMargin = 0.8f;

constexpr float TakeOffRightAt(float edge) {
    return edge - kTakeOffMargin;
}

constexpr float TakeOffLeftAt(float edge) {
    return edge + kTakeOffMargin;
}

// Waits out what takes her controls for a while: the transition that brings the level in,
// an opening cinematic, a line she must think through, her death and the restart.
bool WaitForPlay(PlayerMoves& moves) {
    const Player& lirra = GetPlayer();
    return moves.bot.Until(
        [&] { return lirra.state != PLAYER_FROZEN && lirra.state != PLAYER_DYING && !lirra.inputLocked; }, 60 * 60);
}

bool PlayRoute(BotControls& bot, StateId level, StateId next, const std::function<Move(PlayerMoves&)>& route) {
    PlayerMoves moves(bot);
    std::string last;
    int failures = 0;
    int repeats = 0;
    for (int count = 0; count < kMovesAllowed; ++count) {
        if (moves.StateIdNow() == next) {
            return true;
        }
        if (moves.StateIdNow() != level) {
            return moves.Stuck("the level, which handed over to another state");
        }
        if (!WaitForPlay(moves)) {
            return moves.Stuck("waiting for her controls");
        }
        const Move move = route(moves);
        repeats = move.name == last ? repeats + 1 : 0;
        last = move.name;
        if (move.run()) {
            failures = 0;
        } else {
            std::printf("lirra-demo: %s did not work out (frame %ld, Lirra at %.2f, %.2f); trying on\n",
                        move.name.c_str(), bot.FramesRun(), moves.X(), moves.Y());
            moves.ReleaseAll();
            ++failures;
        }
        if (failures >= kFailuresAllowed || repeats >= kRepeatsAllowed) {
            return moves.Stuck(move.name.c_str());
        }
    }
    return moves.Stuck("the end of the level: too many moves");
}

// Waits while she falls out of the level and it starts again.
Move FallOut(PlayerMoves& moves) {
    return {"the fall out of the level", [&moves] {
                const State* fallenIn = GetCurrentState();
                const float y = moves.Y();
                return moves.bot.Until([&] { return GetCurrentState() != fallenIn || moves.Y() > y + 0.5f; }, 600);
            }};
}

Move Nowhere(PlayerMoves& moves) {
    return {"a place the route does not know", [&moves] { return moves.Settle(60); }};
}

// ---- Level 1: the meadow, the ambush, three jumps and the valley --------------------------

constexpr float kMeadow = StandingOn(0.5f);
constexpr float kFirstStep = StandingOn(1.5f);
constexpr float kLowLedge = StandingOn(-1.5f);
constexpr float kValley = StandingOn(-11.5f);
constexpr float kMeadowEdge = 52.5f;
constexpr float kFirstStepEdge = 62.5f;
constexpr float kRimLeft = 73.5f;
constexpr float kExitX = 78.0f;

StateLevel1* Level1() {
    return dynamic_cast<StateLevel1*>(GetCurrentState());
}

Move Level1Route(PlayerMoves& moves) {
    const StateLevel1* level = Level1();
    const float x = moves.X();
    if (!level->script.ambushStarted) {
        return {"the walk into the ambush", [&moves] {
                    moves.bot.Press(GLFW_KEY_RIGHT);
                    const bool started = moves.bot.Until([] { return Level1()->script.ambushStarted; }, 900);
                    moves.bot.Release(GLFW_KEY_RIGHT);
                    moves.Settle();
                    return started;
                }};
    }
    if (!level->script.ambushFinished) {
        return {"the dash through the ambush", [&moves] {
                    moves.bot.Press(GLFW_KEY_RIGHT);
                    const bool through = moves.bot.Until(
                        [&] { return Level1()->script.ambushFinished && moves.X() >= kAmbushEndX + 0.5f; }, 900);
                    moves.bot.Release(GLFW_KEY_RIGHT);
                    return through;
                }};
    }
    if (!moves.Landed()) {
        return {"the landing", [&moves] { return moves.Settle(); }};
    }
    if (moves.StandsOn(kMeadow) && x < kMeadowEdge) {
        if (std::fabs(x - 49.0f) > 0.6f) {
            return {"the run-up to the first pit", [&moves] { return moves.StandNear(49.0f); }};
        }
        return {"the jump over the first pit", [&moves] {
                    return moves.RunningJump(TakeOffRightAt(kMeadowEdge), 57.5f) && moves.StandsOn(kFirstStep);
                }};
    }
    if (moves.StandsOn(kFirstStep)) {
        if (x > 60.0f) {
            return {"the run-up on the step", [&moves] { return moves.StandNear(58.0f); }};
        }
        // She lands on the rim or, a little short, on the low ledge under it.
        return {"the jump over the second pit",
                [&moves] { return moves.RunningJump(TakeOffRightAt(kFirstStepEdge), 68.0f); }};
    }
    if (moves.StandsOn(kLowLedge)) {
        if (std::fabs(x - 68.5f) > 0.6f) {
            return {"the run-up on the low ledge", [&moves] { return moves.StandNear(68.5f); }};
        }
        return {"the jump up the rim", [&moves] { return moves.RunningJump(72.6f, 74.8f) && moves.StandsOn(kMeadow); }};
    }
    if (moves.StandsOn(kMeadow) && x > kRimLeft) {
        return {"the drop into the valley", [&moves] { return moves.WalkTo(kExitX) && moves.StandsOn(kValley); }};
    }
    if (moves.StandsOn(kValley)) {
        if (std::fabs(x - kExitX) > 0.5f) {
            return {"the walk to the mushroom", [&moves] { return moves.StandNear(kExitX); }};
        }
        return {"the mushroom to level 2", [&moves] { return moves.UseExit(STATE_LEVEL_2); }};
    }
    if (moves.Y() < kLowLedge - 1.0f) {
        return FallOut(moves);
    }
    return Nowhere(moves);
}

// ---- Level 2: up the shaft on four winds, past two walking spirits -----------------------

constexpr float kShaftFloor = StandingOn(-1.5f);
constexpr float kRestingLedge = StandingOn(12.5f);
constexpr float kSpiritLedge = StandingOn(18.5f);
constexpr float kMiddleLedge = StandingOn(32.5f);
constexpr float kSlabStep = StandingOn(35.5f);
constexpr float kBlock = StandingOn(37.5f);
constexpr float kDoorLedge = StandingOn(65.5f);
constexpr float kExitLedge = StandingOn(73.5f);
// Where she stands for each wind: in the first one, beside the second and fourth, on the block.
constexpr float kMiddleLedgeEdge = 5.5f;
constexpr float kSlabStepEdge = 10.5f;
constexpr float kFirstWindX = 12.5f;
constexpr float kSecondWindX = -6.0f;
constexpr float kBlockEndX = 13.2f;
constexpr float kFourthWindX = -5.5f;
constexpr float kLevel2ExitX = 0.0f;

Move Level2Route(PlayerMoves& moves) {
    const float x = moves.X();
    if (!moves.Landed()) {
        if (moves.Y() < kShaftFloor - 1.0f) {
            return FallOut(moves);
        }
        return {"the landing", [&moves] { return moves.Settle(); }};
    }
    if (moves.StandsOn(kShaftFloor)) {
        if (std::fabs(x - kFirstWindX) > 0.4f) {
            return {"the walk into the first wind", [&moves] { return moves.StandNear(kFirstWindX); }};
        }
        return {"the ride up the first wind",
                [&moves] { return moves.RideWind(21.5f, GLFW_KEY_LEFT) && moves.StandsOn(kSpiritLedge); }};
    }
    if (moves.StandsOn(kRestingLedge)) {
        // Off its right end and down into the first wind again.
        return {"the step off the resting ledge", [&moves] { return moves.WalkTo(kFirstWindX); }};
    }
    if (moves.StandsOn(kSpiritLedge)) {
        if (std::fabs(x - kSecondWindX) > 0.4f) {
            return {"the fight along the spirit's ledge",
                    [&moves] { return moves.FightThrough(kSecondWindX) && moves.StandNear(kSecondWindX); }};
        }
        return {"the ride up the second wind",
                [&moves] { return moves.RideWind(35.0f, GLFW_KEY_RIGHT) && moves.StandsOn(kMiddleLedge); }};
    }
    if (moves.StandsOn(kMiddleLedge)) {
        if (x > 3.0f) {
            return {"the run-up on the middle ledge", [&moves] { return moves.StandNear(1.0f); }};
        }
        return {"the jump to the step", [&moves] {
                    return moves.RunningJump(TakeOffRightAt(kMiddleLedgeEdge), 8.5f) && moves.StandsOn(kSlabStep);
                }};
    }
    if (moves.StandsOn(kSlabStep)) {
        if (x > 9.0f) {
            return {"the run-up on the step", [&moves] { return moves.StandNear(8.0f); }};
        }
        return {"the jump to the block",
                [&moves] { return moves.RunningJump(TakeOffRightAt(kSlabStepEdge), 13.5f) && moves.StandsOn(kBlock); }};
    }
    if (moves.StandsOn(kBlock)) {
        if (std::fabs(x - kBlockEndX) > 0.4f) {
            return {"the walk to the block's end", [&moves] { return moves.StandNear(kBlockEndX); }};
        }
        return {"the ride up the long wind", [&moves] {
                    moves.HopIntoWind(GLFW_KEY_LEFT, 10.8f);
                    return moves.RideWind(68.0f, GLFW_KEY_LEFT) && moves.StandsOn(kDoorLedge);
                }};
    }
    if (moves.StandsOn(kDoorLedge)) {
        if (std::fabs(x - kFourthWindX) > 0.4f) {
            return {"the fight along the door ledge",
                    [&moves] { return moves.FightThrough(kFourthWindX) && moves.StandNear(kFourthWindX); }};
        }
        return {"the ride up the last wind",
                [&moves] { return moves.RideWind(76.0f, GLFW_KEY_RIGHT, -1.0f) && moves.StandsOn(kExitLedge); }};
    }
    if (moves.StandsOn(kExitLedge)) {
        if (std::fabs(x - kLevel2ExitX) > 0.5f) {
            return {"the walk to the mushroom", [&moves] { return moves.StandNear(kLevel2ExitX); }};
        }
        return {"the mushroom to level 3", [&moves] { return moves.UseExit(STATE_LEVEL_3); }};
    }
    return Nowhere(moves);
}

// ---- Level 3: the shaft, the corridor, the gust from below, the spirits' ledge ------------

constexpr float kLevel3Start = StandingOn(-1.5f);
constexpr float kShaftFoot = StandingOn(-6.5f);
constexpr float kCorridor = StandingOn(29.5f);
constexpr float kCorridorRoof = StandingOn(40.5f);
constexpr float kLookout = StandingOn(44.5f);
constexpr float kSpiritsLedge = StandingOn(49.5f);
constexpr float kLastStep = StandingOn(52.5f);
constexpr float kExitPath = StandingOn(55.5f);
constexpr float kSpiritsLedgeEdge = 22.5f;
constexpr float kLastStepEdge = 16.5f;
constexpr float kShaftWindX = 21.5f;
constexpr float kDeadEndX = 1.5f;
constexpr float kLookoutEndX = -4.0f;
constexpr float kRoofEndX = 17.6f;
constexpr float kSpiritsLedgeX = 26.0f;
constexpr float kLevel3ExitX = 4.0f;
// The areas whose lines she stops for: the exit seen from the lookout, and the spirits.
constexpr int kExitInSight = 3;
constexpr int kSpiritsArea = 5;

StateLevel3* Level3() {
    return dynamic_cast<StateLevel3*>(GetCurrentState());
}

Move Level3Route(PlayerMoves& moves) {
    const StateLevel3* level = Level3();
    const float x = moves.X();
    if (!moves.Landed()) {
        if (moves.Y() < kShaftFoot - 1.0f) {
            return FallOut(moves);
        }
        return {"the landing", [&moves] { return moves.Settle(); }};
    }
    if (moves.StandsOn(kLevel3Start)) {
        return {"the walk down to the shaft",
                [&moves] { return moves.WalkTo(kShaftWindX) && moves.StandsOn(kShaftFoot); }};
    }
    if (moves.StandsOn(kShaftFoot)) {
        if (std::fabs(x - kShaftWindX) > 0.4f) {
            return {"the walk into the shaft's wind", [&moves] { return moves.StandNear(kShaftWindX); }};
        }
        return {"the ride up the shaft",
                [&moves] { return moves.RideWind(31.5f, GLFW_KEY_LEFT) && moves.StandsOn(kCorridor); }};
    }
    if (moves.StandsOn(kCorridor)) {
        if (std::fabs(x - kDeadEndX) > 0.4f) {
            return {"the fight along the corridor",
                    [&moves] { return moves.FightThrough(kDeadEndX) && moves.StandNear(kDeadEndX); }};
        }
        return {"the ride up the gust",
                [&moves] { return moves.RideWind(46.0f, GLFW_KEY_LEFT) && moves.StandsOn(kLookout); }};
    }
    if (moves.StandsOn(kLookout)) {
        if (!level->script.areaShown[kExitInSight]) {
            return {"the look at the exit", [&moves] { return moves.WalkTo(kLookoutEndX); }};
        }
        return {"the walk onto the corridor's roof",
                [&moves] { return moves.WalkTo(15.0f) && moves.StandsOn(kCorridorRoof); }};
    }
    if (moves.StandsOn(kCorridorRoof)) {
        if (std::fabs(x - kRoofEndX) > 0.4f) {
            return {"the walk to the roof's end", [&moves] { return moves.StandNear(kRoofEndX); }};
        }
        return {"the ride up the third wind", [&moves] {
                    moves.HopIntoWind(GLFW_KEY_RIGHT, 20.5f);
                    return moves.RideWind(51.5f, GLFW_KEY_RIGHT) && moves.StandsOn(kSpiritsLedge);
                }};
    }
    if (moves.StandsOn(kSpiritsLedge)) {
        if (!level->script.areaShown[kSpiritsArea]) {
            return {"the walk along the spirits' ledge", [&moves] { return moves.WalkTo(kSpiritsLedgeX); }};
        }
        if (std::fabs(x - kSpiritsLedgeX) > 0.5f) {
            return {"the run-up on the spirits' ledge", [&moves] { return moves.StandNear(kSpiritsLedgeX); }};
        }
        return {"the jump to the last step", [&moves] {
                    return moves.RunningJump(TakeOffLeftAt(kSpiritsLedgeEdge), 19.0f) && moves.StandsOn(kLastStep);
                }};
    }
    if (moves.StandsOn(kLastStep)) {
        if (x < 18.5f) {
            return {"the run-up on the last step", [&moves] { return moves.StandNear(19.0f); }};
        }
        return {"the jump to the exit path", [&moves] {
                    return moves.RunningJump(TakeOffLeftAt(kLastStepEdge), 12.5f) && moves.StandsOn(kExitPath);
                }};
    }
    if (moves.StandsOn(kExitPath)) {
        if (std::fabs(x - kLevel3ExitX) > 0.5f) {
            return {"the walk to the mushroom", [&moves] { return moves.StandNear(kLevel3ExitX); }};
        }
        return {"the mushroom to the boss", [&moves] { return moves.UseExit(STATE_BOSS); }};
    }
    return Nowhere(moves);
}

}  // namespace

bool PlayLevel1(BotControls& bot) {
    return PlayRoute(bot, STATE_LEVEL_1, STATE_LEVEL_2, Level1Route);
}

bool PlayLevel2(BotControls& bot) {
    return PlayRoute(bot, STATE_LEVEL_2, STATE_LEVEL_3, Level2Route);
}

bool PlayLevel3(BotControls& bot) {
    return PlayRoute(bot, STATE_LEVEL_3, STATE_BOSS, Level3Route);
}
