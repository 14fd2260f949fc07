#include "load/LiveLoad.h"

#include <gtest/gtest.h>

namespace {

WmiRow RawDiskRow(const std::wstring& timestamp, const std::wstring& idle) {
    return {{L"Timestamp_Sys100NS", timestamp}, {L"PercentIdleTime", idle}};
}

std::vector<WmiRow> GpuEngineRows(std::initializer_list<std::wstring> utilizations) {
    std::vector<WmiRow> rows;
    for (const std::wstring& utilization : utilizations) {
        rows.push_back({{L"UtilizationPercentage", utilization}});
    }
    return rows;
}

}  // namespace

TEST(WmiDiskBusyPercent, IsTheShareOfTheTimestampSpanNotSpentIdle) {
    EXPECT_EQ(WmiDiskBusyPercent(RawDiskRow(L"1000", L"500"), RawDiskRow(L"2000", L"800")), 70);
    EXPECT_EQ(WmiDiskBusyPercent(RawDiskRow(L"0", L"0"), RawDiskRow(L"3", L"2")), 33);
}

TEST(WmiDiskBusyPercent, ReadsSixtyFourBitCounters) {
    // Real raw counters are 100-nanosecond times since 1601, far beyond 32 bits.
    EXPECT_EQ(WmiDiskBusyPercent(RawDiskRow(L"134094192000000000", L"98000000000000000"),
                                 RawDiskRow(L"134094192008500000", L"98000000004250000")),
              50);
}

TEST(WmiDiskBusyPercent, CountersThatDoNotAdvanceOrGoBackwardsGiveNothing) {
    EXPECT_EQ(WmiDiskBusyPercent(RawDiskRow(L"2000", L"800"), RawDiskRow(L"2000", L"900")), -1);
    EXPECT_EQ(WmiDiskBusyPercent(RawDiskRow(L"2000", L"800"), RawDiskRow(L"1000", L"900")), -1);
    EXPECT_EQ(WmiDiskBusyPercent(RawDiskRow(L"1000", L"800"), RawDiskRow(L"2000", L"700")), -1);
}

TEST(WmiDiskBusyPercent, IdleAboveElapsedGivesZero) {
    EXPECT_EQ(WmiDiskBusyPercent(RawDiskRow(L"1000", L"0"), RawDiskRow(L"2000", L"1500")), 0);
}

TEST(WmiDiskBusyPercent, MissingOrUnreadableValuesCountAsZero) {
    // A missing timestamp after the wait reads as 0, which is no advance.
    EXPECT_EQ(WmiDiskBusyPercent(RawDiskRow(L"1000", L"0"), WmiRow{{L"PercentIdleTime", L"5"}}), -1);
    EXPECT_EQ(WmiDiskBusyPercent(RawDiskRow(L"1000", L"0"), RawDiskRow(L"", L"5")), -1);
    EXPECT_EQ(WmiDiskBusyPercent(RawDiskRow(L"1000", L"0"), RawDiskRow(L"abc", L"5")), -1);
    EXPECT_EQ(WmiDiskBusyPercent(WmiRow{}, WmiRow{}), -1);
    // A missing first timestamp is 0, so any later one is an advance.
    EXPECT_EQ(WmiDiskBusyPercent(WmiRow{}, RawDiskRow(L"100", L"25")), 75);
    EXPECT_EQ(WmiDiskBusyPercent(RawDiskRow(L"100", L"idle"), RawDiskRow(L"200", L"")), 100);
}

TEST(HighestGpuEnginePercent, TakesTheBusiestEngine) {
    EXPECT_EQ(HighestGpuEnginePercent(GpuEngineRows({L"40", L"12", L"7"})), 40);
    EXPECT_EQ(HighestGpuEnginePercent(GpuEngineRows({L"7", L"12", L"40"})), 40);
    EXPECT_EQ(HighestGpuEnginePercent(GpuEngineRows({L"0"})), 0);
}

TEST(HighestGpuEnginePercent, ClampsAndSkipsUnreadableRows) {
    EXPECT_EQ(HighestGpuEnginePercent(GpuEngineRows({L"12", L"150", L"-3", L"abc", L""})), 100);
    EXPECT_EQ(HighestGpuEnginePercent(GpuEngineRows({L"-3", L"abc"})), 0);
    EXPECT_EQ(HighestGpuEnginePercent(GpuEngineRows({L"abc", L"", L"2147483648"})), -1);
}

TEST(HighestGpuEnginePercent, NoRowsOrNoValuesGiveNothing) {
    EXPECT_EQ(HighestGpuEnginePercent({}), -1);
    EXPECT_EQ(HighestGpuEnginePercent({WmiRow{}, WmiRow{{L"Name", L"engtype_3D"}}}), -1);
}
