#include "math/MathUtil.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <random>

float DegToRad(float degrees) {
    return degrees * 0.017453292f;
}

float RadToDeg(float radians) {
    return radians / 3.1415927f * 180.0f;
}

bool ApproxEqual(float a, float b) {
    return a - b <= 0.0001f && b - a <= 0.0001f;
}

float Clamp(float value, float lo, float hi) {
    if (value < lo) {
        return lo;
    }
    if (value > hi) {
        return hi;
    }
    return value;
}

float Wrap(float a, float b) {
    return Clamp(a - std::floor(a / b) * b, 0.0f, b);
}

float PingPong(float a, float b) {
    return b - std::fabs(Wrap(a, 2.0f * b) - b);
}

namespace {

std::atomic<bool> fixedSeedSet{false};
std::atomic<uint32_t> fixedSeed{0};
// Bumped by SeedRandom so that every thread's generator notices and reseeds.
std::atomic<uint32_t> seedGeneration{0};

std::mt19937& ThreadGenerator() {
    thread_local std::mt19937 generator;
    thread_local bool seeded = false;
    thread_local uint32_t generation = 0;
    const uint32_t current = seedGeneration.load();
    if (!seeded || generation != current) {
        if (fixedSeedSet.load()) {
            generator.seed(fixedSeed.load());
        } else {
            std::random_device device;
            generator.seed(device());
        }
        seeded = true;
        generation = current;
    }
    return generator;
}

}  // namespace

float RandomFloat(float a, float b) {
    std::uniform_real_distribution<float> distribution(a, b);
    return distribution(ThreadGenerator());
}

int RandomInt(int a, int b) {
    std::uniform_int_distribution<int> distribution(a, b);
    return distribution(ThreadGenerator());
}

void SeedRandom(uint32_t seed) {
    fixedSeed = seed;
    fixedSeedSet = true;
    seedGeneration++;
    std::srand(seed);
}
