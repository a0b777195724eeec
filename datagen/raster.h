// A small 2D raster library for painting the game's pixel art: an RGBA image, hard-edged
// shapes sampled at pixel centres, outlines, shading inside a mask, dithering and resampling.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

constexpr Rgba Hex(uint32_t rgb, uint8_t alpha = 255) {
    return Rgba{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), alpha};
}

Rgba Mix(Rgba a, Rgba b, float t);
Rgba WithAlpha(Rgba c, float alpha);
Rgba Scaled(Rgba c, float factor);  // multiplies the colour channels
float Luminance(Rgba c);            // 0..1, Rec. 709 weights on the stored values

struct Vec2 {
    float x = 0, y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, float s) {
    return {a.x * s, a.y * s};
}
Vec2 Rotated(Vec2 v, float radians);
Vec2 Polar(float radians, float length);

class Image {
public:
    Image() = default;
    Image(int width, int height, Rgba fill = Rgba{});

    int Width() const { return width; }
    int Height() const { return height; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgba Get(int x, int y) const;      // transparent outside the image
    void Put(int x, int y, Rgba c);    // replaces; honours the clip mask
    void Blend(int x, int y, Rgba c);  // alpha-over; honours the clip mask
    const std::vector<Rgba>& Pixels() const { return pixels; }
    std::vector<Rgba>& Pixels() { return pixels; }

    // While set, painting only changes pixels that are already opaque (shading inside a shape).
    bool clipToOpaque = false;

private:
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;
};

// Shapes: a pixel is painted when its centre lies inside the shape.
void FillRect(Image& img, int x0, int y0, int x1, int y1, Rgba c);  // inclusive corners
void FillEllipse(Image& img, float cx, float cy, float rx, float ry, Rgba c);
void FillPolygon(Image& img, const std::vector<Vec2>& points, Rgba c);
void FillCapsule(Image& img, Vec2 a, Vec2 b, float radius, Rgba c);  // a thick line with round ends
void FillTaper(Image& img, Vec2 a, Vec2 b, float radiusA, float radiusB, Rgba c);
void PutPixel(Image& img, int x, int y, Rgba c);
// A ring segment between two radii, from angle a0 to a1 (radians, y down, clockwise on screen).
// The thickness may fade toward the end so it reads as a swept smear.
void FillArc(Image& img, Vec2 centre, float innerRadius, float outerRadius, float a0, float a1, Rgba c,
             bool taperEnd = false);

// Adds a one-pixel rim of colour c around every opaque region (4-neighbourhood).
void Outline(Image& img, Rgba c);
// Replaces every opaque pixel that touches transparency (its own rim) with colour c.
void InnerRim(Image& img, Rgba c, int dx, int dy);

void Blit(Image& dst, const Image& src, int dx, int dy);  // alpha-over
void BlitScaled(Image& dst, const Image& src, int dx, int dy, int factor);
Image Crop(const Image& src, int x, int y, int w, int h);
Image FlippedH(const Image& src);
Image FlippedV(const Image& src);
Image ScaledNearest(const Image& src, int factor);
Image ResampleArea(const Image& src, int width, int height);  // box filter, premultiplied
Image HStrip(const std::vector<Image>& frames);               // frames side by side
void MultiplyAlpha(Image& img, float factor);

// Ordered 4 x 4 dither threshold in [0, 1).
float Bayer(int x, int y);
// Deterministic hash noise in [0, 1).
float Hash(int x, int y, int seed);
// Smooth value noise; with a period the pattern repeats every period cells in x and y.
float ValueNoise(float x, float y, int seed, int periodX = 0, int periodY = 0);
float Fbm(float x, float y, int seed, int octaves, int periodX = 0, int periodY = 0);

bool WritePng(const Image& img, const std::string& path);

}  // namespace datagen
