// The interface: menu buttons and their highlight frame, panels, key hints, the interact prompt,
// the dialogue panel, the cinematic bar, the health vignette, the logo, the title and the icon.
//
// Screen pictures are painted at the size they appear on the 1024 x 720 screen and then
// resampled to the file size whose aspect the menus' sizing turns into exactly that size:
// a picture of w x h pixels scaled by (kx, ky) appears kx * 1024w / L by ky * 720h / L pixels
// large, where L is the length of (1024w, 720h).
#include "assets.h"
#include "palette.h"
#include "text.h"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {

struct ScreenPicture {
    int screenW, screenH;  // painted size
    int fileW, fileH;      // stored size
};

void FillRoundRect(Image& img, int x0, int y0, int x1, int y1, float radius, Rgba c) {
    const float r = std::min({radius, (x1 - x0) / 2.0f, (y1 - y0) / 2.0f});
    for (int y = y0; y <= y1; y++) {
        for (int x = x0; x <= x1; x++) {
            const float dx = std::max({0.0f, x0 + r - (x + 0.5f), (x + 0.5f) - (x1 + 1 - r)});
            const float dy = std::max({0.0f, y0 + r - (y + 0.5f), (y + 0.5f) - (y1 + 1 - r)});
            if (dx * dx + dy * dy <= r * r) {
                PutPixel(img, x, y, c);
            }
        }
    }
}

void VerticalGradient(Image& img, Rgba top, Rgba bottom) {
    img.clipToOpaque = true;
    for (int y = 0; y < img.Height(); y++) {
        const Rgba c = Mix(top, bottom, y / float(std::max(1, img.Height() - 1)));
        for (int x = 0; x < img.Width(); x++) {
            img.Put(x, y, c);
        }
    }
    img.clipToOpaque = false;
}

// A framed panel: dark violet glass with a double border and small corner studs.
void Panel(Image& img, int x0, int y0, int x1, int y1, float radius, int border) {
    FillRoundRect(img, x0, y0, x1, y1, radius, pal::uiBorderDark);
    FillRoundRect(img, x0 + 1, y0 + 1, x1 - 1, y1 - 1, radius - 1, pal::uiBorder);
    FillRoundRect(img, x0 + border, y0 + border, x1 - border, y1 - border, radius - border, pal::uiBorderDark);
    Image inner(img.Width(), img.Height());
    FillRoundRect(inner, x0 + border + 1, y0 + border + 1, x1 - border - 1, y1 - border - 1, radius - border - 1,
                  pal::uiPanel);
    VerticalGradient(inner, pal::uiPanelLight, pal::uiPanel);
    Blit(img, inner, 0, 0);
}

Image ToFile(const Image& painted, const ScreenPicture& p) {
    return ResampleArea(painted, p.fileW, p.fileH);
}

// ---- buttons: 240 x 60 on screen, from 240 x 256 files (the x300, x100 sizing) ----------------------

const ScreenPicture kButton{240, 60, 240, 256};
const ScreenPicture kFrame{280, 90, 280, 299};

Image Button(const std::string& word) {
    Image img(kButton.screenW, kButton.screenH);
    Panel(img, 0, 0, kButton.screenW - 1, kButton.screenH - 1, 10.0f, 3);
    // a faint leaf flourish on both sides of the word
    const int textW = TextWidth(word, 2);
    const int cx = kButton.screenW / 2;
    for (int side = -1; side <= 1; side += 2) {
        const float x = cx + side * (textW / 2.0f + 14.0f);
        FillPolygon(img, {{x - 4, 30}, {x, 26}, {x + 4, 30}, {x, 34}}, pal::uiBorder);
    }
    DrawTextCentered(img, word, cx, 30 - CapHeight(2) / 2, 2, pal::uiInk, pal::uiInkShadow);
    return ToFile(img, kButton);
}

Image HighlightFrame() {
    Image img(kFrame.screenW, kFrame.screenH);
    // a glow that fades outward from a bright rim just outside the button
    const int bx0 = (kFrame.screenW - kButton.screenW) / 2 - 1, by0 = (kFrame.screenH - kButton.screenH) / 2 - 1;
    const int bx1 = bx0 + kButton.screenW + 1, by1 = by0 + kButton.screenH + 1;
    for (int y = 0; y < kFrame.screenH; y++) {
        for (int x = 0; x < kFrame.screenW; x++) {
            const float dx = std::max({0.0f, float(bx0 - x), float(x - bx1)});
            const float dy = std::max({0.0f, float(by0 - y), float(y - by1)});
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d <= 0.0f) {
                continue;  // the button shows through untouched
            }
            if (d <= 4.0f) {
                img.Put(x, y, d <= 1.5f ? pal::white : pal::uiHighlight);
            } else if (d < 16.0f) {
                img.Put(x, y, WithAlpha(Hex(0xd070ff), 0.75f * std::pow(1.0f - (d - 4.0f) / 12.0f, 1.5f)));
            }
        }
    }
    return ToFile(img, kFrame);
}

// ---- panels: 818 x 575 (x1000) and 654 x 460 (x800) on screen, from square files ------------------------

const ScreenPicture kBigPanel{818, 575, 818, 818};
const ScreenPicture kSmallPanel{654, 460, 654, 654};

Image PanelPicture(const ScreenPicture& p, const std::string& title, int titleY, int titleScale) {
    Image img(p.screenW, p.screenH);
    Panel(img, 0, 0, p.screenW - 1, p.screenH - 1, 22.0f, 5);
    // corner studs
    for (int cx : {18, p.screenW - 19}) {
        for (int cy : {18, p.screenH - 19}) {
            FillEllipse(img, cx + 0.5f, cy + 0.5f, 4, 4, pal::uiBorder);
            FillEllipse(img, cx + 0.5f, cy + 0.5f, 2, 2, pal::uiBorderDark);
        }
    }
    if (!title.empty()) {
        DrawTextCentered(img, title, p.screenW / 2, titleY, titleScale, pal::uiInk, pal::uiInkShadow);
        const int w = TextWidth(title, titleScale) / 2 + 24;
        const int y = titleY + TextHeight(titleScale) + 8;
        FillRect(img, p.screenW / 2 - w, y, p.screenW / 2 + w, y + 1, pal::uiBorder);
        FillPolygon(img,
                    {{p.screenW / 2.0f - 6, y + 1.0f},
                     {p.screenW / 2.0f, y - 5.0f},
                     {p.screenW / 2.0f + 6, y + 1.0f},
                     {p.screenW / 2.0f, y + 7.0f}},
                    pal::uiBorder);
    }
    return img;
}

// ---- the controls picture: keys, gamepad buttons and what they do, one row each -----------------------------

// The gamepad column draws the pad's parts in small: GLFW's standard layout names the face buttons A, B, X, Y.
enum class PadPart { None, DpadSides, DpadUpDown, Stick, A, B, X, Y, Start, Back };

const Rgba kPadA = Hex(0x86d87a);
const Rgba kPadB = Hex(0xec7890);
const Rgba kPadX = Hex(0x78aef0);
const Rgba kPadY = Hex(0xe8c86c);
const Rgba kPadFace = Hex(0x2a2440);
const Rgba kPadRaised = Hex(0x5c5680);

int PadPartWidth(PadPart part) {
    switch (part) {
    case PadPart::Start:
        return TextWidth("START", 1) + 16;
    case PadPart::Back:
        return TextWidth("BACK", 1) + 16;
    case PadPart::None:
        return TextWidth("-", 2);
    default:
        return 34;
    }
}

void FaceButton(Image& img, float cx, float cy, const std::string& letter, Rgba color) {
    FillEllipse(img, cx, cy + 1.5f, 16, 16, pal::uiInkShadow);
    FillEllipse(img, cx, cy, 16, 16, color);
    FillEllipse(img, cx, cy, 13.5f, 13.5f, kPadFace);
    DrawTextWeighted(img, letter, int(cx) - TextWidth(letter, 1) / 2 + 1, int(cy) - CapHeight(1) / 2, 1, color, true,
                     0);
}

// A cross whose used arms are lit, each with its arrow.
void Dpad(Image& img, float cx, float cy, bool sides) {
    const int x = int(cx), y = int(cy);
    FillRect(img, x - 17, y - 6, x + 17, y + 6, pal::uiBorderDark);
    FillRect(img, x - 6, y - 17, x + 6, y + 17, pal::uiBorderDark);
    FillRect(img, x - 16, y - 5, x + 16, y + 5, kPadRaised);
    FillRect(img, x - 5, y - 16, x + 5, y + 16, kPadRaised);
    FillEllipse(img, cx + 0.5f, cy + 0.5f, 3.0f, 3.0f, kPadFace);
    for (int side = -1; side <= 1; side += 2) {
        const float tip = 15.0f * side, base = 7.0f * side;
        const Vec2 c{cx + 0.5f, cy + 0.5f};
        if (sides) {
            FillPolygon(img, {c + Vec2{tip, 0}, c + Vec2{base, -5}, c + Vec2{base, 5}}, pal::uiHighlight);
        } else {
            FillPolygon(img, {c + Vec2{0, tip}, c + Vec2{-5, base}, c + Vec2{5, base}}, pal::uiHighlight);
        }
    }
}

// The left stick from above: its well, the thumb pad and the two ways it runs.
void Stick(Image& img, float cx, float cy) {
    FillEllipse(img, cx, cy, 17, 17, pal::uiBorderDark);
    FillEllipse(img, cx, cy, 15, 15, kPadFace);
    FillEllipse(img, cx, cy, 8, 8, kPadRaised);
    FillEllipse(img, cx - 2.0f, cy - 2.0f, 3.5f, 3.5f, Hex(0x706a94));
    for (int side = -1; side <= 1; side += 2) {
        FillPolygon(img, {{cx + 14.5f * side, cy}, {cx + 9.5f * side, cy - 4.5f}, {cx + 9.5f * side, cy + 4.5f}},
                    pal::uiHighlight);
    }
}

void Pill(Image& img, int x0, float cy, const std::string& label) {
    const int w = TextWidth(label, 1) + 16, y0 = int(cy) - 12;
    FillRoundRect(img, x0, y0, x0 + w - 1, y0 + 24, 12.0f, pal::uiBorder);
    FillRoundRect(img, x0 + 2, y0 + 2, x0 + w - 3, y0 + 22, 10.0f, kPadFace);
    DrawText(img, label, x0 + 8, int(cy) - CapHeight(1) / 2, 1, pal::uiInk);
}

void DrawPadPart(Image& img, PadPart part, int x0, float cy) {
    const float cx = x0 + PadPartWidth(part) / 2.0f;
    switch (part) {
    case PadPart::None:
        DrawText(img, "-", x0, int(cy) - CapHeight(2) / 2, 2, pal::uiBorder);
        break;
    case PadPart::DpadSides:
        Dpad(img, cx, cy, true);
        break;
    case PadPart::DpadUpDown:
        Dpad(img, cx, cy, false);
        break;
    case PadPart::Stick:
        Stick(img, cx, cy);
        break;
    case PadPart::A:
        FaceButton(img, cx, cy, "A", kPadA);
        break;
    case PadPart::B:
        FaceButton(img, cx, cy, "B", kPadB);
        break;
    case PadPart::X:
        FaceButton(img, cx, cy, "X", kPadX);
        break;
    case PadPart::Y:
        FaceButton(img, cx, cy, "Y", kPadY);
        break;
    case PadPart::Start:
        Pill(img, x0, cy, "START");
        break;
    case PadPart::Back:
        Pill(img, x0, cy, "BACK");
        break;
    }
}

// The parts of one row side by side, centred on cx.
void DrawPadParts(Image& img, const std::vector<PadPart>& parts, int cx, float cy) {
    const int gap = 8;
    int width = -gap;
    for (PadPart part : parts) {
        width += PadPartWidth(part) + gap;
    }
    int x = cx - width / 2;
    for (PadPart part : parts) {
        DrawPadPart(img, part, x, cy);
        x += PadPartWidth(part) + gap;
    }
}

Image ControlsPanel() {
    Image img = PanelPicture(kBigPanel, "CONTROLS", 40, 3);
    const struct {
        const char* keys;
        std::vector<PadPart> pad;
        const char* action;
    } rows[] = {
        {"LEFT / RIGHT", {PadPart::DpadSides, PadPart::Stick}, "run"},
        {"SPACE / UP", {PadPart::A}, "jump - hold to glide"},
        {"Q", {PadPart::X}, "swipe with the blade"},
        {"W", {PadPart::Y}, "soul strike: a soul"},
        {"E", {PadPart::B}, "talk, read, portals"},
        {"ESC", {PadPart::Start}, "pause"},
        {"` (GRAVE)", {PadPart::Back}, "console"},
        {"ALT+ENTER / F5", {PadPart::None}, "full screen"},
        {"UP/DOWN, ENTER", {PadPart::DpadUpDown, PadPart::A}, "choose in menus"},
    };
    const int keysRight = 280, padCentre = 362, actionLeft = 444;
    DrawTextShadowed(img, "KEYBOARD", keysRight - TextWidth("KEYBOARD", 1), 114, 1, pal::uiBorder, pal::uiInkShadow);
    DrawTextCentered(img, "GAMEPAD", padCentre, 114, 1, pal::uiBorder, pal::uiInkShadow);
    int y = 140;
    for (const auto& r : rows) {
        DrawTextShadowed(img, r.keys, keysRight - TextWidth(r.keys, 2), y, 2, pal::uiHighlight, pal::uiInkShadow);
        DrawPadParts(img, r.pad, padCentre, y + CapHeight(2) / 2.0f);
        DrawTextShadowed(img, r.action, actionLeft, y, 2, pal::uiInk, pal::uiInkShadow);
        y += 40;
    }
    DrawTextCentered(img, "ENTER or A to close", kBigPanel.screenW / 2, 528, 1, pal::uiBorder, pal::uiInkShadow);
    return ToFile(img, kBigPanel);
}

Image CreditsPanel() {
    Image img = PanelPicture(kBigPanel, "CREDITS", 40, 3);
    const char* lines[] = {
        "LIRRA - a Brelmor student game",
        "design, code, art and music: the Lirra team",
        "",
        "made with",
        "GLFW  GLEW  GLM  SOIL  FreeType  Dear ImGui",
        "OpenAL Soft  libogg  libvorbis  libpng",
        "font: DotGothic16 (SIL Open Font License)",
    };
    int y = 150;
    for (const char* line : lines) {
        const std::string text = line;
        const bool heading = text == "made with";
        DrawTextCentered(img, text, kBigPanel.screenW / 2, y, 2, heading ? pal::uiHighlight : pal::uiInk,
                         pal::uiInkShadow);
        y += 44;
    }
    DrawTextCentered(img, "thank you for playing", kBigPanel.screenW / 2, 470, 2, pal::uiBorder, pal::uiInkShadow);
    DrawTextCentered(img, "ENTER to close", kBigPanel.screenW / 2, 520, 1, pal::uiBorder, pal::uiInkShadow);
    return ToFile(img, kBigPanel);
}

// ---- world-space hints: key caps (32 x 23 frames) and the interact prompt (64 x 45 frames) ---------------

void KeyCap(Image& img, int ox, int down, const std::string& letter, int arrow, int shine = -1) {
    const bool pressed = down > 0;
    // the cap's side, then its face
    FillRoundRect(img, ox + 5, 4 + down, ox + 26, 21, 4.0f, Hex(0x2a2440));
    FillRoundRect(img, ox + 5, 3 + down, ox + 26, 18 + down / 2, 4.0f, pressed ? Hex(0x4a4468) : Hex(0x5c5680));
    FillRoundRect(img, ox + 7, 4 + down, ox + 24, 6 + down, 2.0f, pressed ? Hex(0x5a5478) : Hex(0x706a94));
    if (shine >= 0) {
        // a glint sliding along the cap's top edge
        FillRect(img, ox + 8 + shine, 4 + down, ox + 10 + shine, 4 + down, Hex(0x9a94bc));
    }
    const Rgba ink = Hex(0xc4bcdc);
    const float cx = ox + 15.5f, cy = 10.5f + down;
    if (!letter.empty()) {
        DrawText(img, letter, int(cx) - TextWidth(letter, 1) / 2 + 1, int(cy) - CapHeight(1) / 2, 1, ink);
    } else {
        // arrows: 0 left, 1 right, 2 up
        const float a = arrow == 0 ? 3.14159f : arrow == 1 ? 0.0f : -1.5708f;
        const Vec2 c{cx, cy}, d = Polar(a, 1.0f), n{-d.y, d.x};
        FillPolygon(img, {c + d * 5.0f, c + n * 4.5f, c - n * 4.5f}, ink);
        FillCapsule(img, c, c - d * 4.5f, 1.2f, ink);
    }
    Outline(img, pal::outline);
}

Image KeyHint(const std::string& letter, int arrow) {
    // a press every cycle: waiting with a glint, pressed down, coming back up
    const int down[4] = {0, 0, 2, 1}, shine[4] = {2, 9, -1, -1};
    std::vector<Image> frames;
    for (int f = 0; f < 4; f++) {
        Image frame(32, 23);
        KeyCap(frame, 0, down[f], letter, arrow, shine[f]);
        frames.push_back(frame);
    }
    return HStrip(frames);
}

Image InteractPrompt() {
    std::vector<Image> frames;
    const float bob[4] = {0, -1, -2, -1};
    for (int f = 0; f < 4; f++) {
        Image frame(64, 45);
        Image cap(32, 23);
        KeyCap(cap, 0, 0, "E", -1);
        Blit(frame, cap, 16, int(8 + bob[f]));
        // a small pointer under the key
        const float y = 33 + bob[f] * 0.5f;
        FillPolygon(frame, {{28, y}, {36, y}, {32, y + 5}}, Hex(0xc4bcdc));
        // a sparkle that circles the cap
        const float a = f * 1.5708f;
        PutPixel(frame, int(32 + std::cos(a) * 15), int(19 + bob[f] + std::sin(a) * 9), pal::soulMagentaCore);
        frames.push_back(frame);
    }
    return HStrip(frames);
}

Image DialoguePanel() {
    // stretched to every box size with nearest filtering: a translucent fill inside a two-texel
    // border, which nearest sampling keeps at every box size from 100 x 80 up
    const int s = 256;
    Image img(s, s);
    for (int y = 0; y < s; y++) {
        for (int x = 0; x < s; x++) {
            const int edge = std::min({x, y, s - 1 - x, s - 1 - y});
            const int corner = std::min(x, s - 1 - x) + std::min(y, s - 1 - y);
            if (corner < 3) {
                continue;  // clipped corners
            }
            Rgba c = WithAlpha(Mix(pal::uiPanelLight, pal::uiPanel, y / float(s)), 0.84f);
            if (edge < 2) {
                c = WithAlpha(pal::uiBorder, 0.95f);
            } else if (edge < 4) {
                c = WithAlpha(pal::uiBorderDark, 0.9f);
            }
            img.Put(x, y, c);
        }
    }
    return img;
}

Image CinematicBar() {
    return Image(64, 16, Hex(0x000000));
}

// A square drawn 1636 x 1150 around the screen's centre: the screen's edges fall at 18.7 % and
// 81.3 % of the texture, so the red rises toward those lines and stays beyond them.
Image HealthVignette() {
    const int s = 256;
    Image img(s, s);
    const float visible = 0.5f * 1024.0f / 1636.0f;
    for (int y = 0; y < s; y++) {
        for (int x = 0; x < s; x++) {
            const float u = ((x + 0.5f) / s - 0.5f) / visible, v = ((y + 0.5f) / s - 0.5f) / visible;
            const float d = std::pow(std::pow(std::abs(u), 3.0f) + std::pow(std::abs(v), 3.0f), 1.0f / 3.0f);
            const float t = std::clamp((d - 0.6f) / 0.45f, 0.0f, 1.0f);
            if (t > 0) {
                img.Put(x, y, WithAlpha(Mix(Hex(0x8a0c1c), Hex(0xd01828), t), std::pow(t, 1.4f)));
            }
        }
    }
    return img;
}

// Big lettering: each glyph pixel becomes a bevelled block, with an outline and a drop shadow.
Image Lettering(const std::string& word, int scale, Rgba top, Rgba bottom, Rgba outline, int padX, int padY) {
    const int tracking = 2;
    const int w = TextWidth(word, scale) + int(word.size()) * tracking * scale + padX * 2,
              h = TextHeight(scale) + padY * 2;
    Image letters(w, h);
    DrawTextWeighted(letters, word, padX, padY, scale, top, true, tracking);
    VerticalGradient(letters, top, bottom);
    Image result(w, h);
    Image shadow = letters;
    for (Rgba& p : shadow.Pixels()) {
        if (p.a) {
            p = WithAlpha(pal::uiInkShadow, 0.8f);
        }
    }
    Blit(result, shadow, scale / 2, scale / 2);
    Image outlined = letters;
    for (int i = 0; i < std::max(1, scale / 4); i++) {
        Outline(outlined, outline);
    }
    Blit(result, outlined, 0, 0);
    return result;
}

Image Logo() {
    // drawn by the splash with its own aspect; 640 x 320 appears about 626 x 313
    Image img(640, 320);
    const Image word = Lettering("BRELMOR", 8, Hex(0xb8c8d8), Hex(0x5a7890), Hex(0x101826), 12, 4);
    Blit(img, word, (640 - word.Width()) / 2, 60);
    DrawTextCentered(img, "S C H O O L   O F   G A M E S", 320, 250, 2, Hex(0x8aa0b4), pal::uiInkShadow);
    // a crescent moon over the name
    for (int y = 18; y < 62; y++) {
        for (int x = 298; x < 342; x++) {
            const float inMoon = std::hypot(x + 0.5f - 320, y + 0.5f - 40),
                        inShadow = std::hypot(x + 0.5f - 329, y + 0.5f - 34);
            if (inMoon <= 18 && inShadow > 16) {
                img.Put(x, y, Hex(0x9ab0c8));
            }
        }
    }
    return img;
}

Image Title() {
    // about 380 x 127 on screen (the x400 sizing), painted at twice that and stored as 760 x 360
    const ScreenPicture p{760, 254, 760, 360};
    Image img(p.screenW, p.screenH);
    const Image word = Lettering("LIRRA", 11, Hex(0xe0a8ff), Hex(0x7a3ab8), Hex(0x1a0a2c), 8, 4);
    const int x = (p.screenW - word.Width()) / 2, y = (p.screenH - word.Height()) / 2 - 6;
    // a soft magenta haze behind the letters
    for (int yy = 0; yy < p.screenH; yy++) {
        for (int xx = 0; xx < p.screenW; xx++) {
            const float dx = (xx - p.screenW / 2.0f) / (p.screenW * 0.45f),
                        dy = (yy - p.screenH / 2.0f) / (p.screenH * 0.45f);
            const float d = dx * dx + dy * dy;
            if (d < 1) {
                img.Put(xx, yy, WithAlpha(Hex(0x8a30b0), 0.35f * (1 - d) * (1 - d)));
            }
        }
    }
    Blit(img, word, x, y);
    // a little blade crescent under the name
    FillArc(img, {p.screenW / 2.0f, y + word.Height() - 8.0f}, 150.0f, 156.0f, 0.55f * 3.14159f - 0.3f,
            0.55f * 3.14159f + 0.2f, Hex(0xc4b8e0));
    return ToFile(img, p);
}

}  // namespace

Image WindowIcon(const Image& lirraIdle);

void PaintInterface(SheetList& out) {
    out.push_back({"Textures/UI/cursor.png", InteractPrompt(), 4});
    out.push_back({"Textures/UI/key_Q.png", KeyHint("Q", -1), 4});
    out.push_back({"Textures/UI/key_W.png", KeyHint("W", -1), 4});
    out.push_back({"Textures/UI/key_left.png", KeyHint("", 0), 4});
    out.push_back({"Textures/UI/key_right.png", KeyHint("", 1), 4});
    out.push_back({"Textures/UI/key_up.png", KeyHint("", 2), 4});
    out.push_back({"Textures/UI/dialogpanel.png", DialoguePanel(), 1});
    out.push_back({"Textures/UI/cinbar.png", CinematicBar(), 1});
    out.push_back({"Textures/UI/brelmor_logo.png", Logo(), 1});
    out.push_back({"Textures/UI/Lirra_Title.png", Title(), 1});
    out.push_back({"Textures/UI/health_hud.png", HealthVignette(), 1});
    out.push_back({"Textures/UI/button_back.png", Button("BACK"), 1});
    out.push_back({"Textures/UI/button_confirm.png", Button("CONFIRM"), 1});
    out.push_back({"Textures/UI/button_exit.png", Button("EXIT"), 1});
    out.push_back({"Textures/UI/button_options.png", Button("OPTIONS"), 1});
    out.push_back({"Textures/UI/button_mute.png", Button("MUTE"), 1});
    out.push_back({"Textures/UI/button_fullscreen.png", Button("FULLSCREEN"), 1});
    out.push_back({"Textures/UI/button_resume.png", Button("RESUME"), 1});
    out.push_back({"Textures/UI/button_boarder.png", HighlightFrame(), 1});
    out.push_back({"Textures/UI/button_controls.png", Button("CONTROLS"), 1});
    out.push_back({"Textures/UI/button_credits.png", Button("CREDITS"), 1});
    out.push_back({"Textures/UI/panel_pause.png", ToFile(PanelPicture(kBigPanel, "PAUSED", 70, 4), kBigPanel), 1});
    out.push_back(
        {"Textures/UI/panel_options.png", ToFile(PanelPicture(kSmallPanel, "OPTIONS", 40, 3), kSmallPanel), 1});
    out.push_back(
        {"Textures/UI/panel_confirm.png", ToFile(PanelPicture(kSmallPanel, "QUIT GAME?", 70, 3), kSmallPanel), 1});
    out.push_back({"Textures/UI/panel_controls.png", ControlsPanel(), 1});
    out.push_back({"Textures/UI/panel_credits.png", CreditsPanel(), 1});
    Image icon;
    for (const Sheet& s : out) {
        if (s.path == "Textures/Lirra/Lirra_Idle.png") {
            icon = WindowIcon(s.image);
        }
    }
    out.push_back({"Textures/window_icon.png", icon, 1});
}

// The window icon: Lirra's hooded head from her first idle frame, enlarged on a dark disc.
Image WindowIcon(const Image& lirraIdle) {
    Image icon(64, 64);
    FillEllipse(icon, 32, 32, 31, 31, Hex(0x141c30));
    FillEllipse(icon, 32, 32, 29, 29, Hex(0x1e2a44));
    const Image head = Crop(lirraIdle, 20, 17, 21, 19);
    BlitScaled(icon, head, 1, 6, 3);
    return icon;
}

}  // namespace datagen
