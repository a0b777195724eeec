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
// Which of the scene's two images (its colours, and the bright image that glows) the next draws go
// into. Each holds what drawing into both gives it: a software renderer fills one target at a
// time far faster, so a layer whose glow is known to be black outside a box draws its colours
// alone and its bright image only inside that box.
enum class SceneImages { Both, Colours, Bright };
void DrawInto(SceneImages images);
// The strongest channel a colour may have and still send nothing to the bright image.
constexpr int kStrongestDullChannel = 158;
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
