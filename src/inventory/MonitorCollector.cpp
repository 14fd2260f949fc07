#include "inventory/MonitorCollector.h"
#include "wmi/ComApartment.h"

#include "wmi/WmiSession.h"

#include <algorithm>
#include <string>
#include <vector>

#include <objbase.h>

namespace {

// The sizes Windows checks in the request header; MinGW's and the SDK's layouts agree.
static_assert(sizeof(DISPLAYCONFIG_TARGET_DEVICE_NAME) == 420);
static_assert(sizeof(DISPLAYCONFIG_SOURCE_DEVICE_NAME) == 84);

constexpr FieldLiteral kDesktopMonitorFields[] = {
    {L"Hersteller", L"MonitorManufacturer"},
    {L"Monitortyp", L"MonitorType"},
    {L"PnP-Geräte-ID", L"PNPDeviceID"},
    {L"Breite (Pixel)", L"ScreenWidth"},
    {L"Höhe (Pixel)", L"ScreenHeight"},
    {L"Logische DPI X", L"PixelsPerXLogicalInch"},
    {L"Logische DPI Y", L"PixelsPerYLogicalInch"},
    {L"Status", L"Status"},
};

constexpr QueryLiteral kDesktopMonitorQuery{L"SELECT * FROM Win32_DesktopMonitor", kMonitorCategory, L"Name",
                                            kDesktopMonitorFields};

const std::vector<std::wstring> kMonitorIdProperties = {
    L"InstanceName",    L"ManufacturerName",  L"ProductCodeID",     L"SerialNumberID",
    L"UserFriendlyName", L"WeekOfManufacture", L"YearOfManufacture", L"Active",
};

const std::vector<std::wstring> kDisplayParamsProperties = {
    L"InstanceName", L"MaxHorizontalImageSize", L"MaxVerticalImageSize", L"VideoInputType"};

// The platform's fixed-size name arrays need not end in NUL; nothing is read past them.
template <size_t Size>
std::wstring BoundedText(const WCHAR (&chars)[Size]) {
    return std::wstring(chars, std::find(chars, chars + Size, L'\0'));
}

std::vector<DisplayPathInfo> ReadActiveDisplayPaths() {
    UINT32 pathCount = 0;
    UINT32 modeCount = 0;
    if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS) {
        return {};
    }
    std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
    std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
    if (QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount, modes.data(), nullptr) !=
        ERROR_SUCCESS) {
        return {};
    }
    paths.resize(std::min<size_t>(pathCount, paths.size()));
    modes.resize(std::min<size_t>(modeCount, modes.size()));

    std::vector<DisplayPathInfo> described;
    described.reserve(paths.size());
    for (const DISPLAYCONFIG_PATH_INFO& path : paths) {
        DISPLAYCONFIG_TARGET_DEVICE_NAME target{};
        target.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME;
        target.header.size = sizeof(target);
        target.header.adapterId = path.targetInfo.adapterId;
        target.header.id = path.targetInfo.id;
        if (DisplayConfigGetDeviceInfo(&target.header) != ERROR_SUCCESS) {
            continue;
        }
        DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
        source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
        source.header.size = sizeof(source);
        source.header.adapterId = path.sourceInfo.adapterId;
        source.header.id = path.sourceInfo.id;
        if (DisplayConfigGetDeviceInfo(&source.header) != ERROR_SUCCESS) {
            // Whatever a failed call left behind is no name.
            std::fill(std::begin(source.viewGdiDeviceName), std::end(source.viewGdiDeviceName), L'\0');
        }
        described.push_back(DescribeDisplayPath(path, modes, target, source));
    }
    return described;
}

void AddEdidData(HardwareReport& report) {
    // Declared first, so the session is released before COM is uninitialised.
    const ComApartment com;
    WmiSession monitorWmi(L"ROOT\\WMI");
    if (!monitorWmi.IsConnected()) {
        return;
    }
    const std::vector<WmiRow> ids = monitorWmi.Query(L"SELECT * FROM WmiMonitorID", kMonitorIdProperties);
    const std::vector<WmiRow> params =
        monitorWmi.Query(L"SELECT * FROM WmiMonitorBasicDisplayParams", kDisplayParamsProperties);
    AddEdidRows(FindOrAddCategory(report.categories, kMonitorCategory), ids, params);
}

} // namespace

DisplayPathInfo DescribeDisplayPath(const DISPLAYCONFIG_PATH_INFO& path, std::span<const DISPLAYCONFIG_MODE_INFO> modes,
                                    const DISPLAYCONFIG_TARGET_DEVICE_NAME& target,
                                    const DISPLAYCONFIG_SOURCE_DEVICE_NAME& source) {
    DisplayPathInfo info;
    info.friendlyName = BoundedText(target.monitorFriendlyDeviceName);
    info.devicePath = BoundedText(target.monitorDevicePath);
    info.gdiDeviceName = BoundedText(source.viewGdiDeviceName);
    info.friendlyNameFromEdid = target.flags.friendlyNameFromEdid != 0;
    info.outputTechnology = static_cast<uint32_t>(path.targetInfo.outputTechnology);
    info.refreshNumerator = path.targetInfo.refreshRate.Numerator;
    info.refreshDenominator = path.targetInfo.refreshRate.Denominator;
    // The "invalid index" value and any index past the list name no mode.
    const UINT32 modeIndex = path.sourceInfo.modeInfoIdx;
    if (modeIndex < modes.size() && modes[modeIndex].infoType == DISPLAYCONFIG_MODE_INFO_TYPE_SOURCE) {
        const DISPLAYCONFIG_SOURCE_MODE& mode = modes[modeIndex].sourceMode;
        info.hasSourceMode = true;
        info.width = mode.width;
        info.height = mode.height;
        info.pixelFormat = static_cast<int32_t>(mode.pixelFormat);
    }
    return info;
}

void CollectMonitors(HardwareReport& report) {
    ReportCategory& monitors = FindOrAddCategory(report.categories, kMonitorCategory);
    for (const DisplayPathInfo& path : ReadActiveDisplayPaths()) {
        monitors.records.push_back(BuildDisplayPathRecord(path));
    }
    AddEdidData(report);
}

void CollectMonitorCategory(ScanContext& scan) {
    RunQueryLiteral(scan.report, scan.wmi, kDesktopMonitorQuery);
    AddHardwareIdsFromPnpIds(FindOrAddCategory(scan.report.categories, kMonitorCategory));
    CollectMonitors(scan.report);
}
