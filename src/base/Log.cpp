#include "base/Log.h"

#include <cstdarg>
#include <cstdio>

namespace {

void Write(std::FILE* stream, const char* format, std::va_list arguments) {
    std::vfprintf(stream, format, arguments);
    std::fflush(stream);
}

}  // namespace

void Log(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    Write(stdout, format, arguments);
    va_end(arguments);
}

void LogError(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    Write(stderr, format, arguments);
    va_end(arguments);
}
