#include "knowledge/MonitorIdentification.h"

#include <gtest/gtest.h>

#include <set>

namespace {

ReportRecord Monitor(std::wstring title, std::initializer_list<ReportField> fields) {
    return ReportRecord{std::move(title), fields};
}

std::vector<ReportField> AddedFields(const ReportRecord& before, const ReportRecord& after) {
    return std::vector<ReportField>(after.fields.begin() + static_cast<std::ptrdiff_t>(before.fields.size()),
                                    after.fields.end());
}

std::wstring VendorName(const std::wstring& code) {
    for (const PnpVendorEntry& entry : PnpVendorTable()) {
        if (entry.code == code) {
            return entry.name;
        }
    }
    return {};
}

} // namespace

TEST(NormalizeCode, KeepsLettersAndDigitsUpperCased) {
    EXPECT_EQ(NormalizeCode(L"a2-0b"), L"A20B");
    EXPECT_EQ(NormalizeCode(L" de l\t"), L"DEL");
    EXPECT_EQ(NormalizeCode(L"DISPLAY\\DELA20B"), L"DISPLAYDELA20B");
    EXPECT_EQ(NormalizeCode(L"-\\·"), L"");
}

TEST(IsGenericMonitorName, CollectorFallbacksAndWindowsPlaceholders) {
    for (const wchar_t* title : {L"", L"  ", L"Monitor (EDID)", L"Aktiver Monitor", L"Generic PnP Monitor",
                                 L"Generischer PnP-Monitor", L"PnP-Monitor (Standard)", L"Allgemeiner PnP-Monitor",
                                 L"Non-PnP Monitor", L"Nicht-PnP-Monitor"}) {
        EXPECT_TRUE(IsGenericMonitorName(title)) << title;
    }
}

TEST(IsGenericMonitorName, RealNamesAndHalfPlaceholdersAreKept) {
    for (const wchar_t* title : {L"PnP Monitor", L"Generic Monitor", L"Dell P2722H", L"Monitor", L"Aktiver Monitor 2",
                                 L"Standardmonitor"}) {
        EXPECT_FALSE(IsGenericMonitorName(title)) << title;
    }
}

TEST(PnpVendorTable, HoldsFortyTwoUniqueThreeLetterCodes) {
    const auto& table = PnpVendorTable();
    EXPECT_EQ(&table, &PnpVendorTable());
    ASSERT_EQ(table.size(), 42u);
    std::set<std::wstring> codes;
    for (const PnpVendorEntry& entry : table) {
        EXPECT_EQ(entry.code.size(), 3u);
        EXPECT_EQ(NormalizeCode(entry.code), entry.code);
        EXPECT_FALSE(entry.name.empty());
        codes.insert(entry.code);
    }
    EXPECT_EQ(codes.size(), 42u);
    EXPECT_EQ(table.front().code, L"ACI");
    EXPECT_EQ(table.back().code, L"VSC");
}

TEST(PnpVendorTable, NamesWithUnusualCharacters) {
    EXPECT_EQ(VendorName(L"ACI"), L"ASUSTeK Computer Inc.");
    EXPECT_EQ(VendorName(L"CMN"), L"Innolux (ehemals Chi Mei)");
    EXPECT_EQ(VendorName(L"LPL"), L"LG.Philips LCD");
    EXPECT_EQ(VendorName(L"MEI"), L"Panasonic / Matsushita Electric");
    EXPECT_EQ(VendorName(L"IVM"), L"iiyama");
    EXPECT_EQ(VendorName(L"HKC"), L"HKC");
    EXPECT_EQ(VendorName(L"SAM"), L"Samsung Electronics");
    EXPECT_EQ(VendorName(L"SEC"), L"Samsung Electronics");
    EXPECT_EQ(VendorName(L"SDC"), L"Samsung Display");
}

TEST(KnownMonitorModels, ResolvableCodesOfKnownMakers) {
    const auto& models = KnownMonitorModels();
    EXPECT_EQ(&models, &KnownMonitorModels());
    ASSERT_EQ(models.size(), 2u);
    for (const MonitorModelEntry& model : models) {
        EXPECT_FALSE(VendorName(model.vendorCode).empty()) << model.vendorCode;
        EXPECT_EQ(NormalizeCode(model.productCode), model.productCode);
        EXPECT_EQ(model.productCode.size(), 4u);
    }
}

TEST(IdentifyMonitor, KnownModelReplacesPlaceholderTitle) {
    const ReportRecord before = Monitor(L"Monitor (EDID)", {{L"Herstellerkennung", L"DEL"}, {L"Modell-/Produktcode", L"A20B"}});
    ReportRecord record = before;
    IdentifyMonitor(record);
    const std::vector<ReportField> expected{
        {L"Herstellerkennung (aufgelöst)", L"DEL – Dell Technologies"},
        {L"Hersteller (EDID-Profil)", L"Dell Technologies"},
        {L"Modell-/Produktcode (aufgelöst)", L"A20B – Dell UltraSharp U2723QE"},
        {L"Monitormodell (EDID-Profil)", L"Dell UltraSharp U2723QE"},
    };
    EXPECT_EQ(AddedFields(before, record), expected);
    EXPECT_EQ(record.title, L"Dell UltraSharp U2723QE");
}

TEST(IdentifyMonitor, KnownModelKeepsReportedTitle) {
    const ReportRecord before = Monitor(L"DELL U2723QE", {{L"Herstellerkennung", L"DEL"}, {L"Modell-/Produktcode", L"A20B"}});
    ReportRecord record = before;
    IdentifyMonitor(record);
    EXPECT_EQ(record.title, L"DELL U2723QE");
    EXPECT_EQ(record.fields.size(), before.fields.size() + 4);
}

TEST(IdentifyMonitor, CodesResolveWhateverTheirSpelling) {
    ReportRecord record = Monitor(L"", {{L"Herstellerkennung", L"del"}, {L"Modell-/Produktcode", L"a2-0b"}});
    IdentifyMonitor(record);
    EXPECT_EQ(GetFieldValue(record, L"Herstellerkennung (aufgelöst)"), L"DEL – Dell Technologies");
    EXPECT_EQ(GetFieldValue(record, L"Modell-/Produktcode (aufgelöst)"), L"A20B – Dell UltraSharp U2723QE");
    EXPECT_EQ(record.title, L"Dell UltraSharp U2723QE");
}

TEST(IdentifyMonitor, MakerCodeIsCutToThreeCharacters) {
    ReportRecord record = Monitor(L"x", {{L"Herstellerkennung", L"DELL"}});
    IdentifyMonitor(record);
    EXPECT_EQ(GetFieldValue(record, L"Herstellerkennung (aufgelöst)"), L"DEL – Dell Technologies");
}

TEST(IdentifyMonitor, CodesComeFromHardwareIdWhenFieldsAreMissing) {
    ReportRecord record = Monitor(L"Aktiver Monitor", {{L"Monitor-Hardwarekennung", L"DISPLAY\\GSM5B9A"}});
    IdentifyMonitor(record);
    EXPECT_EQ(GetFieldValue(record, L"Herstellerkennung (aufgelöst)"), L"GSM – LG Electronics");
    EXPECT_EQ(GetFieldValue(record, L"Monitormodell (EDID-Profil)"), L"LG UltraGear 27GP850-B");
    EXPECT_EQ(record.title, L"LG UltraGear 27GP850-B");
}

TEST(IdentifyMonitor, HardwareIdNeverOverridesReportedCodes) {
    ReportRecord record = Monitor(L"Acer XF270H", {{L"Herstellerkennung", L"ACR"}, {L"Monitor-Hardwarekennung", L"DISPLAY\\DELA20B"}});
    IdentifyMonitor(record);
    EXPECT_EQ(GetFieldValue(record, L"Herstellerkennung (aufgelöst)"), L"ACR – Acer");
    // The product code still comes from the hardware id, but ACR/A20B is no known model.
    EXPECT_EQ(GetFieldValue(record, L"Modell-/Produktcode (aufgelöst)"), L"A20B – Acer XF270H (vom Monitor/Windows gemeldet)");
    EXPECT_EQ(record.title, L"Acer XF270H");
}

TEST(IdentifyMonitor, ShortOrForeignHardwareIds) {
    // Only an id of the EDID shape names codes: a display without EDID is DISPLAY\Default_Monitor
    // (every display under Wine), which is no maker DEF with a product AULTMONITOR.
    for (const wchar_t* id : {L"DISPLAY\\DE", L"MONITOR\\DELA20B", L"DISPLA", L"", L"DISPLAY\\DEL",
                              L"DISPLAY\\Default_Monitor", L"DISPLAY\\DELA20B1", L"DISPLAY\\DE1A20B",
                              L"DISPLAY\\DELA2GB"}) {
        ReportRecord record = Monitor(L"Monitor (EDID)", {{L"Monitor-Hardwarekennung", id}});
        IdentifyMonitor(record);
        EXPECT_EQ(record.fields.size(), 1u) << id;
        EXPECT_EQ(record.title, L"Monitor (EDID)");
    }
}

TEST(IdentifyMonitor, JoinedHardwareIdsUseTheFirstOne) {
    ReportRecord record = Monitor(L"Aktiver Monitor", {{L"Monitor-Hardwarekennung", L"DISPLAY\\DEL4321 · DISPLAY\\GSM5B9A"}});
    IdentifyMonitor(record);
    EXPECT_EQ(GetFieldValue(record, L"Herstellerkennung (aufgelöst)"), L"DEL – Dell Technologies");
    EXPECT_EQ(GetFieldValue(record, L"Modell-/Produktcode (aufgelöst)"),
              L"4321 – herstellerspezifischer Code; Modell nicht eindeutig hinterlegt");
}

TEST(IdentifyMonitor, JoinedCodesUseTheFirstOne) {
    ReportRecord record = Monitor(L"Monitor (EDID)", {{L"Herstellerkennung", L"GSM · DEL"}, {L"Modell-/Produktcode", L"5B9A · A20B"}});
    IdentifyMonitor(record);
    EXPECT_EQ(GetFieldValue(record, L"Modell-/Produktcode (aufgelöst)"), L"5B9A – LG UltraGear 27GP850-B");
    EXPECT_EQ(record.title, L"LG UltraGear 27GP850-B");
}

TEST(IdentifyMonitor, UnknownMakerCodeIsNamedAsSuch) {
    ReportRecord record = Monitor(L"x", {{L"Herstellerkennung", L"XYZ"}});
    IdentifyMonitor(record);
    EXPECT_EQ(AddedFields(Monitor(L"x", {{L"Herstellerkennung", L"XYZ"}}), record),
              (std::vector<ReportField>{
                  {L"Herstellerkennung (aufgelöst)", L"XYZ – unbekannte oder nicht hinterlegte PNP-/EDID-Kennung"}}));
}

TEST(IdentifyMonitor, UnknownProductOnReportedTitleNamesTheTitle) {
    const ReportRecord before = Monitor(L"Dell P2722H", {{L"Herstellerkennung", L"DEL"}, {L"Modell-/Produktcode", L"1234"}});
    ReportRecord record = before;
    IdentifyMonitor(record);
    const std::vector<ReportField> expected{
        {L"Herstellerkennung (aufgelöst)", L"DEL – Dell Technologies"},
        {L"Hersteller (EDID-Profil)", L"Dell Technologies"},
        {L"Modell-/Produktcode (aufgelöst)", L"1234 – Dell P2722H (vom Monitor/Windows gemeldet)"},
        {L"Monitormodell (EDID-/Windows-Meldung)", L"Dell P2722H"},
    };
    EXPECT_EQ(AddedFields(before, record), expected);
    EXPECT_EQ(record.title, L"Dell P2722H");
}

TEST(IdentifyMonitor, UnknownProductOnPlaceholderTitleGivesNoModel) {
    for (const wchar_t* title : {L"Generic PnP Monitor", L"PnP-Monitor (Standard)", L"Aktiver Monitor", L""}) {
        const ReportRecord before = Monitor(title, {{L"Modell-/Produktcode", L"1234"}});
        ReportRecord record = before;
        IdentifyMonitor(record);
        EXPECT_EQ(AddedFields(before, record),
                  (std::vector<ReportField>{{L"Modell-/Produktcode (aufgelöst)",
                                             L"1234 – herstellerspezifischer Code; Modell nicht eindeutig hinterlegt"}}))
            << title;
        EXPECT_EQ(record.title, title);
    }
}

TEST(IdentifyMonitor, ExistingResolvedFieldIsKept) {
    ReportRecord record = Monitor(L"Monitor (EDID)", {{L"Herstellerkennung (aufgelöst)", L"von Hand"},
                                                      {L"Herstellerkennung", L"GSM"},
                                                      {L"Modell-/Produktcode", L"5B9A"}});
    IdentifyMonitor(record);
    EXPECT_EQ(GetFieldValue(record, L"Herstellerkennung (aufgelöst)"), L"von Hand");
    EXPECT_EQ(GetFieldValue(record, L"Hersteller (EDID-Profil)"), L"LG Electronics");
    EXPECT_EQ(GetFieldValue(record, L"Modell-/Produktcode (aufgelöst)"), L"5B9A – LG UltraGear 27GP850-B");
    EXPECT_EQ(record.fields.size(), 6u);
}

TEST(IdentifyMonitor, RecordWithoutCodesGainsNothing) {
    ReportRecord record = Monitor(L"Monitor (EDID)", {{L"Anschluss", L"HDMI"}, {L"Herstellerkennung", L" - "}});
    IdentifyMonitor(record);
    EXPECT_EQ(record.fields.size(), 2u);
    EXPECT_EQ(record.title, L"Monitor (EDID)");
}
