#pragma once

// The resident memory of this process as the host sees it, when the benchmark runs under Wine.
// Wine keeps the platform's process memory counters at their start values, but the Unix process
// behind this one shows its real resident set and peak in /proc, reachable through drive Z:.
// scripts/bench.sh passes that process's id in VELQUIST_BENCH_UNIX_PID.

#include <cstddef>
#include <string>

class HostMemory {
public:
    HostMemory();

    bool Available() const { return available_; }
    // Starts a new peak at the current resident size.
    void ResetPeak() const;
    size_t ResidentBytes() const { return Read("VmRSS:"); }
    size_t PeakResidentBytes() const { return Read("VmHWM:"); }

private:
    size_t Read(const char* key) const;

    std::wstring folder_;
    bool available_ = false;
};
