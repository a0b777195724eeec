// Review pictures: mock scenes composed the way the game draws them (the parallax layers, tiles
// and sprites at zoom 1 on the 1024 x 720 screen, menu pictures at their on-screen sizes), so the
// art can be judged together before and besides the real game.
#include "assets.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace datagen {

namespace {

constexpr int kScreenW = 1024, kScreenH = 720;
constexpr float kUnitW = 51.2f, kUnitH = 36.0f;

class Scene {
public:
    Scene(const SheetList& sheets, float camX, float camY)
        : canvas(kScreenW, kScreenH, Hex(0x1a1a1a)), cx(camX), cy(camY) {
        for (const Sheet& s : sheets) {
            byPath[s.path] = &s;
        }
    }

    const Sheet& Get(const std::string& path) const {
        auto found = byPath.find("Textures/" + path);
        if (found == byPath.end()) {
            throw std::runtime_error("no texture " + path);
        }
        return *found->second;
    }

    // Draws a sub-rectangle of an image into a screen rectangle with nearest sampling.
    void Quad(const Image& img, float u0, float v0, float u1, float v1, float x0, float y0, float x1, float y1,
              float alpha = 1) {
        for (int y = std::max(0, int(std::min(y0, y1))); y < std::min(kScreenH, int(std::ceil(std::max(y0, y1))));
             y++) {
            for (int x = std::max(0, int(std::min(x0, x1))); x < std::min(kScreenW, int(std::ceil(std::max(x0, x1))));
                 x++) {
                const float s = (x + 0.5f - x0) / (x1 - x0), t = (y + 0.5f - y0) / (y1 - y0);
                if (s < 0 || s >= 1 || t < 0 || t >= 1) {
                    continue;
                }
                const int tx = std::clamp(int((u0 + (u1 - u0) * s) * img.Width()), 0, img.Width() - 1);
                const int ty = std::clamp(int((v0 + (v1 - v0) * t) * img.Height()), 0, img.Height() - 1);
                Rgba c = img.Get(tx, ty);
                c.a = uint8_t(c.a * alpha);
                canvas.Blend(x, y, c);
            }
        }
    }

    // A world object: centre (x, y) and scale in world units; negative sx mirrors it. Standing
    // characters are placed so their colliders rest on the ground's top edge.
    void Sprite(const std::string& path, int frame, float x, float y, float sx, float sy, float alpha = 1) {
        const Sheet& s = Get(path);
        const float u0 = float(frame) / s.frames, u1 = float(frame + 1) / s.frames;
        const float px = kScreenW / 2.0f + (x - cx) * kUnitW, py = kScreenH / 2.0f - (y - cy) * kUnitH;
        const float hw = sx * kUnitW / 2, hh = std::abs(sy) * kUnitH / 2;
        Quad(s.image, u0, 0, u1, 1, px - hw, py - hh, px + hw, py + hh, alpha);
    }

    void Tile(int cell, int gx, int gy) {
        const Sheet& s = Get("Forest/Forest_Tileset_1.png");
        const float u = 0.1f;
        const float px = kScreenW / 2.0f + (gx - cx) * kUnitW, py = kScreenH / 2.0f - (gy - cy) * kUnitH;
        Quad(s.image, u * (cell % 10), u * (cell / 10), u * (cell % 10 + 1), u * (cell / 10 + 1), px - kUnitW / 2,
             py - kUnitH / 2, px + kUnitW / 2, py + kUnitH / 2);
    }

    // The five background layers in their pixel projection (camera x moves them one pixel a unit).
    void Background() {
        const Sheet &bg = Get("Forest/Forest_BG.png"), &mg = Get("Forest/Forest_MG.png");
        const Sheet &lower = Get("Forest/Forest_FG_Lower.png"), &upper = Get("Forest/Forest_FG_Upper.png");
        auto layer = [&](const Image& img, float centreX, float centreY, float w, float h) {
            const float x0 = kScreenW / 2.0f + centreX - w / 2, y0 = kScreenH / 2.0f - centreY - std::abs(h) / 2;
            if (h < 0) {
                Quad(img, 0, 1, 1, 0, x0, y0, x0 + w, y0 - h);
            } else {
                Quad(img, 0, 0, 1, 1, x0, y0, x0 + w, y0 + h);
            }
        };
        layer(bg.image, -cx, -1.5f * cy, 6144, 720);
        const float mw = 2.7f * mg.image.Width(), mh = 2.7f * mg.image.Height();
        layer(mg.image, -cx, 0.8f * cy, mw, mh);
        layer(mg.image, -1.5f * cx + 0.1f * mw, 0.6f * cy, mw, -mh);
        const float lw = 2.7f * lower.image.Width(), lh = 2.7f * lower.image.Height();
        layer(lower.image, -cx, lh / 2 - 360, lw, lh);
        layer(upper.image, -cx, 360 - lh / 2, lw, lh);
    }

    // A screen-space picture centred at (x, y) (y up from the bottom) with the given on-screen size.
    void Screen(const std::string& path, float x, float y, float w, float h, float alpha = 1) {
        const Sheet& s = Get(path);
        Quad(s.image, 0, 0, 1, 1, x - w / 2, kScreenH - y - h / 2, x + w / 2, kScreenH - y + h / 2, alpha);
    }

    Image canvas;

private:
    float cx, cy;
    std::map<std::string, const Sheet*> byPath;
};

void GroundStrip(Scene& s, int x0, int x1, int top, int depth) {
    for (int x = x0; x <= x1; x++) {
        const int topCell = x == x0 ? 0 : x == x1 ? 3 : (x % 3 == 0 ? 2 : 1);
        s.Tile(topCell, x, top);
        for (int d = 1; d < depth; d++) {
            const int fill = x == x0 ? 4 : x == x1 ? 7 : ((x * 7 + d * 3) % 9 == 0 ? 6 : 5);
            s.Tile(fill, x, top - d);
        }
    }
}

Image LevelScene(const SheetList& sheets) {
    Scene s(sheets, 0.0f, 2.0f);
    s.Background();
    GroundStrip(s, -12, 4, -3, 8);
    GroundStrip(s, 7, 14, -1, 8);
    for (int y = -2; y >= -8; y--) {
        s.Tile(y == -2 ? 15 : 5, 4, y);  // a step up from the left ground
    }
    s.Tile(20, 1, 3);
    s.Tile(21, 2, 3);
    s.Tile(23, 3, 3);
    s.Tile(50, 2, 2);
    // a tree on the left
    s.Tile(61, -9, -2);
    s.Tile(60, -10, -2);
    s.Tile(62, -8, -2);
    for (int y = -1; y <= 6; y++) {
        s.Tile(y == 2 ? 64 : 63, -9, y);
    }
    s.Tile(66, -8, 4);
    s.Tile(65, -10, 5);
    for (int x = -12; x <= -6; x++) {
        s.Tile(67, x, 9);
        s.Tile(68, x, 8);
        s.Tile(69, x, 7);
    }
    // decorations on the ground
    s.Tile(41, -6, -2);
    s.Tile(43, -4, -2);
    s.Tile(45, -1, -2);
    s.Tile(40, 1, -2);
    s.Tile(48, 9, 0);
    s.Tile(46, 11, 0);
    s.Tile(74, 13, 0);
    s.Tile(42, 8, 0);
    // the folk
    s.Sprite("Lirra/Lirra_Idle.png", 0, -3.0f, -1.05f, 3, 3);
    s.Sprite("Lirra/Lirra_Run.png", 1, -7.0f, -1.05f, -3, 3);
    s.Sprite("Lirra/Lirra_Attack.png", 2, 0.5f, -1.05f, 3, 3);
    s.Sprite("NPC/Vozarovu_Idle.png", 0, 2.6f, -1.4f, 2, 2);
    s.Sprite("NPC/Vozarovu_Attack.png", 1, 8.8f, 0.6f, -2, 2);
    s.Sprite("NPC/Dired_Idle.png", 0, -10.5f, -1.0f, 3, 3);
    s.Sprite("NPC/VozarovuF_Idle.png", 0, 6.0f, 6.0f, 2, 2);
    s.Sprite("Interactable/Soul-Fire-Purple.png", 0, 2.0f, 5.0f, 1, 1.5f);
    s.Sprite("Interactable/Soul-Fire.png", 1, -5.5f, 1.5f, 1, 1.5f);
    s.Sprite("Interactable/Soul-Fire-Green.png", 2, -4.5f, 2.0f, 1, 1.5f);
    s.Sprite("Interactable/Portal.png", 0, 12.0f, 2.5f, 2, 5, 1);
    s.Sprite("UI/cursor.png", 0, 12.0f, 6.0f, 2, 2);
    s.Sprite("UI/key_up.png", 0, -3.0f, 2.0f, 1.5f, 1.5f);
    s.Sprite("Interactable/Wind_North2.png", 2, 5.5f, 2.0f, 2, 6, 0.7f);
    return s.canvas;
}

Image MenuScene(const SheetList& sheets) {
    Image level = LevelScene(sheets);
    Scene s(sheets, 0.0f, 2.0f);
    s.canvas = level;
    for (Rgba& p : s.canvas.Pixels()) {
        p = Scaled(p, 0.5f);  // the game is paused under the menu
    }
    const float cx = 512, cy = 360, st = 75;
    s.Screen("UI/panel_pause.png", cx, cy, 818, 575);
    s.Screen("UI/button_resume.png", cx - (1.5f * st + 40), cy + st - 40, 240, 60);
    s.Screen("UI/button_controls.png", cx + 1.5f * st + 40, cy + st - 40, 240, 60);
    s.Screen("UI/button_options.png", cx - (1.5f * st + 40), cy - 60, 240, 60);
    s.Screen("UI/button_credits.png", cx + 1.5f * st + 40, cy - 60, 240, 60);
    s.Screen("UI/button_exit.png", cx, cy - (st + 80), 240, 60);
    s.Screen("UI/button_boarder.png", cx - (1.5f * st + 40), cy + st - 40, 280, 90);
    return s.canvas;
}

Image BossScene(const SheetList& sheets) {
    Scene s(sheets, 0.0f, -10.0f);
    s.Background();
    s.Sprite("Boss/Boss_Body.png", 0, 0.0f, -10.5f, 16, 16, 0.8f);
    s.Sprite("Boss/Boss_Head.png", 0, 0.0f, -2.0f, 12, 12);
    s.Sprite("Boss/Boss_Hand_Raised.png", 0, -8.0f, -6.0f, -4, 4);
    s.Sprite("Boss/Boss_Hand_Slam.png", 2, 6.0f, -16.0f, 4, 4);
    for (int x = -12; x <= 12; x++) {
        s.Tile(x == -12 ? 30 : x == 12 ? 32 : 31, x, -19);
        s.Tile(x == -12 ? 33 : x == 12 ? 35 : 34, x, -20);
    }
    s.Sprite("Lirra/Lirra_CollectSoul.png", 4, -2.0f, -17.05f, 3, 3);
    s.Sprite("NPC/Vozarovu_Run.png", 1, -8.0f, -17.4f, 2, 2);
    s.Screen("UI/health_hud.png", 512, 360, 1636, 1150, 0.3f);
    return s.canvas;
}

Image MainMenuScene(const SheetList& sheets) {
    Scene s(sheets, 0.6f, 5.1f);
    s.Background();
    GroundStrip(s, -14, 14, 0, 8);
    s.Tile(74, 8, 1);
    s.Tile(41, 5, 1);
    s.Tile(43, -2, 1);
    s.Tile(46, 11, 1);
    s.Tile(49, -8, 1);
    s.Sprite("NPC/Dired_Idle.png", 0, -5.5f, 2.0f, 3, 3);
    s.Sprite("UI/cursor.png", 1, -5.5f, 4.2f, 2, 2);
    s.Sprite("Lirra/Lirra_Idle.png", 0, 0.0f, 1.95f, 3, 3);
    s.Sprite("UI/key_left.png", 0, -1.0f, 1.5f, 1.5f, 1.5f);
    s.Sprite("UI/key_right.png", 2, 1.0f, 1.5f, 1.5f, 1.5f);
    s.Screen("UI/Lirra_Title.png", 512, 580, 380, 127);
    s.Screen("UI/dialogpanel.png", 300, 250, 250, 150);
    return s.canvas;
}

}  // namespace

std::vector<std::pair<std::string, Image>> PreviewScenes(const SheetList& sheets) {
    return {{"menu", MainMenuScene(sheets)},
            {"level", LevelScene(sheets)},
            {"pause", MenuScene(sheets)},
            {"boss", BossScene(sheets)}};
}

}  // namespace datagen
