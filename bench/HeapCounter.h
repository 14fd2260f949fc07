#pragma once

// The benchmark's count of the bytes its C++ allocations hold.

#include <cstddef>

size_t HeapLiveBytes();
// The most held at once since the last reset.
size_t HeapPeakBytes();
void ResetHeapPeak();
