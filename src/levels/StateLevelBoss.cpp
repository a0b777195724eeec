#include "levels/StateLevelBoss.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "actors/Boss.h"
#include "actors/GOWind.h"
#include "actors/Player.h"
#include "base/Log.h"
#include "audio/Audio.h"
#include "frontend/GameStateManager.h"
#include "frontend/StateFactory.h"
#include "frontend/StateManager.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/PostProcess.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "levels/LevelFile.h"
#include "levels/LevelSpawn.h"
#include "platform/FrameClock.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneManager.h"

namespace {

const Vector3 kBossOrigin(0.0f, -10.5f, -6.0f);
const Vector3 kLirraStart(0.0f, -3.0f, 0.0f);
constexpr float kCameraFollow = 0.5f;
constexpr float kOutroPan = 0.03f;
constexpr int kLastWordLines = 6;
// The view takes in the whole arena, from the floor to the hands at rest, so that every wind-up
// is seen before it strikes: the camera never sinks below this height.
constexpr float kArenaZoom = 1.15f;
constexpr float kLowestCameraY = -9.0f;

// Both speakers share one style: magenta names over a small panel that follows Lirra.
DialogueRequest BossLevelLine(const char* speaker, const char* text) {
    DialogueRequest line;
    line.name = speaker;
    line.text = text;
    line.nameColor = Vector3(1.0f, 0.0f, 1.0f);
    line.offset = Vector2(0.0f, 40.0f);
    line.size = Vector2(200.0f, 80.0f);
    line.panelAlpha = 0.6f;
    line.textScale = 0.6f;
    line.nameScale = 0.8f;
    line.follow = &GetPlayer().GetTransform().position;
    line.onFinish = [] { Log("My Player Dialog has been closed!\n"); };
    return line;
}

// Shows the first line; each hands over to the next once it has been read.
void ShowChain(std::vector<DialogueRequest> lines) {
    if (lines.empty()) {
        return;
    }
    for (size_t i = lines.size() - 1; i > 0; --i) {
        ChainDialogue(lines[i - 1], lines[i], 1.0f);
    }
    ShowDialogue(lines.front(), true);
}

void ShowSpeakerChain(const char* speaker, std::initializer_list<const char*> texts) {
    std::vector<DialogueRequest> lines;
    for (const char* text : texts) {
        lines.push_back(BossLevelLine(speaker, text));
    }
    ShowChain(lines);
}

Vector3 CameraPosition() {
    return GetCamera().GetPosition();
}

}  // namespace

void StateLevelBoss::Load() {
    tiles.clear();
    winds.clear();
    enemies.clear();
    script = Script{};
    if (LoadLevelFile("levelboss.env", &tiles, nullptr)) {
        Log("Level Boss loaded!\n");
    } else {
        Log("Failed to load level!!\n");
    }
    Player& lirra = GetPlayer();
    lirra.Init();
    lirra.SetActive(true);
    lirra.GetTransform().SetPosition(kLirraStart);
    SpawnFromMarkers();

    GetBoss().Start(kBossOrigin, &enemies);
    SpawnWindColumns();
    GetCamera().SetZoom(kArenaZoom);

    SetBloomEnabled(true);
    SetExposure(script.exposure);
    SetGamma(script.gamma);
    SetBloomIntensity(script.bloomIntensity);
    PlayAudio(BOSS_BGM, 0.1f, true, 1.0f);
}

// Two updrafts frame the arena; gliding into one carries Lirra up to the hands' rest height.
void StateLevelBoss::SpawnWindColumns() {
    for (const float x : {8.0f, -8.0f}) {
        GOWind* wind = GetScene().GetWind();
        wind->GetTransform().SetScale(5.0f, 15.0f, 0.0f);
        wind->GetTransform().SetPosition(x, -8.5f, 3.0f);
        wind->windDirection = WIND_NORTH;
        wind->SetActive(true);
        wind->Init();
        winds.push_back(wind);
    }
}

void StateLevelBoss::Update() {
    if (GetGameStateManager().IsMenuOpen()) {
        return;
    }
    if (GetPlayer().GetTransform().GetPosition().y <= kBossFallLimit) {
        SetState(std::make_unique<StateLevelBoss>());
    }
    RunPhaseLines(GetBoss().GetPhase());
    RunOutro();
    GetBoss().Update();
}

void StateLevelBoss::RunPhaseLines(int phase) {
    if (phase == BOSS_APPEARING && !script.introShown) {
        script.introShown = true;
        ShowSpeakerChain("Lirra", {"Oh hello! Could you be...      Rovevoz?", "You are...      B. I. G!!!",
                                   "Granny told me to come get your soul... So...", "Could you hand it over?",
                                   "Hey! You don't have to be such a BIG MEANIE ABOUT IT!"});
    }
    if (phase == BOSS_PHASE_2 && !script.phase2Shown) {
        script.phase2Shown = true;
        ShowSpeakerChain("Rovevoz", {"... y O u ...", "... s H o ... u L d ...", "... l e A v E ...",
                                     "... w H i L e ...", "Y O U C A N !"});
    }
    if (phase == BOSS_PHASE_3 && !script.phase3Shown) {
        script.phase3Shown = true;
        ShowSpeakerChain("Lirra", {"Take THAT!", "I'll show you not to mess with ME!", "I MIGHT be small...",
                                   "But that...", "DOES NOT MEAN    YOU CAN BULLY    ME!"});
    }
    if (phase == BOSS_DEFEATED && !script.bossDown) {
        script.bossDown = true;
        PlayCinematic(2, std::make_unique<CinZoom>(0.1f, 3.0f, 1.0f),
                      std::make_unique<CinLines>(CameraPosition(), 13.0f, -1.3f, 3.0f, true));
        Player& lirra = GetPlayer();
        lirra.state = PLAYER_IDLE;
        lirra.SetInputLocked(true);
    }
}

// Rovevoz's six last lines, each counting one step of the outro as it hands over or closes.
void StateLevelBoss::StartLastWords() {
    script.lastWordsStarted = true;
    PlayCinematic(1, std::make_unique<CinLines>(CameraPosition(), 11.0f, 1.3f, 2.5f, false));
    const Vector3 camera = CameraPosition();
    std::vector<DialogueRequest> lines;
    for (const char* text :
         {"... this fight might be over ...", "... my life at its eNd ...", "... but let me Offer you ...",
          "... oNe ... fiNAl ... advice ...", "... BE ... WARE ...", "..."}) {
        DialogueRequest line = BossLevelLine("Rovevoz", text);
        line.size = Vector2(400.0f, 80.0f);
        line.follow = nullptr;
        line.worldAnchored = true;
        line.position = camera + Vector3(0.0f, camera.y / 2.0f, 0.0f);
        line.onFinish = [this] { ++script.outroStep; };
        lines.push_back(line);
    }
    static_assert(kLastWordLines == 6, "the outro counts one step per last line");
    ShowChain(lines);
}

void StateLevelBoss::RunOutro() {
    if (script.bossDown && script.outroTimer < 0.0f && !script.lastWordsStarted) {
        StartLastWords();
    }
    if (script.outroStep == kLastWordLines) {
        PlayCinematic(1, std::make_unique<CinLines>(CameraPosition(), 11.0f, -1.3f, 5.0f, true));
        script.outroStep = 7;
    }
    if (script.outroStep == 7) {
        const float dt = GetDeltaTime();
        script.exposure += kWhiteOutExposureRate * dt;
        script.gamma += kWhiteOutGammaRate * dt;
        script.bloomIntensity += kWhiteOutBloomRate * dt;
        SetExposure(script.exposure);
        SetGamma(script.gamma);
        SetBloomIntensity(script.bloomIntensity);
        if (script.gamma >= kWhiteOutGamma) {
            script.outroStep = 8;
        }
    }
    if (script.outroStep == 8) {
        SetState(CreateState(STATE_LEVEL_END));
        script.outroStep = 9;
    }
}

void StateLevelBoss::Render() {
    BeginScene();
    ClearScene();
    PrepareSceneShader();
    Camera& camera = GetCamera();
    if (!cinematicPlaying) {
        const Vector3 at = camera.GetPosition();
        if (script.bossDown) {
            camera.SetPosition(
                Vector3(at.x + (kBossOrigin.x - at.x) * kOutroPan, at.y + (kBossOrigin.y - at.y) * kOutroPan, at.z));
            script.outroTimer -= GetDeltaTime();
        } else {
            const Vector3 lirra = GetPlayer().GetTransform().GetPosition();
            camera.SetPosition(
                Vector3(at.x + (lirra.x - at.x) * kCameraFollow, at.y + (lirra.y - at.y) * kCameraFollow, at.z));
        }
    }
    // A shake centres on Lirra; the view still keeps the hands in sight.
    if (!script.bossDown && camera.GetPosition().y < kLowestCameraY) {
        const Vector3 at = camera.GetPosition();
        camera.SetPosition(Vector3(at.x, kLowestCameraY, at.z));
    }
    DrawBackground(BACKGROUND_FOREST);
}

// The ending, and a fresh fight after a fall, begin without the souls gathered here.
void StateLevelBoss::Unload() {
    Player& lirra = GetPlayer();
    lirra.SetActive(false);
    lirra.souls.clear();
    savedSoulKinds.clear();
    // The piece list goes with this state; the boss must not reach it afterwards.
    GetBoss().enemies = nullptr;
    enemies.clear();
    StopAllSounds();
}
