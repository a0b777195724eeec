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

void BlurBright(bool horizontalFirst, int passes) {
    ShaderManager& shaders = GetShaderManager();
    shaders.Use("Shader/blur");
    int h = horizontalFirst ? 1 : 0;
    glActiveTexture(GL_TEXTURE0);
    BindColourAtWindowSize(&sceneTargets[1]);
    for (int i = 0; i < passes; ++i) {
        glBindFramebuffer(GL_FRAMEBUFFER, targets.pingpongFramebuffers[h]);
        shaders.SetInt("horizontal", h);
        DrawScreenQuad();
        BindColourAtWindowSize(&pingpongTargets[h]);
        h = 1 - h;
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
