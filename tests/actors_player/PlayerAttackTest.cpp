#include <cmath>
#include <vector>

#include "PlayerTesting.h"
#include "actors/GOHitbox.h"

#include "actors/GOEnemy.h"

namespace {

class PlayerAttackTest : public PlayerTest {
protected:
    std::vector<GOHitbox*> ActiveHitboxes(int kind) const {
        std::vector<GOHitbox*> found;
        for (GOHitbox* hitbox : GetScene().GetHitboxPool().GetObjects()) {
            if (hitbox->IsActive() && hitbox->hitboxKind == kind) {
                found.push_back(hitbox);
            }
        }
        return found;
    }

    void FaceLeft() {
        Press(GLFW_KEY_LEFT);
        Frame();
        Release(GLFW_KEY_LEFT);
        Frames(30);
        ASSERT_EQ(lirra.facingRight, 0);
    }
};

struct Strike {
    int frame;
    Vector3 offset;
    Vector3 scale;
};

TEST_F(PlayerAttackTest, TheLightAttackFacingLeftLandsAheadThenSwingsBackBehindHer) {
    StartLevel();
    FaceLeft();
    Press(GLFW_KEY_Q);
    Frame();
    Release(GLFW_KEY_Q);
    EXPECT_EQ(lirra.state, PLAYER_LIGHT_ATTACK);
    EXPECT_EQ(Animation()->GetClip(), TextureId::LirraAttack);

    std::vector<Strike> strikes;
    GOHitbox* hitbox = nullptr;
    for (int i = 0; i < 40 && lirra.state == PLAYER_LIGHT_ATTACK; ++i) {
        Frame();
        const std::vector<GOHitbox*> active = ActiveHitboxes(HITBOX_LIGHT_ATTACK);
        if (active.empty()) {
            continue;
        }
        ASSERT_EQ(active.size(), 1u);
        hitbox = active[0];
        const int frame = Animation()->GetFrame();
        if (frame == 15 || frame == 16) {
            const Vector3 at = hitbox->GetTransform().GetPosition() - lirra.GetTransform().GetPosition();
            strikes.push_back({frame, at, hitbox->GetTransform().GetScale()});
        }
    }
    ASSERT_FALSE(strikes.empty());
    bool sawFirst = false;
    bool sawSecond = false;
    for (const Strike& strike : strikes) {
        EXPECT_NEAR(strike.offset.y, -0.5f, 0.005f);  // she settles on the floor after the box
        EXPECT_FLOAT_EQ(strike.scale.x, 1.0f);
        EXPECT_FLOAT_EQ(strike.scale.y, 1.5f);
        if (strike.frame == 15) {
            sawFirst = true;
            EXPECT_NEAR(strike.offset.x, -0.8f, 1e-4f);
        } else {
            sawSecond = true;
            EXPECT_NEAR(strike.offset.x, 0.32f, 1e-4f);
        }
    }
    EXPECT_TRUE(sawFirst);
    EXPECT_TRUE(sawSecond);
    EXPECT_EQ(lirra.state, PLAYER_IDLE);
    Frames(2);
    EXPECT_TRUE(ActiveHitboxes(HITBOX_LIGHT_ATTACK).empty());
    EXPECT_FALSE(lirra.lightAttackStarted);
}

TEST_F(PlayerAttackTest, BetweenStrikesTheLightBoxShrinksOntoHer) {
    StartLevel();
    Press(GLFW_KEY_Q);
    Frames(2);
    const std::vector<GOHitbox*> active = ActiveHitboxes(HITBOX_LIGHT_ATTACK);
    ASSERT_EQ(active.size(), 1u);
    ASSERT_EQ(Animation()->GetFrame(), 13);
    EXPECT_LT(active[0]->GetTransform().GetScale().x, 1e-6f);
    EXPECT_FLOAT_EQ(active[0]->GetTransform().GetPosition().x, X());
}

TEST_F(PlayerAttackTest, AnAttackCutShortByAJumpStartsAfreshNextTime) {
    StartLevel();
    Press(GLFW_KEY_Q);
    Frame();
    Release(GLFW_KEY_Q);
    Press(GLFW_KEY_SPACE);
    Frame();
    Release(GLFW_KEY_SPACE);
    EXPECT_EQ(lirra.state, PLAYER_JUMP);
    Frames(80);
    ASSERT_FALSE(Body()->airborne);
    Press(GLFW_KEY_Q);
    Frame();
    EXPECT_EQ(Animation()->GetClip(), TextureId::LirraAttack);
    EXPECT_TRUE(lirra.lightAttackStarted);
}

TEST_F(PlayerAttackTest, NoLightAttackWhileGliding) {
    StartLevel();
    Press(GLFW_KEY_SPACE);
    Frames(50);
    ASSERT_EQ(lirra.state, PLAYER_GLIDE);
    Press(GLFW_KEY_Q);
    Press(GLFW_KEY_W);
    Frame();
    EXPECT_EQ(lirra.state, PLAYER_GLIDE);
    EXPECT_TRUE(ActiveHitboxes(HITBOX_LIGHT_ATTACK).empty());
}

TEST_F(PlayerAttackTest, AHeavyAttackWithoutAPurpleSoulIsRefused) {
    StartLevel();
    Press(GLFW_KEY_W);
    Frame();
    Release(GLFW_KEY_W);
    EXPECT_EQ(lirra.state, PLAYER_IDLE);
    EXPECT_FALSE(lirra.heavyAttackStarted);
    Frame();
    EXPECT_TRUE(ActiveHitboxes(HITBOX_HEAVY_ATTACK).empty());

    GOSoul* fire = GiveSoul(kSoulFire);
    Press(GLFW_KEY_W);
    Frame();
    EXPECT_EQ(lirra.state, PLAYER_IDLE);
    EXPECT_FALSE(fire->IsConsumed());
    EXPECT_EQ(lirra.souls.size(), 1u);
}

TEST_F(PlayerAttackTest, AHeavyAttackSpendsAPurpleSoulStrikesAtFrameTwentyOneAndBlinks) {
    StartLevel();
    GiveSoul(kSoulFire);
    GOSoul* purple = GiveSoul(kSoulPurple);
    EXPECT_EQ(lirra.GetAttackPower(), 36);
    lirra.invulnerable = false;
    Press(GLFW_KEY_W);
    Frame();
    Release(GLFW_KEY_W);
    EXPECT_EQ(lirra.state, PLAYER_HEAVY_ATTACK);
    EXPECT_TRUE(purple->IsConsumed());
    EXPECT_EQ(lirra.souls.size(), 1u);
    EXPECT_EQ(savedSoulKinds, std::vector<int>{kSoulFire});
    EXPECT_EQ(lirra.GetAttackPower(), 34);
    EXPECT_TRUE(lirra.invulnerable);
    EXPECT_EQ(Animation()->GetClip(), TextureId::LirraCollectSoul);

    bool struck = false;
    for (int i = 0; i < 40 && lirra.state == PLAYER_HEAVY_ATTACK; ++i) {
        Frame();
        const std::vector<GOHitbox*> active = ActiveHitboxes(HITBOX_HEAVY_ATTACK);
        if (Animation()->GetFrame() == 21) {
            ASSERT_EQ(active.size(), 1u);
            struck = true;
            const Vector3 at = active[0]->GetTransform().GetPosition();
            EXPECT_NEAR(at.x - X(), -0.8f, 1e-4f);  // she faces left after a level start
            EXPECT_FLOAT_EQ(active[0]->GetTransform().GetScale().y, 2.0f);
        } else if (Animation()->GetFrame() < 21 && !active.empty()) {
            EXPECT_LT(active[0]->GetTransform().GetScale().x, 1e-6f);
        }
    }
    EXPECT_TRUE(struck);
    EXPECT_EQ(lirra.state, PLAYER_IDLE);
    Frames(2);
    EXPECT_TRUE(ActiveHitboxes(HITBOX_HEAVY_ATTACK).empty());
}

TEST_F(PlayerAttackTest, TwoEnemiesInTheHeavyBoxAreBothHitAndEachShakesTheCameraOnce) {
    StartLevel();
    std::vector<GOEnemy*> enemies;
    for (int i = 0; i < 2; ++i) {
        GOEnemy* enemy = GetScene().GetEnemy();
        const Vector3 at(X() - 0.9f + 0.2f * i, Y() - 0.5f, 0.0f);
        enemy->Setup(at, at + Vector3(-3.0f, 0.0f, 0.0f), ENEMY_BASIC);
        enemy->health = 1000;
        enemy->GetComponent<Collider>()->Update();
        enemy->SetActive(true);
        enemies.push_back(enemy);
    }
    GiveSoul(kSoulPurple);
    Frame();
    for (GOEnemy* enemy : enemies) {
        enemy->GetTransform().SetPosition(X() - 0.9f, Y() - 0.5f, 0.0f);
    }
    lirra.invulnerable = true;
    lirra.invulnerableTimer = 100.0f;  // their own blows must not interrupt the strike
    const size_t steps = CountCinematicSteps();
    Press(GLFW_KEY_W);
    for (int i = 0; i < 40 && Animation()->GetFrame() != 21; ++i) {
        Frame();
    }
    ASSERT_EQ(Animation()->GetFrame(), 21);
    for (GOEnemy* enemy : enemies) {
        EXPECT_EQ(enemy->health, 1000 - 2 * 34) << "twice her attack power";
    }
    EXPECT_EQ(CountCinematicSteps(), steps + 2);
    // The striking frame lasts several game frames; the blow stays one shake per enemy.
    for (int i = 0; i < 10 && Animation()->GetFrame() == 21; ++i) {
        Frame();
    }
    EXPECT_NE(Animation()->GetFrame(), 21);
    EXPECT_EQ(CountCinematicSteps(), steps + 2);
}

TEST_F(PlayerAttackTest, AWalkingEnemysMeleeBoxFollowsItsThreeAttackFrames) {
    StartLevel();
    GOEnemy* enemy = GetScene().GetEnemy();
    const Vector3 at(X() + 20.0f, 3.0f, 0.0f);
    enemy->Setup(at, at + Vector3(2.0f, 0.0f, 0.0f), ENEMY_BASIC);
    AnimationRenderer* animation = enemy->GetComponent<AnimationRenderer>();
    ASSERT_NE(animation, nullptr);
    TextureId attackClip = AnimationRenderer::kNoClip;
    for (int id = 0; id < kTextureCount && attackClip == AnimationRenderer::kNoClip; ++id) {
        const TextureId clip = static_cast<TextureId>(id);
        if (animation->HasClip(clip)) {
            animation->SetClip(clip);
            attackClip = animation->GetFrame() == 8 ? clip : AnimationRenderer::kNoClip;
        }
    }
    ASSERT_NE(attackClip, AnimationRenderer::kNoClip) << "no clip starts at frame 8";

    GOHitbox* melee = GetScene().GetHitbox();
    melee->Init(HITBOX_ENEMY_MELEE, enemy);
    melee->active = true;
    struct Expected {
        int frame;
        float sx, sy, dx, dy;
    };
    const Expected table[] = {
        {8, 0.5f, 0.25f, 0.2f, 0.15f}, {9, 0.925f, 0.8f, 0.5f, -0.15f}, {10, 0.5f, 1.0f, 0.5f, -0.45f}};
    for (float facing : {1.0f, -1.0f}) {
        enemy->direction = Vector3(facing, 0.0f, 0.0f);
        animation->SetClip(attackClip);
        animation->Restart();
        for (const Expected& row : table) {
            while (animation->GetFrame() != row.frame) {
                animation->Update();
            }
            melee->Update();
            const Vector3 position = melee->GetTransform().GetPosition();
            const Vector3 scale = melee->GetTransform().GetScale();
            EXPECT_FLOAT_EQ(scale.x, row.sx) << "frame " << row.frame;
            EXPECT_FLOAT_EQ(scale.y, row.sy) << "frame " << row.frame;
            EXPECT_NEAR(position.x - at.x, facing * row.dx, 1e-5f) << "frame " << row.frame;
            EXPECT_NEAR(position.y - at.y, row.dy, 1e-5f) << "frame " << row.frame;
        }
    }
    melee->active = false;
}

TEST_F(PlayerAttackTest, AnEnemysBoxHitsHerFromTheSideItIsOn) {
    StartLevel();
    GOEnemy* enemy = GetScene().GetEnemy();
    const Vector3 at(X() + 0.5f, Y(), 0.0f);
    enemy->Setup(at, at, ENEMY_FLYING);
    enemy->GetTransform().SetScale(-3.0f, 3.0f, 1.0f);
    GOHitbox* contact = GetScene().GetHitbox();
    contact->Init(HITBOX_FLYING_CONTACT, enemy);
    EXPECT_FLOAT_EQ(contact->GetTransform().GetScale().x, 0.9f);  // a flying enemy's core, never mirrored
    lirra.invulnerable = false;
    contact->Update();
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 75.0f);
    EXPECT_EQ(lirra.state, PLAYER_DAMAGED);
    EXPECT_LT(Body()->velocity.x, -3.0f) << "knocked away from a box on her right";

    // A box she stands exactly on counts as hitting from her right; one to her left pushes right.
    lirra.invulnerable = false;
    Body()->velocity.x = 0.0f;
    enemy->GetTransform().SetPosition(X() - 0.5f, Y(), 0.0f);
    contact->Update();
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 50.0f);
    EXPECT_FLOAT_EQ(Body()->velocity.x, 4.0f);

    // Out of reach nothing happens.
    lirra.invulnerable = false;
    enemy->GetTransform().SetPosition(X() + 5.0f, Y(), 0.0f);
    contact->Update();
    EXPECT_FLOAT_EQ(lirra.GetHealth(), 50.0f);
    enemy->RemoveTrail();
}

}  // namespace
