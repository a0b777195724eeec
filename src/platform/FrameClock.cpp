#include "platform/FrameClock.h"

#include <GLFW/glfw3.h>

#include <thread>

#include "platform/Window.h"

namespace {

// The game's physics damps per frame, so frames never run faster than this: the game then plays
// the same on every monitor.
constexpr double kMaxFrameRate = 60.0;
// A stall (debugger, suspended laptop, slow disk) must not become one huge physics step.
constexpr double kMaxFrameTime = 0.1;

bool firstFrame = true;
double frameDeadline = 0.0;
double frameStamp = 0.0;
double prevFrameStamp = 0.0;
float deltaTime = 0.0f;
float totalTime = 0.0f;
float timeScale = 1.0f;
double fixedStep = 0.0;
long frameNumber = -1;
double lastLimiterWait = 0.0;

void WaitForFrameDeadline() {
    const double period = GetFramePeriod();
    lastLimiterWait = 0.0;
    if (fixedStep <= 0.0) {
        const double start = glfwGetTime();
        double now = start;
        while (now < frameDeadline + period) {
            std::this_thread::yield();
            now = glfwGetTime();
        }
        lastLimiterWait = now - start;
    }
    frameDeadline = NextFrameDeadline(frameDeadline, glfwGetTime(), period);
}

}  // namespace

double NextFrameDeadline(double deadline, double now, double period) {
    const double next = deadline + period;
    return now - next > period ? now : next;
}

void StartFrameClock() {
    ++frameNumber;
    if (firstFrame) {
        frameDeadline = glfwGetTime();
    }
}

void StopFrameClock() {
    prevFrameStamp = frameStamp;
    frameStamp = glfwGetTime();
    if (firstFrame) {
        prevFrameStamp = frameStamp;
    }
    WaitForFrameDeadline();
}

void AdvanceFrameClock() {
    if (firstFrame) {
        deltaTime = 0.0f;
        firstFrame = false;
    } else if (fixedStep > 0.0) {
        deltaTime = static_cast<float>(fixedStep);
    } else {
        double measured = frameStamp - prevFrameStamp;
        if (measured > kMaxFrameTime) {
            measured = kMaxFrameTime;
        }
        deltaTime = static_cast<float>(measured);
    }
    totalTime += deltaTime;
}

void SwapFrame() {
    glfwSwapBuffers(GetWindow());
}

float GetDeltaTime() {
    return deltaTime * timeScale;
}

float GetTotalTime() {
    return totalTime;
}

float GetScaledTotalTime() {
    return totalTime * timeScale;
}

float GetTimeScale() {
    return timeScale;
}

void SetTimeScale(float scale) {
    timeScale = scale;
}

double GetFramePeriod() {
    // Virtual displays report a refresh rate of 0; pace those at the game's rate too.
    const int reported = GetRefreshRate();
    const double rate = (reported > 0 && reported < kMaxFrameRate) ? reported : kMaxFrameRate;
    return 1.0 / rate;
}

void SetFixedStep(double step) {
    fixedStep = step;
}

double GetFixedStep() {
    return fixedStep;
}

double GetLastLimiterWait() {
    return lastLimiterWait;
}

long GetFrameNumber() {
    return frameNumber;
}

void ResetFrameClock() {
    firstFrame = true;
    frameDeadline = 0.0;
    frameStamp = 0.0;
    prevFrameStamp = 0.0;
    deltaTime = 0.0f;
    totalTime = 0.0f;
    timeScale = 1.0f;
    frameNumber = -1;
}
