#include "levels/StateEnd.h"

#include <cmath>
#include <string>

#include "actors/Player.h"
#include "base/Log.h"
#include "audio/Audio.h"
#include "frontend/GameStateManager.h"
#include "frontend/StateFactory.h"
#include "frontend/StateManager.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/ParticleSystem.h"
#include "graphics/PostProcess.h"
#include "levels/Cinematics.h"
#include "levels/LevelFile.h"
#include "levels/StateLevelBoss.h"
#include "physics/Rigidbody.h"
#include "platform/FrameClock.h"
#include "scene/SceneManager.h"

#include "actors/GOGranny.h"
#include "frontend/GOTransitionScreen.h"
#include "frontend/StateMainMenu.h"
#include "levels/LevelSpawn.h"
#include "resources/ResourceLoader.h"

DialogueRequest diredVoice;
DialogueRequest lirraVoice;

namespace {

const Vector3 kLirraStart(29.0f, 3.0f, 0.0f);
const Vector3 kDiredAt(-5.5f, 2.0f, 7.0f);
const Vector3 kLookAlikeAt(-9.0f, 2.0f, 0.0f);
constexpr float kCameraHeight = 2.1f;
constexpr float kCameraStopX = 27.0f;
constexpr float kCameraZoom = 0.55f;
constexpr float kWalkTimeScale = 0.4f;
constexpr float kHomeTimeScale = 0.2f;
constexpr float kSettleTime = 0.5f;
constexpr float kFadeGammaEnd = 5.0f;
constexpr float kFreeControlsAfter = 2.0f;
constexpr float kSettleRate = 0.3f;
// The walk home's script, in seconds: Lirra calls out, Dired answers from the house; after Dired's
// praise Lirra asks, and the ground shakes a moment after Dired turns.
constexpr float kLirraCallsAfter = 2.0f;
constexpr float kDiredAnswersAfter = 4.5f;
constexpr float kLirraAsksAfter = 0.5f;
constexpr float kShakeAfterDiredTurns = 0.65f;

// Where Dired speaks from as Lirra walks past each mark, by script step.
struct Remark {
    int step;
    float belowX;
    const char* text;
};

const Remark kRemarks[] = {
    {2, 18.0f, "I'll be making APPLE PIE in a while!"},
    {3, 13.0f, "It must've been tiring, isn't it?"},
    {4, 8.0f, "Souls are not easy to harvest, aren't they?"},
    {5, 3.0f, "They talk a little too much sometimes..."},
};

float MoveTowards(float value, float goal) {
    return value + (goal - value) * kSettleRate;
}

Vector3 CameraPosition() {
    return GetCamera().GetPosition();
}

// Dired's lines hang below the camera's centre, a little to the left of it.
Vector3 BelowCamera(float left) {
    const Vector3 camera = CameraPosition();
    return camera - Vector3(left, 2.5f * camera.y, 0.0f);
}

float LirraX() {
    return GetPlayer().GetTransform().GetPosition().x;
}

void Show(const DialogueRequest& line) {
    ShowDialogue(line, true);
}

// Each line of credits is 32 characters wide, the width the credits panel types per line.
std::string CentredLine(const std::string& text) {
    constexpr size_t kWidth = 32;
    if (text.size() >= kWidth) {
        return text.substr(0, kWidth);
    }
    const size_t left = (kWidth - text.size()) / 2;
    return std::string(left, ' ') + text + std::string(kWidth - text.size() - left, ' ');
}

std::string BuildCredits() {
    const char* const lines[] = {
        "Brelmor School of Games",
        "presents",
        "",
        "A Lantern Moth Production",
        "",
        "L I R R A",
        "",
        "(c) 2026 Lantern Moth",
        "All rights reserved.",
        "",
        "PRODUCER",
        "Maren Quill",
        "",
        "GAME DESIGN",
        "Tobin Ashgrove",
        "Maren Quill",
        "",
        "PROGRAMMING",
        "Ilse Farrow",
        "Tobin Ashgrove",
        "Pell Carrow",
        "",
        "ART AND ANIMATION",
        "Juno Bramblewood",
        "Sefa Lindqvist",
        "",
        "LEVEL DESIGN",
        "Pell Carrow",
        "Ilse Farrow",
        "",
        "MUSIC AND SOUND",
        "Orrin Vale",
        "",
        "SPECIAL THANKS",
        "Our families and friends",
        "Every playtester",
        "",
        "BUILT WITH",
        "GLFW  GLEW  SOIL  FreeType",
        "glm  Dear ImGui",
        "",
        "INSTRUCTORS",
        "Dr. Wren Halloway",
        "Cass Merriwether",
        "",
        "PRESIDENT",
        "Aldous Penhallow",
        "",
        "EXECUTIVES",
        "Lioba Stern",
        "Marcus Fenwright",
        "",
        "AUDIO",
        "OpenAL Soft and Ogg Vorbis",
        "",
        "",
        "Thank you for playing!",
        "",
        "",
        "====End====",
    };
    std::string text;
    for (const char* line : lines) {
        text += CentredLine(line);
        text += '\n';
    }
    // The roll ends on its closing line itself, not on the padding after it.
    text.erase(text.find_last_not_of(" \n") + 1);
    return text;
}

// The main menu reached from the credits: a black screen over it slides away to the left; it is
// started by the menu's own load, after the ending's objects were put away, so it is seen.
class StateMainMenuAfterEnding : public StateMainMenu {
public:
    void Load() override {
        StateMainMenu::Load();
        GOTransitionScreen* screen = GetScene().GetTransitionScreen();
        screen->SetFrom(2);
        screen->SetTo(0);
        screen->SetActive(true);
        screen->SetOnFinished([](GOTransitionScreen* finished) { finished->SetActive(false); });
    }
};

}  // namespace

const char* GetCreditsText() {
    static const std::string credits = BuildCredits();
    return credits.c_str();
}

void StateEnd::Load() {
    tiles.clear();
    if (LoadLevelFile("ending.env", &tiles, nullptr)) {
        Log("end level loaded!\n");
    } else {
        Log("Failed to load end level!!\n");
    }
    SpawnFromMarkers();

    Player& lirra = GetPlayer();
    lirra.Init();
    lirra.SetActive(true);
    lirra.GetTransform().SetPosition(kLirraStart);
    lirra.SetJumpDisabled(true);
    lirra.SetInputLocked(true);
    lirra.localTimeScale = kWalkTimeScale;
    GetCamera().SetZoom(kCameraZoom);
    step = 0;
    sinceLoad = waitTimer = homeTimer = fadeTimer = 0.0f;
    lineShown = false;
    controlsFreed = false;

    PlaceDired();
    PlaceLookAlike();
    PrepareVoices();

    SetBloomEnabled(false);
    exposure = GetExposure();
    gamma = GetGamma();
    bloomIntensity = GetBloomIntensity();
    PlayAudio(MENU_BGM, 0.1f, true, 1.0f);
}

void StateEnd::PlaceDired() {
    GOGranny* granny = dynamic_cast<GOGranny*>(dired);
    if (granny == nullptr) {
        granny = GetScene().GetInteractable<GOGranny>(INTERACTABLE_DIRED);
        dired = granny;
    }
    if (granny == nullptr) {
        return;
    }
    granny->SetTarget(kTargetNoPrompt);
    granny->SetActive(true);
    granny->GetTransform().SetPosition(kDiredAt);
    // Mirrored: she faces Lirra coming home from the right.
    granny->GetTransform().SetScale(-3.0f, 3.0f, 1.0f);
}

// The girl who takes Lirra's place, asleep at the end of the path.
void StateEnd::PlaceLookAlike() {
    lookAlike = GetScene().GetGameObject(KIND_ENDING_FIGURE);
    lookAlike->FreeComponents();
    lookAlike->GetTransform().SetPosition(kLookAlikeAt);
    lookAlike->GetTransform().SetScale(3.0f, 3.0f, 1.0f);
    AnimationRenderer* animation = lookAlike->AddComponent<AnimationRenderer>();
    animation->AddClip(TextureId::LirraIdle, 3, 0.2f);
    animation->SetClip(TextureId::LirraIdle);
    lookAlike->SetActive(true);
}

void StateEnd::PrepareVoices() {
    diredVoice = DialogueRequest();
    diredVoice.name = "Dired";
    diredVoice.nameColor = Vector3(1.0f, 0.0f, 0.0f);
    diredVoice.offset = Vector2(0.0f, 40.0f);
    diredVoice.panelAlpha = 0.6f;
    diredVoice.textScale = 0.6f;
    diredVoice.nameScale = 0.8f;
    diredVoice.size = Vector2(400.0f, 80.0f);
    diredVoice.worldAnchored = true;
    diredVoice.position = BelowCamera(0.0f);

    lirraVoice = DialogueRequest();
    lirraVoice.name = "Lirra";
    lirraVoice.nameColor = Vector3(1.0f, 0.0f, 1.0f);
    lirraVoice.offset = Vector2(0.0f, 20.0f);
    lirraVoice.panelAlpha = 0.6f;
    lirraVoice.textScale = 0.4f;
    lirraVoice.nameScale = 0.8f;
    lirraVoice.size = Vector2(100.0f, 80.0f);
    lirraVoice.follow = &GetPlayer().GetTransform().position;
    lirraVoice.onFinish = [] { Log("My Player Dialog has been closed!\n"); };
}

void StateEnd::Update() {
    if (GetGameStateManager().IsMenuOpen()) {
        return;
    }
    const float dt = GetDeltaTime();
    sinceLoad += dt;
    Player& lirra = GetPlayer();
    if (sinceLoad >= kSettleTime) {
        if (Rigidbody* body = lirra.GetComponent<Rigidbody>()) {
            body->airborne = false;
        }
    }
    lirraVoice.follow = &lirra.GetTransform().position;
    FadeIn(dt);
    RunScript(dt);
}

// Back from the boss level's white-out; two seconds after the picture settles Lirra may walk.
void StateEnd::FadeIn(float dt) {
    if (gamma > kFadeGammaEnd) {
        exposure -= kWhiteOutExposureRate * dt;
        gamma -= kWhiteOutGammaRate * dt;
        bloomIntensity -= kWhiteOutBloomRate * dt;
    } else {
        fadeTimer += dt;
        if (fadeTimer >= kFreeControlsAfter && !controlsFreed) {
            controlsFreed = true;
            GetPlayer().SetInputLocked(false);
        }
        exposure = MoveTowards(exposure, kStandardExposure);
        gamma = MoveTowards(gamma, kStandardGamma);
        bloomIntensity = MoveTowards(bloomIntensity, kStandardBloomIntensity);
    }
    SetExposure(exposure);
    SetGamma(gamma);
    SetBloomIntensity(bloomIntensity);
}

void StateEnd::SayDired(const char* text, const Vector3& offsetFromCamera) {
    diredVoice.position = CameraPosition() - offsetFromCamera;
    DialogueRequest line = diredVoice;
    line.text = text;
    Show(line);
}

void StateEnd::SayLirra(const char* text) {
    DialogueRequest line = lirraVoice;
    line.text = text;
    Show(line);
}

void StateEnd::RunScript(float dt) {
    if (step <= 6) {
        WalkHome(dt);
    } else {
        Revelation(dt);
    }
}

// Dired's remarks come at fixed marks of the path; `step` only grows, so each comes once.
void StateEnd::WalkHome(float dt) {
    const float y = 2.5f * CameraPosition().y;
    switch (step) {
    case 0:
        if (LirraX() < kLirraStart.x) {
            PlayCinematic(1, std::make_unique<CinLines>(CameraPosition(), 11.0f, 0.7f, kDiredAnswersAfter, false));
            GetPlayer().localTimeScale = kHomeTimeScale;
            step = 1;
        }
        break;
    case 1:
        waitTimer += dt;
        homeTimer += dt;
        if (homeTimer >= kLirraCallsAfter && !lineShown) {
            SayLirra("Dired, I'm homeee!");
            lineShown = true;
        }
        if (waitTimer >= kDiredAnswersAfter) {
            SayDired("My dear, hello there!", Vector3(2.0f, y, 0.0f));
            waitTimer = 0.0f;
            lineShown = false;
            step = 2;
        }
        break;
    case 2:
    case 3:
    case 4:
    case 5:
        for (const Remark& remark : kRemarks) {
            if (remark.step == step && LirraX() < remark.belowX) {
                SayDired(remark.text, Vector3(3.0f, y, 0.0f));
                step = remark.step + 1;
                break;
            }
        }
        break;
    case 6:
        if (LirraX() < -3.0f && !lineShown) {
            PlayCinematic(2, std::make_unique<CinZoom>(-0.05f, 3.0f, 1.0f),
                          std::make_unique<CinLines>(CameraPosition(), 11.0f, -0.05f, 3.0f, true));
            diredVoice.onFinish = [this] { AdvanceStep(); };
            SayDired("Well done on your first collection", Vector3(1.0f, y, 0.0f));
            GetPlayer().SetInputLocked(true);
            lineShown = true;
        }
        break;
    default:
        break;
    }
}

// From Dired's praise to the credits: even steps act at once and move to the odd step that
// waits; the line's close action then moves on to the next even step.
void StateEnd::Revelation(float dt) {
    switch (step) {
    case 7:
        if (lineShown) {
            waitTimer += dt;
            if (waitTimer >= kLirraAsksAfter) {
                diredVoice.onFinish = nullptr;
                lirraVoice.onFinish = [this] { AdvanceStep(); };
                SayLirra("Dired...?");
                waitTimer = 0.0f;
                lineShown = false;
            }
        }
        break;
    case 8: {
        StopAllSounds();
        PlayAudio(BOSS_BGM, 0.1f, true, 1.0f);
        if (dired != nullptr) {
            // Now she turns to face Lirra.
            dired->GetTransform().SetScale(3.0f, 3.0f, 1.0f);
            diredVoice.follow = &dired->GetTransform().position;
            diredVoice.worldAnchored = false;
        }
        diredVoice.textScale = 0.4f;
        diredVoice.offset = Vector2(10.0f, 20.0f);
        diredVoice.size = Vector2(100.0f, 80.0f);
        DialogueRequest first = diredVoice;
        first.text = "Lirra!!";
        DialogueRequest second = diredVoice;
        second.text = "You're earlier than expected...";
        ChainDialogue(first, second, 1.0f);
        Show(first);
        waitTimer = 0.0f;
        step = 9;
        break;
    }
    case 9:
        waitTimer += dt;
        if (waitTimer >= kShakeAfterDiredTurns) {
            PlayCinematic(1, std::make_unique<CinShake>(0.1f, 0.3f, false));
            step = 10;
        }
        break;
    case 10:
        // Dired finishes what she is saying before Lirra answers.
        if (!IsDialogueVisible()) {
            SayLirra("Who's...");
            step = 11;
        }
        break;
    case 12:
        diredVoice.onFinish = [this] { AdvanceStep(); };
        step = 13;
        SayDired("This isn't something you should know", Vector3(0.0f, 0.0f, 0.0f));
        break;
    case 14:
        PlayCinematic(1, std::make_unique<CinShake>(0.15f, 0.3f, false));
        step = 15;
        SayLirra("What..? NO!!");
        break;
    case 16:
        step = 17;
        SayDired("It's time for you to forget it all...", Vector3(0.0f, 0.0f, 0.0f));
        break;
    case 18:
        PlayCinematic(1, std::make_unique<CinShake>(0.15f, 0.3f, false));
        PlayCinematic(1, std::make_unique<CinLines>(CameraPosition(), 11.0f, 1.3f, 5.0f, false));
        step = 19;
        SayLirra("DIRED, NO!!");
        break;
    case 20:
        step = 21;
        SayDired("Chant: It's all a bad dream...", Vector3(0.0f, 0.0f, 0.0f));
        break;
    case 22: {
        DialogueRequest noname;
        noname.name = "Noname";
        noname.nameColor = Vector3(1.0f, 0.0f, 0.0f);
        noname.offset = Vector2(0.0f, 40.0f);
        noname.panelAlpha = 0.0f;
        noname.textScale = 0.6f;
        noname.nameScale = 0.8f;
        noname.size = Vector2(400.0f, 80.0f);
        noname.worldAnchored = true;
        noname.position = CameraPosition() - Vector3(0.0f, 5.0f, 0.0f);
        noname.onFinish = [this] { AdvanceStep(); };
        DialogueRequest lines[3] = {noname, noname, noname};
        lines[0].text = "Dired?";
        lines[1].text = "Who's Lirra?";
        lines[2].text = "She looks just like me...";
        ChainDialogue(lines[1], lines[2], 1.0f);
        ChainDialogue(lines[0], lines[1], 1.0f);
        step = 23;
        Show(lines[0]);
        break;
    }
    case 26:
        step = 27;
        ShowCredits();
        break;
    case 28:
        ReturnToMainMenu();
        step = 29;
        break;
    default:
        break;
    }
}

void StateEnd::ShowCredits() {
    DialogueRequest credits;
    credits.name = "Credits";
    credits.text = GetCreditsText();
    credits.nameColor = Vector3(1.0f, 0.0f, 0.0f);
    credits.offset = Vector2(-100.0f, 150.0f);
    credits.textOffset = Vector2(0.0f, 50.0f);
    credits.speed = 10.0f;
    credits.autoClose = 5.0f;
    credits.panelAlpha = 0.0f;
    credits.textScale = 0.4f;
    credits.nameScale = 1.2f;
    credits.size = Vector2(250.0f, 400.0f);
    credits.worldAnchored = true;
    credits.position = CameraPosition() - Vector3(0.0f, 5.0f, 0.0f);
    credits.onFinish = [this] { AdvanceStep(); };
    Show(credits);
}

void StateEnd::ReturnToMainMenu() {
    SetState(std::make_unique<StateMainMenuAfterEnding>());
}

void StateEnd::Render() {
    BeginScene();
    ClearScene();
    PrepareSceneShader();
    Camera& camera = GetCamera();
    const Vector3 lirra = GetPlayer().GetTransform().GetPosition();
    const Vector3 at = camera.GetPosition();
    if (lirra.x > kCameraStopX) {
        camera.SetPosition(Vector3(kCameraStopX, kCameraHeight, lirra.z));
    } else {
        camera.SetPosition(Vector3(at.x + (lirra.x - at.x) * 0.5f, kCameraHeight, at.z));
    }
    DrawBackground(BACKGROUND_FOREST);
}

void StateEnd::Unload() {
    GetParticleSystem().Clear();
    Player& lirra = GetPlayer();
    lirra.localTimeScale = 1.0f;
    lirra.SetJumpDisabled(false);
    lirra.SetActive(false);
    StopAllSounds();
}
