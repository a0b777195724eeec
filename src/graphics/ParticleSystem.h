#pragma once

// Emitters of short-lived sprites. (Being built.)
class ParticleSystem {
public:
    void Update();
    void Render();
    void Clear();
    int  CountParticles() const;
};

ParticleSystem& GetParticleSystem();
