#include "audio/OggDecoder.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include "audio/AudioErrors.h"

namespace {

// Twenty minutes of stereo at 48 kHz: a file that claims more is refused before it fills memory.
constexpr long kMaxSamples = 20L * 60L * 48000L * 2L;
constexpr int kReadChunkBytes = 16384;

size_t ReadFromFile(void* buffer, size_t size, size_t count, void* file) {
    return std::fread(buffer, size, count, static_cast<FILE*>(file));
}

int SeekInFile(void* file, ogg_int64_t offset, int whence) {
    return std::fseek(static_cast<FILE*>(file), static_cast<long>(offset), whence);
}

int CloseFile(void* file) {
    return std::fclose(static_cast<FILE*>(file));
}

long TellInFile(void* file) {
    return std::ftell(static_cast<FILE*>(file));
}

const ov_callbacks kFileCallbacks = {ReadFromFile, SeekInFile, CloseFile, TellInFile};

int OpenResultToAudioResult(int result) {
    return result == OV_EREAD ? AUDIO_ERR_FILE_READ : AUDIO_ERR_FORMAT;
}

bool IsSupportedLayout(const vorbis_info* info) {
    return info != nullptr && (info->channels == 1 || info->channels == 2) && info->rate > 0;
}

// Every chained section of the file must keep the first one's layout: one buffer holds them all.
bool MatchesLayout(const vorbis_info* info, const DecodedSound& out) {
    return info != nullptr && info->channels == out.channels && info->rate == out.sampleRate;
}

int DecodeStream(OggVorbis_File& file, DecodedSound& out) {
    const vorbis_info* first = ov_info(&file, -1);
    if (first == nullptr) {
        return AUDIO_ERR_FORMAT;
    }
    if (!IsSupportedLayout(first)) {
        return AUDIO_ERR_CHANNELS;
    }
    out.channels = first->channels;
    out.sampleRate = static_cast<int>(first->rate);

    const ogg_int64_t totalFrames = ov_pcm_total(&file, -1);
    if (totalFrames > 0) {
        if (totalFrames * out.channels > kMaxSamples) {
            return AUDIO_ERR_TOO_LONG;
        }
        out.samples.reserve(static_cast<size_t>(totalFrames * out.channels));
    }

    char chunk[kReadChunkBytes];
    int section = 0;
    for (;;) {
        const long bytes = ov_read(&file, chunk, sizeof(chunk), 0, 2, 1, &section);
        if (bytes == 0) {
            break;
        }
        if (bytes == OV_HOLE) {
            continue;  // a gap in the page sequence: the decoder resynchronises on the next page
        }
        if (bytes < 0) {
            return AUDIO_ERR_FORMAT;
        }
        if (!MatchesLayout(ov_info(&file, section), out)) {
            return AUDIO_ERR_FORMAT;
        }
        const int16_t* decoded = reinterpret_cast<const int16_t*>(chunk);
        out.samples.insert(out.samples.end(), decoded, decoded + bytes / 2);
        if (static_cast<long>(out.samples.size()) > kMaxSamples) {
            return AUDIO_ERR_TOO_LONG;
        }
    }
    return out.samples.empty() ? AUDIO_ERR_FORMAT : AUDIO_OK;
}

// The largest Ogg page: header, 255 lacing values, 255 segments of 255 bytes.
constexpr long kMaxPageBytes = 27L + 255L + 255L * 255L;
constexpr unsigned char kEndOfStreamFlag = 0x04;

// Whether the file ends with a whole Ogg page that closes its stream. The decoder plays a file cut
// short up to the cut without complaint; such a file is damaged and is refused like any other.
bool EndsWithFinalPage(FILE* handle) {
    if (std::fseek(handle, 0, SEEK_END) != 0) {
        return false;
    }
    const long size = std::ftell(handle);
    const long tailSize = size < kMaxPageBytes ? size : kMaxPageBytes;
    if (tailSize < 27 || std::fseek(handle, size - tailSize, SEEK_SET) != 0) {
        return false;
    }
    std::vector<unsigned char> tail(static_cast<size_t>(tailSize));
    if (std::fread(tail.data(), 1, tail.size(), handle) != tail.size()) {
        return false;
    }
    for (long at = tailSize - 27; at >= 0; --at) {
        const unsigned char* page = tail.data() + at;
        if (page[0] != 'O' || page[1] != 'g' || page[2] != 'g' || page[3] != 'S') {
            continue;
        }
        const long segments = page[26];
        if (at + 27 + segments > tailSize) {
            continue;
        }
        long length = 27 + segments;
        for (long i = 0; i < segments; ++i) {
            length += page[27 + i];
        }
        if (at + length == tailSize) {
            return (page[5] & kEndOfStreamFlag) != 0;
        }
    }
    return false;
}

}  // namespace

int DecodeOggFile(const char* path, DecodedSound& out) {
    out = DecodedSound();
    FILE* handle = std::fopen(path, "rb");
    if (handle == nullptr) {
        return errno == ENOENT || errno == ENOTDIR ? AUDIO_ERR_FILE_NOT_FOUND : AUDIO_ERR_FILE_READ;
    }
    OggVorbis_File file;
    const int opened = ov_open_callbacks(handle, &file, nullptr, 0, kFileCallbacks);
    if (opened != 0) {
        std::fclose(handle);  // a failed open leaves the file to its caller
        return OpenResultToAudioResult(opened);
    }
    int result = DecodeStream(file, out);
    if (result == AUDIO_OK && !EndsWithFinalPage(handle)) {
        result = AUDIO_ERR_FORMAT;
    }
    ov_clear(&file);
    if (result != AUDIO_OK) {
        out = DecodedSound();
    }
    return result;
}
