#include "graphics/ParticleSystem.h"

#include <algorithm>

#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "math/MathUtil.h"
#include "platform/FrameClock.h"
#include "resources/ResourceLoader.h"

float FloatRange::Sample() const {
    return min == max ? min : RandomFloat(min, max);
}

int IntRange::Sample() const {
    return RandomInt(min, max);
}

Vector3 Vector3Range::Sample() const {
    return Vector3(FloatRange{min.x, max.x}.Sample(), FloatRange{min.y, max.y}.Sample(),
                   FloatRange{min.z, max.z}.Sample());
}

void Emitter::Spawn() {
    Particle particle;
    particle.acceleration = acceleration.Sample();
    particle.velocity = velocity.Sample();
    particle.spin = spin.Sample();
    particle.life = life.Sample();
    particle.colour = colour.Sample();
    particle.fadeRate = fadeRate;
    if (relative) {
        particle.transform.position = Vector3(0.0f, 0.0f, 0.0f);
    } else if (target != nullptr) {
        particle.transform.position = Vector3(target->position.x, target->position.y, zOffset);
    } else {
        particle.transform.position = position.position;
    }
    const float s = scale.Sample();
    particle.transform.SetScale(s, s, s);
    if (!textures.empty()) {
        particle.textureId = textures[RandomInt(0, static_cast<int>(textures.size()) - 1)];
    }
    particles.push_back(particle);
}

void Emitter::SpawnBurst() {
    const int count = burst.Sample();
    for (int i = 0; i < count; ++i) {
        Spawn();
    }
}

void Emitter::Update(float dt, float gameTime) {
    particles.erase(
        std::remove_if(particles.begin(), particles.end(), [](const Particle& p) { return p.life <= 0.0f; }),
        particles.end());
    if (target != nullptr) {
        position.position = target->position;
        position.position.z += zOffset;
    }
    if (active && particles.size() < maxParticles && rate != 0.0f && gameTime > nextEmission) {
        Spawn();
        nextEmission = gameTime + 1.0f / rate;
    }
    for (Particle& p : particles) {
        p.velocity += p.acceleration * dt;
        p.transform.position += p.velocity * dt;
        p.transform.rotation.z += p.spin * dt;
        p.life -= dt;
        p.alpha = Clamp(p.alpha - p.fadeRate * dt, 0.0f, 1.0f);
    }
    duration -= dt;
}

Emitter ParticleSystem::MakeEmitter(int type) {
    Emitter e;
    e.textures.push_back(TextureId::DefaultParticle);
    switch (type) {
    case EMITTER_PLAYER_DUST:
        e.keepAlive = false;
        e.rate = 0.0f;
        e.duration = 0.7f;
        e.fadeRate = 1.0f;
        e.scale = {0.2f, 0.25f};
        e.life = {1.15f, 1.15f};
        e.colour = {Vector3(0.709f, 0.003f, 0.858f), Vector3(0.75f, 0.01f, 0.9f)};
        e.burst = {1, 1};
        break;
    case EMITTER_SOUL_FIRST:
    case EMITTER_SOUL_SECOND:
        e.keepAlive = false;
        e.rate = 0.0f;
        e.duration = 1.0f;
        e.fadeRate = 1.5f;
        e.scale = {0.3f, 0.3f};
        e.life = {1.15f, 1.15f};
        e.acceleration = {Vector3(0.0f, -10.0f, 0.0f), Vector3(0.0f, -5.0f, 0.0f)};
        e.velocity = {Vector3(-2.0f, 7.0f, 0.0f), Vector3(2.0f, 10.0f, 0.0f)};
        e.colour = type == EMITTER_SOUL_FIRST
                       ? Vector3Range{Vector3(0.411f, 0.815f, 0.839f), Vector3(0.45f, 0.85f, 0.9f)}
                       : Vector3Range{Vector3(0.839f, 0.396f, 0.803f), Vector3(0.85f, 0.41f, 0.82f)};
        e.burst = {1, 1};
        break;
    case EMITTER_ENEMY_HIT:
        e.keepAlive = false;
        e.rate = 0.0f;
        e.duration = 2.0f;
        e.scale = {0.1f, 0.3f};
        e.acceleration = {Vector3(0.0f, -24.0f, 0.0f), Vector3(0.0f, -10.0f, 0.0f)};
        e.velocity = {Vector3(-4.0f, 7.0f, 0.0f), Vector3(4.0f, 7.0f, 0.0f)};
        e.colour = {Vector3(0.682f, 0.431f, 0.105f), Vector3(0.7f, 0.45f, 0.12f)};
        e.burst = {10, 15};
        break;
    case EMITTER_FLYING_TRAIL:
        e.keepAlive = true;
        e.rate = 10.0f;
        e.duration = 10.0f;
        e.fadeRate = RandomFloat(0.6f, 0.8f);
        e.scale = {0.1f, 0.3f};
        e.life = {1.5f, 1.5f};
        e.acceleration = {Vector3(-1.0f, -1.0f, 0.0f), Vector3(1.0f, 1.0f, 0.0f)};
        e.velocity = {Vector3(0.0f, 0.0f, 0.0f), Vector3(0.0f, 0.0f, 0.0f)};
        e.colour = {Vector3(0.776f, 0.125f, 0.078f), Vector3(0.8f, 0.14f, 0.1f)};
        break;
    default:
        break;
    }
    return e;
}

int ParticleSystem::AddEmitter(const Emitter& emitter) {
    emitters.push_back(emitter);
    // The emitter's particles live in storage taken once, when it is added.
    const uint64_t burstMost = emitter.burst.max > 0 ? static_cast<uint64_t>(emitter.burst.max) : 0;
    emitters.back().particles.reserve(emitter.maxParticles + burstMost);
    emitters.back().id = nextId;
    return nextId++;
}

void ParticleSystem::RemoveEmitter(int id) {
    emitters.erase(std::remove_if(emitters.begin(), emitters.end(), [id](const Emitter& e) { return e.id == id; }),
                   emitters.end());
}

void ParticleSystem::Clear() {
    emitters.clear();
}

Emitter* ParticleSystem::FindEmitter(int id) {
    for (Emitter& e : emitters) {
        if (e.id == id) {
            return &e;
        }
    }
    return nullptr;
}

void ParticleSystem::Update() {
    // The finished emitters leave first; their callbacks run after the list is consistent again,
    // so a callback may add emitters of its own.
    std::vector<std::function<void()>> finished;
    auto runOut = [](const Emitter& e) { return e.duration <= 0.0f && !e.keepAlive; };
    for (const Emitter& e : emitters) {
        if (runOut(e) && e.onFinished) {
            finished.push_back(e.onFinished);
        }
    }
    emitters.erase(std::remove_if(emitters.begin(), emitters.end(), runOut), emitters.end());
    for (const auto& callback : finished) {
        callback();
    }

    const float dt = GetDeltaTime();
    const float gameTime = GetScaledTotalTime();
    for (Emitter& e : emitters) {
        if (e.nextEmission == -1.0f) {
            e.nextEmission = 0.0f;
            e.SpawnBurst();
        }
        if (e.active) {
            e.Update(dt, gameTime);
        }
    }
}

void ParticleSystem::Render() const {
    const Mesh* quad = GetResources().LookupMesh(QUAD);
    if (quad == nullptr) {
        return;
    }
    ResourceLoader& resources = GetResources();
    MatrixStack& model = GetModelStack();
    for (const Emitter& e : emitters) {
        if (!e.active) {
            continue;
        }
        Vector3 offset;
        if (e.relative) {
            offset = e.target != nullptr ? Vector3(e.target->position.x, e.target->position.y, e.zOffset)
                                         : e.position.position;
        }
        for (const Particle& p : e.particles) {
            Transform drawn = p.transform;
            drawn.position += offset;
            model.ApplyTransform(drawn);
            quad->Draw(resources.LookupTexture(p.textureId), p.alpha, p.colour);
            model.Pop();
        }
    }
}

int ParticleSystem::CountParticles() const {
    int count = 0;
    for (const Emitter& e : emitters) {
        count += static_cast<int>(e.particles.size());
    }
    return count;
}

ParticleSystem& GetParticleSystem() {
    static ParticleSystem system;
    return system;
}
