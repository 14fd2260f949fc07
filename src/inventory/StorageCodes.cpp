#include "inventory/StorageCodes.h"

#include "inventory/Formatters.h"

#include <algorithm>
#include <cstdint>
#include <span>

namespace {

struct CodeText {
    const wchar_t* code;
    const wchar_t* text;
};

constexpr CodeText kBusTypes[] = {
    {L"7", L"USB"},  {L"8", L"RAID"}, {L"9", L"iSCSI"}, {L"10", L"SAS"},
    {L"11", L"SATA"}, {L"12", L"SD"},  {L"13", L"MMC"},  {L"17", L"NVMe"},
    {L"18", L"Microsoft Reserved"},
};

constexpr CodeText kMediaTypes[] = {
    {L"3", L"HDD"},
    {L"4", L"SSD"},
    {L"5", L"SCM"},
    {L"0", L"Unbekannt"},
};

constexpr CodeText kHealthStates[] = {
    {L"0", L"Gut"},
    {L"1", L"Warnung"},
    {L"2", L"Kritisch"},
    {L"5", L"Unbekannt"},
};

struct WearStep {
    uint64_t below;  // the first wear percentage that no longer earns this condition
    const wchar_t* condition;
};

constexpr WearStep kWearSteps[] = {
    {20, L"Gut"},
    {50, L"Beobachten"},
    {101, L"Kritisch"},
};

constexpr uint64_t kMaxWear = 100;
constexpr uint64_t kTemperatureLimit = 150;

// Codes are compared as text, exactly; unlistedPrefix goes before a code the table lacks.
std::wstring LookUpCode(std::span<const CodeText> table, const std::wstring& code, const wchar_t* unlistedPrefix) {
    if (code.empty()) {
        return kNotReported;
    }
    if (code == kNotReported) {
        return code;
    }
    for (const CodeText& entry : table) {
        if (code == entry.code) {
            return entry.text;
        }
    }
    return unlistedPrefix + code;
}

// Plain decimal digits only: a sign, a fraction or trailing text make the counter unreadable.
// Leading zeros are allowed; more than three significant digits exceed any percentage.
std::optional<uint64_t> ReadPercentage(const std::wstring& text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigitChar)) {
        return std::nullopt;
    }
    const size_t firstSignificant = text.find_first_not_of(L'0');
    if (firstSignificant != std::wstring::npos && text.size() - firstSignificant > 3) {
        return std::nullopt;
    }
    return ParseUInt(text);
}

} // namespace

std::wstring FormatBusType(const std::wstring& code) {
    return LookUpCode(kBusTypes, code, L"Windows-Code ");
}

std::wstring FormatMediaType(const std::wstring& code) {
    return LookUpCode(kMediaTypes, code, L"Windows-Code ");
}

std::wstring FormatHealthStatus(const std::wstring& code) {
    return LookUpCode(kHealthStates, code, L"");
}

std::optional<SsdWearRating> RateSsdWear(const std::wstring& wearText) {
    const std::optional<uint64_t> wear = ReadPercentage(wearText);
    if (!wear || *wear > kMaxWear) {
        return std::nullopt;
    }
    const auto step = std::find_if(std::begin(kWearSteps), std::end(kWearSteps),
                                   [&](const WearStep& candidate) { return *wear < candidate.below; });
    SsdWearRating rating;
    rating.remainingLife = std::to_wstring(kMaxWear - *wear) + L" %";
    rating.wear = std::to_wstring(*wear) + L" %";
    rating.condition = step->condition;
    return rating;
}

bool IsPlausibleSsdTemperature(const std::wstring& text) {
    const uint64_t degrees = ParseUInt(text);
    return degrees > 0 && degrees < kTemperatureLimit;
}
