#pragma once

// Code tables and the SSD wear rating of the drives category; plain logic, no platform calls.

#include "model/Report.h"

#include <optional>
#include <string>

// MSFT_PhysicalDisk.BusType: "11" to "SATA"; an unlisted code reads "Windows-Code <code>".
std::wstring FormatBusType(const std::wstring& code);
// MSFT_PhysicalDisk.MediaType: "4" to "SSD"; an unlisted code reads "Windows-Code <code>".
std::wstring FormatMediaType(const std::wstring& code);
// MSFT_PhysicalDisk.HealthStatus: "0" to "Gut"; an unlisted code stays as it is.
std::wstring FormatHealthStatus(const std::wstring& code);

struct SsdWearRating {
    std::wstring remainingLife;  // "93 %"
    std::wstring wear;           // "7 %"
    std::wstring condition;      // "Gut", "Beobachten" or "Kritisch"
};

// Wear is the used part of the rated life in percent. Nothing when it is not a whole number
// from 0 to 100: an unreadable counter must not pass for a new drive.
std::optional<SsdWearRating> RateSsdWear(const std::wstring& wearText);

// A drive temperature in °C counts when its number lies strictly between 0 and 150.
bool IsPlausibleSsdTemperature(const std::wstring& text);
