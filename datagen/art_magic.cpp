// Magic, the only bright things in the forest: soul flames, wind streaks, the mushroom-ring
// portal and the soft particle every effect is made of.
#include "assets.h"
#include "palette.h"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTau = 6.2831853f;

// ---- soul flames: 24 x 25 frames, seen at 1 x 1.5 units (and at 5 x 5 when the boss falls) --------

struct FlameColours {
    Rgba glow, body, core;
};

Image SoulFrame(const FlameColours& c, int frame) {
    const int w = 24, h = 25;
    Image img(w, h);
    const float sway = (frame - 1) * 1.6f;  // the tip leans left, centre, right
    const float stretch = frame == 1 ? 1.0f : 0.0f;
    const Vec2 base{12.0f, 17.0f};
    auto flame = [&](float radius, float height, Rgba colour) {
        FillEllipse(img, base.x, base.y, radius, radius * 0.95f, colour);
        const Vec2 tip{base.x + sway * height / 10.0f, base.y - height - stretch};
        FillPolygon(img, {{base.x - radius * 0.98f, base.y - 0.5f}, tip, {base.x + radius * 0.98f, base.y - 0.5f}},
                    colour);
    };
    flame(7.5f, 14.5f, WithAlpha(c.glow, 0.45f));
    flame(5.5f, 11.5f, c.body);
    flame(3.0f, 6.0f, c.core);
    // a small flickering tongue beside the main flame
    const float side = frame == 2 ? -1.0f : 1.0f;
    FillEllipse(img, base.x + side * 5.5f, base.y - 7.0f - frame, 1.2f, 1.8f, c.body);
    // two dark eyes make it a soul, not just a flame
    FillRect(img, 10, 16, 10, 17, Scaled(c.glow, 0.3f));
    FillRect(img, 13, 16, 13, 17, Scaled(c.glow, 0.3f));
    return img;
}

Image SoulSheet(const FlameColours& c) {
    return HStrip({SoulFrame(c, 0), SoulFrame(c, 1), SoulFrame(c, 2)});
}

// ---- wind: translucent streaks that travel one full period over six frames ------------------------
// Wind zones are stretched over boxes of many sizes (a boss column is 5 x 15 units), so the
// frames are fine-grained: 96 pixels along the wind, 64 across.
constexpr int kWindLong = 96;
constexpr int kWindShort = 64;

Image WindEastFrame(int frame, int w, int h) {
    Image img(w, h);
    const int streaks = 14;
    for (int s = 0; s < streaks; s++) {
        const float y = (s + 0.5f) * h / streaks + (Hash(s, 1, 17) - 0.5f) * 2.0f;
        const float len = w * (0.25f + Hash(s, 2, 17) * 0.3f);
        const float speed = 1.0f + float(s % 2);  // whole periods per loop, so it repeats cleanly
        const float head = std::fmod(Hash(s, 3, 17) * w + frame / 6.0f * w * speed, float(w));
        for (int i = 0; i < int(len); i++) {
            const float x = head - i;
            const int px = (int(std::floor(x)) % w + w) % w;
            const float fade = 1.0f - i / len;
            const float wave = std::sin((x / w) * kTau * 2 + s) * 1.0f;
            img.Blend(px, int(y + wave), WithAlpha(Hex(0xc8e8f0), 0.55f * fade));
        }
    }
    return img;
}

Image WindSheet(int direction) {
    // 0 north (up), 1 east, 2 south, 3 west; painted as east and turned
    std::vector<Image> frames;
    for (int f = 0; f < 6; f++) {
        if (direction == 1 || direction == 3) {
            Image e = WindEastFrame(f, kWindLong, kWindShort);
            frames.push_back(direction == 1 ? e : FlippedH(e));
        } else {
            Image e = WindEastFrame(f, kWindLong, kWindShort);
            // transpose: east's x becomes north's upward y
            Image n(kWindShort, kWindLong);
            for (int y = 0; y < kWindLong; y++) {
                for (int x = 0; x < kWindShort; x++) {
                    n.Put(x, y, e.Get(kWindLong - 1 - y, x));
                }
            }
            frames.push_back(direction == 0 ? n : FlippedV(n));
        }
    }
    return HStrip(frames);
}

// ---- portal: a ring of glowing mushrooms around a swirling centre, 32 x 56 frames ----------------

Image PortalFrame(int frame) {
    const int w = 32, h = 56;
    Image img(w, h);
    const Vec2 c{16.0f, 27.0f};
    const float rx = 11.0f, ry = 21.0f;
    const float turn = frame / 8.0f * kTau / 3.0f;  // three arms: a third of a turn loops
    // the fairy ring on the ground: mushrooms round a flat ellipse, the far ones small and dim
    const Vec2 ring{16.0f, 49.0f};
    auto mushroom = [&](int m, bool front) {
        const float a = (m + 0.5f) / 10.0f * kTau;
        const float depth = std::sin(a);  // +1 nearest the viewer
        if ((depth >= 0) != front) {
            return;
        }
        const Vec2 p{ring.x + std::cos(a) * 11.5f, ring.y + depth * 4.0f};
        const float size = 1.4f + (depth + 1.0f) * 0.7f + Hash(m, 1, 44) * 0.5f;
        const bool bright = ((m + frame) % 4) < 2;
        const Rgba cap = bright ? pal::soulGreen : Hex(0x2a9a5a);
        FillRect(img, int(p.x), int(p.y - size), int(p.x), int(p.y + 1), pal::stalk);
        FillEllipse(img, p.x + 0.5f, p.y - size, size + 0.8f, size * 0.7f, front ? cap : Scaled(cap, 0.7f));
        PutPixel(img, int(p.x), int(p.y - size * 1.3f), bright ? pal::soulGreenCore : pal::soulGreen);
    };
    for (int m = 0; m < 10; m++) {
        mushroom(m, false);
    }
    // the swirl: three spiral arms inside a soft oval rising out of the ring
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            const float dx = (x + 0.5f - c.x) / rx, dy = (y + 0.5f - c.y) / ry;
            const float r = std::sqrt(dx * dx + dy * dy);
            if (r > 1.0f) {
                continue;
            }
            const float a = std::atan2(dy, dx);
            const float arm = 0.5f + 0.5f * std::cos(3.0f * (a + turn) + r * 7.0f);
            const float v = arm * (1.0f - r) + (1.0f - r) * 0.35f;
            Rgba col = v > 0.6f ? pal::soulCyanCore : v > 0.35f ? pal::soulCyan : Hex(0x2a5a9a);
            const float alpha = std::clamp(0.25f + v * 1.2f, 0.0f, 1.0f) * std::clamp((1.0f - r) * 5.0f, 0.0f, 1.0f);
            img.Blend(x, y, WithAlpha(col, alpha));
        }
    }
    for (int m = 0; m < 10; m++) {
        mushroom(m, true);
    }
    // sparks drifting up through the centre
    for (int s = 0; s < 4; s++) {
        const float t = std::fmod(frame / 8.0f + s / 4.0f, 1.0f);
        PutPixel(img, int(c.x - 5 + Hash(s, 2, 45) * 10), int(c.y + ry * 0.8f - t * ry * 1.6f), pal::white);
    }
    return img;
}

Image PortalSheet() {
    std::vector<Image> frames;
    for (int f = 0; f < 8; f++) {
        frames.push_back(PortalFrame(f));
    }
    return HStrip(frames);
}

// ---- the default particle: a soft white dot, tinted by each effect ---------------------------------------

Image Particle() {
    const int w = 32, h = 23;
    Image img(w, h);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            const float dx = (x + 0.5f - w / 2.0f) / (w / 2.0f), dy = (y + 0.5f - h / 2.0f) / (h / 2.0f);
            const float r = std::sqrt(dx * dx + dy * dy);
            if (r >= 1.0f) {
                continue;
            }
            const float a = std::pow(1.0f - r, 1.6f);
            img.Put(x, y, WithAlpha(pal::white, std::min(1.0f, a * 1.6f)));
        }
    }
    return img;
}

}  // namespace

void PaintMagic(SheetList& out) {
    out.push_back(
        {"Textures/Interactable/Soul-Fire.png", SoulSheet({pal::soulCyan, Hex(0x6ad0ff), pal::soulCyanCore}), 3});
    out.push_back({"Textures/Interactable/Soul-Fire-Green.png",
                   SoulSheet({pal::soulGreen, Hex(0x80f090), pal::soulGreenCore}), 3});
    out.push_back({"Textures/Interactable/Soul-Fire-Purple.png",
                   SoulSheet({pal::soulMagenta, Hex(0xf070e8), pal::soulMagentaCore}), 3});
    out.push_back({"Textures/Interactable/Wind_North2.png", WindSheet(0), 6});
    out.push_back({"Textures/Interactable/Wind_East.png", WindSheet(1), 6});
    out.push_back({"Textures/Interactable/Wind_South.png", WindSheet(2), 6});
    out.push_back({"Textures/Interactable/Wind_West.png", WindSheet(3), 6});
    out.push_back({"Textures/Interactable/Portal.png", PortalSheet(), 8});
    out.push_back({"Textures/Particles/default_particle.png", Particle(), 1});
}

}  // namespace datagen
