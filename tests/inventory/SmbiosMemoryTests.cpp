#include "inventory/SmbiosMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <windows.h>

namespace {

using Bytes = std::vector<uint8_t>;

// One Memory Device structure. Its formatted area is laid out whole and then cut to `length`,
// so a short structure is followed directly by its strings, as firmware writes it.
struct MemoryDeviceLayout {
    uint8_t length = 0x28;
    uint16_t totalWidth = 64;
    uint16_t dataWidth = 64;
    uint16_t size = 0x4000;
    uint8_t deviceLocator = 1;
    uint8_t bankLocator = 2;
    uint8_t memoryType = 26;
    uint16_t typeDetail = 0x4080;
    uint16_t speed = 3200;
    uint8_t manufacturer = 3;
    uint8_t serialNumber = 4;
    uint8_t partNumber = 5;
    uint8_t attributes = 1;
    uint32_t extendedSize = 0;
    uint16_t configuredSpeed = 3200;
    uint16_t minimumVoltage = 1200;
    uint16_t maximumVoltage = 1350;
    uint16_t configuredVoltage = 1200;
    std::vector<std::string> strings = {"DIMM A1", "P0 CHANNEL A", "Acme", "1A2B3C4D", "AC-16G-3200"};
};

void PutWord(Bytes& bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void PutDword(Bytes& bytes, size_t offset, uint32_t value) {
    PutWord(bytes, offset, static_cast<uint16_t>(value));
    PutWord(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}

// The string set with its closing NUL; no strings at all is two NULs.
Bytes StringSet(const std::vector<std::string>& strings) {
    Bytes bytes;
    for (const std::string& text : strings) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
    }
    if (strings.empty()) {
        bytes.push_back(0);
    }
    bytes.push_back(0);
    return bytes;
}

Bytes Structure(uint8_t type, Bytes formatted, const std::vector<std::string>& strings) {
    formatted[0] = type;
    formatted[1] = static_cast<uint8_t>(formatted.size());
    const Bytes tail = StringSet(strings);
    formatted.insert(formatted.end(), tail.begin(), tail.end());
    return formatted;
}

Bytes MemoryDevice(const MemoryDeviceLayout& layout) {
    Bytes formatted(0x28, 0);
    PutWord(formatted, 0x08, layout.totalWidth);
    PutWord(formatted, 0x0A, layout.dataWidth);
    PutWord(formatted, 0x0C, layout.size);
    formatted[0x10] = layout.deviceLocator;
    formatted[0x11] = layout.bankLocator;
    formatted[0x12] = layout.memoryType;
    PutWord(formatted, 0x13, layout.typeDetail);
    PutWord(formatted, 0x15, layout.speed);
    formatted[0x17] = layout.manufacturer;
    formatted[0x18] = layout.serialNumber;
    formatted[0x1A] = layout.partNumber;
    formatted[0x1B] = layout.attributes;
    PutDword(formatted, 0x1C, layout.extendedSize);
    PutWord(formatted, 0x20, layout.configuredSpeed);
    PutWord(formatted, 0x22, layout.minimumVoltage);
    PutWord(formatted, 0x24, layout.maximumVoltage);
    PutWord(formatted, 0x26, layout.configuredVoltage);
    formatted.resize(layout.length);
    return Structure(17, formatted, layout.strings);
}

Bytes EmptySlot(uint8_t length = 0x28) {
    MemoryDeviceLayout layout;
    layout.length = length;
    layout.size = 0;
    layout.strings = {"DIMM B1", "P0 CHANNEL B"};
    layout.manufacturer = layout.serialNumber = layout.partNumber = 0;
    return MemoryDevice(layout);
}

// The memory devices of a DDR2 desktop board with SMBIOS 2.3, as a public dmidecode listing of it
// shows them: 27-byte structures, a 1 GiB module in XMM1, XMM2 to XMM4 empty and typed DDR. What the
// listing calls "Not Specified" is string number 0; the empty slots' serial and part numbers are
// single blanks.
Bytes Ddr2BoardModule(uint16_t size) {
    MemoryDeviceLayout layout;
    layout.length = 0x1B;
    layout.size = size;
    layout.bankLocator = 0;
    layout.memoryType = 0x13;
    layout.typeDetail = 0x0080;
    layout.speed = 400;
    layout.manufacturer = 2;
    layout.serialNumber = 3;
    layout.partNumber = 4;
    layout.strings = {"XMM1", "JEDEC ID:C1 00 00 00 00 00 00 00", "23211205", "64T128020HU5A"};
    return MemoryDevice(layout);
}

Bytes Ddr2BoardEmptySlot(const std::string& locator) {
    MemoryDeviceLayout layout;
    layout.length = 0x1B;
    layout.totalWidth = 0xFFFF;
    layout.dataWidth = 0xFFFF;
    layout.size = 0;
    layout.bankLocator = 0;
    layout.memoryType = 0x12;
    layout.typeDetail = 0x0080;
    layout.speed = 0;
    layout.manufacturer = 2;
    layout.serialNumber = 3;
    layout.partNumber = 4;
    layout.strings = {locator, "JEDEC ID:", " ", " "};
    return MemoryDevice(layout);
}

Bytes EndOfTable() {
    return Structure(127, Bytes(4, 0), {});
}

Bytes Concat(const std::vector<Bytes>& parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// The provider's header: calling method, version 3.3, revision, then the declared table length.
Bytes FirmwareTable(const Bytes& structures, uint32_t declaredLength) {
    Bytes table(8 + structures.size(), 0);
    table[1] = 3;
    table[2] = 3;
    PutDword(table, 4, declaredLength);
    std::copy(structures.begin(), structures.end(), table.begin() + 8);
    return table;
}

Bytes FirmwareTable(const std::vector<Bytes>& structures) {
    const Bytes all = Concat(structures);
    return FirmwareTable(all, static_cast<uint32_t>(all.size()));
}

const ReportCategory* Memory(const HardwareReport& report) {
    for (const ReportCategory& category : report.categories) {
        if (category.name == L"Arbeitsspeicher") {
            return &category;
        }
    }
    return nullptr;
}

std::vector<std::wstring> Titles(const HardwareReport& report) {
    std::vector<std::wstring> titles;
    if (const ReportCategory* memory = Memory(report)) {
        for (const ReportRecord& record : memory->records) {
            titles.push_back(record.title);
        }
    }
    return titles;
}

// The walk over one table into a fresh report.
struct Walk {
    explicit Walk(const Bytes& firmwareTable) : summary(CollectMemoryModulesFromTable(report, firmwareTable)) {}
    const ReportRecord& Record(size_t index) const { return Memory(report)->records.at(index); }
    std::wstring Field(size_t index, const wchar_t* label) const { return GetFieldValue(Record(index), label); }

    HardwareReport report;
    MemorySummary summary;
};

ReportRecord WmiModule(const std::wstring& title, const std::wstring& serial, const std::wstring& capacity) {
    return ReportRecord{title,
                        {{L"Bank", L"BANK 0"},
                         {L"Hersteller", L"Acme Memory"},
                         {L"Seriennummer", serial},
                         {L"Kapazität", capacity},
                         {L"Speichertyp", L"DDR4"}}};
}

HardwareReport ReportWith(std::vector<ReportRecord> records) {
    HardwareReport report;
    report.categories.push_back(ReportCategory{L"Arbeitsspeicher", std::move(records)});
    return report;
}

constexpr wchar_t k16GiB[] = L"16.00 GiB (17179869184 Byte)";
constexpr wchar_t k8GiB[] = L"8.00 GiB (8589934592 Byte)";

} // namespace

TEST(CollectMemoryModulesFromTable, TurnsAnInstalledModuleAndAnEmptySlotIntoBankRecords) {
    MemoryDeviceLayout module;
    module.totalWidth = 72;
    module.configuredSpeed = 2933;
    const Walk walk(FirmwareTable({MemoryDevice(module), EmptySlot(), EndOfTable()}));

    EXPECT_EQ(walk.summary.slotCount, 2u);
    EXPECT_EQ(walk.summary.populatedCount, 1u);
    EXPECT_EQ(walk.summary.totalBytes, 17179869184u);
    EXPECT_TRUE(walk.summary.found);
    ASSERT_EQ(Titles(walk.report), (std::vector<std::wstring>{L"BANK 0 – Belegt", L"BANK 1 – Frei"}));
    const std::vector<ReportField> installed = {
        {L"Bankstatus", L"Belegt"},
        {L"SMBIOS-Banknummer", L"0"},
        {L"Controller/Kanal", L"P0 CHANNEL A"},
        {L"Steckplatzbezeichnung", L"DIMM A1"},
        {L"Kapazität", k16GiB},
        {L"Hersteller", L"Acme"},
        {L"Seriennummer", L"1A2B3C4D"},
        {L"Teilenummer", L"AC-16G-3200"},
        {L"Speichertyp", L"DDR4"},
        {L"Nenntakt", L"3200 MHz"},
        {L"Konfigurierter Takt", L"2933 MHz"},
        {L"Datenbreite (Bit)", L"64"},
        {L"Gesamtbreite inkl. ECC (Bit)", L"72"},
        {L"Rank", L"1 Rank (1R)"},
        {L"Chiporganisation", L"Chipbreite x4/x8/x16 ist über SMBIOS nicht verfügbar; SPD-Auslesung erforderlich"},
        {L"CAS-Latenz", L"Nicht über SMBIOS gemeldet; vollständige SPD-Timingtabelle erforderlich"},
        {L"JEDEC-Geschwindigkeitsklasse", L"DDR4-2933 · PC4-23464"},
        {L"Fehlerkorrektur", L"ECC – zusätzliche Prüfbitbreite erkannt"},
        {L"Pufferung", L"Unbuffered"},
        {L"Minimale Spannung (mV)", L"1200"},
        {L"Maximale Spannung (mV)", L"1350"},
        {L"Konfigurierte Spannung (mV)", L"1200"},
    };
    EXPECT_EQ(walk.Record(0).fields, installed);
    const std::vector<ReportField> empty = {
        {L"Bankstatus", L"Frei"},
        {L"SMBIOS-Banknummer", L"1"},
        {L"Controller/Kanal", L"P0 CHANNEL B"},
        {L"Steckplatzbezeichnung", L"DIMM B1"},
    };
    EXPECT_EQ(walk.Record(1).fields, empty);
}

TEST(CollectMemoryModulesFromTable, NamesTheModuleTypeInTheFirmwareNumbering) {
    const Walk walk(FirmwareTable({Ddr2BoardModule(0x0400), Ddr2BoardEmptySlot("XMM2"), Ddr2BoardEmptySlot("XMM3"),
                                   Ddr2BoardEmptySlot("XMM4"), EndOfTable()}));
    EXPECT_EQ(walk.summary.slotCount, 4u);
    EXPECT_EQ(walk.summary.populatedCount, 1u);
    EXPECT_EQ(walk.summary.totalBytes, 1073741824u);
    EXPECT_EQ(Titles(walk.report), (std::vector<std::wstring>{L"BANK 0 – Belegt", L"BANK 1 – Frei", L"BANK 2 – Frei",
                                                              L"BANK 3 – Frei"}));
    EXPECT_EQ(walk.Field(0, L"Speichertyp"), L"DDR2");
    EXPECT_EQ(walk.Field(0, L"Nenntakt"), L"400 MHz");
    EXPECT_EQ(walk.Field(0, L"JEDEC-Geschwindigkeitsklasse"), L"DDR2-400");
    EXPECT_EQ(walk.Field(0, L"Hersteller"), L"JEDEC ID:C1 00 00 00 00 00 00 00");
    EXPECT_EQ(walk.Field(0, L"Teilenummer"), L"64T128020HU5A");
}

TEST(CollectMemoryModulesFromTable, AModuleOfUnknownSizeIsFittedWithItsSizeNotReported) {
    const Walk walk(FirmwareTable({Ddr2BoardModule(0xFFFF), Ddr2BoardEmptySlot("XMM2"), EndOfTable()}));
    EXPECT_EQ(walk.summary.populatedCount, 1u);
    EXPECT_EQ(walk.summary.totalBytes, 0u);
    EXPECT_EQ(Titles(walk.report), (std::vector<std::wstring>{L"BANK 0 – Belegt", L"BANK 1 – Frei"}));
    EXPECT_EQ(walk.Field(0, L"Bankstatus"), L"Belegt");
    EXPECT_EQ(walk.Field(0, L"Kapazität"), L"Nicht gemeldet");
    EXPECT_EQ(walk.Field(0, L"Speichertyp"), L"DDR2");
    EXPECT_EQ(walk.Field(0, L"Seriennummer"), L"23211205");
}

TEST(CollectMemoryModulesFromTable, CountsOnlyMemoryDevicesLongEnoughToRead) {
    MemoryDeviceLayout shortDevice;
    shortDevice.length = 20;
    const Bytes bios = Structure(0, Bytes(0x18, 0), {"Vendor", "1.0"});
    const Walk walk(FirmwareTable({bios, MemoryDevice(shortDevice), EmptySlot(), EndOfTable()}));
    EXPECT_EQ(walk.summary.slotCount, 1u);
    EXPECT_EQ(Titles(walk.report), (std::vector<std::wstring>{L"BANK 0 – Frei"}));
}

TEST(CollectMemoryModulesFromTable, DecodesEverySizeEncoding) {
    struct Case {
        uint16_t size;
        uint32_t extendedSize;
        uint8_t length;
        uint64_t bytes;
        bool installed = true;
    };
    const Case cases[] = {
        {0x8400, 0, 0x28, 1024ull * 1024},                    // KiB granularity
        {0x7FFF, 0x10000, 0x22, 65536ull * 1024 * 1024},      // extended size in MiB
        {0x7FFF, 0x80000400, 0x22, 1024ull * 1024 * 1024},    // bit 31 of the extended size is reserved
        {0x7FFF, 0x10000, 0x1C, 32767ull * 1024 * 1024},      // too short to hold the extended size
        {0x7FFF, 0, 0x28, 32767ull * 1024 * 1024},
        {0x0400, 0, 0x15, 1024ull * 1024 * 1024},
        {0xFFFF, 0, 0x28, 0, true},                           // a module whose size is not known
        {0x0000, 0x10000, 0x28, 0, false},
    };
    for (const Case& c : cases) {
        MemoryDeviceLayout layout;
        layout.size = c.size;
        layout.extendedSize = c.extendedSize;
        layout.length = c.length;
        const Walk walk(FirmwareTable({MemoryDevice(layout)}));
        SCOPED_TRACE(testing::Message() << std::hex << c.size << " " << c.extendedSize << " " << unsigned{c.length});
        EXPECT_EQ(walk.summary.totalBytes, c.bytes);
        EXPECT_EQ(walk.summary.populatedCount, c.installed ? 1u : 0u);
        EXPECT_EQ(walk.Record(0).title, c.installed ? L"BANK 0 – Belegt" : L"BANK 0 – Frei");
    }
}

TEST(CollectMemoryModulesFromTable, ReadsOnlyTheFieldsTheStructureLengthCovers) {
    // Right behind a short formatted area come the strings: read as numbers they would be nonsense.
    MemoryDeviceLayout minimal;
    minimal.length = 0x15;
    const Walk minimalWalk(FirmwareTable({MemoryDevice(minimal)}));
    const ReportRecord& record = minimalWalk.Record(0);
    for (const wchar_t* label : {L"Nenntakt", L"Konfigurierter Takt", L"Hersteller", L"Seriennummer", L"Teilenummer",
                                 L"Minimale Spannung (mV)", L"Maximale Spannung (mV)",
                                 L"Konfigurierte Spannung (mV)"}) {
        EXPECT_EQ(GetFieldValue(record, label), L"") << testing::PrintToString(std::wstring(label));
    }
    EXPECT_EQ(GetFieldValue(record, L"Rank"), L"Von der Firmware nicht gemeldet");
    EXPECT_EQ(GetFieldValue(record, L"JEDEC-Geschwindigkeitsklasse"), L"");

    MemoryDeviceLayout withSpeed;
    withSpeed.length = 23;
    EXPECT_EQ(Walk(FirmwareTable({MemoryDevice(withSpeed)})).Field(0, L"JEDEC-Geschwindigkeitsklasse"),
              L"DDR4-3200 · PC4-25600");

    // The voltages come as a set of three; two of them covered is not enough.
    MemoryDeviceLayout almostVoltages;
    almostVoltages.length = 0x26;
    const Walk almost(FirmwareTable({MemoryDevice(almostVoltages)}));
    EXPECT_EQ(almost.Field(0, L"Minimale Spannung (mV)"), L"");
    EXPECT_EQ(almost.Field(0, L"Konfigurierter Takt"), L"3200 MHz");
    EXPECT_EQ(almost.Field(0, L"Teilenummer"), L"AC-16G-3200");
}

TEST(CollectMemoryModulesFromTable, LeavesOutZeroClocksVoltagesAndUnknownWidths) {
    MemoryDeviceLayout layout;
    layout.speed = 0;
    layout.configuredSpeed = 0;
    layout.minimumVoltage = 0;
    layout.dataWidth = 0xFFFF;
    const Walk walk(FirmwareTable({MemoryDevice(layout)}));
    EXPECT_EQ(walk.Field(0, L"Nenntakt"), L"");
    EXPECT_EQ(walk.Field(0, L"Konfigurierter Takt"), L"");
    EXPECT_EQ(walk.Field(0, L"JEDEC-Geschwindigkeitsklasse"), L"");
    EXPECT_EQ(walk.Field(0, L"Minimale Spannung (mV)"), L"");
    EXPECT_EQ(walk.Field(0, L"Maximale Spannung (mV)"), L"1350");
    EXPECT_EQ(walk.Field(0, L"Datenbreite (Bit)"), L"");
    EXPECT_EQ(walk.Field(0, L"Gesamtbreite inkl. ECC (Bit)"), L"64");
    EXPECT_EQ(walk.Field(0, L"Fehlerkorrektur"), L"");
}

TEST(CollectMemoryModulesFromTable, StringNumbersPastTheSetAddNoField) {
    MemoryDeviceLayout layout;
    layout.serialNumber = 6;
    layout.manufacturer = 0;
    layout.partNumber = 255;
    const Walk walk(FirmwareTable({MemoryDevice(layout)}));
    EXPECT_EQ(walk.Field(0, L"Seriennummer"), L"");
    EXPECT_EQ(walk.Field(0, L"Hersteller"), L"");
    EXPECT_EQ(walk.Field(0, L"Teilenummer"), L"");
    EXPECT_EQ(walk.Field(0, L"Steckplatzbezeichnung"), L"DIMM A1");
}

TEST(CollectMemoryModulesFromTable, JedecClassFallsBackToTheRatedSpeed) {
    MemoryDeviceLayout layout;
    layout.memoryType = 34;
    layout.speed = 4800;
    layout.configuredSpeed = 0;
    EXPECT_EQ(Walk(FirmwareTable({MemoryDevice(layout)})).Field(0, L"JEDEC-Geschwindigkeitsklasse"),
              L"DDR5-4800 · PC5-38400");
}

TEST(CollectMemoryModulesFromTable, RankErrorCorrectionAndBufferingFromTheirBits) {
    struct Case {
        uint8_t attributes;
        uint16_t dataWidth;
        uint16_t totalWidth;
        uint16_t typeDetail;
        const wchar_t* rank;
        const wchar_t* errorCorrection;
        const wchar_t* buffering;
    };
    const Case cases[] = {
        {0x02, 64, 72, 0xA080, L"2 Ranks (2R)", L"ECC – zusätzliche Prüfbitbreite erkannt", L"Load-Reduced DIMM"},
        {0x00, 64, 64, 0x4080, L"Von der Firmware nicht gemeldet", L"Non-ECC", L"Unbuffered"},
        {0xF1, 0, 72, 0x6000, L"1 Rank (1R)", L"", L"Registered/Buffered"},
        {0x04, 64, 0xFFFF, 0x0080, L"4 Ranks (4R)", L"", L"Von der Firmware nicht gemeldet"},
        {0x0F, 72, 64, 0x0000, L"15 Ranks (15R)", L"Non-ECC", L"Von der Firmware nicht gemeldet"},
    };
    for (const Case& c : cases) {
        MemoryDeviceLayout layout;
        layout.attributes = c.attributes;
        layout.dataWidth = c.dataWidth;
        layout.totalWidth = c.totalWidth;
        layout.typeDetail = c.typeDetail;
        const Walk walk(FirmwareTable({MemoryDevice(layout)}));
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.rank)));
        EXPECT_EQ(walk.Field(0, L"Rank"), c.rank);
        EXPECT_EQ(walk.Field(0, L"Fehlerkorrektur"), c.errorCorrection);
        EXPECT_EQ(walk.Field(0, L"Pufferung"), c.buffering);
    }
}

TEST(CollectMemoryModulesFromTable, KnownPartNumberReplacesTheGenericDetails) {
    MemoryDeviceLayout layout;
    layout.strings = {"DIMM A1", "P0 CHANNEL A", "Acme", "1A2B3C4D", "M378A2G43AB3-CWE  "};
    const Walk walk(FirmwareTable({MemoryDevice(layout)}));
    const ReportRecord& record = walk.Record(0);
    EXPECT_EQ(GetFieldValue(record, L"Teilenummer"), L"M378A2G43AB3-CWE");
    EXPECT_EQ(GetFieldValue(record, L"Chipbestückung"), L"8 × 2G × 8 Bit");
    EXPECT_EQ(GetFieldValue(record, L"JEDEC-Standard"), L"DDR4-3200AA · PC4-25600 · 1,2 V");
    EXPECT_EQ(GetFieldValue(record, L"Pufferung"), L"Unbuffered (UDIMM)");
    for (const wchar_t* generic : {L"Rank", L"Chiporganisation", L"JEDEC-Geschwindigkeitsklasse"}) {
        EXPECT_EQ(GetFieldValue(record, generic), L"") << testing::PrintToString(std::wstring(generic));
    }
    ASSERT_GE(record.fields.size(), 3u);
    EXPECT_EQ(record.fields.back(), (ReportField{L"Konfigurierte Spannung (mV)", L"1200"}));
    EXPECT_EQ(record.fields[record.fields.size() - 4],
              (ReportField{L"Detailprofil-Quelle", L"Eindeutiges Herstellerprofil zur Teilenummer M378A2G43AB3-CWE"}));
}

TEST(ApplyModuleDetailProfile, MatchesPartNumbersAfterNormalisingOnly) {
    ReportRecord second;
    EXPECT_TRUE(ApplyModuleDetailProfile(second, L"kvr32n22s8-16"));
    const std::vector<ReportField> expected = {
        {L"Rank und Chiporganisation", L"1Rx8 (Single Rank, x8-Chips)"},
        {L"CAS-Latenz", L"CL22"},
        {L"JEDEC-Standard", L"DDR4-3200 · PC4-25600 · 1,2 V"},
        {L"Fehlerkorrektur", L"Non-ECC"},
        {L"Pufferung", L"Unbuffered (UDIMM)"},
        {L"Detailprofil-Quelle", L"Eindeutiges Herstellerprofil zur Teilenummer KVR32N22S8/16"},
    };
    EXPECT_EQ(second.fields, expected);

    for (const wchar_t* other : {L"", L"KVR32N22S8/8", L"M378A2G43AB3-CWE1", L"Nicht gemeldet"}) {
        ReportRecord record;
        EXPECT_FALSE(ApplyModuleDetailProfile(record, other)) << testing::PrintToString(std::wstring(other));
        EXPECT_TRUE(record.fields.empty());
    }
}

TEST(CollectMemoryModulesFromTable, StopsAtTheEndOfTableStructure) {
    const Walk walk(FirmwareTable({EmptySlot(), EndOfTable(), EmptySlot()}));
    EXPECT_EQ(walk.summary.slotCount, 1u);
}

TEST(CollectMemoryModulesFromTable, KeepsWhatWasReadWhenAStructureIsBroken) {
    Bytes tooShortLength = Structure(1, Bytes(8, 0), {});
    tooShortLength[1] = 3;
    Bytes zeroLength = EmptySlot();
    zeroLength[1] = 0;
    Bytes cutShort = EmptySlot();
    cutShort.resize(0x20);  // the formatted area claims 0x28 bytes, the table ends before
    const std::vector<Bytes> tables[] = {
        {EmptySlot(), tooShortLength, EmptySlot()},
        {EmptySlot(), zeroLength, EmptySlot()},
        {EmptySlot(), cutShort},
        {EmptySlot(), Bytes{17, 0x28, 0, 0}},
        {EmptySlot(), Bytes{17, 0x28, 0}},  // too little left for a structure header
    };
    for (const std::vector<Bytes>& structures : tables) {
        const Walk walk(FirmwareTable(structures));
        EXPECT_EQ(walk.summary.slotCount, 1u);
        EXPECT_EQ(Titles(walk.report), (std::vector<std::wstring>{L"BANK 0 – Frei"}));
    }
}

TEST(CollectMemoryModulesFromTable, StringsWithoutClosingDoubleNulRunToTheEndOfTheTable) {
    MemoryDeviceLayout layout;
    Bytes device = MemoryDevice(layout);
    device.pop_back();  // the set's closing NUL; "AC-16G-3200" keeps its own
    Walk walk(FirmwareTable({device}));
    EXPECT_EQ(walk.Field(0, L"Teilenummer"), L"AC-16G-3200");

    device.pop_back();  // now the last string ends at the bound without any NUL
    Walk cut(FirmwareTable({device}));
    EXPECT_EQ(cut.Field(0, L"Teilenummer"), L"AC-16G-3200");
    EXPECT_EQ(cut.Field(0, L"Seriennummer"), L"1A2B3C4D");
}

TEST(CollectMemoryModulesFromTable, HonoursTheDeclaredLengthOnlyWithinTheDeliveredBytes) {
    const Bytes structures = Concat({EmptySlot(), EmptySlot()});
    const uint32_t first = static_cast<uint32_t>(EmptySlot().size());
    EXPECT_EQ(Walk(FirmwareTable(structures, first)).summary.slotCount, 1u);
    EXPECT_EQ(Walk(FirmwareTable(structures, 0xFFFFFFFFu)).summary.slotCount, 2u);
    EXPECT_EQ(Walk(FirmwareTable(structures, first - 1)).summary.slotCount, 1u)
        << "a set cut short by the bound still ends the structure there";
}

TEST(CollectMemoryModulesFromTable, AnUnreadableTableAddsNothing) {
    for (const Bytes& table : {Bytes{}, Bytes{0, 3, 3, 0, 0, 0, 0}}) {
        const Walk walk(table);
        EXPECT_FALSE(walk.summary.found);
        EXPECT_TRUE(walk.report.categories.empty());
    }
    // A readable table without memory devices still opens the category, but finds no slots.
    const Walk noDevices(FirmwareTable(Bytes{}, 0));
    EXPECT_FALSE(noDevices.summary.found);
    ASSERT_NE(Memory(noDevices.report), nullptr);
    EXPECT_TRUE(Memory(noDevices.report)->records.empty());
}

TEST(CollectMemoryModulesFromTable, SurvivesHugeTablesAndSaturatesTheTotal) {
    // Each module claims 2 PiB; a few thousand of them exceed 64 bits.
    MemoryDeviceLayout layout;
    layout.size = 0x7FFF;
    layout.extendedSize = 0x7FFFFFFF;
    layout.strings = {};
    layout.deviceLocator = layout.bankLocator = layout.manufacturer = layout.serialNumber = layout.partNumber = 0;
    const Bytes device = MemoryDevice(layout);
    const std::vector<Bytes> devices(9000, device);
    const auto start = std::chrono::steady_clock::now();
    const Walk walk(FirmwareTable(devices));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(walk.summary.slotCount, 9000u);
    EXPECT_EQ(walk.summary.populatedCount, 9000u);
    EXPECT_EQ(walk.summary.totalBytes, std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(Memory(walk.report)->records.size(), 9000u);
    EXPECT_EQ(walk.Record(8999).title, L"BANK 8999 – Belegt");
    EXPECT_LT(elapsed, std::chrono::seconds(3)) << "the record search must not grow with the slots the walk adds";
}

TEST(CollectMemoryModulesFromTable, JoinsTheWmiRecordWithTheSameSerialNumber) {
    HardwareReport report = ReportWith({WmiModule(L"DIMM 0", L"9999", k16GiB), WmiModule(L"DIMM 1", L"1A2B-3C4D", k16GiB)});
    MemoryDeviceLayout layout;
    layout.strings = {"DIMM A1", "P0 CHANNEL A", "Acme", "1a2b3c4d", "AC-16G-3200"};
    CollectMemoryModulesFromTable(report, FirmwareTable({MemoryDevice(layout)}));
    EXPECT_EQ(Titles(report), (std::vector<std::wstring>{L"DIMM 0", L"BANK 0 – Belegt"}));
    const ReportRecord& joined = Memory(report)->records[1];
    EXPECT_EQ(GetFieldValue(joined, L"Bank"), L"BANK 0");
    EXPECT_EQ(GetFieldValue(joined, L"Seriennummer"), L"1A2B-3C4D");
    EXPECT_EQ(GetFieldValue(joined, L"Kapazität"), k16GiB);
    EXPECT_EQ(GetFieldValue(joined, L"Hersteller"), L"Acme Memory");
    EXPECT_EQ(GetFieldValue(joined, L"Steckplatzbezeichnung"), L"DIMM A1");
    EXPECT_EQ(GetFieldValue(joined, L"Bankstatus"), L"Belegt");
}

TEST(CollectMemoryModulesFromTable, JoinsByDeviceLocatorWhenTheSerialSaysNothing) {
    HardwareReport report = ReportWith({WmiModule(L"DIMM_B1", L"1", k16GiB), WmiModule(L"DIMM_A1", L"2", k8GiB)});
    MemoryDeviceLayout layout;
    layout.serialNumber = 0;
    CollectMemoryModulesFromTable(report, FirmwareTable({MemoryDevice(layout)}));
    EXPECT_EQ(Titles(report), (std::vector<std::wstring>{L"DIMM_B1", L"BANK 0 – Belegt"}));
    // The sizes disagree; both are kept.
    EXPECT_EQ(GetFieldValue(Memory(report)->records[1], L"Kapazität"), std::wstring(k8GiB) + L" · " + k16GiB);
}

TEST(CollectMemoryModulesFromTable, FallsBackToCapacityThenToTheFirstUnclaimedRecord) {
    HardwareReport report = ReportWith({WmiModule(L"A", L"x1", k8GiB), WmiModule(L"B", L"x2", k16GiB)});
    MemoryDeviceLayout first;
    first.serialNumber = 0;
    first.deviceLocator = 0;
    MemoryDeviceLayout second = first;
    second.size = 0x1000;  // 4 GiB: no capacity matches
    CollectMemoryModulesFromTable(report, FirmwareTable({MemoryDevice(first), MemoryDevice(second)}));
    EXPECT_EQ(Titles(report), (std::vector<std::wstring>{L"BANK 1 – Belegt", L"BANK 0 – Belegt"}));
}

TEST(CollectMemoryModulesFromTable, EmptySlotsAndUnmatchedModulesGetRecordsOfTheirOwn) {
    HardwareReport report = ReportWith({WmiModule(L"DIMM 0", L"77", k16GiB)});
    MemoryDeviceLayout third;
    third.strings = {"DIMM C1", "P0 CHANNEL C", "Acme", "55", "AC"};
    CollectMemoryModulesFromTable(report, FirmwareTable({EmptySlot(), MemoryDevice({}), MemoryDevice(third)}));
    EXPECT_EQ(Titles(report),
              (std::vector<std::wstring>{L"BANK 1 – Belegt", L"BANK 0 – Frei", L"BANK 2 – Belegt"}));
}

TEST(CollectMemoryModulesFromTable, NeverJoinsTwoModulesIntoOneRecord) {
    // Both modules report the same placeholder serial; each keeps a slot record of its own.
    HardwareReport report = ReportWith({WmiModule(L"DIMM 0", L"00000000", k16GiB), WmiModule(L"DIMM 1", L"00000000", k8GiB)});
    MemoryDeviceLayout a;
    a.strings = {"DIMM A1", "P0 CHANNEL A", "Acme", "00000000", "AC"};
    MemoryDeviceLayout b = a;
    b.strings = {"DIMM B1", "P0 CHANNEL B", "Acme", "00000000", "AC"};
    CollectMemoryModulesFromTable(report, FirmwareTable({MemoryDevice(a), MemoryDevice(b)}));
    EXPECT_EQ(Titles(report), (std::vector<std::wstring>{L"BANK 0 – Belegt", L"BANK 1 – Belegt"}));
    EXPECT_EQ(GetFieldValue(Memory(report)->records[0], L"SMBIOS-Banknummer"), L"0");
    EXPECT_EQ(GetFieldValue(Memory(report)->records[1], L"Steckplatzbezeichnung"), L"DIMM B1");
}

TEST(CollectMemoryModulesFromTable, IdentifiersWithoutLettersOrDigitsMatchNothing) {
    // "-" and "--" both normalise to nothing; the module must still find its capacity twin.
    HardwareReport report = ReportWith({WmiModule(L"--", L"-", k8GiB), WmiModule(L"DIMM 1", L"42", k16GiB)});
    MemoryDeviceLayout layout;
    layout.strings = {"--", "P0", "Acme", "--", "AC"};
    CollectMemoryModulesFromTable(report, FirmwareTable({MemoryDevice(layout)}));
    EXPECT_EQ(Titles(report), (std::vector<std::wstring>{L"--", L"BANK 0 – Belegt"}));
}

TEST(SmbiosString, FindsNumberedStringsAndNothingBeyondThem) {
    const Bytes set = StringSet({"  first ", "second"});
    EXPECT_EQ(SmbiosString(set, 1), L"first");
    EXPECT_EQ(SmbiosString(set, 2), L"second");
    EXPECT_EQ(SmbiosString(set, 0), L"");
    EXPECT_EQ(SmbiosString(set, 3), L"");
    EXPECT_EQ(SmbiosString(set, 255), L"");
    EXPECT_EQ(SmbiosString({}, 1), L"");
    EXPECT_EQ(SmbiosString(StringSet({}), 1), L"");
    const Bytes unterminated = {'a', 0, 'b', 'c'};
    EXPECT_EQ(SmbiosString(unterminated, 2), L"bc");
    EXPECT_EQ(SmbiosString(unterminated, 3), L"");
}

TEST(SmbiosString, ReadsUtf8AndFallsBackToTheAnsiCodePage) {
    EXPECT_EQ(SmbiosString(StringSet({"Gr\xC3\xB6\xC3\x9F" "e"}), 1), L"Größe");
    const Bytes latin = StringSet({"M\xE4rz"});
    wchar_t expected[8] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "M\xE4rz", 4, expected, 8), 4);
    EXPECT_EQ(SmbiosString(latin, 1), expected);
    if (GetACP() == 1252) {
        EXPECT_EQ(SmbiosString(latin, 1), L"März");
    }
}

TEST(ReadSmbiosWord, ReadsLittleEndianInsideTheLengthOnly) {
    const Bytes bytes = {0x11, 0x22, 0x33, 0x44, 0x55};
    uint16_t word = 7;
    EXPECT_TRUE(ReadSmbiosWord(bytes, 3, word));
    EXPECT_EQ(word, 0x5544);
    word = 7;
    EXPECT_FALSE(ReadSmbiosWord(bytes, 4, word));
    EXPECT_FALSE(ReadSmbiosWord(bytes, std::numeric_limits<size_t>::max(), word));
    EXPECT_EQ(word, 7);

    uint32_t dword = 9;
    EXPECT_TRUE(ReadSmbiosDword(bytes, 1, dword));
    EXPECT_EQ(dword, 0x55443322u);
    dword = 9;
    EXPECT_FALSE(ReadSmbiosDword(bytes, 2, dword));
    EXPECT_FALSE(ReadSmbiosDword(bytes, std::numeric_limits<size_t>::max() - 2, dword));
    EXPECT_EQ(dword, 9u);
}

TEST(MemoryTypeName, NamesKnownCodesAndMarksTheRest) {
    // The firmware's numbering, not WMI's MemoryType one (where 20 is DDR and 21 DDR2); 21 to 23 are reserved.
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"18", L"DDR"},     {L"19", L"DDR2"},          {L"20", L"DDR2 FB-DIMM"},
        {L"24", L"DDR3"},    {L"26", L"DDR4"},          {L"30", L"LPDDR4"},
        {L"34", L"DDR5"},    {L"35", L"LPDDR5"},        {L"", L"Nicht gemeldet"},
        {L"0", L"Nicht gemeldet"}, {L"21", L"SMBIOS-Code 21"}, {L"22", L"SMBIOS-Code 22"},
        {L"026", L"SMBIOS-Code 026"}, {L"Nicht gemeldet", L"Nicht gemeldet"},
    };
    for (const auto& [code, name] : cases) {
        EXPECT_EQ(MemoryTypeName(code), name) << testing::PrintToString(code);
    }
}

TEST(JedecSpeedClass, NamesTheModuleClassFromTypeAndSpeed) {
    EXPECT_EQ(JedecSpeedClass(26, 3200), L"DDR4-3200 · PC4-25600");
    EXPECT_EQ(JedecSpeedClass(34, 4800), L"DDR5-4800 · PC5-38400");
    EXPECT_EQ(JedecSpeedClass(34, 65535), L"DDR5-65535 · PC5-524280");
    EXPECT_EQ(JedecSpeedClass(24, 1600), L"DDR3-1600");
    EXPECT_EQ(JedecSpeedClass(18, 400), L"DDR-400");
    EXPECT_EQ(JedecSpeedClass(19, 800), L"DDR2-800");
    EXPECT_EQ(JedecSpeedClass(20, 667), L"DDR2 FB-DIMM-667");
    EXPECT_EQ(JedecSpeedClass(21, 400), L"SMBIOS-Code 21-400");
    EXPECT_EQ(JedecSpeedClass(0, 2400), L"Nicht gemeldet-2400");
    EXPECT_EQ(JedecSpeedClass(26, 0), L"Nicht gemeldet");
}

TEST(CollectMemoryModulesSmbios, ReadsThePlatformTableWithoutMemoryDevicesHere) {
    // The platform here delivers a table without memory devices: the category opens, no slot is found.
    HardwareReport report;
    const MemorySummary summary = CollectMemoryModulesSmbios(report);
    if (GetSystemFirmwareTable('R' << 24 | 'S' << 16 | 'M' << 8 | 'B', 0, nullptr, 0) < 8) {
        GTEST_SKIP() << "no raw SMBIOS table on this machine";
    }
    ASSERT_NE(Memory(report), nullptr);
    if (!summary.found) {
        EXPECT_TRUE(Memory(report)->records.empty());
        EXPECT_EQ(summary.slotCount, 0u);
    } else {
        EXPECT_EQ(Memory(report)->records.size(), summary.slotCount);
    }
}
