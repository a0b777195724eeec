#include <gtest/gtest.h>

#include <string>

#include "graphics/Renderer.h"
#include "scene/SceneTesting.h"

namespace {

class GameObjectTest : public testing::Test {
protected:
    void SetUp() override { EmptyTheScene(); }
};

}  // namespace

TEST_F(GameObjectTest, ASecondComponentOfATypeIsRefused) {
    GameObject object;
    Collider* first = object.AddComponent<Collider>();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetOwner(), &object);
    EXPECT_EQ(object.AddComponent<Collider>(), nullptr);
    ASSERT_EQ(object.GetComponents().size(), 1u);
    EXPECT_EQ(object.GetComponent<Collider>(), first);
}

TEST_F(GameObjectTest, AUIRendererCountsAsARendererWhenAddingButNotWhenGetting) {
    GameObject object;
    UIRenderer* ui = object.AddComponent<UIRenderer>();
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(object.AddComponent<Renderer>(), nullptr);
    EXPECT_EQ(object.GetComponent<Renderer>(), nullptr);
    EXPECT_EQ(object.GetComponent<UIRenderer>(), ui);
    EXPECT_FALSE(object.RemoveComponent<Renderer>());
    EXPECT_EQ(object.GetComponents().size(), 1u);
}

TEST_F(GameObjectTest, ARendererDoesNotBlockAUIRenderer) {
    // The type test runs one way: an existing Renderer is not a UIRenderer.
    GameObject object;
    ASSERT_NE(object.AddComponent<Renderer>(), nullptr);
    EXPECT_NE(object.AddComponent<UIRenderer>(), nullptr);
    EXPECT_EQ(object.GetComponents().size(), 2u);
}

TEST_F(GameObjectTest, RemovingAMissingComponentReportsFalse) {
    GameObject object;
    object.AddComponent<Rigidbody>();
    EXPECT_FALSE(object.RemoveComponent<Collider>());
    EXPECT_EQ(object.GetComponents().size(), 1u);
}

TEST_F(GameObjectTest, RemovingAColliderTakesItsObjectOffTheCollisionListAtOnce) {
    GameObject* box = MakeBox(0.0f, 0.0f, 1.0f, 1.0f);
    box->SetActive(true);
    GetScene().FlushObjectQueues();
    ASSERT_EQ(GetScene().GetCollidables().size(), 1u);
    box->GetComponent<Collider>()->box.widthFactor = 3.0f;

    EXPECT_TRUE(box->RemoveComponent<Collider>());
    EXPECT_TRUE(GetScene().GetCollidables().empty());
    EXPECT_EQ(box->GetComponent<Collider>(), nullptr);
    // Still drawn and updated: only the box went.
    EXPECT_EQ(GetScene().GetWorldList().size(), 1u);
}

TEST_F(GameObjectTest, AZeroScaleIsStoredAsTheSmallestStep) {
    Transform transform;
    transform.SetScale(0.0f, 2.0f, -0.0f);
    EXPECT_EQ(transform.GetScale().x, 1.1920929e-7f);
    EXPECT_EQ(transform.GetScale().y, 2.0f);
    EXPECT_EQ(transform.GetScale().z, 1.1920929e-7f);

    transform.SetScale(Vector3(3.0f, 1.0f, 1.0f));
    transform.ScaleBy(0.0f, -2.0f, 1.0f);
    EXPECT_EQ(transform.GetScale().x, 1.1920929e-7f);
    EXPECT_EQ(transform.GetScale().y, -2.0f);
}

TEST_F(GameObjectTest, KindNamesFollowTheTable) {
    const std::pair<int, const char*> names[] = {
        {0, "<Unknown>"},  {2, "Tile Collider"},      {9, "Interact Pop-up"}, {11, "Brelmor Logo"},
        {12, "<Unknown>"}, {14, "Transition Screen"}, {15, "<Unknown>"},      {16, "<Unknown>"},
        {99, "<Unknown>"}, {-1, "<Unknown>"},
    };
    for (const auto& [kind, name] : names) {
        GameObject object(kind);
        EXPECT_STREQ(object.GetTypeName(), name) << "kind " << kind;
    }
    EXPECT_STREQ(GetPlayer().GetTypeName(), "Player");
}

TEST_F(GameObjectTest, SwitchingToTheCurrentStateQueuesNothing) {
    GameObject* object = GetScene().GetGameObject(KIND_LOGO);
    object->SetActive(false);
    GetScene().FlushObjectQueues();
    EXPECT_TRUE(GetScene().GetWorldList().empty());

    object->SetActive(true);
    object->SetActive(true);
    GetScene().FlushObjectQueues();
    EXPECT_EQ(GetScene().GetWorldList().size(), 1u);
    EXPECT_EQ(GetScene().GetUpdateList().size(), 1u);
}

TEST_F(GameObjectTest, ThePlayerKeepsOutOfTheSceneLists) {
    GetPlayer().SetActive(true);
    EXPECT_TRUE(GetPlayer().IsActive());
    GetScene().FlushObjectQueues();
    EXPECT_TRUE(GetScene().GetWorldList().empty());
    EXPECT_TRUE(GetScene().GetUpdateList().empty());
    EXPECT_TRUE(GetScene().GetCollidables().empty());
    GetPlayer().SetActive(false);
}
