// Whole scans against the platform's real WMI. Host data differs from machine to machine, so
// these tests check the report's structure and what Windows itself reports, not values.

#include "inventory/Inventory.h"
#include "inventory/ReportLookup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <objbase.h>
#include <windows.h>

namespace {

using ProgressStep = std::pair<std::wstring, int>;

struct ScanRun {
    HardwareReport report;
    std::vector<ProgressStep> progress;
    // What CoInitializeEx said on the scan's thread after the scan: S_OK when it left COM as it found it.
    HRESULT comAfterScan = E_FAIL;
};

const std::vector<std::wstring> kCategoryOrder = {
    L"Aktuelle Auslastung", L"System", L"Windows", L"Prozessor", L"Mainboard & BIOS", L"Chipsatz & Systemgeräte",
    L"Arbeitsspeicher", L"Laufwerke", L"Partitionen & Volumes", L"Optische Laufwerke", L"Grafik", L"Netzwerk",
    L"Audio & Headsets", L"Monitore", L"USB-Controller", L"Eingabegeräte", L"Biometrische Geräte",
    L"Kameras & Scanner", L"Drucker", L"Bluetooth", L"Weitere angeschlossene Geräte", L"Anschlüsse", L"Akku",
    L"Sensoren", L"Sicherheit & Firmware",
};

// Each scan gets a thread of its own that has never touched COM.
ScanRun ScanOnFreshThread(bool withProgress) {
    ScanRun run;
    std::thread worker([&run, withProgress] {
        ProgressCallback progress;
        if (withProgress) {
            progress = [&run](const std::wstring& message, int percent) { run.progress.emplace_back(message, percent); };
        }
        run.report = CollectHardwareInventory(progress);
        run.comAfterScan = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(run.comAfterScan)) {
            CoUninitialize();
        }
    });
    worker.join();
    return run;
}

const ScanRun& FirstScan() {
    static const ScanRun run = ScanOnFreshThread(true);
    return run;
}

bool HasField(const ReportRecord& record, const std::wstring& label) {
    return std::any_of(record.fields.begin(), record.fields.end(),
                       [&](const ReportField& field) { return field.first == label; });
}

// Category names, record titles and field labels: everything but the measured values.
std::vector<std::wstring> Shape(const HardwareReport& report) {
    std::vector<std::wstring> shape;
    for (const ReportCategory& category : report.categories) {
        shape.push_back(L"# " + category.name);
        for (const ReportRecord& record : category.records) {
            shape.push_back(L"> " + record.title);
            for (const ReportField& field : record.fields) {
                shape.push_back(field.first);
            }
        }
    }
    return shape;
}

} // namespace

TEST(CollectHardwareInventory, ReportsTheElevenProgressStepsInOrder) {
    const std::vector<ProgressStep> expected = {
        {L"Windows-Diagnoseschnittstellen werden initialisiert …", 2},
        {L"System, Windows und Gehäuse werden analysiert …", 8},
        {L"CPU und Cache werden detailliert ausgelesen …", 18},
        {L"Mainboard, Chipsatz und BIOS werden geprüft …", 30},
        {L"Physische Speichermodule werden analysiert …", 43},
        {L"SSD, NVMe, Festplatten und Volumes werden gelesen …", 56},
        {L"Grafikkarten und Videospeicher werden analysiert …", 69},
        {L"Netzwerk, Audio und Monitore werden geprüft …", 79},
        {L"Eingabe-, Kamera-, Druck-, Bluetooth- und USB-Geräte werden erfasst …", 89},
        {L"Zustände und aktuelle Auslastungen werden bewertet …", 96},
        {L"Analyse abgeschlossen.", 100},
    };
    EXPECT_EQ(FirstScan().progress, expected);
}

TEST(CollectHardwareInventory, PutsTheLoadCategoryFirstWithOneRecordOfFourFields) {
    const HardwareReport& report = FirstScan().report;
    ASSERT_FALSE(report.categories.empty());
    const ReportCategory& load = report.categories.front();
    EXPECT_EQ(load.name, L"Aktuelle Auslastung");
    ASSERT_EQ(load.records.size(), 1u);
    EXPECT_EQ(load.records[0].title, L"Livewerte – automatische Aktualisierung alle 5 Sekunden");
    ASSERT_EQ(load.records[0].fields.size(), 4u);
    // Processor and memory load are real on every platform this runs on.
    EXPECT_TRUE(std::regex_match(load.records[0].fields[0].second, std::wregex(LR"(\d{1,3} %)")));
    EXPECT_TRUE(std::regex_match(load.records[0].fields[1].second, std::wregex(LR"(\d{1,3} %)")));
    EXPECT_GE(report.load.cpuPercent, 0);
    EXPECT_EQ(load.records[0].fields[1].second, std::to_wstring(report.load.memoryPercent) + L" %");
}

TEST(CollectHardwareInventory, KeepsTheFixedCategoryOrderWithoutEmptyCategories) {
    const HardwareReport& report = FirstScan().report;
    auto expected = kCategoryOrder.begin();
    for (const ReportCategory& category : report.categories) {
        expected = std::find(expected, kCategoryOrder.end(), category.name);
        ASSERT_NE(expected, kCategoryOrder.end()) << "out of order or unknown: " << testing::PrintToString(category.name);
        ++expected;
        EXPECT_FALSE(category.records.empty()) << testing::PrintToString(category.name);
    }
    for (const wchar_t* name : {L"System", L"Windows", L"Prozessor", L"Mainboard & BIOS"}) {
        EXPECT_NE(FindCategory(report, name), nullptr) << testing::PrintToString(std::wstring(name));
    }
}

TEST(CollectHardwareInventory, PutsTheSlotOverviewFirstInTheMemoryCategory) {
    const ReportCategory* memory = FindCategory(FirstScan().report, L"Arbeitsspeicher");
    ASSERT_NE(memory, nullptr);
    ASSERT_GE(memory->records.size(), 2u);
    EXPECT_EQ(memory->records[0].title, L"RAM-Steckplatzübersicht");
    // The platform here reports no firmware slots, so the modules come from WMI alone.
    EXPECT_EQ(GetFieldValue(memory->records[0], L"Erkennungsquelle"), L"WMI Win32_PhysicalMemoryArray");
    EXPECT_EQ(GetFieldValue(memory->records[0], L"Steckplätze belegt"), std::to_wstring(memory->records.size() - 1));
}

TEST(CollectHardwareInventory, StampsCreatedDayFirst) {
    EXPECT_TRUE(std::regex_match(FirstScan().report.created,
                                 std::wregex(LR"([0-3]\d\.[01]\d\.\d{4} [0-2]\d:[0-5]\d:[0-5]\d)")));
}

TEST(CollectHardwareInventory, SystemRecordCountsTheProcessorsWindowsReports) {
    const ReportCategory* system = FindCategory(FirstScan().report, L"System");
    ASSERT_NE(system, nullptr);
    SYSTEM_INFO info{};
    GetNativeSystemInfo(&info);
    const ReportRecord& computer = system->records.front();
    EXPECT_EQ(GetFieldValue(computer, L"Logische Prozessoren"), std::to_wstring(info.dwNumberOfProcessors));
    EXPECT_TRUE(std::regex_match(GetFieldValue(computer, L"Installierter Arbeitsspeicher"),
                                 std::wregex(LR"(\d+\.\d\d [KMGTP]iB \(\d+ Byte\))")));
}

TEST(CollectHardwareInventory, GivesTheUptimeToTheFirstSystemRecordOnly) {
    const ReportCategory* system = FindCategory(FirstScan().report, L"System");
    ASSERT_NE(system, nullptr);
    ASSERT_GE(system->records.size(), 2u) << "computer system, product and enclosure rows";
    const ReportRecord& computer = system->records.front();
    ASSERT_FALSE(computer.fields.empty());
    EXPECT_EQ(computer.fields.back().first, L"Systemlaufzeit seit Start");
    EXPECT_TRUE(std::regex_match(computer.fields.back().second, std::wregex(LR"(\d+ Tage, \d\d:\d\d:\d\d)")));
    for (size_t i = 1; i < system->records.size(); ++i) {
        EXPECT_FALSE(HasField(system->records[i], L"Systemlaufzeit seit Start")) << i;
    }
}

TEST(CollectHardwareInventory, ConvertsWindowsDatesAndProcessorValues) {
    const HardwareReport& report = FirstScan().report;
    const std::wregex dayFirstDate(LR"(\d\d\.\d\d\.\d{4})");
    const ReportCategory* windows = FindCategory(report, L"Windows");
    ASSERT_NE(windows, nullptr);
    for (const wchar_t* label : {L"Installiert am", L"Letzter Systemstart"}) {
        const std::wstring value = GetFieldValue(windows->records.front(), label);
        EXPECT_TRUE(value == L"Nicht gemeldet" || std::regex_match(value, dayFirstDate)) << testing::PrintToString(value);
    }
    const ReportCategory* processor = FindCategory(report, L"Prozessor");
    ASSERT_NE(processor, nullptr);
    const ReportRecord& cpu = processor->records.front();
    EXPECT_EQ(GetFieldValue(cpu, L"Architektur"), L"x64");
    for (const wchar_t* label : {L"Aktueller Takt", L"Maximaler Takt", L"Externer Takt"}) {
        const std::wstring value = GetFieldValue(cpu, label);
        EXPECT_TRUE(value == L"Nicht gemeldet" || std::regex_match(value, std::wregex(LR"(\d+ MHz)")))
            << testing::PrintToString(value);
    }
}

TEST(CollectHardwareInventory, ListsTheDrivesAndReachesTheStorageNamespace) {
    const HardwareReport& report = FirstScan().report;
    const ReportCategory* drives = FindCategory(report, L"Laufwerke");
    ASSERT_NE(drives, nullptr);
    EXPECT_FALSE(drives->records.empty());
    for (const std::wstring& hint : report.hints) {
        EXPECT_EQ(hint.find(L"Storage"), std::wstring::npos) << testing::PrintToString(hint);
    }
}

TEST(CollectHardwareInventory, LeavesTheThreadsComStateAsItFoundIt) {
    EXPECT_EQ(FirstScan().comAfterScan, S_OK);
}

TEST(CollectHardwareInventory, AddsNoComHintsAndNoSecurityHintOnALaterScan) {
    FirstScan();
    const ScanRun second = ScanOnFreshThread(true);
    for (const ScanRun* run : {&FirstScan(), &second}) {
        for (const std::wstring& hint : run->report.hints) {
            EXPECT_EQ(hint.find(L"COM"), std::wstring::npos) << testing::PrintToString(hint);
        }
    }
}

TEST(CollectHardwareInventory, EmptyProgressCallbackGivesTheSameReport) {
    const ScanRun silent = ScanOnFreshThread(false);
    EXPECT_TRUE(silent.progress.empty());
    EXPECT_EQ(Shape(silent.report), Shape(FirstScan().report));
    EXPECT_EQ(silent.report.hints, FirstScan().report.hints);
}

TEST(CollectHardwareInventory, ScansFromASingleThreadedApartmentAndLeavesItThere) {
    HardwareReport report;
    HRESULT before = E_FAIL;
    HRESULT sameApartment = E_FAIL;
    HRESULT otherApartment = E_FAIL;
    std::thread worker([&] {
        before = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        report = CollectHardwareInventory({});
        sameApartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        otherApartment = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(sameApartment)) {
            CoUninitialize();
        }
        if (SUCCEEDED(before)) {
            CoUninitialize();
        }
    });
    worker.join();
    ASSERT_EQ(before, S_OK);
    EXPECT_EQ(sameApartment, S_FALSE) << "the thread must still be in its apartment";
    EXPECT_EQ(otherApartment, RPC_E_CHANGED_MODE);
    EXPECT_EQ(Shape(report), Shape(FirstScan().report));
}

TEST(CollectHardwareInventory, KeepsTheActiveDisplayPathAmongTheMonitors) {
    const ReportCategory* monitors = FindCategory(FirstScan().report, L"Monitore");
    ASSERT_NE(monitors, nullptr);
    const auto path = std::find_if(monitors->records.begin(), monitors->records.end(), [](const ReportRecord& record) {
        return HasField(record, L"Monitor-Gerätepfad");
    });
    ASSERT_NE(path, monitors->records.end());
    EXPECT_EQ(GetFieldValue(*path, L"Monitor-Hardwarekennung").rfind(L"DISPLAY\\", 0), 0u);
    EXPECT_TRUE(HasField(*path, L"Anschluss"));
}

TEST(CollectHardwareInventory, ExplainsMissingSensorsInTheirOwnCategory) {
    const ReportCategory* sensors = FindCategory(FirstScan().report, L"Sensoren");
    ASSERT_NE(sensors, nullptr);
    // No fan, probe, thermal zone or hardware-monitor tool is visible here.
    ASSERT_EQ(sensors->records.size(), 1u);
    EXPECT_EQ(sensors->records[0].title, L"Sensorverfügbarkeit");
    EXPECT_EQ(sensors->records[0].fields.size(), 2u);
}

TEST(CollectHardwareInventory, EndsWithTheFirmwareStatusAndNoSilentSourceHints) {
    const HardwareReport& report = FirstScan().report;
    ASSERT_FALSE(report.categories.empty());
    const ReportCategory& security = report.categories.back();
    EXPECT_EQ(security.name, L"Sicherheit & Firmware");
    ASSERT_FALSE(security.records.empty());
    const ReportRecord& firmware = security.records.front();
    EXPECT_EQ(firmware.title, L"Start- und Firmwarestatus");
    ASSERT_EQ(firmware.fields.size(), 3u);
    EXPECT_EQ(firmware.fields[2], (ReportField{L"Diagnoseprozess", L"Nativer 64-Bit-Prozess"}));
    for (const std::wstring& hint : report.hints) {
        for (const wchar_t* source : {L"Win32_Fan", L"Win32_TemperatureProbe", L"MSAcpi", L"Sensor ", L"Win32_Tpm",
                                      L"SECURITYDEVICES"}) {
            EXPECT_EQ(hint.find(source), std::wstring::npos) << testing::PrintToString(hint);
        }
    }
}

TEST(CollectHardwareInventory, ListsVolumesGraphicsAndAudioWithTheAdaptersFromDxgi) {
    const HardwareReport& report = FirstScan().report;
    for (const wchar_t* name : {L"Partitionen & Volumes", L"Grafik", L"Audio & Headsets"}) {
        EXPECT_NE(FindCategory(report, name), nullptr) << testing::PrintToString(std::wstring(name));
    }
    const ReportCategory* graphics = FindCategory(report, L"Grafik");
    ASSERT_NE(graphics, nullptr);
    const bool dxgiListed = std::any_of(graphics->records.begin(), graphics->records.end(),
                                        [](const ReportRecord& record) { return HasField(record, L"DXGI-Hardware-IDs"); });
    const bool dxgiHint = std::count(report.hints.begin(), report.hints.end(),
                                     L"DXGI-Adapterinformationen konnten nicht geladen werden.") == 1;
    EXPECT_NE(dxgiListed, dxgiHint);
}

// Where the platform rejects the device-class queries, each leaves its own hint, in scan order.
TEST(CollectHardwareInventory, ReportsEachRejectedDeviceClassQueryOnceInScanOrder) {
    const std::vector<std::wstring> firstClassOfEachQuery = {
        L"C166523C-FE0C-4A94-A586-F1A80CFBBF3E", L"4D36E96B-E325-11CE-BFC1-08002BE10318",
        L"53D29EF7-377C-4D14-864B-EB3A85769359", L"CA3E7AB9-B4C3-4AE6-8251-579EF933890F",
        L"4D36E979-E325-11CE-BFC1-08002BE10318", L"E0CBF06C-CD8B-4647-BB8A-263B43F0F974",
        L"50DD5230-BA8A-11D1-BF5D-0000F805F530",
    };
    const std::wstring queryStart = L" | SELECT * FROM Win32_PnPEntity WHERE Present=True AND (ClassGuid='{";
    std::vector<std::wstring> rejected;
    for (const std::wstring& hint : FirstScan().report.hints) {
        const size_t at = hint.find(queryStart);
        if (at != std::wstring::npos) {
            rejected.push_back(hint.substr(at + queryStart.size(), 36));
        }
    }
    if (!rejected.empty()) {
        EXPECT_EQ(rejected, firstClassOfEachQuery);
    }
}
