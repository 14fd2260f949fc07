#include "load/LiveLoad.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();

DISK_PERFORMANCE DiskCounters(uint64_t queryTime, uint64_t idleTime) {
    DISK_PERFORMANCE performance{};
    performance.QueryTime.QuadPart = static_cast<LONGLONG>(queryTime);
    performance.IdleTime.QuadPart = static_cast<LONGLONG>(idleTime);
    return performance;
}

}  // namespace

TEST(FileTimeToUInt64, PutsTheHighHalfAboveTheLowHalf) {
    EXPECT_EQ(FileTimeToUInt64(FILETIME{0x89ABCDEFu, 0x01234567u}), 0x0123456789ABCDEFull);
    EXPECT_EQ(FileTimeToUInt64(FILETIME{0xFFFFFFFFu, 0u}), 0xFFFFFFFFull);
    EXPECT_EQ(FileTimeToUInt64(FILETIME{0u, 1u}), 0x100000000ull);
    EXPECT_EQ(FileTimeToUInt64(FILETIME{0xFFFFFFFFu, 0xFFFFFFFFu}), kMax);
}

TEST(DiskBusyPercent, IsTheShareOfElapsedTimeNotSpentIdle) {
    EXPECT_EQ(DiskBusyPercent(DiskCounters(1000, 500), DiskCounters(2000, 800)), 70);
    EXPECT_EQ(DiskBusyPercent(DiskCounters(0, 0), DiskCounters(10, 0)), 100);
    EXPECT_EQ(DiskBusyPercent(DiskCounters(0, 0), DiskCounters(10, 10)), 0);
}

TEST(DiskBusyPercent, RoundsDown) {
    EXPECT_EQ(DiskBusyPercent(DiskCounters(0, 0), DiskCounters(3, 1)), 66);
    EXPECT_EQ(DiskBusyPercent(DiskCounters(0, 0), DiskCounters(3, 2)), 33);
    EXPECT_EQ(DiskBusyPercent(DiskCounters(0, 0), DiskCounters(1000, 1)), 99);
}

TEST(DiskBusyPercent, CountersThatDoNotAdvanceOrGoBackwardsGiveNothing) {
    EXPECT_EQ(DiskBusyPercent(DiskCounters(500, 100), DiskCounters(500, 100)), -1);
    EXPECT_EQ(DiskBusyPercent(DiskCounters(500, 100), DiskCounters(500, 200)), -1);
    EXPECT_EQ(DiskBusyPercent(DiskCounters(500, 100), DiskCounters(400, 150)), -1);
    EXPECT_EQ(DiskBusyPercent(DiskCounters(500, 100), DiskCounters(900, 99)), -1);
    EXPECT_EQ(DiskBusyPercent(DISK_PERFORMANCE{}, DISK_PERFORMANCE{}), -1);
}

TEST(DiskBusyPercent, IdleAboveElapsedGivesZeroNotANegativeValue) {
    EXPECT_EQ(DiskBusyPercent(DiskCounters(1000, 0), DiskCounters(2000, 5000)), 0);
    EXPECT_EQ(DiskBusyPercent(DiskCounters(0, 0), DiskCounters(1, kMax)), 0);
}

TEST(DiskBusyPercent, ComparesCountersAsUnsignedNumbers) {
    // Across the sign bit of the platform's signed 64-bit fields.
    const uint64_t signBit = uint64_t{1} << 63;
    EXPECT_EQ(DiskBusyPercent(DiskCounters(signBit - 1, signBit - 1), DiskCounters(signBit + 999, signBit + 499)), 50);
    EXPECT_EQ(DiskBusyPercent(DiskCounters(signBit + 999, 0), DiskCounters(signBit - 1, 0)), -1);
}

TEST(DiskBusyPercent, HugeDifferencesDoNotOverflow) {
    EXPECT_EQ(DiskBusyPercent(DiskCounters(0, 0), DiskCounters(kMax, 0)), 100);
    EXPECT_EQ(DiskBusyPercent(DiskCounters(0, 0), DiskCounters(kMax, kMax / 4)), 75);
    EXPECT_EQ(DiskBusyPercent(DiskCounters(0, 0), DiskCounters(kMax, kMax / 100 * 99)), 1);
    EXPECT_EQ(DiskBusyPercent(DiskCounters(1, 0), DiskCounters(kMax, kMax - 2)), 0);
}

TEST(CpuBusyPercent, KernelTimeAlreadyHoldsTheIdleTime) {
    // 1000 units in all, 600 of them idle: the idle time must not be added to the total again.
    EXPECT_EQ(CpuBusyPercent({0, 0, 0}, {600, 800, 200}), 40);
    EXPECT_EQ(CpuBusyPercent({5000, 9000, 3000}, {5600, 9800, 3200}), 40);
    EXPECT_EQ(CpuBusyPercent({0, 0, 0}, {0, 0, 250}), 100);
    EXPECT_EQ(CpuBusyPercent({0, 0, 0}, {500, 500, 0}), 0);
}

TEST(CpuBusyPercent, RoundsDown) {
    EXPECT_EQ(CpuBusyPercent({0, 0, 0}, {1, 2, 1}), 66);
    EXPECT_EQ(CpuBusyPercent({0, 0, 0}, {2, 2, 1}), 33);
}

TEST(CpuBusyPercent, TimesThatDoNotAdvanceGiveNothing) {
    EXPECT_EQ(CpuBusyPercent({0, 0, 0}, {0, 0, 0}), -1);
    EXPECT_EQ(CpuBusyPercent({700, 900, 300}, {700, 900, 300}), -1);
    // Idle alone cannot advance without kernel time, but a reading that says so measures nothing.
    EXPECT_EQ(CpuBusyPercent({700, 900, 300}, {800, 900, 300}), -1);
}

TEST(CpuBusyPercent, TimesThatGoBackwardsGiveNothing) {
    EXPECT_EQ(CpuBusyPercent({700, 900, 300}, {800, 800, 400}), -1);
    EXPECT_EQ(CpuBusyPercent({700, 900, 300}, {800, 1000, 200}), -1);
    EXPECT_EQ(CpuBusyPercent({700, 900, 300}, {600, 1000, 400}), -1);
}

TEST(CpuBusyPercent, IdleAboveTheTotalGivesZero) {
    EXPECT_EQ(CpuBusyPercent({0, 0, 0}, {1200, 800, 200}), 0);
}

TEST(CpuBusyPercent, HugeDifferencesDoNotOverflow) {
    const uint64_t half = uint64_t{1} << 63;
    const uint64_t quarter = uint64_t{1} << 62;
    EXPECT_EQ(CpuBusyPercent({0, 0, 0}, {quarter, half, quarter}), 66);
    EXPECT_EQ(CpuBusyPercent({0, 0, 0}, {0, kMax, 0}), 100);
    EXPECT_EQ(CpuBusyPercent({0, 0, 0}, {0, half, half}), -1);  // the total itself does not fit
}

TEST(ParseClampedPercent, ReadsPlainPercentages) {
    EXPECT_EQ(ParseClampedPercent(L"0"), 0);
    EXPECT_EQ(ParseClampedPercent(L"42"), 42);
    EXPECT_EQ(ParseClampedPercent(L"100"), 100);
    EXPECT_EQ(ParseClampedPercent(L"00042"), 42);
}

TEST(ParseClampedPercent, ClampsNumbersOutsideZeroToHundred) {
    EXPECT_EQ(ParseClampedPercent(L"150"), 100);
    EXPECT_EQ(ParseClampedPercent(L"101"), 100);
    EXPECT_EQ(ParseClampedPercent(L"2147483647"), 100);
    EXPECT_EQ(ParseClampedPercent(L"-5"), 0);
    EXPECT_EQ(ParseClampedPercent(L"-0"), 0);
    EXPECT_EQ(ParseClampedPercent(L"-2147483648"), 0);
}

TEST(ParseClampedPercent, NumbersBeyondThirtyTwoBitsGiveNothing) {
    EXPECT_EQ(ParseClampedPercent(L"2147483648"), -1);
    EXPECT_EQ(ParseClampedPercent(L"-2147483649"), -1);
    EXPECT_EQ(ParseClampedPercent(L"4294967296"), -1);
    EXPECT_EQ(ParseClampedPercent(L"99999999999999999999999999999999"), -1);
    EXPECT_EQ(ParseClampedPercent(L"-99999999999999999999999999999999"), -1);
}

TEST(ParseClampedPercent, TextWithoutDigitsGivesNothing) {
    EXPECT_EQ(ParseClampedPercent(L""), -1);
    EXPECT_EQ(ParseClampedPercent(L"abc"), -1);
    EXPECT_EQ(ParseClampedPercent(L"-"), -1);
    EXPECT_EQ(ParseClampedPercent(L"+"), -1);
    EXPECT_EQ(ParseClampedPercent(L"   "), -1);
    EXPECT_EQ(ParseClampedPercent(L"- 5"), -1);
    EXPECT_EQ(ParseClampedPercent(L"x12"), -1);
}

TEST(ParseClampedPercent, ReadsLikeWcstol) {
    EXPECT_EQ(ParseClampedPercent(L"  17"), 17);
    EXPECT_EQ(ParseClampedPercent(L"\t\r\n\v\f8"), 8);
    EXPECT_EQ(ParseClampedPercent(L"+7"), 7);
    EXPECT_EQ(ParseClampedPercent(L"12abc"), 12);
    EXPECT_EQ(ParseClampedPercent(L"12.9"), 12);
    EXPECT_EQ(ParseClampedPercent(L"55 %"), 55);
    EXPECT_EQ(ParseClampedPercent(L"0x1A"), 0);
    EXPECT_EQ(ParseClampedPercent(std::wstring(L"3\0" L"9", 3)), 3);
}
