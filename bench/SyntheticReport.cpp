#include "SyntheticReport.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

// In value and title patterns, alternatives are split by "|" and one is picked; then "#" becomes
// a digit, "!" a digit other than 0 and "$" an upper-case hexadecimal digit.
struct FieldPattern {
    const wchar_t* label;
    const wchar_t* value;
};

struct RecordKind {
    const wchar_t* category;
    const wchar_t* title;
    FieldPattern fields[8];
};

constexpr wchar_t kDriverDate[] = L"!#.0!.202!|0!.1#.2019";

constexpr RecordKind kKinds[] = {
    {L"Aktuelle Auslastung",
     L"Momentaufnahme",
     {{L"CPU-Auslastung", L"!# %|# %"},
      {L"Arbeitsspeicher belegt", L"!# % · !#,# GB von 32 GB"},
      {L"Datenträger-Auslastung", L"# %|Nicht gemeldet"},
      {L"GPU-Auslastung", L"!# %|Nicht gemeldet"},
      {L"Prozesse", L"!##"},
      {L"Threads", L"!###"},
      {L"Handles", L"!####"},
      {L"Gemessen", L"0!.0!.2026 1#:!#:!#"}}},
    {L"Prozessor",
     L"Intel(R) Core(TM) i7-12700K|AMD Ryzen 9 7950X 16-Core Processor|Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz",
     {{L"Hersteller", L"GenuineIntel|AuthenticAMD"},
      {L"Kerne / Threads", L"!# / !#"},
      {L"Basistakt", L"#,## GHz"},
      {L"CPU-Auslastung", L"!# %"},
      {L"Temperatur", L"!# °C|Nicht gemeldet"},
      {L"L2-Cache", L"!# MB"},
      {L"Sockel", L"LGA1700|AM5|FCBGA1528"},
      {L"Virtualisierung", L"Aktiviert|Deaktiviert"}}},
    {L"Arbeitsspeicher",
     L"DIMM #|ChannelA-DIMM#|BANK # (P0 CHANNEL A)",
     {{L"Hersteller", L"Kingston|Samsung|Micron Technology|G.Skill"},
      {L"Kapazität", L"8 GB|16 GB|32 GB"},
      {L"Typ", L"DDR4 · 3200 MHz · CL16|DDR5 · 6000 MHz · CL30|LPDDR4X · 4266 MHz"},
      {L"Steckplatz", L"DIMM_A#|DIMM_B#|Controller0-ChannelA"},
      {L"Seriennummer", L"$$$$$$$$"},
      {L"Teilenummer", L"KF432C16BB/16|M471A1K43DB1-CWE|CMK32GX4M2E3200C16"},
      {L"Spannung", L"1,2 V|1,35 V|1,1 V"},
      {L"Belegt/zugewiesen", L"!#,# GB"}}},
    {L"Laufwerke",
     L"Samsung SSD 980 PRO 1TB|WD_BLACK SN850X 2000GB|Crucial MX500 1TB|ST2000DM008-2FR102",
     {{L"Modell", L"Samsung SSD 980 PRO 1TB|WDS200T2X0E-00BCA0|CT1000MX500SSD1"},
      {L"Seriennummer", L"S5GXNF0R$$$$$$A|$$$$_$$$$_$$$$_$$$$."},
      {L"Kapazität", L"!##,## GB|!,## TB"},
      {L"SSD-Temperatur", L"!# °C|Nicht gemeldet"},
      {L"SSD-Restlebensdauer", L"!# %|100 %|Nicht gemeldet"},
      {L"Zustand", L"Gut|Gut|Gut|Warnung|Ungesund"},
      {L"Schnittstelle", L"NVMe · PCIe 4.0 x4|SATA · 6 Gbit/s|USB · UASP"},
      {L"PnP-Geräte-ID", L"SCSI\\DISK&VEN_NVME&PROD_SAMSUNG_SSD_980\\5&$$$$$$$&0&000000"}}},
    {L"Partitionen & Volumes",
     L"C: (Windows)|D: (Daten)|EFI-Systempartition|Wiederherstellung",
     {{L"Dateisystem", L"NTFS|FAT32|ReFS"},
      {L"Größe", L"!##,# GB"},
      {L"Frei", L"!#,# GB"},
      {L"Belegt", L"!# %"},
      {L"BitLocker", L"Aktiviert|Deaktiviert|Nicht gemeldet"},
      {L"Laufwerksbuchstabe", L"C:|D:|E:"},
      {L"Volume-GUID", L"\\\\?\\Volume{$$$$$$$$-$$$$-$$$$-$$$$-$$$$$$$$$$$$}\\"},
      {L"Partitionsstil", L"GPT|MBR"}}},
    {L"Grafik",
     L"NVIDIA GeForce RTX 3070|AMD Radeon RX 6800 XT|Intel(R) UHD Graphics 620",
     {{L"Grafikspeicher", L"8 GB|16 GB|128 MB"},
      {L"Treiberversion", L"31.0.15.####"},
      {L"Treiberdatum", kDriverDate},
      {L"Auflösung", L"2560 × 1440 @ 144 Hz|1920 × 1080 @ 60 Hz|3840 × 2160 @ 60 Hz"},
      {L"GPU-Auslastung", L"# %|!# %|Nicht gemeldet"},
      {L"GPU-Temperatur", L"!# °C"},
      {L"PnP-Geräte-ID", L"PCI\\VEN_10DE&DEV_2484&SUBSYS_$$$$$$$$&REV_A1\\4&$$$$$$$&0&0019"},
      {L"Status", L"OK|OK|Fehler"}}},
    {L"Netzwerk",
     L"Intel(R) Ethernet Controller I225-V|Realtek PCIe GbE Family Controller|Intel(R) Wi-Fi 6 AX201 160MHz",
     {{L"MAC-Adresse", L"$$:$$:$$:$$:$$:$$"},
      {L"IPv4-Adresse", L"192.168.178.!#"},
      {L"IPv6-Adresse", L"fe80::$$$$:$$$$:$$$$:$$$$%1#"},
      {L"Verbindungsstatus", L"Verbunden · 1 Gbit/s|Getrennt|Verbunden · 2,5 Gbit/s"},
      {L"DHCP", L"Aktiviert|Deaktiviert"},
      {L"Treiberdatum", kDriverDate},
      {L"Treiberversion", L"2.1.#.##"},
      {L"DNS-Server", L"192.168.178.1 · 1.1.1.1|fritz.box"}}},
    {L"Audio & Headsets",
     L"Realtek High Definition Audio|Wine Audio Device|HyperX Cloud II Wireless",
     {{L"Hersteller", L"Realtek|Microsoft|HP, Inc"},
      {L"Status", L"OK|OK|OK|Fehler"},
      {L"Treiber", L"\"Realtek Audio\" (HDAUDIO)|usbaudio.sys"},
      {L"PnP-Geräte-ID", L"HDAUDIO\\FUNC_01&VEN_10EC&DEV_0897&SUBSYS_$$$$$$$$&REV_1003\\4&$$$$$$$&0&0001"},
      {L"Akku", L"!# %|Nicht gemeldet"},
      {L"Verbindung", L"USB|Bluetooth|Intern"},
      {L"Abtastrate", L"48000 Hz|44100 Hz"},
      {L"Kanäle", L"2|6|8"}}},
    {L"Monitore",
     L"DELL U2720Q|Generischer PnP-Monitor|LG ULTRAGEAR 27GN950",
     {{L"Monitor-Hardwarekennung", L"DISPLAY\\DEL4109\\5&$$$$$$&0&UID4353"},
      {L"Hersteller", L"Dell Inc.|LG Electronics|Nicht gemeldet"},
      {L"Auflösung", L"3840 × 2160 @ 60 Hz|2560 × 1440 @ 144 Hz"},
      {L"Diagonale", L"27,0 Zoll (68,6 cm)|24,1 Zoll (61,1 cm)"},
      {L"Herstellungsdatum", L"Woche !# / 20!#"},
      {L"Seriennummer", L"$$$$$$$|0"},
      {L"Anschluss", L"DisplayPort|HDMI|Intern (eDP)"},
      {L"Status", L"Aktiv|Aktiv|Inaktiv"}}},
    {L"Sensoren",
     L"CPU Package|GPU Core|Mainboard|NVMe #",
     {{L"Temperatur", L"!# °C|!#,# °C"},
      {L"Kritische Temperatur", L"100 °C|Nicht gemeldet"},
      {L"Maximal zulässige SSD-Temperatur", L"8# °C"},
      {L"Lüfterdrehzahl", L"!### U/min"},
      {L"Sensor-ID", L"/amdcpu/0/temperature/#|/lpc/nct6798d/fan/#"},
      {L"Quelle", L"LibreHardwareMonitor|ACPI-Thermalzone"},
      {L"Minimum", L"!# °C"},
      {L"Maximum", L"!# °C"}}},
    {L"Sicherheit & Firmware",
     L"Firmware|TPM !.0|Secure Boot",
     {{L"Firmware-Typ", L"UEFI|Legacy-BIOS|Nicht gemeldet"},
      {L"Secure Boot", L"Aktiviert|Deaktiviert|Nicht gemeldet"},
      {L"TPM-Version", L"2.0|1.2|Nicht gemeldet"},
      {L"TPM-Hersteller", L"IFX|NTC|INTC"},
      {L"BitLocker", L"Aktiviert|Deaktiviert"},
      {L"Virtualisierungsbasierte Sicherheit (VBS)", L"Aktiv|Nicht aktiv"},
      {L"Prozessarchitektur", L"Nativer 64-Bit-Prozess"},
      {L"Hinweis", L"Der Wert \"SecureBootEnabled\" unter HKLM\\SYSTEM\\CurrentControlSet\\Control\\SecureBoot\\State "
                   L"fehlt; der Zustand stammt aus der Firmware.|Keine Auffälligkeiten"}}},
    {L"USB-Geräte",
     L"USB-Verbundgerät|USB-Eingabegerät|Generic USB Hub|Logitech USB Receiver",
     {{L"Hersteller", L"(Standard-USB-Hostcontroller)|Logitech|Microsoft"},
      {L"PnP-Geräte-ID", L"USB\\VID_046D&PID_C52B\\$$$$$$$$$$$$"},
      {L"Status", L"OK|OK|Fehler"},
      {L"Treiberdatum", kDriverDate},
      {L"Klasse", L"USB|HIDClass|Bluetooth"},
      {L"Geschwindigkeit", L"SuperSpeed · 5 Gbit/s|High-Speed · 480 Mbit/s"},
      {L"Anschluss", L"Port_#000#.Hub_000#"},
      {L"Stromaufnahme", L"!## mA"}}},
};

constexpr const wchar_t* kHints[] = {
    L"WMI-Abfrage fehlgeschlagen: 0x80041001 – IDispatch error #3585 | SELECT * FROM Win32_PnPEntity WHERE "
    L"Present=True AND (PNPClass='Camera' OR PNPClass='Image')",
    L"DXGI nicht verfügbar: 0x887A0004 – Unknown error 0x887a0004",
    L"SMBIOS-Tabelle enthält keine Speichermodule (Typ 17); Angaben aus WMI übernommen.",
    L"Sensorwerte nicht verfügbar: ROOT\\LibreHardwareMonitor antwortet mit 0x8004100E",
};

class Random {
public:
    uint32_t Next(uint32_t bound) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(state_ >> 33) % bound;
    }

private:
    uint64_t state_ = 0x5EED;
};

std::wstring Expand(const wchar_t* pattern, Random& random) {
    std::wstring_view text(pattern);
    size_t alternatives = 1;
    for (const wchar_t c : text) {
        alternatives += c == L'|' ? 1 : 0;
    }
    for (uint32_t skip = random.Next(static_cast<uint32_t>(alternatives)); skip > 0; --skip) {
        text.remove_prefix(text.find(L'|') + 1);
    }
    text = text.substr(0, text.find(L'|'));

    static constexpr wchar_t hex[] = L"0123456789ABCDEF";
    std::wstring out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        switch (c) {
        case L'#':
            out += static_cast<wchar_t>(L'0' + random.Next(10));
            break;
        case L'!':
            out += static_cast<wchar_t>(L'1' + random.Next(9));
            break;
        case L'$':
            out += hex[random.Next(16)];
            break;
        default:
            out += c;
        }
    }
    return out;
}

}  // namespace

HardwareReport BuildSyntheticReport(size_t records) {
    HardwareReport report;
    report.created = L"07.12.2026 04:45:41";
    report.load = LoadSnapshot{37, 61, -1, 12};
    Random random;
    constexpr size_t kindCount = sizeof kKinds / sizeof kKinds[0];
    for (size_t i = 0; i < records; ++i) {
        const RecordKind& kind = kKinds[i % kindCount];
        ReportRecord record;
        record.title = Expand(kind.title, random);
        for (const FieldPattern& field : kind.fields) {
            record.fields.emplace_back(field.label, Expand(field.value, random));
        }
        FindOrAddCategory(report.categories, kind.category).records.push_back(std::move(record));
        if (i % 50 == 49) {
            report.hints.emplace_back(kHints[(i / 50) % (sizeof kHints / sizeof kHints[0])]);
        }
    }
    return report;
}
