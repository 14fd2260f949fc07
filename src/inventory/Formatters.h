#pragma once

// Turns raw source texts into display texts. Every formatter returns a new text and never
// fails: what it cannot convert stays as it was, or reads "Nicht gemeldet" when empty.

#include "model/Report.h"

#include <cstdint>
#include <span>
#include <string>

// "16.00 GiB (17179869184 Byte)"; 0 and texts that are no number stay unchanged.
std::wstring FormatBytes(const std::wstring& text);
// CIM datetime "20230115…" to "15.01.2023".
std::wstring FormatCimDate(const std::wstring& text);
// WMI boolean texts to "Ja" or "Nein".
std::wstring FormatBoolean(const std::wstring& text);
// Tenths of kelvin to "30.1 °C", or "Nicht plausibel: <text>" outside -100 … 250 °C.
std::wstring FormatTemperature(const std::wstring& text);
std::wstring FormatMhz(const std::wstring& text);
// Win32_Processor.Architecture code to its name.
std::wstring FormatArchitecture(const std::wstring& text);
// The text without surrounding white space; a text of blanks only is as unreported as a missing one.
std::wstring TrimmedOrNotReported(const std::wstring& text);

// "3 Tage, 04:05:06" since the machine started.
std::wstring FormatUptime();
// The clock-free half of FormatUptime.
std::wstring FormatDuration(uint64_t seconds);
// "DD.MM.YYYY HH:MM:SS" in local time.
std::wstring FormatLocalTimestamp();

bool IsDigitChar(wchar_t c);

// Formats the values of fields chosen by their label; labels themselves never change.
enum class LabelMatch { Exact, Contains };

struct ValueRule {
    LabelMatch match;
    const wchar_t* label;
    std::wstring (*format)(const std::wstring& value);
};

// Every rule whose label matches is applied, in the order of the rules.
void ApplyValueRules(ReportRecord& record, std::span<const ValueRule> rules);
void ApplyValueRules(ReportCategory& category, std::span<const ValueRule> rules);
