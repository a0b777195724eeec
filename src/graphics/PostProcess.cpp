#include "graphics/PostProcess.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/Log.h"
#include "graphics/ShaderManager.h"
#include "platform/FrameClock.h"
#include "platform/Input.h"
#include "platform/Window.h"

namespace {

constexpr float kIntensityStep = 0.3f;
// The window depth a full-screen quad at z = 0 leaves: the middle of the depth range.
constexpr double kCompositeDepth = 0.5;
// The composite without the gamma's power, for the gamma at which that power is 1.
constexpr const char* kStandardGammaComposite = "Shader/bloom-standard-gamma";
// The bright image brought down to the blur's size in one pass: the blur's program, taking the mean of 4 x 4.
constexpr const char* kQuarterProgram = "Shader/blur-quarter";
// The scene's program: the default one without its text path.
constexpr const char* kSceneSpritesProgram = "Shader/default-sprites";

bool bloomEnabled = true;
float exposure = kStandardExposure;
float displayGamma = kStandardGamma;
float bloomIntensity = kStandardBloomIntensity;

// A colour target or the depth renderbuffer with the size its storage was last allocated with.
struct Target {
    unsigned int name = 0;
    int width = 0;
    int height = 0;
    int halvings = 0;  // its size is the window's halved this many times, rounded up
    GLenum format = GL_RGBA16F;
};

BloomTargets targets;
Target sceneTargets[2];
Target pingpongTargets[2];
// The bright image halved once, on its way down to the blur's size.
Target halfTarget;
unsigned int halfFramebuffer = 0;
Target depthTarget;
int lastGoodWidth = kScreenWidth;
int lastGoodHeight = kScreenHeight;
// The window holds this frame's composite of the scene and the blur; the next composite of the
// same frame then redraws only what was drawn into the scene since (the frame's winds).
struct CompositeRecord {
    bool valid = false;
    long frame = -1;
    int pingpongIndex = 0;
    float exposure = 0.0f;
    float gamma = 0.0f;
    float bloomIntensity = 0.0f;
    int width = 0;
    int height = 0;
};
CompositeRecord lastComposite;
bool sceneBound = false;
// Nothing was drawn into the scene since its last clear.
bool sceneFresh = false;
bool sceneChanged = false;
float changedMin[2] = {0.0f, 0.0f};
float changedMax[2] = {0.0f, 0.0f};

unsigned int quadArray = 0;
unsigned int quadBuffer = 0;

const GLenum kDrawBuffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};

// The look of the glow: ten alternating passes of a 9-tap Gaussian (sigma about 1.7 window pixels)
// over the bright image at window size. The glow is drawn at a fraction of that size instead: the
// bright image is halved twice (each halving averages 2 x 2 texels), blurred there, and the
// composite's bilinear fetch brings it back up. Each of those steps blurs a little; the passes at
// the small size add what is missing, so the glow spreads as far as the ten passes spread it.
constexpr double kBaseKernel[5] = {0.2270270270, 0.1945945946, 0.1216216216, 0.0540540541, 0.0162162162};
// Halvings of the bright image before the blur: 2 blurs at a quarter of the window's size.
constexpr int kBloomLevels = 2;
// Bilinear taps: the centre, then one tap between each pair of texels on either side. The blur
// shader's "offsets" and "weights" arrays hold this many values; unused taps weigh 0.
constexpr int kMaxBlurTaps = 4;
constexpr int kMaxBlurRadius = 2 * (kMaxBlurTaps - 1);
// The widest Gaussian one pass draws (variance in texels of the blurred target): three sigmas
// must fit the taps.
constexpr double kMaxPassVariance = (kMaxBlurRadius / 3.0) * (kMaxBlurRadius / 3.0);
constexpr int kMaxPlannedPasses = 64;

struct BlurKernel {
    float offsets[kMaxBlurTaps] = {};
    float weights[kMaxBlurTaps] = {};
};

// The variance (in window pixels squared) one pass of the base kernel adds along its axis.
double BaseVariance() {
    double variance = 0.0;
    for (int d = 1; d < 5; ++d) {
        variance += 2.0 * d * d * kBaseKernel[d];
    }
    return variance;
}

// What the halvings and the bilinear fetch back up blur by themselves, in window pixels squared:
// a box of 2^levels pixels, and the fetch's blend of two texels at the window pixel's place.
double ChainVariance() {
    const int factor = 1 << kBloomLevels;
    const double box = (factor * factor - 1) / 12.0;
    double fetch = 0.0;
    for (int k = 0; k < factor; ++k) {
        const double f = (k + 0.5) / factor;
        fetch += f * (1.0 - f);
    }
    fetch = fetch / factor * factor * factor;
    return box + fetch;
}

// A sampled Gaussian of the given variance (in texels), read as bilinear taps.
BlurKernel MakeGaussianKernel(double variance) {
    BlurKernel kernel;
    double side[kMaxBlurRadius + 1] = {};
    double total = 0.0;
    for (int d = 0; d <= kMaxBlurRadius; ++d) {
        side[d] = variance > 0.0 ? std::exp(-0.5 * d * d / variance) : (d == 0 ? 1.0 : 0.0);
        total += d == 0 ? side[d] : 2.0 * side[d];
    }
    kernel.offsets[0] = 0.0f;
    kernel.weights[0] = static_cast<float>(side[0] / total);
    for (int tap = 1; tap < kMaxBlurTaps; ++tap) {
        const int d = 2 * tap - 1;
        const double weight = side[d] + side[d + 1];
        kernel.weights[tap] = static_cast<float>(weight / total);
        kernel.offsets[tap] = static_cast<float>(weight > 0.0 ? d + side[d + 1] / weight : d);
    }
    return kernel;
}

// The passes one BlurBright draws at the small size: their directions and kernels.
struct BlurPlan {
    int count = 0;
    int horizontal[kMaxPlannedPasses] = {};
    BlurKernel kernels[kMaxPlannedPasses];
};

// Adds the passes that blur `basePasses` base passes' worth along one direction, beyond what the
// halvings and the fetch back up already blur.
void PlanDirection(int horizontal, int basePasses, BlurPlan* plan) {
    const int factor = 1 << kBloomLevels;
    const double missing = (basePasses * BaseVariance() - ChainVariance()) / (factor * factor);
    if (basePasses <= 0 || missing <= 0.0) {
        return;
    }
    int passes = static_cast<int>(std::ceil(missing / kMaxPassVariance));
    passes = std::min(passes, kMaxPlannedPasses - plan->count);
    const BlurKernel kernel = MakeGaussianKernel(missing / passes);
    for (int i = 0; i < passes; ++i) {
        plan->horizontal[plan->count] = horizontal;
        plan->kernels[plan->count] = kernel;
        ++plan->count;
    }
}

// A minimised window reports 0 x 0: the targets keep their last real size until it comes back.
void TargetSize(int* width, int* height) {
    const int w = GetWindowWidth();
    const int h = GetWindowHeight();
    if (w > 0 && h > 0) {
        lastGoodWidth = w;
        lastGoodHeight = h;
    }
    *width = lastGoodWidth;
    *height = lastGoodHeight;
}

void AllocateColour(Target* target, int width, int height) {
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(target->format), width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
    target->width = width;
    target->height = height;
}

int Halved(int size, int halvings) {
    const int factor = 1 << halvings;
    return (size + factor - 1) / factor;
}

// Binds the texture; its storage is allocated again only when the window size changed, so the
// image drawn this frame is what the pass samples.
void BindColourAtWindowSize(Target* target) {
    int width = 0;
    int height = 0;
    TargetSize(&width, &height);
    width = Halved(width, target->halvings);
    height = Halved(height, target->halvings);
    glBindTexture(GL_TEXTURE_2D, target->name);
    if (target->width != width || target->height != height) {
        AllocateColour(target, width, height);
    }
}

void BindDepthAtWindowSize() {
    int width = 0;
    int height = 0;
    TargetSize(&width, &height);
    glBindRenderbuffer(GL_RENDERBUFFER, depthTarget.name);
    if (depthTarget.width != width || depthTarget.height != height) {
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, width, height);
        depthTarget.width = width;
        depthTarget.height = height;
    }
}

Target MakeColourTarget(int halvings, GLenum format) {
    Target target;
    target.halvings = halvings;
    target.format = format;
    glGenTextures(1, &target.name);
    BindColourAtWindowSize(&target);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return target;
}

bool IsFramebufferComplete() {
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void CheckFramebufferComplete() {
    if (!IsFramebufferComplete()) {
        Log("Framebuffer not complete!\n");
    }
}

void CreateSceneFramebuffer() {
    glGenFramebuffers(1, &targets.sceneFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.sceneFramebuffer);
    // The scene's colours stay within 0 .. 1 (textures times vertex colours): 8 bits hold them as
    // the window does, and a software renderer blends and reads them far faster than half floats.
    // So does the bright image, a part of those colours: the glow's intensity, which may go beyond
    // 1, is applied after the blur, in the composite.
    const GLenum formats[2] = {GL_RGBA8, GL_RGBA8};
    for (int i = 0; i < 2; ++i) {
        sceneTargets[i] = MakeColourTarget(0, formats[i]);
        targets.sceneTextures[i] = sceneTargets[i].name;
        glFramebufferTexture2D(GL_FRAMEBUFFER, kDrawBuffers[i], GL_TEXTURE_2D, sceneTargets[i].name, 0);
    }
    glGenRenderbuffers(1, &depthTarget.name);
    targets.depthRenderbuffer = depthTarget.name;
    BindDepthAtWindowSize();
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthTarget.name);
    glDrawBuffers(2, kDrawBuffers);
    if (!IsFramebufferComplete()) {
        // A driver that cannot draw into 8-bit targets draws the scene in half floats.
        for (Target& target : sceneTargets) {
            target.format = GL_RGBA16F;
            glBindTexture(GL_TEXTURE_2D, target.name);
            AllocateColour(&target, target.width, target.height);
        }
    }
    CheckFramebufferComplete();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void CreatePingpongFramebuffers() {
    halfTarget = MakeColourTarget(1, GL_RGBA16F);
    glGenFramebuffers(1, &halfFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, halfFramebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, halfTarget.name, 0);
    CheckFramebufferComplete();
    glGenFramebuffers(2, targets.pingpongFramebuffers);
    for (int i = 0; i < 2; ++i) {
        pingpongTargets[i] = MakeColourTarget(kBloomLevels, GL_RGBA16F);
        targets.pingpongTextures[i] = pingpongTargets[i].name;
        glBindFramebuffer(GL_FRAMEBUFFER, targets.pingpongFramebuffers[i]);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, pingpongTargets[i].name, 0);
        CheckFramebufferComplete();
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void DrawScreenQuad() {
    if (quadArray == 0) {
        const float vertices[] = {
            -1.0f, 1.0f, 0.0f, 0.0f, 1.0f, -1.0f, -1.0f, 0.0f, 0.0f, 0.0f,
            1.0f,  1.0f, 0.0f, 1.0f, 1.0f, 1.0f,  -1.0f, 0.0f, 1.0f, 0.0f,
        };
        glGenVertexArrays(1, &quadArray);
        glGenBuffers(1, &quadBuffer);
        glBindVertexArray(quadArray);
        glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
        glBufferData(GL_ARRAY_BUFFER, sizeof(vertices), vertices, GL_STATIC_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float),
                              reinterpret_cast<const void*>(3 * sizeof(float)));
    }
    glBindVertexArray(quadArray);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBindVertexArray(0);
}

}  // namespace

void InitGraphics() {
    ShaderManager& shaders = GetShaderManager();
    shaders.Load("Shader/ref");
    shaders.Load("Shader/default");
    shaders.Load("Shader/blur");
    shaders.Load("Shader/bloom");
    shaders.LoadVariant(kStandardGammaComposite, "Shader/bloom", "#define STANDARD_GAMMA");
    shaders.LoadVariant(kSceneSpritesProgram, "Shader/default", "#define SPRITES_ONLY");
    shaders.LoadVariant(kQuarterProgram, "Shader/blur", "#define QUARTER_OF_IMAGE");

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);

    CreateSceneFramebuffer();
    CreatePingpongFramebuffers();

    bloomIntensity = kStandardBloomIntensity;
    shaders.Use("Shader/default");
    for (const char* blur : {"Shader/blur", kQuarterProgram}) {
        shaders.Use(blur);
        shaders.SetInt("image", 0);
    }
    for (const char* composite : {"Shader/bloom", kStandardGammaComposite}) {
        shaders.Use(composite);
        shaders.SetInt("scene", 0);
        shaders.SetInt("bloomBlur", 1);
    }
}

void ClearDepth() {
    glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void ClearColourAndDepth() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void BeginScene() {
    // After a resize the colour targets take the new size before they are drawn into, not after.
    BindColourAtWindowSize(&sceneTargets[0]);
    BindColourAtWindowSize(&sceneTargets[1]);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.sceneFramebuffer);
    sceneBound = true;
    BindDepthAtWindowSize();
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthTarget.name);
}

void ClearScene() {
    lastComposite.valid = false;
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    if (targets.sceneFramebuffer == 0 || static_cast<unsigned int>(bound) != targets.sceneFramebuffer) {
        ClearColourAndDepth();
        return;
    }
    // The scene takes the clear colour; the bright target starts black: only what is drawn this
    // frame may glow. Each is cleared once.
    float clearColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    const float black[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glClearBufferfv(GL_COLOR, 0, clearColour);
    glClearBufferfv(GL_COLOR, 1, black);
    ClearDepth();
    sceneFresh = true;
}

bool IsSceneFresh() {
    return sceneBound && sceneFresh;
}

void DrawInto(SceneImages images) {
    if (!sceneBound) {
        return;
    }
    // The colours alone take one draw buffer: the program's bright output then goes nowhere.
    const GLenum bright[2] = {GL_NONE, GL_COLOR_ATTACHMENT1};
    if (images == SceneImages::Colours) {
        glDrawBuffers(1, kDrawBuffers);
    } else {
        glDrawBuffers(2, images == SceneImages::Bright ? bright : kDrawBuffers);
    }
}

namespace {

void StepIntensityByKeys() {
    // The scene shader is prepared up to three times a frame; one key release is one step.
    static long appliedFrame = -2;
    if (GetFrameNumber() == appliedFrame) {
        return;
    }
    appliedFrame = GetFrameNumber();
    if (IsReleased(GLFW_KEY_O)) {
        bloomIntensity += kIntensityStep;
    }
    if (IsReleased(GLFW_KEY_P)) {
        bloomIntensity -= kIntensityStep;
        if (bloomIntensity <= 0.0f) {
            bloomIntensity = 0.0f;
        }
    }
}

}  // namespace

void PrepareSceneShader() {
    StepIntensityByKeys();
    ShaderManager& shaders = GetShaderManager();
    // Text is drawn into the window only: the scene's sprites and layers go through the program
    // without the text path, which a software renderer would otherwise run for every pixel.
    const ShaderProgram* sprites = shaders.Find(kSceneSpritesProgram);
    shaders.Use(sceneBound && sprites != nullptr && sprites->linked ? kSceneSpritesProgram : "Shader/default");
    shaders.SetInt("bloom", bloomEnabled ? 1 : 0);
    glActiveTexture(GL_TEXTURE0);
}

namespace {

void BlitHalved(unsigned int from, GLenum fromAttachment, unsigned int to, const Target& target) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glReadBuffer(fromAttachment);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    // Exactly half the size: the filtered read at each texel's centre averages 2 x 2 texels.
    glBlitFramebuffer(0, 0, target.width * 2, target.height * 2, 0, 0, target.width, target.height, GL_COLOR_BUFFER_BIT,
                      GL_LINEAR);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
}

// The bright image brought down to the blur's size, into pingpongFramebuffers[index]: each texel the
// mean of 4 x 4, as two halvings make it. One pass of four filtered fetches costs a software
// renderer less than the two halvings, which are the way where that program is missing.
void DownsampleBright(int index) {
    ShaderManager& shaders = GetShaderManager();
    const ShaderProgram* quarter = shaders.Find(kQuarterProgram);
    if (quarter == nullptr || !quarter->linked) {
        BlitHalved(targets.sceneFramebuffer, GL_COLOR_ATTACHMENT1, halfFramebuffer, halfTarget);
        BlitHalved(halfFramebuffer, GL_COLOR_ATTACHMENT0, targets.pingpongFramebuffers[index], pingpongTargets[index]);
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, targets.pingpongFramebuffers[index]);
    glViewport(0, 0, pingpongTargets[index].width, pingpongTargets[index].height);
    shaders.Use(kQuarterProgram);
    glBindTexture(GL_TEXTURE_2D, sceneTargets[1].name);
    DrawScreenQuad();
}

// One pass from the other ping-pong target into pingpongFramebuffers[index].
void DrawBlurPass(int index, int horizontal, const BlurKernel& kernel) {
    const ShaderManager& shaders = GetShaderManager();
    glBindFramebuffer(GL_FRAMEBUFFER, targets.pingpongFramebuffers[index]);
    glBindTexture(GL_TEXTURE_2D, pingpongTargets[1 - index].name);
    shaders.SetInt("horizontal", horizontal);
    const ShaderProgram* program = shaders.GetCurrent();
    if (program != nullptr) {
        glUniform1fv(program->Location("offsets"), kMaxBlurTaps, kernel.offsets);
        glUniform1fv(program->Location("weights"), kMaxBlurTaps, kernel.weights);
    }
    DrawScreenQuad();
}

}  // namespace

// The passes alternate direction, starting horizontally when asked, and the result lands in the
// target the last of them writes. Blurs of different directions commute, so all the passes of the
// direction that is not last are drawn first, as few wide passes at the small size, then those of
// the last direction.
void BlurBright(bool horizontalFirst, int passes) {
    ShaderManager& shaders = GetShaderManager();
    shaders.Use("Shader/blur");
    glActiveTexture(GL_TEXTURE0);
    sceneBound = false;
    if (passes <= 0) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return;
    }
    lastComposite.valid = false;
    // After a resize the targets take the new size before anything draws into them: storage
    // allocated after the drawing would leave the composite undefined contents.
    BindColourAtWindowSize(&sceneTargets[1]);
    BindColourAtWindowSize(&halfTarget);
    BindColourAtWindowSize(&pingpongTargets[0]);
    BindColourAtWindowSize(&pingpongTargets[1]);

    const int firstH = horizontalFirst ? 1 : 0;
    const int lastH = firstH ^ ((passes - 1) & 1);
    const int firstDirectionPasses = (passes + 1) / 2;
    const int lastDirectionPasses = lastH == firstH ? firstDirectionPasses : passes - firstDirectionPasses;
    BlurPlan plan;
    PlanDirection(1 - lastH, passes - lastDirectionPasses, &plan);
    PlanDirection(lastH, lastDirectionPasses, &plan);

    // Pass i writes the target that leaves the last pass writing index lastH.
    const auto targetOf = [&](int pass) { return lastH ^ ((plan.count - 1 - pass) & 1); };
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    DownsampleBright(plan.count == 0 ? lastH : 1 - targetOf(0));
    shaders.Use("Shader/blur");
    glViewport(0, 0, pingpongTargets[0].width, pingpongTargets[0].height);
    for (int i = 0; i < plan.count; ++i) {
        DrawBlurPass(targetOf(i), plan.horizontal[i], plan.kernels[i]);
    }
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

namespace {

CompositeRecord RecordOf(int pingpongIndex) {
    CompositeRecord record;
    record.valid = true;
    record.frame = GetFrameNumber();
    record.pingpongIndex = pingpongIndex & 1;
    record.exposure = exposure;
    record.gamma = displayGamma;
    record.bloomIntensity = bloomIntensity;
    record.width = GetWindowWidth();
    record.height = GetWindowHeight();
    return record;
}

bool SameComposite(const CompositeRecord& a, const CompositeRecord& b) {
    return a.valid && b.valid && a.frame == b.frame && a.pingpongIndex == b.pingpongIndex && a.exposure == b.exposure &&
           a.gamma == b.gamma && a.bloomIntensity == b.bloomIntensity && a.width == b.width && a.height == b.height;
}

// The window pixels the scene changed in since the last composite, a pixel wider on every side
// for the rounding of the edges; false when it changed nowhere.
bool ChangedPixels(int width, int height, GLint* box) {
    if (!sceneChanged) {
        return false;
    }
    const auto toPixel = [](float ndc, int size) { return (ndc + 1.0f) * 0.5f * static_cast<float>(size); };
    const int left = std::max(0, static_cast<int>(std::floor(toPixel(changedMin[0], width))) - 1);
    const int bottom = std::max(0, static_cast<int>(std::floor(toPixel(changedMin[1], height))) - 1);
    const int right = std::min(width, static_cast<int>(std::ceil(toPixel(changedMax[0], width))) + 1);
    const int top = std::min(height, static_cast<int>(std::ceil(toPixel(changedMax[1], height))) + 1);
    if (right <= left || top <= bottom) {
        return false;
    }
    box[0] = left;
    box[1] = bottom;
    box[2] = right - left;
    box[3] = top - bottom;
    return true;
}

// The composite's shader raises the tone-mapped colour to this power, in the same float steps.
bool GammaPowerIsOne() {
    return kStandardGamma / std::max(displayGamma, 0.0001f) == 1.0f;
}

const char* CompositeProgram() {
    const ShaderProgram* standard = GetShaderManager().Find(kStandardGammaComposite);
    return GammaPowerIsOne() && standard != nullptr && standard->linked ? kStandardGammaComposite : "Shader/bloom";
}

}  // namespace

void CompositeBloom(int pingpongIndex) {
    sceneBound = false;
    const CompositeRecord record = RecordOf(pingpongIndex);
    const bool windowHoldsIt = SameComposite(lastComposite, record);
    GLint box[4] = {0, 0, 0, 0};
    const bool changed = ChangedPixels(record.width, record.height, box);
    lastComposite = record;
    sceneChanged = false;
    if (windowHoldsIt && !changed) {
        return;
    }
    // A second composite of the frame differs from the first only where the scene was drawn into since.
    if (windowHoldsIt) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(box[0], box[1], box[2], box[3]);
    }
    // The quad writes every pixel it covers (its alpha is 1), so the window's colour needs no
    // clearing under it, and blending and the alpha test would only cost: what they leave is the
    // quad's colour. The window's later draws are tested against the depth of the quad, which lies
    // at the middle of the depth range: cleared to that, the depth needs no test and no write for
    // every pixel of the quad.
    GLfloat clearDepth = 1.0f;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &clearDepth);
    glClearDepth(kCompositeDepth);
    ClearDepth();
    glClearDepth(clearDepth);
    const GLboolean blending = glIsEnabled(GL_BLEND);
    const GLboolean alphaTesting = glIsEnabled(GL_ALPHA_TEST);
    const GLboolean depthTesting = glIsEnabled(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
    ShaderManager& shaders = GetShaderManager();
    shaders.Use(CompositeProgram());
    glActiveTexture(GL_TEXTURE0);
    BindColourAtWindowSize(&sceneTargets[0]);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, pingpongTargets[pingpongIndex & 1].name);
    shaders.SetInt("bloom", 1);
    shaders.SetFloat("bloomIntensity", bloomIntensity);
    shaders.SetFloat("exposure", exposure);
    shaders.SetFloat("gamma", displayGamma);
    DrawScreenQuad();
    if (blending) {
        glEnable(GL_BLEND);
    }
    if (alphaTesting) {
        glEnable(GL_ALPHA_TEST);
    }
    if (depthTesting) {
        glEnable(GL_DEPTH_TEST);
    }
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_SCISSOR_TEST);
}

void NoteMeshDrawn(float minX, float minY, float maxX, float maxY, bool whole) {
    if (!sceneBound) {
        lastComposite.valid = false;
        return;
    }
    sceneFresh = false;
    if (whole) {
        minX = -1.0f;
        minY = -1.0f;
        maxX = 1.0f;
        maxY = 1.0f;
    }
    if (!sceneChanged) {
        changedMin[0] = minX;
        changedMin[1] = minY;
        changedMax[0] = maxX;
        changedMax[1] = maxY;
        sceneChanged = true;
        return;
    }
    changedMin[0] = std::min(changedMin[0], minX);
    changedMin[1] = std::min(changedMin[1], minY);
    changedMax[0] = std::max(changedMax[0], maxX);
    changedMax[1] = std::max(changedMax[1], maxY);
}

void NoteWindowDrawn() {
    lastComposite.valid = false;
}

void BindWindowFramebuffer() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    sceneBound = false;
}

const BloomTargets& GetBloomTargets() {
    return targets;
}

void GetBloomTargetSize(int* width, int* height) {
    *width = sceneTargets[0].width;
    *height = sceneTargets[0].height;
}

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
    displayGamma = value;
}

float GetGamma() {
    return displayGamma;
}

void SetBloomIntensity(float intensity) {
    bloomIntensity = intensity;
}

float GetBloomIntensity() {
    return bloomIntensity;
}
