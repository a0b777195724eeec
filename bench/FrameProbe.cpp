#include "FrameProbe.h"

#include <GL/glew.h>
#include <execinfo.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <vector>
#include <functional>
#include <string_view>

#include "AllocationCounter.h"
#include "actors/Boss.h"
#include "actors/GOEnemy.h"
#include "actors/GOSoul.h"
#include "actors/Player.h"
#include "app/Frame.h"
#include "app/Game.h"
#include "audio/Audio.h"
#include "automation/LaunchOptions.h"
#include "automation/Trace.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "graphics/ParticleSystem.h"
#include "graphics/PostProcess.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "platform/FrameClock.h"
#include "platform/Window.h"
#include "scene/SceneManager.h"

namespace {

constexpr int kBossPhase3Health = 999;
constexpr float kLirraFullHealth = 100.0f;

// What the frame's by-design allocations are recognised by, read before and after it.
struct WorldSnapshot {
    const State* state = nullptr;
    size_t objects = 0;
    size_t emitters = 0;
    size_t cinematicSteps = 0;
    bool dialogueVisible = false;
    size_t dialogueKey = 0;
    float lirraHealth = 0.0f;
    size_t activeEnemies = 0;
    size_t activeSouls = 0;
    int newestEmitter = -1;
};

template <typename T>
size_t CountActive(const ObjectPool<T>& pool) {
    size_t active = 0;
    for (const T* object : pool.GetObjects()) {
        active += object->IsActive() ? 1 : 0;
    }
    return active;
}

int NewestEmitter() {
    int newest = -1;
    for (const Emitter& emitter : GetParticleSystem().GetEmitters()) {
        newest = emitter.id > newest ? emitter.id : newest;
    }
    return newest;
}

size_t DialogueKey() {
    const DialogueRequest& dialogue = GetDialogue();
    const std::hash<std::string_view> hash;
    return hash(dialogue.name) * 31u + hash(dialogue.text);
}

WorldSnapshot TakeSnapshot() {
    WorldSnapshot snapshot;
    snapshot.state = GetCurrentState();
    snapshot.objects = GetScene().CountObjects();
    snapshot.emitters = GetParticleSystem().CountEmitters();
    snapshot.cinematicSteps = CountCinematicSteps();
    snapshot.dialogueVisible = IsDialogueVisible();
    snapshot.dialogueKey = snapshot.dialogueVisible ? DialogueKey() : 0;
    snapshot.lirraHealth = GetPlayer().GetHealth();
    snapshot.activeEnemies = CountActive(GetScene().GetEnemyPool());
    snapshot.activeSouls = CountActive(GetScene().GetSoulPool());
    snapshot.newestEmitter = NewestEmitter();
    return snapshot;
}

void MarkByDesignReasons(const WorldSnapshot& before, const WorldSnapshot& after, bool statePending,
                         FrameRecord* record) {
    // A death restarts the level in place: Lirra comes back at full health after dying.
    const bool restarted = before.lirraHealth <= 0.0f && after.lirraHealth > 0.0f;
    record->stateLoaded = statePending || before.state != after.state || restarted || HasPendingState();
    record->loadingAssets = after.state != nullptr && after.state->GetId() == STATE_LOADING;
    record->poolGrew = after.objects > before.objects || after.emitters > before.emitters;
    record->cinematicQueued = after.cinematicSteps > before.cinematicSteps;
    record->dialogueStarted =
        after.dialogueVisible && (!before.dialogueVisible || after.dialogueKey != before.dialogueKey);
    record->spawned = after.activeEnemies > before.activeEnemies || after.activeSouls > before.activeSouls ||
                      after.newestEmitter > before.newestEmitter;
}

std::string SceneName(const ProbeSettings& settings) {
    const State* state = GetCurrentState();
    if (state == nullptr) {
        return "none";
    }
    if (settings.forceBossPhase3 && state->GetId() == STATE_BOSS && GetBoss().GetPhase() == BOSS_PHASE_3) {
        return "Boss phase 3";
    }
    return state->GetName();
}

// The measured run's own steering: it acts between frames, never inside the game's code.
void SteerBossFight(const ProbeSettings& settings) {
    const State* state = GetCurrentState();
    if (!settings.forceBossPhase3 || state == nullptr || state->GetId() != STATE_BOSS) {
        return;
    }
    Boss& boss = GetBoss();
    if (boss.GetPhase() == BOSS_PHASE_1) {
        boss.TakeDamage(boss.GetHealth() - kBossPhase3Health);
    }
    Player& lirra = GetPlayer();
    if (lirra.GetHealth() > 0.0f && lirra.GetHealth() < kLirraFullHealth) {
        lirra.AddHealth(kLirraFullHealth - lirra.GetHealth());
    }
}

bool tracingAllocations = false;

void FinishFrame(long frame) {
    WriteTraceLine(frame);
}

void EndOfFrame(long frame) {
    AdvanceFrameClock();
    SwapFrame();
    const long frameLimit = GetLaunchOptions().frames;
    if (frameLimit > 0 && frame + 1 >= frameLimit) {
        RequestQuit();
    }
}

// The main loop's frame, with clocks between its parts: logic is the state's update, draw the
// state's render and the end-of-frame submission of Dear ImGui.
FrameRecord RunMeasuredFrame(const ProbeSettings& settings, PassFrame* passes) {
    FrameRecord record;
    const WorldSnapshot before = TakeSnapshot();
    const bool statePending = HasPendingState();
    if (tracingAllocations) {
        StartRecordingAllocationStacks();
    }
    const uint64_t allocationsBefore = CountThreadAllocations();
    const uint64_t driverAllocationsBefore = CountThreadDriverAllocations();
    const int64_t frameStart = MonotonicNs();
    const int64_t frameCpuStart = ProcessCpuNs();

    if (passes != nullptr) {
        StartProbedFrame(GetFrameNumber() + 1);
    }
    ApplyPendingState();
    BeginFrame();
    const long frame = GetFrameNumber();
    MarkPass("logic");

    const int64_t logicStart = ThreadCpuNs();
    AudioUpdate();
    State* state = GetCurrentState();
    if (state != nullptr) {
        state->PreUpdate();
        state->Update();
        state->PostUpdate();
    }
    const int64_t logicEnd = ThreadCpuNs();

    state = GetCurrentState();
    if (state != nullptr) {
        state->PreRender();
        state->Render();
        state->PostRender();
    }
    const int64_t renderEnd = ThreadCpuNs();
    MarkPass("trace");
    FinishFrame(frame);
    const int64_t endFrameStart = ThreadCpuNs();
    MarkPass("imgui, frame end");
    EndFrame();
    const int64_t drawEnd = ThreadCpuNs();
    MarkPass("swap");
    EndOfFrame(frame);
    if (passes != nullptr) {
        *passes = EndProbedFrame();
    }
    const int64_t frameEnd = MonotonicNs();
    const int64_t frameCpuEnd = ProcessCpuNs();

    record.frame = frame;
    record.logicNs = logicEnd - logicStart;
    record.drawNs = (renderEnd - logicEnd) + (drawEnd - endFrameStart);
    record.frameNs = frameEnd - frameStart;
    record.frameCpuNs = frameCpuEnd - frameCpuStart;
    record.allocations = CountThreadAllocations() - allocationsBefore;
    record.driverAllocations = CountThreadDriverAllocations() - driverAllocationsBefore;
    StopRecordingAllocationStacks();
    MarkByDesignReasons(before, TakeSnapshot(), statePending, &record);
    record.scene = SceneName(settings);
    if (tracingAllocations && record.allocations > 0 && !record.AllocatesByDesign()) {
        dprintf(STDERR_FILENO, "== steady frame %ld (%s) allocated %llu times\n", frame, record.scene.c_str(),
                static_cast<unsigned long long>(record.allocations));
        PrintRecordedAllocationStacks(STDERR_FILENO);
    }
    return record;
}

int64_t Median(std::vector<int64_t> times) {
    std::sort(times.begin(), times.end());
    return times.empty() ? 0 : times[times.size() / 2];
}

// Median wall and process CPU time of `rounds` runs of the pass, each waited for.
template <typename Pass>
void TimePass(int rounds, Pass pass, int64_t* wallNs, int64_t* cpuNs) {
    std::vector<int64_t> walls;
    std::vector<int64_t> cpus;
    glFinish();
    for (int i = 0; i < rounds; ++i) {
        const int64_t start = MonotonicNs();
        const int64_t cpuStart = ProcessCpuNs();
        pass();
        glFinish();
        walls.push_back(MonotonicNs() - start);
        cpus.push_back(ProcessCpuNs() - cpuStart);
    }
    *wallNs = Median(walls);
    *cpuNs = Median(cpus);
}

// The frame's post-processing alone, on the bright image the last frame left in the targets.
void TimePostPasses(int rounds, ProbeResult* result) {
    TimePass(
        rounds, [] { BlurBright(true, 10); }, &result->blurNs, &result->blurCpuNs);
    // The window already holds this frame's composite: marking it drawn into makes each round
    // composite the whole window again instead of nothing.
    TimePass(
        rounds,
        [] {
            BindWindowFramebuffer();
            NoteWindowDrawn();
            CompositeBloom(0);
        },
        &result->compositeNs, &result->compositeCpuNs);
}

}  // namespace

int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t ProcessCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t ThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

bool RunProbe(int argc, char** argv, const ProbeSettings& settings, ProbeResult* result) {
    LaunchOptions options;
    if (ParseLaunchOptions(argc, argv, options) != ParseResult::Run) {
        return false;
    }
    if (!PrepareLaunch(options)) {
        return false;
    }
    tracingAllocations = settings.traceSteadyAllocations;
    OpenGame();
    result->openNs = MonotonicNs() - settings.spawnNs;
    ClassifyDriverAllocations();
    constexpr size_t kExpectedFrames = 1 << 16;
    result->frames.reserve(kExpectedFrames);
    InstallPassProbe();
    bool firstFrame = true;
    long stopSceneFrames = 0;
    bool probingPasses = false;
    while (IsGameRunning()) {
        SteerBossFight(settings);
        if (probingPasses) {
            PassFrame passes;
            const FrameRecord record = RunMeasuredFrame(settings, &passes);
            if (record.scene != settings.stopScene) {
                RequestQuit();
                continue;
            }
            result->passFrames.push_back(passes);
            if (static_cast<long>(result->passFrames.size()) >= settings.passFrames) {
                RequestQuit();
            }
            continue;
        }
        result->frames.push_back(RunMeasuredFrame(settings, nullptr));
        if (firstFrame) {
            result->startupNs = MonotonicNs() - settings.spawnNs;
            result->startupCpuNs = ProcessCpuNs();
            firstFrame = false;
        }
        if (!settings.stopScene.empty() && result->frames.back().scene == settings.stopScene &&
            ++stopSceneFrames >= settings.stopSceneFrames) {
            probingPasses = settings.passFrames > 0;
            if (!probingPasses) {
                RequestQuit();
            }
        }
    }
    if (settings.postPassRounds > 0) {
        TimePostPasses(settings.postPassRounds, result);
    }
    CloseGame();
    return true;
}
