#include "graphics/AnimationRenderer.h"

#include "base/Log.h"
#include "graphics/MatrixStack.h"
#include "graphics/Mesh.h"
#include "platform/FrameClock.h"
#include "resources/ResourceLoader.h"
#include "scene/GameObject.h"

// Here, where Mesh is complete, so the frames' meshes can be destroyed.
AnimationRenderer::AnimationRenderer(GameObject* owner_) : Component(owner_) {}

AnimationRenderer::~AnimationRenderer() = default;

void AnimationRenderer::Free() {
    frames.clear();
    frameCount = 0;
    currentFrame = 0;
    timer = 0.0f;
}

void AnimationRenderer::ClearClips() {
    Free();
    clips.clear();
    currentClip = kNoClip;
    speed = 1.0f;
    cycleDone = false;
}

void AnimationRenderer::AddClip(TextureId clipId, int n, float frameTime) {
    AnimClip clip;
    clip.firstFrame = frameCount;
    clip.lastFrame = frameCount + n - 1;
    clip.frameTime = frameTime;
    clips.emplace(clipId, clip);
    frameCount = clip.lastFrame + 1;
    currentClip = clipId;

    Texture* texture = GetResources().LookupTexture(clipId);
    const glm::vec4 white(1.0f, 1.0f, 1.0f, 1.0f);
    for (int i = 0; i < n; ++i) {
        const float uLeft = static_cast<float>(i) / static_cast<float>(n);
        const float uRight = static_cast<float>(i + 1) / static_cast<float>(n);
        frames.emplace_back(CreateQuad("AnimFrame", white, 1.0f, uLeft, uRight, 0.0f, 1.0f), texture);
    }
}

void AnimationRenderer::SetClip(TextureId clipId) {
    if (clipId == currentClip) {
        return;
    }
    currentClip = clipId;
    Restart();
}

const AnimClip* AnimationRenderer::FindCurrentClip() const {
    const auto found = clips.find(currentClip);
    if (found == clips.end()) {
        if (reportedClip == ToInt(currentClip)) {
            return nullptr;
        }
        reportedClip = ToInt(currentClip);
        Log("Animation clip %d not registered!\n", ToInt(currentClip));
        return nullptr;
    }
    return &found->second;
}

void AnimationRenderer::Restart() {
    speed = 1.0f;
    timer = 0.0f;
    const AnimClip* clip = FindCurrentClip();
    if (clip != nullptr) {
        currentFrame = clip->firstFrame;
    }
}

void AnimationRenderer::Update() {
    timer += GetDeltaTime() * speed;
    cycleDone = false;
    const AnimClip* clip = FindCurrentClip();
    if (clip == nullptr || timer < clip->frameTime) {
        return;
    }
    // The excess is dropped: every frame shows for at least its frame time.
    timer = 0.0f;
    currentFrame += 1;
    if (currentFrame > clip->lastFrame) {
        currentFrame = clip->firstFrame;
    }
    if (currentFrame == clip->firstFrame) {
        cycleDone = true;
    }
}

void AnimationRenderer::Draw() {
    if (!owner->IsActive() || currentFrame < 0 || currentFrame >= static_cast<int>(frames.size())) {
        return;
    }
    const auto& [mesh, texture] = frames[currentFrame];
    GetModelStack().ApplyTransform(owner->GetTransform());
    mesh->Draw(texture, alpha, tint);
    GetModelStack().Pop();
}
