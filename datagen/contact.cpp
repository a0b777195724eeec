#include "assets.h"
#include "text.h"

#include <algorithm>
#include <cstdio>

namespace datagen {

namespace {

constexpr int kSheetWidth = 1600;
constexpr int kMargin = 12;

// How large an entry is shown: small pixel art is enlarged by whole factors, wide pictures shrunk.
Image Preview(const Sheet& sheet) {
    const Image& img = sheet.image;
    const int frameH = img.Height();
    int factor = std::clamp(150 / std::max(1, frameH), 1, 4);
    if (factor == 1 && img.Height() <= 240 && img.Width() * 2 <= kSheetWidth - 2 * kMargin) {
        factor = 2;
    }
    while (factor > 1 && img.Width() * factor > kSheetWidth - 2 * kMargin) {
        factor--;
    }
    if (img.Width() * factor > kSheetWidth - 2 * kMargin || img.Height() > 300) {
        const double shrink = std::min(double(kSheetWidth - 2 * kMargin) / img.Width(), 300.0 / img.Height());
        return ResampleArea(img, std::max(1, int(img.Width() * shrink)), std::max(1, int(img.Height() * shrink)));
    }
    Image big = ScaledNearest(img, factor);
    // thin ticks between frames
    const int frameW = img.Width() / sheet.frames * factor;
    for (int f = 1; f < sheet.frames; f++) {
        for (int y = 0; y < big.Height(); y += 4) {
            big.Blend(f * frameW, y, Rgba{255, 220, 120, 160});
        }
    }
    return big;
}

void Checker(Image& img, int x0, int y0, int w, int h) {
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            const bool odd = ((x / 8) + (y / 8)) % 2;
            img.Put(x0 + x, y0 + y, odd ? Hex(0x2a2a34) : Hex(0x222228));
        }
    }
}

}  // namespace

Image ContactSheet(const SheetList& sheets, const std::vector<std::pair<std::string, Image>>& scenes) {
    struct Placed {
        Image preview;
        std::string label;
        int x = 0, y = 0;
    };
    std::vector<Placed> placed;
    int penX = kMargin, penY = kMargin, rowHeight = 0;
    const int labelHeight = TextHeight(1) + 4;
    for (const Sheet& s : sheets) {
        Placed p;
        p.preview = Preview(s);
        char size[64];
        std::snprintf(size, sizeof(size), "  %dx%d /%d", s.image.Width(), s.image.Height(), s.frames);
        p.label = s.path.substr(s.path.find('/') + 1) + size;
        const int w = std::max(p.preview.Width(), TextWidth(p.label, 1));
        if (penX + w > kSheetWidth - kMargin) {
            penX = kMargin;
            penY += rowHeight + kMargin;
            rowHeight = 0;
        }
        p.x = penX;
        p.y = penY;
        penX += w + kMargin * 2;
        rowHeight = std::max(rowHeight, p.preview.Height() + labelHeight);
        placed.push_back(std::move(p));
    }
    // the review scenes at half size, two to a row
    for (const auto& [name, picture] : scenes) {
        Placed p;
        p.preview = ResampleArea(picture, picture.Width() / 2, picture.Height() / 2);
        p.label = "scene mock-up: " + name;
        if (penX + p.preview.Width() > kSheetWidth - kMargin) {
            penX = kMargin;
            penY += rowHeight + kMargin;
            rowHeight = 0;
        }
        p.x = penX;
        p.y = penY;
        penX += p.preview.Width() + kMargin * 2;
        rowHeight = std::max(rowHeight, p.preview.Height() + labelHeight);
        placed.push_back(std::move(p));
    }
    Image sheet(kSheetWidth, penY + rowHeight + kMargin, Hex(0x101014));
    for (const Placed& p : placed) {
        DrawText(sheet, p.label, p.x, p.y, 1, Hex(0xd8d0e0));
        Checker(sheet, p.x, p.y + labelHeight, p.preview.Width(), p.preview.Height());
        Blit(sheet, p.preview, p.x, p.y + labelHeight);
    }
    return sheet;
}

void BleedEdges(Image& img) {
    // a few rounds of dilation of colour into transparent pixels; alpha stays untouched
    for (int round = 0; round < 3; round++) {
        const Image src = img;
        bool changed = false;
        for (int y = 0; y < img.Height(); y++) {
            for (int x = 0; x < img.Width(); x++) {
                const Rgba self = src.Get(x, y);
                if (self.a != 0 || (self.r | self.g | self.b) != 0) {
                    continue;
                }
                int r = 0, g = 0, b = 0, n = 0;
                const int offsets[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
                for (const auto& o : offsets) {
                    const Rgba q = src.Get(x + o[0], y + o[1]);
                    if (q.a != 0 || (q.r | q.g | q.b) != 0) {
                        r += q.r;
                        g += q.g;
                        b += q.b;
                        n++;
                    }
                }
                if (n > 0) {
                    img.Pixels()[size_t(y) * img.Width() + x] = Rgba{uint8_t(r / n), uint8_t(g / n), uint8_t(b / n), 0};
                    changed = true;
                }
            }
        }
        if (!changed) {
            break;
        }
    }
}

}  // namespace datagen
