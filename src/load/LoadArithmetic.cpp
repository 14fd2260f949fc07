#include "load/LiveLoad.h"

#include <algorithm>
#include <limits>

namespace {

// floor(part * 100 / whole) for part <= whole, whole > 0. Counting how often 100 additions of
// part wrap around whole gives the exact quotient where part * 100 itself would overflow, as it
// does for counters read from a driver that reports nonsense.
int HundredthsOf(uint64_t part, uint64_t whole) {
    int quotient = 0;
    uint64_t remainder = 0;  // always below whole
    for (int step = 0; step < 100; ++step) {
        if (part >= whole - remainder) {
            remainder = part - (whole - remainder);
            ++quotient;
        } else {
            remainder += part;
        }
    }
    return quotient;
}

// The share of elapsed that was not idle, in whole percent; idle above elapsed counts as all idle.
int BusyShare(uint64_t elapsed, uint64_t idle) {
    const uint64_t busy = elapsed - std::min(idle, elapsed);
    return HundredthsOf(busy, elapsed);
}

bool IsBlank(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

}  // namespace

int CounterBusyPercent(uint64_t timeBefore, uint64_t timeAfter, uint64_t idleBefore, uint64_t idleAfter) {
    if (!(timeAfter > timeBefore && idleAfter >= idleBefore)) {
        return -1;
    }
    return BusyShare(timeAfter - timeBefore, idleAfter - idleBefore);
}

uint64_t FileTimeToUInt64(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

int CpuBusyPercent(const ProcessorTimes& before, const ProcessorTimes& after) {
    // Counters that went backwards would wrap around in unsigned arithmetic and give an
    // arbitrary percentage; such a pair measures nothing.
    if (after.idle < before.idle || after.kernel < before.kernel || after.user < before.user) {
        return -1;
    }
    const uint64_t idle = after.idle - before.idle;
    const uint64_t kernel = after.kernel - before.kernel;
    const uint64_t user = after.user - before.user;
    if (user > std::numeric_limits<uint64_t>::max() - kernel) {
        return -1;
    }
    const uint64_t total = kernel + user;
    if (total == 0) {
        return -1;
    }
    return BusyShare(total, idle);
}

int DiskBusyPercent(const DISK_PERFORMANCE& before, const DISK_PERFORMANCE& after) {
    return CounterBusyPercent(static_cast<uint64_t>(before.QueryTime.QuadPart),
                              static_cast<uint64_t>(after.QueryTime.QuadPart),
                              static_cast<uint64_t>(before.IdleTime.QuadPart),
                              static_cast<uint64_t>(after.IdleTime.QuadPart));
}

// Reads like wcstol with base 10 where long has 32 bits (as on Windows), without depending on
// the runtime's width of long or its locale.
int ParseClampedPercent(const std::wstring& text) {
    size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    constexpr int64_t kLimit = int64_t{1} << 31;  // one past INT32_MAX, exactly -INT32_MIN
    int64_t magnitude = 0;
    bool anyDigit = false;
    for (; pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9'; ++pos) {
        anyDigit = true;
        magnitude = std::min(magnitude * 10 + (text[pos] - L'0'), kLimit + 1);
    }
    if (!anyDigit || magnitude > (negative ? kLimit : kLimit - 1)) {
        return -1;
    }
    if (negative) {
        return 0;
    }
    return static_cast<int>(std::min<int64_t>(magnitude, 100));
}
