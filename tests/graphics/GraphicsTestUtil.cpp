#include "GraphicsTestUtil.h"

#include <GL/glew.h>
#include <png.h>
#include <sys/stat.h>

#include <cstdio>

#include "graphics/Camera.h"
#include "graphics/PostProcess.h"
#include "platform/FrameClock.h"
#include "resources/ResourceLoader.h"
#include "support/TestGame.h"

void StartGraphicsTest() {
    StartTestGame(256, 180);
    GetCamera().Reset();
    GetCamera().UpdateMatrices();
    while (glGetError() != GL_NO_ERROR) {
    }
}

bool HasGeneratedTextures() {
    struct stat info;
    return stat("Textures/Particles/default_particle.png", &info) == 0 && stat("Fonts/PixelGameFont.ttf", &info) == 0;
}

void LoadGraphicsResources() {
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        GetResources().LoadTexturesAndMeshes();
    }
}

void SetClockStep(double step) {
    SetFixedStep(step);
    ResetFrameClock();
    AdvanceFrameClock();  // the first frame's step is always 0
}

void StepClock() {
    AdvanceFrameClock();
}

void BeginWindowDraw(float r, float g, float b) {
    BindWindowFramebuffer();
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    GetCamera().UpdateMatrices();
    PrepareSceneShader();
}

Vector3 ReadPixel(int x, int y) {
    unsigned char pixel[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return Vector3(pixel[0], pixel[1], pixel[2]);
}

void WriteSolidPng(const std::string& path, int width, int height, unsigned char r, unsigned char g, unsigned char b,
                   unsigned char a) {
    FILE* file = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 4);
    for (int x = 0; x < width; ++x) {
        row[x * 4 + 0] = r;
        row[x * 4 + 1] = g;
        row[x * 4 + 2] = b;
        row[x * 4 + 3] = a;
    }
    for (int y = 0; y < height; ++y) {
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

int CountOf(const std::string& text, const std::string& needle) {
    int count = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) {
        ++count;
    }
    return count;
}
