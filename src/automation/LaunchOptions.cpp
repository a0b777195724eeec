#include "automation/LaunchOptions.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "frontend/StateFactory.h"

namespace {

LaunchOptions launchOptions;

const char* const kUsage =
    "Usage: lirra [options]\n"
    "  --data DIR            run with the data in DIR\n"
    "  --print-datadir       print the built-in data directory and exit\n"
    "  --windowed            start in a 1024 x 720 window instead of full-screen\n"
    "  --size WxH            start in a W x H window\n"
    "  --fixed-step S        advance the clock by exactly S seconds per frame, no waiting\n"
    "  --seed N              seed every random source with N\n"
    "  --start NAME          start in the named state after loading (\"Splash\", \"Main Menu\",\n"
    "                        \"Editor\", \"Level 1\", \"Level 2\", \"Level 3\", \"Boss\", \"Level End\")\n"
    "  --input FILE          replay the input events of FILE\n"
    "  --record FILE         write every input event of the run to FILE\n"
    "  --trace FILE          write one JSON line per frame to FILE\n"
    "  --screenshot F:FILE   save the picture of frame F as a PNG; may be repeated\n"
    "  --frames N            quit after N frames\n"
    "  --help, --version     this text, the version\n";

bool Fail(const char* format, const char* value) {
    std::fprintf(stderr, "lirra: ");
    std::fprintf(stderr, format, value);
    std::fprintf(stderr, "\nTry 'lirra --help'.\n");
    return false;
}

bool ParseLong(const char* text, long minimum, long* out) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < minimum) {
        return false;
    }
    *out = value;
    return true;
}

bool ParseSize(const char* text, int* width, int* height) {
    const char* cross = std::strchr(text, 'x');
    if (cross == nullptr) {
        return false;
    }
    const std::string w(text, cross);
    long wv = 0;
    long hv = 0;
    if (!ParseLong(w.c_str(), 1, &wv) || !ParseLong(cross + 1, 1, &hv) || wv > 16384 || hv > 16384) {
        return false;
    }
    *width = static_cast<int>(wv);
    *height = static_cast<int>(hv);
    return true;
}

bool ParseStep(const char* text, double* step) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !(value > 0.0) || value > 1.0) {
        return false;
    }
    *step = value;
    return true;
}

// File options name places relative to where the player started the game, not the data directory
// the game moves to.
std::string Absolute(const char* path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? std::string(path) : absolute.string();
}

bool ParseScreenshot(const char* text, LaunchOptions& options) {
    const char* colon = std::strchr(text, ':');
    if (colon == nullptr || colon[1] == '\0') {
        return false;
    }
    long frame = 0;
    const std::string number(text, colon);
    if (!ParseLong(number.c_str(), 0, &frame)) {
        return false;
    }
    options.screenshots.emplace_back(frame, Absolute(colon + 1));
    return true;
}

bool Readable(const std::string& path) {
    std::ifstream file(path);
    return file.good();
}

// Parses one option (and its value); returns false on a usage error.
bool ParseOne(int argc, char** argv, int* index, LaunchOptions& options, ParseResult* early) {
    const std::string flag = argv[*index];
    const bool takesValue = flag == "--data" || flag == "--size" || flag == "--fixed-step" || flag == "--seed" ||
                            flag == "--start" || flag == "--input" || flag == "--record" || flag == "--trace" ||
                            flag == "--screenshot" || flag == "--frames";
    const char* value = nullptr;
    if (takesValue) {
        if (*index + 1 >= argc) {
            return Fail("option '%s' needs a value", flag.c_str());
        }
        value = argv[++*index];
    }
    if (flag == "--help") {
        std::printf("%s", kUsage);
        *early = ParseResult::ExitSuccess;
    } else if (flag == "--version") {
        std::printf("lirra %s\n", LIRRA_VERSION);
        *early = ParseResult::ExitSuccess;
    } else if (flag == "--print-datadir") {
        std::printf("%s\n", BuiltInDataDir().c_str());
        *early = ParseResult::ExitSuccess;
    } else if (flag == "--windowed") {
        options.windowed = true;
    } else if (flag == "--data") {
        options.dataDir = Absolute(value);
    } else if (flag == "--size") {
        if (!ParseSize(value, &options.width, &options.height)) {
            return Fail("--size wants WIDTHxHEIGHT in pixels, not '%s'", value);
        }
        options.windowed = true;
    } else if (flag == "--fixed-step") {
        if (!ParseStep(value, &options.fixedStep)) {
            return Fail("--fixed-step wants seconds between 0 and 1, not '%s'", value);
        }
    } else if (flag == "--seed") {
        long seed = 0;
        if (!ParseLong(value, 0, &seed) || seed > 0xFFFFFFFFL) {
            return Fail("--seed wants a whole number from 0 to 4294967295, not '%s'", value);
        }
        options.seeded = true;
        options.seed = static_cast<unsigned>(seed);
    } else if (flag == "--start") {
        if (StartableStateId(value) == 0) {
            return Fail("unknown state '%s' for --start", value);
        }
        options.startState = value;
    } else if (flag == "--input") {
        if (!Readable(value)) {
            return Fail("cannot read the input file '%s'", value);
        }
        options.inputFile = Absolute(value);
    } else if (flag == "--record") {
        options.recordFile = Absolute(value);
    } else if (flag == "--trace") {
        options.traceFile = Absolute(value);
    } else if (flag == "--screenshot") {
        if (!ParseScreenshot(value, options)) {
            return Fail("--screenshot wants FRAME:FILE, not '%s'", value);
        }
    } else if (flag == "--frames") {
        if (!ParseLong(value, 1, &options.frames)) {
            return Fail("--frames wants a positive whole number, not '%s'", value);
        }
    } else {
        return Fail("unknown option '%s'", flag.c_str());
    }
    return true;
}

bool HasGameData(const std::filesystem::path& dir) {
    std::error_code error;
    return std::filesystem::exists(dir / "Shader" / "default.vertexshader", error);
}

}  // namespace

ParseResult ParseLaunchOptions(int argc, char** argv, LaunchOptions& options) {
    ParseResult result = ParseResult::Run;
    for (int i = 1; i < argc; ++i) {
        if (!ParseOne(argc, argv, &i, options, &result)) {
            return ParseResult::ExitFailure;
        }
        if (result != ParseResult::Run) {
            return result;
        }
    }
    return ParseResult::Run;
}

const LaunchOptions& GetLaunchOptions() {
    return launchOptions;
}

void SetLaunchOptions(const LaunchOptions& options) {
    launchOptions = options;
}

std::string BuiltInDataDir() {
    // An installed binary finds its data beside it (../share/lirra after a prefix install,
    // ../share/games/lirra from the Debian package); a build-tree binary uses the build's data.
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        for (const char* fromBin : {LIRRA_PREFIX_DATA_FROM_BIN, LIRRA_DEBIAN_DATA_FROM_BIN}) {
            const std::filesystem::path installed = exe.parent_path() / fromBin;
            if (HasGameData(installed)) {
                return installed.lexically_normal().string();
            }
        }
    }
    if (HasGameData(LIRRA_BUILD_DATA_DIR)) {
        return LIRRA_BUILD_DATA_DIR;
    }
    return LIRRA_INSTALL_DATA_DIR;
}

bool EnterDataDirectory(const LaunchOptions& options) {
    std::string target = options.dataDir;
    if (target.empty()) {
        if (HasGameData(".")) {
            return true;
        }
        target = BuiltInDataDir();
    }
    if (chdir(target.c_str()) != 0) {
        std::fprintf(stderr, "lirra: cannot enter the data directory '%s': %s\n", target.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}
