#include "load/DriveCounters.h"

#include "load/LiveLoad.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kDriveNumberCount = 32;

static_assert(sizeof(DISK_PERFORMANCE) == 88, "IOCTL_DISK_PERFORMANCE answers with 88 bytes");

}  // namespace

DriveHandle& DriveHandle::operator=(DriveHandle&& other) noexcept {
    if (this != &other) {
        Close();
        handle = std::exchange(other.handle, INVALID_HANDLE_VALUE);
    }
    return *this;
}

void DriveHandle::Close() {
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr) {
        CloseHandle(handle);
    }
    handle = INVALID_HANDLE_VALUE;
}

HANDLE OpenPhysicalDrive(int driveNumber) {
    const std::wstring path = L"\\\\.\\PhysicalDrive" + std::to_wstring(driveNumber);
    return CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool ReadDiskPerformance(HANDLE drive, DISK_PERFORMANCE& performance, DiskControlCall control) {
    DWORD returned = 0;
    const BOOL succeeded = control(drive, IOCTL_DISK_PERFORMANCE, nullptr, 0, &performance,
                                   sizeof(performance), &returned, nullptr);
    return succeeded && returned >= sizeof(performance);
}

bool QueryDiskPerformance(HANDLE drive, DISK_PERFORMANCE& performance) {
    return ReadDiskPerformance(drive, performance, DeviceIoControl);
}

std::vector<DriveCounterSample> TakeFirstDriveSamples(const DriveOpener& open, const DiskPerformanceReader& read) {
    std::vector<DriveCounterSample> drives;
    for (int driveNumber = 0; driveNumber < kDriveNumberCount; ++driveNumber) {
        DriveHandle handle(open(driveNumber));
        if (handle.Get() == INVALID_HANDLE_VALUE || handle.Get() == nullptr) {
            continue;
        }
        DriveCounterSample sample;
        sample.handle = std::move(handle);
        sample.valid = read(sample.handle.Get(), sample.first);
        drives.push_back(std::move(sample));
    }
    return drives;
}

int TakeSecondDriveSamples(std::vector<DriveCounterSample>& drives, const DiskPerformanceReader& read) {
    int highest = -1;
    for (DriveCounterSample& drive : drives) {
        DISK_PERFORMANCE second{};
        if (drive.valid && read(drive.handle.Get(), second)) {
            highest = std::max(highest, DiskBusyPercent(drive.first, second));
        }
        drive.handle.Close();
    }
    return highest;
}
