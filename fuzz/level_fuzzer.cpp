// libFuzzer target of the level reader and writer: built by scripts/fuzz-level.sh.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "LevelTextCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string broken = CheckLevelText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!broken.empty()) {
        std::fprintf(stderr, "level reader: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
