#include "inventory/SensorsCategory.h"

#include "inventory/RecordedWmi.h"
#include "inventory/ScanPasses.h"
#include "wmi/WmiRecording.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

ReportRecord Record(const std::wstring& title, std::vector<ReportField> fields) {
    return ReportRecord{title, std::move(fields)};
}

ReportCategory Sensors(std::vector<ReportRecord> records) {
    return ReportCategory{L"Sensoren", std::move(records)};
}

std::vector<std::wstring> Titles(const ReportCategory& category) {
    std::vector<std::wstring> titles;
    for (const ReportRecord& record : category.records) {
        titles.push_back(record.title);
    }
    return titles;
}

// A probe record as the table step builds it, with the reading still in tenths of kelvin.
ReportRecord Probe(const std::wstring& reading) {
    return Record(L"Sonde", {
        {L"Geräte-ID", L"root\\cimv2 0"},
        {L"Aktueller Messwert (1/10 Kelvin)", reading},
        {L"Genauigkeit", L"5"},
        {L"Untere kritische Schwelle", L"2732"},
        {L"Obere kritische Schwelle", L"3732"},
    });
}

ReportRecord Fan() {
    return Record(L"Lüfter", {
        {L"Geräte-ID", L"FAN0"},
        {L"Soll-Drehzahl", L"2400"},
        {L"Variable Drehzahl", L"TRUE"},
        {L"Aktive Kühlung", L"TRUE"},
        {L"Status", L"OK"},
    });
}

} // namespace

TEST(RelabelProbeReadings, TurnsTheReadingIntoCelsiusInItsPlace) {
    ReportCategory sensors = Sensors({Fan(), Probe(L"3010")});
    RelabelProbeReadings(sensors);
    const std::vector<ReportField> expected = {
        {L"Geräte-ID", L"root\\cimv2 0"},
        {L"Temperatur", L"27.9 °C"},
        {L"Genauigkeit", L"5"},
        {L"Untere kritische Schwelle", L"2732"},
        {L"Obere kritische Schwelle", L"3732"},
    };
    EXPECT_EQ(sensors.records[1].fields, expected);
    EXPECT_EQ(sensors.records[0].fields, Fan().fields);
}

TEST(RelabelProbeReadings, KeepsMissingAndMarksImplausibleReadingsInEveryRecord) {
    ReportCategory sensors = Sensors({Probe(L"Nicht gemeldet"), Probe(L"0"), Probe(L"3232")});
    RelabelProbeReadings(sensors);
    EXPECT_EQ(GetFieldValue(sensors.records[0], L"Temperatur"), L"Nicht gemeldet");
    EXPECT_EQ(GetFieldValue(sensors.records[1], L"Temperatur"), L"Nicht plausibel: 0");
    EXPECT_EQ(GetFieldValue(sensors.records[2], L"Temperatur"), L"50.1 °C");
}

TEST(RelabelProbeReadings, MatchesTheLabelExactly) {
    ReportCategory sensors = Sensors({Record(L"Sonde", {{L"aktueller Messwert (1/10 Kelvin)", L"3010"},
                                                        {L"Aktueller Messwert (1/10 Kelvin) ", L"3010"}})});
    RelabelProbeReadings(sensors);
    EXPECT_EQ(sensors.records[0].fields[0], (ReportField{L"aktueller Messwert (1/10 Kelvin)", L"3010"}));
    EXPECT_EQ(sensors.records[0].fields[1], (ReportField{L"Aktueller Messwert (1/10 Kelvin) ", L"3010"}));
}

TEST(BuildThermalZoneRecord, ConvertsTheThreeTemperaturesAndTheActiveFlag) {
    const WmiRow row = {
        {L"InstanceName", L"ACPI\\ThermalZone\\TZ00_0"},
        {L"CurrentTemperature", L"3131"},
        {L"CriticalTripPoint", L"3732"},
        {L"PassiveTripPoint", L"3582"},
        {L"Active", L"True"},
    };
    const ReportRecord record = BuildThermalZoneRecord(row);
    EXPECT_EQ(record.title, L"ACPI-Temperaturzone: ACPI\\ThermalZone\\TZ00_0");
    const std::vector<ReportField> expected = {
        {L"Temperatur", L"40.0 °C"},
        {L"Kritische Temperatur", L"100.1 °C"},
        {L"Passive Kühlschwelle", L"85.1 °C"},
        {L"Sensor aktiv", L"Ja"},
    };
    EXPECT_EQ(record.fields, expected);
}

TEST(BuildThermalZoneRecord, EmptyRowKeepsEveryFieldAsNotReported) {
    const ReportRecord record = BuildThermalZoneRecord({});
    EXPECT_EQ(record.title, L"ACPI-Temperaturzone: Nicht gemeldet");
    ASSERT_EQ(record.fields.size(), 4u);
    for (const ReportField& field : record.fields) {
        EXPECT_EQ(field.second, L"Nicht gemeldet") << testing::PrintToString(field.first);
    }
}

TEST(BuildThermalZoneRecord, ZeroKelvinIsImplausible) {
    const ReportRecord record = BuildThermalZoneRecord({{L"CurrentTemperature", L"0"}, {L"Active", L"False"}});
    EXPECT_EQ(GetFieldValue(record, L"Temperatur"), L"Nicht plausibel: 0");
    EXPECT_EQ(GetFieldValue(record, L"Sensor aktiv"), L"Nein");
}

TEST(BuildHardwareMonitorRecord, LoadSensorGetsPercentOnAllThreeReadings) {
    const WmiRow row = {
        {L"Name", L"CPU Total"}, {L"Identifier", L"/amdcpu/0/load/0"}, {L"SensorType", L"Load"},
        {L"Value", L"12.5"},     {L"Min", L"0.4"},                     {L"Max", L"98"},
        {L"Parent", L"/amdcpu/0"},
    };
    const ReportRecord record = BuildHardwareMonitorRecord(row);
    EXPECT_EQ(record.title, L"CPU Total");
    const std::vector<ReportField> expected = {
        {L"Auslastung", L"12.5 %"},
        {L"Minimum", L"0.4 %"},
        {L"Maximum", L"98 %"},
        {L"Sensor-ID", L"/amdcpu/0/load/0"},
        {L"Übergeordnetes Gerät", L"/amdcpu/0"},
    };
    EXPECT_EQ(record.fields, expected);
}

TEST(BuildHardwareMonitorRecord, FanAndTemperatureGetTheirLabelAndUnitWithoutConversion) {
    const ReportRecord fan = BuildHardwareMonitorRecord({{L"SensorType", L"Fan"}, {L"Value", L"1200"}});
    EXPECT_EQ(fan.fields[0], (ReportField{L"Lüfterdrehzahl", L"1200 U/min"}));
    const ReportRecord cpu = BuildHardwareMonitorRecord({{L"SensorType", L"Temperature"}, {L"Value", L"45.25"},
                                                         {L"Max", L"3010"}});
    EXPECT_EQ(cpu.fields[0], (ReportField{L"Temperatur", L"45.25 °C"}));
    EXPECT_EQ(cpu.fields[2], (ReportField{L"Maximum", L"3010 °C"}));
}

TEST(BuildHardwareMonitorRecord, SensorTypeIsComparedCaseSensitively) {
    const ReportRecord lower = BuildHardwareMonitorRecord({{L"SensorType", L"temperature"}, {L"Value", L"45"}});
    EXPECT_EQ(lower.fields[0], (ReportField{L"Auslastung", L"45 %"}));
    const ReportRecord untyped = BuildHardwareMonitorRecord({{L"Value", L"45"}});
    EXPECT_EQ(untyped.fields[0], (ReportField{L"Auslastung", L"45 %"}));
}

TEST(BuildHardwareMonitorRecord, MissingOrEmptyReadingsGainNoUnit) {
    const ReportRecord record =
        BuildHardwareMonitorRecord({{L"SensorType", L"Fan"}, {L"Value", L""}, {L"Name", L""}});
    const std::vector<ReportField> expected = {
        {L"Lüfterdrehzahl", L"Nicht gemeldet"},
        {L"Minimum", L"Nicht gemeldet"},
        {L"Maximum", L"Nicht gemeldet"},
        {L"Sensor-ID", L"Nicht gemeldet"},
        {L"Übergeordnetes Gerät", L"Nicht gemeldet"},
    };
    EXPECT_EQ(record.fields, expected);
    EXPECT_EQ(record.title, L"Nicht gemeldet");
    EXPECT_EQ(BuildHardwareMonitorRecord({{L"Name", L" \t"}}).title, L"Nicht gemeldet");
}

TEST(AddSensorAvailabilityIfNeeded, EmptyCategoryGetsExactlyTheExplanation) {
    ReportCategory sensors = Sensors({});
    AddSensorAvailabilityIfNeeded(sensors);
    ASSERT_EQ(sensors.records.size(), 1u);
    EXPECT_EQ(sensors.records[0].title, L"Sensorverfügbarkeit");
    const std::vector<ReportField> expected = {
        {L"Ergebnis", L"Die Firmware und die installierten Treiber melden Windows keine standardisiert auslesbaren "
                      L"Temperatur- oder Lüfterwerte."},
        {L"Erweiterte Sensorquellen", L"LibreHardwareMonitor und OpenHardwareMonitor werden automatisch übernommen, "
                                      L"wenn deren WMI-Schnittstelle aktiv ist."},
    };
    EXPECT_EQ(sensors.records[0].fields, expected);
}

TEST(AddSensorAvailabilityIfNeeded, OnlyTemperatureAndFanSpeedCount) {
    // Each of these holds a real number under a label that is no usable reading.
    ReportCategory sensors = Sensors({
        Fan(),
        Record(L"Zone", {{L"Kritische Temperatur", L"100.1 °C"}, {L"Passive Kühlschwelle", L"85.0 °C"}}),
        Record(L"CPU Total", {{L"Auslastung", L"12.5 %"}}),
        Record(L"Sonde", {{L"Temperatur ", L"30.0 °C"}}),
    });
    AddSensorAvailabilityIfNeeded(sensors);
    EXPECT_EQ(Titles(sensors),
              (std::vector<std::wstring>{L"Lüfter", L"Zone", L"CPU Total", L"Sonde", L"Sensorverfügbarkeit"}));
}

TEST(AddSensorAvailabilityIfNeeded, UnknownAndImplausibleReadingsDoNotCount) {
    ReportCategory sensors = Sensors({
        Record(L"Zone", {{L"Temperatur", L"Nicht plausibel: 0"}}),
        Record(L"Sonde", {{L"Temperatur", L"Nicht gemeldet"}}),
        Record(L"Lüfter", {{L"Lüfterdrehzahl", L"Unbekannt"}}),
        Record(L"Lüfter 2", {{L"Lüfterdrehzahl", L""}}),
    });
    AddSensorAvailabilityIfNeeded(sensors);
    ASSERT_EQ(sensors.records.size(), 5u);
    EXPECT_EQ(sensors.records.back().title, L"Sensorverfügbarkeit");
}

TEST(AddSensorAvailabilityIfNeeded, OneUsableReadingAnywhereIsEnough) {
    ReportCategory withTemperature = Sensors({
        Record(L"Zone", {{L"Temperatur", L"Nicht plausibel: 0"}}),
        Record(L"Sonde", {{L"Geräte-ID", L"1"}, {L"Temperatur", L"27.9 °C"}}),
    });
    AddSensorAvailabilityIfNeeded(withTemperature);
    EXPECT_EQ(withTemperature.records.size(), 2u);

    ReportCategory withFan = Sensors({Fan(), Record(L"Lüfter", {{L"Lüfterdrehzahl", L"1200 U/min"}})});
    AddSensorAvailabilityIfNeeded(withFan);
    EXPECT_EQ(withFan.records.size(), 2u);
}

TEST(AddSensorAvailabilityIfNeeded, ProbeReadingCountsOnceRelabelled) {
    ReportCategory sensors = Sensors({Fan(), Probe(L"3010")});
    RelabelProbeReadings(sensors);
    AddSensorAvailabilityIfNeeded(sensors);
    EXPECT_EQ(Titles(sensors), (std::vector<std::wstring>{L"Lüfter", L"Sonde"}));
}

TEST(AddSensorAvailabilityIfNeeded, HardwareMonitorRowsCountByTheirKind) {
    ReportCategory loadsOnly = Sensors({BuildHardwareMonitorRecord({{L"SensorType", L"Load"}, {L"Value", L"50"}})});
    AddSensorAvailabilityIfNeeded(loadsOnly);
    EXPECT_EQ(loadsOnly.records.size(), 2u);

    ReportCategory emptyTemperature = Sensors({BuildHardwareMonitorRecord({{L"SensorType", L"Temperature"}})});
    AddSensorAvailabilityIfNeeded(emptyTemperature);
    EXPECT_EQ(emptyTemperature.records.size(), 2u);

    ReportCategory temperature =
        Sensors({BuildHardwareMonitorRecord({{L"SensorType", L"Temperature"}, {L"Value", L"41"}})});
    AddSensorAvailabilityIfNeeded(temperature);
    EXPECT_EQ(temperature.records.size(), 1u);
}

TEST(BuildHardwareMonitorRecord, SameSensorFromBothToolsEndsAsOneRecordAfterTheFinalPass) {
    const WmiRow libre = {{L"Name", L"CPU Package"}, {L"SensorType", L"Temperature"}, {L"Value", L"48"},
                          {L"Identifier", L"/intelcpu/0/temperature/0"}};
    WmiRow open = libre;
    open[L"Value"] = L"49";
    std::vector<ReportCategory> categories = {
        Sensors({BuildHardwareMonitorRecord(libre), BuildHardwareMonitorRecord(open),
                 BuildHardwareMonitorRecord({{L"Name", L"GPU Core"}, {L"SensorType", L"Temperature"}})})};
    RunFinalPass(categories);
    ASSERT_EQ(categories.size(), 1u);
    EXPECT_EQ(Titles(categories[0]), (std::vector<std::wstring>{L"CPU Package", L"GPU Core"}));
}

// Rows shaped after the class documentation: two Win32_TemperatureProbe rows (Windows' own
// provider leaves CurrentReading NULL, a provider that fills it gives tenths of kelvin), an ACPI
// thermal zone of ROOT\WMI, and one sensor in each hardware-monitor namespace (real32 readings).
TEST(CollectSensors, ReadsEverySourceFromItsNamespaceWithProbeReadingsInCelsius) {
    const std::wstring sensorQuery =
        L"SELECT * FROM Sensor WHERE SensorType='Temperature' OR SensorType='Fan' OR SensorType='Load'";
    WmiRecording recording;
    recording.answers = {
        {L"ROOT\\CIMV2", L"SELECT * FROM Win32_TemperatureProbe", {
            {
                {L"Name", CimString(L"Numeric Sensor")},
                {L"Description", CimString(L"CPU Thermal Probe")},
                {L"DeviceID", CimString(L"root\\cimv2 0")},
                {L"CurrentReading", CimNull(CIM_SINT32)},
                {L"Accuracy", CimNull(CIM_SINT32)},
                {L"Resolution", CimNull(CIM_UINT32)},
                {L"Tolerance", CimNull(CIM_SINT32)},
                {L"LowerThresholdCritical", CimNull(CIM_SINT32)},
                {L"UpperThresholdCritical", CimNull(CIM_SINT32)},
                {L"Status", CimString(L"Unknown")},
            },
            {
                {L"Name", CimString(L"Numeric Sensor")},
                {L"DeviceID", CimString(L"root\\cimv2 1")},
                {L"CurrentReading", CimSint32(3182)},
                {L"Accuracy", CimSint32(200)},
                {L"Resolution", CimUint32(10)},
                {L"Tolerance", CimSint32(20)},
                {L"LowerThresholdCritical", CimSint32(2732)},
                {L"UpperThresholdCritical", CimSint32(3732)},
                {L"Status", CimString(L"OK")},
            },
        }},
        {L"ROOT\\WMI", L"SELECT * FROM MSAcpi_ThermalZoneTemperature", {{
            {L"InstanceName", CimString(L"ACPI\\ThermalZone\\TZ00_0")},
            {L"Active", CimBoolean(true)},
            {L"ActiveTripPoint", CimIntegerArray(CIM_UINT32, {3432, 3332, 0, 0, 0, 0, 0, 0, 0, 0})},
            {L"ActiveTripPointCount", CimUint32(2)},
            {L"CriticalTripPoint", CimUint32(3782)},
            {L"CurrentTemperature", CimUint32(3002)},
            {L"PassiveTripPoint", CimUint32(3632)},
            {L"SamplingPeriod", CimUint32(0)},
        }}},
        {L"ROOT\\LibreHardwareMonitor", sensorQuery, {{
            {L"Name", CimString(L"CPU Package")},
            {L"Identifier", CimString(L"/intelcpu/0/temperature/8")},
            {L"SensorType", CimString(L"Temperature")},
            {L"Value", CimReal32(46.0f)},
            {L"Min", CimReal32(34.0f)},
            {L"Max", CimReal32(71.0f)},
            {L"Parent", CimString(L"/intelcpu/0")},
            {L"Index", CimSint32(8)},
        }}},
        {L"ROOT\\OpenHardwareMonitor", sensorQuery, {{
            {L"Name", CimString(L"Fan #2")},
            {L"Identifier", CimString(L"/lpc/nct6791d/fan/1")},
            {L"SensorType", CimString(L"Fan")},
            {L"Value", CimReal32(1125.0f)},
            {L"Min", CimReal32(1098.0f)},
            {L"Max", CimReal32(1206.0f)},
            {L"Parent", CimString(L"/lpc/nct6791d")},
            {L"Index", CimSint32(1)},
        }}},
    };
    HardwareReport report;
    WmiSession wmi(L"ROOT\\CIMV2", recording);
    ScanContext scan{report, wmi};
    CollectSensors(scan);

    EXPECT_EQ(recording.opened, (std::vector<std::wstring>{L"ROOT\\CIMV2", L"ROOT\\WMI", L"ROOT\\LibreHardwareMonitor",
                                                           L"ROOT\\OpenHardwareMonitor"}));
    const std::vector<std::pair<std::wstring, std::wstring>> sent = {
        {L"ROOT\\CIMV2", L"SELECT * FROM Win32_Fan"},
        {L"ROOT\\CIMV2", L"SELECT * FROM Win32_TemperatureProbe"},
        {L"ROOT\\WMI", L"SELECT * FROM MSAcpi_ThermalZoneTemperature"},
        {L"ROOT\\LibreHardwareMonitor", sensorQuery},
        {L"ROOT\\OpenHardwareMonitor", sensorQuery},
    };
    EXPECT_EQ(recording.sent, sent);
    EXPECT_TRUE(report.hints.empty()) << testing::PrintToString(report.hints);
    ASSERT_EQ(report.categories.size(), 1u);
    const ReportCategory& sensors = report.categories[0];
    ASSERT_EQ(Titles(sensors), (std::vector<std::wstring>{L"Numeric Sensor", L"Numeric Sensor",
                                                          L"ACPI-Temperaturzone: ACPI\\ThermalZone\\TZ00_0",
                                                          L"CPU Package", L"Fan #2"}));
    const std::vector<ReportField> probe = {
        {L"Geräte-ID", L"root\\cimv2 1"},
        {L"Temperatur", L"45.1 °C"},
        {L"Genauigkeit", L"200"},
        {L"Auflösung", L"10"},
        {L"Toleranz", L"20"},
        {L"Untere kritische Schwelle", L"2732"},
        {L"Obere kritische Schwelle", L"3732"},
        {L"Status", L"OK"},
    };
    EXPECT_EQ(sensors.records[1].fields, probe);
    EXPECT_EQ(GetFieldValue(sensors.records[0], L"Temperatur"), L"Nicht gemeldet");
    const std::vector<ReportField> zone = {
        {L"Temperatur", L"27.1 °C"},
        {L"Kritische Temperatur", L"105.1 °C"},
        {L"Passive Kühlschwelle", L"90.1 °C"},
        {L"Sensor aktiv", L"Ja"},
    };
    EXPECT_EQ(sensors.records[2].fields, zone);
    EXPECT_EQ(sensors.records[3].fields[0], (ReportField{L"Temperatur", L"46 °C"}));
    EXPECT_EQ(sensors.records[3].fields[3], (ReportField{L"Sensor-ID", L"/intelcpu/0/temperature/8"}));
    EXPECT_EQ(sensors.records[4].fields[0], (ReportField{L"Lüfterdrehzahl", L"1125 U/min"}));
    EXPECT_EQ(sensors.records[4].fields[4], (ReportField{L"Übergeordnetes Gerät", L"/lpc/nct6791d"}));
}
