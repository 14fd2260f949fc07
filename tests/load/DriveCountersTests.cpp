#include "load/DriveCounters.h"

#include "load/LiveLoad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

namespace {

DISK_PERFORMANCE DiskCounters(uint64_t queryTime, uint64_t idleTime) {
    DISK_PERFORMANCE performance{};
    performance.QueryTime.QuadPart = static_cast<LONGLONG>(queryTime);
    performance.IdleTime.QuadPart = static_cast<LONGLONG>(idleTime);
    return performance;
}

bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != 0;
}

// Drives made of event handles: real handles whose closing the tests can observe, answering
// with scripted counters. std::nullopt is a failed read.
class FakeDrives {
public:
    void Add(int number, std::optional<DISK_PERFORMANCE> first, std::optional<DISK_PERFORMANCE> second) {
        scripts[number] = {first, second};
    }

    DriveOpener Opener() {
        return [this](int number) {
            openedNumbers.push_back(number);
            if (scripts.count(number) == 0) {
                return INVALID_HANDLE_VALUE;
            }
            HANDLE handle = CreateEventW(nullptr, TRUE, FALSE, nullptr);
            handles[number] = handle;
            numberOf[handle] = number;
            return handle;
        };
    }

    DiskPerformanceReader Reader() {
        return [this](HANDLE handle, DISK_PERFORMANCE& performance) {
            const int number = numberOf.at(handle);
            const int read = reads[number]++;
            const std::optional<DISK_PERFORMANCE>& answer = read == 0 ? scripts[number].first : scripts[number].second;
            if (read > 1 || !answer) {
                return false;
            }
            performance = *answer;
            return true;
        };
    }

    struct Script {
        std::optional<DISK_PERFORMANCE> first;
        std::optional<DISK_PERFORMANCE> second;
    };
    std::map<int, Script> scripts;
    std::vector<int> openedNumbers;
    std::map<int, HANDLE> handles;
    std::map<HANDLE, int> numberOf;
    std::map<int, int> reads;
};

// The control call's side of IOCTL_DISK_PERFORMANCE, answering with a chosen byte count.
struct ControlAnswer {
    BOOL succeeded;
    DWORD bytes;
    DWORD code;
    DWORD inputSize;
    DWORD outputSize;
};
ControlAnswer controlAnswer{};

BOOL WINAPI FakeControl(HANDLE, DWORD code, LPVOID input, DWORD inputSize, LPVOID output, DWORD outputSize,
                        LPDWORD returned, LPOVERLAPPED overlapped) {
    controlAnswer.code = code;
    controlAnswer.inputSize = input == nullptr ? inputSize : 0xFFFFFFFFu;
    controlAnswer.outputSize = overlapped == nullptr ? outputSize : 0;
    const DISK_PERFORMANCE answer = DiskCounters(1234, 567);
    std::memcpy(output, &answer, std::min<DWORD>(controlAnswer.bytes, outputSize));
    *returned = controlAnswer.bytes;
    return controlAnswer.succeeded;
}

}  // namespace

TEST(ReadDiskPerformance, AsksForTheDiskCountersWithoutInput) {
    controlAnswer = {TRUE, 88, 0, 0, 0};
    DISK_PERFORMANCE performance{};
    EXPECT_TRUE(ReadDiskPerformance(nullptr, performance, FakeControl));
    EXPECT_EQ(controlAnswer.code, 0x70020u);
    EXPECT_EQ(controlAnswer.inputSize, 0u);
    EXPECT_EQ(controlAnswer.outputSize, 88u);
    EXPECT_EQ(performance.QueryTime.QuadPart, 1234);
    EXPECT_EQ(performance.IdleTime.QuadPart, 567);
}

TEST(ReadDiskPerformance, ShortOrFailedAnswersCountAsFailure) {
    DISK_PERFORMANCE performance{};
    controlAnswer = {TRUE, 87, 0, 0, 0};
    EXPECT_FALSE(ReadDiskPerformance(nullptr, performance, FakeControl));
    controlAnswer = {TRUE, 0, 0, 0, 0};
    EXPECT_FALSE(ReadDiskPerformance(nullptr, performance, FakeControl));
    controlAnswer = {FALSE, 88, 0, 0, 0};
    EXPECT_FALSE(ReadDiskPerformance(nullptr, performance, FakeControl));
}

TEST(QueryDiskPerformance, FailsOnHandlesThatAreNoDrives) {
    DISK_PERFORMANCE performance{};
    EXPECT_FALSE(QueryDiskPerformance(INVALID_HANDLE_VALUE, performance));
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_FALSE(QueryDiskPerformance(event, performance));
    CloseHandle(event);
}

TEST(TakeFirstDriveSamples, TriesDriveNumbersZeroToThirtyOneAndSkipsGaps) {
    FakeDrives fake;
    fake.Add(0, DiskCounters(0, 0), DiskCounters(10, 5));
    fake.Add(3, DiskCounters(0, 0), DiskCounters(10, 5));
    fake.Add(31, DiskCounters(0, 0), DiskCounters(10, 5));
    const std::vector<DriveCounterSample> drives = TakeFirstDriveSamples(fake.Opener(), fake.Reader());

    std::vector<int> allNumbers;
    for (int number = 0; number < 32; ++number) {
        allNumbers.push_back(number);
    }
    EXPECT_EQ(fake.openedNumbers, allNumbers);
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].handle.Get(), fake.handles[0]);
    EXPECT_EQ(drives[1].handle.Get(), fake.handles[3]);
    EXPECT_EQ(drives[2].handle.Get(), fake.handles[31]);
    EXPECT_TRUE(drives[1].valid);
}

TEST(TakeFirstDriveSamples, KeepsADriveWhoseFirstReadFailed) {
    FakeDrives fake;
    fake.Add(0, std::nullopt, DiskCounters(10, 5));
    std::vector<DriveCounterSample> drives = TakeFirstDriveSamples(fake.Opener(), fake.Reader());
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_FALSE(drives[0].valid);
    EXPECT_TRUE(IsOpen(fake.handles[0]));

    // Not read again: its second answer would otherwise give 50.
    EXPECT_EQ(TakeSecondDriveSamples(drives, fake.Reader()), -1);
    EXPECT_EQ(fake.reads[0], 1);
    EXPECT_FALSE(IsOpen(fake.handles[0]));
}

TEST(TakeSecondDriveSamples, TheBusiestDriveWins) {
    FakeDrives fake;
    fake.Add(0, DiskCounters(1000, 0), DiskCounters(2000, 800));  // 20
    fake.Add(1, DiskCounters(1000, 0), DiskCounters(2000, 300));  // 70
    fake.Add(2, DiskCounters(1000, 0), DiskCounters(1000, 0));    // no time passed
    std::vector<DriveCounterSample> drives = TakeFirstDriveSamples(fake.Opener(), fake.Reader());
    EXPECT_EQ(TakeSecondDriveSamples(drives, fake.Reader()), 70);
}

TEST(TakeSecondDriveSamples, AFailedSecondReadContributesNothing) {
    FakeDrives fake;
    fake.Add(0, DiskCounters(1000, 0), std::nullopt);
    fake.Add(1, DiskCounters(1000, 0), DiskCounters(2000, 800));
    std::vector<DriveCounterSample> drives = TakeFirstDriveSamples(fake.Opener(), fake.Reader());
    EXPECT_EQ(TakeSecondDriveSamples(drives, fake.Reader()), 20);

    FakeDrives alone;
    alone.Add(5, DiskCounters(1000, 0), std::nullopt);
    std::vector<DriveCounterSample> lone = TakeFirstDriveSamples(alone.Opener(), alone.Reader());
    EXPECT_EQ(TakeSecondDriveSamples(lone, alone.Reader()), -1);
}

TEST(TakeSecondDriveSamples, ClosesEveryHandleWhateverTheDriveAnswered) {
    FakeDrives fake;
    fake.Add(0, DiskCounters(1000, 0), DiskCounters(2000, 300));
    fake.Add(1, std::nullopt, std::nullopt);
    fake.Add(2, DiskCounters(1000, 0), std::nullopt);
    fake.Add(3, DiskCounters(1000, 0), DiskCounters(900, 0));
    std::vector<DriveCounterSample> drives = TakeFirstDriveSamples(fake.Opener(), fake.Reader());
    ASSERT_EQ(drives.size(), 4u);
    for (const auto& [number, handle] : fake.handles) {
        EXPECT_TRUE(IsOpen(handle)) << number;
    }
    TakeSecondDriveSamples(drives, fake.Reader());
    for (const auto& [number, handle] : fake.handles) {
        EXPECT_FALSE(IsOpen(handle)) << number;
    }
}

TEST(DriveCounterSample, DroppedSamplesCloseTheirHandles) {
    FakeDrives fake;
    fake.Add(0, DiskCounters(1000, 0), DiskCounters(2000, 300));
    fake.Add(1, std::nullopt, std::nullopt);
    {
        std::vector<DriveCounterSample> drives = TakeFirstDriveSamples(fake.Opener(), fake.Reader());
        ASSERT_EQ(drives.size(), 2u);
    }
    EXPECT_FALSE(IsOpen(fake.handles[0]));
    EXPECT_FALSE(IsOpen(fake.handles[1]));
}

TEST(DriveHandle, HasExactlyOneOwner) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DriveHandle first(event);
    DriveHandle second(std::move(first));
    EXPECT_EQ(first.Get(), INVALID_HANDLE_VALUE);
    DriveHandle third;
    third = std::move(second);
    EXPECT_EQ(second.Get(), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(IsOpen(event));
    third.Close();
    EXPECT_FALSE(IsOpen(event));
    third.Close();  // a second close is harmless
}
