// The forest's other folk: the Vozarovu (small walking spirits with pale masks), their winged
// kind, and Dired, Lirra's grandmother. Spirits face right; Dired faces left.
#include "assets.h"
#include "palette.h"

#include <cmath>

namespace datagen {

namespace {

constexpr int kFrameW = 64;
constexpr int kFrameH = 45;
constexpr float kPi = 3.14159265f;

// ---------------------------------------------------------------------------------------------
// Vozarovu

struct SpiritPose {
    float x = 0, y = 0;               // body shift; feet stay on the ground unless hop is set
    float hop = 0;                    // feet leave the ground
    float squash = 0;                 // body flattened (+) or stretched (-)
    float lean = 0;                   // mask shifted forward
    float tuft = 0;                   // the wisp on top sways back (+) or forward (-)
    float frontLeg = 0, backLeg = 0;  // foot x offsets
    float frontLegUp = 0, backLegUp = 0;
    float armAngle = 1.9f;  // the small front claw; 0 points forward
    float armReach = 4.0f;
    bool clawSwipe = false;
    bool hurt = false;
    bool cracked = false;
    float fade = 1;
    float melt = 0;  // 0 whole .. 1 a puddle of mist
    bool maskFallen = false;
};

void DrawMask(Image& img, Vec2 c, bool hurt, bool cracked) {
    FillEllipse(img, c.x, c.y, 4.6f, 5.2f, pal::mask);
    img.clipToOpaque = true;
    FillEllipse(img, c.x - 2.2f, c.y + 1.5f, 3.0f, 4.5f, pal::maskShade);
    img.clipToOpaque = false;
    if (hurt) {
        FillRect(img, int(c.x - 2), int(c.y - 1), int(c.x - 1), int(c.y - 1), pal::maskEye);
        FillRect(img, int(c.x + 1), int(c.y - 1), int(c.x + 2), int(c.y - 1), pal::maskEye);
    } else {
        FillRect(img, int(c.x - 2), int(c.y - 2), int(c.x - 1), int(c.y), pal::maskEye);
        FillRect(img, int(c.x + 1), int(c.y - 2), int(c.x + 2), int(c.y), pal::maskEye);
    }
    // a thin painted mouth line and a cheek mark
    FillRect(img, int(c.x - 1), int(c.y + 2), int(c.x + 1), int(c.y + 2), pal::maskShade);
    PutPixel(img, int(c.x + 3), int(c.y + 1), pal::capRed);
    if (cracked) {
        PutPixel(img, int(c.x), int(c.y - 4), pal::maskEye);
        PutPixel(img, int(c.x + 1), int(c.y - 3), pal::maskEye);
        PutPixel(img, int(c.x), int(c.y - 2), pal::maskEye);
    }
}

Image DrawSpirit(const SpiritPose& p) {
    Image img(kFrameW, kFrameH);
    const float ground = 44.0f - p.hop;
    const float cx = 31.0f + p.x;
    const float bodyH = 8.5f - p.squash - p.melt * 5.0f, bodyW = 9.0f + p.squash * 0.6f + p.melt * 3.0f;
    const float cy = ground - 2.5f - bodyH + p.y;

    // little legs
    if (p.melt < 0.5f) {
        for (int side = 0; side < 2; side++) {
            const float fx = cx + (side ? 3.0f + p.frontLeg : -3.0f + p.backLeg);
            const float up = side ? p.frontLegUp : p.backLegUp;
            FillCapsule(img, {fx, cy + bodyH - 2}, {fx, ground - 0.5f - up}, 1.1f, side ? pal::ghostDark : pal::shadow);
            FillRect(img, int(fx - 1), int(ground - up), int(fx + 1.5f), int(ground - up), pal::outline);
        }
    }
    // the round body with a wisp curling up from the top
    FillPolygon(img,
                {{cx - 2.0f, cy - bodyH + 1},
                 {cx - 4.0f - p.tuft * 2.5f, cy - bodyH - 5.0f},
                 {cx - 6.5f - p.tuft * 3.5f, cy - bodyH - 6.0f},
                 {cx - 5.0f, cy - bodyH + 2.5f}},
                pal::ghost);
    FillEllipse(img, cx, cy, bodyW, bodyH, pal::ghost);
    // a ragged hem of mist between the legs
    for (int i = 0; i < 4; i++) {
        FillEllipse(img, cx - bodyW + 2.5f + i * (bodyW * 2 - 5) / 3.0f, cy + bodyH - 1.0f + (i % 2), 2.0f, 1.8f,
                    pal::ghost);
    }
    img.clipToOpaque = true;
    FillEllipse(img, cx - 3.5f, cy + 3.0f, bodyW, bodyH, pal::ghostDark);
    FillEllipse(img, cx + 1.5f, cy - bodyH * 0.6f, bodyW * 0.5f, bodyH * 0.3f, pal::ghostLight);
    img.clipToOpaque = false;

    // the claw
    if (p.melt < 0.5f) {
        const Vec2 shoulder{cx + 4.0f, cy + 2.0f};
        const Vec2 hand = shoulder + Polar(p.armAngle, p.armReach);
        FillCapsule(img, shoulder, hand, 1.3f, pal::ghostDark);
        for (int f = -1; f <= 1; f++) {
            PutPixel(img, int(hand.x + std::cos(p.armAngle + f * 0.6f) * 2.2f),
                     int(hand.y + std::sin(p.armAngle + f * 0.6f) * 2.2f), pal::mask);
        }
    }
    if (!p.maskFallen) {
        DrawMask(img, {cx + 3.5f + p.lean, cy - 1.0f + p.melt * 3.0f}, p.hurt, p.cracked);
    }
    // moonlight catches the spirit's upper edges
    {
        const Image src = img;
        for (int y = 0; y < img.Height(); y++) {
            for (int x = 0; x < img.Width(); x++) {
                const Rgba q = src.Get(x, y);
                if (q.a && q.r == pal::ghost.r && q.g == pal::ghost.g && q.b == pal::ghost.b &&
                    src.Get(x, y - 1).a == 0) {
                    img.Put(x, y, pal::ghostLight);
                }
            }
        }
    }
    Outline(img, pal::outline);
    if (p.maskFallen) {
        Image mask(kFrameW, kFrameH);
        DrawMask(mask, {cx + 8.0f, 41.0f}, true, true);
        Outline(mask, pal::outline);
        Blit(img, mask, 0, 0);
    }
    if (p.fade < 1) {
        MultiplyAlpha(img, p.fade);
    }
    if (p.clawSwipe) {
        FillArc(img, {cx + 4.0f, cy + 2.0f}, 6.0f, 9.5f, -1.2f, 1.4f, WithAlpha(pal::ghostLight, 0.55f), true);
    }
    return img;
}

Image SpiritStrip(const std::vector<SpiritPose>& poses) {
    std::vector<Image> frames;
    for (const SpiritPose& p : poses) {
        frames.push_back(DrawSpirit(p));
    }
    return HStrip(frames);
}

Image SpiritIdle() {
    std::vector<SpiritPose> poses;
    for (int i = 0; i < 4; i++) {
        SpiritPose p;
        p.squash = (i == 1 || i == 2) ? 0.8f : 0.0f;
        p.tuft = std::sin(i * kPi / 2) * 0.8f;
        p.armAngle = 1.9f + 0.2f * std::sin(i * kPi / 2);
        poses.push_back(p);
    }
    return SpiritStrip(poses);
}

Image SpiritRun() {
    std::vector<SpiritPose> poses;
    const float front[4] = {3, 0, -3, 0}, back[4] = {-3, 0, 3, 0};
    for (int i = 0; i < 4; i++) {
        SpiritPose p;
        p.lean = 1.0f;
        p.frontLeg = front[i];
        p.backLeg = back[i];
        p.frontLegUp = (i == 1) ? 2.0f : 0.0f;
        p.backLegUp = (i == 3) ? 2.0f : 0.0f;
        p.y = (i % 2) ? -1.0f : 0.0f;
        p.tuft = 1.2f;
        p.armAngle = 2.4f;
        poses.push_back(p);
    }
    return SpiritStrip(poses);
}

Image SpiritAttack() {
    // rear back, lunge with a swipe, slam the claw down in front
    SpiritPose rear;
    rear.x = -2;
    rear.lean = -1;
    rear.squash = 1.2f;
    rear.armAngle = -2.2f;
    rear.tuft = -0.5f;
    SpiritPose lunge;
    lunge.x = 3;
    lunge.lean = 2;
    lunge.squash = -0.8f;
    lunge.armAngle = -0.2f;
    lunge.armReach = 7.0f;
    lunge.frontLeg = 2;
    lunge.backLeg = -2;
    lunge.clawSwipe = true;
    lunge.tuft = 1.5f;
    SpiritPose slam = lunge;
    slam.clawSwipe = false;
    slam.squash = 1.5f;
    slam.armAngle = 1.1f;
    slam.armReach = 7.5f;
    slam.tuft = 0.8f;
    return SpiritStrip({rear, lunge, slam});
}

Image SpiritDamaged() {
    SpiritPose knocked;
    knocked.x = -3;
    knocked.hurt = true;
    knocked.cracked = true;
    knocked.squash = -1;
    knocked.tuft = -1.5f;
    knocked.armAngle = -2.6f;
    SpiritPose back = knocked;
    back.x = -1;
    back.squash = 0.5f;
    back.tuft = -0.5f;
    back.hurt = false;
    return SpiritStrip({knocked, back});
}

Image SpiritDeath() {
    std::vector<Image> frames;
    for (int i = 0; i < 8; i++) {
        SpiritPose p;
        p.hurt = true;
        p.cracked = true;
        p.melt = std::min(1.0f, i / 4.0f);
        p.x = -1.0f * std::min(i, 2);
        p.tuft = -1.0f;
        p.maskFallen = i >= 4;
        p.fade = i < 4 ? 1.0f : 1.0f - (i - 3) * 0.2f;
        Image f = DrawSpirit(p);
        // mist rising away
        for (int w = 0; w < i; w++) {
            const float wx = 24.0f + Hash(w, i, 5) * 16.0f, wy = 38.0f - i * 3.0f - Hash(w, 7, 5) * 6.0f;
            FillEllipse(f, wx, wy, 1.5f, 1.5f, WithAlpha(pal::ghostLight, 0.5f - i * 0.04f));
        }
        frames.push_back(f);
    }
    return HStrip(frames);
}

// ---------------------------------------------------------------------------------------------
// VozarovuF: the winged kind, drawn centred in its frame

Image DrawFlyer(float beat) {
    Image img(kFrameW, kFrameH);
    const Vec2 c{32.0f, 24.0f - beat * 1.5f};
    for (int side = -1; side <= 1; side += 2) {
        const Vec2 root{c.x + side * 3.0f, c.y - 1.0f};
        const Vec2 tip{c.x + side * 19.0f, c.y - 4.0f - beat * 9.0f};
        const Vec2 mid{c.x + side * 14.0f, c.y + 3.0f - beat * 3.0f};
        const Vec2 low{c.x + side * 7.0f, c.y + 5.0f};
        FillPolygon(img, {root, tip, mid, low}, pal::wing);
        img.clipToOpaque = true;
        FillCapsule(img, root, tip, 1.0f, pal::wingLight);
        FillCapsule(img, root, mid, 0.6f, pal::wingLight);
        img.clipToOpaque = false;
    }
    FillEllipse(img, c.x, c.y, 6.5f, 6.0f, pal::ghost);
    FillPolygon(img, {{c.x - 2, c.y + 4}, {c.x, c.y + 10 + beat}, {c.x + 2, c.y + 4}}, pal::ghost);
    img.clipToOpaque = true;
    FillEllipse(img, c.x - 2.5f, c.y + 2.5f, 6.0f, 5.5f, pal::ghostDark);
    img.clipToOpaque = false;
    DrawMask(img, {c.x + 1.5f, c.y - 0.5f}, false, false);
    Outline(img, pal::outline);
    return img;
}

Image FlyerSheet() {
    const float beats[4] = {-1.0f, 0.0f, 1.0f, 0.0f};
    std::vector<Image> frames;
    for (float b : beats) {
        frames.push_back(DrawFlyer(b));
    }
    return HStrip(frames);
}

// ---------------------------------------------------------------------------------------------
// Dired: hunched, shawl and cane, a kind face with a smile a little too wide. Faces left.

struct GrannyPose {
    float bob = 0;   // body sinks (breathing)
    float cane = 0;  // cane lifted for a tap
    bool blink = false;
    bool glint = false;  // the unsettling moment: her eyes catch the light
};

Image DrawGranny(const GrannyPose& p) {
    Image img(kFrameW, kFrameH);
    const float cx = 33.0f, ground = 44.0f;
    const float b = p.bob;
    // cane in front (left), held by a thin hand
    const Vec2 caneTop{cx - 10.0f, 30.0f + b - p.cane};
    FillCapsule(img, caneTop, {cx - 12.0f, ground - p.cane}, 0.7f, pal::cane);
    FillCapsule(img, caneTop, caneTop + Vec2{2.5f, -1.0f}, 0.9f, pal::caneLight);
    // skirt and feet
    FillPolygon(img, {{cx - 6, 31 + b}, {cx + 6, 31 + b}, {cx + 8, ground - 1}, {cx - 8, ground - 1}}, pal::dress);
    FillRect(img, int(cx - 5), int(ground), int(cx - 2), int(ground), pal::boot);
    FillRect(img, int(cx + 1), int(ground), int(cx + 4), int(ground), pal::boot);
    img.clipToOpaque = true;
    FillPolygon(img, {{cx + 1, 30}, {cx + 9, 30}, {cx + 9, ground}, {cx + 3, ground}}, pal::dressDark);
    img.clipToOpaque = false;
    // the shawl over a hunched back
    FillEllipse(img, cx + 1.5f, 28.0f + b, 8.0f, 6.5f, pal::shawl);
    FillPolygon(img, {{cx - 6, 28 + b}, {cx + 8, 27 + b}, {cx + 5, 37 + b}, {cx, 39 + b}, {cx - 5, 35 + b}},
                pal::shawl);
    img.clipToOpaque = true;
    FillEllipse(img, cx + 5.0f, 31.0f + b, 5.0f, 7.0f, pal::shawlDark);
    FillEllipse(img, cx - 1.0f, 23.5f + b, 5.0f, 2.0f, pal::shawlLight);
    img.clipToOpaque = false;
    // fringe tassels on the shawl's point
    for (int i = 0; i < 3; i++) {
        PutPixel(img, int(cx - 1 + i * 2), int(40 + b), pal::shawlDark);
    }
    // head forward and low under a headscarf, face turned left
    const Vec2 h{cx - 4.5f, 24.5f + b};
    FillEllipse(img, h.x + 1.0f, h.y - 0.5f, 6.2f, 6.0f, pal::shawl);
    FillPolygon(img, {{h.x + 2, h.y - 6}, {h.x + 9, h.y - 2}, {h.x + 8, h.y + 5}, {h.x + 2, h.y + 4}}, pal::shawl);
    img.clipToOpaque = true;
    FillEllipse(img, h.x + 3.5f, h.y + 2.0f, 5.0f, 4.0f, pal::shawlDark);
    FillEllipse(img, h.x + 0.5f, h.y - 4.5f, 4.0f, 1.5f, pal::shawlLight);
    img.clipToOpaque = false;
    FillEllipse(img, h.x - 1.6f, h.y + 1.4f, 3.7f, 3.8f, pal::oldSkin);
    FillEllipse(img, h.x - 1.2f, h.y - 1.4f, 3.6f, 1.3f, pal::greyHair);  // a wisp of grey hair
    // a long nose, small eyes and a smile a little too wide
    FillRect(img, int(h.x - 6), int(h.y + 1), int(h.x - 5), int(h.y + 2), pal::oldSkin);
    PutPixel(img, int(h.x - 6), int(h.y + 2), pal::oldSkinShade);
    const int ey = int(h.y + 0.5f);
    const Rgba eyeColour = p.glint ? Hex(0x6a9a80) : pal::eye;
    if (p.blink) {
        FillRect(img, int(h.x - 4), ey + 1, int(h.x - 3), ey + 1, pal::eye);
        FillRect(img, int(h.x - 1), ey + 1, int(h.x), ey + 1, pal::eye);
    } else {
        PutPixel(img, int(h.x - 4), ey, eyeColour);
        PutPixel(img, int(h.x - 1), ey, eyeColour);
        PutPixel(img, int(h.x - 4), ey - 1, pal::oldSkinShade);
        PutPixel(img, int(h.x - 1), ey - 1, pal::oldSkinShade);
    }
    FillRect(img, int(h.x - 4), ey + 3, int(h.x), ey + 3, pal::oldSkinShade);
    PutPixel(img, int(h.x - 5), ey + 2, pal::oldSkinShade);
    PutPixel(img, int(h.x + 1), ey + 2, pal::oldSkinShade);
    // the hand on the cane
    FillEllipse(img, caneTop.x + 1.0f, caneTop.y + 0.5f, 1.5f, 1.3f, pal::oldSkin);
    Outline(img, pal::outline);
    return img;
}

Image GrannySheet() {
    GrannyPose a;
    GrannyPose b;
    b.bob = 1;
    GrannyPose c;
    c.bob = 1;
    c.cane = 1.5f;
    c.blink = true;
    GrannyPose d;
    d.glint = true;
    std::vector<Image> frames{DrawGranny(a), DrawGranny(b), DrawGranny(c), DrawGranny(d)};
    return HStrip(frames);
}

}  // namespace

void PaintCreatures(SheetList& out) {
    out.push_back({"Textures/NPC/Dired_Idle.png", GrannySheet(), 4});
    out.push_back({"Textures/NPC/Vozarovu_Idle.png", SpiritIdle(), 4});
    out.push_back({"Textures/NPC/Vozarovu_Run.png", SpiritRun(), 4});
    out.push_back({"Textures/NPC/Vozarovu_Attack.png", SpiritAttack(), 3});
    out.push_back({"Textures/NPC/Vozarovu_Damaged.png", SpiritDamaged(), 2});
    out.push_back({"Textures/NPC/Vozarovu_Death.png", SpiritDeath(), 8});
    out.push_back({"Textures/NPC/VozarovuF_Idle.png", FlyerSheet(), 4});
}

}  // namespace datagen
