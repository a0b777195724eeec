#include "automation/Screenshot.h"

#include <GL/glew.h>
#include <png.h>

#include <cstdio>
#include <vector>

#include "platform/Window.h"

namespace {

bool WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // GL rows run bottom-up; PNG rows top-down.
    for (int row = height - 1; row >= 0; --row) {
        png_write_row(png, const_cast<unsigned char*>(&rgb[static_cast<size_t>(row) * width * 3]));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

bool SaveScreenshot(const std::string& path) {
    const int width = GetWindowWidth();
    const int height = GetWindowHeight();
    if (width <= 0 || height <= 0) {
        std::printf("Screenshot skipped: the window has no picture (%d x %d)\n", width, height);
        return false;
    }
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    if (!WritePng(path, width, height, rgb)) {
        std::printf("Screenshot failed: cannot write '%s'\n", path.c_str());
        return false;
    }
    return true;
}
