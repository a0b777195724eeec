#include "AllocationCounter.h"

#include <execinfo.h>
#include <link.h>
#include <unistd.h>

#include <cstring>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

// Per thread, so the audio mixer and the loading worker do not blur the main thread's frames.
thread_local uint64_t allocations = 0;
thread_local uint64_t driverAllocations = 0;
thread_local bool classifying = false;

struct CodeRange {
    uintptr_t begin;
    uintptr_t end;
};
constexpr int kMaxDriverRanges = 16;
CodeRange driverRanges[kMaxDriverRanges];
int driverRangeCount = 0;

bool IsDriverLibrary(const char* path) {
    return std::strstr(path, "libLLVM") != nullptr || std::strstr(path, "/dri/") != nullptr ||
           std::strstr(path, "libgallium") != nullptr || std::strstr(path, "libglapi") != nullptr;
}

int NoteDriverLibrary(dl_phdr_info* info, size_t, void*) {
    if (info->dlpi_name == nullptr || !IsDriverLibrary(info->dlpi_name)) {
        return 0;
    }
    for (int i = 0; i < info->dlpi_phnum && driverRangeCount < kMaxDriverRanges; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X) != 0) {
            const uintptr_t begin = info->dlpi_addr + segment.p_vaddr;
            driverRanges[driverRangeCount++] = {begin, begin + segment.p_memsz};
        }
    }
    return 0;
}

bool InDriver(const void* address) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(address);
    for (int i = 0; i < driverRangeCount; ++i) {
        if (at >= driverRanges[i].begin && at < driverRanges[i].end) {
            return true;
        }
    }
    return false;
}
thread_local uint64_t allocatedBytes = 0;

constexpr int kMaxStacks = 64;
constexpr int kStackDepth = 14;

struct Stack {
    void* frames[kStackDepth];
    int depth;
};

Stack stacks[kMaxStacks];
int stackCount = 0;
thread_local bool recording = false;
thread_local bool insideRecorder = false;

void RecordStack() {
    if (!recording || insideRecorder || stackCount >= kMaxStacks) {
        return;
    }
    insideRecorder = true;
    Stack& stack = stacks[stackCount++];
    stack.depth = backtrace(stack.frames, kStackDepth);
    insideRecorder = false;
}

constexpr int kClassifyDepth = 24;

// Reentrant calls (the unwinder itself may allocate) are the driver's business too.
thread_local bool insideClassifier = false;

bool ComesFromDriver() {
    if (!classifying || insideClassifier) {
        return false;
    }
    insideClassifier = true;
    void* frames[kClassifyDepth];
    const int depth = backtrace(frames, kClassifyDepth);
    bool driver = false;
    for (int i = 0; i < depth && !driver; ++i) {
        driver = InDriver(frames[i]);
    }
    insideClassifier = false;
    return driver;
}

void Count(std::size_t size) {
    if (ComesFromDriver()) {
        ++driverAllocations;
        return;
    }
    RecordStack();
    ++allocations;
    allocatedBytes += size;
}

void* Allocate(std::size_t size) {
    Count(size);
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    Count(size);
    const std::size_t align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    void* memory = std::aligned_alloc(align, rounded == 0 ? align : rounded);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

}  // namespace

uint64_t CountThreadAllocations() {
    return allocations;
}

uint64_t CountThreadDriverAllocations() {
    return driverAllocations;
}

void ClassifyDriverAllocations() {
    void* frame[1];
    backtrace(frame, 1);
    driverRangeCount = 0;
    dl_iterate_phdr(NoteDriverLibrary, nullptr);
    classifying = true;
}

uint64_t CountThreadAllocatedBytes() {
    return allocatedBytes;
}

void StartRecordingAllocationStacks() {
    // The first backtrace loads the unwinder, which allocates: do it before recording starts.
    static bool unwinderLoaded = false;
    if (!unwinderLoaded) {
        void* frame[1];
        backtrace(frame, 1);
        unwinderLoaded = true;
    }
    stackCount = 0;
    recording = true;
}

void StopRecordingAllocationStacks() {
    recording = false;
}

void PrintRecordedAllocationStacks(int fd) {
    for (int i = 0; i < stackCount; ++i) {
        dprintf(fd, "-- allocation %d\n", i + 1);
        backtrace_symbols_fd(stacks[i].frames + 2, stacks[i].depth - 2, fd);
    }
}

void* operator new(std::size_t size) {
    return Allocate(size);
}

void* operator new[](std::size_t size) {
    return Allocate(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void* operator new(std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}

void* operator new[](std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete[](void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::align_val_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::align_val_t) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
