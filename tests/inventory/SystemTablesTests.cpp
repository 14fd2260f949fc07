// The first five categories read from the platform's real WMI: every record carries its
// table's labels in order, and the properties that every Windows fills arrive under the right
// label, which a misspelled property name or two swapped table rows would break.

#include "inventory/Formatters.h"
#include "inventory/ReportLookup.h"
#include "inventory/SystemCategories.h"
#include "wmi/ComApartment.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include <windows.h>

namespace {

using Labels = std::vector<std::wstring>;

class SystemTablesTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        report = new HardwareReport;
        ComApartment com;
        ASSERT_TRUE(com.IsUsable());
        WmiSession wmi(L"ROOT\\CIMV2");
        ASSERT_TRUE(wmi.IsConnected());
        ScanContext scan{*report, wmi};
        CollectSystemAndWindows(scan);
        CollectProcessorAndCaches(scan);
        CollectMainboardAndChipset(scan);
    }
    static void TearDownTestSuite() {
        delete report;
        report = nullptr;
    }

    static const ReportRecord& Record(const std::wstring& category, size_t index) {
        static const ReportRecord none;
        const ReportCategory* found = FindCategory(*report, category);
        if (found == nullptr || found->records.size() <= index) {
            ADD_FAILURE() << "no record " << index << " in " << testing::PrintToString(category);
            return none;
        }
        return found->records[index];
    }

    static void ExpectReported(const ReportRecord& record, const Labels& labels) {
        for (const std::wstring& label : labels) {
            const std::wstring value = GetFieldValue(record, label);
            EXPECT_FALSE(value.empty() || value == L"Nicht gemeldet")
                << testing::PrintToString(record.title) << ": " << testing::PrintToString(label);
        }
    }

    static HardwareReport* report;
};

HardwareReport* SystemTablesTest::report = nullptr;

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return text;
}

} // namespace

TEST_F(SystemTablesTest, SystemRecordsCarryTheirTablesInOrder) {
    EXPECT_EQ(LabelsOf(Record(L"System", 0)),
              (Labels{L"Hersteller", L"Modell", L"Systemtyp", L"Installierter Arbeitsspeicher", L"CPU-Sockel",
                      L"Logische Prozessoren", L"Hypervisor erkannt", L"Domäne", L"Arbeitsgruppe",
                      L"PC-Systemtyp (Code)", L"Gehäuse-SKU", L"Systemlaufzeit seit Start"}));
    EXPECT_EQ(LabelsOf(Record(L"System", 1)),
              (Labels{L"Hersteller", L"Version", L"Serien-/Identifikationsnummer", L"System-UUID", L"SKU"}));
    EXPECT_EQ(LabelsOf(Record(L"System", 2)),
              (Labels{L"Hersteller", L"Modell", L"Seriennummer", L"Asset-Tag", L"Gehäusetyp-Codes", L"Teilenummer",
                      L"Version", L"Gehäuseschloss", L"Sicherheitsstatus-Code"}));
    ExpectReported(Record(L"System", 0),
                   {L"Hersteller", L"Modell", L"Systemtyp", L"CPU-Sockel", L"Logische Prozessoren", L"Domäne"});
    ExpectReported(Record(L"System", 1), {L"Hersteller", L"System-UUID"});
    ExpectReported(Record(L"System", 2), {L"Hersteller"});
}

TEST_F(SystemTablesTest, WindowsRecordCarriesItsTableAndTheDirectoriesWindowsNames) {
    const ReportRecord& windows = Record(L"Windows", 0);
    EXPECT_EQ(LabelsOf(windows),
              (Labels{L"Version", L"Build", L"Architektur", L"Installiert am", L"Letzter Systemstart",
                      L"Windows-Verzeichnis", L"Systemverzeichnis", L"Gebietsschema", L"Zeitzone (Minuten)",
                      L"Freier physischer Speicher (KiB)", L"Freier virtueller Speicher (KiB)",
                      L"Virtueller Speicher gesamt (KiB)"}));
    ExpectReported(windows, LabelsOf(windows));

    wchar_t directory[MAX_PATH] = {};
    ASSERT_NE(GetWindowsDirectoryW(directory, MAX_PATH), 0u);
    EXPECT_EQ(Lower(GetFieldValue(windows, L"Windows-Verzeichnis")), Lower(directory));
    ASSERT_NE(GetSystemDirectoryW(directory, MAX_PATH), 0u);
    EXPECT_EQ(Lower(GetFieldValue(windows, L"Systemverzeichnis")), Lower(directory));
    // The build number is the last part of the version.
    const std::wstring version = GetFieldValue(windows, L"Version");
    const std::wstring build = GetFieldValue(windows, L"Build");
    ASSERT_GT(version.size(), build.size());
    EXPECT_EQ(version.substr(version.size() - build.size() - 1), L"." + build);
}

TEST_F(SystemTablesTest, ProcessorRecordCarriesItsTableWithTheCountsWindowsReports) {
    const ReportRecord& processor = Record(L"Prozessor", 0);
    EXPECT_EQ(LabelsOf(processor),
              (Labels{L"Hersteller", L"Beschreibung", L"Prozessor-ID", L"Sockel", L"Architektur", L"Adressbreite",
                      L"Datenbreite", L"Physische Kerne", L"Aktivierte Kerne", L"Logische Prozessoren",
                      L"Aktueller Takt", L"Maximaler Takt", L"Externer Takt", L"L2-Cache (KiB)", L"L3-Cache (KiB)",
                      L"Revision", L"Stepping", L"Familie (Code)", L"Virtualisierung in Firmware",
                      L"VM-Monitor-Erweiterungen", L"Second Level Address Translation", L"Status"}));
    ExpectReported(processor, {L"Hersteller", L"Beschreibung", L"Prozessor-ID", L"Architektur", L"Adressbreite",
                               L"Datenbreite", L"Physische Kerne", L"Logische Prozessoren", L"Aktueller Takt",
                               L"Maximaler Takt", L"Familie (Code)"});
    // This program is a 64-bit build, so it runs on a 64-bit processor.
    EXPECT_EQ(GetFieldValue(processor, L"Adressbreite"), L"64");
    EXPECT_EQ(GetFieldValue(processor, L"Architektur"), L"x64");

    const ReportCategory* processors = FindCategory(*report, L"Prozessor");
    ASSERT_NE(processors, nullptr);
    SYSTEM_INFO info{};
    GetNativeSystemInfo(&info);
    unsigned long long logical = 0;
    for (const ReportRecord& record : processors->records) {
        if (record.fields.size() == LabelsOf(processor).size()) {
            logical += ParseUInt(GetFieldValue(record, L"Logische Prozessoren"));
        }
    }
    EXPECT_EQ(logical, info.dwNumberOfProcessors);
}

TEST_F(SystemTablesTest, MainboardRecordsCarryTheirTablesBoardFirst) {
    const ReportRecord& board = Record(L"Mainboard & BIOS", 0);
    EXPECT_EQ(LabelsOf(board),
              (Labels{L"Hersteller", L"Modell", L"Version", L"Seriennummer", L"Teilenummer", L"SKU", L"Trägerplatine",
                      L"Hot-Swap-fähig", L"Entfernbar", L"Austauschbar", L"Status"}));
    ExpectReported(board, {L"Hersteller"});

    const ReportRecord& bios = Record(L"Mainboard & BIOS", 1);
    EXPECT_EQ(LabelsOf(bios),
              (Labels{L"Hersteller", L"SMBIOS-BIOS-Version", L"Firmwareversion", L"Veröffentlichungsdatum",
                      L"Seriennummer", L"BIOS-Versionsstrings", L"SMBIOS-Hauptversion", L"SMBIOS-Nebenversion",
                      L"Embedded Controller Hauptversion", L"Embedded Controller Nebenversion",
                      L"BIOS-Fähigkeitscodes", L"Verfügbare BIOS-Sprachen", L"Aktuelle BIOS-Sprache",
                      L"Installierbare Sprachen", L"Primäres BIOS", L"Firmwarezustand (Code)", L"Status"}));
    ExpectReported(bios, {L"Hersteller", L"SMBIOS-BIOS-Version", L"Firmwareversion", L"Veröffentlichungsdatum",
                          L"SMBIOS-Hauptversion", L"SMBIOS-Nebenversion"});
    // Converted only in the final pass, so the raw CIM date is still here.
    const std::wstring released = GetFieldValue(bios, L"Veröffentlichungsdatum");
    ASSERT_GE(released.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_TRUE(IsDigitChar(released[i])) << testing::PrintToString(released);
    }
}

TEST_F(SystemTablesTest, CategoriesComeInStepOrderChipsetIncluded) {
    const ReportCategory* chipset = FindCategory(*report, L"Chipsatz & Systemgeräte");
    ASSERT_NE(chipset, nullptr);
    for (const ReportRecord& record : chipset->records) {
        EXPECT_EQ(LabelsOf(record), (Labels{L"Hersteller", L"PnP-Geräte-ID", L"Treiberanbieter", L"Treiberversion",
                                            L"Treiberdatum", L"INF-Datei", L"Signiert", L"Signaturgeber"}));
    }
    EXPECT_EQ(Names(*report), (Labels{L"System", L"Windows", L"Prozessor", L"Mainboard & BIOS",
                                      L"Chipsatz & Systemgeräte"}));
}
