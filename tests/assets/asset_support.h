// Readers for the generated data files: PNG through libpng, Ogg Vorbis through vorbisfile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets_test {

struct Picture {
    bool ok = false;
    int width = 0;
    int height = 0;
    int channels = 0;           // as stored in the file
    std::vector<uint8_t> rgba;  // width * height * 4, top row first

    float Luminance(int x, int y) const;
    uint8_t Alpha(int x, int y) const { return rgba[(size_t(y) * width + x) * 4 + 3]; }
};

Picture ReadPng(const std::string& path);

struct Sound {
    bool ok = false;
    long rate = 0;
    int channels = 0;
    std::vector<float> samples;  // the first channel
    double Seconds() const { return rate ? double(samples.size()) / rate : 0.0; }
};

Sound ReadOgg(const std::string& path);

std::string DataDir();
std::string DataPath(const std::string& relative);
std::vector<uint8_t> ReadBytes(const std::string& path);

}  // namespace assets_test
