#pragma once

#include <memory>
#include <vector>

#include "math/Vector.h"

class GameObject;

// One camera effect of a cinematic step. Effects of a step run together; steps run in turn.
class CinBase {
public:
    explicit CinBase(float duration_) : duration(duration_) {}

    virtual void Start() {}
    // True once the effect has run its course. Called every frame until the whole step is over,
    // so it must stay harmless after it first reports true.
    virtual bool Update() { return true; }
    // Effects draw nothing themselves: the bars are scene objects drawn with the world.
    virtual void Draw() {}
    // How far the effect swings the camera this frame; 0 for effects that do not shake it.
    virtual float Shake() const { return 0.0f; }
    virtual ~CinBase() = default;

    float duration = 0.0f;
    float elapsed = 0.0f;
};

// Zooms the camera at `rate` zoom units per second (a positive rate moves in).
class CinZoom : public CinBase {
public:
    CinZoom(float rate_, float duration_, float startZoom);

    void Start() override;
    bool Update() override;

    float rate = 0.0f;
    float zoom = 1.0f;
};

// Shakes the camera around Lirra; with rampUp the shake grows from nothing by one unit per second.
class CinShake : public CinBase {
public:
    CinShake(float magnitude_, float duration_, bool rampUp);

    void Start() override;
    bool Update() override;
    float Shake() const override { return elapsed < duration ? magnitude : 0.0f; }

    float maxMagnitude = 0.0f;
    float magnitude = 0.0f;
};

// Letterbox bars: `distance` above and below the view's centre, closing in at `speed` units per
// second. A leaving step moves the bars that are there and hides them at its end.
class CinLines : public CinBase {
public:
    CinLines(const Vector3& cameraPosition, float distance, float speed_, float duration_, bool leaving_);

    bool Update() override;

    float speed = 0.0f;
    bool leaving = false;
};

struct CinematicStep {
    bool done = false;
    std::vector<std::unique_ptr<CinBase>> effects;
};

// Set while a step is playing; level scripts also set and clear it to hold the camera still.
extern bool cinematicPlaying;
// Where Lirra stood when the bars last moved with her.
extern Vector3 barsLastPlayerPos;

// Starts each effect at once in order, and queues them as one step; empty handles are skipped.
void PlayCinematicStep(std::vector<std::unique_ptr<CinBase>> effects);
template <typename... Effects>
void PlayCinematic(std::unique_ptr<Effects>... effects);
// The same, in the form (count, effect 1, ..., effect count); every effect passed is played.
template <typename... Effects>
void PlayCinematic(int count, std::unique_ptr<Effects>... effects);

// Once per frame: the oldest step runs; when all its effects are finished the next step follows.
void UpdateCinematics();
bool IsCinematicPlaying();
// A shake is playing: it places the camera round Lirra itself, and no follow may damp it.
bool IsCameraShaking();
// Steps still queued, the playing one included.
size_t CountCinematicSteps();
// The strongest swing the playing step gives the camera, 0 while nothing shakes it.
float CurrentCameraShake();
// The two letterbox bars (created on first use).
GameObject* GetCinematicBar(int index);

// Reports a (count, effects...) call whose count does not match the effects passed.
void WarnCinematicCount(int count, int given);

template <typename... Effects>
void PlayCinematic(std::unique_ptr<Effects>... effects) {
    std::vector<std::unique_ptr<CinBase>> step;
    step.reserve(sizeof...(effects));
    (step.push_back(std::move(effects)), ...);
    PlayCinematicStep(std::move(step));
}

template <typename... Effects>
void PlayCinematic(int count, std::unique_ptr<Effects>... effects) {
    if (count != static_cast<int>(sizeof...(effects))) {
        WarnCinematicCount(count, static_cast<int>(sizeof...(effects)));
    }
    PlayCinematic(std::move(effects)...);
}
