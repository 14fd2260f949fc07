#include "inventory/SmbiosMemory.h"

#include "inventory/Formatters.h"

#include <algorithm>
#include <climits>
#include <limits>
#include <vector>

#include <windows.h>

namespace {

constexpr wchar_t kMemoryCategory[] = L"Arbeitsspeicher";
constexpr wchar_t kBankStatus[] = L"Bankstatus";
constexpr wchar_t kOccupied[] = L"Belegt";
constexpr wchar_t kFree[] = L"Frei";
constexpr wchar_t kNotReportedByFirmware[] = L"Von der Firmware nicht gemeldet";

constexpr size_t kHeaderSize = 8;
constexpr size_t kStructureHeaderSize = 4;
constexpr uint8_t kMemoryDeviceType = 17;
constexpr uint8_t kEndOfTableType = 127;
constexpr size_t kMemoryDeviceMinLength = 0x15;
constexpr size_t kVoltagesMinLength = 0x28;
constexpr uint16_t kSizeUnknown = 0xFFFF;

struct CodeName {
    const wchar_t* code;
    const wchar_t* name;
};

// The firmware's type-17 codes, which Win32_PhysicalMemory.SMBIOSMemoryType passes on as they are.
// WMI's own MemoryType counts differently (20 DDR, 21 DDR2, 22 DDR2 FB-DIMM) and is never fed here.
constexpr CodeName kMemoryTypes[] = {
    {L"18", L"DDR"},    {L"19", L"DDR2"},   {L"20", L"DDR2 FB-DIMM"}, {L"24", L"DDR3"},
    {L"26", L"DDR4"},   {L"30", L"LPDDR4"}, {L"34", L"DDR5"},         {L"35", L"LPDDR5"},
    {L"", kNotReported}, {L"0", kNotReported},
    // Already a missing value: a code table never turns it into a code.
    {kNotReported, kNotReported},
};

struct LabelValue {
    const wchar_t* label;
    const wchar_t* value;
};

constexpr LabelValue kProfileM378A2G43AB3CWE[] = {
    {L"Rank und Chiporganisation", L"1Rx8 (Single Rank, x8-Chips)"},
    {L"Chipbestückung", L"8 × 2G × 8 Bit"},
    {L"CAS-Latenz", L"CL22"},
    {L"JEDEC-Standard", L"DDR4-3200AA · PC4-25600 · 1,2 V"},
    {L"Fehlerkorrektur", L"Non-ECC"},
    {L"Pufferung", L"Unbuffered (UDIMM)"},
    {L"Detailprofil-Quelle", L"Eindeutiges Herstellerprofil zur Teilenummer M378A2G43AB3-CWE"},
};

constexpr LabelValue kProfileKVR32N22S816[] = {
    {L"Rank und Chiporganisation", L"1Rx8 (Single Rank, x8-Chips)"},
    {L"CAS-Latenz", L"CL22"},
    {L"JEDEC-Standard", L"DDR4-3200 · PC4-25600 · 1,2 V"},
    {L"Fehlerkorrektur", L"Non-ECC"},
    {L"Pufferung", L"Unbuffered (UDIMM)"},
    {L"Detailprofil-Quelle", L"Eindeutiges Herstellerprofil zur Teilenummer KVR32N22S8/16"},
};

struct ModuleProfile {
    const wchar_t* key;  // the part number after NormalizeIdentifier
    std::span<const LabelValue> fields;
};

constexpr ModuleProfile kModuleProfiles[] = {
    {L"m378a2g43ab3cwe", kProfileM378A2G43AB3CWE},
    {L"kvr32n22s816", kProfileKVR32N22S816},
};

// Type Detail bits, tested in this order.
struct BufferingBit {
    uint16_t mask;
    const wchar_t* text;
};

constexpr BufferingBit kBufferingBits[] = {
    {0x8000, L"Load-Reduced DIMM"},
    {0x2000, L"Registered/Buffered"},
    {0x4000, L"Unbuffered"},
};

// The fields of one Memory Device structure; a field its length does not cover keeps its start value.
struct MemoryDevice {
    uint16_t totalWidth = 0;
    uint16_t dataWidth = 0;
    uint16_t size = 0;
    uint8_t memoryType = 0;
    uint16_t typeDetail = 0;
    uint16_t speed = 0;
    uint8_t attributes = 0;
    uint32_t extendedSize = 0;
    uint16_t configuredSpeed = 0;
    bool hasVoltages = false;
    uint16_t minimumVoltage = 0;
    uint16_t maximumVoltage = 0;
    uint16_t configuredVoltage = 0;
    std::wstring deviceLocator;
    std::wstring bankLocator;
    std::wstring manufacturer;
    std::wstring serialNumber;
    std::wstring partNumber;
};

bool ReadSmbiosByte(std::span<const uint8_t> structure, size_t offset, uint8_t& out) {
    if (offset >= structure.size()) {
        return false;
    }
    out = structure[offset];
    return true;
}

// Offsets come from the fixed layout, lengths from the firmware: compared by subtraction so
// that nothing can wrap.
bool Covers(std::span<const uint8_t> structure, size_t offset, size_t width) {
    return offset <= structure.size() && structure.size() - offset >= width;
}

std::wstring ReadStringField(std::span<const uint8_t> structure, std::span<const uint8_t> stringSet, size_t offset) {
    uint8_t index = 0;
    ReadSmbiosByte(structure, offset, index);
    return SmbiosString(stringSet, index);
}

MemoryDevice ReadMemoryDevice(std::span<const uint8_t> structure, std::span<const uint8_t> stringSet) {
    MemoryDevice device;
    ReadSmbiosWord(structure, 0x08, device.totalWidth);
    ReadSmbiosWord(structure, 0x0A, device.dataWidth);
    ReadSmbiosWord(structure, 0x0C, device.size);
    device.deviceLocator = ReadStringField(structure, stringSet, 0x10);
    device.bankLocator = ReadStringField(structure, stringSet, 0x11);
    ReadSmbiosByte(structure, 0x12, device.memoryType);
    ReadSmbiosWord(structure, 0x13, device.typeDetail);
    ReadSmbiosWord(structure, 0x15, device.speed);
    device.manufacturer = ReadStringField(structure, stringSet, 0x17);
    device.serialNumber = ReadStringField(structure, stringSet, 0x18);
    device.partNumber = ReadStringField(structure, stringSet, 0x1A);
    ReadSmbiosByte(structure, 0x1B, device.attributes);
    ReadSmbiosDword(structure, 0x1C, device.extendedSize);
    ReadSmbiosWord(structure, 0x20, device.configuredSpeed);
    // The three voltages arrived together in one revision of the layout.
    device.hasVoltages = structure.size() >= kVoltagesMinLength;
    if (device.hasVoltages) {
        ReadSmbiosWord(structure, 0x22, device.minimumVoltage);
        ReadSmbiosWord(structure, 0x24, device.maximumVoltage);
        ReadSmbiosWord(structure, 0x26, device.configuredVoltage);
    }
    return device;
}

uint64_t DecodeModuleBytes(const MemoryDevice& device) {
    constexpr uint64_t kKiB = 1024;
    constexpr uint64_t kMiB = 1024 * 1024;
    if (device.size == 0 || device.size == kSizeUnknown) {
        return 0;
    }
    if (device.size == 0x7FFF && device.extendedSize > 0) {
        return (device.extendedSize & 0x7FFFFFFFu) * kMiB;
    }
    if (device.size & 0x8000) {
        return (device.size & 0x7FFFu) * kKiB;
    }
    return device.size * kMiB;
}

std::wstring SlotTitle(uint32_t bank, bool installed) {
    return L"BANK " + std::to_wstring(bank) + L" – " + (installed ? kOccupied : kFree);
}

bool HasNoBankStatus(const ReportRecord& record) {
    return GetFieldValue(record, kBankStatus).empty();
}

// A record that another module already claimed is never joined again: two modules with the same
// serial number (cheap modules often share a placeholder) would otherwise end up in one record.
// Identifiers that normalise to nothing identify nothing.
bool MemorySlotMatches(const ReportRecord& record, const std::wstring& serialKey, const std::wstring& locatorKey) {
    if (!HasNoBankStatus(record)) {
        return false;
    }
    if (!serialKey.empty() && NormalizeIdentifier(GetFieldValue(record, L"Seriennummer")) == serialKey) {
        return true;
    }
    return !locatorKey.empty() && NormalizeIdentifier(record.title) == locatorKey;
}

bool SlotCapacityMatches(const ReportRecord& record, const std::wstring& capacity) {
    return HasNoBankStatus(record) && GetFieldValue(record, L"Kapazität") == capacity;
}

// Only the records that were there before the walk can be unclaimed: every record the walk adds
// carries "Bankstatus" from the start. Searching just those keeps a forged table with thousands of
// slots from making the walk quadratic.
ReportRecord* FindInstalledModuleRecord(ReportCategory& memory, size_t candidateCount, const MemoryDevice& device,
                                        const std::wstring& capacity) {
    const std::wstring serialKey = NormalizeIdentifier(device.serialNumber);
    const std::wstring locatorKey = NormalizeIdentifier(device.deviceLocator);
    const auto begin = memory.records.begin();
    const auto end = begin + static_cast<ptrdiff_t>(std::min(candidateCount, memory.records.size()));
    auto found = std::find_if(begin, end, [&](const ReportRecord& record) {
        return MemorySlotMatches(record, serialKey, locatorKey);
    });
    if (found == end) {
        found = std::find_if(begin, end, [&](const ReportRecord& record) { return SlotCapacityMatches(record, capacity); });
    }
    if (found == end) {
        found = std::find_if(begin, end, HasNoBankStatus);
    }
    return found == end ? nullptr : &*found;
}

std::wstring RankText(uint8_t attributes) {
    const unsigned rank = attributes & 0x0Fu;
    if (rank == 0) {
        return kNotReportedByFirmware;
    }
    if (rank == 1) {
        return L"1 Rank (1R)";
    }
    const std::wstring count = std::to_wstring(rank);
    return count + L" Ranks (" + count + L"R)";
}

std::wstring BufferingText(uint16_t typeDetail) {
    for (const BufferingBit& bit : kBufferingBits) {
        if (typeDetail & bit.mask) {
            return bit.text;
        }
    }
    return kNotReportedByFirmware;
}

void SetNonZero(ReportRecord& record, const wchar_t* label, uint16_t value, const wchar_t* unit = L"") {
    if (value != 0) {
        SetField(record, label, std::to_wstring(value) + unit);
    }
}

void SetModuleFields(ReportRecord& record, const MemoryDevice& device, const std::wstring& capacity) {
    // SetField never adds an unknown value, yet a fitted module of unknown size should say so.
    if (capacity == kNotReported && GetFieldValue(record, L"Kapazität").empty()) {
        record.fields.emplace_back(L"Kapazität", capacity);
    } else {
        SetField(record, L"Kapazität", capacity);
    }
    SetField(record, L"Hersteller", device.manufacturer);
    SetField(record, L"Seriennummer", device.serialNumber);
    SetField(record, L"Teilenummer", device.partNumber);
    SetField(record, L"Speichertyp", MemoryTypeName(std::to_wstring(device.memoryType)));
    SetNonZero(record, L"Nenntakt", device.speed, L" MHz");
    SetNonZero(record, L"Konfigurierter Takt", device.configuredSpeed, L" MHz");
    if (device.dataWidth != 0xFFFF) {
        SetField(record, L"Datenbreite (Bit)", std::to_wstring(device.dataWidth));
    }
    if (device.totalWidth != 0xFFFF) {
        SetField(record, L"Gesamtbreite inkl. ECC (Bit)", std::to_wstring(device.totalWidth));
    }
    if (!ApplyModuleDetailProfile(record, device.partNumber)) {
        SetField(record, L"Rank", RankText(device.attributes));
        SetField(record, L"Chiporganisation",
                 L"Chipbreite x4/x8/x16 ist über SMBIOS nicht verfügbar; SPD-Auslesung erforderlich");
        SetField(record, L"CAS-Latenz", L"Nicht über SMBIOS gemeldet; vollständige SPD-Timingtabelle erforderlich");
        const uint16_t classSpeed = device.configuredSpeed != 0 ? device.configuredSpeed : device.speed;
        SetField(record, L"JEDEC-Geschwindigkeitsklasse", JedecSpeedClass(device.memoryType, classSpeed));
        if (device.dataWidth != 0xFFFF && device.totalWidth != 0xFFFF && device.dataWidth != 0) {
            SetField(record, L"Fehlerkorrektur", device.totalWidth > device.dataWidth
                                                     ? L"ECC – zusätzliche Prüfbitbreite erkannt"
                                                     : L"Non-ECC");
        }
        SetField(record, L"Pufferung", BufferingText(device.typeDetail));
    }
    if (device.hasVoltages) {
        SetNonZero(record, L"Minimale Spannung (mV)", device.minimumVoltage);
        SetNonZero(record, L"Maximale Spannung (mV)", device.maximumVoltage);
        SetNonZero(record, L"Konfigurierte Spannung (mV)", device.configuredVoltage);
    }
}

void ProcessMemoryDevice(ReportCategory& memory, size_t candidateCount, MemorySummary& summary,
                         std::span<const uint8_t> structure, std::span<const uint8_t> stringSet) {
    const uint32_t bank = summary.slotCount++;
    summary.found = true;
    const MemoryDevice device = ReadMemoryDevice(structure, stringSet);
    const uint64_t bytes = DecodeModuleBytes(device);
    // 0xFFFF is a module whose size the firmware could not read, not an empty slot.
    const bool installed = bytes > 0 || device.size == kSizeUnknown;
    std::wstring capacity;
    ReportRecord* slot = nullptr;
    if (installed) {
        ++summary.populatedCount;
        // A forged table could list enough huge modules to wrap the sum.
        summary.totalBytes = bytes > std::numeric_limits<uint64_t>::max() - summary.totalBytes
                                 ? std::numeric_limits<uint64_t>::max()
                                 : summary.totalBytes + bytes;
        capacity = bytes > 0 ? FormatBytes(std::to_wstring(bytes)) : std::wstring(kNotReported);
        slot = FindInstalledModuleRecord(memory, candidateCount, device, capacity);
    }
    if (slot) {
        slot->title = SlotTitle(bank, true);
    } else {
        memory.records.push_back(ReportRecord{SlotTitle(bank, installed), {}});
        slot = &memory.records.back();
    }
    SetField(*slot, kBankStatus, installed ? kOccupied : kFree);
    SetField(*slot, L"SMBIOS-Banknummer", std::to_wstring(bank));
    SetField(*slot, L"Controller/Kanal", device.bankLocator);
    SetField(*slot, L"Steckplatzbezeichnung", device.deviceLocator);
    if (installed) {
        SetModuleFields(*slot, device, capacity);
    }
}

// Where the structure's string set ends: after its closing pair of NULs, or at the bound.
size_t NextStructure(std::span<const uint8_t> table, size_t stringsBegin) {
    for (size_t at = stringsBegin; table.size() - at >= 2; ++at) {
        if (table[at] == 0 && table[at + 1] == 0) {
            return at + 2;
        }
    }
    return table.size();
}

// The table exactly as the platform hands it out; empty when it cannot be read whole.
std::vector<uint8_t> FetchRawSmbiosTable() {
    constexpr DWORD kRawSmbiosProvider = DWORD{'R'} << 24 | DWORD{'S'} << 16 | DWORD{'M'} << 8 | DWORD{'B'};
    const UINT size = GetSystemFirmwareTable(kRawSmbiosProvider, 0, nullptr, 0);
    if (size < kHeaderSize) {
        return {};
    }
    std::vector<uint8_t> buffer(size, 0);
    if (GetSystemFirmwareTable(kRawSmbiosProvider, 0, buffer.data(), size) != size) {
        return {};
    }
    return buffer;
}

} // namespace

MemorySummary CollectMemoryModulesSmbios(HardwareReport& report) {
    const std::vector<uint8_t> firmwareTable = FetchRawSmbiosTable();
    return CollectMemoryModulesFromTable(report, firmwareTable);
}

MemorySummary CollectMemoryModulesFromTable(HardwareReport& report, std::span<const uint8_t> firmwareTable) {
    MemorySummary summary;
    if (firmwareTable.size() < kHeaderSize) {
        return summary;
    }
    uint32_t declaredLength = 0;
    ReadSmbiosDword(firmwareTable, 4, declaredLength);
    const size_t tableLength = std::min<uint64_t>(declaredLength, firmwareTable.size() - kHeaderSize);
    const std::span<const uint8_t> table = firmwareTable.subspan(kHeaderSize, tableLength);

    ReportCategory& memory = FindOrAddCategory(report.categories, kMemoryCategory);
    const size_t candidateCount = memory.records.size();
    size_t position = 0;
    while (table.size() - position >= kStructureHeaderSize) {
        const uint8_t type = table[position];
        const uint8_t length = table[position + 1];
        if (length < kStructureHeaderSize || length > table.size() - position) {
            break;
        }
        const size_t stringsBegin = position + length;
        const size_t next = NextStructure(table, stringsBegin);
        if (type == kMemoryDeviceType && length >= kMemoryDeviceMinLength) {
            ProcessMemoryDevice(memory, candidateCount, summary, table.subspan(position, length),
                                table.subspan(stringsBegin, next - stringsBegin));
        }
        if (type == kEndOfTableType) {
            break;
        }
        position = next;
    }
    return summary;
}

bool ReadSmbiosWord(std::span<const uint8_t> structure, size_t offset, uint16_t& out) {
    if (!Covers(structure, offset, 2)) {
        return false;
    }
    out = static_cast<uint16_t>(structure[offset] | structure[offset + 1] << 8);
    return true;
}

bool ReadSmbiosDword(std::span<const uint8_t> structure, size_t offset, uint32_t& out) {
    if (!Covers(structure, offset, 4)) {
        return false;
    }
    out = 0;
    for (size_t i = 4; i-- > 0;) {
        out = out << 8 | structure[offset + i];
    }
    return true;
}

std::wstring SmbiosString(std::span<const uint8_t> stringSet, uint8_t index) {
    if (index == 0 || stringSet.empty()) {
        return {};
    }
    const auto end = stringSet.end();
    auto position = stringSet.begin();
    for (unsigned number = 1; position != end && number < index; ++number) {
        position = std::find(position, end, uint8_t{0});
        if (position != end) {
            ++position;
        }
    }
    if (position == end || *position == 0) {
        return {};
    }
    const auto stringEnd = std::find(position, end, uint8_t{0});
    const char* bytes = reinterpret_cast<const char*>(&*position);
    // Longer than any firmware string; the conversion calls take an int.
    const int byteCount = static_cast<int>(std::min<ptrdiff_t>(stringEnd - position, INT_MAX));

    const bool isUtf8 = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, byteCount, nullptr, 0) >= 1;
    const UINT codePage = isUtf8 ? CP_UTF8 : CP_ACP;
    const int wideCount = MultiByteToWideChar(codePage, 0, bytes, byteCount, nullptr, 0);
    if (wideCount <= 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(wideCount), L'\0');
    const int written = MultiByteToWideChar(codePage, 0, bytes, byteCount, text.data(), wideCount);
    text.resize(static_cast<size_t>(std::max(written, 0)));
    return TrimWhitespace(std::move(text));
}

std::wstring MemoryTypeName(const std::wstring& code) {
    for (const CodeName& entry : kMemoryTypes) {
        if (code == entry.code) {
            return entry.name;
        }
    }
    return L"SMBIOS-Code " + code;
}

std::wstring JedecSpeedClass(uint8_t memoryType, uint16_t speed) {
    if (speed == 0) {
        return kNotReported;
    }
    const std::wstring rate = std::to_wstring(speed);
    const std::wstring bandwidth = std::to_wstring(uint64_t{speed} * 8);
    switch (memoryType) {
    case 26:
        return L"DDR4-" + rate + L" · PC4-" + bandwidth;
    case 34:
        return L"DDR5-" + rate + L" · PC5-" + bandwidth;
    default:
        return MemoryTypeName(std::to_wstring(memoryType)) + L"-" + rate;
    }
}

bool ApplyModuleDetailProfile(ReportRecord& record, const std::wstring& partNumber) {
    const std::wstring key = NormalizeIdentifier(partNumber);
    for (const ModuleProfile& profile : kModuleProfiles) {
        if (key == profile.key) {
            for (const LabelValue& field : profile.fields) {
                SetField(record, field.label, field.value);
            }
            return true;
        }
    }
    return false;
}
