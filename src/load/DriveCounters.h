#pragma once

// The physical drives' own busy counters, read once before and once after the measuring wait.

#include <functional>
#include <utility>
#include <vector>

#include <windows.h>
#include <winioctl.h>

// The one owner of an open drive handle.
class DriveHandle {
public:
    DriveHandle() = default;
    explicit DriveHandle(HANDLE handle) : handle(handle) {}
    ~DriveHandle() { Close(); }
    DriveHandle(DriveHandle&& other) noexcept : handle(std::exchange(other.handle, INVALID_HANDLE_VALUE)) {}
    DriveHandle& operator=(DriveHandle&& other) noexcept;
    DriveHandle(const DriveHandle&) = delete;
    DriveHandle& operator=(const DriveHandle&) = delete;

    HANDLE Get() const { return handle; }
    void Close();

private:
    HANDLE handle = INVALID_HANDLE_VALUE;
};

struct DriveCounterSample {
    DriveHandle handle;
    DISK_PERFORMANCE first{};
    bool valid = false;  // first was read in full
};

// Gives the open drive of that number, or INVALID_HANDLE_VALUE when there is none.
using DriveOpener = std::function<HANDLE(int driveNumber)>;
using DiskPerformanceReader = std::function<bool(HANDLE drive, DISK_PERFORMANCE& performance)>;
using DiskControlCall = BOOL(WINAPI*)(HANDLE, DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);

// "\\.\PhysicalDrive<n>" without read or write access, which needs no administrator rights.
HANDLE OpenPhysicalDrive(int driveNumber);

// QueryDiskPerformance through the given control call; true only for a full-sized answer.
bool ReadDiskPerformance(HANDLE drive, DISK_PERFORMANCE& performance, DiskControlCall control);

// Opens drives 0 to 31 and reads each one's counters. A drive that opens but cannot be read
// is kept (invalid), so that its handle is closed with the others.
std::vector<DriveCounterSample> TakeFirstDriveSamples(const DriveOpener& open, const DiskPerformanceReader& read);

// Reads each valid drive again and closes every handle. The busiest drive's percentage, or -1.
int TakeSecondDriveSamples(std::vector<DriveCounterSample>& drives, const DiskPerformanceReader& read);
