#pragma once

// The failures the sound layer can meet, each with the text the game prints for it.
enum AudioResult : int {
    AUDIO_OK = 0,
    AUDIO_ERR_FILE_NOT_FOUND = 1,
    AUDIO_ERR_FILE_READ = 2,
    AUDIO_ERR_FORMAT = 3,
    AUDIO_ERR_CHANNELS = 4,
    AUDIO_ERR_TOO_LONG = 5,
    AUDIO_ERR_NO_DEVICE = 6,
    AUDIO_ERR_CONTEXT = 7,
    AUDIO_ERR_MEMORY = 8,
};

// "No errors." for 0, "Unknown error." for a code that is not in the table.
const char* AudioErrorString(int code);
// Prints the line "FMOD error! (code) text" to standard output.
void ReportAudioError(int code);
