#include "inventory/StorageCategory.h"

#include "inventory/Formatters.h"
#include "inventory/StorageCodes.h"
#include "model/Dedup.h"

#include <iterator>
#include <memory>
#include <optional>
#include <span>

namespace {

constexpr wchar_t kDeviceIndexLabel[] = L"Windows-Geräteindex";

constexpr FieldLiteral kDiskDriveFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"Bezeichnung", L"Caption"},
    {L"Seriennummer", L"SerialNumber"},
    {L"Firmware", L"FirmwareRevision"},
    {L"Schnittstelle", L"InterfaceType"},
    {L"Medientyp", L"MediaType"},
    {L"Kapazität", L"Size"},
    {L"Bytes pro Sektor", L"BytesPerSector"},
    {L"Partitionen", L"Partitions"},
    {L"PnP-Geräte-ID", L"PNPDeviceID"},
    {kDeviceIndexLabel, L"Index"},
    {L"SCSI-Bus", L"SCSIBus"},
    {L"SCSI-Port", L"SCSIPort"},
    {L"SCSI-Ziel", L"SCSITargetId"},
    {L"Fähigkeitscodes", L"Capabilities"},
    {L"Status", L"Status"},
};

constexpr QueryLiteral kDiskDriveQuery{L"SELECT * FROM Win32_DiskDrive", kStorageCategoryName, L"Model",
                                       kDiskDriveFields};

constexpr ValueRule kDiskDriveValueRules[] = {
    {LabelMatch::Exact, L"Kapazität", FormatBytes},
};

constexpr const wchar_t* kPhysicalDiskProperties[] = {
    L"DeviceId",      L"FriendlyName",      L"Manufacturer",       L"Model",
    L"SerialNumber",  L"FirmwareVersion",   L"UniqueId",           L"MediaType",
    L"BusType",       L"Size",              L"AllocatedSize",      L"LogicalSectorSize",
    L"PhysicalSectorSize", L"SpindleSpeed", L"HealthStatus",       L"OperationalStatus",
    L"CanPool",       L"IsReadOnly",
};

// The corrected-error counters are read with the others but not shown.
constexpr const wchar_t* kReliabilityProperties[] = {
    L"DeviceId",           L"Temperature",          L"TemperatureMax",        L"Wear",
    L"PowerOnHours",       L"ReadErrorsTotal",      L"ReadErrorsCorrected",   L"ReadErrorsUncorrected",
    L"WriteErrorsTotal",   L"WriteErrorsCorrected", L"WriteErrorsUncorrected", L"ReadLatencyMax",
    L"WriteLatencyMax",    L"StartStopCycleCount",  L"LoadUnloadCycleCount",  L"ManufactureDate",
};

constexpr wchar_t kTransferSpeedNote[] =
    L"Vom geräteübergreifenden Windows-Storage-Treiberweg nicht zuverlässig gemeldet; kein belastender Benchmark";

// How a physical-disk property becomes its display value.
enum class DiskValue { AsReported, Trimmed, Bytes, ByteUnit, Rpm, BusType, MediaType, Health, Boolean, TransferNote };

struct PhysicalDiskField {
    const wchar_t* label;
    const wchar_t* property;  // nullptr for the fixed transfer-speed note
    DiskValue conversion;
};

constexpr PhysicalDiskField kPhysicalDiskFields[] = {
    {kDeviceIndexLabel, L"DeviceId", DiskValue::AsReported},
    {L"Hersteller", L"Manufacturer", DiskValue::AsReported},
    {L"Modell", L"Model", DiskValue::AsReported},
    {L"Seriennummer", L"SerialNumber", DiskValue::Trimmed},
    {L"Firmware", L"FirmwareVersion", DiskValue::AsReported},
    {L"Eindeutige ID", L"UniqueId", DiskValue::AsReported},
    {L"Medientyp", L"MediaType", DiskValue::MediaType},
    {L"Bus", L"BusType", DiskValue::BusType},
    {L"Kapazität", L"Size", DiskValue::Bytes},
    {L"Belegt/zugewiesen", L"AllocatedSize", DiskValue::Bytes},
    {L"Übertragungsgeschwindigkeit", nullptr, DiskValue::TransferNote},
    {L"Logische Sektorgröße", L"LogicalSectorSize", DiskValue::ByteUnit},
    {L"Physische Sektorgröße", L"PhysicalSectorSize", DiskValue::ByteUnit},
    {L"Spindeldrehzahl", L"SpindleSpeed", DiskValue::Rpm},
    {L"Gesundheitszustand", L"HealthStatus", DiskValue::Health},
    {L"Betriebsstatus (Codes)", L"OperationalStatus", DiskValue::AsReported},
    {L"Pooling möglich", L"CanPool", DiskValue::Boolean},
    {L"Schreibgeschützt", L"IsReadOnly", DiskValue::Boolean},
};

// Reliability counters shown as reported, with a unit where they have one; the wear rating
// stands before them.
enum class CounterValue { AsReported, Temperature };

struct CounterField {
    const wchar_t* label;
    const wchar_t* property;
    const wchar_t* unit;  // appended to a reported value, blank included
    CounterValue rule;
};

constexpr CounterField kCounterFields[] = {
    {L"SSD-Temperatur", L"Temperature", L" °C", CounterValue::Temperature},
    {L"Maximal zulässige SSD-Temperatur", L"TemperatureMax", L" °C", CounterValue::Temperature},
    {L"Betriebsstunden", L"PowerOnHours", L" h", CounterValue::AsReported},
    {L"Lesefehler gesamt", L"ReadErrorsTotal", L"", CounterValue::AsReported},
    {L"Lesefehler unkorrigiert", L"ReadErrorsUncorrected", L"", CounterValue::AsReported},
    {L"Schreibfehler gesamt", L"WriteErrorsTotal", L"", CounterValue::AsReported},
    {L"Schreibfehler unkorrigiert", L"WriteErrorsUncorrected", L"", CounterValue::AsReported},
    {L"Maximale Leselatenz", L"ReadLatencyMax", L" ms", CounterValue::AsReported},
    {L"Maximale Schreiblatenz", L"WriteLatencyMax", L" ms", CounterValue::AsReported},
    {L"Start-/Stoppzyklen", L"StartStopCycleCount", L"", CounterValue::AsReported},
    {L"Lade-/Entladezyklen", L"LoadUnloadCycleCount", L"", CounterValue::AsReported},
    {L"Herstellungsdatum", L"ManufactureDate", L"", CounterValue::AsReported},
};

std::vector<std::wstring> PropertyList(std::span<const wchar_t* const> names) {
    return std::vector<std::wstring>(names.begin(), names.end());
}

// Units are appended only to what the drive reported.
std::wstring WithUnit(const std::wstring& value, const wchar_t* unit) {
    return value == kNotReported ? value : value + unit;
}

std::wstring PhysicalDiskValue(const WmiRow& row, const PhysicalDiskField& field) {
    if (field.conversion == DiskValue::TransferNote) {
        return kTransferSpeedNote;
    }
    const std::wstring value = GetRowValue(row, field.property, kNotReported);
    switch (field.conversion) {
    case DiskValue::Trimmed: return TrimmedOrNotReported(value);
    case DiskValue::Bytes: return FormatBytes(value);
    case DiskValue::ByteUnit: return WithUnit(value, L" Byte");
    case DiskValue::Rpm: return WithUnit(value, L" U/min");
    case DiskValue::BusType: return FormatBusType(value);
    case DiskValue::MediaType: return FormatMediaType(value);
    case DiskValue::Health: return FormatHealthStatus(value);
    case DiskValue::Boolean: return FormatBoolean(value);
    case DiskValue::AsReported:
    case DiskValue::TransferNote: break;
    }
    return value;
}

std::wstring CounterValueText(const WmiRow& row, const CounterField& field) {
    const std::wstring value = GetRowValue(row, field.property, L"");
    const bool shown = field.rule == CounterValue::Temperature ? IsPlausibleSsdTemperature(value) : !value.empty();
    return shown ? value + field.unit : std::wstring();
}

ReportRecord* FindByDeviceIndex(ReportCategory& drives, const std::wstring& deviceId) {
    if (deviceId.empty()) {
        return nullptr;
    }
    for (ReportRecord& record : drives.records) {
        if (GetFieldValue(record, kDeviceIndexLabel) == deviceId) {
            return &record;
        }
    }
    return nullptr;
}

} // namespace

void ConvertDiskDriveValues(ReportRecord& drive) {
    for (ReportField& field : drive.fields) {
        field.second = TrimmedOrNotReported(field.second);
    }
    ApplyValueRules(drive, kDiskDriveValueRules);
}

ReportRecord BuildPhysicalDiskRecord(const WmiRow& row) {
    ReportRecord record;
    record.title = TrimmedOrNotReported(GetRowValue(row, L"FriendlyName", kNotReported));
    record.fields.reserve(std::size(kPhysicalDiskFields));
    for (const PhysicalDiskField& field : kPhysicalDiskFields) {
        record.fields.emplace_back(field.label, PhysicalDiskValue(row, field));
    }
    return record;
}

void AddReliabilityFields(ReportRecord& record, const WmiRow& row) {
    if (const std::optional<SsdWearRating> rating = RateSsdWear(GetRowValue(row, L"Wear", L""))) {
        SetField(record, L"SSD-Restlebensdauer", rating->remainingLife);
        SetField(record, L"SSD-Verschleiß", rating->wear);
        SetField(record, L"Zustandsbewertung", rating->condition);
    }
    for (const CounterField& field : kCounterFields) {
        SetField(record, field.label, CounterValueText(row, field));
    }
}

void AddReliabilityCounters(ReportCategory& drives, const std::vector<WmiRow>& rows) {
    for (const WmiRow& row : rows) {
        const std::wstring deviceId = GetRowValue(row, L"DeviceId", L"");
        ReportRecord* target = FindByDeviceIndex(drives, deviceId);
        if (!target) {
            // A row without DeviceId still keeps its counters, on a drive that says it is unidentified.
            const std::wstring title = deviceId.empty() ? L"Datenträger" : L"Datenträger " + deviceId;
            const std::wstring index = deviceId.empty() ? std::wstring(kNotReported) : deviceId;
            drives.records.push_back(ReportRecord{title, {{kDeviceIndexLabel, index}}});
            target = &drives.records.back();
        }
        AddReliabilityFields(*target, row);
    }
}

void AddStorageNamespaceData(ReportCategory& drives, const std::vector<WmiRow>& disks,
                             const std::vector<WmiRow>& reliability) {
    for (const WmiRow& row : disks) {
        drives.records.push_back(BuildPhysicalDiskRecord(row));
    }
    AddReliabilityCounters(drives, reliability);
    DeduplicateRecords(drives);
}

void CollectStorageDevices(ScanContext& scan) {
    CollectStorageDevicesFrom(scan, kStorageNamespace);
}

void CollectStorageDevicesFrom(ScanContext& scan, const std::wstring& storageNamespace) {
    // Only this query's records are converted: a capacity text formatted once would not survive a second pass.
    const size_t firstDiskDrive = FindOrAddCategory(scan.report.categories, kStorageCategoryName).records.size();
    RunQueryLiteral(scan.report, scan.wmi, kDiskDriveQuery);
    std::vector<ReportRecord>& records = FindOrAddCategory(scan.report.categories, kStorageCategoryName).records;
    for (size_t i = firstDiskDrive; i < records.size(); ++i) {
        ConvertDiskDriveValues(records[i]);
    }

    scan.storage = scan.wmi.OpenNamespace(storageNamespace);
    if (!scan.storage->IsConnected()) {
        scan.report.hints.push_back(scan.storage->LastError());
        return;
    }
    // Failed or empty storage queries stay silent: many machines simply lack these classes.
    const std::vector<WmiRow> disks =
        scan.storage->Query(L"SELECT * FROM MSFT_PhysicalDisk", PropertyList(kPhysicalDiskProperties));
    const std::vector<WmiRow> reliability =
        scan.storage->Query(L"SELECT * FROM MSFT_StorageReliabilityCounter", PropertyList(kReliabilityProperties));
    AddStorageNamespaceData(FindOrAddCategory(scan.report.categories, kStorageCategoryName), disks, reliability);
}
