#include "graphics/PostProcess.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdio>

#include "app/FrameClock.h"
#include "app/Input.h"
#include "app/Window.h"
#include "graphics/ShaderManager.h"

namespace {

constexpr float kIntensityStep = 0.3f;

bool  bloomEnabled = true;
float exposure = 0.5f;
float displayGamma = 0.7f;
float bloomIntensity = 1.0f;

// A colour target or the depth renderbuffer with the size its storage was last allocated with.
struct Target {
    unsigned int name = 0;
    int          width = 0;
    int          height = 0;
};

BloomTargets targets;
Target       sceneTargets[2];
Target       pingpongTargets[2];
Target       depthTarget;
int          lastGoodWidth = kScreenWidth;
int          lastGoodHeight = kScreenHeight;
unsigned int quadArray = 0;
unsigned int quadBuffer = 0;

const GLenum kDrawBuffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};

// The blur's kernel: a 9-tap Gaussian per pass (sigma about 1.7 texels). Passes of one direction
// add up to the kernel convolved with itself, so all of them are drawn as one pass with that
// kernel: the same picture for a fraction of the fill.
constexpr int    kBaseRadius = 4;
constexpr double kBaseKernel[kBaseRadius + 1] = {0.2270270270, 0.1945945946, 0.1216216216, 0.0540540541,
                                                 0.0162162162};
// More passes of one direction than this are drawn one by one, with the base kernel: the merged
// kernel must fit the shader's taps.
constexpr int    kMaxMergedPasses = 5;
constexpr int    kMaxMergedRadius = kBaseRadius * kMaxMergedPasses;
// The kernel's far ends are left out while together they weigh less than this (a 16-bit target
// cannot hold the difference).
constexpr double kDroppedTail = 1e-4;
// Bilinear taps: the centre, then one tap between each pair of texels on either side. The blur
// shader's "offsets" and "weights" arrays hold this many values; unused taps weigh 0.
constexpr int    kMaxBlurTaps = 8;

struct BlurKernel {
    int   taps = 0;       // in use; the rest of the arrays stay 0
    float offsets[kMaxBlurTaps] = {};
    float weights[kMaxBlurTaps] = {};
};

BlurKernel mergedKernels[kMaxMergedPasses + 1];

// One side of the base kernel convolved `passes` times with itself (index = distance in texels).
void ConvolveBaseKernel(int passes, double* side) {
    double full[2 * kMaxMergedRadius + 1] = {};
    double next[2 * kMaxMergedRadius + 1] = {};
    const int centre = kMaxMergedRadius;
    full[centre] = 1.0;
    for (int p = 0; p < passes; ++p) {
        for (double& value : next) {
            value = 0.0;
        }
        for (int i = 0; i <= 2 * kMaxMergedRadius; ++i) {
            if (full[i] == 0.0) {
                continue;
            }
            for (int k = -kBaseRadius; k <= kBaseRadius; ++k) {
                const int j = i + k;
                if (j >= 0 && j <= 2 * kMaxMergedRadius) {
                    next[j] += full[i] * kBaseKernel[k < 0 ? -k : k];
                }
            }
        }
        for (int i = 0; i <= 2 * kMaxMergedRadius; ++i) {
            full[i] = next[i];
        }
    }
    for (int d = 0; d <= kMaxMergedRadius; ++d) {
        side[d] = full[centre + d];
    }
}

BlurKernel MakeMergedKernel(int passes) {
    double side[kMaxMergedRadius + 1] = {};
    ConvolveBaseKernel(passes, side);
    // The smallest even radius whose dropped ends (both sides) weigh less than kDroppedTail.
    int radius = kBaseRadius * passes;
    double tail = 0.0;
    while (radius >= 2 && tail + 2.0 * (side[radius] + side[radius - 1]) < kDroppedTail) {
        tail += 2.0 * (side[radius] + side[radius - 1]);
        radius -= 2;
    }
    BlurKernel kernel;
    kernel.offsets[0] = 0.0f;
    kernel.weights[0] = static_cast<float>(side[0]);
    kernel.taps = 1;
    for (int d = 1; d + 1 <= radius && kernel.taps < kMaxBlurTaps; d += 2) {
        const double weight = side[d] + side[d + 1];
        kernel.offsets[kernel.taps] = static_cast<float>(d + side[d + 1] / weight);
        kernel.weights[kernel.taps] = static_cast<float>(weight);
        ++kernel.taps;
    }
    return kernel;
}

const BlurKernel& MergedKernel(int passes) {
    BlurKernel& kernel = mergedKernels[passes];
    if (kernel.taps == 0) {
        kernel = MakeMergedKernel(passes);
    }
    return kernel;
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
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
    target->width = width;
    target->height = height;
}

// Binds the texture; its storage is allocated again only when the window size changed, so the
// image drawn this frame is what the pass samples.
void BindColourAtWindowSize(Target* target) {
    int width = 0;
    int height = 0;
    TargetSize(&width, &height);
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

Target MakeColourTarget() {
    Target target;
    glGenTextures(1, &target.name);
    glBindTexture(GL_TEXTURE_2D, target.name);
    int width = 0;
    int height = 0;
    TargetSize(&width, &height);
    AllocateColour(&target, width, height);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return target;
}

void CheckFramebufferComplete() {
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::printf("Framebuffer not complete!\n");
        std::fflush(stdout);
    }
}

void CreateSceneFramebuffer() {
    glGenFramebuffers(1, &targets.sceneFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.sceneFramebuffer);
    for (int i = 0; i < 2; ++i) {
        sceneTargets[i] = MakeColourTarget();
        targets.sceneTextures[i] = sceneTargets[i].name;
        glFramebufferTexture2D(GL_FRAMEBUFFER, kDrawBuffers[i], GL_TEXTURE_2D, sceneTargets[i].name, 0);
    }
    glGenRenderbuffers(1, &depthTarget.name);
    targets.depthRenderbuffer = depthTarget.name;
    BindDepthAtWindowSize();
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthTarget.name);
    glDrawBuffers(2, kDrawBuffers);
    CheckFramebufferComplete();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void CreatePingpongFramebuffers() {
    glGenFramebuffers(2, targets.pingpongFramebuffers);
    for (int i = 0; i < 2; ++i) {
        pingpongTargets[i] = MakeColourTarget();
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
            -1.0f, 1.0f, 0.0f, 0.0f, 1.0f,
            -1.0f, -1.0f, 0.0f, 0.0f, 0.0f,
            1.0f, 1.0f, 0.0f, 1.0f, 1.0f,
            1.0f, -1.0f, 0.0f, 1.0f, 0.0f,
        };
        glGenVertexArrays(1, &quadArray);
        glGenBuffers(1, &quadBuffer);
        glBindVertexArray(quadArray);
        glBindBuffer(GL_ARRAY_BUFFER, quadBuffer);
        glBufferData(GL_ARRAY_BUFFER, sizeof(vertices), vertices, GL_STATIC_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float), reinterpret_cast<const void*>(3 * sizeof(float)));
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

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);

    CreateSceneFramebuffer();
    CreatePingpongFramebuffers();

    bloomIntensity = 1.0f;
    shaders.Use("Shader/default");
    shaders.Use("Shader/blur");
    shaders.SetInt("image", 0);
    shaders.Use("Shader/bloom");
    shaders.SetInt("scene", 0);
    shaders.SetInt("bloomBlur", 1);
}

void BeginScene() {
    // After a resize the colour targets take the new size before they are drawn into, not after.
    BindColourAtWindowSize(&sceneTargets[0]);
    BindColourAtWindowSize(&sceneTargets[1]);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.sceneFramebuffer);
    BindDepthAtWindowSize();
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthTarget.name);
}

void ClearScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The bright target starts black: only what is drawn this frame may glow.
    if (targets.sceneFramebuffer != 0) {
        GLint bound = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        if (static_cast<unsigned int>(bound) == targets.sceneFramebuffer) {
            const float black[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            glClearBufferfv(GL_COLOR, 1, black);
        }
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
    shaders.Use("Shader/default");
    shaders.SetFloat("bloomIntensity", bloomIntensity);
    shaders.SetInt("bloom", bloomEnabled ? 1 : 0);
    glActiveTexture(GL_TEXTURE0);
}

namespace {

// One pass into pingpongFramebuffers[h] that blurs `merged` times along its direction; its
// texture is the next pass's input.
void DrawBlurPass(int h, int merged) {
    const ShaderManager& shaders = GetShaderManager();
    const BlurKernel& kernel = MergedKernel(merged);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.pingpongFramebuffers[h]);
    shaders.SetInt("horizontal", h);
    const ShaderProgram* program = shaders.GetCurrent();
    if (program != nullptr) {
        glUniform1fv(program->Location("offsets"), kMaxBlurTaps, kernel.offsets);
        glUniform1fv(program->Location("weights"), kMaxBlurTaps, kernel.weights);
    }
    DrawScreenQuad();
    glBindTexture(GL_TEXTURE_2D, pingpongTargets[h].name);
}

}  // namespace

// The passes alternate direction, starting horizontally when asked. Blurs of different directions
// commute, so the passes of the direction that is not last come first as one pass, then those of
// the last direction: the result lands in the target the last of the alternating passes would
// have written.
void BlurBright(bool horizontalFirst, int passes) {
    ShaderManager& shaders = GetShaderManager();
    shaders.Use("Shader/blur");
    glActiveTexture(GL_TEXTURE0);
    // After a resize the blur's targets take the new size before a pass draws into them: storage
    // allocated after the drawing would leave the composite undefined contents.
    if (passes > 0) {
        BindColourAtWindowSize(&pingpongTargets[0]);
        BindColourAtWindowSize(&pingpongTargets[1]);
    }
    BindColourAtWindowSize(&sceneTargets[1]);
    const int firstH = horizontalFirst ? 1 : 0;
    if (passes > 2 * kMaxMergedPasses) {
        for (int i = 0; i < passes; ++i) {
            DrawBlurPass(firstH ^ (i & 1), 1);
        }
    } else if (passes > 0) {
        const int lastH = firstH ^ ((passes - 1) & 1);
        const int firstDirectionPasses = (passes + 1) / 2;
        const int lastDirectionPasses = lastH == firstH ? firstDirectionPasses : passes - firstDirectionPasses;
        const int otherPasses = passes - lastDirectionPasses;
        if (otherPasses > 0) {
            DrawBlurPass(1 - lastH, otherPasses);
        }
        DrawBlurPass(lastH, lastDirectionPasses);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void CompositeBloom(int pingpongIndex) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ShaderManager& shaders = GetShaderManager();
    shaders.Use("Shader/bloom");
    glActiveTexture(GL_TEXTURE0);
    BindColourAtWindowSize(&sceneTargets[0]);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, pingpongTargets[pingpongIndex & 1].name);
    shaders.SetInt("bloom", 1);
    shaders.SetFloat("exposure", exposure);
    shaders.SetFloat("gamma", displayGamma);
    DrawScreenQuad();
    glActiveTexture(GL_TEXTURE0);
}

void BindWindowFramebuffer() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
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
