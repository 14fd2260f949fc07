#pragma once

// "Sensoren": fans and temperature probes of the management classes, the ACPI thermal zones, the
// sensors of the hardware-monitor tools when their WMI interface is active, and a closing record
// that explains why nothing usable was found.

#include "inventory/ScanSteps.h"
#include "model/Report.h"
#include "wmi/WmiSession.h"

#include <string>

inline constexpr wchar_t kSensorsCategoryName[] = L"Sensoren";
inline constexpr wchar_t kSensorAvailabilityTitle[] = L"Sensorverfügbarkeit";

// Turns every probe reading in tenths of kelvin into "Temperatur" in degrees Celsius, in place.
void RelabelProbeReadings(ReportCategory& sensors);

// One row of MSAcpi_ThermalZoneTemperature.
ReportRecord BuildThermalZoneRecord(const WmiRow& row);
// One row of a hardware-monitor tool's Sensor class.
ReportRecord BuildHardwareMonitorRecord(const WmiRow& row);

// True when some field "Temperatur" or "Lüfterdrehzahl" holds a reported, plausible value.
bool HasUsableSensorReading(const ReportCategory& sensors);
ReportRecord BuildSensorAvailabilityRecord();
// Appends the availability record unless a usable reading is already there.
void AddSensorAvailabilityIfNeeded(ReportCategory& sensors);

// Every sensor source in order, ending with the availability test.
void CollectSensors(ScanContext& scan);
