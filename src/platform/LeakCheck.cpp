#include "platform/LeakCheck.h"

#ifdef LIRRA_SANITIZE

#include <dlfcn.h>
#include <link.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

bool IsGlDriver(std::string_view path) {
    return path.find("_dri.so") != std::string_view::npos || path.find("libgallium") != std::string_view::npos;
}

int CollectGlDrivers(dl_phdr_info* info, size_t, void* found) {
    if (info->dlpi_name != nullptr && IsGlDriver(info->dlpi_name)) {
        static_cast<std::vector<std::string>*>(found)->emplace_back(info->dlpi_name);
    }
    return 0;
}

}  // namespace

void KeepGlDriverMapped() {
    std::vector<std::string> drivers;
    dl_iterate_phdr(CollectGlDrivers, &drivers);
    // Outside the walk: it holds the loader's lock, which dlopen takes too.
    for (const std::string& path : drivers) {
        dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
}

#else

void KeepGlDriverMapped() {}

#endif
