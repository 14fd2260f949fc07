#include "inventory/SystemCategories.h"

#include "inventory/Formatters.h"

#include <vector>

namespace {

constexpr wchar_t kSystem[] = L"System";
constexpr wchar_t kWindows[] = L"Windows";
constexpr wchar_t kProcessor[] = L"Prozessor";
constexpr wchar_t kMainboard[] = L"Mainboard & BIOS";
constexpr wchar_t kChipset[] = L"Chipsatz & Systemgeräte";

constexpr FieldLiteral kComputerSystemFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"Modell", L"Model"},
    {L"Systemtyp", L"SystemType"},
    {L"Installierter Arbeitsspeicher", L"TotalPhysicalMemory"},
    {L"CPU-Sockel", L"NumberOfProcessors"},
    {L"Logische Prozessoren", L"NumberOfLogicalProcessors"},
    {L"Hypervisor erkannt", L"HypervisorPresent"},
    {L"Domäne", L"Domain"},
    {L"Arbeitsgruppe", L"Workgroup"},
    {L"PC-Systemtyp (Code)", L"PCSystemType"},
    {L"Gehäuse-SKU", L"ChassisSKUNumber"},
};

constexpr FieldLiteral kProductFields[] = {
    {L"Hersteller", L"Vendor"},
    {L"Version", L"Version"},
    {L"Serien-/Identifikationsnummer", L"IdentifyingNumber"},
    {L"System-UUID", L"UUID"},
    {L"SKU", L"SKUNumber"},
};

constexpr FieldLiteral kEnclosureFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"Modell", L"Model"},
    {L"Seriennummer", L"SerialNumber"},
    {L"Asset-Tag", L"SMBIOSAssetTag"},
    {L"Gehäusetyp-Codes", L"ChassisTypes"},
    {L"Teilenummer", L"PartNumber"},
    {L"Version", L"Version"},
    {L"Gehäuseschloss", L"LockPresent"},
    {L"Sicherheitsstatus-Code", L"SecurityStatus"},
};

constexpr FieldLiteral kOperatingSystemFields[] = {
    {L"Version", L"Version"},
    {L"Build", L"BuildNumber"},
    {L"Architektur", L"OSArchitecture"},
    {L"Installiert am", L"InstallDate"},
    {L"Letzter Systemstart", L"LastBootUpTime"},
    {L"Windows-Verzeichnis", L"WindowsDirectory"},
    {L"Systemverzeichnis", L"SystemDirectory"},
    {L"Gebietsschema", L"Locale"},
    {L"Zeitzone (Minuten)", L"CurrentTimeZone"},
    {L"Freier physischer Speicher (KiB)", L"FreePhysicalMemory"},
    {L"Freier virtueller Speicher (KiB)", L"FreeVirtualMemory"},
    {L"Virtueller Speicher gesamt (KiB)", L"TotalVirtualMemorySize"},
};

constexpr FieldLiteral kProcessorFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"Beschreibung", L"Description"},
    {L"Prozessor-ID", L"ProcessorId"},
    {L"Sockel", L"SocketDesignation"},
    {L"Architektur", L"Architecture"},
    {L"Adressbreite", L"AddressWidth"},
    {L"Datenbreite", L"DataWidth"},
    {L"Physische Kerne", L"NumberOfCores"},
    {L"Aktivierte Kerne", L"NumberOfEnabledCore"},
    {L"Logische Prozessoren", L"NumberOfLogicalProcessors"},
    {L"Aktueller Takt", L"CurrentClockSpeed"},
    {L"Maximaler Takt", L"MaxClockSpeed"},
    {L"Externer Takt", L"ExtClock"},
    {L"L2-Cache (KiB)", L"L2CacheSize"},
    {L"L3-Cache (KiB)", L"L3CacheSize"},
    {L"Revision", L"Revision"},
    {L"Stepping", L"Stepping"},
    {L"Familie (Code)", L"Family"},
    {L"Virtualisierung in Firmware", L"VirtualizationFirmwareEnabled"},
    {L"VM-Monitor-Erweiterungen", L"VMMonitorModeExtensions"},
    {L"Second Level Address Translation", L"SecondLevelAddressTranslationExtensions"},
    {L"Status", L"Status"},
};

constexpr FieldLiteral kCacheFields[] = {
    {L"Cache-Level (Code)", L"Level"},
    {L"Cachetyp (Code)", L"CacheType"},
    {L"Installiert (KiB)", L"InstalledSize"},
    {L"Maximal (KiB)", L"MaxCacheSize"},
    {L"Blockgröße", L"BlockSize"},
    {L"Assoziativität (Code)", L"Associativity"},
    {L"Fehlerkorrektur (Code)", L"ErrorCorrectType"},
    {L"Status", L"Status"},
};

constexpr FieldLiteral kBaseBoardFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"Modell", L"Model"},
    {L"Version", L"Version"},
    {L"Seriennummer", L"SerialNumber"},
    {L"Teilenummer", L"PartNumber"},
    {L"SKU", L"SKU"},
    {L"Trägerplatine", L"HostingBoard"},
    {L"Hot-Swap-fähig", L"HotSwappable"},
    {L"Entfernbar", L"Removable"},
    {L"Austauschbar", L"Replaceable"},
    {L"Status", L"Status"},
};

constexpr FieldLiteral kBiosFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"SMBIOS-BIOS-Version", L"SMBIOSBIOSVersion"},
    {L"Firmwareversion", L"Version"},
    {L"Veröffentlichungsdatum", L"ReleaseDate"},
    {L"Seriennummer", L"SerialNumber"},
    {L"BIOS-Versionsstrings", L"BIOSVersion"},
    {L"SMBIOS-Hauptversion", L"SMBIOSMajorVersion"},
    {L"SMBIOS-Nebenversion", L"SMBIOSMinorVersion"},
    {L"Embedded Controller Hauptversion", L"EmbeddedControllerMajorVersion"},
    {L"Embedded Controller Nebenversion", L"EmbeddedControllerMinorVersion"},
    {L"BIOS-Fähigkeitscodes", L"BiosCharacteristics"},
    {L"Verfügbare BIOS-Sprachen", L"ListOfLanguages"},
    {L"Aktuelle BIOS-Sprache", L"CurrentLanguage"},
    {L"Installierbare Sprachen", L"InstallableLanguages"},
    {L"Primäres BIOS", L"PrimaryBIOS"},
    {L"Firmwarezustand (Code)", L"SoftwareElementState"},
    {L"Status", L"Status"},
};

constexpr FieldLiteral kChipsetDriverFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"PnP-Geräte-ID", L"DeviceID"},
    {L"Treiberanbieter", L"DriverProviderName"},
    {L"Treiberversion", L"DriverVersion"},
    {L"Treiberdatum", L"DriverDate"},
    {L"INF-Datei", L"InfName"},
    {L"Signiert", L"IsSigned"},
    {L"Signaturgeber", L"Signer"},
};

constexpr QueryLiteral kComputerSystemQuery{L"SELECT * FROM Win32_ComputerSystem", kSystem, L"Name", kComputerSystemFields};
constexpr QueryLiteral kProductQuery{L"SELECT * FROM Win32_ComputerSystemProduct", kSystem, L"Name", kProductFields};
constexpr QueryLiteral kEnclosureQuery{L"SELECT * FROM Win32_SystemEnclosure", kSystem, L"Name", kEnclosureFields};
constexpr QueryLiteral kOperatingSystemQuery{L"SELECT * FROM Win32_OperatingSystem", kWindows, L"Caption",
                                             kOperatingSystemFields};
constexpr QueryLiteral kProcessorQuery{L"SELECT * FROM Win32_Processor", kProcessor, L"Name", kProcessorFields};
constexpr QueryLiteral kCacheQuery{L"SELECT * FROM Win32_CacheMemory", kProcessor, L"Name", kCacheFields};
constexpr QueryLiteral kBaseBoardQuery{L"SELECT * FROM Win32_BaseBoard", kMainboard, L"Product", kBaseBoardFields};
constexpr QueryLiteral kBiosQuery{L"SELECT * FROM Win32_BIOS", kMainboard, L"Name", kBiosFields};
constexpr QueryLiteral kChipsetDriverQuery{L"SELECT * FROM Win32_PnPSignedDriver WHERE DeviceClass='SYSTEM'", kChipset,
                                           L"DeviceName", kChipsetDriverFields};

constexpr ValueRule kSystemValueRules[] = {
    {LabelMatch::Exact, L"Installierter Arbeitsspeicher", FormatBytes},
    {LabelMatch::Exact, L"Hypervisor erkannt", FormatBoolean},
};

constexpr ValueRule kProcessorValueRules[] = {
    {LabelMatch::Exact, L"Architektur", FormatArchitecture},
    {LabelMatch::Contains, L"Takt", FormatMhz},
    {LabelMatch::Exact, L"Virtualisierung in Firmware", FormatBoolean},
    {LabelMatch::Exact, L"VM-Monitor-Erweiterungen", FormatBoolean},
    {LabelMatch::Exact, L"Second Level Address Translation", FormatBoolean},
};

struct RegistryFirmwareValue {
    const wchar_t* label;
    const wchar_t* valueName;
};

constexpr wchar_t kFirmwareKey[] = L"HARDWARE\\DESCRIPTION\\System\\BIOS";

constexpr RegistryFirmwareValue kRegistryFirmwareValues[] = {
    {L"BIOS-Hersteller", L"BIOSVendor"},
    {L"BIOS-Version", L"BIOSVersion"},
    {L"BIOS-Datum", L"BIOSReleaseDate"},
    {L"Systemhersteller", L"SystemManufacturer"},
    {L"Systemprodukt", L"SystemProductName"},
    {L"System-SKU", L"SystemSKU"},
    {L"Mainboard-Hersteller", L"BaseBoardManufacturer"},
    {L"Mainboard-Modell", L"BaseBoardProduct"},
    {L"Mainboard-Version", L"BaseBoardVersion"},
    {L"Embedded-Controller-Version", L"EmbeddedControllerVersion"},
};

} // namespace

void ConvertSystemValues(ReportCategory& system) {
    ApplyValueRules(system, kSystemValueRules);
}

void ConvertProcessorValues(ReportCategory& processor) {
    ApplyValueRules(processor, kProcessorValueRules);
}

void CollectSystemAndWindows(ScanContext& scan) {
    RunQueryLiteral(scan.report, scan.wmi, kComputerSystemQuery);
    ReportCategory& system = FindOrAddCategory(scan.report.categories, kSystem);
    // Converted before the product and enclosure rows arrive, so only the computer-system
    // records are touched; the uptime likewise belongs to the first of them only.
    ConvertSystemValues(system);
    if (!system.records.empty()) {
        SetField(system.records.front(), L"Systemlaufzeit seit Start", FormatUptime());
    }
    RunQueryLiteral(scan.report, scan.wmi, kProductQuery);
    RunQueryLiteral(scan.report, scan.wmi, kEnclosureQuery);
    RunQueryLiteral(scan.report, scan.wmi, kOperatingSystemQuery);
}

void CollectProcessorAndCaches(ScanContext& scan) {
    RunQueryLiteral(scan.report, scan.wmi, kProcessorQuery);
    ConvertProcessorValues(FindOrAddCategory(scan.report.categories, kProcessor));
    RunQueryLiteral(scan.report, scan.wmi, kCacheQuery);
}

void CollectMainboardAndChipset(ScanContext& scan) {
    RunQueryLiteral(scan.report, scan.wmi, kBaseBoardQuery);
    RunQueryLiteral(scan.report, scan.wmi, kBiosQuery);
    CollectRegistryFirmwareInventory(scan.report);
    RunQueryLiteral(scan.report, scan.wmi, kChipsetDriverQuery);
}

void CollectRegistryFirmwareInventory(HardwareReport& report) {
    ReportRecord record{L"Windows-Firmwareinventar (Registry)", {}};
    for (const RegistryFirmwareValue& entry : kRegistryFirmwareValues) {
        SetField(record, entry.label, RegReadString(HKEY_LOCAL_MACHINE, kFirmwareKey, entry.valueName));
    }
    if (!record.fields.empty()) {
        FindOrAddCategory(report.categories, kMainboard).records.push_back(std::move(record));
    }
}

std::wstring RegReadString(HKEY root, const std::wstring& subkey, const std::wstring& valueName) {
    constexpr DWORD kStringTypes = RRF_RT_REG_SZ | RRF_RT_REG_MULTI_SZ;
    DWORD size = 0;
    if (RegGetValueW(root, subkey.c_str(), valueName.c_str(), kStringTypes, nullptr, nullptr, &size) !=
            ERROR_SUCCESS ||
        size < sizeof(wchar_t)) {
        return {};
    }
    // One spare character, so a value stored without its terminator still ends inside the buffer.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bufferBytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegGetValueW(root, subkey.c_str(), valueName.c_str(), kStringTypes, nullptr, buffer.data(), &bufferBytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    // A multi-string contributes its first string only.
    size_t length = 0;
    while (length < buffer.size() && buffer[length] != L'\0') {
        ++length;
    }
    return TrimWhitespace(std::wstring(buffer.data(), length));
}
