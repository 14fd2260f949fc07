#include "inventory/DxgiAdapters.h"

#include "inventory/Formatters.h"
#include "wmi/ComOwners.h"

#include <cwchar>
#include <iterator>

namespace {

constexpr wchar_t kGraphics[] = L"Grafik";
constexpr wchar_t kFactoryFailed[] = L"DXGI-Adapterinformationen konnten nicht geladen werden.";
constexpr wchar_t kClockNotReported[] = L"Vom standardisierten Windows-DXGI-Treiberweg nicht zuverlässig gemeldet";

// DXGI ends an enumeration with DXGI_ERROR_NOT_FOUND. A factory that fails every index instead
// would otherwise keep the scan enumerating for four billion indices.
constexpr UINT kMaxConsecutiveEnumFailures = 16;

std::wstring MemoryText(SIZE_T bytes) {
    return FormatBytes(std::to_wstring(static_cast<unsigned long long>(bytes)));
}

} // namespace

std::wstring FormatDxgiHardwareIds(UINT vendorId, UINT deviceId, UINT subSysId, UINT revision) {
    wchar_t buffer[128] = {};
    const int length = std::swprintf(buffer, std::size(buffer), L"VEN_%04X · DEV_%04X · SUBSYS_%08X · REV_%02X",
                                     vendorId, deviceId, subSysId, revision);
    return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

std::wstring FormatAdapterLuid(const LUID& luid) {
    wchar_t buffer[64] = {};
    const int length = std::swprintf(buffer, std::size(buffer), L"%08X:%08X", static_cast<unsigned>(luid.HighPart),
                                     static_cast<unsigned>(luid.LowPart));
    return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

ReportRecord BuildDxgiAdapterRecord(const DXGI_ADAPTER_DESC1& desc) {
    ReportRecord record;
    // A driver may fill all 128 characters without a terminator.
    record.title.assign(desc.Description, wcsnlen(desc.Description, std::size(desc.Description)));
    record.fields = {
        {L"DXGI-Hardware-IDs", FormatDxgiHardwareIds(desc.VendorId, desc.DeviceId, desc.SubSysId, desc.Revision)},
        {L"Dedizierter Videospeicher", MemoryText(desc.DedicatedVideoMemory)},
        {L"Dedizierter Systemspeicher", MemoryText(desc.DedicatedSystemMemory)},
        {L"Gemeinsam genutzter Systemspeicher", MemoryText(desc.SharedSystemMemory)},
        {L"Adapter-LUID", FormatAdapterLuid(desc.AdapterLuid)},
        {L"Softwareadapter", (desc.Flags & DXGI_ADAPTER_FLAG_SOFTWARE) != 0 ? L"Ja" : L"Nein"},
        {L"GPU-/VRAM-Takt", kClockNotReported},
    };
    return record;
}

void AppendDxgiAdapters(IDXGIFactory1& factory, ReportCategory& graphics) {
    UINT failuresInARow = 0;
    for (UINT index = 0; failuresInARow < kMaxConsecutiveEnumFailures; ++index) {
        ComOwner<IDXGIAdapter1> adapter;
        const HRESULT enumerated = factory.EnumAdapters1(index, adapter.Put());
        if (enumerated == DXGI_ERROR_NOT_FOUND) {
            break;
        }
        // An adapter handed out together with a failure code is not trusted; its owner releases it.
        if (FAILED(enumerated) || !adapter) {
            ++failuresInARow;
            continue;
        }
        failuresInARow = 0;
        DXGI_ADAPTER_DESC1 desc{};
        if (SUCCEEDED(adapter->GetDesc1(&desc))) {
            graphics.records.push_back(BuildDxgiAdapterRecord(desc));
        }
    }
}

void CollectGpusDxgi(HardwareReport& report) {
    ComOwner<IDXGIFactory1> factory;
    const HRESULT created = CreateDXGIFactory1(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(factory.Put()));
    if (FAILED(created) || !factory) {
        report.hints.emplace_back(kFactoryFailed);
        return;
    }
    AppendDxgiAdapters(*factory.Get(), FindOrAddCategory(report.categories, kGraphics));
}
