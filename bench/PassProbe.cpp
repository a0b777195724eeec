#include "PassProbe.h"

#include <GL/glew.h>
#include <dlfcn.h>

#include <cstring>

#include "FrameProbe.h"
#include "graphics/Background.h"
#include "graphics/PostProcess.h"
#include "graphics/ShaderManager.h"
#include "graphics/Texture.h"
#include "resources/ResourceLoader.h"

namespace {

bool probing = false;
const char* currentPass = nullptr;
int64_t passStartNs = 0;
PassFrame frameTimes;
// Within a frame: draws of the middle-ground texture and composites so far, and whether the
// scene has been composited once (what is drawn into it after that is the winds).
int middleDraws = 0;
int composites = 0;
// Draws of the current pass before its first booking.
int pendingDraws = 0;

PFNGLBLITFRAMEBUFFERPROC realBlitFramebuffer = nullptr;
PFNGLCLEARBUFFERFVPROC realClearBufferfv = nullptr;

template <typename Function>
Function RealFunction(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void Book(int64_t now) {
    if (currentPass == nullptr) {
        return;
    }
    PassTime* booked = nullptr;
    for (int i = 0; i < frameTimes.count && booked == nullptr; ++i) {
        booked = std::strcmp(frameTimes.passes[i].name, currentPass) == 0 ? &frameTimes.passes[i] : nullptr;
    }
    if (booked == nullptr && frameTimes.count < kMaxProbedPasses) {
        booked = &frameTimes.passes[frameTimes.count++];
        booked->name = currentPass;
    }
    if (booked != nullptr) {
        booked->cpuNs += now - passStartNs;
        booked->draws += pendingDraws;
    }
    pendingDraws = 0;
}

GLuint DrawFramebuffer() {
    GLint bound = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    return static_cast<GLuint>(bound);
}

GLuint BoundTexture() {
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glActiveTexture(GL_TEXTURE0);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glActiveTexture(static_cast<GLenum>(active));
    return static_cast<GLuint>(bound);
}

GLuint LayerTexture(const char* layer) {
    const auto& layers = GetBackgroundLayers();
    const auto found = layers.find(layer);
    return found == layers.end() || found->second == nullptr ? 0 : found->second->GetId();
}

const char* SceneDrawPass() {
    if (composites > 0) {
        return "winds";
    }
    const GLuint texture = BoundTexture();
    if (texture == 0) {
        return "sprites";
    }
    if (texture == LayerTexture("FOREST_BG")) {
        return "far strip";
    }
    if (texture == LayerTexture("FOREST_MG2")) {
        return ++middleDraws == 1 ? "middle ground" : "middle ground flipped";
    }
    if (texture == LayerTexture("FOREST_LOWER")) {
        return "lower edge";
    }
    if (texture == LayerTexture("FOREST_UPPER")) {
        return "upper edge";
    }
    const Texture* tileset = GetResources().LookupTexture(TextureId::ForestTileset);
    if (tileset != nullptr && texture == tileset->GetId()) {
        return "tiles";
    }
    return "sprites";
}

const char* DrawPass() {
    const ShaderProgram* program = GetShaderManager().GetCurrent();
    const char* name = program == nullptr ? "" : program->name.c_str();
    if (std::strncmp(name, "Shader/blur", std::strlen("Shader/blur")) == 0) {
        return "bloom blur";
    }
    if (std::strncmp(name, "Shader/bloom", std::strlen("Shader/bloom")) == 0) {
        return ++composites == 1 ? "composite" : "second composite";
    }
    if (DrawFramebuffer() == GetBloomTargets().sceneFramebuffer) {
        return SceneDrawPass();
    }
    return "dialogue, text, buttons";
}

const char* ClearPass() {
    return DrawFramebuffer() == GetBloomTargets().sceneFramebuffer ? "scene clear" : "window clear";
}

void GLAPIENTRY ProbedBlitFramebuffer(GLint srcX0, GLint srcY0, GLint srcX1, GLint srcY1, GLint dstX0, GLint dstY0,
                                      GLint dstX1, GLint dstY1, GLbitfield mask, GLenum filter) {
    if (probing) {
        MarkPass("bloom blur");
        ++pendingDraws;
    }
    realBlitFramebuffer(srcX0, srcY0, srcX1, srcY1, dstX0, dstY0, dstX1, dstY1, mask, filter);
}

void GLAPIENTRY ProbedClearBufferfv(GLenum buffer, GLint drawBuffer, const GLfloat* value) {
    if (probing) {
        MarkPass(ClearPass());
        ++pendingDraws;
    }
    realClearBufferfv(buffer, drawBuffer, value);
}

}  // namespace

// The game calls these GL 1.1 entry points directly: the bench's own definitions take their place
// and pass the call on to the driver's.
extern "C" {

void GLAPIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    static const auto real = RealFunction<void(GLAPIENTRY*)(GLenum, GLsizei, GLenum, const void*)>("glDrawElements");
    if (probing) {
        MarkPass(DrawPass());
        ++pendingDraws;
    }
    real(mode, count, type, indices);
}

void GLAPIENTRY glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    static const auto real = RealFunction<void(GLAPIENTRY*)(GLenum, GLint, GLsizei)>("glDrawArrays");
    if (probing) {
        MarkPass(DrawPass());
        ++pendingDraws;
    }
    real(mode, first, count);
}

void GLAPIENTRY glClear(GLbitfield mask) {
    static const auto real = RealFunction<void(GLAPIENTRY*)(GLbitfield)>("glClear");
    if (probing) {
        MarkPass(ClearPass());
        ++pendingDraws;
    }
    real(mask);
}

}  // extern "C"

void InstallPassProbe() {
    if (realBlitFramebuffer == nullptr) {
        realBlitFramebuffer = glBlitFramebuffer;
        glBlitFramebuffer = ProbedBlitFramebuffer;
    }
    if (realClearBufferfv == nullptr) {
        realClearBufferfv = glClearBufferfv;
        glClearBufferfv = ProbedClearBufferfv;
    }
}

void StartProbedFrame(long frame) {
    glFinish();
    frameTimes = PassFrame();
    frameTimes.frame = frame;
    middleDraws = 0;
    composites = 0;
    pendingDraws = 0;
    currentPass = "frame start";
    passStartNs = ProcessCpuNs();
    probing = true;
}

void MarkPass(const char* name) {
    if (!probing || name == currentPass || (currentPass != nullptr && std::strcmp(name, currentPass) == 0)) {
        return;
    }
    glFinish();
    const int64_t now = ProcessCpuNs();
    Book(now);
    currentPass = name;
    passStartNs = now;
}

PassFrame EndProbedFrame() {
    glFinish();
    Book(ProcessCpuNs());
    probing = false;
    currentPass = nullptr;
    return frameTimes;
}
