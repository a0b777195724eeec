#include "levels/LevelStateCommon.h"

#include <vector>

#include "actors/GOMushroom.h"
#include "actors/Player.h"
#include "base/Log.h"
#include "audio/Audio.h"
#include "frontend/GameStateManager.h"
#include "graphics/AnimationRenderer.h"
#include "graphics/Background.h"
#include "graphics/Camera.h"
#include "graphics/PostProcess.h"
#include "levels/Dialogue.h"
#include "levels/LevelFile.h"
#include "resources/ResourceLoader.h"
#include "scene/SceneManager.h"

namespace {

constexpr float kCameraFollow = 0.5f;
// A held camera keeps still while Lirra stays in this middle part of the picture.
constexpr float kHeldCameraRoom = 0.5f;
constexpr float kChainDelay = 1.0f;
const Vector3 kLirraNameColor(1.0f, 0.0f, 1.0f);
const Vector3 kKeyHintScale(1.5f, 1.5f, 1.0f);

}  // namespace

const LirraLineBox kSmallLineBox{Vector2(0.0f, 40.0f), Vector2(200.0f, 80.0f)};
const LirraLineBox kLargeLineBox{Vector2(0.0f, 100.0f), Vector2(250.0f, 150.0f)};

DialogueRequest LirraLine(const std::string& text, const LirraLineBox& box) {
    DialogueRequest line;
    line.name = "Lirra";
    line.text = text;
    line.nameColor = kLirraNameColor;
    line.panelAlpha = 0.6f;
    line.textScale = 0.6f;
    line.nameScale = 0.8f;
    line.offset = box.offset;
    line.size = box.size;
    line.follow = &GetPlayer().GetTransform().position;
    line.onFinish = [] { Log("My Player Dialog has been closed!\n"); };
    return line;
}

// Chained from the last line back, so every line carries the whole rest of the conversation.
void ShowLirraLines(std::initializer_list<const char*> texts, const LirraLineBox& box) {
    std::vector<DialogueRequest> lines;
    for (const char* text : texts) {
        lines.push_back(LirraLine(text, box));
    }
    if (lines.empty()) {
        return;
    }
    for (size_t i = lines.size() - 1; i > 0; --i) {
        ChainDialogue(lines[i - 1], lines[i], kChainDelay);
    }
    ShowDialogue(lines.front(), true);
}

bool LoadLevelTiles(const char* file, const char* loadedMessage, std::vector<GOTile*>* tiles) {
    tiles->clear();
    const bool loaded = LoadLevelFile(file, tiles, nullptr);
    Log("%s", loaded ? loadedMessage : "Failed to load level!!\n");
    return loaded;
}

void PlaceLirra(const Vector3& start) {
    Player& lirra = GetPlayer();
    lirra.Init();
    lirra.SetActive(true);
    lirra.GetTransform().SetPosition(start);
}

GOMushroom* PlaceExitMushroom(GOMushroom* kept, const Vector3& position, const Vector3* scale, int target) {
    GOMushroom* mushroom = kept != nullptr ? kept : GetScene().GetInteractable<GOMushroom>(INTERACTABLE_PORTAL);
    if (mushroom == nullptr) {
        Log("No exit mushroom could be placed!\n");
        return nullptr;
    }
    mushroom->GetTransform().SetPosition(position);
    if (scale != nullptr) {
        mushroom->GetTransform().SetScale(*scale);
    }
    mushroom->SetTarget(target);
    mushroom->SetActive(true);
    return mushroom;
}

GameObject* PlaceKeyHint(TextureId texture, const Vector3& position) {
    GameObject* hint = GetScene().GetGameObject(KIND_INTERACT_POPUP);
    AnimationRenderer* animation = hint->GetComponent<AnimationRenderer>();
    if (animation == nullptr) {
        animation = hint->AddComponent<AnimationRenderer>();
    }
    animation->ClearClips();
    animation->AddClip(texture, kKeyHintFrames, kKeyHintFrameTime);
    animation->SetClip(texture);
    animation->Restart();
    hint->GetTransform().SetScale(kKeyHintScale);
    hint->GetTransform().SetPosition(position);
    hint->SetActive(true);
    return hint;
}

void StartLevelLook() {
    SetBloomEnabled(true);
    SetExposure(kStandardExposure);
    SetGamma(kStandardGamma);
    SetBloomIntensity(kStandardBloomIntensity);
    PlayAudio(GAMEPLAY_BGM, 0.1f, true, 1.0f);
}

void UnloadLevel() {
    GetPlayer().SetActive(false);
    StopAllSounds();
}

void BeginLevelRender() {
    BeginScene();
    ClearScene();
    PrepareSceneShader();
}

void DrawLevelBackground() {
    DrawBackground(BACKGROUND_FOREST);
}

void FollowLirra() {
    Camera& camera = GetCamera();
    const Vector3 at = camera.GetPosition();
    const Vector3 lirra = LirraPosition();
    camera.SetPosition(Vector3(at.x + (lirra.x - at.x) * kCameraFollow, at.y + (lirra.y - at.y) * kCameraFollow, at.z));
}

void HoldCameraOnLirra() {
    if (!GetCamera().Shows(LirraPosition(), kHeldCameraRoom)) {
        FollowLirra();
    }
}

Vector3 LirraPosition() {
    return GetPlayer().GetTransform().GetPosition();
}

bool LevelPaused() {
    return GetGameStateManager().IsMenuOpen();
}
