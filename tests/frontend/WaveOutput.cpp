#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Runs before main, so the output device the game opens is OpenAL Soft's wave-file writer and
// the master controls act on real voices.
bool UseWaveOutput() {
    char pattern[] = "/tmp/lirra-frontend-audio-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return false;
    }
    const std::string dir = pattern;
    std::ofstream config(dir + "/alsoft.conf");
    config << "[wave]\nfile = " << dir << "/played.wav\n";
    config.close();
    setenv("ALSOFT_CONF", (dir + "/alsoft.conf").c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    return true;
}

const bool kWaveOutput = UseWaveOutput();

}  // namespace
