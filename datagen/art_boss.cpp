// Rovevoz, the forest giant of bark and stone: a dark body looming behind the arena, a mask-like
// head whose eyes burn, and two huge hands. The hands are painted as the right hand; the left
// hand is its mirror image on screen.
#include "assets.h"
#include "palette.h"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {

constexpr int kHandW = 64;
constexpr int kHandH = 45;
constexpr float kPi = 3.14159265f;

// Stone-and-bark texture inside whatever was painted so far; strength 1 is full contrast.
void Stonework(Image& img, int seed, float strength = 1.0f) {
    img.clipToOpaque = true;
    for (int y = 0; y < img.Height(); y++) {
        for (int x = 0; x < img.Width(); x++) {
            if (img.Get(x, y).a == 0) {
                continue;
            }
            const float n = Fbm(x / 9.0f, y / 7.0f, seed, 3) + (Bayer(x, y) - 0.5f) * 0.1f;
            const Rgba base = img.Get(x, y);
            if (n < 0.36f) {
                img.Put(x, y, Mix(base, pal::rockDark, 0.6f * strength));
            } else if (n > 0.66f) {
                img.Put(x, y, Mix(base, pal::rockLight, 0.5f * strength));
            }
        }
    }
    img.clipToOpaque = false;
}

// Finger from base toward tip, jointed once.
void Finger(Image& img, Vec2 base, Vec2 tip, float width) {
    const Vec2 joint = base + (tip - base) * 0.55f;
    FillTaper(img, base, joint, width, width * 0.9f, pal::rock);
    FillTaper(img, joint, tip, width * 0.85f, width * 0.65f, pal::rock);
    FillCapsule(img, joint + Vec2{-width * 0.6f, 0}, joint + Vec2{width * 0.6f, 0}, 0.5f, pal::rockDark);
}

void Moss(Image& img, float x, float y, float r) {
    img.clipToOpaque = true;
    FillEllipse(img, x, y, r, r * 0.6f, pal::mossBoss);
    FillEllipse(img, x - r * 0.3f, y - r * 0.2f, r * 0.5f, r * 0.3f, pal::moss);
    img.clipToOpaque = false;
}

Image Finish(Image& img, int seed) {
    Stonework(img, seed, 0.6f);
    InnerRim(img, pal::rockLight, 0, -1);  // light catches the upper edges
    Outline(img, pal::outline);
    return img;
}

Image OpenHand(float tilt) {
    // palm facing the arena, fingers up; tilt lays the hand back toward flat (lifting)
    Image img(kHandW, kHandH);
    const float palmY = 31.0f + tilt * 6.0f;
    FillRect(img, 26, int(palmY), 38, 44, pal::barkBoss);  // the wrist, down toward the body
    FillEllipse(img, 32, palmY, 13.0f, 9.0f - tilt * 3.0f, pal::rock);
    const float fingerLen = 15.0f - tilt * 8.0f;
    for (int f = 0; f < 4; f++) {
        const float bx = 24.0f + f * 5.5f;
        const float spread = (f - 1.5f) * 1.8f;
        Finger(img, {bx, palmY - 4.0f}, {bx + spread, palmY - 4.0f - fingerLen + std::abs(f - 1.5f) * 2.0f}, 2.6f);
    }
    Finger(img, {20.0f, palmY + 1.0f}, {11.0f, palmY - 6.0f + tilt * 4.0f}, 2.8f);  // thumb
    Moss(img, 36, palmY + 4, 5);
    // a carved spiral on the palm
    FillArc(img, {32.0f, palmY + 1.0f}, 2.5f, 3.5f, 0.0f, 4.5f, pal::rockDark);
    return Finish(img, 3);
}

Image Fist(float drop, bool impact) {
    Image img(kHandW, kHandH);
    const float top = 4.0f + drop;
    FillRect(img, 27, 0, 37, int(top), pal::barkBoss);         // the forearm above
    FillEllipse(img, 32, top + 9.0f, 14.0f, 9.0f, pal::rock);  // the back of the hand
    // four curled fingers side by side, the knuckles toward the ground
    for (int k = 0; k < 4; k++) {
        const float fx = 20.5f + k * 7.6f;
        FillEllipse(img, fx, top + 17.0f, 3.9f, 6.0f, pal::rock);
        FillEllipse(img, fx - 0.5f, top + 14.5f, 2.2f, 1.6f, pal::rockLight);
    }
    for (int k = 1; k < 4; k++) {
        const int gx = int(20.5f + k * 7.6f - 3.8f);
        FillRect(img, gx, int(top + 13), gx, int(top + 22), pal::rockDark);
    }
    FillTaper(img, {15, top + 6}, {27, top + 12}, 3.6f, 2.6f, pal::rockLight);  // the thumb across
    FillCapsule(img, {17, top + 8}, {26, top + 13}, 0.5f, pal::rockDark);
    Moss(img, 40, top + 5, 5);
    Image out = Finish(img, 5);
    if (drop > 2 && !impact) {
        // speed lines above the falling fist
        for (int i = 0; i < 5; i++) {
            const float x = 18.0f + i * 7.0f;
            FillRect(out, int(x), int(top - 12 + (i % 2) * 3), int(x), int(top - 3), WithAlpha(Hex(0x8a94a8), 0.6f));
        }
    }
    if (impact) {
        // dust and splinters thrown out along the ground
        for (int i = 0; i < 9; i++) {
            const float side = i % 2 ? 1.0f : -1.0f;
            const float x = 32.0f + side * (17.0f + Hash(i, 1, 23) * 12.0f);
            const float y = 41.0f - Hash(i, 2, 23) * 8.0f;
            FillEllipse(out, x, y, 2.5f + Hash(i, 3, 23) * 2.0f, 1.8f, WithAlpha(Hex(0x4a4658), 0.85f));
        }
        FillRect(out, 6, 44, 58, 44, WithAlpha(Hex(0x5a5668), 0.9f));
    }
    return out;
}

Image FlatHand(bool limp) {
    // palm down along the ground, fingers pointing toward the arena's middle (left on the sheet)
    Image img(kHandW, kHandH);
    const float y = limp ? 37.0f : 33.0f;
    FillRect(img, 44, int(y - 6), 63, int(y + 4), pal::barkBoss);  // the wrist off to the side
    FillEllipse(img, 38, y, 12.0f, 7.5f, pal::rock);
    for (int f = 0; f < 4; f++) {
        const float fy = y - 4.5f + f * 3.2f;
        const float len = 19.0f - std::abs(f - 1.2f) * 3.0f;
        const float droop = limp ? (f - 1.5f) * 2.0f : 0.0f;
        Finger(img, {30.0f, fy}, {30.0f - len, fy + droop + 1.0f}, 2.1f);
    }
    Finger(img, {35.0f, y - 6.0f}, {24.0f, y - 11.0f + (limp ? 6.0f : 0.0f)}, 2.3f);  // thumb
    Moss(img, 42, y - 4, 6);
    Image out = Finish(img, limp ? 9 : 7);
    if (limp) {
        // cracked and dull: the hand is down
        FillCapsule(out, {36, y - 5}, {40, y + 1}, 0.5f, pal::rockDark);
        FillCapsule(out, {40, y + 1}, {38, y + 5}, 0.5f, pal::rockDark);
        for (Rgba& p : out.Pixels()) {
            if (p.a) {
                p = Mix(p, pal::rockDark, 0.25f);
            }
        }
    } else {
        // a gust of dust pushed ahead of the sweep
        for (int i = 0; i < 6; i++) {
            FillEllipse(out, 6.0f + i * 2.5f, 40.0f - (i % 3), 2.0f, 1.4f, WithAlpha(Hex(0x4a4658), 0.7f - i * 0.08f));
        }
    }
    return out;
}

// ---- the head: a mask of stone framed in bark, with antler branches and burning eyes ------------------

Image Head() {
    const int w = 192, h = 135;
    Image img(w, h);
    const float cx = 87.0f, cy = 84.0f;
    // antler branches
    for (int side = -1; side <= 1; side += 2) {
        const Vec2 root{cx + side * 34.0f, cy - 34.0f};
        const Vec2 tip{cx + side * 70.0f, 6.0f};
        FillTaper(img, root, tip, 7.0f, 2.0f, pal::barkBoss);
        FillTaper(img, root + (tip - root) * 0.5f, root + (tip - root) * 0.5f + Vec2{side * 22.0f, 8.0f}, 3.5f, 1.2f,
                  pal::barkBoss);
        FillTaper(img, root + (tip - root) * 0.3f, root + (tip - root) * 0.3f + Vec2{-side * 6.0f, -26.0f}, 3.0f, 1.0f,
                  pal::barkBoss);
    }
    // the bark hood around the mask
    FillEllipse(img, cx, cy, 70.0f, 50.0f, pal::barkBoss);
    FillPolygon(img, {{cx - 60, cy + 10}, {cx - 40, h - 1.0f}, {cx + 40, h - 1.0f}, {cx + 60, cy + 10}}, pal::barkBoss);
    img.clipToOpaque = true;
    for (int x = 0; x < w; x += 7) {
        FillTaper(img, {float(x), 0}, {float(x) + (x - cx) * 0.2f, float(h)}, 1.2f, 1.8f, pal::barkBossLight);
    }
    img.clipToOpaque = false;
    // the mask itself: pale stone, long chin, heavy brow
    Image mask(w, h);
    FillEllipse(mask, cx, cy - 2, 50.0f, 40.0f, pal::rockLight);
    FillPolygon(mask, {{cx - 44, cy + 6}, {cx - 20, cy + 48}, {cx + 20, cy + 48}, {cx + 44, cy + 6}}, pal::rockLight);
    Stonework(mask, 12);
    mask.clipToOpaque = true;
    FillEllipse(mask, cx - 18, cy + 22, 40.0f, 30.0f, Mix(pal::rockLight, pal::rock, 0.5f));
    // the brow ridge and the eye sockets
    FillRect(mask, int(cx - 46), int(cy - 16), int(cx + 46), int(cy - 12), pal::rock);
    FillEllipse(mask, cx - 20, cy - 2, 11.0f, 8.0f, pal::rockDark);
    FillEllipse(mask, cx + 20, cy - 2, 11.0f, 8.0f, pal::rockDark);
    // mouth: a long dark slit with carved teeth
    FillRect(mask, int(cx - 22), int(cy + 28), int(cx + 22), int(cy + 32), pal::rockDark);
    for (int t = -20; t <= 20; t += 6) {
        FillRect(mask, int(cx + t), int(cy + 28), int(cx + t + 1), int(cy + 30), pal::rock);
    }
    // cracks and moss
    FillCapsule(mask, {cx + 8, cy - 40}, {cx + 14, cy - 20}, 0.7f, pal::rockDark);
    FillCapsule(mask, {cx + 14, cy - 20}, {cx + 9, cy - 12}, 0.7f, pal::rockDark);
    FillEllipse(mask, cx - 34, cy - 28, 12, 6, pal::mossBoss);
    FillEllipse(mask, cx + 30, cy + 40, 10, 5, pal::mossBoss);
    mask.clipToOpaque = false;
    Outline(mask, pal::outline);
    Blit(img, mask, 0, 0);
    Outline(img, pal::outline);
    // the eyes burn: the only bright part of the giant
    for (int side = -1; side <= 1; side += 2) {
        const float ex = cx + side * 20.0f, ey = cy - 1.0f;
        FillEllipse(img, ex, ey, 9.0f, 6.0f, WithAlpha(pal::bossEye, 0.6f));
        FillEllipse(img, ex, ey, 6.0f, 4.0f, pal::bossEye);
        FillEllipse(img, ex, ey, 3.0f, 2.0f, pal::bossEyeCore);
    }
    return img;
}

// ---- the body: a dark silhouette of shoulders and arms behind the arena -------------------------------------

Image Body() {
    const int w = 256, h = 180;
    Image img(w, h);
    const float cx = 128.0f;
    // shoulders and torso, tapering downward
    FillEllipse(img, cx, 44, 110.0f, 34.0f, pal::rockDark);
    FillPolygon(img, {{cx - 100, 50}, {cx + 100, 50}, {cx + 62, h + 1.0f}, {cx - 62, h + 1.0f}}, pal::rockDark);
    // arms hanging down at the sides, reaching out of view toward the hands
    for (int side = -1; side <= 1; side += 2) {
        FillTaper(img, {cx + side * 96.0f, 50}, {cx + side * 118.0f, float(h)}, 22.0f, 16.0f, pal::rockDark);
    }
    // the neck where the head sits
    FillEllipse(img, cx, 14, 30.0f, 20.0f, pal::rockDark);
    Stonework(img, 15, 0.3f);
    img.clipToOpaque = true;
    // bark plates and moss on the shoulders, a dark core in the chest
    for (int side = -1; side <= 1; side += 2) {
        FillEllipse(img, cx + side * 70.0f, 34, 28.0f, 12.0f, pal::barkBoss);
        FillEllipse(img, cx + side * 78.0f, 26, 18.0f, 6.0f, pal::mossBoss);
    }
    FillEllipse(img, cx, 100, 30.0f, 40.0f, Hex(0x121018));
    for (int r = 0; r < 6; r++) {
        const float x = cx - 50 + r * 20;
        FillTaper(img, {x, 60}, {x + (x - cx) * 0.3f, float(h)}, 1.0f, 2.0f, pal::barkBoss);
    }
    img.clipToOpaque = false;
    // dead branches growing out of the shoulders
    for (int side = -1; side <= 1; side += 2) {
        FillTaper(img, {cx + side * 60.0f, 20}, {cx + side * 84.0f, 0}, 4.0f, 1.0f, pal::barkBoss);
        FillTaper(img, {cx + side * 90.0f, 24}, {cx + side * 120.0f, 6}, 3.5f, 1.0f, pal::barkBoss);
    }
    // a faint ember glow deep in the chest, kept dim
    FillEllipse(img, cx, 96, 8.0f, 10.0f, Hex(0x4a2420));
    FillEllipse(img, cx, 96, 4.0f, 5.0f, Hex(0x6a3424));
    Outline(img, pal::outline);
    return img;
}

}  // namespace

void PaintBoss(SheetList& out) {
    out.push_back({"Textures/Boss/Boss_Hand_Raised.png", OpenHand(0.0f), 1});
    out.push_back({"Textures/Boss/Boss_Hand_Slam.png", HStrip({Fist(0, false), Fist(8, false), Fist(16, true)}), 3});
    out.push_back({"Textures/Boss/Boss_Hand_Sweep.png", FlatHand(false), 1});
    out.push_back({"Textures/Boss/Boss_Hand_Lift.png", HStrip({OpenHand(1.0f), OpenHand(0.6f), OpenHand(0.25f)}), 3});
    out.push_back({"Textures/Boss/Boss_Hand_Grounded.png", FlatHand(true), 1});
    out.push_back({"Textures/Boss/Boss_Body.png", Body(), 1});
    out.push_back({"Textures/Boss/Boss_Head.png", Head(), 1});
}

}  // namespace datagen
