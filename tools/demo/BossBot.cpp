// The fight with Rovevoz played with the keys alone. Each frame the bot picks what Lirra should
// be doing (strike the fallen head, strike the hands lying on the floor, draw both hands' slams
// onto one spot, cut down a spirit that comes too close) and then looks a second ahead: if the
// keys for that would let a slam, a sweep or a flying spirit reach her, it plays the safest of
// a handful of other runs and jumps instead.
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "BossMoves.h"
#include "DemoSegments.h"
#include "actors/Boss.h"
#include "actors/BossHands.h"
#include "actors/GOEnemy.h"
#include "actors/GOSoul.h"
#include "actors/GOStateMachine.h"
#include "actors/Player.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "platform/FrameClock.h"

namespace {

constexpr int kFightFrameLimit = 60 * 60 * 8;
constexpr float kFrameTime = 1.0f / 60.0f;
// A light attack: four frames of 0.09 s, and the frame it takes to start.
constexpr int kLightAttackFrames = 23;
constexpr int kHeavyAttackFrames = 29;
constexpr int kHurtFrames = 19;
// Lirra's strike box: 1 wide, its centre 0.8 ahead of her.
constexpr float kStrikeReach = 0.8f;
constexpr float kStrikeHalfWidth = 0.5f;
// From a solid hand she keeps outside its box; into a yielding one she may step.
constexpr float kBesideSolidHand = 1.95f;
constexpr float kBesideOpenHand = 0.9f;
constexpr float kHandHalf = 1.4f;
constexpr float kBasicHalf = 0.3f;
constexpr float kBesideWalker = 1.2f;
// From the key to the strike frame of a light attack.
constexpr float kStrikeDelay = 0.2f;
// Running from standing, she covers this much in the last moments of a wind-up.
constexpr float kRunUp = 3.7f;
constexpr float kRunUpTime = 0.87f;
constexpr float kLureLead = 2.2f;
constexpr float kTravelSpeed = 6.0f;
constexpr float kLurePathClear = 4.0f;
constexpr float kEscape = 6.5f;
constexpr float kHeadHalfWidth = 4.5f;
constexpr float kHeadBoxShift = -0.6f;
constexpr float kHarmMargin = 0.12f;
constexpr float kCornerX = 12.0f;
constexpr int kStuckFrames = 10;
constexpr int kLetGoFrames = 40;
constexpr float kBoldHealth = 60.0f;
constexpr int kShieldFrames = 6;
constexpr float kWalkerMargin = 0.05f;
// The frame of a light attack on which its strike lands.
constexpr int kStrikeFrame = 12;

int StateNow() {
    const State* state = GetCurrentState();
    return state != nullptr ? state->GetId() : STATE_UNKNOWN;
}

bool StateIs(const GOEnemy* enemy, const char* stem) {
    return enemy != nullptr && std::strncmp(enemy->stateMachine->GetCurrentName(), stem, std::strlen(stem)) == 0;
}

// Under the two low platforms a jump is cut short by their undersides.
bool UnderPlatform(float x) {
    const float half = std::fabs(x);
    return half > 3.05f && half < 7.95f;
}

float Sign(float value) {
    return value < 0.0f ? -1.0f : 1.0f;
}

struct Goal {
    float x = 0.0f;
    float tolerance = 0.3f;
    int face = 0;
    bool attack = false;
    // The strike box must reach this span of x (a target's box widened by the strike's half).
    float reachLow = 0.0f;
    float reachHigh = 0.0f;
    int runThrough = 0;      // a lure: run this way whatever the goal x
    bool fromFloor = false;  // the target lies on the floor, out of reach from a platform
    bool boss = false;       // a piece of Rovevoz: worth a purple soul's heavy strike
    const char* what = "";
};

struct Plan {
    int turnFrame = -1;  // from this frame on the run goes the other way
    bool strike = false;
    int lockFrames = 0;
    bool followGoal = true;
    int run = 0;
    int jumpFrame = -1;
    bool glide = false;
};

// The run the goal asks for from this body: towards its x, braking in time.
int GoalRun(const Goal& goal, const LirraBody& body) {
    if (goal.runThrough != 0) {
        return goal.runThrough;
    }
    const float dx = goal.x - body.position.x;
    if (std::fabs(dx) <= goal.tolerance) {
        return 0;
    }
    const float towards = Sign(dx);
    const float speed = body.velocity.x * towards;
    if (!body.airborne && speed > 0.0f && std::fabs(dx) < speed * 0.12f + 0.02f) {
        return 0;
    }
    return static_cast<int>(towards);
}

class BossFight {
public:
    explicit BossFight(BotControls& bot_)
        : bot(bot_), keys(bot_), verbose(std::getenv("LIRRA_BOSS_BOT_LOG") != nullptr) {}

    bool Play();

private:
    void PlayFrame();
    Goal ChooseGoal();
    bool LureGoal(Goal& goal);
    int ChooseLureDirection(float x, float windUpLeft);
    bool HeadGoal(Goal& goal);
    bool HandsGoal(Goal& goal);
    bool WalkerGoal(Goal& goal, float within);
    float WalkerSpeed(const GOEnemy* walker) const;
    Goal IdleGoal();
    // The frames until the plan lets something strike her; kLookAheadFrames + 1 when nothing does.
    int Harmless(const Plan& plan, const Goal& goal, int horizon, float* endX = nullptr) const;
    Plan Dodge(const Goal& goal, int& harmless) const;
    bool StrikeLands(const Goal& goal) const;
    int LockedFrames() const;
    void Record();

    BotControls& bot;
    HeldKeys keys;
    bool verbose = false;
    long frame = 0;
    long attackUntil = -1;
    long attackStart = -1;
    int stuckFrames = 0;
    int letGoFrames = 0;
    float lastX = 0.0f;
    int lureDirection = 0;
    float lurePoint = 0.0f;
    float lastHealth = 100.0f;
    float lowestHealth = 100.0f;
    int hitsTaken = 0;
    int deaths = 0;
    int lastPhase = -1;
    const State* fightState = nullptr;
    const char* lastWhat = "";
    std::vector<std::pair<const GOEnemy*, float>> walkersSeen;
};

struct HandView {
    const HandController* controller = nullptr;
    const GOEnemy* hand = nullptr;
    float x = 0.0f;
    float y = 0.0f;
    bool strikeable = false;
    bool solid = false;
};

HandView ViewHand(const HandController& controller) {
    HandView view;
    view.controller = &controller;
    view.hand = controller.hand;
    if (view.hand == nullptr || !view.hand->IsActive()) {
        return view;
    }
    const Vector3 at = view.hand->GetTransform().GetPosition();
    view.x = at.x;
    view.y = at.y;
    const bool onFloor = at.y < -16.0f && view.hand->health > 0;
    const bool sweepWindUp = StateIs(view.hand, "SWEEP") && controller.waitTimer > 0.1f;
    const bool resting = StateIs(view.hand, "IDLE") && controller.waitTimer > 0.05f;
    view.strikeable = onFloor && (sweepWindUp || resting);
    view.solid = resting;
    return view;
}

std::vector<const GOEnemy*> LivingWalkers() {
    std::vector<const GOEnemy*> walkers;
    const Boss& boss = GetBoss();
    if (boss.enemies == nullptr) {
        return walkers;
    }
    for (const GOEnemy* enemy : *boss.enemies) {
        if (enemy->IsActive() && enemy->enemyKind == ENEMY_BASIC && enemy->health > 0 && !StateIs(enemy, "DEAD")) {
            walkers.push_back(enemy);
        }
    }
    return walkers;
}

bool HasPurpleSoul() {
    for (const GOSoul* soul : GetPlayer().souls) {
        if (soul != nullptr && soul->GetKind() == kSoulPurple) {
            return true;
        }
    }
    return false;
}

float LirraX() {
    return GetPlayer().GetTransform().GetPosition().x;
}

bool BossFight::Play() {
    fightState = GetCurrentState();
    while (bot.Running() && StateNow() != STATE_LEVEL_END) {
        if (frame > kFightFrameLimit) {
            std::printf("lirra-demo: the fight is still on after %ld frames (boss health %d)\n", frame,
                        GetBoss().GetHealth());
            return false;
        }
        PlayFrame();
    }
    keys.ReleaseAll();
    std::printf(
        "lirra-demo: the fight took %ld frames; Lirra took %d hits, lowest health %.1f, health at the end "
        "%.1f, deaths %d\n",
        frame, hitsTaken, lowestHealth, GetPlayer().GetHealth(), deaths);
    return StateNow() == STATE_LEVEL_END;
}

void BossFight::Record() {
    std::fflush(stdout);
    const Player& lirra = GetPlayer();
    if (GetCurrentState() != fightState) {
        fightState = GetCurrentState();
        if (StateNow() == STATE_BOSS) {
            ++deaths;
            std::printf("lirra-demo: the fight starts again (frame %ld)\n", frame);
        }
        lastHealth = lirra.GetHealth();
    }
    if (lirra.GetHealth() < lastHealth - 1.0f) {
        ++hitsTaken;
        std::printf("lirra-demo: Lirra is hit at frame %ld (%.2f, %.2f) health %.1f, doing %s\n", frame,
                    lirra.GetTransform().GetPosition().x, lirra.GetTransform().GetPosition().y, lirra.GetHealth(),
                    lastWhat);
    }
    lastHealth = lirra.GetHealth();
    lowestHealth = std::min(lowestHealth, lastHealth);
    if (GetBoss().GetPhase() != lastPhase) {
        lastPhase = GetBoss().GetPhase();
        std::printf("lirra-demo: phase %d at frame %ld, boss health %d\n", lastPhase, frame, GetBoss().GetHealth());
    }
}

int BossFight::LockedFrames() const {
    const Player& lirra = GetPlayer();
    if (lirra.state == PLAYER_LIGHT_ATTACK || lirra.state == PLAYER_HEAVY_ATTACK) {
        return static_cast<int>(std::max(0L, attackUntil - frame));
    }
    if (lirra.state == PLAYER_DAMAGED) {
        return kHurtFrames;
    }
    return 0;
}

int BossFight::Harmless(const Plan& plan, const Goal& goal, int horizon, float* endX) const {
    LirraBody body = ReadLirraBody();
    Threats threats = ReadThreats();
    const Player& lirra = GetPlayer();
    // With the head or a hand open and health to spare, a spirit's touch is worth the strikes
    // (and the blink after it lets her strike on untouched).
    const bool bold = goal.boss && lirra.GetHealth() >= kBoldHealth;
    // Her blink after a hit (or a heavy strike) lets nothing through while it lasts.
    const int shielded = lirra.invulnerable ? static_cast<int>(lirra.invulnerableTimer * 60.0f) - 2 : 0;
    int locked = LockedFrames();
    int strikeFrame = -1;
    if (plan.lockFrames > 0) {
        locked = plan.lockFrames;
    }
    if (plan.strike) {
        locked = kLightAttackFrames;
        strikeFrame = kStrikeFrame;
    } else if (lirra.state == PLAYER_LIGHT_ATTACK) {
        strikeFrame = kStrikeFrame - static_cast<int>(frame - attackStart);
    }
    const float face = lirra.facingRight == 1 ? 1.0f : -1.0f;
    int previousRun = keys.Running();
    bool jumped = false;
    for (int f = 0; f < horizon; ++f) {
        FrameKeys frameKeys;
        frameKeys.run = plan.followGoal ? GoalRun(goal, body) : plan.run;
        if (plan.turnFrame >= 0 && f >= plan.turnFrame) {
            frameKeys.run = -frameKeys.run;
        }
        frameKeys.jumpPressed = f == plan.jumpFrame;
        jumped |= frameKeys.jumpPressed;
        frameKeys.jumpHeld = frameKeys.jumpPressed || (plan.glide && (jumped || plan.jumpFrame < 0));
        frameKeys.runLocked = f < locked && !jumped;
        frameKeys.runReleased = previousRun != 0 && frameKeys.run != previousRun;
        previousRun = frameKeys.run;
        StepLirra(body, frameKeys, kFrameTime);
        if (endX != nullptr) {
            *endX = body.position.x;
        }
        HarmBox box;
        for (HandForecast& hand : threats.hands) {
            if (hand.Step(body, kFrameTime, box) && LirraTouches(body, box, kHarmMargin)) {
                if (f >= shielded) {
                    return f;
                }
            }
        }
        for (SpiritForecast& spirit : threats.spirits) {
            if (bold) {
                break;
            }
            spirit.Step(body, kFrameTime, box);
            if (LirraTouches(body, box, kHarmMargin)) {
                if (f >= shielded) {
                    return f;
                }
            }
        }
        Strike strike;
        strike.now = f == strikeFrame && !jumped;
        strike.x = body.position.x + face * kStrikeReach;
        strike.power = lirra.GetAttackPower();
        for (WalkerForecast& walker : threats.walkers) {
            if (walker.Step(body, strike, kFrameTime, box) && LirraTouches(body, box, kWalkerMargin)) {
                if (f >= shielded) {
                    return f;
                }
            }
        }
    }
    return horizon + 1;
}

Plan BossFight::Dodge(const Goal& goal, int& harmless) const {
    const LirraBody body = ReadLirraBody();
    Plan best;
    float bestCost = 1e9f;
    harmless = -1;
    const int jumpFrames[] = {-1, 0, 2, 4, 6, 9, 12, 16, 20};
    const int turnFrames[] = {-1, 8, 16, 24};
    for (int follow = 0; follow < 2; ++follow) {
        for (int run = -1; run <= 1; ++run) {
            if (follow == 1 && run != 0) {
                continue;
            }
            for (const int turnFrame : turnFrames) {
                if (turnFrame >= 0 && (follow == 1 || run == 0)) {
                    continue;
                }
                for (const int jumpFrame : jumpFrames) {
                    for (int glide = 0; glide < 2; ++glide) {
                        if (glide == 1 && jumpFrame < 0 && !body.airborne) {
                            continue;
                        }
                        if (body.airborne && jumpFrame >= 0) {
                            continue;
                        }
                        Plan plan;
                        plan.followGoal = follow == 1;
                        plan.run = run;
                        plan.turnFrame = turnFrame;
                        plan.jumpFrame = jumpFrame;
                        plan.glide = glide == 1;
                        float endX = body.position.x;
                        const int safe = Harmless(plan, goal, kLookAheadFrames, &endX);
                        // Later harm is better; among safe plans, the one ending nearest the goal and
                        // away from the walls (where a spirit corners her), jumping late.
                        float cost = -static_cast<float>(safe) * 100.0f;
                        cost += std::fabs(goal.x - endX) * 0.5f;
                        cost += std::fabs(endX) > kCornerX ? 3.0f : 0.0f;
                        cost += plan.followGoal ? 0.0f : 1.0f;
                        cost += plan.turnFrame >= 0 ? 0.5f : 0.0f;
                        cost += plan.jumpFrame >= 0 ? 4.0f - 0.1f * static_cast<float>(plan.jumpFrame) : 0.0f;
                        cost += plan.glide ? 0.5f : 0.0f;
                        if (cost < bestCost) {
                            bestCost = cost;
                            best = plan;
                            harmless = safe;
                        }
                    }
                }
            }
        }
    }
    return best;
}

bool BossFight::StrikeLands(const Goal& goal) const {
    const float x = LirraX();
    const float centre = x + static_cast<float>(goal.face) * kStrikeReach;
    return centre + kStrikeHalfWidth >= goal.reachLow && centre - kStrikeHalfWidth <= goal.reachHigh;
}

void BossFight::PlayFrame() {
    Record();
    const Player& lirra = GetPlayer();
    if (lirra.inputLocked || lirra.state == PLAYER_DYING || lirra.state == PLAYER_FROZEN || StateNow() != STATE_BOSS ||
        GetBoss().GetPhase() == BOSS_DEFEATED) {
        keys.Run(0);
        keys.JumpKey(false);
        keys.Frame();
        ++frame;
        return;
    }
    const Goal goal = ChooseGoal();
    lastWhat = goal.what;
    const LirraBody body = ReadLirraBody();

    Plan follow;
    int safe = Harmless(follow, goal, kLookAheadFrames);
    Plan chosen = follow;
    if (safe <= kLookAheadFrames) {
        chosen = Dodge(goal, safe);
    }

    int run = chosen.followGoal ? GoalRun(goal, body) : chosen.run;
    const bool standing = !body.airborne;
    const bool atGoal =
        chosen.followGoal && goal.runThrough == 0 && std::fabs(goal.x - body.position.x) <= goal.tolerance + 0.1f;
    const bool free =
        lirra.state != PLAYER_LIGHT_ATTACK && lirra.state != PLAYER_HEAVY_ATTACK && lirra.state != PLAYER_DAMAGED;
    if (atGoal && goal.face != 0 && standing && free && lirra.facingRight != (goal.face > 0 ? 1 : 0)) {
        run = goal.face;  // one frame's press turns her round
    } else if (atGoal && goal.attack && standing && free && chosen.jumpFrame != 0 && StrikeLands(goal) &&
               (!goal.fromFloor || body.position.y < kArenaStandY + 0.5f)) {
        Plan strike;
        strike.strike = true;
        strike.followGoal = false;
        strike.run = 0;
        // The strike holds her in place; only strike when standing still is safe for it.
        const bool heavy = goal.boss && HasPurpleSoul();
        if (heavy) {
            strike.strike = false;
            strike.lockFrames = kHeavyAttackFrames;
        }
        const int lock = heavy ? kHeavyAttackFrames : kLightAttackFrames;
        // When nothing she can do keeps her clear, the strike at least stuns what is upon her.
        if (Harmless(strike, goal, lock) > lock || safe <= 2) {
            keys.TapAttack(heavy ? GLFW_KEY_W : GLFW_KEY_Q);
            attackUntil = frame + lock;
            attackStart = heavy ? -100 : frame;
            run = 0;
        }
    }
    if (safe <= kShieldFrames && free && standing && chosen.jumpFrame != 0 && !lirra.invulnerable && HasPurpleSoul()) {
        // Nothing escapes the blow: a heavy strike makes her untouchable while it lasts.
        keys.TapAttack(GLFW_KEY_W);
        attackUntil = frame + kHeavyAttackFrames;
        std::printf("lirra-demo: a heavy strike shields Lirra at frame %ld\n", frame);
        run = 0;
    }
    walkersSeen.clear();
    for (const GOEnemy* walker : LivingWalkers()) {
        walkersSeen.emplace_back(walker, walker->GetTransform().GetPosition().x);
    }
    if (verbose) {
        std::fprintf(stderr, "%ld %s x%.2f goal%.2f face%d att%d safe%d plan(f%d r%d j%d g%d) run%d\n", frame,
                     goal.what, body.position.x, goal.x, goal.face, goal.attack ? 1 : 0, safe,
                     chosen.followGoal ? 1 : 0, chosen.run, chosen.jumpFrame, chosen.glide ? 1 : 0, run);
    }
    // Held by an updraft against a platform's underside corner, she goes nowhere while she runs
    // towards it; let go of the run and the wind lifts her past the platform's face.
    if (letGoFrames > 0) {
        --letGoFrames;
        run = 0;
    }
    keys.Run(run);
    // Caught on a platform's corner, running and going nowhere: a hop frees her.
    stuckFrames = run != 0 && std::fabs(body.position.x - lastX) < 0.001f ? stuckFrames + 1 : 0;
    lastX = body.position.x;
    if (stuckFrames > kStuckFrames && body.airborne) {
        letGoFrames = kLetGoFrames;
        stuckFrames = 0;
    }
    Plan hop;
    hop.followGoal = false;
    hop.run = run;
    hop.jumpFrame = 0;
    if (stuckFrames > kStuckFrames && chosen.jumpFrame < 0 &&
        Harmless(hop, goal, kLookAheadFrames) > kLookAheadFrames) {
        chosen.jumpFrame = 0;
        stuckFrames = 0;
    }
    // A fresh jump needs the key up first.
    const bool jumpNow = chosen.jumpFrame == 0 && !keys.JumpDown();
    keys.JumpKey(jumpNow || (chosen.glide && body.airborne));
    keys.Frame();
    ++frame;
}

Goal BossFight::ChooseGoal() {
    Goal goal;
    if (!LureGoal(goal) && !HeadGoal(goal) && !HandsGoal(goal) && !WalkerGoal(goal, 2.0f * kArenaWallX)) {
        goal = IdleGoal();
    }
    // A walking spirit close by is cut down first, unless her strikes at the boss take it too
    // (it stands in front of her while she strikes where she should).
    Goal walker;
    if (goal.runThrough == 0 && WalkerGoal(walker, 2.6f)) {
        const bool atGoal = std::fabs(LirraX() - goal.x) <= goal.tolerance + 0.1f;
        const bool struckAnyway = goal.attack && atGoal && walker.face == goal.face;
        if (!struckAnyway) {
            return walker;
        }
    }
    return goal;
}

// The run-up of the lure must be reachable in time and its run free of walking spirits; when
// neither way is, the meeting point moves towards her.
int BossFight::ChooseLureDirection(float x, float windUpLeft) {
    const float spare = windUpLeft - kRunUpTime - 0.1f;
    int best = 0;
    float bestCost = 1e9f;
    for (const int direction : {1, -1}) {
        const float d = static_cast<float>(direction);
        const float runUp = lurePoint - d * kRunUp;
        const float travel = std::fabs(x - runUp) / kTravelSpeed;
        float cost = travel > spare ? 100.0f + travel : travel;
        for (const GOEnemy* walker : LivingWalkers()) {
            const float wx = walker->GetTransform().GetPosition().x;
            const float to = lurePoint + d * kLurePathClear;
            if (wx > std::min(runUp, to) - 0.8f && wx < std::max(runUp, to) + 0.8f) {
                cost += 10.0f;
            }
        }
        if (cost < bestCost) {
            bestCost = cost;
            best = direction;
        }
    }
    if (bestCost >= 100.0f) {
        best = x <= lurePoint ? 1 : -1;
        lurePoint = std::max(-1.0f, std::min(1.0f, x + static_cast<float>(best) * kRunUp));
    }
    return best;
}

// Both hands slam where Lirra stands as their wind-ups end: she runs through the meeting point
// at that moment, so they land together, and is well past when they strike the floor.
bool BossFight::LureGoal(Goal& goal) {
    const Boss& boss = GetBoss();
    float windUpLeft = 1e9f;
    bool slamming = false;
    for (const HandController* controller : {&boss.leftHand, &boss.rightHand}) {
        if (!StateIs(controller->hand, "SLAM")) {
            continue;
        }
        if (controller->waitTimer > 0.0f) {
            windUpLeft = std::min(windUpLeft, controller->waitTimer);
        } else if (controller->hand->GetTransform().GetPosition().y > kHandFloorY + 0.01f) {
            slamming = true;
        }
    }
    const float x = LirraX();
    if (slamming && lureDirection != 0) {
        goal.what = "the escape from the slam";
        goal.runThrough = std::fabs(x - lurePoint) < kEscape ? lureDirection : 0;
        goal.x = lurePoint + static_cast<float>(lureDirection) * kEscape;
        return true;
    }
    if (windUpLeft > kLureLead) {
        lureDirection = 0;
        return false;
    }
    if (lureDirection == 0) {
        lurePoint = 0.0f;
        for (const HandController* controller : {&boss.leftHand, &boss.rightHand}) {
            if (controller->IsDown() || StateIs(controller->hand, "SWEEP")) {
                const float at = controller->hand->GetTransform().GetPosition().x;
                lurePoint = std::max(-1.0f, std::min(1.0f, at));
            }
        }
        lureDirection = ChooseLureDirection(x, windUpLeft);
    }
    const float direction = static_cast<float>(lureDirection);
    goal.what = "the lure of the slams";
    goal.face = lureDirection;
    if (windUpLeft > kRunUpTime) {
        goal.x = lurePoint - direction * kRunUp;
        goal.tolerance = 0.2f;
        return true;
    }
    // Where she would be as the wind-up ends, running from now on.
    const LirraBody body = ReadLirraBody();
    const float v = body.velocity.x * direction;
    const float t = windUpLeft;
    const float reach = x + direction * (v * t + 0.5f * 10.0f * t * t);
    goal.x = lurePoint + direction * kEscape;
    goal.runThrough = (reach - lurePoint) * direction > 0.6f ? 0 : lureDirection;
    if (goal.runThrough == 0) {
        goal.x = x;
        goal.tolerance = 100.0f;
    }
    return true;
}

// Anywhere within the head's reach, but outside the boxes the fallen hands will have when they
// wake; from there, if the hands lie together, her strikes reach them too.
bool BossFight::HeadGoal(Goal& goal) {
    const Boss& boss = GetBoss();
    const GOEnemy* head = boss.head.piece;
    if (!StateIs(head, "FALL_BH") || head->health <= 0) {
        return false;
    }
    const float headX = head->GetTransform().GetPosition().x + kHeadBoxShift;
    std::vector<float> hands;
    for (const HandController* controller : {&boss.leftHand, &boss.rightHand}) {
        if (controller->hand != nullptr && controller->hand->IsActive() && StateIs(controller->hand, "FALL")) {
            hands.push_back(controller->hand->GetTransform().GetPosition().x);
        }
    }
    const float x = LirraX();
    float bestX = x;
    int bestFace = x > headX ? -1 : 1;
    float bestCost = 1e9f;
    for (float candidate = headX - kHeadHalfWidth - 1.0f; candidate <= headX + kHeadHalfWidth + 1.0f;
         candidate += 0.1f) {
        bool clear = std::fabs(candidate) < kArenaWallX;
        for (const float hx : hands) {
            clear &= std::fabs(candidate - hx) >= kBesideSolidHand;
        }
        if (!clear) {
            continue;
        }
        for (const int face : {-1, 1}) {
            const float strike = candidate + static_cast<float>(face) * kStrikeReach;
            if (std::fabs(strike - headX) > kHeadHalfWidth) {
                continue;
            }
            float cost = std::fabs(candidate - x) + (UnderPlatform(candidate) ? 2.0f : 0.0f);
            for (const float hx : hands) {
                if (std::fabs(strike - hx) > kHandHalf + kStrikeHalfWidth - 0.1f) {
                    cost += 3.0f;
                }
            }
            if (cost < bestCost) {
                bestCost = cost;
                bestX = candidate;
                bestFace = face;
            }
        }
    }
    goal.x = bestX;
    goal.tolerance = 0.2f;
    goal.face = bestFace;
    goal.attack = head->GetTransform().GetPosition().y <= boss.head.lowPoint.y + 1.0f;
    goal.reachLow = headX - kHeadHalfWidth;
    goal.reachHigh = headX + kHeadHalfWidth;
    goal.what = "the strikes at the head";
    goal.boss = true;
    return true;
}

bool BossFight::HandsGoal(Goal& goal) {
    const Boss& boss = GetBoss();
    const HandView left = ViewHand(boss.leftHand);
    const HandView right = ViewHand(boss.rightHand);
    std::vector<HandView> open;
    for (const HandView& view : {left, right}) {
        if (view.strikeable) {
            open.push_back(view);
        }
    }
    if (open.empty()) {
        return false;
    }
    const float x = LirraX();
    float low = open.front().x;
    float high = open.front().x;
    bool solid = open.front().solid;
    if (open.size() == 2 && std::fabs(open[0].x - open[1].x) < 1.5f) {
        low = std::min(open[0].x, open[1].x);
        high = std::max(open[0].x, open[1].x);
        solid = open[0].solid || open[1].solid;
    } else if (open.size() == 2 && std::fabs(open[1].x - x) < std::fabs(open[0].x - x)) {
        low = high = open[1].x;
        solid = open[1].solid;
    }
    const float beside = solid ? kBesideSolidHand : kBesideOpenHand;
    float side = 1.0f;
    float standX = high + beside;
    float bestCost = 1e9f;
    for (const float candidateSide : {1.0f, -1.0f}) {
        const float candidate = candidateSide > 0.0f ? high + beside : low - beside;
        if (std::fabs(candidate) > kArenaWallX - 0.2f) {
            continue;
        }
        const float cost = std::fabs(candidate - x) + (UnderPlatform(candidate) ? 6.0f : 0.0f);
        if (cost < bestCost) {
            bestCost = cost;
            side = candidateSide;
            standX = candidate;
        }
    }
    goal.x = standX;
    goal.tolerance = 0.25f;
    goal.face = side > 0.0f ? -1 : 1;
    goal.attack = true;
    goal.reachLow = low - kHandHalf;
    goal.reachHigh = high + kHandHalf;
    goal.fromFloor = true;
    goal.what = "the strikes at the hands";
    goal.boss = true;
    return true;
}

// A walking spirit is met standing: she lets it come and times her strike to land as it steps
// into reach, and each strike stuns it for longer than it needs to swing.
bool BossFight::WalkerGoal(Goal& goal, float within) {
    const LirraBody body = ReadLirraBody();
    const GOEnemy* nearest = nullptr;
    float nearestDistance = within;
    for (const GOEnemy* walker : LivingWalkers()) {
        const Vector3 at = walker->GetTransform().GetPosition();
        const float distance = std::fabs(at.x - body.position.x);
        if (distance < nearestDistance && std::fabs(at.y - body.position.y) < 2.0f) {
            nearest = walker;
            nearestDistance = distance;
        }
    }
    if (nearest == nullptr) {
        return false;
    }
    const float ex = nearest->GetTransform().GetPosition().x;
    const float ahead = ex + WalkerSpeed(nearest) * kStrikeDelay;
    float side = body.position.x >= ex ? 1.0f : -1.0f;
    if (std::fabs(ex + side * kBesideWalker) > kArenaWallX) {
        side = -side;
    }
    // A spirit that has seen her comes on by itself (between strikes it only reels).
    const bool coming = StateIs(nearest, "ATTACK");
    goal.x = coming ? body.position.x : ex + side * kBesideWalker;
    goal.tolerance = coming ? 10.0f : 0.25f;
    goal.face = side > 0.0f ? -1 : 1;
    goal.attack = true;
    goal.reachLow = ahead - kBasicHalf;
    goal.reachHigh = ahead + kBasicHalf;
    goal.fromFloor = true;
    goal.what = "the strikes at a walking spirit";
    return true;
}

float BossFight::WalkerSpeed(const GOEnemy* walker) const {
    for (const auto& seen : walkersSeen) {
        if (seen.first == walker) {
            return (walker->GetTransform().GetPosition().x - seen.second) / kFrameTime;
        }
    }
    return 0.0f;
}

Goal BossFight::IdleGoal() {
    Goal goal;
    goal.x = 2.0f;
    goal.tolerance = 0.5f;
    goal.what = "the wait";
    return goal;
}

}  // namespace

bool PlayBossFight(BotControls& bot) {
    BossFight fight(bot);
    return fight.Play();
}
