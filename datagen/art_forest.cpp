// The forest: a 10 x 10 tile sheet of 32 x 23 cells (its layout is listed in datagen/TILES.md)
// and the parallax layers behind the levels. Earth, moss and stone use noise that repeats
// every cell, so neighbouring tiles join without seams.
#include "assets.h"
#include "palette.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace datagen {

namespace {

constexpr int kCellW = 32;
constexpr int kCellH = 23;
constexpr float kPi = 3.14159265f;

enum Open { kTop = 1, kBottom = 2, kLeft = 4, kRight = 8 };

enum class Ground { Earth, Stone };

struct TerrainStyle {
    Ground ground = Ground::Earth;
    int seed = 1;
    bool stoneInside = false;
    bool roots = false;  // roots drawn over the fill
    bool slab = false;   // a floating platform: only the top part is solid
    float darken = 1.0f;
};

// Offset of an open edge at position t (pixels along the edge); repeats every period so that
// neighbouring tiles meet at the same depth.
float EdgeWobble(float t, int period, int seed) {
    return ValueNoise(t / period * 4.0f, 0.5f, seed, 4, 0) * 2.0f;
}

Rgba EarthAt(int x, int y, int seed) {
    // soft clods of two close tones; white-noise jitter keeps the grain from forming patterns
    const float n = Fbm(x / float(kCellW) * 4.0f, y / float(kCellH) * 3.0f, 11 + seed * 0, 3, 4, 3);
    const float d = n + (Hash(x, y, 5) - 0.5f) * 0.08f;
    Rgba c = d < 0.46f ? pal::earthDark : d < 0.74f ? pal::earth : pal::earthLight;
    // sparse grit
    if (Hash(x, y, 3) > 0.992f) {
        c = Mix(pal::stone, pal::earth, 0.4f);
    }
    return c;
}

Rgba StoneAt(int x, int y) {
    // irregular blocks: rows 11-12 pixels high, with offset joints every row
    // two courses per cell (11 and 12 pixels), so stacked cells keep the pattern
    const int row = y < 11 ? 0 : 1;
    const int rowH = row ? 12 : 11;
    const int shift = row ? 8 : 0;
    const int bx = (x + shift) % 16;
    const int by = row ? y - 11 : y;
    if (by == rowH - 1 || bx == 15) {
        return pal::stoneDark;
    }
    const float n = Fbm(x / 32.0f * 8.0f, y / 23.0f * 6.0f, 21, 2, 8, 6);
    if (by == 0 || bx == 0) {
        return pal::stoneLight;
    }
    return n + (Bayer(x, y) - 0.5f) * 0.15f < 0.42f ? Mix(pal::stone, pal::stoneDark, 0.5f) : pal::stone;
}

Image TerrainCell(int open, const TerrainStyle& style) {
    Image cell(kCellW, kCellH);
    const int slabDepth = 13;
    for (int y = 0; y < kCellH; y++) {
        for (int x = 0; x < kCellW; x++) {
            const float wobbleBottom = 1.0f + EdgeWobble(float(x), kCellW, style.seed + 5);
            const float wobbleSide = EdgeWobble(float(y), kCellH, style.seed + 9);
            // open sides: the ground ends inside the cell, rounded at open corners
            float inset = 0;
            if (open & kLeft) {
                inset = std::max(inset, 2.0f + wobbleSide - x);
            }
            if (open & kRight) {
                inset = std::max(inset, x - (kCellW - 3.0f - wobbleSide));
            }
            const int bottomLimit = style.slab ? slabDepth : kCellH;
            if ((open & kBottom) && y > bottomLimit - 2.0f - wobbleBottom) {
                continue;
            }
            if ((open & kTop) && (open & kLeft)) {
                const float dx = std::max(0.0f, 6.0f - x), dy = std::max(0.0f, 6.0f - y);
                if (dx * dx + dy * dy > 36.0f) {
                    continue;
                }
            }
            if ((open & kTop) && (open & kRight)) {
                const float dx = std::max(0.0f, x - (kCellW - 7.0f)), dy = std::max(0.0f, 6.0f - y);
                if (dx * dx + dy * dy > 36.0f) {
                    continue;
                }
            }
            if ((open & kBottom) && (open & kLeft) && !style.slab) {
                const float dx = std::max(0.0f, 6.0f - x), dy = std::max(0.0f, y - (kCellH - 7.0f));
                if (dx * dx + dy * dy > 36.0f) {
                    continue;
                }
            }
            if ((open & kBottom) && (open & kRight) && !style.slab) {
                const float dx = std::max(0.0f, x - (kCellW - 7.0f)), dy = std::max(0.0f, y - (kCellH - 7.0f));
                if (dx * dx + dy * dy > 36.0f) {
                    continue;
                }
            }
            if (inset > 0) {
                continue;
            }
            cell.Put(x, y, style.ground == Ground::Stone ? StoneAt(x, y) : EarthAt(x, y, style.seed));
        }
    }
    if (style.stoneInside) {
        FillEllipse(cell, 16, 13, 5.5f, 4.0f, pal::stoneDark);
        FillEllipse(cell, 15.5f, 12.2f, 4.5f, 3.0f, pal::stone);
        FillEllipse(cell, 14.5f, 11.5f, 2.0f, 1.2f, pal::stoneLight);
    }
    if (style.roots) {
        FillTaper(cell, {4, 0}, {12, 14}, 1.2f, 0.4f, pal::root);
        FillTaper(cell, {12, 14}, {10, 22}, 0.5f, 0.3f, pal::root);
        FillTaper(cell, {25, 0}, {22, 10}, 1.0f, 0.3f, pal::root);
    }
    // shading along the open sides: a dark rim and a shadowed band
    cell.clipToOpaque = true;
    const Image solid = cell;
    for (int y = 0; y < kCellH; y++) {
        for (int x = 0; x < kCellW; x++) {
            if (solid.Get(x, y).a == 0) {
                continue;
            }
            const bool leftOpen = (open & kLeft) && solid.Get(x - 2, y).a == 0;
            const bool rightOpen = (open & kRight) && solid.Get(x + 2, y).a == 0;
            const bool bottomOpen = (open & kBottom) && solid.Get(x, y + 2).a == 0;
            if (leftOpen || rightOpen || bottomOpen) {
                cell.Put(x, y, Mix(solid.Get(x, y), pal::earthDeep, 0.6f));
            }
        }
    }
    cell.clipToOpaque = false;
    // moss on top: blade tips in the first two rows, then a solid band whose lower edge drips
    // into the earth
    if (open & kTop) {
        constexpr int kBlades = 2;
        for (int x = 0; x < kCellW; x++) {
            if (solid.Get(x, 3).a == 0 && solid.Get(x, 6).a == 0) {
                continue;
            }
            const float blade = Hash(x, 0, style.seed + 40);
            for (int y = 0; y < kBlades; y++) {
                const bool grows = (y == 1 && blade > 0.45f) || (y == 0 && blade > 0.8f);
                cell.Put(x, y, grows && solid.Get(x, y).a ? (y == 0 ? pal::mossTip : pal::mossLight) : Rgba{});
            }
            const int depth = kBlades + 4 + int(ValueNoise(x / 32.0f * 8.0f, 3.5f, style.seed + 3, 8, 0) * 3.0f);
            for (int y = kBlades; y < depth; y++) {
                if (solid.Get(x, y).a == 0) {
                    continue;
                }
                Rgba c = y == kBlades       ? pal::mossTip
                         : y == kBlades + 1 ? pal::mossLight
                         : y < depth - 1    ? pal::moss
                                            : pal::mossDark;
                if (style.ground == Ground::Stone && y > kBlades + 2) {
                    c = pal::mossDark;
                }
                cell.Put(x, y, c);
            }
            if (Hash(x, 0, style.seed) > 0.8f && solid.Get(x, depth + 1).a != 0) {
                cell.Put(x, depth, pal::mossDark);
                cell.Put(x, depth + 1, pal::mossDark);
            }
        }
    }
    // hanging root tips under an open bottom
    if (open & kBottom) {
        const int bottom = style.slab ? slabDepth : kCellH;
        for (int i = 0; i < 3; i++) {
            const float rx = 5.0f + i * 10.0f + Hash(i, style.seed, 8) * 5.0f;
            if (solid.Get(int(rx), bottom - 4).a == 0) {
                continue;
            }
            const float len = 3.0f + Hash(i, style.seed, 9) * (style.slab ? 7.0f : 2.0f);
            FillTaper(cell, {rx, bottom - 4.0f}, {rx + 1.0f, bottom - 3.0f + len}, 0.9f, 0.3f, pal::root);
        }
    }
    if (style.darken < 1.0f) {
        for (Rgba& p : cell.Pixels()) {
            p = Mix(Scaled(p, style.darken), pal::night, 0.25f);
        }
    }
    return cell;
}

// ---- decorations: transparent cells with things standing on the bottom row ------------------

Image Tuft(int seed, float height) {
    Image c(kCellW, kCellH);
    for (int i = 0; i < 9; i++) {
        const float x = 8.0f + i * 2.0f + Hash(i, seed, 1) * 2.0f;
        const float lean = (Hash(i, seed, 2) - 0.5f) * 6.0f;
        const float h = height * (0.5f + Hash(i, seed, 3) * 0.5f);
        FillTaper(c, {x, 22.5f}, {x + lean, 22.5f - h}, 1.0f, 0.3f, i % 3 ? pal::moss : pal::mossLight);
    }
    Outline(c, Mix(pal::outline, pal::mossDark, 0.3f));
    return c;
}

Image Fern() {
    Image c(kCellW, kCellH);
    for (int side = -1; side <= 1; side += 2) {
        for (int f = 0; f < 3; f++) {
            const Vec2 base{16.0f, 22.5f};
            const float a = -kPi / 2 + side * (0.4f + f * 0.35f);
            const Vec2 tip = base + Polar(a, 15.0f - f * 3.0f);
            FillTaper(c, base, tip, 1.2f, 0.4f, f == 1 ? pal::leafLight : pal::leaf);
            for (int l = 1; l < 5; l++) {
                const Vec2 p = base + (tip - base) * (l / 5.0f);
                FillCapsule(c, p, p + Polar(a + side * 0.9f, 3.0f - l * 0.4f), 0.5f, pal::leaf);
            }
        }
    }
    Outline(c, pal::outline);
    return c;
}

Image Flowers(Rgba petal) {
    Image c = Tuft(7, 7.0f);
    const float xs[3] = {10, 17, 23}, hs[3] = {11, 15, 9};
    for (int i = 0; i < 3; i++) {
        FillCapsule(c, {xs[i], 22.5f}, {xs[i] + 1, 22.5f - hs[i]}, 0.5f, pal::mossDark);
        const Vec2 head{xs[i] + 1, 22.0f - hs[i]};
        for (int p = 0; p < 5; p++) {
            FillEllipse(c, head.x + std::cos(p * 1.256f) * 1.6f, head.y + std::sin(p * 1.256f) * 1.6f, 1.2f, 1.2f,
                        petal);
        }
        PutPixel(c, int(head.x), int(head.y), Hex(0x9a8a60));
    }
    return c;
}

Image Mushrooms(bool cluster) {
    Image c(kCellW, kCellH);
    auto shroom = [&](float x, float h, float r, Rgba cap) {
        FillCapsule(c, {x, 22.5f}, {x, 22.5f - h}, r * 0.3f, pal::stalk);
        FillEllipse(c, x, 22.5f - h, r, r * 0.65f, cap);
        FillRect(c, int(x - r), int(22.5f - h), int(x + r), int(22.5f - h + 1), Scaled(cap, 0.6f));
        PutPixel(c, int(x - r * 0.4f), int(22.5f - h - r * 0.3f), Mix(cap, pal::white, 0.35f));
    };
    if (cluster) {
        shroom(11, 6, 3.0f, pal::capTeal);
        shroom(17, 10, 4.5f, pal::capTeal);
        shroom(23, 4, 2.5f, pal::capTeal);
    } else {
        shroom(16, 9, 5.5f, pal::capRed);
    }
    Outline(c, pal::outline);
    return c;
}

Image Stones(bool big) {
    Image c(kCellW, kCellH);
    if (big) {
        FillEllipse(c, 16, 17, 11, 7, pal::stoneDark);
        FillEllipse(c, 15, 15.5f, 9.5f, 5.5f, pal::stone);
        FillEllipse(c, 12, 13, 4, 2, pal::stoneLight);
        FillEllipse(c, 19, 11.5f, 5, 1.6f, pal::moss);
    } else {
        FillEllipse(c, 10, 20.5f, 4, 2.5f, pal::stone);
        FillEllipse(c, 18, 21, 3, 2, pal::stoneDark);
        FillEllipse(c, 23, 20, 2.5f, 2.5f, pal::stone);
        PutPixel(c, 9, 19, pal::stoneLight);
    }
    Outline(c, pal::outline);
    return c;
}

Image Bush() {
    Image c(kCellW, kCellH);
    const float xs[5] = {8, 14, 20, 25, 16}, ys[5] = {16, 13, 14, 17, 9}, rs[5] = {6, 7, 6.5f, 5, 5};
    for (int i = 0; i < 5; i++) {
        FillEllipse(c, xs[i], ys[i] + 3, rs[i], rs[i] * 0.8f, pal::leaf);
    }
    c.clipToOpaque = true;
    for (int i = 0; i < 5; i++) {
        FillEllipse(c, xs[i] - 1.5f, ys[i] + 1, rs[i] * 0.5f, rs[i] * 0.35f, pal::leafLight);
    }
    FillRect(c, 0, 20, 31, 22, pal::leafDark);
    c.clipToOpaque = false;
    Outline(c, pal::outline);
    return c;
}

Image HangingRoots(int seed, float length) {
    Image c(kCellW, kCellH);
    for (int i = 0; i < 4; i++) {
        const float x = 4.0f + i * 7.5f + Hash(i, seed, 1) * 3.0f;
        const float len = length * (0.4f + Hash(i, seed, 2) * 0.6f);
        const float sway = (Hash(i, seed, 3) - 0.5f) * 5.0f;
        FillTaper(c, {x, 0}, {x + sway * 0.5f, len * 0.6f}, 1.3f, 0.8f, pal::root);
        FillTaper(c, {x + sway * 0.5f, len * 0.6f}, {x + sway, len}, 0.8f, 0.3f, pal::root);
    }
    Outline(c, pal::outline);
    return c;
}

Image Vine(bool end) {
    Image c(kCellW, kCellH);
    const int bottom = end ? 14 : 23;
    for (int y = 0; y < bottom; y++) {
        const float x = 16.0f + std::sin(y * 2 * kPi / 23.0f) * 2.5f;
        FillRect(c, int(x), y, int(x) + 1, y, pal::mossDark);
        if (y % 6 == 2) {
            FillEllipse(c, x + (y % 12 == 2 ? 3.0f : -2.0f), y + 1.0f, 2.2f, 1.3f, pal::leafLight);
        }
    }
    if (end) {
        FillEllipse(c, 16, 15, 2.5f, 2.0f, pal::leaf);
    }
    Outline(c, pal::outline);
    return c;
}

Image MossDrip() {
    Image c(kCellW, kCellH);
    for (int x = 0; x < kCellW; x++) {
        const int len = 2 + int(ValueNoise(x / 4.0f, 0.3f, 91, 8, 0) * 6.0f);
        FillRect(c, x, 0, x, len, len > 5 ? pal::moss : pal::mossDark);
    }
    Outline(c, pal::outline);
    return c;
}

Image Cobweb() {
    Image c(kCellW, kCellH);
    const Rgba thread = WithAlpha(Hex(0x8a8aa0), 0.5f);
    for (int i = 0; i < 5; i++) {
        const float a = kPi / 2 * i / 4.0f;
        FillCapsule(c, {0, 0}, Polar(a, 20.0f), 0.35f, thread);
    }
    for (int r = 1; r <= 3; r++) {
        FillArc(c, {0, 0}, r * 5.5f - 0.5f, r * 5.5f + 0.4f, 0.0f, kPi / 2, thread);
    }
    return c;
}

Image Skull() {
    Image c(kCellW, kCellH);
    FillEllipse(c, 16, 17, 5, 4.5f, Hex(0x8a8478));
    FillRect(c, 13, 20, 19, 22, Hex(0x8a8478));
    FillRect(c, 13, 16, 14, 18, pal::outline);
    FillRect(c, 18, 16, 19, 18, pal::outline);
    PutPixel(c, 15, 21, pal::outline);
    PutPixel(c, 17, 21, pal::outline);
    FillCapsule(c, {4, 22}, {10, 21}, 0.8f, Hex(0x7a7468));
    Outline(c, pal::outline);
    return c;
}

Image Log(bool left) {
    Image c(kCellW, kCellH);
    const int x0 = left ? 6 : 0, x1 = left ? 31 : 25;
    FillRect(c, x0, 12, x1, 22, pal::bark);
    FillRect(c, x0, 12, x1, 13, pal::barkLight);
    for (int x = x0 + 3; x < x1; x += 7) {
        FillRect(c, x, 15, x + 3, 15, pal::barkDark);
    }
    if (left) {
        FillEllipse(c, 6, 17, 3, 5.5f, pal::wood);
        FillEllipse(c, 6, 17, 1.5f, 3, pal::woodLight);
    } else {
        FillEllipse(c, 25, 17, 3, 5.5f, pal::bark);
        FillRect(c, 4, 10, 12, 11, pal::moss);
    }
    Outline(c, pal::outline);
    return c;
}

// ---- trees --------------------------------------------------------------------------------------

void BarkStripes(Image& c, int x0, int x1) {
    c.clipToOpaque = true;
    for (int x = x0; x <= x1; x++) {
        const float n = ValueNoise(x / 3.0f, 0.0f, 41);
        if (n < 0.35f) {
            FillRect(c, x, 0, x, kCellH - 1, pal::barkDark);
        } else if (n > 0.72f) {
            FillRect(c, x, 0, x, kCellH - 1, pal::barkLight);
        }
    }
    c.clipToOpaque = false;
}

Image Trunk(int kind) {
    // kinds: 0 base with root left, 1 base, 2 base with root right, 3 trunk, 4 trunk with hollow
    Image c(kCellW, kCellH);
    FillRect(c, 9, 0, 22, kCellH - 1, pal::bark);
    if (kind <= 2) {
        FillPolygon(c, {{9, 8}, {22, 8}, {27, 23}, {4, 23}}, pal::bark);
    }
    BarkStripes(c, 4, 27);
    if (kind == 0) {
        FillTaper(c, {6, 17}, {-1, 22.5f}, 3.0f, 2.0f, pal::bark);
    }
    if (kind == 2) {
        FillTaper(c, {25, 17}, {33, 22.5f}, 3.0f, 2.0f, pal::bark);
    }
    if (kind == 4) {
        FillEllipse(c, 15.5f, 11, 3.5f, 5, pal::barkDark);
        FillEllipse(c, 15.5f, 11.5f, 2.5f, 4, pal::shadow);
    }
    // the trunk's sides continue into the cells above and below, so only open ends get an outline
    for (int y = 0; y < kCellH; y++) {
        for (int x = 0; x < kCellW; x++) {
            if (c.Get(x, y).a && (!c.Get(x - 1, y).a || !c.Get(x + 1, y).a) && x > 0 && x < kCellW - 1) {
                c.Put(x, y, pal::outline);
            }
        }
    }
    return c;
}

Image Branch(bool left) {
    Image c(kCellW, kCellH);
    const float from = left ? 32.5f : -0.5f, to = left ? 2.0f : 30.0f;
    FillTaper(c, {from, 13}, {to, 7}, 3.5f, 1.2f, pal::bark);
    FillTaper(c, {(from + to) / 2, 10}, {(from + to) / 2 + (left ? -4.0f : 4.0f), 2}, 1.5f, 0.6f, pal::bark);
    c.clipToOpaque = true;
    FillTaper(c, {from, 11}, {to, 6}, 1.0f, 0.4f, pal::barkLight);
    c.clipToOpaque = false;
    FillEllipse(c, to + (left ? 1.0f : -1.0f), 6, 3.5f, 2.5f, pal::leaf);
    Outline(c, pal::outline);
    return c;
}

Image Canopy(int kind) {
    // 0 the ragged top of a leaf mass, 1 its dense middle, 2 its ragged underside with hanging
    // leaves; all three wrap left to right, and the middle also top to bottom
    Image c(kCellW, kCellH);
    for (int y = 0; y < kCellH; y++) {
        for (int x = 0; x < kCellW; x++) {
            const float ragged = 3.0f + ValueNoise(x / float(kCellW) * 5.0f, 0.5f, 65 + kind, 5, 0) * 9.0f;
            const bool inside = kind == 1 || (kind == 0 && y >= ragged) || (kind == 2 && kCellH - 1 - y >= ragged);
            if (inside) {
                c.Put(x, y, pal::leafDark);
            }
        }
    }
    struct Clump {
        float x, y, r;
    };
    std::vector<Clump> clumps;
    for (int i = 0; i < 16; i++) {
        clumps.push_back(
            {Hash(i, 1, 63 + kind) * kCellW, Hash(i, 2, 63 + kind) * kCellH, 3.0f + Hash(i, 3, 63) * 3.0f});
    }
    const float wraps[3] = {-1.0f, 0.0f, 1.0f};
    auto paint = [&](float shrink, float shift, Rgba colour) {
        for (const Clump& k : clumps) {
            for (float wx : wraps) {
                for (float wy : wraps) {
                    FillEllipse(c, k.x + wx * kCellW - shift, k.y + wy * kCellH - shift, k.r - shrink,
                                (k.r - shrink) * 0.8f, colour);
                }
            }
        }
    };
    c.clipToOpaque = true;
    paint(0.0f, 0.0f, pal::leaf);
    paint(1.6f, 1.0f, pal::leafLight);
    for (int i = 0; i < 26; i++) {
        PutPixel(c, int(Hash(i, 5, 64) * kCellW), int(Hash(i, 6, 64) * kCellH), i % 2 ? pal::leafDark : pal::mossLight);
    }
    c.clipToOpaque = false;
    if (kind == 2) {
        // a few leaves dangling below the mass
        for (int i = 0; i < 4; i++) {
            const float x = 4.0f + i * 8.0f + Hash(i, 7, 64) * 4.0f;
            const float ragged = 3.0f + ValueNoise(x / float(kCellW) * 5.0f, 0.5f, 65 + kind, 5, 0) * 9.0f;
            FillEllipse(c, x, kCellH - ragged + 1.0f, 1.4f, 2.2f, pal::leaf);
        }
    }
    return c;
}

// ---- wooden things ---------------------------------------------------------------------------------

Image Plank(int kind) {
    // 0 left end, 1 middle, 2 right end, 3 a post
    Image c(kCellW, kCellH);
    if (kind == 3) {
        FillRect(c, 13, 0, 18, kCellH - 1, pal::wood);
        FillRect(c, 13, 0, 13, kCellH - 1, pal::woodLight);
        return c;
    }
    const int x0 = kind == 0 ? 2 : 0, x1 = kind == 2 ? 29 : 31;
    FillRect(c, x0, 0, x1, 6, pal::wood);
    FillRect(c, x0, 0, x1, 0, pal::woodLight);
    for (int x = x0; x <= x1; x += 16) {
        FillRect(c, x, 1, x, 6, pal::barkDark);
    }
    PutPixel(c, x0 + 4, 3, pal::barkDark);
    PutPixel(c, x1 - 4, 3, pal::barkDark);
    if (kind != 1) {
        const int px = kind == 0 ? 6 : 24;
        FillRect(c, px - 2, 7, px + 1, 14, pal::bark);
    }
    Outline(c, pal::outline);
    return c;
}

Image Signpost() {
    Image c(kCellW, kCellH);
    FillRect(c, 15, 6, 17, 22, pal::wood);
    FillPolygon(c, {{5, 3}, {25, 3}, {29, 7.5f}, {25, 12}, {5, 12}}, pal::woodLight);
    FillRect(c, 8, 6, 22, 6, pal::barkDark);
    FillRect(c, 8, 9, 19, 9, pal::barkDark);
    Outline(c, pal::outline);
    return c;
}

Image Fence() {
    Image c(kCellW, kCellH);
    for (int x : {4, 20}) {
        FillRect(c, x, 6, x + 3, 22, pal::wood);
        FillPolygon(c, {{float(x), 6}, {x + 2.0f, 3}, {x + 4.0f, 6}}, pal::wood);
    }
    FillRect(c, 0, 10, 31, 12, pal::bark);
    FillRect(c, 0, 17, 31, 19, pal::bark);
    Outline(c, pal::outline);
    return c;
}

Image Crate() {
    Image c(kCellW, kCellH);
    FillRect(c, 5, 3, 26, 22, pal::wood);
    FillRect(c, 7, 5, 24, 20, pal::bark);
    FillCapsule(c, {8, 19}, {23, 6}, 1.2f, pal::wood);
    FillRect(c, 5, 3, 26, 3, pal::woodLight);
    Outline(c, pal::outline);
    return c;
}

Image Gravestone() {
    Image c(kCellW, kCellH);
    FillEllipse(c, 16, 9, 7, 6, pal::stone);
    FillRect(c, 9, 9, 23, 22, pal::stone);
    FillRect(c, 9, 15, 23, 22, Mix(pal::stone, pal::stoneDark, 0.4f));
    FillRect(c, 15, 7, 16, 14, pal::stoneDark);
    FillRect(c, 13, 9, 18, 10, pal::stoneDark);
    FillRect(c, 7, 21, 25, 22, pal::moss);
    Outline(c, pal::outline);
    return c;
}

Image Stump() {
    Image c(kCellW, kCellH);
    FillRect(c, 9, 10, 23, 22, pal::bark);
    FillPolygon(c, {{9, 16}, {4, 23}, {28, 23}, {23, 16}}, pal::bark);
    FillEllipse(c, 16, 10, 7, 2.5f, pal::woodLight);
    FillEllipse(c, 16, 10, 3.5f, 1.2f, pal::wood);
    BarkStripes(c, 4, 28);
    FillEllipse(c, 16, 10, 7, 2.5f, pal::woodLight);
    FillEllipse(c, 16, 10, 3.5f, 1.2f, pal::wood);
    Outline(c, pal::outline);
    return c;
}

Image TileSheet() {
    std::vector<Image> cells(100, Image(kCellW, kCellH));
    TerrainStyle earth;
    TerrainStyle earthB = earth;
    earthB.seed = 2;
    TerrainStyle withStone = earth;
    withStone.stoneInside = true;
    TerrainStyle withRoots = earth;
    withRoots.roots = true;
    TerrainStyle slab = earth;
    slab.slab = true;
    TerrainStyle stone;
    stone.ground = Ground::Stone;
    TerrainStyle deep = earth;
    deep.darken = 0.7f;
    // row 0: grass-topped ground
    cells[0] = TerrainCell(kTop | kLeft, earth);
    cells[1] = TerrainCell(kTop, earth);
    cells[2] = TerrainCell(kTop, earthB);
    cells[3] = TerrainCell(kTop | kRight, earth);
    cells[4] = TerrainCell(kLeft, earth);
    cells[5] = TerrainCell(0, earth);
    cells[6] = TerrainCell(0, withStone);
    cells[7] = TerrainCell(kRight, earth);
    cells[8] = TerrainCell(kTop | kLeft | kRight, earth);
    cells[9] = TerrainCell(kLeft | kRight, earth);
    // row 1: undersides, single blocks and inner corners
    cells[10] = TerrainCell(kBottom | kLeft, earth);
    cells[11] = TerrainCell(kBottom, earth);
    cells[12] = TerrainCell(kBottom, earthB);
    cells[13] = TerrainCell(kBottom | kRight, earth);
    cells[14] = TerrainCell(kBottom | kLeft | kRight, earth);
    cells[15] = TerrainCell(0, earth);
    cells[16] = TerrainCell(0, earth);
    {
        // inner corners: the grass of a lower step tucks under a wall
        Image grassL = TerrainCell(kTop, earth);
        Image grassR = grassL;
        for (int y = 0; y < 8; y++) {
            for (int x = 0; x < 8; x++) {
                if (x + y < 8) {
                    cells[15].Put(x, y, grassL.Get(x, y));
                    cells[16].Put(kCellW - 1 - x, y, grassR.Get(kCellW - 1 - x, y));
                }
            }
        }
    }
    cells[17] = TerrainCell(0, deep);
    cells[18] = TerrainCell(0, withRoots);
    cells[19] = TerrainCell(kTop | kBottom | kLeft | kRight, earth);
    // row 2: floating platforms and overhangs
    cells[20] = TerrainCell(kTop | kBottom | kLeft, slab);
    cells[21] = TerrainCell(kTop | kBottom, slab);
    TerrainStyle slabB = slab;
    slabB.seed = 2;
    cells[22] = TerrainCell(kTop | kBottom, slabB);
    cells[23] = TerrainCell(kTop | kBottom | kRight, slab);
    cells[24] = TerrainCell(kTop | kBottom | kLeft | kRight, slab);
    cells[25] = TerrainCell(kBottom | kLeft | kRight, slab);
    cells[26] = HangingRoots(4, 22.0f);
    cells[27] = TerrainCell(0, earthB);
    cells[28] = TerrainCell(0, withStone);
    cells[29] = TerrainCell(kTop | kBottom, earth);
    // row 3: mossy stone
    cells[30] = TerrainCell(kTop | kLeft, stone);
    cells[31] = TerrainCell(kTop, stone);
    cells[32] = TerrainCell(kTop | kRight, stone);
    cells[33] = TerrainCell(kLeft, stone);
    cells[34] = TerrainCell(0, stone);
    cells[35] = TerrainCell(kRight, stone);
    cells[36] = TerrainCell(kBottom | kLeft, stone);
    cells[37] = TerrainCell(kBottom, stone);
    cells[38] = TerrainCell(kBottom | kRight, stone);
    cells[39] = TerrainCell(kTop | kBottom | kLeft | kRight, stone);
    // row 4: things that grow or lie on the ground
    cells[40] = Tuft(1, 7.0f);
    cells[41] = Tuft(2, 14.0f);
    cells[42] = Fern();
    cells[43] = Flowers(pal::flowerViolet);
    cells[44] = Flowers(pal::flowerBlue);
    cells[45] = Mushrooms(false);
    cells[46] = Mushrooms(true);
    cells[47] = Stones(false);
    cells[48] = Stones(true);
    cells[49] = Bush();
    // row 5: hanging things and lying logs
    cells[50] = HangingRoots(1, 12.0f);
    cells[51] = HangingRoots(2, 18.0f);
    cells[52] = Vine(false);
    cells[53] = Vine(true);
    cells[54] = MossDrip();
    cells[55] = Cobweb();
    cells[56] = FlippedH(Cobweb());
    cells[57] = Skull();
    cells[58] = Log(true);
    cells[59] = Log(false);
    // row 6: tree trunk, branches and canopy
    for (int k = 0; k < 5; k++) {
        cells[60 + k] = Trunk(k);
    }
    cells[65] = Branch(true);
    cells[66] = Branch(false);
    for (int k = 0; k < 3; k++) {
        cells[67 + k] = Canopy(k);
    }
    // row 7: wooden walkways and props
    for (int k = 0; k < 4; k++) {
        cells[70 + k] = Plank(k);
    }
    cells[74] = Signpost();
    cells[75] = Fence();
    cells[76] = Crate();
    cells[77] = Gravestone();
    cells[78] = Stump();
    cells[79] = Tuft(5, 10.0f);
    // rows 8 and 9: darker copies of rows 0 and 1 for the back layers
    for (int i = 0; i < 20; i++) {
        Image dark = cells[i];
        for (Rgba& p : dark.Pixels()) {
            if (p.a) {
                p = Mix(Scaled(p, 0.6f), pal::night, 0.3f);
            }
        }
        cells[80 + i] = dark;
    }
    Image sheet(kCellW * 10, kCellH * 10);
    for (int i = 0; i < 100; i++) {
        Blit(sheet, cells[i], (i % 10) * kCellW, (i / 10) * kCellH);
    }
    return sheet;
}

// ---- parallax layers ---------------------------------------------------------------------------------

// The far background: dusk sky, a faint moon behind haze, and rows of ever nearer tree lines.
// It is drawn three times its size in both directions, so shapes keep their proportions.
Image FarBackground() {
    const int w = 2048, h = 240;
    Image img(w, h);
    const Rgba skyTop = Hex(0x0a1226), skyLow = Hex(0x1c3848);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            const float t = y / float(h);
            img.Put(x, y, Mix(skyTop, skyLow, std::pow(t, 1.3f)));
        }
    }
    // faint stars in the upper sky
    for (int s = 0; s < 160; s++) {
        const int x = int(Hash(s, 1, 81) * w), y = int(std::pow(Hash(s, 2, 81), 1.6f) * 110);
        const float twinkle = 0.25f + Hash(s, 3, 81) * 0.45f;
        img.Blend(x, y, WithAlpha(Hex(0x8aa4c0), twinkle));
    }
    // moon glow kept dim: the sky is part of the world and must not bloom
    const Vec2 moon{1300, 52};
    for (int y = 0; y < 130; y++) {
        for (int x = 1180; x < 1420; x++) {
            const float d = std::hypot(x - moon.x, y - moon.y) * 1.8f;
            if (d < 110) {
                img.Blend(x, y, WithAlpha(Hex(0x5a7a90), 0.35f * (1 - d / 110)));
            }
        }
    }
    FillEllipse(img, moon.x, moon.y, 9, 9, Hex(0x9ab0b8));
    FillEllipse(img, moon.x - 2, moon.y - 2, 3, 2.5f, Hex(0x8aa0aa));  // a dim sea on its face
    // tree lines: each row a little darker, nearer and more detailed
    const Rgba rows[4] = {Hex(0x1a3242), Hex(0x142838), Hex(0x0f1f2e), Hex(0x0a1622)};
    for (int r = 0; r < 4; r++) {
        const float base = 120.0f + r * 26.0f;
        // the ridge of the tree line, then firs of every size standing on it, each with
        // ragged tiers of branches
        std::vector<float> top(static_cast<size_t>(w));
        for (int x = 0; x < w; x++) {
            top[size_t(x)] = base - Fbm(x / (180.0f - r * 30), r * 3.1f, 70 + r, 4) * (40 - r * 4);
        }
        const std::vector<float> ridge = top;
        float x = 0;
        for (int t = 0; x < w; t++) {
            const float height = (12.0f + r * 7) * (0.5f + Hash(t, r, 5));
            const float halfWidth = height * (0.22f + Hash(t, r, 6) * 0.12f);
            const float tiers = 3.0f + std::floor(Hash(t, r, 7) * 3.0f);
            for (int dx = int(-halfWidth); dx <= int(halfWidth); dx++) {
                const int px = int(x) + dx;
                if (px < 0 || px >= w) {
                    continue;
                }
                const float u = std::abs(dx) / halfWidth;
                // each tier juts out and tucks back in, so the outline is a stack of branches
                const float tier = std::fmod((1.0f - u) * tiers, 1.0f);
                const float profile = height * (1.0f - u) - tier * height / tiers * 0.45f;
                top[size_t(px)] = std::min(top[size_t(px)], ridge[size_t(px)] - std::max(0.0f, profile));
            }
            x += halfWidth * (0.9f + Hash(t, r, 8) * 1.2f);
        }
        for (int px = 0; px < w; px++) {
            for (int y = std::max(0, int(top[size_t(px)])); y < h; y++) {
                img.Put(px, y, rows[r]);
            }
        }
        // mist between the rows
        for (int y = int(base) - 10; y < int(base) + 30 && y < h; y++) {
            for (int x = 0; x < w; x++) {
                const float m = Fbm(x / 160.0f, y / 18.0f + r, 90 + r, 3);
                const float a = std::max(0.0f, m - 0.45f) * 0.5f * (1 - std::abs(y - base - 10) / 30.0f);
                if (a > 0) {
                    img.Blend(x, y, WithAlpha(Hex(0x3a5a68), a));
                }
            }
        }
    }
    return img;
}

// The middle ground: tall trunks and hanging leaf clusters at both ends, so it reads both upright
// and in its mirrored copy.
Image MiddleGround() {
    const int w = 1024, h = 300;
    Image img(w, h);
    int x = 10;
    int i = 0;
    while (x < w) {
        const float width = 10 + Hash(i, 1, 31) * 18;
        const float lean = (Hash(i, 2, 31) - 0.5f) * 14;
        const Rgba tone = Mix(Hex(0x0d1e26), Hex(0x15303a), Hash(i, 3, 31));
        FillPolygon(img,
                    {{x - lean * 0.5f, -1},
                     {x + width - lean * 0.5f, -1},
                     {x + width + lean * 0.5f + 4, h + 1.0f},
                     {x + lean * 0.5f - 4, h + 1.0f}},
                    tone);
        // bark lines
        img.clipToOpaque = true;
        for (int s = 0; s < 3; s++) {
            const float sx = x + width * (0.25f + s * 0.25f);
            FillCapsule(img, {sx - lean * 0.5f, 0}, {sx + lean * 0.5f, float(h)}, 0.6f, Scaled(tone, 0.75f));
        }
        img.clipToOpaque = false;
        // leaf clusters near the top and bottom
        for (int c = 0; c < 4; c++) {
            const float cy = (c % 2) ? 20 + Hash(i, c, 32) * 50 : h - 20 - Hash(i, c, 32) * 50;
            const float cx = x + width / 2 + (Hash(i, c, 33) - 0.5f) * 70;
            for (int b = 0; b < 5; b++) {
                FillEllipse(img, cx + (Hash(b, c + i * 7, 34) - 0.5f) * 36, cy + (Hash(b, c + i * 7, 35) - 0.5f) * 18,
                            10 + Hash(b, c, 36) * 8, 6 + Hash(b, c, 37) * 4,
                            Mix(Hex(0x0e2a2a), Hex(0x17403a), Hash(b, c, 38)));
            }
        }
        x += int(width + 40 + Hash(i, 4, 31) * 110);
        i++;
    }
    return img;
}

// Grass and ferns along the bottom edge of the screen.
Image LowerEdge() {
    const int w = 1024, h = 64;
    Image img(w, h);
    for (int x = 0; x < w; x++) {
        const float top = 30 + Fbm(x / 60.0f, 0.5f, 51, 3) * 22;
        for (int y = int(top); y < h; y++) {
            img.Put(x, y, y < top + 3 ? Hex(0x163a32) : Hex(0x0d221f));
        }
    }
    for (int b = 0; b < 420; b++) {
        const float x = Hash(b, 1, 52) * w;
        const float len = 8 + Hash(b, 2, 52) * 22;
        const float lean = (Hash(b, 3, 52) - 0.5f) * 12;
        FillTaper(img, {x, float(h)}, {x + lean, h - 26 - len * 0.8f}, 1.4f, 0.3f,
                  Hash(b, 4, 52) > 0.7f ? Hex(0x1d4a3c) : Hex(0x10302a));
    }
    return img;
}

// Leaves and branches hanging from the top of the screen.
Image UpperEdge() {
    const int w = 1024, h = 64;
    Image img(w, h);
    for (int x = 0; x < w; x++) {
        const float bottom = 12 + Fbm(x / 70.0f, 2.5f, 53, 3) * 20;
        for (int y = 0; y < int(bottom); y++) {
            img.Put(x, y, y > bottom - 3 ? Hex(0x163a32) : Hex(0x0b1e1c));
        }
    }
    for (int v = 0; v < 70; v++) {
        const float x = Hash(v, 1, 54) * w;
        const float len = 20 + Hash(v, 2, 54) * 40;
        for (int y = 10; y < len && y < h; y++) {
            const float vx = x + std::sin(y * 0.25f + v) * 1.5f;
            FillRect(img, int(vx), y, int(vx), y, Hex(0x10302a));
            if (y % 7 == 0) {
                FillEllipse(img, vx + (y % 14 ? 2.0f : -2.0f), y, 2.5f, 1.5f, Hex(0x1a4238));
            }
        }
    }
    return img;
}

}  // namespace

void PaintForest(SheetList& out) {
    out.push_back({"Textures/Forest/Forest_Tileset_1.png", TileSheet(), 1});
    out.push_back({"Textures/Forest/Forest_FG_Lower.png", LowerEdge(), 1});
    out.push_back({"Textures/Forest/Forest_FG_Upper.png", UpperEdge(), 1});
    out.push_back({"Textures/Forest/Forest_MG.png", MiddleGround(), 1});
    out.push_back({"Textures/Forest/Forest_BG.png", FarBackground(), 1});
}

}  // namespace datagen
