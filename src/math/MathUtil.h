#pragma once

#include <cstdint>

float DegToRad(float degrees);
float RadToDeg(float radians);
bool ApproxEqual(float a, float b);
float Clamp(float value, float lo, float hi);
// a modulo b, into [0, b].
float Wrap(float a, float b);
// A triangle wave between 0 and b with period 2b.
float PingPong(float a, float b);

// Uniform in [a, b).
float RandomFloat(float a, float b);
// Uniform in [a, b], both inclusive.
int RandomInt(int a, int b);

// Fixes the seed of every random source (each thread's generator and the C library's) for
// reproducible runs. Without it each thread seeds itself once from the system's random device.
void SeedRandom(uint32_t seed);
