#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "resources/TextureId.h"
#include "math/Vector.h"
#include "scene/Transform.h"

// A range sampled uniformly: floats in [min, max), ints in [min, max], vectors per component.
struct FloatRange {
    float min = 0.0f;
    float max = 0.0f;
    float Sample() const;
};

struct IntRange {
    int min = 0;
    int max = 0;
    int Sample() const;
};

struct Vector3Range {
    Vector3 min;
    Vector3 max;
    Vector3 Sample() const;
};

struct Particle {
    Transform transform;
    Vector3 acceleration;
    Vector3 velocity;
    float fadeRate = 0.0f;
    float spin = 0.0f;
    Vector3 colour;
    float alpha = 1.0f;
    float life = 0.0f;
    TextureId textureId = TextureId::DefaultParticle;
};

enum EmitterPreset : int {
    EMITTER_PLAYER_DUST = 0,
    EMITTER_SOUL_FIRST = 1,
    EMITTER_SOUL_SECOND = 2,
    EMITTER_ENEMY_HIT = 3,
    EMITTER_FLYING_TRAIL = 4,
};

// The configuration and state of one emitter, copied by value.
struct Emitter {
    bool active = true;
    bool keepAlive = true;
    bool relative = false;
    float rate = 10.0f;
    float duration = 5.0f;
    uint64_t maxParticles = 100;
    FloatRange life{1.0f, 3.0f};
    IntRange burst{0, 0};
    Vector3Range acceleration;
    Vector3Range velocity{Vector3(-10.0f, -10.0f, 0.0f), Vector3(10.0f, 10.0f, 0.0f)};
    FloatRange spin{0.0f, 0.0f};
    Transform position;
    Transform* target = nullptr;  // not owned
    float zOffset = 1.0f;
    std::vector<TextureId> textures;
    Vector3Range colour{Vector3(1.0f, 1.0f, 1.0f), Vector3(1.0f, 1.0f, 1.0f)};
    FloatRange scale{1.0f, 1.5f};
    float fadeRate = 0.0f;
    std::function<void()> onFinished;
    int id = -1;
    float nextEmission = -1.0f;
    std::vector<Particle> particles;

    void Update(float dt, float gameTime);
    void Spawn();
    void SpawnBurst();
};

// Holds every emitter by value; updated after the world and drawn inside the bloom pass.
class ParticleSystem {
public:
    // Types 0..4; any other gives the default emitter.
    static Emitter MakeEmitter(int type);

    int AddEmitter(const Emitter& emitter);
    void RemoveEmitter(int id);
    void Clear();
    void Update();
    void Render() const;

    int CountParticles() const;
    size_t CountEmitters() const { return emitters.size(); }
    Emitter* FindEmitter(int id);
    const std::vector<Emitter>& GetEmitters() const { return emitters; }

private:
    int nextId = 0;
    std::vector<Emitter> emitters;
};

ParticleSystem& GetParticleSystem();
