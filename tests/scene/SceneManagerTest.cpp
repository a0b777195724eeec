#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

#include "automation/Trace.h"
#include "frontend/State.h"
#include "frontend/StateManager.h"
#include "scene/SceneTesting.h"
#include "support/TestGame.h"

namespace {

// A scene object that counts how it is used and runs an optional action while it updates or draws.
class Probe : public GameObject {
public:
    Probe() : GameObject(KIND_ENEMY) {}

    void Init() override { ++inits; }
    void Update() override {
        ++updates;
        if (onUpdate) {
            onUpdate();
        }
    }
    void Render() override {
        ++renders;
        if (onRender) {
            onRender();
        }
    }

    int inits = 0;
    int updates = 0;
    int renders = 0;
    std::function<void()> onUpdate;
    std::function<void()> onRender;
};

ObjectPool<Probe> probes;

Probe* TakeProbe() {
    Probe* probe = GetScene().HandOut(probes);
    probe->updates = 0;
    probe->renders = 0;
    probe->onUpdate = nullptr;
    probe->onRender = nullptr;
    return probe;
}

// Distinct probes, inactive and on no list: a hand-out gives the first free object, so each is
// kept busy until the next one is taken.
std::vector<Probe*> TakeIdleProbes(int count) {
    std::vector<Probe*> taken;
    for (int i = 0; i < count; ++i) {
        taken.push_back(TakeProbe());
        taken.back()->SetActive(true);
    }
    GetScene().FlushObjectQueues();
    for (Probe* probe : taken) {
        probe->SetActive(false);
    }
    GetScene().FlushObjectQueues();
    return taken;
}

size_t Occurrences(const std::vector<GameObject*>& list, const GameObject* object) {
    return static_cast<size_t>(std::count(list.begin(), list.end(), object));
}

class SceneManagerTest : public testing::Test {
protected:
    void SetUp() override {
        EmptyTheScene();
        ResetPlayer();
    }
    void TearDown() override { EmptyTheScene(); }

    SceneObjectManager& scene = GetScene();
};

}  // namespace

TEST_F(SceneManagerTest, ActivationsReachTheListsOnlyAtTheFlush) {
    GameObject* tile = MakeBox(0.0f, 0.0f, 1.0f, 1.0f, KIND_TILE);
    GameObject* wind = MakeBox(0.0f, 0.0f, 1.0f, 1.0f, KIND_WIND);
    GameObject* button = scene.GetGameObject(KIND_BUTTON);
    for (GameObject* object : {tile, wind, button}) {
        object->SetActive(true);
    }
    EXPECT_TRUE(scene.GetWorldList().empty());
    scene.FlushObjectQueues();

    EXPECT_EQ(scene.GetWorldList(), std::vector<GameObject*>{tile});
    EXPECT_EQ(scene.GetWindList(), std::vector<GameObject*>{wind});
    EXPECT_EQ(scene.GetButtonList(), std::vector<GameObject*>{button});
    // Tiles never update; only objects with a box collide.
    EXPECT_EQ(scene.GetUpdateList(), (std::vector<GameObject*>{wind, button}));
    EXPECT_EQ(scene.GetCollidables(), (std::vector<GameObject*>{tile, wind}));

    tile->SetActive(false);
    scene.FlushObjectQueues();
    EXPECT_TRUE(scene.GetWorldList().empty());
    EXPECT_EQ(scene.GetCollidables(), std::vector<GameObject*>{wind});
}

TEST_F(SceneManagerTest, OnAndOffWithinOneFrameStaysListedAndOnOffOnIsListedTwice) {
    GameObject* twice = MakeBox(0.0f, 0.0f, 1.0f, 1.0f);
    GameObject* once = scene.GetGameObject(KIND_LOGO);
    twice->SetActive(true);
    twice->SetActive(false);
    twice->SetActive(true);
    once->SetActive(true);
    once->SetActive(false);
    scene.FlushObjectQueues();

    EXPECT_EQ(Occurrences(scene.GetWorldList(), twice), 2u);
    EXPECT_EQ(Occurrences(scene.GetUpdateList(), twice), 2u);
    EXPECT_EQ(Occurrences(scene.GetCollidables(), twice), 2u);
    EXPECT_FALSE(once->IsActive());
    EXPECT_EQ(Occurrences(scene.GetWorldList(), once), 1u);

    // A listed twice object is walked twice; one switch-off erases every copy.
    const size_t activeBefore = scene.CountActiveObjects();
    twice->SetActive(false);
    scene.FlushObjectQueues();
    EXPECT_EQ(Occurrences(scene.GetWorldList(), twice), 0u);
    EXPECT_EQ(Occurrences(scene.GetCollidables(), twice), 0u);
    EXPECT_EQ(scene.CountActiveObjects(), activeBefore - 1);
}

TEST_F(SceneManagerTest, PlainObjectsComeTenAtATimeAndTheSpareNineServeOtherKinds) {
    // Use up every free plain object first.
    const size_t start = scene.GetPlainPool().Size();
    while (scene.GetPlainPool().Size() == start) {
        scene.GetGameObject(KIND_LOGO)->SetActive(true);
    }
    scene.FlushObjectQueues();
    EmptyTheScene();
    std::vector<GameObject*> taken;
    const size_t before = scene.GetPlainPool().Size();
    size_t newest = scene.CountObjects();
    while (true) {
        GameObject* object = scene.GetGameObject(KIND_HEALTH_HUD);
        if (scene.GetPlainPool().Size() != before) {
            // Every free object of kind 0 or 13 was taken; now a batch of ten was made.
            EXPECT_EQ(scene.GetPlainPool().Size(), before + 10);
            EXPECT_EQ(object, scene.GetPlainPool().GetObjects().back());
            newest = scene.CountObjects();
            break;
        }
        EXPECT_TRUE(object->objectKind == KIND_HEALTH_HUD);
        object->SetActive(true);
        taken.push_back(object);
    }
    EXPECT_EQ(newest, before + 10);

    // Cinematic bars never reuse: two requests make two batches.
    GameObject* bars = scene.GetGameObject(KIND_CINEMATIC_BARS);
    EXPECT_EQ(scene.GetPlainPool().Size(), before + 20);
    EXPECT_EQ(bars->objectKind, KIND_CINEMATIC_BARS);
    bars->SetActive(true);
    scene.GetGameObject(KIND_CINEMATIC_BARS)->SetActive(true);
    EXPECT_EQ(scene.GetPlainPool().Size(), before + 30);

    // The other nine of each of the three batches (kind 0) serve other kinds without growth.
    std::set<GameObject*> spares;
    for (int i = 0; i < 27; ++i) {
        GameObject* spare = scene.GetGameObject(KIND_TITLE);
        EXPECT_EQ(spare->objectKind, KIND_TITLE);
        spare->SetActive(true);
        spares.insert(spare);
    }
    EXPECT_EQ(spares.size(), 27u);
    EXPECT_EQ(scene.GetPlainPool().Size(), before + 30);
    scene.GetGameObject(KIND_TITLE);
    EXPECT_EQ(scene.GetPlainPool().Size(), before + 40);
}

TEST_F(SceneManagerTest, APlainObjectOfAnotherKindIsNeverReused) {
    GameObject* wind = scene.GetGameObject(KIND_WIND);
    wind->GetTransform().SetPosition(4.0f, 5.0f, 6.0f);
    ASSERT_FALSE(wind->IsActive());
    const size_t before = scene.GetPlainPool().Size();
    std::vector<GameObject*> players;
    while (scene.GetPlainPool().Size() == before) {
        GameObject* object = scene.GetGameObject(KIND_PLAYER);
        EXPECT_NE(object, wind);
        object->SetActive(true);
        players.push_back(object);
    }
    // The same kind is reused as it was left: only the kind is set again.
    GameObject* again = scene.GetGameObject(KIND_WIND);
    EXPECT_EQ(again, wind);
    EXPECT_EQ(again->GetTransform().GetPosition(), Vector3(4.0f, 5.0f, 6.0f));
}

TEST_F(SceneManagerTest, APoolGrowsByTenInitialisesTheLastAndResetsReusedObjects) {
    // Take every free probe, then one more.
    std::vector<Probe*> busy;
    while (true) {
        const size_t before = probes.Size();
        Probe* probe = TakeProbe();
        probe->SetActive(true);
        if (probes.Size() != before) {
            EXPECT_EQ(probes.Size(), before + 10);
            EXPECT_EQ(probe, probes.GetObjects().back());
            EXPECT_EQ(probe->inits, 1);
            for (size_t i = before; i + 1 < probes.Size(); ++i) {
                EXPECT_EQ(probes.GetObjects()[i]->inits, 0) << "spare " << i;
            }
            busy.push_back(probe);
            break;
        }
        busy.push_back(probe);
    }
    scene.FlushObjectQueues();

    // The nine spares are handed out next, each initialised, without growth.
    const size_t size = probes.Size();
    for (int i = 0; i < 9; ++i) {
        Probe* spare = TakeProbe();
        EXPECT_EQ(spare->inits, 1);
        spare->SetActive(true);
    }
    EXPECT_EQ(probes.Size(), size);

    // A reused object starts from a clean transform and is initialised again.
    Probe* used = busy.front();
    used->GetTransform().SetPosition(3.0f, 4.0f, 5.0f);
    used->GetTransform().SetScale(2.0f, 2.0f, 2.0f);
    used->GetTransform().SetRotation(0.0f, 0.0f, 30.0f);
    const int inits = used->inits;
    used->SetActive(false);
    scene.FlushObjectQueues();
    EXPECT_EQ(TakeProbe(), used);
    EXPECT_EQ(used->inits, inits + 1);
    EXPECT_EQ(used->GetTransform().GetPosition(), Vector3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(used->GetTransform().GetScale(), Vector3(1.0f, 1.0f, 1.0f));
    EXPECT_EQ(used->GetTransform().GetRotation(), Vector3(0.0f, 0.0f, 0.0f));
}

TEST_F(SceneManagerTest, NewObjectsJoinTheListOfEveryObjectAtTheFlush) {
    const size_t all = scene.GetAllObjects().size();
    const size_t counted = scene.CountObjects();
    ASSERT_EQ(all, counted);
    GameObject* fresh = scene.GetGameObject(KIND_CINEMATIC_BARS);
    EXPECT_EQ(scene.GetAllObjects().size(), all);
    EXPECT_EQ(scene.CountObjects(), counted + 10);
    fresh->SetActive(true);
    EXPECT_EQ(scene.CountActiveObjects(), 1u);
    scene.FlushObjectQueues();
    EXPECT_EQ(scene.GetAllObjects().size(), all + 10);
    EXPECT_EQ(scene.GetAllObjects().back(), fresh);
}

TEST_F(SceneManagerTest, DeactivateAllSwitchesOffWhatIsDrawnButNotThePlayer) {
    GameObject* box = MakeBox(0.0f, 0.0f, 1.0f, 1.0f);
    GameObject* wind = MakeBox(0.0f, 0.0f, 1.0f, 1.0f, KIND_WIND);
    GameObject* button = scene.GetGameObject(KIND_BUTTON);
    for (GameObject* object : {box, wind, button}) {
        object->SetActive(true);
    }
    GetPlayer().SetActive(true);
    scene.FlushObjectQueues();

    scene.DeactivateAll();
    EXPECT_FALSE(box->IsActive());
    EXPECT_FALSE(wind->IsActive());
    EXPECT_FALSE(button->IsActive());
    EXPECT_TRUE(GetPlayer().IsActive());
    // The lists shrink at the next flush.
    EXPECT_EQ(scene.GetWorldList().size(), 1u);
    scene.FlushObjectQueues();
    EXPECT_TRUE(scene.GetWorldList().empty());
    EXPECT_TRUE(scene.GetWindList().empty());
    EXPECT_TRUE(scene.GetButtonList().empty());
    EXPECT_TRUE(scene.GetUpdateList().empty());
    EXPECT_TRUE(scene.GetCollidables().empty());
    EXPECT_EQ(scene.CountActiveObjects(), 0u);
}

TEST_F(SceneManagerTest, UpdatesAndDrawsWalkTheListsInOrderWithThePlayerDrawnLastAtDepthEleven) {
    std::string order;
    const std::vector<Probe*> taken = TakeIdleProbes(2);
    Probe* first = taken[0];
    Probe* second = taken[1];
    first->onUpdate = [&] { order += "1u "; };
    second->onUpdate = [&] { order += "2u "; };
    first->onRender = [&] { order += "1r "; };
    second->onRender = [&] { order += "2r "; };
    first->SetActive(true);
    second->SetActive(true);
    scene.FlushObjectQueues();

    GetPlayer().GetTransform().SetPosition(1.0f, 2.0f, 3.0f);
    UseFrameStep(1.0 / 60.0);
    scene.UpdateObjects();
    scene.RenderWorld();
    EXPECT_EQ(order, "1u 2u 1r 2r ");
    EXPECT_EQ(GetPlayer().GetTransform().GetPosition().z, 3.0f);
    scene.RenderWinds();
    scene.RenderButtons();
    EXPECT_EQ(first->renders, 1);
}

TEST_F(SceneManagerTest, MarkerTypesAreLookedUpByTheirExactNames) {
    MarkerType type = MARKER_TILE;
    EXPECT_TRUE(FindMarkerType("ENEMY FLYING", &type));
    EXPECT_EQ(type, MARKER_ENEMY_FLYING);
    EXPECT_FALSE(FindMarkerType("enemy flying", &type));
    EXPECT_EQ(type, MARKER_ENEMY_FLYING);
    EXPECT_EQ(GetMarkerTypeName(kMarkerTypeCount), nullptr);
}

TEST_F(SceneManagerTest, TheTraceCountsObjectsAndWritesThePlayer) {
    Probe* probe = TakeProbe();
    probe->SetActive(true);
    GetPlayer().SetActive(true);
    GetPlayer().GetTransform().SetPosition(5.5f, 1.95f, 0.0f);
    const std::string line = BuildTraceLine(7);
    EXPECT_NE(line.find("\"objects\": " + std::to_string(scene.CountObjects()) + ","), std::string::npos) << line;
    EXPECT_NE(line.find("\"activeObjects\": 1,"), std::string::npos) << line;
    EXPECT_NE(line.find("\"player\": {\"active\": true, \"x\": 5.5"), std::string::npos) << line;
    EXPECT_NE(line.find("\"airborne\": true, \"gliding\": false"), std::string::npos) << line;
    EXPECT_NE(line.find("\"souls\": "), std::string::npos) << line;
    GetPlayer().SetActive(false);
}

// --- In the real main loop -------------------------------------------------------------------

namespace {

// A screen whose own update runs a test's action. It passes for the splash screen, which a loss
// of focus never pauses: test windows on a shared display take the focus from each other.
class ScriptedState : public State {
public:
    ScriptedState() : State(STATE_SPLASH) {}
    void Load() override {}
    void Update() override {
        if (onUpdate) {
            onUpdate();
        }
    }
    void Render() override {}
    void Unload() override {}

    std::function<void()> onUpdate;
};

}  // namespace

TEST_F(SceneManagerTest, AnObjectActivatedByTheStateIsUpdatedAndDrawnInThatFrameOthersInTheNext) {
    StartTestGame();
    EndTestStates();
    auto* state = new ScriptedState();
    SetState(state);

    const std::vector<Probe*> taken = TakeIdleProbes(3);
    Probe* byState = taken[0];
    Probe* byUpdate = taken[1];
    Probe* byRender = taken[2];
    byState->onUpdate = [&] { byUpdate->SetActive(true); };
    byState->onRender = [&] { byRender->SetActive(true); };
    state->onUpdate = [&] { byState->SetActive(true); };
    RunFrames(1);
    EXPECT_EQ(byState->updates, 1);
    EXPECT_EQ(byState->renders, 1);
    EXPECT_EQ(byUpdate->updates, 0);
    EXPECT_EQ(byRender->renders, 0);
    EXPECT_TRUE(byUpdate->IsActive());

    state->onUpdate = nullptr;
    byState->onUpdate = nullptr;
    byState->onRender = nullptr;
    RunFrames(1);
    EXPECT_EQ(byState->updates, 2);
    EXPECT_EQ(byUpdate->updates, 1);
    EXPECT_EQ(byUpdate->renders, 1);
    EXPECT_EQ(byRender->updates, 1);
    EXPECT_EQ(byRender->renders, 1);

    // Leaving the state returns every drawn object to its pool.
    EndTestStates();
    EXPECT_FALSE(byState->IsActive());
    EXPECT_FALSE(byRender->IsActive());
}

TEST_F(SceneManagerTest, ABoxActivatedByTheStateCatchesThePlayerInThatFrame) {
    StartTestGame();
    EndTestStates();
    auto* state = new ScriptedState();
    SetState(state);
    RunFrames(2);  // the clock's first frame has no step

    Player& player = GetPlayer();
    player.SetActive(true);
    player.GetTransform().SetPosition(0.0f, 0.503f, 0.0f);
    player.GetComponent<Collider>()->Update();
    GameObject* floor = MakeBox(0.0f, -0.5f, 10.0f, 1.0f);
    state->onUpdate = [&] { floor->SetActive(true); };
    RunFrames(1);
    EXPECT_FALSE(player.GetComponent<Rigidbody>()->airborne);
    EXPECT_FLOAT_EQ(player.GetComponent<Rigidbody>()->velocity.y, -22.0725f);
    EndTestStates();
    player.SetActive(false);
}
