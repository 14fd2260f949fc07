#include "inventory/SensorsCategory.h"

#include "inventory/Formatters.h"

#include <memory>
#include <span>
#include <vector>

namespace {

constexpr wchar_t kProbeReadingLabel[] = L"Aktueller Messwert (1/10 Kelvin)";
constexpr wchar_t kTemperatureLabel[] = L"Temperatur";
constexpr wchar_t kFanSpeedLabel[] = L"Lüfterdrehzahl";

constexpr FieldLiteral kFanFields[] = {
    {L"Geräte-ID", L"DeviceID"},
    {L"Soll-Drehzahl", L"DesiredSpeed"},
    {L"Variable Drehzahl", L"VariableSpeed"},
    {L"Aktive Kühlung", L"ActiveCooling"},
    {L"Status", L"Status"},
};

constexpr FieldLiteral kProbeFields[] = {
    {L"Geräte-ID", L"DeviceID"},
    {kProbeReadingLabel, L"CurrentReading"},
    {L"Genauigkeit", L"Accuracy"},
    {L"Auflösung", L"Resolution"},
    {L"Toleranz", L"Tolerance"},
    {L"Untere kritische Schwelle", L"LowerThresholdCritical"},
    {L"Obere kritische Schwelle", L"UpperThresholdCritical"},
    {L"Status", L"Status"},
};

constexpr QueryLiteral kFanQuery{L"SELECT * FROM Win32_Fan", kSensorsCategoryName, L"Name", kFanFields};
constexpr QueryLiteral kProbeQuery{L"SELECT * FROM Win32_TemperatureProbe", kSensorsCategoryName, L"Name",
                                   kProbeFields};

constexpr wchar_t kThermalNamespace[] = L"ROOT\\WMI";
constexpr wchar_t kThermalZoneQuery[] = L"SELECT * FROM MSAcpi_ThermalZoneTemperature";
constexpr const wchar_t* kThermalZoneProperties[] = {L"InstanceName", L"CurrentTemperature", L"CriticalTripPoint",
                                                     L"PassiveTripPoint", L"Active"};

constexpr const wchar_t* kHardwareMonitorNamespaces[] = {L"ROOT\\LibreHardwareMonitor", L"ROOT\\OpenHardwareMonitor"};
constexpr wchar_t kHardwareMonitorQuery[] =
    L"SELECT * FROM Sensor WHERE SensorType='Temperature' OR SensorType='Fan' OR SensorType='Load'";
constexpr const wchar_t* kHardwareMonitorProperties[] = {L"Name", L"Identifier", L"SensorType", L"Value",
                                                         L"Min", L"Max", L"Parent"};

struct SensorKind {
    const wchar_t* sensorType;  // compared exactly, case included
    const wchar_t* label;
    const wchar_t* unit;
};

constexpr SensorKind kSensorKinds[] = {
    {L"Temperature", kTemperatureLabel, L" °C"},
    {L"Fan", kFanSpeedLabel, L" U/min"},
};

// Every other kind, a missing one included, reads as a load.
constexpr SensorKind kLoadKind{L"Load", L"Auslastung", L" %"};

const SensorKind& FindSensorKind(const std::wstring& sensorType) {
    for (const SensorKind& kind : kSensorKinds) {
        if (sensorType == kind.sensorType) {
            return kind;
        }
    }
    return kLoadKind;
}

std::vector<std::wstring> PropertyList(std::span<const wchar_t* const> names) {
    return {names.begin(), names.end()};
}

// A missing reading never gains the unit.
std::wstring ReadingWithUnit(const WmiRow& row, const wchar_t* property, const wchar_t* unit) {
    const std::wstring value = GetRowValue(row, property, L"");
    return value.empty() ? std::wstring(kNotReported) : value + unit;
}

// The namespace exists only while the tool's WMI interface runs, so a missing one is no fault.
void ScanHardwareMonitor(ScanContext& scan, const wchar_t* namespacePath) {
    const std::unique_ptr<WmiSession> monitor = scan.wmi.OpenNamespace(namespacePath);
    if (!monitor->IsConnected()) {
        return;
    }
    const std::vector<WmiRow> sensors = monitor->Query(kHardwareMonitorQuery, PropertyList(kHardwareMonitorProperties));
    ReportCategory& category = FindOrAddCategory(scan.report.categories, kSensorsCategoryName);
    for (const WmiRow& row : sensors) {
        category.records.push_back(BuildHardwareMonitorRecord(row));
    }
}

void CollectThermalZones(ScanContext& scan) {
    scan.thermal = scan.wmi.OpenNamespace(kThermalNamespace);
    if (!scan.thermal->IsConnected()) {
        return;
    }
    const std::vector<WmiRow> zones = scan.thermal->Query(kThermalZoneQuery, PropertyList(kThermalZoneProperties));
    ReportCategory& category = FindOrAddCategory(scan.report.categories, kSensorsCategoryName);
    for (const WmiRow& row : zones) {
        category.records.push_back(BuildThermalZoneRecord(row));
    }
}

} // namespace

void RelabelProbeReadings(ReportCategory& sensors) {
    for (ReportRecord& record : sensors.records) {
        for (ReportField& field : record.fields) {
            if (field.first == kProbeReadingLabel) {
                field.first = kTemperatureLabel;
                field.second = FormatTemperature(field.second);
            }
        }
    }
}

ReportRecord BuildThermalZoneRecord(const WmiRow& row) {
    ReportRecord record{L"ACPI-Temperaturzone: " + GetRowValue(row, L"InstanceName", kNotReported), {}};
    record.fields.emplace_back(kTemperatureLabel, FormatTemperature(GetRowValue(row, L"CurrentTemperature", L"")));
    record.fields.emplace_back(L"Kritische Temperatur", FormatTemperature(GetRowValue(row, L"CriticalTripPoint", L"")));
    record.fields.emplace_back(L"Passive Kühlschwelle", FormatTemperature(GetRowValue(row, L"PassiveTripPoint", L"")));
    record.fields.emplace_back(L"Sensor aktiv", FormatBoolean(GetRowValue(row, L"Active", L"")));
    return record;
}

ReportRecord BuildHardwareMonitorRecord(const WmiRow& row) {
    const SensorKind& kind = FindSensorKind(GetRowValue(row, L"SensorType", kNotReported));
    ReportRecord record{TrimmedOrNotReported(GetRowValue(row, L"Name", kNotReported)), {}};
    record.fields.emplace_back(kind.label, ReadingWithUnit(row, L"Value", kind.unit));
    record.fields.emplace_back(L"Minimum", ReadingWithUnit(row, L"Min", kind.unit));
    record.fields.emplace_back(L"Maximum", ReadingWithUnit(row, L"Max", kind.unit));
    record.fields.emplace_back(L"Sensor-ID", GetRowValue(row, L"Identifier", kNotReported));
    record.fields.emplace_back(L"Übergeordnetes Gerät", GetRowValue(row, L"Parent", kNotReported));
    return record;
}

bool HasUsableSensorReading(const ReportCategory& sensors) {
    for (const ReportRecord& record : sensors.records) {
        for (const ReportField& field : record.fields) {
            const bool reading = field.first == kTemperatureLabel || field.first == kFanSpeedLabel;
            if (reading && !IsUnknownValue(field.second) && field.second.find(L"Nicht plausibel") == std::wstring::npos) {
                return true;
            }
        }
    }
    return false;
}

ReportRecord BuildSensorAvailabilityRecord() {
    return ReportRecord{
        kSensorAvailabilityTitle,
        {
            {L"Ergebnis", L"Die Firmware und die installierten Treiber melden Windows keine standardisiert "
                          L"auslesbaren Temperatur- oder Lüfterwerte."},
            {L"Erweiterte Sensorquellen", L"LibreHardwareMonitor und OpenHardwareMonitor werden automatisch "
                                          L"übernommen, wenn deren WMI-Schnittstelle aktiv ist."},
        }};
}

void AddSensorAvailabilityIfNeeded(ReportCategory& sensors) {
    if (!HasUsableSensorReading(sensors)) {
        sensors.records.push_back(BuildSensorAvailabilityRecord());
    }
}

void CollectSensors(ScanContext& scan) {
    RunQueryLiteral(scan.report, scan.wmi, kFanQuery);
    RunQueryLiteral(scan.report, scan.wmi, kProbeQuery);
    RelabelProbeReadings(FindOrAddCategory(scan.report.categories, kSensorsCategoryName));
    CollectThermalZones(scan);
    for (const wchar_t* namespacePath : kHardwareMonitorNamespaces) {
        ScanHardwareMonitor(scan, namespacePath);
    }
    AddSensorAvailabilityIfNeeded(FindOrAddCategory(scan.report.categories, kSensorsCategoryName));
}
