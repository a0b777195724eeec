#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "scene/SceneTesting.h"

// Every heap allocation of this test program is counted, so a test can see that a stretch of
// frames allocates nothing.
namespace {

std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) {
    return operator new(size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete[](void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

// The other forms too: a library that allocates with one of them frees with the ones above.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}

void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}

void* operator new(std::size_t size, std::align_val_t alignment) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    const std::size_t align = static_cast<std::size_t>(alignment);
    if (void* memory = std::aligned_alloc(align, (size + align - 1) / align * align)) {
        return memory;
    }
    throw std::bad_alloc();
}

void* operator new[](std::size_t size, std::align_val_t alignment) {
    return operator new(size, alignment);
}

void operator delete(void* memory, std::align_val_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::align_val_t) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}

namespace {

// Plain scenery that updates every frame, as enemies and pickups do.
class Ticker : public GameObject {
public:
    Ticker() : GameObject(KIND_SOUL) {}
    void Update() override { ++ticks; }
    long ticks = 0;
};

ObjectPool<Ticker> tickers;

void RunSceneFrame() {
    AdvanceFrameClock();
    SceneObjectManager& scene = GetScene();
    scene.FlushObjectQueues();
    scene.UpdateObjects();
    scene.RenderWorld();
    scene.RenderWinds();
    scene.RenderButtons();
}

}  // namespace

TEST(SteadyScene, LirraStandsOnAFloorAmongThreeHundredObjectsWithoutAllocating) {
    EmptyTheScene();
    ResetPlayer();
    UseFrameStep(1.0 / 60.0);
    SceneObjectManager& scene = GetScene();

    // A floor whose top is at y = 0, boxes far away, tiles and updating scenery.
    GameObject* floor = MakeBox(0.0f, -0.5f, 40.0f, 1.0f, KIND_TILE);
    floor->SetActive(true);
    int made = 1;
    for (int i = 0; i < 100; ++i, ++made) {
        MakeBox(-100.0f - 2.0f * i, 50.0f, 1.0f, 1.0f, KIND_TILE)->SetActive(true);
    }
    for (int i = 0; i < 100; ++i, ++made) {
        GameObject* tile = scene.GetGameObject(KIND_TILE);
        tile->GetTransform().SetPosition(static_cast<float>(i), 3.0f, 0.0f);
        tile->SetActive(true);
    }
    for (int i = 0; i < 100; ++i, ++made) {
        scene.HandOut(tickers)->SetActive(true);
    }
    ASSERT_GE(made, 300);

    Player& player = GetPlayer();
    player.SetActive(true);
    player.GetTransform().SetPosition(0.0f, 0.501f, 0.0f);
    Rigidbody* body = player.GetComponent<Rigidbody>();
    player.GetComponent<Collider>()->Update();

    RunSceneFrame();
    ASSERT_EQ(scene.CountActiveObjects(), static_cast<size_t>(made));
    ASSERT_FALSE(body->airborne);
    ASSERT_FLOAT_EQ(body->velocity.y, -22.0725f);

    const long before = allocations.load();
    int standingFrames = 0;
    for (int frame = 1; frame < 600; ++frame) {
        RunSceneFrame();
        if (!body->airborne && body->velocity.y == gravity.y) {
            ++standingFrames;
        }
    }
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_EQ(standingFrames, 599);
    EXPECT_FALSE(body->airborne);
    EXPECT_FLOAT_EQ(body->velocity.y, -22.0725f);
    // She rests just above the floor: pressed down each frame, pushed back each pass.
    EXPECT_NEAR(player.GetComponent<Collider>()->box.center.y - 0.5f, 0.0f, 0.001f);
    EXPECT_EQ(tickers.GetObjects().front()->ticks, 600);

    EmptyTheScene();
    ResetPlayer();
}
