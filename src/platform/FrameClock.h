#pragma once

// The clock's parts of the steps that frame every iteration of the main loop (app/Frame.h): the
// start counts the frame, the end stamps it and holds it back to the frame rate.
void StartFrameClock();
void StopFrameClock();
void SwapFrame();
// Measures the frame that just ended and feeds the clock (the main loop's step after EndFrame).
void AdvanceFrameClock();

// Scaled seconds of the last frame: the step all game logic integrates with.
float GetDeltaTime();
// Unscaled seconds since start.
float GetTotalTime();
float GetScaledTotalTime();
float GetTimeScale();
void SetTimeScale(float scale);

// The pacing period of the frame limiter in seconds.
double GetFramePeriod();
// Every frame after the first advances the clock by exactly `step` seconds and the limiter does
// not wait (0 turns this off).
void SetFixedStep(double step);
double GetFixedStep();

// The limiter's reference for the next frame, which then ends no earlier than one period after it:
// one period on, or the clock itself once the frame ended more than a period late, so a stall
// (suspend, debugger) is not repaid by a burst of unpaced frames.
double NextFrameDeadline(double deadline, double now, double period);

// How long the limiter held the last frame back, in seconds (0 when it was behind its deadline).
double GetLastLimiterWait();

// Frames that began since start; frame 0 is the first iteration of the main loop.
long GetFrameNumber();

// For tests: back to the state before the first frame.
void ResetFrameClock();
