#include "knowledge/KnowledgeBase.h"

#include <gtest/gtest.h>

namespace {

ReportRecord Device(std::wstring title, std::initializer_list<ReportField> fields = {}) {
    return ReportRecord{std::move(title), fields};
}

std::vector<ReportCategory> OneRecordIn(const std::wstring& category, ReportRecord record) {
    std::vector<ReportCategory> categories;
    categories.push_back(ReportCategory{category, {std::move(record)}});
    return categories;
}

const DeviceProfile* ProfileWithPattern(const std::wstring& pattern) {
    for (const DeviceProfile& profile : DeviceProfiles()) {
        for (const std::wstring& candidate : profile.patterns) {
            if (candidate == pattern) {
                return &profile;
            }
        }
    }
    return nullptr;
}

const std::wstring kProfileLabel = L"Erkanntes Datenprofil";
const std::wstring kProfileValue = L"Eindeutige Modell-/Hardwarekennung";

} // namespace

TEST(NormalizeKey, KeepsLettersAndDigitsLowerCased) {
    EXPECT_EQ(NormalizeKey(L"USB\\VID_046D&PID_082D\\5&1A2B"), L"usbvid046dpid082d51a2b");
    EXPECT_EQ(NormalizeKey(L"Intel(R) Core(TM) i7-14700K"), L"intelrcoretmi714700k");
    EXPECT_EQ(NormalizeKey(L"KF432C16BB/16"), L"kf432c16bb16");
}

TEST(NormalizeKey, TextsWithoutLettersOrDigitsGiveEmptyKey) {
    EXPECT_EQ(NormalizeKey(L""), L"");
    EXPECT_EQ(NormalizeKey(L" \\&_-() · – ×\t\r\n\x01\x7f"), L"");
}

TEST(NormalizeKey, ChangesCaseOfPlainLettersOnly) {
    // Letters beyond A to Z are kept as they are, so a key never depends on locale tables.
    EXPECT_EQ(NormalizeKey(L"Größe ÄB"), L"größeÄb");
}

TEST(NormalizeKey, HandlesLongTexts) {
    const std::wstring text(200000, L'X');
    EXPECT_EQ(NormalizeKey(text), std::wstring(200000, L'x'));
}

TEST(BuildRecordKey, RunsTitleLabelsAndValuesTogether) {
    EXPECT_EQ(BuildRecordKey(Device(L"WD Blue", {{L"Modell", L"SN570 1TB"}, {L"Bus-Typ", L"NVMe"}})),
              L"wdbluemodellsn5701tbbustypnvme");
    EXPECT_EQ(BuildRecordKey(Device(L"")), L"");
    EXPECT_EQ(BuildRecordKey(Device(L"", {{L"", L"A"}, {L"B", L""}})), L"ab");
}

TEST(AddFieldIfMissing, AppendsNewLabelsAtTheEnd) {
    ReportRecord record = Device(L"x", {{L"A", L"1"}});
    AddFieldIfMissing(record, L"B", L"2");
    EXPECT_EQ(record.fields, (std::vector<ReportField>{{L"A", L"1"}, {L"B", L"2"}}));
}

TEST(AddFieldIfMissing, FirstWriterWinsAndNothingIsMerged) {
    ReportRecord record = Device(L"x", {{L"Hersteller", L"Nicht gemeldet"}});
    AddFieldIfMissing(record, L"Hersteller", L"Intel");
    EXPECT_EQ(record.fields, (std::vector<ReportField>{{L"Hersteller", L"Nicht gemeldet"}}));
}

TEST(AddFieldIfMissing, SkipsOnlyEmptyValues) {
    ReportRecord record = Device(L"x");
    AddFieldIfMissing(record, L"A", L"");
    EXPECT_TRUE(record.fields.empty());
    // Unlike SetField, a value that reads as unknown is still written.
    AddFieldIfMissing(record, L"A", L"Unknown");
    EXPECT_EQ(GetFieldValue(record, L"A"), L"Unknown");
}

TEST(AddFieldIfMissing, ComparesLabelsCaseSensitively) {
    ReportRecord record = Device(L"x", {{L"hersteller", L"a"}});
    AddFieldIfMissing(record, L"Hersteller", L"b");
    EXPECT_EQ(record.fields.size(), 2u);
}

TEST(AddHardwareIdVendor, NamesMakerFromUsbOrPciId) {
    ReportRecord usb = Device(L"Webcam", {{L"PnP-Geräte-ID", L"USB\\VID_046D&PID_082D\\5&1A2B"}});
    AddHardwareIdVendor(usb, BuildRecordKey(usb));
    EXPECT_EQ(GetFieldValue(usb, L"Hardware-ID-Hersteller"), L"Logitech");

    ReportRecord pci = Device(L"WLAN");
    AddHardwareIdVendor(pci, L"pciven168cdev003e");
    EXPECT_EQ(GetFieldValue(pci, L"Hardware-ID-Hersteller"), L"Qualcomm Atheros");

    ReportRecord bluetooth = Device(L"BT");
    AddHardwareIdVendor(bluetooth, L"usbvid2357pid0604");
    EXPECT_EQ(GetFieldValue(bluetooth, L"Hardware-ID-Hersteller"), L"TP-Link");
}

TEST(AddHardwareIdVendor, TableOrderDecidesNotPositionInKey) {
    ReportRecord record = Device(L"x");
    AddHardwareIdVendor(record, L"pciven8086usbvid046d");
    EXPECT_EQ(record.fields, (std::vector<ReportField>{{L"Hardware-ID-Hersteller", L"Logitech"}}));
}

TEST(AddHardwareIdVendor, KeepsExistingVendorAndIgnoresUnknownIds) {
    ReportRecord record = Device(L"x", {{L"Hardware-ID-Hersteller", L"Eigen"}});
    AddHardwareIdVendor(record, L"vid046d");
    EXPECT_EQ(record.fields, (std::vector<ReportField>{{L"Hardware-ID-Hersteller", L"Eigen"}}));

    ReportRecord unknown = Device(L"x");
    AddHardwareIdVendor(unknown, L"usbvid1234pid5678");
    AddHardwareIdVendor(unknown, L"");
    EXPECT_TRUE(unknown.fields.empty());
}

TEST(HardwareIdVendorTable, NeedlesAreNormalisedIds) {
    for (const HardwareIdVendorEntry& entry : kHardwareIdVendors) {
        const std::wstring needle = entry.needle;
        EXPECT_EQ(NormalizeKey(needle), needle);
        EXPECT_EQ(needle.size(), 7u) << needle;
        EXPECT_TRUE(needle.starts_with(L"vid") || needle.starts_with(L"ven")) << needle;
        EXPECT_FALSE(std::wstring(entry.vendor).empty());
    }
}

TEST(ProfileMatches, AnyNormalisedPatternHits) {
    const DeviceProfile profile{L"Laufwerke", {L"WD Blue SN570", L"WD Blue SN580"}, {{L"a", L"b"}}};
    EXPECT_TRUE(ProfileMatches(NormalizeKey(L"WD_BLUE_SN570"), profile));
    EXPECT_TRUE(ProfileMatches(NormalizeKey(L"WD  Blue  SN580 1TB"), profile));
    EXPECT_FALSE(ProfileMatches(NormalizeKey(L"WD Blue SN550"), profile));
    EXPECT_FALSE(ProfileMatches(L"", profile));
}

TEST(ProfileMatches, PatternWithoutLettersOrDigitsNeverHits) {
    const DeviceProfile profile{L"Laufwerke", {L"-/-"}, {{L"a", L"b"}}};
    EXPECT_FALSE(ProfileMatches(L"anything", profile));
    EXPECT_FALSE(ProfileMatches(L"", profile));
}

TEST(ApplyKnowledgeBase, AddsProfileMarkerAndFieldsAfterExistingOnes) {
    auto categories = OneRecordIn(L"Laufwerke", Device(L"Laufwerk", {{L"Modell", L"Samsung SSD 980 PRO 1TB"}}));
    ApplyKnowledgeBase(categories);
    const std::vector<ReportField> expected{
        {L"Modell", L"Samsung SSD 980 PRO 1TB"},
        {kProfileLabel, kProfileValue},
        {L"Profil: Geräteart", L"NVMe-SSD"},
        {L"Profil: Schnittstelle", L"PCIe 4.0 ×4 · NVMe"},
        {L"Profil: Formfaktor", L"M.2 2280"},
    };
    EXPECT_EQ(categories[0].records[0].fields, expected);
    EXPECT_EQ(categories[0].records[0].title, L"Laufwerk");
}

TEST(ApplyKnowledgeBase, ProfilesApplyOnlyInTheirOwnCategory) {
    for (const wchar_t* name : {L"Netzwerk", L"laufwerke", L"Laufwerke ", L"Sonstiges"}) {
        auto categories = OneRecordIn(name, Device(L"Samsung SSD 980 PRO with Heatsink 2TB"));
        ApplyKnowledgeBase(categories);
        EXPECT_TRUE(categories[0].records[0].fields.empty()) << name;
    }
}

TEST(ApplyKnowledgeBase, TwoMatchingProfilesAddMarkerOnceAndFirstValueWins) {
    auto categories = OneRecordIn(
        L"Netzwerk", Device(L"Intel Wi-Fi 6 AX201 160MHz", {{L"Zweiter Adapter", L"Intel Ethernet Connection I219-V"}}));
    ApplyKnowledgeBase(categories);
    const std::vector<ReportField> expected{
        {L"Zweiter Adapter", L"Intel Ethernet Connection I219-V"},
        {kProfileLabel, kProfileValue},
        {L"Profil: Geräteart", L"WLAN-/Bluetooth-Kombiadapter"},
        {L"Profil: WLAN", L"Wi-Fi 6 · 2×2"},
        {L"Profil: Geschwindigkeit", L"bis 1 Gbit/s"},
    };
    EXPECT_EQ(categories[0].records[0].fields, expected);
}

TEST(ApplyKnowledgeBase, ExistingLabelsKeepTheirValues) {
    auto categories = OneRecordIn(L"Prozessor", Device(L"AMD Ryzen 5 7600X 6-Core Processor",
                                                       {{L"Profil: Sockel", L"eigener Wert"}, {kProfileLabel, L"x"}}));
    ApplyKnowledgeBase(categories);
    const std::vector<ReportField> expected{
        {L"Profil: Sockel", L"eigener Wert"},
        {kProfileLabel, L"x"},
        {L"Profil: Architektur", L"Zen 4"},
        {L"Profil: Kernausbau", L"6 Kerne · 12 Threads"},
    };
    EXPECT_EQ(categories[0].records[0].fields, expected);
}

TEST(ApplyKnowledgeBase, MatchesAcrossTheBorderOfTitleLabelAndValue) {
    auto categories = OneRecordIn(L"Laufwerke", Device(L"WD10", {{L"EZ", L"EX"}}));
    ApplyKnowledgeBase(categories);
    EXPECT_EQ(GetFieldValue(categories[0].records[0], L"Profil: Nenndrehzahl"), L"7.200 U/min");
}

TEST(ApplyKnowledgeBase, SlotOverviewOfMemoryIsLeftAlone) {
    std::vector<ReportCategory> categories;
    categories.push_back(ReportCategory{
        L"Arbeitsspeicher",
        {Device(L"RAM-Steckplatzübersicht", {{L"Steckplatz 1", L"CT16G4DFRA32A · USB\\VID_0781"}}),
         Device(L"DIMM 1", {{L"Teilenummer", L"CT16G4DFRA32A"}})}});
    categories.push_back(ReportCategory{L"Laufwerke", {Device(L"RAM-Steckplatzübersicht", {{L"ID", L"USB\\VID_0781"}})}});
    ApplyKnowledgeBase(categories);

    EXPECT_EQ(categories[0].records[0].fields.size(), 1u);
    EXPECT_EQ(GetFieldValue(categories[0].records[1], L"Profil: Organisation"), L"1Rx8");
    EXPECT_EQ(GetFieldValue(categories[1].records[0], L"Hardware-ID-Hersteller"), L"SanDisk");
}

TEST(ApplyKnowledgeBase, SameTitleIsProcessedWhenCategoryNameDiffers) {
    auto categories = OneRecordIn(L"arbeitsspeicher", Device(L"RAM-Steckplatzübersicht", {{L"ID", L"VEN_8086"}}));
    ApplyKnowledgeBase(categories);
    EXPECT_EQ(GetFieldValue(categories[0].records[0], L"Hardware-ID-Hersteller"), L"Intel");
}

TEST(ApplyKnowledgeBase, VendorComesBeforeProfileFields) {
    auto categories = OneRecordIn(L"Kameras & Scanner",
                                  Device(L"USB-Videogerät", {{L"PnP-Geräte-ID", L"USB\\VID_046D&PID_085E&MI_00\\7&1"}}));
    ApplyKnowledgeBase(categories);
    const std::vector<ReportField> expected{
        {L"PnP-Geräte-ID", L"USB\\VID_046D&PID_085E&MI_00\\7&1"},
        {L"Hardware-ID-Hersteller", L"Logitech"},
        {kProfileLabel, kProfileValue},
        {L"Profil: Geräteart", L"4K-Webcam"},
        {L"Profil: Video", L"bis 4K/30 fps"},
        {L"Profil: Besonderheit", L"Windows-Hello-Unterstützung modellabhängig"},
    };
    EXPECT_EQ(categories[0].records[0].fields, expected);
}

TEST(ApplyKnowledgeBase, MonitorGainsIdentificationThenProfile) {
    auto categories = OneRecordIn(L"Monitore", Device(L"Aktiver Monitor", {{L"Monitor-Hardwarekennung", L"DISPLAY\\DELA20B"}}));
    ApplyKnowledgeBase(categories);
    const ReportRecord& monitor = categories[0].records[0];
    EXPECT_EQ(monitor.title, L"Dell UltraSharp U2723QE");
    std::vector<std::wstring> labels;
    for (const ReportField& field : monitor.fields) {
        labels.push_back(field.first);
    }
    const std::vector<std::wstring> expected{
        L"Monitor-Hardwarekennung",  L"Herstellerkennung (aufgelöst)", L"Hersteller (EDID-Profil)",
        L"Modell-/Produktcode (aufgelöst)", L"Monitormodell (EDID-Profil)", kProfileLabel,
        L"Profil: Hersteller",       L"Profil: Modell",                 L"Profil: Gerätetyp",
        L"Profil: Native Auflösung", L"Profil: Bildfrequenz",           L"Profil: Anschlüsse",
    };
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(GetFieldValue(monitor, L"Profil: Native Auflösung"), L"3840 × 2160");
    EXPECT_EQ(GetFieldValue(monitor, L"Profil: Anschlüsse"), L"DisplayPort · HDMI · USB-C");
}

TEST(ApplyKnowledgeBase, MonitorIdentificationRunsOnlyInMonitorCategory) {
    auto categories = OneRecordIn(L"Grafikkarten", Device(L"Aktiver Monitor", {{L"Herstellerkennung", L"DEL"}}));
    ApplyKnowledgeBase(categories);
    EXPECT_EQ(categories[0].records[0].fields.size(), 1u);
}

TEST(ApplyKnowledgeBase, RecordsWithoutKeyStayAsTheyAre) {
    std::vector<ReportCategory> categories;
    categories.push_back(ReportCategory{L"Laufwerke", {Device(L""), Device(L"-- --", {{L"", L"·"}})}});
    categories.push_back(ReportCategory{L"Leer", {}});
    ApplyKnowledgeBase(categories);
    ASSERT_EQ(categories.size(), 2u);
    ASSERT_EQ(categories[0].records.size(), 2u);
    EXPECT_TRUE(categories[0].records[0].fields.empty());
    EXPECT_EQ(categories[0].records[1].fields, (std::vector<ReportField>{{L"", L"·"}}));
    EXPECT_TRUE(categories[1].records.empty());
}

TEST(ApplyKnowledgeBase, PatternsAlsoHitLongerModelNames) {
    auto processor = OneRecordIn(L"Prozessor", Device(L"AMD Ryzen 5 7600X 6-Core Processor"));
    ApplyKnowledgeBase(processor);
    EXPECT_EQ(GetFieldValue(processor[0].records[0], L"Profil: Sockel"), L"AM5");

    auto card = OneRecordIn(L"Laufwerke", Device(L"Generic- SD/MMC USB Device"));
    ApplyKnowledgeBase(card);
    EXPECT_EQ(GetFieldValue(card[0].records[0], L"Profilhinweis"),
              L"Geschwindigkeitsklasse ist nur aus Kartenbezeichnung/SPD-ähnlichen Identifikationsdaten ableitbar");
    ASSERT_NE(ProfileWithPattern(L"SDXC"), nullptr);
}
