#pragma once

// The HDR scene framebuffer, the bright-pass blur and the tone-mapped composite.
void InitGraphics();
// Clear the bound framebuffer's depth (with its colour). The window's depth shares its words with a
// stencil nothing uses: cleared together they are one fill, where depth alone makes a software
// renderer keep every pixel's stencil bits.
void ClearDepth();
void ClearColourAndDepth();
void BeginScene();
void ClearScene();
// The scene is bound and nothing was drawn into it since it was cleared.
bool IsSceneFresh();
void PrepareSceneShader();
void BlurBright(bool horizontalFirst, int passes);
void CompositeBloom(int pingpongIndex);
void BindWindowFramebuffer();

// The picture every screen starts from; the boss's white-out and the ending move away from it.
constexpr float kStandardExposure = 0.5f;
constexpr float kStandardGamma = 0.7f;
constexpr float kStandardBloomIntensity = 1.0f;

void SetBloomEnabled(bool enabled);
bool IsBloomEnabled();
void SetExposure(float exposure);
float GetExposure();
void SetGamma(float gamma);
float GetGamma();
void SetBloomIntensity(float intensity);
float GetBloomIntensity();

// What a drawn mesh covers, in normalised device coordinates (whole: it may cover everything).
// Drawn into the scene after a composite, it is what the next composite of the frame redraws;
// drawn into the window, it makes the next composite redraw everything.
void NoteMeshDrawn(float minX, float minY, float maxX, float maxY, bool whole);
// Something was drawn into the window outside the meshes (text).
void NoteWindowDrawn();

// Handles of the off-screen targets, for tests and screenshots of the passes.
struct BloomTargets {
    unsigned int sceneFramebuffer = 0;
    unsigned int sceneTextures[2] = {0, 0};
    unsigned int pingpongFramebuffers[2] = {0, 0};
    unsigned int pingpongTextures[2] = {0, 0};
    unsigned int depthRenderbuffer = 0;
};
const BloomTargets& GetBloomTargets();
// The size the targets were last allocated with; it follows the window except while it is 0 x 0.
void GetBloomTargetSize(int* width, int* height);
