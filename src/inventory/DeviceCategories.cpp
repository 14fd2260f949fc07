#include "inventory/DeviceCategories.h"

#include "inventory/DxgiAdapters.h"
#include "inventory/Formatters.h"

namespace {

constexpr wchar_t kVolumes[] = L"Partitionen & Volumes";
constexpr wchar_t kOpticalDrives[] = L"Optische Laufwerke";
constexpr wchar_t kGraphics[] = L"Grafik";
constexpr wchar_t kNetwork[] = L"Netzwerk";
constexpr wchar_t kAudio[] = L"Audio & Headsets";
constexpr wchar_t kUsb[] = L"USB-Controller";
constexpr wchar_t kInput[] = L"Eingabegeräte";
constexpr wchar_t kBiometric[] = L"Biometrische Geräte";
constexpr wchar_t kImaging[] = L"Kameras & Scanner";
constexpr wchar_t kPrinters[] = L"Drucker";
constexpr wchar_t kBluetooth[] = L"Bluetooth";
constexpr wchar_t kOtherDevices[] = L"Weitere angeschlossene Geräte";
constexpr wchar_t kPorts[] = L"Anschlüsse";
constexpr wchar_t kBattery[] = L"Akku";

constexpr FieldLiteral kPartitionFields[] = {
    {L"Datenträgerindex", L"DiskIndex"},
    {L"Partitionsindex", L"Index"},
    {L"Typ", L"Type"},
    {L"Größe", L"Size"},
    {L"Startoffset", L"StartingOffset"},
    {L"Blockgröße", L"BlockSize"},
    {L"Startpartition", L"BootPartition"},
    {L"Primärpartition", L"PrimaryPartition"},
};

constexpr FieldLiteral kLogicalDiskFields[] = {
    {L"Volumename", L"VolumeName"},
    {L"Seriennummer", L"VolumeSerialNumber"},
    {L"Dateisystem", L"FileSystem"},
    {L"Laufwerkstyp (Code)", L"DriveType"},
    {L"Größe", L"Size"},
    {L"Frei", L"FreeSpace"},
    {L"Komprimiert", L"Compressed"},
    {L"Datenträgerkontingente", L"SupportsDiskQuotas"},
    {L"Dateikomprimierung unterstützt", L"SupportsFileBasedCompression"},
};

constexpr FieldLiteral kOpticalDriveFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"Medientyp", L"MediaType"},
    {L"Laufwerksbuchstabe", L"Drive"},
    {L"PnP-Geräte-ID", L"PNPDeviceID"},
    {L"Gerätepfad", L"DeviceID"},
    {L"Maximale Mediengröße", L"MaxMediaSize"},
    {L"Übertragungsrate (Byte/s)", L"TransferRate"},
    {L"Status", L"Status"},
};

constexpr FieldLiteral kVideoControllerFields[] = {
    {L"Hersteller", L"AdapterCompatibility"},
    {L"PnP-Geräte-ID", L"PNPDeviceID"},
    {L"Videoprozessor", L"VideoProcessor"},
    {L"WMI-Adapter-RAM", L"AdapterRAM"},
    {L"Treiberversion", L"DriverVersion"},
    {L"Treiberdatum", L"DriverDate"},
    {L"INF-Datei", L"InfFilename"},
    {L"Installierte Treiber", L"InstalledDisplayDrivers"},
    {L"Horizontale Auflösung", L"CurrentHorizontalResolution"},
    {L"Vertikale Auflösung", L"CurrentVerticalResolution"},
    {L"Aktuelle Bildfrequenz", L"CurrentRefreshRate"},
    {L"Farbtiefe", L"CurrentBitsPerPixel"},
    {L"Videomodus", L"VideoModeDescription"},
    {L"Status", L"Status"},
};

constexpr FieldLiteral kNetworkAdapterFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"Produkt", L"ProductName"},
    {L"MAC-Adresse", L"MACAddress"},
    {L"Adaptertyp", L"AdapterType"},
    {L"Verbindungsgeschwindigkeit (Bit/s)", L"Speed"},
    {L"Verbindungsname", L"NetConnectionID"},
    {L"Aktiviert", L"NetEnabled"},
    {L"PnP-Geräte-ID", L"PNPDeviceID"},
    {L"GUID", L"GUID"},
    {L"Dienst", L"ServiceName"},
};

constexpr FieldLiteral kIpConfigurationFields[] = {
    {L"MAC-Adresse", L"MACAddress"},
    {L"IP-Adressen", L"IPAddress"},
    {L"Subnetze", L"IPSubnet"},
    {L"Standardgateways", L"DefaultIPGateway"},
    {L"DNS-Server", L"DNSServerSearchOrder"},
    {L"DHCP", L"DHCPEnabled"},
    {L"DHCP-Server", L"DHCPServer"},
    {L"DNS-Hostname", L"DNSHostName"},
    {L"DNS-Domäne", L"DNSDomain"},
};

constexpr FieldLiteral kSoundDeviceFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"Produkt", L"ProductName"},
    {L"PnP-Geräte-ID", L"PNPDeviceID"},
    {L"Status", L"Status"},
    {L"Statusinfo (Code)", L"StatusInfo"},
};

constexpr FieldLiteral kUsbControllerFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"PnP-Geräte-ID", L"PNPDeviceID"},
    {L"Unterstütztes Protokoll (Code)", L"ProtocolSupported"},
    {L"Status", L"Status"},
};

constexpr FieldLiteral kKeyboardFields[] = {
    {L"Beschreibung", L"Description"},
    {L"PnP-Geräte-ID", L"PNPDeviceID"},
    {L"Funktionstasten", L"NumberOfFunctionKeys"},
    {L"Status", L"Status"},
};

constexpr FieldLiteral kPointingDeviceFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"PnP-Geräte-ID", L"PNPDeviceID"},
    {L"Tasten", L"NumberOfButtons"},
    {L"Zeigegerätetyp (Code)", L"PointingType"},
    {L"Status", L"Status"},
};

constexpr FieldLiteral kPrinterFields[] = {
    {L"Treiber", L"DriverName"},
    {L"Anschluss/Port", L"PortName"},
    {L"Geräte-ID", L"DeviceID"},
    {L"PnP-Geräte-ID", L"PNPDeviceID"},
    {L"Lokal", L"Local"},
    {L"Netzwerkdrucker", L"Network"},
    {L"Freigegeben", L"Shared"},
    {L"Standarddrucker", L"Default"},
    {L"Offlinebetrieb", L"WorkOffline"},
    {L"Druckerstatus (Code)", L"PrinterStatus"},
    {L"Fehlerstatus (Code)", L"DetectedErrorState"},
    {L"Horizontale Auflösung (dpi)", L"HorizontalResolution"},
    {L"Vertikale Auflösung (dpi)", L"VerticalResolution"},
    {L"Fähigkeiten", L"CapabilityDescriptions"},
    {L"Unterstützte Papierformate (Codes)", L"PaperSizesSupported"},
};

constexpr FieldLiteral kSerialPortFields[] = {
    {L"Geräte-ID", L"DeviceID"},
    {L"Beschreibung", L"Description"},
    {L"Anbietertyp", L"ProviderType"},
    {L"PnP-Geräte-ID", L"PNPDeviceID"},
    {L"Maximale Baudrate", L"MaxBaudRate"},
    {L"Max. Eingangspuffer", L"MaximumInputBufferSize"},
    {L"Max. Ausgangspuffer", L"MaximumOutputBufferSize"},
    {L"Status", L"Status"},
};

constexpr FieldLiteral kBatteryFields[] = {
    {L"Geräte-ID", L"DeviceID"},
    {L"Hersteller", L"Manufacturer"},
    {L"Chemie (Code)", L"Chemistry"},
    {L"Designkapazität", L"DesignCapacity"},
    {L"Vollladekapazität", L"FullChargeCapacity"},
    {L"Ladestand (%)", L"EstimatedChargeRemaining"},
    {L"Geschätzte Laufzeit (Min.)", L"EstimatedRunTime"},
    {L"Akkustatus (Code)", L"BatteryStatus"},
    {L"Status", L"Status"},
};

constexpr FieldLiteral kPnpEntityFields[] = {
    {L"Hersteller", L"Manufacturer"},
    {L"Beschreibung", L"Description"},
    {L"PnP-Klasse", L"PNPClass"},
    {L"Geräte-ID", L"DeviceID"},
    {L"PnP-Geräte-ID", L"PNPDeviceID"},
    {L"Dienst", L"Service"},
    {L"Klassen-GUID", L"ClassGuid"},
    {L"Hardware-IDs", L"HardwareID"},
    {L"Kompatible IDs", L"CompatibleID"},
    {L"Status", L"Status"},
    {L"Gerätemanager-Fehlercode", L"ConfigManagerErrorCode"},
    {L"Aktuell angeschlossen", L"Present"},
};

constexpr QueryLiteral kPartitionQuery{L"SELECT * FROM Win32_DiskPartition", kVolumes, L"Name", kPartitionFields};
constexpr QueryLiteral kLogicalDiskQuery{L"SELECT * FROM Win32_LogicalDisk", kVolumes, L"DeviceID",
                                         kLogicalDiskFields};
constexpr QueryLiteral kOpticalDriveQuery{L"SELECT * FROM Win32_CDROMDrive", kOpticalDrives, L"Name",
                                          kOpticalDriveFields};
constexpr QueryLiteral kVideoControllerQuery{L"SELECT * FROM Win32_VideoController", kGraphics, L"Name",
                                             kVideoControllerFields};
constexpr QueryLiteral kNetworkAdapterQuery{L"SELECT * FROM Win32_NetworkAdapter WHERE PhysicalAdapter=True",
                                            kNetwork, L"Name", kNetworkAdapterFields};
constexpr QueryLiteral kIpConfigurationQuery{
    L"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled=True", kNetwork, L"Description",
    kIpConfigurationFields};
constexpr QueryLiteral kSoundDeviceQuery{L"SELECT * FROM Win32_SoundDevice", kAudio, L"Name", kSoundDeviceFields};
constexpr QueryLiteral kUsbControllerQuery{L"SELECT * FROM Win32_USBController", kUsb, L"Name",
                                           kUsbControllerFields};
constexpr QueryLiteral kKeyboardQuery{L"SELECT * FROM Win32_Keyboard", kInput, L"Name", kKeyboardFields};
constexpr QueryLiteral kPointingDeviceQuery{L"SELECT * FROM Win32_PointingDevice", kInput, L"Name",
                                            kPointingDeviceFields};
constexpr QueryLiteral kPrinterQuery{L"SELECT * FROM Win32_Printer", kPrinters, L"Name", kPrinterFields};
constexpr QueryLiteral kSerialPortQuery{L"SELECT * FROM Win32_SerialPort", kPorts, L"Name", kSerialPortFields};
constexpr QueryLiteral kBatteryQuery{L"SELECT * FROM Win32_Battery", kBattery, L"Name", kBatteryFields};

// Device setup classes by their GUIDs: audio endpoints; sound, video and game controllers.
constexpr wchar_t kAudioClasses[] =
    L"ClassGuid='{C166523C-FE0C-4A94-A586-F1A80CFBBF3E}' OR ClassGuid='{4D36E96C-E325-11CE-BFC1-08002BE10318}'";
// Keyboards; mice and other pointing devices.
constexpr wchar_t kInputClasses[] =
    L"ClassGuid='{4D36E96B-E325-11CE-BFC1-08002BE10318}' OR ClassGuid='{4D36E96F-E325-11CE-BFC1-08002BE10318}'";
constexpr wchar_t kBiometricClasses[] = L"ClassGuid='{53D29EF7-377C-4D14-864B-EB3A85769359}'";
// Cameras; imaging devices.
constexpr wchar_t kImagingClasses[] =
    L"ClassGuid='{CA3E7AB9-B4C3-4AE6-8251-579EF933890F}' OR ClassGuid='{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}'";
constexpr wchar_t kPrinterClasses[] = L"ClassGuid='{4D36E979-E325-11CE-BFC1-08002BE10318}'";
constexpr wchar_t kBluetoothClasses[] = L"ClassGuid='{E0CBF06C-CD8B-4647-BB8A-263B43F0F974}'";
// Smart card readers; sensors; portable devices; proximity devices.
constexpr wchar_t kOtherDeviceClasses[] =
    L"ClassGuid='{50DD5230-BA8A-11D1-BF5D-0000F805F530}' OR ClassGuid='{5175D334-C371-4806-B3BA-71FD53C9258D}'"
    L" OR ClassGuid='{EEC5AD98-8080-425F-922A-DABF3DE3F69A}' OR ClassGuid='{5630831C-06C9-4856-B327-F5D32586E060}'";

// One source of an attached-device category: a class query, or the present Plug-and-Play
// devices of some setup classes when pnpClasses is set.
struct AttachedDeviceSource {
    const QueryLiteral* query;
    const wchar_t* category;
    const wchar_t* pnpClasses;
};

constexpr AttachedDeviceSource kAttachedDeviceSources[] = {
    {&kUsbControllerQuery, nullptr, nullptr},
    {&kKeyboardQuery, nullptr, nullptr},
    {&kPointingDeviceQuery, nullptr, nullptr},
    {nullptr, kInput, kInputClasses},
    {nullptr, kBiometric, kBiometricClasses},
    {nullptr, kImaging, kImagingClasses},
    {&kPrinterQuery, nullptr, nullptr},
    {nullptr, kPrinters, kPrinterClasses},
    {nullptr, kBluetooth, kBluetoothClasses},
    {nullptr, kOtherDevices, kOtherDeviceClasses},
    {&kSerialPortQuery, nullptr, nullptr},
    {&kBatteryQuery, nullptr, nullptr},
};

// Windows reports 71582788 minutes (0x4444444, some 136 years) while the mains power is on:
// no estimate at all, not a run time.
constexpr wchar_t kRunTimeOnMains[] = L"71582788";

std::wstring RunTimeOrNotReported(const std::wstring& minutes) {
    return minutes == kRunTimeOnMains ? std::wstring(kNotReported) : minutes;
}

constexpr ValueRule kBatteryRules[] = {
    {LabelMatch::Exact, L"Geschätzte Laufzeit (Min.)", RunTimeOrNotReported},
};

constexpr ValueRule kVolumeSizeRules[] = {
    {LabelMatch::Exact, L"Größe", FormatBytes},
    {LabelMatch::Exact, L"Frei", FormatBytes},
    {LabelMatch::Exact, L"Startoffset", FormatBytes},
};

} // namespace

std::wstring PnpDevicesQuery(const std::wstring& whereText) {
    std::wstring wql = L"SELECT * FROM Win32_PnPEntity WHERE Present=True AND (";
    wql.append(whereText).append(L")");
    return wql;
}

void CollectPnpDevices(HardwareReport& report, WmiSession& session, const std::wstring& categoryName,
                       const std::wstring& whereText) {
    const std::wstring wql = PnpDevicesQuery(whereText);
    RunQueryLiteral(report, session, QueryLiteral{wql.c_str(), categoryName.c_str(), L"Name", kPnpEntityFields});
}

void FormatVolumeSizes(ReportCategory& volumes) {
    ApplyValueRules(volumes, kVolumeSizeRules);
}

void CollectVolumesAndOpticalDrives(ScanContext& scan) {
    RunQueryLiteral(scan.report, scan.wmi, kPartitionQuery);
    RunQueryLiteral(scan.report, scan.wmi, kLogicalDiskQuery);
    FormatVolumeSizes(FindOrAddCategory(scan.report.categories, kVolumes));
    RunQueryLiteral(scan.report, scan.wmi, kOpticalDriveQuery);
}

void CollectGraphics(ScanContext& scan) {
    RunQueryLiteral(scan.report, scan.wmi, kVideoControllerQuery);
    CollectGpusDxgi(scan.report);
}

void CollectNetworkAndAudio(ScanContext& scan) {
    RunQueryLiteral(scan.report, scan.wmi, kNetworkAdapterQuery);
    RunQueryLiteral(scan.report, scan.wmi, kIpConfigurationQuery);
    RunQueryLiteral(scan.report, scan.wmi, kSoundDeviceQuery);
    CollectPnpDevices(scan.report, scan.wmi, kAudio, kAudioClasses);
}

void CollectAttachedDevices(ScanContext& scan) {
    for (const AttachedDeviceSource& source : kAttachedDeviceSources) {
        if (source.pnpClasses != nullptr) {
            CollectPnpDevices(scan.report, scan.wmi, source.category, source.pnpClasses);
        } else {
            RunQueryLiteral(scan.report, scan.wmi, *source.query);
        }
    }
    ApplyValueRules(FindOrAddCategory(scan.report.categories, kBattery), kBatteryRules);
}
