#include "audio/AudioErrors.h"

#include "base/Log.h"

namespace {

const char* const kErrorTexts[] = {
    "No errors.",
    "File not found.",
    "The file could not be read.",
    "Unsupported or corrupt sound format.",
    "Only mono and stereo sounds are supported.",
    "The sound is too long to load.",
    "No audio output device could be opened.",
    "The audio output could not be started.",
    "Not enough memory for the sound data.",
};

constexpr int kErrorCount = static_cast<int>(sizeof(kErrorTexts) / sizeof(kErrorTexts[0]));

}  // namespace

const char* AudioErrorString(int code) {
    if (code < 0 || code >= kErrorCount) {
        return "Unknown error.";
    }
    return kErrorTexts[code];
}

void ReportAudioError(int code) {
    Log("FMOD error! (%d) %s\n", code, AudioErrorString(code));
}
