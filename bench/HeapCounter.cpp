#include "HeapCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Every C++ allocation of this program goes through here, so the exporters' own buffers are
// counted exactly, whatever the platform's memory counters report. Each block carries its size
// in a header of the default new alignment, so sized and unsized deletes both count it right.

namespace {

constexpr size_t kHeader = __STDCPP_DEFAULT_NEW_ALIGNMENT__;

std::atomic<size_t> liveBytes{0};
std::atomic<size_t> peakBytes{0};

void* Allocate(size_t size) noexcept {
    if (size > static_cast<size_t>(-1) - kHeader) {
        return nullptr;
    }
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block) {
        return nullptr;
    }
    *reinterpret_cast<size_t*>(block) = size;
    const size_t live = liveBytes.fetch_add(size, std::memory_order_relaxed) + size;
    size_t peak = peakBytes.load(std::memory_order_relaxed);
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
    }
    return block + kHeader;
}

void Release(void* pointer) noexcept {
    if (!pointer) {
        return;
    }
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    liveBytes.fetch_sub(*reinterpret_cast<size_t*>(block), std::memory_order_relaxed);
    std::free(block);
}

void* AllocateOrThrow(size_t size) {
    if (void* pointer = Allocate(size)) {
        return pointer;
    }
    throw std::bad_alloc();
}

}  // namespace

size_t HeapLiveBytes() {
    return liveBytes.load(std::memory_order_relaxed);
}

size_t HeapPeakBytes() {
    return peakBytes.load(std::memory_order_relaxed);
}

void ResetHeapPeak() {
    peakBytes.store(liveBytes.load(std::memory_order_relaxed), std::memory_order_relaxed);
}

void* operator new(size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* pointer) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, size_t) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, size_t) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    Release(pointer);
}
