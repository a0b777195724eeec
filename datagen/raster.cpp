#include "raster.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace datagen {

static uint8_t ToByte(float v) {
    return uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

Rgba Mix(Rgba a, Rgba b, float t) {
    return Rgba{ToByte(a.r + (b.r - a.r) * t), ToByte(a.g + (b.g - a.g) * t), ToByte(a.b + (b.b - a.b) * t),
                ToByte(a.a + (b.a - a.a) * t)};
}

Rgba WithAlpha(Rgba c, float alpha) {
    c.a = ToByte(alpha * 255.0f);
    return c;
}

Rgba Scaled(Rgba c, float factor) {
    return Rgba{ToByte(c.r * factor), ToByte(c.g * factor), ToByte(c.b * factor), c.a};
}

float Luminance(Rgba c) {
    return (0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b) / 255.0f;
}

Vec2 Rotated(Vec2 v, float radians) {
    const float c = std::cos(radians), s = std::sin(radians);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

Vec2 Polar(float radians, float length) {
    return {std::cos(radians) * length, std::sin(radians) * length};
}

Image::Image(int w, int h, Rgba fill) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}

Rgba Image::Get(int x, int y) const {
    return Contains(x, y) ? pixels[size_t(y) * width + x] : Rgba{};
}

void Image::Put(int x, int y, Rgba c) {
    if (!Contains(x, y)) {
        return;
    }
    Rgba& p = pixels[size_t(y) * width + x];
    if (clipToOpaque && p.a == 0) {
        return;
    }
    if (clipToOpaque) {
        c.a = p.a;
    }
    p = c;
}

void Image::Blend(int x, int y, Rgba c) {
    if (!Contains(x, y) || c.a == 0) {
        return;
    }
    Rgba& p = pixels[size_t(y) * width + x];
    if (clipToOpaque && p.a == 0) {
        return;
    }
    const float sa = c.a / 255.0f, da = p.a / 255.0f;
    const float oa = sa + da * (1.0f - sa);
    if (oa <= 0.0f) {
        p = Rgba{};
        return;
    }
    auto channel = [&](uint8_t s, uint8_t d) { return ToByte((s * sa + d * da * (1.0f - sa)) / oa); };
    p = Rgba{channel(c.r, p.r), channel(c.g, p.g), channel(c.b, p.b), ToByte(oa * 255.0f)};
}

static void Paint(Image& img, int x, int y, Rgba c) {
    if (c.a == 255) {
        img.Put(x, y, c);
    } else {
        img.Blend(x, y, c);
    }
}

void PutPixel(Image& img, int x, int y, Rgba c) {
    Paint(img, x, y, c);
}

void FillRect(Image& img, int x0, int y0, int x1, int y1, Rgba c) {
    for (int y = std::max(0, y0); y <= std::min(img.Height() - 1, y1); y++) {
        for (int x = std::max(0, x0); x <= std::min(img.Width() - 1, x1); x++) {
            Paint(img, x, y, c);
        }
    }
}

void FillEllipse(Image& img, float cx, float cy, float rx, float ry, Rgba c) {
    if (rx <= 0 || ry <= 0) {
        return;
    }
    for (int y = int(std::floor(cy - ry)); y <= int(std::ceil(cy + ry)); y++) {
        for (int x = int(std::floor(cx - rx)); x <= int(std::ceil(cx + rx)); x++) {
            const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f) {
                Paint(img, x, y, c);
            }
        }
    }
}

void FillPolygon(Image& img, const std::vector<Vec2>& points, Rgba c) {
    if (points.size() < 3) {
        return;
    }
    float minY = points[0].y, maxY = points[0].y;
    for (const Vec2& p : points) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    std::vector<float> crossings;
    for (int y = int(std::floor(minY)); y <= int(std::ceil(maxY)); y++) {
        const float sy = y + 0.5f;
        crossings.clear();
        for (size_t i = 0; i < points.size(); i++) {
            const Vec2 a = points[i], b = points[(i + 1) % points.size()];
            if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy)) {
                crossings.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            for (int x = int(std::ceil(crossings[i] - 0.5f)); x + 0.5f <= crossings[i + 1]; x++) {
                Paint(img, x, y, c);
            }
        }
    }
}

void FillTaper(Image& img, Vec2 a, Vec2 b, float radiusA, float radiusB, Rgba c) {
    const float r = std::max(radiusA, radiusB);
    const int x0 = int(std::floor(std::min(a.x, b.x) - r)), x1 = int(std::ceil(std::max(a.x, b.x) + r));
    const int y0 = int(std::floor(std::min(a.y, b.y) - r)), y1 = int(std::ceil(std::max(a.y, b.y) + r));
    const Vec2 ab = b - a;
    const float len2 = std::max(1e-6f, ab.x * ab.x + ab.y * ab.y);
    for (int y = y0; y <= y1; y++) {
        for (int x = x0; x <= x1; x++) {
            const Vec2 p{x + 0.5f - a.x, y + 0.5f - a.y};
            const float t = std::clamp((p.x * ab.x + p.y * ab.y) / len2, 0.0f, 1.0f);
            const Vec2 d = p - ab * t;
            const float radius = radiusA + (radiusB - radiusA) * t;
            if (d.x * d.x + d.y * d.y <= radius * radius) {
                Paint(img, x, y, c);
            }
        }
    }
}

void FillArc(Image& img, Vec2 centre, float innerRadius, float outerRadius, float a0, float a1, Rgba c, bool taperEnd) {
    const float lo = std::min(a0, a1), hi = std::max(a0, a1);
    const int r = int(std::ceil(outerRadius)) + 1;
    for (int y = int(centre.y) - r; y <= int(centre.y) + r; y++) {
        for (int x = int(centre.x) - r; x <= int(centre.x) + r; x++) {
            const float dx = x + 0.5f - centre.x, dy = y + 0.5f - centre.y;
            const float d = std::sqrt(dx * dx + dy * dy);
            float a = std::atan2(dy, dx);
            while (a < lo) {
                a += 6.2831853f;
            }
            if (a > hi) {
                continue;
            }
            float outer = outerRadius;
            if (taperEnd) {
                const float t = (a1 > a0) ? (a - lo) / (hi - lo) : (hi - a) / (hi - lo);
                outer = innerRadius + (outerRadius - innerRadius) * std::clamp(1.15f - t, 0.0f, 1.0f);
            }
            if (d >= innerRadius && d <= outer) {
                Paint(img, x, y, c);
            }
        }
    }
}

void FillCapsule(Image& img, Vec2 a, Vec2 b, float radius, Rgba c) {
    FillTaper(img, a, b, radius, radius, c);
}

void Outline(Image& img, Rgba c) {
    const Image src = img;
    for (int y = 0; y < img.Height(); y++) {
        for (int x = 0; x < img.Width(); x++) {
            if (src.Get(x, y).a != 0) {
                continue;
            }
            if (src.Get(x - 1, y).a > 0 || src.Get(x + 1, y).a > 0 || src.Get(x, y - 1).a > 0 ||
                src.Get(x, y + 1).a > 0) {
                img.Put(x, y, c);
            }
        }
    }
}

void InnerRim(Image& img, Rgba c, int dx, int dy) {
    const Image src = img;
    for (int y = 0; y < img.Height(); y++) {
        for (int x = 0; x < img.Width(); x++) {
            if (src.Get(x, y).a != 0 && src.Get(x + dx, y + dy).a == 0) {
                img.Put(x, y, c);
            }
        }
    }
}

void Blit(Image& dst, const Image& src, int dx, int dy) {
    for (int y = 0; y < src.Height(); y++) {
        for (int x = 0; x < src.Width(); x++) {
            dst.Blend(x + dx, y + dy, src.Get(x, y));
        }
    }
}

void BlitScaled(Image& dst, const Image& src, int dx, int dy, int factor) {
    for (int y = 0; y < src.Height() * factor; y++) {
        for (int x = 0; x < src.Width() * factor; x++) {
            dst.Blend(x + dx, y + dy, src.Get(x / factor, y / factor));
        }
    }
}

Image Crop(const Image& src, int x0, int y0, int w, int h) {
    Image out(w, h);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            out.Put(x, y, src.Get(x0 + x, y0 + y));
        }
    }
    return out;
}

Image FlippedH(const Image& src) {
    Image out(src.Width(), src.Height());
    for (int y = 0; y < src.Height(); y++) {
        for (int x = 0; x < src.Width(); x++) {
            out.Put(x, y, src.Get(src.Width() - 1 - x, y));
        }
    }
    return out;
}

Image FlippedV(const Image& src) {
    Image out(src.Width(), src.Height());
    for (int y = 0; y < src.Height(); y++) {
        for (int x = 0; x < src.Width(); x++) {
            out.Put(x, y, src.Get(x, src.Height() - 1 - y));
        }
    }
    return out;
}

Image ScaledNearest(const Image& src, int factor) {
    Image out(src.Width() * factor, src.Height() * factor);
    for (int y = 0; y < out.Height(); y++) {
        for (int x = 0; x < out.Width(); x++) {
            out.Put(x, y, src.Get(x / factor, y / factor));
        }
    }
    return out;
}

// Each destination pixel averages the source area it covers, weighted by overlap, with colours
// premultiplied by alpha so transparent pixels do not darken the edges.
Image ResampleArea(const Image& src, int width, int height) {
    Image out(width, height);
    const double sx = double(src.Width()) / width, sy = double(src.Height()) / height;
    for (int y = 0; y < height; y++) {
        const double fy0 = y * sy, fy1 = (y + 1) * sy;
        for (int x = 0; x < width; x++) {
            const double fx0 = x * sx, fx1 = (x + 1) * sx;
            double r = 0, g = 0, b = 0, a = 0, area = 0;
            for (int iy = int(fy0); iy < int(std::ceil(fy1)) && iy < src.Height(); iy++) {
                const double wy = std::min<double>(iy + 1, fy1) - std::max<double>(iy, fy0);
                for (int ix = int(fx0); ix < int(std::ceil(fx1)) && ix < src.Width(); ix++) {
                    const double w = wy * (std::min<double>(ix + 1, fx1) - std::max<double>(ix, fx0));
                    const Rgba p = src.Get(ix, iy);
                    const double pa = p.a / 255.0;
                    r += p.r * pa * w;
                    g += p.g * pa * w;
                    b += p.b * pa * w;
                    a += pa * w;
                    area += w;
                }
            }
            if (a <= 1e-9 || area <= 0) {
                continue;
            }
            out.Put(x, y,
                    Rgba{ToByte(float(r / a)), ToByte(float(g / a)), ToByte(float(b / a)),
                         ToByte(float(a / area * 255.0))});
        }
    }
    return out;
}

Image HStrip(const std::vector<Image>& frames) {
    if (frames.empty()) {
        return Image();
    }
    const int w = frames[0].Width(), h = frames[0].Height();
    Image out(w * int(frames.size()), h);
    for (size_t i = 0; i < frames.size(); i++) {
        for (int y = 0; y < h; y++) {
            for (int x = 0; x < w; x++) {
                out.Put(int(i) * w + x, y, frames[i].Get(x, y));
            }
        }
    }
    return out;
}

void MultiplyAlpha(Image& img, float factor) {
    for (Rgba& p : img.Pixels()) {
        p.a = ToByte(p.a * factor);
    }
}

float Bayer(int x, int y) {
    static const int matrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (matrix[(y % 4 + 4) % 4][(x % 4 + 4) % 4] + 0.5f) / 16.0f;
}

float Hash(int x, int y, int seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / float(0x1000000);
}

static int Wrap(int v, int period) {
    return period > 0 ? ((v % period) + period) % period : v;
}

float ValueNoise(float x, float y, int seed, int periodX, int periodY) {
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    const float fx = x - ix, fy = y - iy;
    const float ux = fx * fx * (3 - 2 * fx), uy = fy * fy * (3 - 2 * fy);
    auto at = [&](int cx, int cy) { return Hash(Wrap(cx, periodX), Wrap(cy, periodY), seed); };
    const float a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
    return (a + (b - a) * ux) + ((c + (d - c) * ux) - (a + (b - a) * ux)) * uy;
}

float Fbm(float x, float y, int seed, int octaves, int periodX, int periodY) {
    float sum = 0, amplitude = 0.5f, norm = 0;
    for (int i = 0; i < octaves; i++) {
        sum += ValueNoise(x, y, seed + i * 131, periodX, periodY) * amplitude;
        norm += amplitude;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
        amplitude *= 0.5f;
    }
    return sum / norm;
}

bool WritePng(const Image& img, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::printf("Cannot write '%s'\n", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        std::printf("PNG encoder failed on '%s'\n", path.c_str());
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(img.Width()), png_uint_32(img.Height()), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < img.Height(); y++) {
        png_write_row(png, reinterpret_cast<png_const_bytep>(&img.Pixels()[size_t(y) * img.Width()]));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace datagen
