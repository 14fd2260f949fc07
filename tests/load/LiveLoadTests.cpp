#include "load/LiveLoad.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <chrono>
#include <thread>

namespace {

enum class Apartment { None, SingleThreaded, MultiThreaded };

struct Measurement {
    LoadSnapshot load;
    std::chrono::milliseconds duration{0};
    HRESULT ownInitialisation = E_FAIL;
    HRESULT initialisationAfterwards = E_FAIL;  // the thread's own CoInitializeEx after the call
    HRESULT freshInitialisationAtEnd = E_FAIL;  // after the thread has undone its own set-up
};

DWORD CoInitFlag(Apartment apartment) {
    return apartment == Apartment::SingleThreaded ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED;
}

// Measures on a new thread that has first entered the given apartment, then checks that the
// measurement left the thread's COM state as it found it.
Measurement MeasureOnThread(Apartment apartment) {
    Measurement result;
    std::thread worker([&result, apartment] {
        if (apartment != Apartment::None) {
            result.ownInitialisation = CoInitializeEx(nullptr, CoInitFlag(apartment));
        }
        const auto start = std::chrono::steady_clock::now();
        result.load = SampleLiveLoad();
        result.duration =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);

        if (apartment != Apartment::None) {
            // Still in the apartment the thread chose: a repeat call joins it again.
            result.initialisationAfterwards = CoInitializeEx(nullptr, CoInitFlag(apartment));
            if (SUCCEEDED(result.initialisationAfterwards)) {
                CoUninitialize();
            }
            CoUninitialize();
        }
        // Fully uninitialised now, so the other apartment type is open to the thread.
        const Apartment other = apartment == Apartment::SingleThreaded ? Apartment::MultiThreaded
                                                                       : Apartment::SingleThreaded;
        result.freshInitialisationAtEnd = CoInitializeEx(nullptr, CoInitFlag(other));
        if (SUCCEEDED(result.freshInitialisationAtEnd)) {
            CoUninitialize();
        }
    });
    worker.join();
    return result;
}

void ExpectPercentOrNothing(int32_t value, const char* name) {
    EXPECT_TRUE(value == -1 || (value >= 0 && value <= 100)) << name << " = " << value;
}

void ExpectWellFormed(const Measurement& measurement) {
    EXPECT_GE(measurement.load.cpuPercent, 0);
    EXPECT_LE(measurement.load.cpuPercent, 100);
    EXPECT_GE(measurement.load.memoryPercent, 0);
    EXPECT_LE(measurement.load.memoryPercent, 100);
    ExpectPercentOrNothing(measurement.load.diskPercent, "diskPercent");
    ExpectPercentOrNothing(measurement.load.gpuPercent, "gpuPercent");
    EXPECT_GE(measurement.duration.count(), 850);
}

}  // namespace

TEST(SampleLiveLoad, MeasuresOnAThreadWithoutComAndLeavesItWithout) {
    const Measurement measurement = MeasureOnThread(Apartment::None);
    ExpectWellFormed(measurement);
    EXPECT_EQ(measurement.freshInitialisationAtEnd, S_OK);
}

TEST(SampleLiveLoad, MeasuresOnASingleThreadedApartmentAndKeepsIt) {
    const Measurement measurement = MeasureOnThread(Apartment::SingleThreaded);
    ASSERT_EQ(measurement.ownInitialisation, S_OK);
    ExpectWellFormed(measurement);
    EXPECT_EQ(measurement.initialisationAfterwards, S_FALSE);
    EXPECT_EQ(measurement.freshInitialisationAtEnd, S_OK);
}

TEST(SampleLiveLoad, BalancesItsOwnInitialisationInAMultithreadedApartment) {
    const Measurement measurement = MeasureOnThread(Apartment::MultiThreaded);
    ASSERT_EQ(measurement.ownInitialisation, S_OK);
    ExpectWellFormed(measurement);
    EXPECT_EQ(measurement.initialisationAfterwards, S_FALSE);
    EXPECT_EQ(measurement.freshInitialisationAtEnd, S_OK);
}

TEST(SampleLiveLoad, TwoThreadsMeasureAtOnce) {
    Measurement first;
    Measurement second;
    std::thread other([&second] { second = MeasureOnThread(Apartment::None); });
    first = MeasureOnThread(Apartment::None);
    other.join();
    ExpectWellFormed(first);
    ExpectWellFormed(second);
    EXPECT_EQ(first.freshInitialisationAtEnd, S_OK);
    EXPECT_EQ(second.freshInitialisationAtEnd, S_OK);
}
