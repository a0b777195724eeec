#include "audio/OggTestFiles.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr long kEncodeChunk = 1024;

bool WritePage(FILE* file, const ogg_page& page) {
    return std::fwrite(page.header, 1, page.header_len, file) == static_cast<size_t>(page.header_len) &&
           std::fwrite(page.body, 1, page.body_len, file) == static_cast<size_t>(page.body_len);
}

struct Encoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    FILE* file = nullptr;
    bool ok = true;

    void Drain() {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    ok = WritePage(file, page) && ok;
                }
            }
        }
    }

    void Flush() {
        ogg_page page;
        while (ogg_stream_flush(&stream, &page) != 0) {
            ok = WritePage(file, page) && ok;
        }
    }
};

}  // namespace

TestSignal MakeTone(float frequency, float seconds, float amplitude, int channels, int sampleRate) {
    TestSignal signal;
    signal.channels = channels;
    signal.sampleRate = sampleRate;
    const long frames = std::lround(seconds * sampleRate);
    signal.samples.resize(static_cast<size_t>(frames * channels));
    for (long i = 0; i < frames; ++i) {
        const float value = amplitude * std::sin(2.0f * std::numbers::pi_v<float> * frequency * i / sampleRate);
        for (int c = 0; c < channels; ++c) {
            signal.samples[static_cast<size_t>(i * channels + c)] = value;
        }
    }
    return signal;
}

bool WriteOggFile(const std::string& path, const TestSignal& signal) {
    Encoder encoder;
    vorbis_info_init(&encoder.info);
    if (vorbis_encode_init_vbr(&encoder.info, signal.channels, signal.sampleRate, 0.6f) != 0) {
        vorbis_info_clear(&encoder.info);
        return false;
    }
    encoder.file = std::fopen(path.c_str(), "wb");
    if (encoder.file == nullptr) {
        vorbis_info_clear(&encoder.info);
        return false;
    }
    vorbis_comment_init(&encoder.comment);
    vorbis_analysis_init(&encoder.dsp, &encoder.info);
    vorbis_block_init(&encoder.dsp, &encoder.block);
    ogg_stream_init(&encoder.stream, 20261208);

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&encoder.dsp, &encoder.comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&encoder.stream, &header);
    ogg_stream_packetin(&encoder.stream, &commentHeader);
    ogg_stream_packetin(&encoder.stream, &codeHeader);
    encoder.Flush();

    const long frames = static_cast<long>(signal.samples.size()) / signal.channels;
    for (long start = 0; start < frames; start += kEncodeChunk) {
        const long count = std::min(kEncodeChunk, frames - start);
        float** buffer = vorbis_analysis_buffer(&encoder.dsp, static_cast<int>(count));
        for (long i = 0; i < count; ++i) {
            for (int c = 0; c < signal.channels; ++c) {
                buffer[c][i] = signal.samples[static_cast<size_t>((start + i) * signal.channels + c)];
            }
        }
        vorbis_analysis_wrote(&encoder.dsp, static_cast<int>(count));
        encoder.Drain();
    }
    vorbis_analysis_wrote(&encoder.dsp, 0);
    encoder.Drain();
    encoder.Flush();

    ogg_stream_clear(&encoder.stream);
    vorbis_block_clear(&encoder.block);
    vorbis_dsp_clear(&encoder.dsp);
    vorbis_comment_clear(&encoder.comment);
    vorbis_info_clear(&encoder.info);
    return std::fclose(encoder.file) == 0 && encoder.ok;
}

std::string WriteToneFile(const std::string& path, float frequency, float seconds, float amplitude, int channels,
                          int sampleRate) {
    WriteOggFile(path, MakeTone(frequency, seconds, amplitude, channels, sampleRate));
    return path;
}
