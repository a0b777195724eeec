#pragma once

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "resources/TextureId.h"
#include "math/Vector.h"
#include "scene/Component.h"

class Mesh;
class Texture;

// A range of the renderer's frame list and the time each frame is shown.
struct AnimClip {
    int firstFrame = 0;
    int lastFrame = 0;
    float frameTime = 1.0f;
};

// Draws sprite-sheet clips: each clip is one texture whose frames lie side by side in one row.
class AnimationRenderer : public Component {
public:
    static constexpr const char* kName = "AnimationRenderer";
    // One past the last texture id: no clip registered yet.
    static constexpr TextureId kNoClip = TextureId::Count;

    explicit AnimationRenderer(GameObject* owner_);
    ~AnimationRenderer() override;

    const char* GetName() const override { return kName; }
    void Free() override;
    void Update() override;
    void Draw() override;

    // Frames are numbered over all clips in registration order; the clip becomes current.
    void AddClip(TextureId clipId, int frameCount, float frameTime);
    void SetClip(TextureId clipId);
    void Restart();
    // Frees the frame meshes and forgets every clip, so a recycled object can register its own.
    void ClearClips();

    TextureId GetClip() const { return currentClip; }
    int GetFrame() const { return currentFrame; }
    int GetFrameCount() const { return frameCount; }
    float GetTimer() const { return timer; }
    void SetAlpha(float value) { alpha = value; }
    float GetAlpha() const { return alpha; }
    void SetSpeed(float value) { speed = value; }
    float GetSpeed() const { return speed; }
    bool HasClip(TextureId clipId) const { return clips.count(clipId) != 0; }

    bool cycleDone = false;
    Vector3 tint{1.0f, 1.0f, 1.0f};

private:
    // Null, with a message, for a clip that was never registered.
    const AnimClip* FindCurrentClip() const;

    int frameCount = 0;
    int currentFrame = 0;
    float speed = 1.0f;
    float timer = 0.0f;
    TextureId currentClip = kNoClip;
    float alpha = 1.0f;
    mutable int reportedClip = -1;  // reported once, not every frame
    std::vector<std::pair<std::unique_ptr<Mesh>, Texture*>> frames;
    std::map<TextureId, AnimClip> clips;
};
