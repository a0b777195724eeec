#include "automation/Trace.h"

#include <cstdio>

#include "actors/Boss.h"
#include "actors/GOEnemy.h"
#include "actors/GOInteractable.h"
#include "actors/GOSoul.h"
#include "actors/Player.h"

#include "automation/JsonLine.h"
#include "frontend/GOTransitionScreen.h"
#include "frontend/GameStateManager.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "graphics/Camera.h"
#include "graphics/ParticleSystem.h"
#include "graphics/PostProcess.h"
#include "levels/Cinematics.h"
#include "levels/Dialogue.h"
#include "physics/Rigidbody.h"
#include "platform/FrameClock.h"
#include "scene/SceneManager.h"

namespace {

FILE* traceFile = nullptr;
JsonLine line;

void WriteMenu() {
    const GameStateManager& menus = GetGameStateManager();
    line.BeginObject("menu");
    line.Int("id", menus.GetCurrentId());
    const int selected = menus.GetSelected();
    if (menus.IsMenuOpen() && selected >= 0) {
        line.Int("selected", selected);
    } else {
        line.Null("selected");
    }
    line.EndObject();
}

void WritePlayer() {
    const Player& player = GetPlayer();
    const Vector3 position = player.GetTransform().GetPosition();
    const Rigidbody* body = player.GetComponent<Rigidbody>();
    line.BeginObject("player");
    line.Bool("active", player.IsActive());
    line.Float("x", position.x);
    line.Float("y", position.y);
    if (body != nullptr) {
        line.Float("vx", body->velocity.x);
        line.Float("vy", body->velocity.y);
    } else {
        line.Null("vx");
        line.Null("vy");
    }
    line.Int("state", player.state);
    line.Float("health", player.GetHealth());
    if (body != nullptr) {
        line.Bool("airborne", body->airborne);
        line.Bool("gliding", body->gliding);
    } else {
        line.Null("airborne");
        line.Null("gliding");
    }
    line.Int("facingRight", player.facingRight);
    line.Int("attackPower", player.GetAttackPower());
    line.Bool("invulnerable", player.invulnerable);
    line.Bool("inputLocked", player.inputLocked);
    line.Bool("jumpDisabled", player.jumpDisabled);
    line.Float("timeScale", player.localTimeScale);
    line.BeginArray("souls");
    for (const GOSoul* soul : player.souls) {
        line.Int(nullptr, soul->GetKind());
    }
    line.EndArray();
    line.EndObject();
}

void WriteCamera() {
    const Camera& camera = GetCamera();
    line.BeginObject("camera");
    line.Float("x", camera.GetPosition().x);
    line.Float("y", camera.GetPosition().y);
    line.Float("zoom", camera.GetZoom());
    line.Float("shake", CurrentCameraShake());
    line.EndObject();
}

void WriteDialogue() {
    line.BeginObject("dialogue");
    const bool visible = IsDialogueVisible();
    line.Bool("visible", visible);
    if (visible) {
        line.String("name", GetDialogue().name.c_str());
        line.String("shown", GetDialogue().shown.c_str());
    } else {
        line.Null("name");
        line.Null("shown");
    }
    line.EndObject();
}

void WriteEnemies() {
    line.BeginArray("enemies");
    for (const GOEnemy* enemy : GetScene().GetEnemyPool().GetObjects()) {
        if (!enemy->IsActive()) {
            continue;
        }
        const Vector3 position = enemy->GetTransform().GetPosition();
        line.BeginObject();
        line.Int("kind", enemy->enemyKind);
        line.Float("x", position.x);
        line.Float("y", position.y);
        line.Int("health", enemy->health);
        line.String("state", enemy->GetStateName());
        line.EndObject();
    }
    line.EndArray();
}

void WriteInteractables() {
    line.BeginArray("interactables");
    for (const GOInteractable* interactable : GetScene().GetInteractablePool().GetObjects()) {
        if (!interactable->IsActive()) {
            continue;
        }
        const Vector3 position = interactable->GetTransform().GetPosition();
        line.BeginObject();
        line.Int("type", interactable->interactableType);
        line.Float("x", position.x);
        line.Float("y", position.y);
        line.Int("target", interactable->target);
        line.EndObject();
    }
    line.EndArray();
}

void WriteBoss() {
    const State* state = GetCurrentState();
    if (state == nullptr || state->GetId() != STATE_BOSS) {
        line.Null("boss");
        return;
    }
    const Boss& boss = GetBoss();
    line.BeginObject("boss");
    line.Int("phase", boss.GetPhase());
    line.Int("health", boss.GetHealth());
    line.EndObject();
}

void WriteBloom() {
    line.BeginObject("bloom");
    line.Bool("enabled", IsBloomEnabled());
    line.Float("exposure", GetExposure());
    line.Float("gamma", GetGamma());
    line.Float("intensity", GetBloomIntensity());
    line.EndObject();
}

}  // namespace

bool OpenTrace(const std::string& path) {
    traceFile = std::fopen(path.c_str(), "w");
    return traceFile != nullptr;
}

const std::string& BuildTraceLine(long frame) {
    const State* state = GetCurrentState();
    line.Clear();
    line.BeginObject();
    line.Int("frame", frame);
    line.Float("t", GetScaledTotalTime());
    line.Float("dt", GetDeltaTime());
    if (state != nullptr) {
        line.String("state", state->GetName());
    } else {
        line.Null("state");
    }
    WriteMenu();
    WritePlayer();
    WriteCamera();
    WriteDialogue();
    WriteEnemies();
    WriteInteractables();
    WriteBoss();
    line.Bool("transition", transitionActive);
    line.Bool("cinematic", IsCinematicPlaying());
    line.Bool("console", state != nullptr && state->IsConsoleOpen());
    line.Int("objects", static_cast<long>(GetScene().CountObjects()));
    line.Int("activeObjects", static_cast<long>(GetScene().CountActiveObjects()));
    line.Int("particles", GetParticleSystem().CountParticles());
    WriteBloom();
    line.EndObject();
    return line.Text();
}

void WriteTraceLine(long frame) {
    if (traceFile == nullptr) {
        return;
    }
    const std::string& text = BuildTraceLine(frame);
    std::fwrite(text.data(), 1, text.size(), traceFile);
    std::fputc('\n', traceFile);
    // Whoever follows the trace while the game runs sees each frame once it is drawn.
    std::fflush(traceFile);
}

void CloseTrace() {
    if (traceFile != nullptr) {
        std::fclose(traceFile);
        traceFile = nullptr;
    }
}
