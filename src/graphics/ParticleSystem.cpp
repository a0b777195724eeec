#include "graphics/ParticleSystem.h"

void ParticleSystem::Update() {}
void ParticleSystem::Render() {}
void ParticleSystem::Clear() {}

int ParticleSystem::CountParticles() const {
    return 0;
}

ParticleSystem& GetParticleSystem() {
    static ParticleSystem system;
    return system;
}
