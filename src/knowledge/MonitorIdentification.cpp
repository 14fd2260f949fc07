#include "knowledge/MonitorIdentification.h"

#include "knowledge/KnowledgeBase.h"

#include <algorithm>
#include <cwctype>
#include <string_view>

namespace {

constexpr std::wstring_view kDisplayPrefix = L"DISPLAY";
constexpr size_t kMakerCodeLength = 3;
constexpr size_t kProductCodeLength = 4;

// Merging joins two different values of one label with " · ". Only the first one is a
// single code; running both together would glue the second onto the product code.
std::wstring FirstCode(const ReportRecord& record, const std::wstring& label) {
    const std::wstring value = GetFieldValue(record, label);
    return NormalizeCode(value.substr(0, value.find(L" · ")));
}

const PnpVendorEntry* FindPnpVendor(const std::wstring& code) {
    for (const PnpVendorEntry& entry : PnpVendorTable()) {
        if (entry.code == code) {
            return &entry;
        }
    }
    return nullptr;
}

const MonitorModelEntry* FindMonitorModel(const std::wstring& vendorCode, const std::wstring& productCode) {
    for (const MonitorModelEntry& entry : KnownMonitorModels()) {
        if (entry.vendorCode == vendorCode && entry.productCode == productCode) {
            return &entry;
        }
    }
    return nullptr;
}

// Windows gives a display without EDID the hardware id DISPLAY\Default_Monitor: that names
// neither a maker nor a product. Only an EDID id, three letters and four hex digits, does.
bool HasEdidShape(std::wstring_view id) {
    constexpr std::wstring_view hexDigits = L"0123456789ABCDEF";
    if (id.size() != kMakerCodeLength + kProductCodeLength) {
        return false;
    }
    const auto isLetter = [](wchar_t c) { return c >= L'A' && c <= L'Z'; };
    const auto isHex = [&](wchar_t c) { return hexDigits.find(c) != std::wstring_view::npos; };
    const std::wstring_view maker = id.substr(0, kMakerCodeLength);
    const std::wstring_view product = id.substr(kMakerCodeLength);
    return std::all_of(maker.begin(), maker.end(), isLetter) && std::all_of(product.begin(), product.end(), isHex);
}

} // namespace

std::wstring NormalizeCode(const std::wstring& text) {
    std::wstring code;
    code.reserve(text.size());
    for (wchar_t c : text) {
        if (std::iswalnum(static_cast<wint_t>(c))) {
            code.push_back(static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))));
        }
    }
    return code;
}

void IdentifyMonitor(ReportRecord& record) {
    std::wstring manufacturerCode = FirstCode(record, L"Herstellerkennung");
    std::wstring productCode = FirstCode(record, L"Modell-/Produktcode");
    const std::wstring hardwareKey = FirstCode(record, L"Monitor-Hardwarekennung");

    // The hardware id is the maker code and the product code behind "DISPLAY\"; it only
    // fills in what the EDID fields left open.
    if (hardwareKey.starts_with(kDisplayPrefix) &&
        HasEdidShape(std::wstring_view(hardwareKey).substr(kDisplayPrefix.size()))) {
        if (manufacturerCode.empty()) {
            manufacturerCode = hardwareKey.substr(kDisplayPrefix.size(), kMakerCodeLength);
        }
        if (productCode.empty()) {
            productCode = hardwareKey.substr(kDisplayPrefix.size() + kMakerCodeLength);
        }
    }
    if (manufacturerCode.size() > kMakerCodeLength) {
        manufacturerCode.resize(kMakerCodeLength);
    }

    if (const PnpVendorEntry* vendor = FindPnpVendor(manufacturerCode)) {
        AddFieldIfMissing(record, L"Herstellerkennung (aufgelöst)", manufacturerCode + L" – " + vendor->name);
        AddFieldIfMissing(record, L"Hersteller (EDID-Profil)", vendor->name);
    } else if (!manufacturerCode.empty()) {
        AddFieldIfMissing(record, L"Herstellerkennung (aufgelöst)",
                          manufacturerCode + L" – unbekannte oder nicht hinterlegte PNP-/EDID-Kennung");
    }

    if (const MonitorModelEntry* model = FindMonitorModel(manufacturerCode, productCode)) {
        AddFieldIfMissing(record, L"Modell-/Produktcode (aufgelöst)", productCode + L" – " + model->model);
        AddFieldIfMissing(record, L"Monitormodell (EDID-Profil)", model->model);
        if (IsGenericMonitorName(record.title)) {
            record.title = model->model;
        }
    } else if (!productCode.empty()) {
        if (IsGenericMonitorName(record.title)) {
            AddFieldIfMissing(record, L"Modell-/Produktcode (aufgelöst)",
                              productCode + L" – herstellerspezifischer Code; Modell nicht eindeutig hinterlegt");
        } else {
            AddFieldIfMissing(record, L"Modell-/Produktcode (aufgelöst)",
                              productCode + L" – " + record.title + L" (vom Monitor/Windows gemeldet)");
            AddFieldIfMissing(record, L"Monitormodell (EDID-/Windows-Meldung)", record.title);
        }
    }
}

const std::vector<PnpVendorEntry>& PnpVendorTable() {
    static const std::vector<PnpVendorEntry> vendors = {
        {L"ACI", L"ASUSTeK Computer Inc."},
        {L"ACR", L"Acer"},
        {L"AOC", L"AOC International"},
        {L"APP", L"Apple"},
        {L"AUO", L"AU Optronics"},
        {L"BNQ", L"BenQ"},
        {L"BOE", L"BOE Technology Group"},
        {L"CMN", L"Innolux (ehemals Chi Mei)"},
        {L"CMO", L"Chi Mei Optoelectronics"},
        {L"CSO", L"China Star Optoelectronics"},
        {L"DEL", L"Dell Technologies"},
        {L"EIZ", L"EIZO"},
        {L"EPI", L"Envision Peripherals"},
        {L"FUS", L"Fujitsu Siemens"},
        {L"FUJ", L"Fujitsu"},
        {L"GBT", L"GIGABYTE Technology"},
        {L"GSM", L"LG Electronics"},
        {L"HIT", L"Hitachi"},
        {L"HKC", L"HKC"},
        {L"HPN", L"HP Inc."},
        {L"HWP", L"Hewlett-Packard"},
        {L"INN", L"Innolux"},
        {L"IVO", L"InfoVision Optoelectronics"},
        {L"IVM", L"iiyama"},
        {L"LEN", L"Lenovo"},
        {L"LGD", L"LG Display"},
        {L"LPL", L"LG.Philips LCD"},
        {L"MED", L"MEDION"},
        {L"MEI", L"Panasonic / Matsushita Electric"},
        {L"MSI", L"Micro-Star International"},
        {L"NEC", L"NEC Display Solutions"},
        {L"PAN", L"Panasonic"},
        {L"PHL", L"Philips"},
        {L"QDS", L"Quanta Display"},
        {L"SAM", L"Samsung Electronics"},
        {L"SDC", L"Samsung Display"},
        {L"SEC", L"Samsung Electronics"},
        {L"SHR", L"Sharp"},
        {L"SNY", L"Sony"},
        {L"TOS", L"Toshiba"},
        {L"VIZ", L"VIZIO"},
        {L"VSC", L"ViewSonic"},
    };
    return vendors;
}

const std::vector<MonitorModelEntry>& KnownMonitorModels() {
    static const std::vector<MonitorModelEntry> models = {
        {L"DEL", L"A20B", L"Dell UltraSharp U2723QE"},
        {L"GSM", L"5B9A", L"LG UltraGear 27GP850-B"},
    };
    return models;
}
