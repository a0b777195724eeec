#pragma once

// The HDR scene framebuffer, the bright-pass blur and the tone-mapped composite.
// (Being built: until then the scene is drawn straight into the window.)
void  InitGraphics();
void  BeginScene();
void  ClearScene();
void  PrepareSceneShader();
void  BlurBright(bool horizontalFirst, int passes);
void  CompositeBloom(int pingpongIndex);
void  BindWindowFramebuffer();

void  SetBloomEnabled(bool enabled);
bool  IsBloomEnabled();
void  SetExposure(float exposure);
float GetExposure();
void  SetGamma(float gamma);
float GetGamma();
void  SetBloomIntensity(float intensity);
float GetBloomIntensity();
