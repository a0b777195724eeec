#pragma once

#include <cstdint>

// Counts the heap allocations made through operator new on the calling thread. The bench replaces
// the global operator new and delete, so every allocation of the game and of the C++ libraries it
// calls is seen; C allocations (malloc in the GL driver, Dear ImGui) are not.
uint64_t CountThreadAllocations();
// Allocations made by the GL driver (Mesa and its LLVM shader compiler) on this thread; they are
// not in CountThreadAllocations. Told apart only once ClassifyDriverAllocations has been called.
uint64_t CountThreadDriverAllocations();
// From now on, allocations of the calling thread whose call stack passes through the GL driver
// or LLVM (both loaded by now, with the context) count as the driver's.
void ClassifyDriverAllocations();
uint64_t CountThreadAllocatedBytes();

// While recording, the call stacks of the calling thread's allocations are kept (up to a fixed
// number per recording) so a frame that should not have allocated can say where it did.
void StartRecordingAllocationStacks();
void StopRecordingAllocationStacks();
// Writes the recorded stacks to the file descriptor, symbolised as far as the binary allows.
void PrintRecordedAllocationStacks(int fd);
