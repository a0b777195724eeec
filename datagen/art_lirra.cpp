// Lirra, the little soul harvester: a purple hooded cloak, a pale face with big dark eyes and a
// small curved blade. Every frame is a named pose of one puppet, drawn facing right in a
// 64 x 45 frame with her feet on the bottom row.
#include "assets.h"
#include "palette.h"

#include <cmath>

namespace datagen {

namespace {

constexpr int kFrameW = 64;
constexpr int kFrameH = 45;
constexpr float kPi = 3.14159265f;

enum class Eyes { Open, Closed, Hurt, Wide };
enum class Smear { None, Light, LightBack, Heavy, HeavyWide, Spin };

struct LirraPose {
    float x = 0;      // whole-body shift (pixels)
    float y = 0;      // whole-body shift; positive is down
    float headX = 0;  // the head's lean relative to the body
    float headY = 0;
    float squash = 0;     // pixels taken off the cloak's height (crouch)
    float flare = 0;      // extra hem width on both sides
    float trail = 0;      // hem pushed backward (running, falling)
    float lift = 0;       // hem raised by the air (falling)
    float frontFoot = 0;  // x offset of the front foot
    float backFoot = 0;
    float frontFootUp = 0;  // foot raised from the ground
    float backFootUp = 0;
    float armAngle = 1.2f;  // front arm direction; 0 points forward, pi/2 down
    float armLength = 5.0f;
    float bladeAngle = 1.2f;  // direction the blade's edge sweeps from the hand
    bool blade = true;
    float wings = 0;     // cloak spread like wings, 0..1
    float wingBeat = 0;  // wing tips raised (negative) or lowered
    Eyes eyes = Eyes::Open;
    Smear smear = Smear::None;
    float glow = 0;         // soul charge around the blade, 0..1
    float fade = 1;         // whole-body opacity (death)
    float kneel = 0;        // 0 standing .. 1 lying on the ground
    bool spunBack = false;  // mid-spin: seen from behind
};

void DrawWing(Image& img, Vec2 shoulder, float side, float spread, float beat) {
    const float span = 6.0f + 14.0f * spread;
    const Vec2 tip{shoulder.x + side * span, shoulder.y - 3.0f + beat};
    const Vec2 mid{shoulder.x + side * span * 0.65f, shoulder.y + 5.0f + beat * 0.5f};
    const Vec2 low{shoulder.x + side * span * 0.3f, shoulder.y + 8.0f};
    FillPolygon(img, {shoulder + Vec2{0, -1}, tip, mid, low, shoulder + Vec2{0, 8}}, pal::cloakDark);
    // scalloped lower edge, like a bat's or a moth's wing
    FillEllipse(img, (tip.x + mid.x) / 2, (tip.y + mid.y) / 2 + 1, 2.2f, 1.6f, pal::cloakMid);
    FillCapsule(img, shoulder + Vec2{0, -1}, tip, 0.8f, pal::cloakTrim);
}

void DrawBlade(Image& img, Vec2 hand, float angle, float glow) {
    const Vec2 dir = Polar(angle, 1.0f);
    const Vec2 tip = hand + dir * 3.5f;
    FillCapsule(img, hand, tip, 0.6f, pal::handle);
    // the crescent: an arc curving away from the handle's end
    const Vec2 normal{-dir.y, dir.x};
    const Rgba steel = glow > 0.5f ? pal::soulMagentaCore : pal::steel;
    Vec2 prev = tip;
    for (int i = 1; i <= 7; i++) {
        const float t = i / 7.0f;
        const Vec2 p = tip + dir * (2.4f * std::sin(t * kPi * 0.9f)) + normal * (-6.5f * t);
        FillCapsule(img, prev, p, 1.0f - 0.45f * t, steel);
        prev = p;
    }
    PutPixel(img, int(tip.x + normal.x * -2.0f + dir.x * 2.2f), int(tip.y + normal.y * -2.0f + dir.y * 2.2f),
             glow > 0.5f ? pal::white : pal::steelEdge);
}

void DrawSmear(Image& img, Vec2 centre, Smear smear) {
    switch (smear) {
    case Smear::None:
        break;
    case Smear::Light:
        FillArc(img, centre, 9.0f, 14.0f, -1.35f, 0.9f, WithAlpha(pal::smear, 0.55f), true);
        FillArc(img, centre, 12.0f, 14.0f, -1.0f, 0.6f, WithAlpha(pal::smearEdge, 0.8f));
        break;
    case Smear::LightBack:
        FillArc(img, centre, 8.0f, 12.0f, 0.9f + 1.3f, 0.9f + 2.9f, WithAlpha(pal::smear, 0.45f), false);
        break;
    case Smear::Heavy:
        FillArc(img, centre, 8.0f, 18.0f, -1.7f, 1.1f, WithAlpha(pal::soulMagenta, 0.75f), true);
        FillArc(img, centre, 13.0f, 18.0f, -1.3f, 0.8f, WithAlpha(pal::soulMagentaCore, 0.95f));
        FillArc(img, centre, 16.0f, 18.0f, -1.1f, 0.5f, pal::white);
        break;
    case Smear::HeavyWide:
        FillArc(img, centre, 10.0f, 16.0f, -0.9f, 1.3f, WithAlpha(pal::soulMagenta, 0.45f), false);
        break;
    case Smear::Spin:
        FillArc(img, centre, 11.0f, 14.0f, 0.2f, 0.2f + 4.4f, WithAlpha(pal::soulMagenta, 0.5f), false);
        break;
    }
}

void DrawFace(Image& img, Vec2 head, const LirraPose& pose) {
    // the hood's shadowed opening, then the face inside it, turned a little toward the front
    FillEllipse(img, head.x + 1.6f, head.y + 1.0f, 5.4f, 4.9f, pal::cloakShadow);
    FillEllipse(img, head.x + 1.9f, head.y + 1.7f, 4.6f, 4.0f, pal::skin);
    // fringe of dark hair under the hood
    FillEllipse(img, head.x + 1.2f, head.y - 1.6f, 4.8f, 1.6f, pal::hair);
    PutPixel(img, int(head.x + 4.0f), int(head.y - 0.2f), pal::hair);
    const int ex = int(std::floor(head.x - 0.4f)), ey = int(std::floor(head.y + 0.9f));
    switch (pose.eyes) {
    case Eyes::Open:
    case Eyes::Wide:
        for (int e = 0; e < 2; e++) {
            const int x = ex + e * 4;
            FillRect(img, x, ey, x + 1, ey + (pose.eyes == Eyes::Wide ? 2 : 1), pal::eye);
            PutPixel(img, x + 1, ey, pal::eyeShine);
        }
        PutPixel(img, ex - 1, ey + 2, pal::blush);
        PutPixel(img, ex + 6, ey + 2, pal::blush);
        break;
    case Eyes::Closed:
        FillRect(img, ex, ey + 1, ex + 1, ey + 1, pal::eye);
        FillRect(img, ex + 4, ey + 1, ex + 5, ey + 1, pal::eye);
        break;
    case Eyes::Hurt:
        // squeezed shut: > <
        PutPixel(img, ex, ey, pal::eye);
        PutPixel(img, ex + 1, ey + 1, pal::eye);
        PutPixel(img, ex, ey + 2, pal::eye);
        PutPixel(img, ex + 5, ey, pal::eye);
        PutPixel(img, ex + 4, ey + 1, pal::eye);
        PutPixel(img, ex + 5, ey + 2, pal::eye);
        break;
    }
}

// Moonlight from above: cloak pixels on an upper edge take the lighter tone.
void RimLight(Image& img, Rgba cloth, Rgba light) {
    const Image src = img;
    for (int y = 0; y < img.Height(); y++) {
        for (int x = 0; x < img.Width(); x++) {
            const Rgba p = src.Get(x, y);
            const bool isCloth = p.a && p.r == cloth.r && p.g == cloth.g && p.b == cloth.b;
            if (isCloth && src.Get(x, y - 1).a == 0) {
                img.Put(x, y, light);
            }
        }
    }
}

Image DrawLirra(const LirraPose& pose) {
    Image body(kFrameW, kFrameH);
    const float cx = 31.5f + pose.x;
    const float ground = 44.0f + std::min(0.0f, pose.y);
    const float lying = pose.kneel;
    const float shoulderY = 33.0f + pose.y + pose.squash + lying * 6.0f;
    const float hemY = ground - 1.5f - pose.lift - lying * 0.5f;
    // lying down, the hood rests on the ground ahead of the body
    const Vec2 head =
        lying > 0.5f ? Vec2{cx + 8.0f, ground - 5.0f} : Vec2{cx + pose.headX, shoulderY - 5.5f + pose.headY};

    if (pose.wings > 0) {
        DrawWing(body, {cx - 1.0f, shoulderY + 0.5f}, -1.0f, pose.wings, pose.wingBeat);
        DrawWing(body, {cx + 1.0f, shoulderY + 0.5f}, 1.0f, pose.wings, pose.wingBeat);
    }

    // legs and boots, back leg first
    auto leg = [&](float footX, float up, Rgba color) {
        const Vec2 hip{cx + footX * 0.4f, hemY - 1.0f};
        const Vec2 foot{cx + footX, ground - up};
        FillCapsule(body, hip, foot, 1.0f, color);
        FillRect(body, int(foot.x - 1), int(foot.y), int(foot.x + 1.5f), int(foot.y), pal::boot);
    };
    if (lying < 0.5f) {
        leg(-2.0f + pose.backFoot, pose.backFootUp, pal::legDark);
        leg(2.0f + pose.frontFoot, pose.frontFootUp, pal::leg);
    }

    // the cloak: narrow at the shoulders, a wide hem with a soft zigzag
    const float halfTop = 4.5f, halfHem = 7.5f + pose.flare;
    const float back = pose.trail;
    std::vector<Vec2> cloak = {{cx - halfTop, shoulderY}, {cx + halfTop, shoulderY}};
    cloak.push_back({cx + halfHem - back * 0.4f, hemY});
    const int teeth = 4;
    for (int i = 1; i < teeth; i++) {
        const float t = float(i) / teeth;
        const float x = (cx + halfHem - back * 0.4f) + ((cx - halfHem - back) - (cx + halfHem - back * 0.4f)) * t;
        cloak.push_back({x, hemY + (i % 2 ? -1.2f : 0.6f) - back * 0.25f * t});
    }
    cloak.push_back({cx - halfHem - back, hemY - back * 0.3f});
    if (lying > 0.5f) {
        // on her side: the cloak stretched along the ground, boots peeking out behind
        cloak = {
            {cx - 10, ground}, {cx - 9, ground - 4}, {cx - 2, ground - 6.5f}, {cx + 4, ground - 6}, {cx + 5, ground}};
        FillRect(body, int(cx - 13), int(ground - 2), int(cx - 10), int(ground - 1), pal::boot);
        FillRect(body, int(cx - 12), int(ground), int(cx - 9), int(ground), pal::boot);
    }
    FillPolygon(body, cloak, pal::cloakMid);
    // fold shading: the back half is darker, a lighter fold runs down the front
    body.clipToOpaque = true;
    FillPolygon(body,
                {{cx - halfTop - 1, shoulderY - 1},
                 {cx - 1.0f, shoulderY - 1},
                 {cx - 3.5f - back * 0.6f, hemY + 2},
                 {cx - halfHem - back - 2, hemY + 2}},
                pal::cloakDark);
    FillCapsule(body, {cx + 2.0f, shoulderY + 2}, {cx + 4.0f - back * 0.2f, hemY - 1}, 0.7f, pal::cloakLight);
    body.clipToOpaque = false;

    // hood: a big round hood with a drooping tip behind
    if (!pose.spunBack) {
        FillPolygon(body,
                    {{head.x - 3.5f, head.y - 4.5f},
                     {head.x - 10.5f, head.y - 2.0f + pose.trail * 0.3f},
                     {head.x - 9.0f, head.y + 0.5f},
                     {head.x - 4.5f, head.y + 1.0f}},
                    pal::cloakMid);
    }
    FillEllipse(body, head.x + 0.6f, head.y + 0.2f, 7.4f, 6.8f, pal::cloakMid);
    body.clipToOpaque = true;
    FillEllipse(body, head.x - 2.5f, head.y + 2.0f, 5.0f, 4.5f, pal::cloakDark);
    FillEllipse(body, head.x + 0.5f, head.y - 3.5f, 4.0f, 2.0f, pal::cloakLight);
    body.clipToOpaque = false;
    if (pose.spunBack) {
        // seen from behind mid-spin: the hood's back with its tip
        FillEllipse(body, head.x, head.y + 1.0f, 4.0f, 3.5f, pal::cloakDark);
    } else {
        DrawFace(body, head, pose);
    }
    // a small lavender clasp at the throat
    PutPixel(body, int(cx + 1.5f), int(shoulderY), pal::clasp);

    // the front arm and the blade
    const Vec2 shoulder{cx + 2.0f, shoulderY + 1.5f};
    const Vec2 hand = shoulder + Polar(pose.armAngle, pose.armLength);
    if (lying < 0.5f) {
        FillCapsule(body, shoulder, hand, 1.1f, pal::cloakMid);
        if (pose.blade) {
            DrawBlade(body, hand, pose.bladeAngle, pose.glow);
        }
        FillRect(body, int(hand.x - 0.5f), int(hand.y - 0.5f), int(hand.x + 0.5f), int(hand.y + 0.5f), pal::skin);
    } else if (pose.blade) {
        DrawBlade(body, {cx + 10, ground - 1}, -0.2f, 0);
    }

    RimLight(body, pal::cloakMid, pal::cloakLight);
    Outline(body, pal::outline);
    if (pose.fade < 1.0f) {
        MultiplyAlpha(body, pose.fade);
    }

    // effects drawn over the outline: magic may glow
    Image frame(kFrameW, kFrameH);
    if (pose.glow > 0) {
        const float r = 2.0f + 3.0f * pose.glow;
        FillEllipse(frame, hand.x, hand.y, r + 1.5f, r + 1.5f, WithAlpha(pal::soulMagenta, 0.35f * pose.glow));
    }
    Blit(frame, body, 0, 0);
    DrawSmear(frame, {cx + 1.0f, shoulderY + 2.0f}, pose.smear);
    if (pose.glow > 0) {
        FillEllipse(frame, hand.x, hand.y, 1.2f + pose.glow, 1.2f + pose.glow, pal::soulMagentaCore);
    }
    return frame;
}

// Little soul wisps that leave her as she fades (death).
void DrawWisps(Image& img, int count, float rise, float alpha) {
    for (int i = 0; i < count; i++) {
        const float x = 22.0f + Hash(i, 1, 77) * 20.0f;
        const float y = 40.0f - rise * (0.6f + Hash(i, 2, 77) * 0.8f) - Hash(i, 3, 77) * 6.0f;
        FillEllipse(img, x, y, 1.6f, 2.2f, WithAlpha(pal::soulMagenta, 0.5f * alpha));
        FillEllipse(img, x, y + 0.5f, 0.8f, 1.0f, WithAlpha(pal::soulMagentaCore, alpha));
    }
}

Image Strip(const std::vector<LirraPose>& poses) {
    std::vector<Image> frames;
    for (const LirraPose& p : poses) {
        frames.push_back(DrawLirra(p));
    }
    return HStrip(frames);
}

Image IdleSheet() {
    // breathing: the hood sinks a pixel and the hem sways
    LirraPose rest;
    LirraPose exhale = rest;
    exhale.headY = 1;
    exhale.squash = 1;
    exhale.armAngle = 1.3f;
    exhale.trail = 1;
    LirraPose inhale = rest;
    inhale.headY = 0;
    inhale.trail = -1;
    return Strip({rest, exhale, inhale});
}

Image RunSheet() {
    std::vector<LirraPose> poses;
    const float footFront[4] = {6, 1, -5, 0}, footBack[4] = {-5, 0, 6, 1};
    const float upFront[4] = {0, 2, 0, 1}, upBack[4] = {0, 1, 0, 2};
    for (int i = 0; i < 4; i++) {
        LirraPose p;
        p.headX = 1.5f;
        p.y = (i % 2) ? -1.0f : 0.0f;
        p.trail = 3.0f + (i % 2);
        p.lift = 1.5f;  // the hem flies up a little so the stride shows
        p.frontFoot = footFront[i];
        p.backFoot = footBack[i];
        p.frontFootUp = upFront[i];
        p.backFootUp = upBack[i];
        p.armAngle = 2.1f - 0.7f * std::sin(i * kPi / 2);
        p.bladeAngle = 2.4f;
        poses.push_back(p);
    }
    return Strip(poses);
}

Image JumpSheet() {
    LirraPose push;
    push.y = -3;
    push.frontFootUp = 3;
    push.backFootUp = 1;
    push.backFoot = -1;
    push.trail = -1;
    push.armAngle = 2.5f;  // arms swing down and back as she springs up
    push.bladeAngle = 2.1f;
    push.headY = -1;
    LirraPose rise = push;
    rise.y = -4;
    rise.frontFootUp = 4;
    rise.backFootUp = 3;
    rise.flare = -1;
    rise.trail = 1;
    return Strip({push, rise});
}

Image FallSheet() {
    LirraPose a;
    a.y = -3;
    a.lift = 2;
    a.flare = 2;
    a.trail = 1;
    a.frontFootUp = 1;
    a.backFootUp = 2;
    a.backFoot = -1;
    a.armAngle = 0.2f;  // the arm out front for balance
    a.bladeAngle = -0.3f;
    a.eyes = Eyes::Wide;
    LirraPose b = a;
    b.lift = 3;
    b.flare = 3;
    b.headY = -1;
    b.armAngle = 0.0f;
    return Strip({a, b});
}

Image GlideSheet() {
    LirraPose a;
    a.y = -3;
    a.wings = 1.0f;
    a.wingBeat = -2;
    a.frontFootUp = 2;
    a.backFootUp = 3;
    a.backFoot = -2;
    a.trail = 2;
    a.armAngle = 0.6f;
    a.bladeAngle = 0.4f;
    a.eyes = Eyes::Closed;
    LirraPose b = a;
    b.wingBeat = 2;
    b.y = -2;
    b.wings = 0.85f;
    return Strip({a, b});
}

Image AttackSheet() {
    // anticipation, swing, strike forward (the hit lands in front), follow-through behind
    LirraPose windUp;
    windUp.armAngle = -2.4f;
    windUp.bladeAngle = -2.0f;
    windUp.headX = -1;
    windUp.backFoot = -1;
    windUp.trail = -1;
    LirraPose swing = windUp;
    swing.armAngle = -1.2f;
    swing.bladeAngle = -0.6f;
    swing.headX = 0.5f;
    swing.frontFoot = 2;
    LirraPose strike;
    strike.armAngle = -0.05f;
    strike.armLength = 6.5f;
    strike.bladeAngle = 0.5f;
    strike.headX = 1.5f;
    strike.frontFoot = 4;
    strike.backFoot = -2;
    strike.trail = 2;
    strike.smear = Smear::Light;
    LirraPose behind;
    behind.armAngle = 2.6f;
    behind.armLength = 6.0f;
    behind.bladeAngle = 3.4f;
    behind.headX = 0.5f;
    behind.frontFoot = 2;
    behind.backFoot = -3;
    behind.trail = -2;
    behind.smear = Smear::LightBack;
    return Strip({windUp, swing, strike, behind});
}

Image CollectSoulSheet() {
    // crouch and gather, charge, spin twice, the soul-charged strike, recover
    LirraPose crouch;
    crouch.squash = 2;
    crouch.headY = 1;
    crouch.flare = 1;
    crouch.armAngle = 2.7f;
    crouch.bladeAngle = 3.0f;
    crouch.glow = 0.3f;
    crouch.eyes = Eyes::Closed;
    LirraPose charge = crouch;
    charge.squash = 3;
    charge.armAngle = -2.6f;
    charge.bladeAngle = -2.3f;
    charge.glow = 0.7f;
    charge.eyes = Eyes::Open;
    LirraPose spinA;
    spinA.y = -2;
    spinA.spunBack = true;
    spinA.flare = 3;
    spinA.armAngle = 3.0f;
    spinA.bladeAngle = 2.5f;
    spinA.glow = 0.9f;
    spinA.smear = Smear::Spin;
    spinA.frontFootUp = 1;
    LirraPose spinB = spinA;
    spinB.spunBack = false;
    spinB.flare = 4;
    spinB.trail = -3;
    spinB.armAngle = -1.8f;
    spinB.bladeAngle = -1.0f;
    LirraPose strike;
    strike.armAngle = 0.05f;
    strike.armLength = 7.0f;
    strike.bladeAngle = 0.6f;
    strike.headX = 2;
    strike.frontFoot = 5;
    strike.backFoot = -3;
    strike.trail = 4;
    strike.flare = 2;
    strike.glow = 1.0f;
    strike.smear = Smear::Heavy;
    LirraPose after = strike;
    after.glow = 0.5f;
    after.smear = Smear::HeavyWide;
    after.armAngle = 0.7f;
    after.bladeAngle = 1.4f;
    after.headX = 1;
    after.trail = 2;
    LirraPose settle;
    settle.armAngle = 1.3f;
    settle.glow = 0.15f;
    settle.frontFoot = 1;
    return Strip({crouch, charge, spinA, spinB, strike, after, settle});
}

Image DamagedSheet() {
    LirraPose recoil;
    recoil.x = -2;
    recoil.headX = -2;
    recoil.headY = 1;
    recoil.trail = -3;
    recoil.eyes = Eyes::Hurt;
    recoil.armAngle = 2.6f;
    recoil.bladeAngle = 2.0f;
    recoil.frontFootUp = 1;
    LirraPose steady = recoil;
    steady.x = -1;
    steady.headX = -1;
    steady.trail = -1;
    steady.frontFootUp = 0;
    return Strip({recoil, steady});
}

Image DeathSheet() {
    std::vector<Image> frames;
    // stagger, sag, kneel, collapse, then she fades away as soul wisps rise
    LirraPose stagger;
    stagger.x = -2;
    stagger.headX = -2;
    stagger.eyes = Eyes::Hurt;
    stagger.armAngle = 2.4f;
    stagger.trail = -2;
    LirraPose sag = stagger;
    sag.squash = 2;
    sag.headY = 2;
    sag.headX = 1;
    sag.eyes = Eyes::Closed;
    sag.armAngle = 1.6f;
    LirraPose kneel = sag;
    kneel.squash = 5;
    kneel.headY = 2;
    kneel.flare = 2;
    kneel.blade = false;
    LirraPose down;
    down.kneel = 1;
    down.eyes = Eyes::Closed;
    frames.push_back(DrawLirra(stagger));
    frames.push_back(DrawLirra(sag));
    frames.push_back(DrawLirra(kneel));
    Image lie = DrawLirra(down);
    frames.push_back(lie);
    for (int i = 0; i < 4; i++) {
        LirraPose fading = down;
        fading.fade = 1.0f - (i + 1) * 0.24f;
        Image f = DrawLirra(fading);
        DrawWisps(f, 5, 4.0f + i * 5.0f, 1.0f - i * 0.22f);
        frames.push_back(f);
    }
    // the last frame is empty but for the last wisps, so the clip ends cleanly
    return HStrip(frames);
}

}  // namespace

void PaintLirra(SheetList& out) {
    out.push_back({"Textures/Lirra/Lirra_Idle.png", IdleSheet(), 3});
    out.push_back({"Textures/Lirra/Lirra_Run.png", RunSheet(), 4});
    out.push_back({"Textures/Lirra/Lirra_Jump.png", JumpSheet(), 2});
    out.push_back({"Textures/Lirra/Lirra_Fall.png", FallSheet(), 2});
    out.push_back({"Textures/Lirra/Lirra_Glide.png", GlideSheet(), 2});
    out.push_back({"Textures/Lirra/Lirra_Attack.png", AttackSheet(), 4});
    out.push_back({"Textures/Lirra/Lirra_CollectSoul.png", CollectSoulSheet(), 7});
    out.push_back({"Textures/Lirra/Lirra_Damaged.png", DamagedSheet(), 2});
    out.push_back({"Textures/Lirra/Lirra_Death.png", DeathSheet(), 8});
}

}  // namespace datagen
