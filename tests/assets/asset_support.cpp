#include "asset_support.h"

#include <png.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace assets_test {

float Picture::Luminance(int x, int y) const {
    const uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
    return (0.2126f * p[0] + 0.7152f * p[1] + 0.0722f * p[2]) / 255.0f;
}

Picture ReadPng(const std::string& path) {
    Picture pic;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return pic;
    }
    pic.channels = PNG_IMAGE_SAMPLE_CHANNELS(image.format);
    image.format = PNG_FORMAT_RGBA;
    pic.width = int(image.width);
    pic.height = int(image.height);
    pic.rgba.resize(PNG_IMAGE_SIZE(image));
    pic.ok = png_image_finish_read(&image, nullptr, pic.rgba.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return pic;
}

Sound ReadOgg(const std::string& path) {
    Sound sound;
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) {
        return sound;
    }
    const vorbis_info* info = ov_info(&vf, -1);
    sound.rate = info->rate;
    sound.channels = info->channels;
    int section = 0;
    for (;;) {
        float** pcm = nullptr;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n < 0) {
            ov_clear(&vf);
            return sound;
        }
        if (n == 0) {
            break;
        }
        sound.samples.insert(sound.samples.end(), pcm[0], pcm[0] + n);
    }
    ov_clear(&vf);
    sound.ok = true;
    return sound;
}

std::string DataDir() {
    return LIRRA_TEST_DATA_DIR;
}

std::string DataPath(const std::string& relative) {
    return DataDir() + "/" + relative;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace assets_test
