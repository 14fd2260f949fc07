// The monitor collector against the platform: the real display configuration and WMI, and the
// reading of display-configuration structures built here.

#include "inventory/MonitorCollector.h"
#include "inventory/ReportLookup.h"

#include "wmi/ComApartment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

struct PathFixture {
    DISPLAYCONFIG_PATH_INFO path{};
    std::vector<DISPLAYCONFIG_MODE_INFO> modes;
    DISPLAYCONFIG_TARGET_DEVICE_NAME target{};
    DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};

    PathFixture() {
        DISPLAYCONFIG_MODE_INFO targetMode{};
        targetMode.infoType = DISPLAYCONFIG_MODE_INFO_TYPE_TARGET;
        DISPLAYCONFIG_MODE_INFO sourceMode{};
        sourceMode.infoType = DISPLAYCONFIG_MODE_INFO_TYPE_SOURCE;
        sourceMode.sourceMode.width = 2560;
        sourceMode.sourceMode.height = 1440;
        sourceMode.sourceMode.pixelFormat = DISPLAYCONFIG_PIXELFORMAT_32BPP;
        modes = {targetMode, sourceMode};
        path.sourceInfo.modeInfoIdx = 1;
        path.targetInfo.outputTechnology = DISPLAYCONFIG_OUTPUT_TECHNOLOGY_HDMI;
        path.targetInfo.refreshRate = {143981, 1000};
        std::wstring(L"\\\\?\\DISPLAY#DEL4321#5&1a2b3c&0&UID4353#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}")
            .copy(target.monitorDevicePath, std::size(target.monitorDevicePath) - 1);
        std::wstring(L"DELL U2720Q").copy(target.monitorFriendlyDeviceName, 63);
        std::wstring(L"\\\\.\\DISPLAY2").copy(source.viewGdiDeviceName, 31);
        target.flags.friendlyNameFromEdid = 1;
    }

    DisplayPathInfo Describe() const { return DescribeDisplayPath(path, modes, target, source); }
};

// CollectMonitors on a thread of its own, in the apartment the caller chooses (or none).
struct ThreadRun {
    HardwareReport report;
    HRESULT before = E_FAIL;
    HRESULT afterSameApartment = E_FAIL;
    HRESULT afterOtherApartment = E_FAIL;
};

ThreadRun CollectOnThread(bool initialise, DWORD apartment) {
    ThreadRun run;
    std::thread worker([&run, initialise, apartment] {
        if (initialise) {
            run.before = CoInitializeEx(nullptr, apartment);
        }
        CollectMonitors(run.report);
        const DWORD other = apartment == COINIT_MULTITHREADED ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED;
        run.afterSameApartment = CoInitializeEx(nullptr, apartment);
        if (SUCCEEDED(run.afterSameApartment)) {
            CoUninitialize();
        }
        run.afterOtherApartment = CoInitializeEx(nullptr, other);
        if (SUCCEEDED(run.afterOtherApartment)) {
            CoUninitialize();
        }
        if (initialise && SUCCEEDED(run.before)) {
            CoUninitialize();
        }
    });
    worker.join();
    return run;
}

} // namespace

TEST(DescribeDisplayPath, ReadsNamesFlagsRefreshAndTheSourceMode) {
    const PathFixture fixture;
    const DisplayPathInfo info = fixture.Describe();
    EXPECT_EQ(info.friendlyName, L"DELL U2720Q");
    EXPECT_EQ(info.devicePath, L"\\\\?\\DISPLAY#DEL4321#5&1a2b3c&0&UID4353#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}");
    EXPECT_EQ(info.gdiDeviceName, L"\\\\.\\DISPLAY2");
    EXPECT_TRUE(info.friendlyNameFromEdid);
    EXPECT_EQ(info.outputTechnology, 5u);
    EXPECT_EQ(info.refreshNumerator, 143981u);
    EXPECT_EQ(info.refreshDenominator, 1000u);
    ASSERT_TRUE(info.hasSourceMode);
    EXPECT_EQ(info.width, 2560u);
    EXPECT_EQ(info.height, 1440u);
    EXPECT_EQ(info.pixelFormat, 4);
}

TEST(DescribeDisplayPath, TakesNoModeFromAnIndexOutsideTheListOrFromATargetMode) {
    PathFixture fixture;
    for (const UINT32 index : {UINT32{2}, UINT32{DISPLAYCONFIG_PATH_MODE_IDX_INVALID}, UINT32{0}}) {
        fixture.path.sourceInfo.modeInfoIdx = index;
        EXPECT_FALSE(fixture.Describe().hasSourceMode) << index;
    }
    fixture.path.sourceInfo.modeInfoIdx = 1;
    EXPECT_FALSE(DescribeDisplayPath(fixture.path, {}, fixture.target, fixture.source).hasSourceMode);
}

TEST(DescribeDisplayPath, StopsNamesThatFillTheirWholeArrayAtTheArrayEnd) {
    PathFixture fixture;
    std::fill(std::begin(fixture.target.monitorFriendlyDeviceName), std::end(fixture.target.monitorFriendlyDeviceName),
              L'M');
    std::fill(std::begin(fixture.target.monitorDevicePath), std::end(fixture.target.monitorDevicePath), L'P');
    std::fill(std::begin(fixture.source.viewGdiDeviceName), std::end(fixture.source.viewGdiDeviceName), L'G');
    const DisplayPathInfo info = fixture.Describe();
    EXPECT_EQ(info.friendlyName, std::wstring(64, L'M'));
    EXPECT_EQ(info.devicePath, std::wstring(128, L'P'));
    EXPECT_EQ(info.gdiDeviceName, std::wstring(32, L'G'));
}

TEST(DescribeDisplayPath, KeepsTheEdidFlagApartFromTheName) {
    PathFixture fixture;
    fixture.target.monitorFriendlyDeviceName[0] = L'\0';
    fixture.target.flags.value = 0;
    fixture.target.flags.friendlyNameForced = 1;
    const ReportRecord record = BuildDisplayPathRecord(fixture.Describe());
    EXPECT_EQ(record.title, L"Aktiver Monitor");
    EXPECT_EQ(GetFieldValue(record, L"EDID-Name verfügbar"), L"Nein");
    EXPECT_EQ(GetFieldValue(record, L"Aktuelle Bildwiederholfrequenz"), L"143.981 Hz");
}

TEST(CollectMonitors, AddsOneRecordPerActivePathWithItsHardwareIdAndResolution) {
    const ComApartment com;
    HardwareReport report;
    CollectMonitors(report);
    ASSERT_EQ(report.categories.size(), 1u);
    const ReportCategory& monitors = report.categories.front();
    EXPECT_EQ(monitors.name, L"Monitore");
    ASSERT_FALSE(monitors.records.empty()) << "every desktop has an active display path";
    EXPECT_TRUE(report.hints.empty());

    const ReportRecord& first = monitors.records.front();
    const std::wstring devicePath = GetFieldValue(first, L"Monitor-Gerätepfad");
    EXPECT_EQ(devicePath.rfind(L"\\\\?\\DISPLAY#", 0), 0u) << testing::PrintToString(devicePath);
    EXPECT_EQ(GetFieldValue(first, L"Monitor-Hardwarekennung"), MonitorHardwareId(devicePath));
    EXPECT_FALSE(GetFieldValue(first, L"Monitor-Hardwarekennung").empty());
    EXPECT_FALSE(GetFieldValue(first, L"Anschluss").empty());
    const std::wstring edidName = GetFieldValue(first, L"EDID-Name verfügbar");
    EXPECT_TRUE(edidName == L"Ja" || edidName == L"Nein");
    // The one path of a single-screen desktop shows the primary screen.
    if (monitors.records.size() == 1) {
        const std::wstring screen = std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L" × " +
                                    std::to_wstring(GetSystemMetrics(SM_CYSCREEN)) + L" Pixel";
        EXPECT_EQ(GetFieldValue(first, L"Aktive Auflösung"), screen);
        EXPECT_EQ(GetFieldValue(first, L"Windows-Anzeigename").rfind(L"\\\\.\\DISPLAY", 0), 0u);
    }
}

TEST(CollectMonitors, AppendsToAnExistingCategoryAndLeavesOtherCategoriesAlone) {
    const ComApartment com;
    HardwareReport report;
    report.categories.push_back({L"Audio & Headsets", {{L"Lautsprecher", {{L"Status", L"OK"}}}}});
    report.categories.push_back({L"Monitore", {{L"Generic Non-PnP Monitor", {{L"Status", L"OK"}}}}});
    CollectMonitors(report);
    ASSERT_EQ(report.categories.size(), 2u);
    EXPECT_EQ(report.categories[0].records.size(), 1u);
    const ReportCategory& monitors = report.categories[1];
    ASSERT_GE(monitors.records.size(), 2u);
    EXPECT_EQ(monitors.records[0].title, L"Generic Non-PnP Monitor");
    EXPECT_EQ(LabelsOf(monitors.records[0]), std::vector<std::wstring>{L"Status"});
}

TEST(CollectMonitors, BalancesItsComInitialisationInTheMultithreadedApartment) {
    const ThreadRun fresh = CollectOnThread(false, COINIT_MULTITHREADED);
    EXPECT_EQ(fresh.afterSameApartment, S_OK) << "COM must be left uninitialised as found";

    const ThreadRun initialised = CollectOnThread(true, COINIT_MULTITHREADED);
    ASSERT_EQ(initialised.before, S_OK);
    EXPECT_EQ(initialised.afterSameApartment, S_FALSE) << "the caller's initialisation must survive";
    EXPECT_EQ(initialised.afterOtherApartment, RPC_E_CHANGED_MODE);
    EXPECT_EQ(LabelsOf(initialised.report.categories.at(0).records.at(0)),
              LabelsOf(fresh.report.categories.at(0).records.at(0)));
}

TEST(CollectMonitors, LeavesASingleThreadedApartmentInitialisedAndStillReadsThePaths) {
    const ThreadRun run = CollectOnThread(true, COINIT_APARTMENTTHREADED);
    ASSERT_EQ(run.before, S_OK);
    // Had the collector uninitialised COM after its own call failed, the apartment would be gone.
    EXPECT_EQ(run.afterSameApartment, S_FALSE);
    EXPECT_EQ(run.afterOtherApartment, RPC_E_CHANGED_MODE);
    ASSERT_EQ(run.report.categories.size(), 1u);
    EXPECT_FALSE(run.report.categories[0].records.empty());
}

TEST(CollectMonitorCategory, PutsTheDesktopMonitorRowsFirstWithTheirTableThenThePaths) {
    const ComApartment com;
    WmiSession wmi(L"ROOT\\CIMV2");
    ASSERT_TRUE(wmi.IsConnected());
    HardwareReport report;
    ScanContext scan{report, wmi};
    CollectMonitorCategory(scan);
    EXPECT_TRUE(report.hints.empty());
    const ReportCategory* monitors = FindCategory(report, L"Monitore");
    ASSERT_NE(monitors, nullptr);
    ASSERT_EQ(report.categories.size(), 1u);

    const std::vector<std::wstring> tableLabels = {
        L"Hersteller",     L"Monitortyp",     L"PnP-Geräte-ID", L"Breite (Pixel)",
        L"Höhe (Pixel)",   L"Logische DPI X", L"Logische DPI Y", L"Status",
    };
    size_t desktopRows = 0;
    while (desktopRows < monitors->records.size() &&
           GetFieldValue(monitors->records[desktopRows], L"Monitor-Gerätepfad").empty()) {
        const ReportRecord& record = monitors->records[desktopRows];
        std::vector<std::wstring> labels = LabelsOf(record);
        const std::wstring hardwareId = MonitorHardwareId(GetFieldValue(record, L"PnP-Geräte-ID"));
        if (!hardwareId.empty()) {
            EXPECT_EQ(labels.back(), L"Monitor-Hardwarekennung");
            EXPECT_EQ(GetFieldValue(record, L"Monitor-Hardwarekennung"), hardwareId);
            labels.pop_back();
        }
        EXPECT_EQ(labels, tableLabels) << testing::PrintToString(record.title);
        ++desktopRows;
    }
    EXPECT_GE(desktopRows, 1u) << "Win32_DesktopMonitor has a row";
    EXPECT_LT(desktopRows, monitors->records.size()) << "the display paths follow the desktop-monitor rows";
}
