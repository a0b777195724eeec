#include "graphics/PostProcess.h"

namespace {

bool  bloomEnabled = true;
float exposure = 0.5f;
float gamma = 0.7f;
float bloomIntensity = 1.0f;

}  // namespace

void InitGraphics() {}
void BeginScene() {}
void ClearScene() {}
void PrepareSceneShader() {}
void BlurBright(bool, int) {}
void CompositeBloom(int) {}
void BindWindowFramebuffer() {}

void SetBloomEnabled(bool enabled) {
    bloomEnabled = enabled;
}

bool IsBloomEnabled() {
    return bloomEnabled;
}

void SetExposure(float value) {
    exposure = value;
}

float GetExposure() {
    return exposure;
}

void SetGamma(float value) {
    gamma = value;
}

float GetGamma() {
    return gamma;
}

void SetBloomIntensity(float intensity) {
    bloomIntensity = intensity;
}

float GetBloomIntensity() {
    return bloomIntensity;
}
