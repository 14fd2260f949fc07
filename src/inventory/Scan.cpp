#include "inventory/Inventory.h"
#include "wmi/ComApartment.h"

#include "inventory/DeviceCategories.h"
#include "inventory/Formatters.h"
#include "inventory/MemoryCategory.h"
#include "inventory/MonitorCollector.h"
#include "inventory/ScanPasses.h"
#include "inventory/ScanSteps.h"
#include "inventory/SecurityCategory.h"
#include "inventory/SensorsCategory.h"
#include "inventory/StorageCategory.h"
#include "inventory/SystemCategories.h"
#include "load/LiveLoad.h"
#include "wmi/WmiSession.h"

#include <span>

#include <objbase.h>
#include <windows.h>

namespace {

struct ScanPhase {
    int percent;
    const wchar_t* message;
    std::span<const ScanStep> steps;  // in the order their categories appear in the report
};

constexpr ScanStep kSystemSteps[] = {CollectSystemAndWindows};
constexpr ScanStep kProcessorSteps[] = {CollectProcessorAndCaches};
constexpr ScanStep kMainboardSteps[] = {CollectMainboardAndChipset};
constexpr ScanStep kMemorySteps[] = {CollectMemoryAndSlotOverview};
constexpr ScanStep kDriveSteps[] = {CollectStorageDevices, CollectVolumesAndOpticalDrives};
constexpr ScanStep kGraphicsSteps[] = {CollectGraphics};
constexpr ScanStep kNetworkAudioMonitorSteps[] = {CollectNetworkAndAudio, CollectMonitorCategory};
constexpr ScanStep kDeviceSteps[] = {CollectAttachedDevices, CollectSensors, CollectSecurityAndFirmware};

constexpr ScanPhase kPhases[] = {
    {8, L"System, Windows und Gehäuse werden analysiert …", kSystemSteps},
    {18, L"CPU und Cache werden detailliert ausgelesen …", kProcessorSteps},
    {30, L"Mainboard, Chipsatz und BIOS werden geprüft …", kMainboardSteps},
    {43, L"Physische Speichermodule werden analysiert …", kMemorySteps},
    {56, L"SSD, NVMe, Festplatten und Volumes werden gelesen …", kDriveSteps},
    {69, L"Grafikkarten und Videospeicher werden analysiert …", kGraphicsSteps},
    {79, L"Netzwerk, Audio und Monitore werden geprüft …", kNetworkAudioMonitorSteps},
    {89, L"Eingabe-, Kamera-, Druck-, Bluetooth- und USB-Geräte werden erfasst …", kDeviceSteps},
};

constexpr wchar_t kStartMessage[] = L"Windows-Diagnoseschnittstellen werden initialisiert …";
constexpr wchar_t kLoadMessage[] = L"Zustände und aktuelle Auslastungen werden bewertet …";
constexpr wchar_t kDoneMessage[] = L"Analyse abgeschlossen.";

void Report(const ProgressCallback& progress, const wchar_t* message, int percent) {
    if (progress) {
        progress(message, percent);
    }
}

// Security is process-wide: after the first scan set it, later calls report RPC_E_TOO_LATE.
bool InitialiseComSecurity() {
    const HRESULT hr = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                            RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    return SUCCEEDED(hr) || hr == RPC_E_TOO_LATE;
}

} // namespace

HardwareReport CollectHardwareInventory(const ProgressCallback& progress) {
    HardwareReport result;
    Report(progress, kStartMessage, 2);

    // Declared before every session, so the sessions are released before COM is uninitialised.
    const ComApartment com;
    if (!com.IsUsable()) {
        result.hints.emplace_back(L"COM konnte nicht initialisiert werden.");
        result.created = FormatLocalTimestamp();
        return result;
    }
    if (!InitialiseComSecurity()) {
        result.hints.emplace_back(L"COM-Sicherheitskontext konnte nicht vollständig initialisiert werden.");
    }

    WmiSession wmi(L"ROOT\\CIMV2");
    if (!wmi.IsConnected()) {
        result.hints.push_back(wmi.LastError());
        result.created = FormatLocalTimestamp();
        return result;
    }

    ScanContext scan{result, wmi};
    for (const ScanPhase& phase : kPhases) {
        Report(progress, phase.message, phase.percent);
        for (ScanStep step : phase.steps) {
            step(scan);
        }
    }

    Report(progress, kLoadMessage, 96);
    result.load = SampleLiveLoad();
    result.categories.insert(result.categories.begin(), BuildLoadCategory(result.load));
    RunFinalPass(result.categories);
    result.created = FormatLocalTimestamp();
    Report(progress, kDoneMessage, 100);
    return result;
}
