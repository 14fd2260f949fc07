#include "inventory/DeviceCategories.h"
#include "inventory/RecordedWmi.h"
#include "inventory/ReportLookup.h"

#include "wmi/ComApartment.h"
#include "wmi/WmiRecording.h"
#include "wmi/WmiSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace {

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

const std::wstring kPnpQueryStart = L"SELECT * FROM Win32_PnPEntity WHERE Present=True AND (";
const std::wstring kBluetoothClass = L"ClassGuid='{E0CBF06C-CD8B-4647-BB8A-263B43F0F974}'";

const std::vector<std::wstring> kPartitionLabels = {
    L"Datenträgerindex", L"Partitionsindex", L"Typ", L"Größe", L"Startoffset", L"Blockgröße", L"Startpartition",
    L"Primärpartition",
};
const std::vector<std::wstring> kVolumeLabels = {
    L"Volumename", L"Seriennummer", L"Dateisystem", L"Laufwerkstyp (Code)", L"Größe", L"Frei", L"Komprimiert",
    L"Datenträgerkontingente", L"Dateikomprimierung unterstützt",
};
const std::vector<std::wstring> kVideoControllerLabels = {
    L"Hersteller", L"PnP-Geräte-ID", L"Videoprozessor", L"WMI-Adapter-RAM", L"Treiberversion", L"Treiberdatum",
    L"INF-Datei", L"Installierte Treiber", L"Horizontale Auflösung", L"Vertikale Auflösung",
    L"Aktuelle Bildfrequenz", L"Farbtiefe", L"Videomodus", L"Status",
};
const std::vector<std::wstring> kDxgiLabels = {
    L"DXGI-Hardware-IDs", L"Dedizierter Videospeicher", L"Dedizierter Systemspeicher",
    L"Gemeinsam genutzter Systemspeicher", L"Adapter-LUID", L"Softwareadapter", L"GPU-/VRAM-Takt",
};
const std::vector<std::wstring> kSoundLabels = {
    L"Hersteller", L"Produkt", L"PnP-Geräte-ID", L"Status", L"Statusinfo (Code)",
};

// A byte size as FormatBytes writes it, or a value it leaves alone.
const std::wregex kByteSizeOrUntouched(LR"(\d+\.\d\d [KMGTP]iB \(\d+ Byte\)|\d+ Byte \(\d+ Byte\)|0|Nicht gemeldet)");

class DeviceCategoryScan : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(com.Result()));
        ASSERT_TRUE(wmi.IsConnected());
    }

    ComApartment com;
    WmiSession wmi{L"ROOT\\CIMV2"};
    HardwareReport report;
    ScanContext scan{report, wmi};
};

} // namespace

TEST(FormatVolumeSizes, FormatsSizeFreeAndOffsetOfEveryRecordOnly) {
    ReportCategory volumes{L"Partitionen & Volumes", {
        ReportRecord{L"Datenträger #0, Partition #0", {
            {L"Datenträgerindex", L"0"},
            {L"Größe", L"1048576"},
            {L"Startoffset", L"Nicht gemeldet"},
            {L"Blockgröße", L"512"},
        }},
        ReportRecord{L"C:", {
            {L"Seriennummer", L"3735928559"},
            {L"Laufwerkstyp (Code)", L"3"},
            {L"Größe", L"512105345024"},
            {L"Frei", L"0"},
        }},
    }};
    FormatVolumeSizes(volumes);
    const std::vector<ReportField> partition = {
        {L"Datenträgerindex", L"0"},
        {L"Größe", L"1.00 MiB (1048576 Byte)"},
        {L"Startoffset", L"Nicht gemeldet"},
        {L"Blockgröße", L"512"},
    };
    const std::vector<ReportField> volume = {
        {L"Seriennummer", L"3735928559"},
        {L"Laufwerkstyp (Code)", L"3"},
        {L"Größe", L"476.94 GiB (512105345024 Byte)"},
        {L"Frei", L"0"},
    };
    EXPECT_EQ(volumes.records[0].fields, partition);
    EXPECT_EQ(volumes.records[1].fields, volume);
}

TEST(FormatVolumeSizes, LeavesTextsThatAreNoSizeAsTheyAre) {
    ReportCategory volumes{L"Partitionen & Volumes", {
        ReportRecord{L"Z:", {{L"Größe", L"unbekannt"}, {L"Frei", L"Nicht gemeldet"}, {L"Startoffset", L"32256"}}},
    }};
    FormatVolumeSizes(volumes);
    EXPECT_EQ(volumes.records[0].fields, (std::vector<ReportField>{
        {L"Größe", L"unbekannt"}, {L"Frei", L"Nicht gemeldet"}, {L"Startoffset", L"31.50 KiB (32256 Byte)"}}));
}

TEST(PnpDevicesQuery, WrapsTheConditionWithoutAnythingBetweenThePieces) {
    EXPECT_EQ(PnpDevicesQuery(kBluetoothClass),
              L"SELECT * FROM Win32_PnPEntity WHERE Present=True AND (ClassGuid='{E0CBF06C-CD8B-4647-BB8A-263B43F0F974}')");
}

// Wine's Win32_PnPEntity lacks Present, so its WMI rejects every such query: the seam is the hint.
TEST_F(DeviceCategoryScan, PnpDevicesCreateTheCategoryAndReportTheQueryAsPassed) {
    report.categories.push_back(ReportCategory{L"Audio & Headsets", {ReportRecord{L"Wine Audio Device", {}}}});
    CollectPnpDevices(report, wmi, L"Bluetooth", kBluetoothClass);
    EXPECT_EQ(Names(report), (std::vector<std::wstring>{L"Audio & Headsets", L"Bluetooth"}));
    const ReportCategory* bluetooth = FindCategory(report, L"Bluetooth");
    ASSERT_NE(bluetooth, nullptr);
    for (const ReportRecord& record : bluetooth->records) {
        EXPECT_EQ(LabelsOf(record).size(), 12u);
    }
    if (bluetooth->records.empty()) {
        ASSERT_EQ(report.hints.size(), 1u);
        EXPECT_TRUE(EndsWith(report.hints[0], L" | " + PnpDevicesQuery(kBluetoothClass)))
            << testing::PrintToString(report.hints[0]);
    }
}

TEST_F(DeviceCategoryScan, VolumesGetTheirLabelsSizesAndNumberedTitles) {
    report.categories.push_back(ReportCategory{L"Partitionen & Volumes", {ReportRecord{L"Vorher", {}}}});
    CollectVolumesAndOpticalDrives(scan);
    EXPECT_EQ(Names(report), (std::vector<std::wstring>{L"Partitionen & Volumes", L"Optische Laufwerke"}));
    EXPECT_TRUE(report.hints.empty()) << testing::PrintToString(report.hints);

    const ReportCategory& volumes = report.categories[0];
    ASSERT_GE(volumes.records.size(), 2u);
    bool volumesStarted = false;
    for (size_t i = 1; i < volumes.records.size(); ++i) {
        const ReportRecord& record = volumes.records[i];
        const bool isVolume = LabelsOf(record) == kVolumeLabels;
        ASSERT_TRUE(isVolume || LabelsOf(record) == kPartitionLabels) << testing::PrintToString(record.title);
        EXPECT_FALSE(volumesStarted && !isVolume) << "partitions come before volumes";
        volumesStarted = volumesStarted || isVolume;
        if (isVolume) {
            EXPECT_TRUE(std::regex_match(record.title, std::wregex(L"[A-Z]:"))) << testing::PrintToString(record.title);
        } else if (record.title.rfind(L"Partitionen & Volumes ", 0) == 0) {
            EXPECT_EQ(record.title, L"Partitionen & Volumes " + std::to_wstring(i + 1)) << "numbered on";
        }
        for (const wchar_t* label : {L"Größe", L"Frei", L"Startoffset"}) {
            const std::wstring value = GetFieldValue(record, label);
            EXPECT_TRUE(value.empty() || std::regex_match(value, kByteSizeOrUntouched)) << testing::PrintToString(value);
        }
        for (const wchar_t* label : {L"Blockgröße", L"Datenträgerindex", L"Seriennummer"}) {
            EXPECT_EQ(GetFieldValue(record, label).find(L"Byte"), std::wstring::npos);
        }
    }
    EXPECT_TRUE(volumesStarted) << "Windows always has a volume";
}

TEST_F(DeviceCategoryScan, GraphicsHasTheWmiRecordsFirstThenTheDxgiAdapters) {
    CollectGraphics(scan);
    ASSERT_EQ(Names(report), std::vector<std::wstring>{L"Grafik"});
    const ReportCategory& graphics = report.categories[0];
    size_t wmiRecords = 0;
    while (wmiRecords < graphics.records.size() && LabelsOf(graphics.records[wmiRecords]) == kVideoControllerLabels) {
        const std::wstring ram = GetFieldValue(graphics.records[wmiRecords], L"WMI-Adapter-RAM");
        EXPECT_EQ(ram.find(L"iB"), std::wstring::npos) << "stays as WMI gives it: " << testing::PrintToString(ram);
        ++wmiRecords;
    }
    EXPECT_GE(wmiRecords, 1u);
    for (size_t i = wmiRecords; i < graphics.records.size(); ++i) {
        EXPECT_EQ(LabelsOf(graphics.records[i]), kDxgiLabels) << i;
    }
    const bool dxgiFailed = graphics.records.size() == wmiRecords;
    EXPECT_EQ(report.hints, dxgiFailed ? std::vector<std::wstring>{L"DXGI-Adapterinformationen konnten nicht geladen werden."}
                                       : std::vector<std::wstring>{});
}

TEST_F(DeviceCategoryScan, NetworkAndAudioKeepTheirOrderAndReportTheRejectedDeviceQuery) {
    CollectNetworkAndAudio(scan);
    EXPECT_EQ(Names(report), (std::vector<std::wstring>{L"Netzwerk", L"Audio & Headsets"}));

    // Adapters (ten fields) all come before the IP configurations (nine).
    const ReportCategory& network = report.categories[0];
    bool configurationsStarted = false;
    for (const ReportRecord& record : network.records) {
        const size_t count = record.fields.size();
        ASSERT_TRUE(count == 10 || count == 9) << testing::PrintToString(record.title);
        EXPECT_FALSE(configurationsStarted && count == 10);
        configurationsStarted = configurationsStarted || count == 9;
        EXPECT_EQ(record.fields.front().first, count == 10 ? L"Hersteller" : L"MAC-Adresse");
    }

    const ReportCategory& audio = report.categories[1];
    ASSERT_FALSE(audio.records.empty());
    EXPECT_EQ(LabelsOf(audio.records[0]), kSoundLabels);
    if (audio.records.size() == 1) {
        ASSERT_EQ(report.hints.size(), 1u);
        EXPECT_NE(report.hints[0].find(kPnpQueryStart + L"ClassGuid='{C166523C-FE0C-4A94-A586-F1A80CFBBF3E}'"),
                  std::wstring::npos);
    }
}

TEST_F(DeviceCategoryScan, AttachedDevicesCreateTheNineCategoriesInOrderAndGoOnAfterFailures) {
    CollectAttachedDevices(scan);
    EXPECT_EQ(Names(report), (std::vector<std::wstring>{L"USB-Controller", L"Eingabegeräte", L"Biometrische Geräte",
                                                         L"Kameras & Scanner", L"Drucker", L"Bluetooth",
                                                         L"Weitere angeschlossene Geräte", L"Anschlüsse", L"Akku"}));
    // Every hint is a rejected device query, and Bluetooth's is among them word for word.
    for (const std::wstring& hint : report.hints) {
        EXPECT_NE(hint.find(L" | " + kPnpQueryStart), std::wstring::npos) << testing::PrintToString(hint);
    }
    const ReportCategory* bluetooth = FindCategory(report, L"Bluetooth");
    ASSERT_NE(bluetooth, nullptr);
    if (bluetooth->records.empty() && !report.hints.empty()) {
        EXPECT_TRUE(std::any_of(report.hints.begin(), report.hints.end(), [](const std::wstring& hint) {
            return EndsWith(hint, L" | " + PnpDevicesQuery(kBluetoothClass));
        }));
        EXPECT_EQ(report.hints.size(), 6u) << "one per device-class query";
    }
}

// A notebook as Windows delivers it: its webcam as a Win32_PnPEntity of the camera setup class
// (ClassGuid in lower case, the id lists as string arrays), and its battery as Win32_Battery,
// whose class has no Manufacturer. Many notebooks leave the two capacities NULL; this one fills
// them (mWh), and EstimatedRunTime 71582788 is what Windows reports while the mains power is on:
// no estimate, so it must not read as 136 years.
TEST(CollectAttachedDevices, ReadsCamerasAndBatteriesFromTheirClassesAsWindowsDeliversThem) {
    const std::wstring cameraQuery =
        kPnpQueryStart + L"ClassGuid='{CA3E7AB9-B4C3-4AE6-8251-579EF933890F}' OR "
                         L"ClassGuid='{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}')";
    const std::wstring batteryQuery = L"SELECT * FROM Win32_Battery";
    const std::wstring webcamId = L"USB\\VID_0BDA&PID_58F4&MI_00\\6&2A9E1FB6&0&0000";
    WmiRecording recording;
    recording.answers = {
        {L"ROOT\\CIMV2", cameraQuery, {{
            {L"Name", CimString(L"Integrated Webcam")},
            {L"Caption", CimString(L"Integrated Webcam")},
            {L"Manufacturer", CimString(L"Microsoft")},
            {L"Description", CimString(L"USB Video Device")},
            {L"PNPClass", CimString(L"Camera")},
            {L"DeviceID", CimString(webcamId)},
            {L"PNPDeviceID", CimString(webcamId)},
            {L"Service", CimString(L"usbvideo")},
            {L"ClassGuid", CimString(L"{ca3e7ab9-b4c3-4ae6-8251-579ef933890f}")},
            {L"HardwareID", CimStringArray({L"USB\\VID_0BDA&PID_58F4&REV_0021&MI_00", L"USB\\VID_0BDA&PID_58F4&MI_00"})},
            {L"CompatibleID", CimStringArray({L"USB\\Class_0E&SubClass_03&Prot_00", L"USB\\Class_0E&SubClass_03",
                                              L"USB\\Class_0E"})},
            {L"Status", CimString(L"OK")},
            {L"ConfigManagerErrorCode", CimUint32(0)},
            {L"Present", CimBoolean(true)},
        }}},
        {L"ROOT\\CIMV2", batteryQuery, {{
            {L"Name", CimString(L"DELL GPM0365")},
            {L"Caption", CimString(L"Internal Battery")},
            {L"DeviceID", CimString(L"1472SMPDELL GPM0365")},
            {L"Availability", CimUint16(2)},
            {L"BatteryStatus", CimUint16(2)},
            {L"Chemistry", CimUint16(6)},
            {L"DesignCapacity", CimUint32(51000)},
            {L"DesignVoltage", CimUint64(12992)},
            {L"EstimatedChargeRemaining", CimUint16(87)},
            {L"EstimatedRunTime", CimUint32(71582788)},
            {L"FullChargeCapacity", CimUint32(45872)},
            {L"PowerManagementCapabilities", CimIntegerArray(CIM_UINT16, {1})},
            {L"Status", CimString(L"OK")},
        }}},
    };
    HardwareReport report;
    WmiSession wmi(L"ROOT\\CIMV2", recording);
    ScanContext scan{report, wmi};
    CollectAttachedDevices(scan);

    EXPECT_EQ(recording.opened, std::vector<std::wstring>{L"ROOT\\CIMV2"});
    for (const std::wstring& query : {cameraQuery, batteryQuery}) {
        const auto sent = std::make_pair(std::wstring(L"ROOT\\CIMV2"), query);
        EXPECT_EQ(std::count(recording.sent.begin(), recording.sent.end(), sent), 1) << testing::PrintToString(query);
    }
    EXPECT_TRUE(report.hints.empty()) << testing::PrintToString(report.hints);
    const ReportCategory* imaging = FindCategory(report, L"Kameras & Scanner");
    ASSERT_NE(imaging, nullptr);
    ASSERT_EQ(imaging->records.size(), 1u);
    EXPECT_EQ(imaging->records[0].title, L"Integrated Webcam");
    const std::vector<ReportField> webcam = {
        {L"Hersteller", L"Microsoft"},
        {L"Beschreibung", L"USB Video Device"},
        {L"PnP-Klasse", L"Camera"},
        {L"Geräte-ID", webcamId},
        {L"PnP-Geräte-ID", webcamId},
        {L"Dienst", L"usbvideo"},
        {L"Klassen-GUID", L"{ca3e7ab9-b4c3-4ae6-8251-579ef933890f}"},
        {L"Hardware-IDs", L"USB\\VID_0BDA&PID_58F4&REV_0021&MI_00; USB\\VID_0BDA&PID_58F4&MI_00"},
        {L"Kompatible IDs", L"USB\\Class_0E&SubClass_03&Prot_00; USB\\Class_0E&SubClass_03; USB\\Class_0E"},
        {L"Status", L"OK"},
        {L"Gerätemanager-Fehlercode", L"0"},
        {L"Aktuell angeschlossen", L"-1"},
    };
    EXPECT_EQ(imaging->records[0].fields, webcam);

    const ReportCategory* battery = FindCategory(report, L"Akku");
    ASSERT_NE(battery, nullptr);
    ASSERT_EQ(battery->records.size(), 1u);
    EXPECT_EQ(battery->records[0].title, L"DELL GPM0365");
    const std::vector<ReportField> batteryFields = {
        {L"Geräte-ID", L"1472SMPDELL GPM0365"},
        {L"Hersteller", L"Nicht gemeldet"},
        {L"Chemie (Code)", L"6"},
        {L"Designkapazität", L"51000"},
        {L"Vollladekapazität", L"45872"},
        {L"Ladestand (%)", L"87"},
        {L"Geschätzte Laufzeit (Min.)", L"Nicht gemeldet"},
        {L"Akkustatus (Code)", L"2"},
        {L"Status", L"OK"},
    };
    EXPECT_EQ(battery->records[0].fields, batteryFields);
}
