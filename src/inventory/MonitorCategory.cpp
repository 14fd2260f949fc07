#include "inventory/MonitorCategory.h"

#include "inventory/Formatters.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>

namespace {

struct ConnectorEntry {
    uint32_t code;
    const wchar_t* name;
};

constexpr ConnectorEntry kConnectors[] = {
    {4, L"DVI"},
    {5, L"HDMI"},
    {6, L"LVDS"},
    {10, L"DisplayPort"},
    {11, L"Embedded DisplayPort"},
    {16, L"Indirekt (kabelgebunden)"},
    {17, L"Virtuell"},
    {0x80000000u, L"Intern"},
};

constexpr wchar_t kDisplayPrefix[] = L"DISPLAY\\";
constexpr wchar_t kPnpIdLabel[] = L"PnP-Geräte-ID";
constexpr wchar_t kHardwareIdLabel[] = L"Monitor-Hardwarekennung";
constexpr wchar_t kDevicePathLabel[] = L"Monitor-Gerätepfad";

// Display numbers never follow the user's locale: a point, no grouping.
std::wstring FixedNotation(double value, int decimals) {
    std::wostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed << std::setprecision(decimals) << value;
    return out.str();
}

std::wstring RowValue(const WmiRow& row, const wchar_t* property) {
    return GetRowValue(row, property, kNotReported);
}

// The first display-path record whose device path and the instance name contain one another.
ReportRecord* FindJoinedRecord(ReportCategory& monitors, const std::wstring& instanceId) {
    if (instanceId.empty()) {
        return nullptr;
    }
    for (ReportRecord& record : monitors.records) {
        const std::wstring pathId = NormalizeIdentifier(GetFieldValue(record, kDevicePathLabel));
        if (!pathId.empty() &&
            (pathId.find(instanceId) != std::wstring::npos || instanceId.find(pathId) != std::wstring::npos)) {
            return &record;
        }
    }
    return nullptr;
}

void AddDisplayParams(ReportRecord& record, const WmiRow& params) {
    const uint64_t horizontal = ParseUInt(RowValue(params, L"MaxHorizontalImageSize"));
    const uint64_t vertical = ParseUInt(RowValue(params, L"MaxVerticalImageSize"));
    if (horizontal != 0 && vertical != 0) {
        SetField(record, L"Sichtbare Größe",
                 std::to_wstring(horizontal) + L" × " + std::to_wstring(vertical) + L" cm");
        // Squared in floating point: a nonsensical size must not wrap around into a small diagonal.
        const double h = static_cast<double>(horizontal);
        const double v = static_cast<double>(vertical);
        SetField(record, L"Diagonale", FixedNotation(std::sqrt(h * h + v * v) / 2.54, 1) + L" Zoll");
    }
    SetField(record, L"Signaleingang", RowValue(params, L"VideoInputType") == L"1" ? L"Digital" : L"Analog");
}

void AddEdidRow(ReportCategory& monitors, const WmiRow& ids, const std::vector<WmiRow>& params) {
    const std::wstring instance = RowValue(ids, L"InstanceName");
    const std::wstring instanceId = NormalizeIdentifier(instance);

    ReportRecord* record = FindJoinedRecord(monitors, instanceId);
    if (record == nullptr) {
        monitors.records.push_back(ReportRecord{L"Monitor (EDID)", {}});
        record = &monitors.records.back();
    }

    const std::wstring friendly = DecodeWmiCodeArray(RowValue(ids, L"UserFriendlyName"));
    if (!friendly.empty()) {
        record->title = friendly;
    }
    SetField(*record, L"EDID-Instanz", instance);
    SetField(*record, kHardwareIdLabel, MonitorHardwareId(instance));
    SetField(*record, L"Herstellerkennung", DecodeWmiCodeArray(RowValue(ids, L"ManufacturerName")));
    SetField(*record, L"Modell-/Produktcode", DecodeWmiCodeArray(RowValue(ids, L"ProductCodeID")));
    SetField(*record, L"Seriennummer", DecodeWmiCodeArray(RowValue(ids, L"SerialNumberID")));
    SetField(*record, L"Herstellungswoche", RowValue(ids, L"WeekOfManufacture"));
    SetField(*record, L"Herstellungsjahr", RowValue(ids, L"YearOfManufacture"));
    SetField(*record, L"Aktiv", FormatBoolean(RowValue(ids, L"Active")));

    const auto match = std::find_if(params.begin(), params.end(), MonitorInstanceMatches{instanceId});
    if (match != params.end()) {
        AddDisplayParams(*record, *match);
    }
}

} // namespace

std::wstring MonitorHardwareId(std::wstring text) {
    std::replace(text.begin(), text.end(), L'#', L'\\');
    const size_t start = text.find(kDisplayPrefix);
    if (start == std::wstring::npos) {
        return {};
    }
    const size_t idBegin = start + std::size(kDisplayPrefix) - 1;
    const size_t idEnd = text.find(L'\\', idBegin);
    if (idEnd == std::wstring::npos || idEnd == idBegin) {
        return {};
    }
    return text.substr(start, idEnd - start);
}

std::wstring ConnectorName(uint32_t outputTechnology) {
    for (const ConnectorEntry& entry : kConnectors) {
        if (entry.code == outputTechnology) {
            return entry.name;
        }
    }
    // The platform's enumeration is signed: "other" is -1, not 4294967295.
    return L"Windows-Code " + std::to_wstring(static_cast<int32_t>(outputTechnology));
}

std::wstring DecodeWmiCodeArray(const std::wstring& text) {
    std::wstring decoded;
    size_t itemBegin = 0;
    while (itemBegin <= text.size()) {
        size_t itemEnd = text.find(L';', itemBegin);
        if (itemEnd == std::wstring::npos) {
            itemEnd = text.size();
        }
        const uint64_t code = ParseUInt(TrimWhitespace(text.substr(itemBegin, itemEnd - itemBegin)));
        if (code == 0) {
            break;
        }
        if (code <= 0xFFFF) {
            decoded.push_back(static_cast<wchar_t>(code));
        }
        itemBegin = itemEnd + 1;
    }
    return TrimWhitespace(std::move(decoded));
}

bool MonitorInstanceMatches::operator()(const WmiRow& row) const {
    return NormalizeIdentifier(RowValue(row, L"InstanceName")) == instanceId;
}

ReportRecord BuildDisplayPathRecord(const DisplayPathInfo& path) {
    ReportRecord record{path.friendlyName.empty() ? L"Aktiver Monitor" : path.friendlyName, {}};
    SetField(record, kDevicePathLabel, path.devicePath);
    SetField(record, kHardwareIdLabel, MonitorHardwareId(path.devicePath));
    SetField(record, L"Windows-Anzeigename", path.gdiDeviceName);
    SetField(record, L"Anschluss", ConnectorName(path.outputTechnology));
    // A rate of 0 is the platform saying it does not know (a virtual screen reports 0/1), not a
    // display refreshing at 0 Hz.
    if (path.refreshNumerator != 0 && path.refreshDenominator != 0) {
        const double hertz = static_cast<double>(path.refreshNumerator) / path.refreshDenominator;
        SetField(record, L"Aktuelle Bildwiederholfrequenz", FixedNotation(hertz, 3) + L" Hz");
    }
    if (path.hasSourceMode) {
        SetField(record, L"Aktive Auflösung",
                 std::to_wstring(path.width) + L" × " + std::to_wstring(path.height) + L" Pixel");
        SetField(record, L"Pixelformat (Code)", std::to_wstring(path.pixelFormat));
    }
    SetField(record, L"EDID-Name verfügbar", path.friendlyNameFromEdid ? L"Ja" : L"Nein");
    return record;
}

void AddHardwareIdsFromPnpIds(ReportCategory& monitors) {
    for (ReportRecord& record : monitors.records) {
        SetField(record, kHardwareIdLabel, MonitorHardwareId(GetFieldValue(record, kPnpIdLabel)));
    }
}

void AddEdidRows(ReportCategory& monitors, const std::vector<WmiRow>& ids, const std::vector<WmiRow>& params) {
    for (const WmiRow& row : ids) {
        AddEdidRow(monitors, row, params);
    }
}
