// lirra-picture-diff: compares two PNG screenshots of the game channel by channel, to show that a
// cheaper way of drawing leaves the picture as it was.
//
//   lirra-picture-diff BEFORE.png AFTER.png
//
// prints the largest and the mean difference of a colour channel (0-255) and the share of pixels
// that differ at all; exits with 1 when the sizes differ or a file cannot be read.

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Picture {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    std::vector<unsigned char> rgba;
};

bool ReadPicture(const char* path, Picture* picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path) == 0) {
        std::fprintf(stderr, "lirra-picture-diff: cannot read '%s': %s\n", path, image.message);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    picture->width = image.width;
    picture->height = image.height;
    picture->rgba.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, picture->rgba.data(), 0, nullptr) == 0) {
        std::fprintf(stderr, "lirra-picture-diff: cannot decode '%s': %s\n", path, image.message);
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lirra-picture-diff BEFORE.png AFTER.png\n");
        return 2;
    }
    Picture before;
    Picture after;
    if (!ReadPicture(argv[1], &before) || !ReadPicture(argv[2], &after)) {
        return 1;
    }
    if (before.width != after.width || before.height != after.height) {
        std::printf("size differs: %ux%u against %ux%u\n", before.width, before.height, after.width, after.height);
        return 1;
    }
    int largest = 0;
    size_t largestAt = 0;
    double sum = 0.0;
    long differingPixels = 0;
    const size_t pixels = static_cast<size_t>(before.width) * before.height;
    for (size_t p = 0; p < pixels; ++p) {
        bool differs = false;
        for (int c = 0; c < 3; ++c) {
            const int d = std::abs(static_cast<int>(before.rgba[p * 4 + c]) - static_cast<int>(after.rgba[p * 4 + c]));
            if (d > largest) {
                largest = d;
                largestAt = p;
            }
            sum += d;
            differs = differs || d != 0;
        }
        differingPixels += differs ? 1 : 0;
    }
    // The image's rows run top to bottom.
    std::printf("max=%d at (%zu, %zu) mean=%.4f differing_pixels=%.3f%%\n", largest, largestAt % before.width,
                largestAt / before.width, sum / (3.0 * static_cast<double>(pixels)),
                100.0 * static_cast<double>(differingPixels) / static_cast<double>(pixels));
    return 0;
}
