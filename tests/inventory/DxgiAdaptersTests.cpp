#include "inventory/DxgiAdapters.h"
#include "inventory/ReportLookup.h"

#include "wmi/ComApartment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

DXGI_ADAPTER_DESC1 Desc(const wchar_t* description) {
    DXGI_ADAPTER_DESC1 desc{};
    wcsncpy_s(desc.Description, std::size(desc.Description), description, _TRUNCATE);
    return desc;
}

std::vector<std::wstring> Titles(const ReportCategory& category) {
    std::vector<std::wstring> titles;
    for (const ReportRecord& record : category.records) {
        titles.push_back(record.title);
    }
    return titles;
}

const std::vector<std::wstring> kAdapterLabels = {
    L"DXGI-Hardware-IDs",  L"Dedizierter Videospeicher", L"Dedizierter Systemspeicher",
    L"Gemeinsam genutzter Systemspeicher", L"Adapter-LUID", L"Softwareadapter", L"GPU-/VRAM-Takt",
};

// Reference counts of the fake adapters, shared so a test can check every one was released.
struct AdapterLedger {
    int alive = 0;
};

class FakeAdapter final : public IDXGIAdapter1 {
public:
    FakeAdapter(AdapterLedger& ledger, const wchar_t* description, bool describes)
        : ledger(ledger), desc(Desc(description)), describes(describes) {
        ++ledger.alive;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references;
        if (left == 0) {
            --ledger.alive;
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, UINT, const void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPrivateDataInterface(REFGUID, const IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, UINT*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetParent(REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumOutputs(UINT, IDXGIOutput**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDesc(DXGI_ADAPTER_DESC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CheckInterfaceSupport(REFGUID, LARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDesc1(DXGI_ADAPTER_DESC1* out) override {
        if (!describes) {
            return E_FAIL;
        }
        *out = desc;
        return S_OK;
    }

private:
    AdapterLedger& ledger;
    DXGI_ADAPTER_DESC1 desc;
    bool describes;
    ULONG references = 1;
};

// What the factory answers for one index.
struct EnumAnswer {
    HRESULT result;
    const wchar_t* adapter;  // null: no adapter handed out
    bool describes = true;
};

// Answers from a script; past its end, every index gets the last answer again.
class FakeFactory final : public IDXGIFactory1 {
public:
    FakeFactory(AdapterLedger& ledger, std::vector<EnumAnswer> script) : ledger(ledger), script(std::move(script)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the test's stack.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, UINT, const void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPrivateDataInterface(REFGUID, const IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, UINT*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetParent(REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdapters(UINT, IDXGIAdapter**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MakeWindowAssociation(HWND, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetWindowAssociation(HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateSwapChain(IUnknown*, DXGI_SWAP_CHAIN_DESC*, IDXGISwapChain**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateSoftwareAdapter(HMODULE, IDXGIAdapter**) override { return E_NOTIMPL; }
    BOOL STDMETHODCALLTYPE IsCurrent() override { return TRUE; }

    HRESULT STDMETHODCALLTYPE EnumAdapters1(UINT index, IDXGIAdapter1** adapter) override {
        requested.push_back(index);
        if (*adapter != nullptr) {
            pointerNotCleared = true;
        }
        const EnumAnswer& answer = script[index < script.size() ? index : script.size() - 1];
        *adapter = answer.adapter ? new FakeAdapter(ledger, answer.adapter, answer.describes) : nullptr;
        return answer.result;
    }

    std::vector<UINT> requested;
    bool pointerNotCleared = false;

private:
    AdapterLedger& ledger;
    std::vector<EnumAnswer> script;
};

} // namespace

TEST(FormatDxgiHardwareIds, ZeroFillsUpperCaseHexJoinedByMiddleDots) {
    EXPECT_EQ(FormatDxgiHardwareIds(0xABC, 1, 0, 2), L"VEN_0ABC · DEV_0001 · SUBSYS_00000000 · REV_02");
    EXPECT_EQ(FormatDxgiHardwareIds(0x10de, 0x6cd, 0x3a11458e, 0xa3), L"VEN_10DE · DEV_06CD · SUBSYS_3A11458E · REV_A3");
}

TEST(FormatDxgiHardwareIds, WritesIdsWiderThanTheirFieldWhole) {
    EXPECT_EQ(FormatDxgiHardwareIds(0xFFFFFFFF, 0x12345, 0xFFFFFFFF, 0x1FF),
              L"VEN_FFFFFFFF · DEV_12345 · SUBSYS_FFFFFFFF · REV_1FF");
}

TEST(FormatAdapterLuid, PutsTheHighPartFirst) {
    EXPECT_EQ(FormatAdapterLuid(LUID{2, 1}), L"00000001:00000002");
    EXPECT_EQ(FormatAdapterLuid(LUID{0xC3F1, 0}), L"00000000:0000C3F1");
}

TEST(FormatAdapterLuid, ShowsANegativeHighPartAsItsEightBits) {
    EXPECT_EQ(FormatAdapterLuid(LUID{0xFFFFFFFF, -1}), L"FFFFFFFF:FFFFFFFF");
    EXPECT_EQ(FormatAdapterLuid(LUID{0, static_cast<LONG>(0x80000000)}), L"80000000:00000000");
}

TEST(BuildDxgiAdapterRecord, GivesTheSevenFieldsInOrder) {
    DXGI_ADAPTER_DESC1 desc = Desc(L"NVIDIA GeForce GTX 470");
    desc.VendorId = 0x10DE;
    desc.DeviceId = 0x06CD;
    desc.SubSysId = 0;
    desc.Revision = 0xA3;
    desc.DedicatedVideoMemory = 1048576;
    desc.DedicatedSystemMemory = 0;
    desc.SharedSystemMemory = 1073741824;
    desc.AdapterLuid = LUID{0xC3F1, 0};
    desc.Flags = 0;
    const ReportRecord record = BuildDxgiAdapterRecord(desc);
    EXPECT_EQ(record.title, L"NVIDIA GeForce GTX 470");
    const std::vector<ReportField> expected = {
        {L"DXGI-Hardware-IDs", L"VEN_10DE · DEV_06CD · SUBSYS_00000000 · REV_A3"},
        {L"Dedizierter Videospeicher", L"1.00 MiB (1048576 Byte)"},
        {L"Dedizierter Systemspeicher", L"0"},
        {L"Gemeinsam genutzter Systemspeicher", L"1.00 GiB (1073741824 Byte)"},
        {L"Adapter-LUID", L"00000000:0000C3F1"},
        {L"Softwareadapter", L"Nein"},
        {L"GPU-/VRAM-Takt", L"Vom standardisierten Windows-DXGI-Treiberweg nicht zuverlässig gemeldet"},
    };
    EXPECT_EQ(record.fields, expected);
}

TEST(BuildDxgiAdapterRecord, KeepsMemorySizesBeyondFourGibibytes) {
    DXGI_ADAPTER_DESC1 desc = Desc(L"Radeon");
    desc.DedicatedVideoMemory = SIZE_T{24} << 30;
    desc.SharedSystemMemory = (SIZE_T{1} << 32) + 1;
    const ReportRecord record = BuildDxgiAdapterRecord(desc);
    EXPECT_EQ(GetFieldValue(record, L"Dedizierter Videospeicher"), L"24.00 GiB (25769803776 Byte)");
    EXPECT_EQ(GetFieldValue(record, L"Gemeinsam genutzter Systemspeicher"), L"4.00 GiB (4294967297 Byte)");
}

TEST(BuildDxgiAdapterRecord, ReadsOnlyTheSoftwareBitOfTheFlags) {
    const std::pair<UINT, const wchar_t*> cases[] = {
        {0, L"Nein"}, {DXGI_ADAPTER_FLAG_REMOTE, L"Nein"}, {DXGI_ADAPTER_FLAG_SOFTWARE, L"Ja"},
        {DXGI_ADAPTER_FLAG_SOFTWARE | DXGI_ADAPTER_FLAG_REMOTE, L"Ja"}, {0xFFFFFFFD, L"Nein"},
    };
    for (const auto& [flags, expected] : cases) {
        DXGI_ADAPTER_DESC1 desc = Desc(L"Microsoft Basic Render Driver");
        desc.Flags = flags;
        EXPECT_EQ(GetFieldValue(BuildDxgiAdapterRecord(desc), L"Softwareadapter"), expected) << flags;
    }
}

TEST(BuildDxgiAdapterRecord, KeepsAnEmptyDescriptionAsEmptyTitle) {
    const ReportRecord record = BuildDxgiAdapterRecord(Desc(L""));
    EXPECT_EQ(record.title, L"");
    EXPECT_EQ(LabelsOf(record), kAdapterLabels);
}

TEST(BuildDxgiAdapterRecord, StopsAtTheEndOfADescriptionWithoutTerminator) {
    DXGI_ADAPTER_DESC1 desc{};
    std::fill(std::begin(desc.Description), std::end(desc.Description), L'G');
    desc.VendorId = 0x00410041;  // "AA" if the title ran on into the next member
    const ReportRecord record = BuildDxgiAdapterRecord(desc);
    EXPECT_EQ(record.title, std::wstring(128, L'G'));
}

TEST(AppendDxgiAdapters, SkipsFailedAdaptersAndStopsAtNotFound) {
    AdapterLedger ledger;
    FakeFactory factory(ledger, {
        {S_OK, L"Erste"},
        {E_FAIL, nullptr},
        {S_OK, L"Ohne Beschreibung", false},
        {S_OK, L"Zweite"},
        {DXGI_ERROR_NOT_FOUND, nullptr},
        {S_OK, L"Nach dem Ende"},
    });
    ReportCategory graphics{L"Grafik", {}};
    AppendDxgiAdapters(factory, graphics);
    EXPECT_EQ(Titles(graphics), (std::vector<std::wstring>{L"Erste", L"Zweite"}));
    EXPECT_EQ(factory.requested, (std::vector<UINT>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(factory.pointerNotCleared);
    EXPECT_EQ(ledger.alive, 0) << "every adapter is released";
}

TEST(AppendDxgiAdapters, AppendsAfterTheRecordsAlreadyThere) {
    AdapterLedger ledger;
    FakeFactory factory(ledger, {{S_OK, L"Gleicher Name"}, {S_OK, L"Gleicher Name"}, {DXGI_ERROR_NOT_FOUND, nullptr}});
    ReportCategory graphics{L"Grafik", {ReportRecord{L"Gleicher Name", {{L"Status", L"OK"}}}}};
    AppendDxgiAdapters(factory, graphics);
    ASSERT_EQ(graphics.records.size(), 3u);
    EXPECT_EQ(LabelsOf(graphics.records[0]), std::vector<std::wstring>{L"Status"});
    EXPECT_EQ(LabelsOf(graphics.records[1]), kAdapterLabels);
    EXPECT_EQ(LabelsOf(graphics.records[2]), kAdapterLabels);
}

TEST(AppendDxgiAdapters, DistrustsAnAdapterHandedOutWithAFailureAndReleasesIt) {
    AdapterLedger ledger;
    FakeFactory factory(ledger, {{E_FAIL, L"Halb kaputt"}, {S_OK, L"Gut"}, {DXGI_ERROR_NOT_FOUND, nullptr}});
    ReportCategory graphics{L"Grafik", {}};
    AppendDxgiAdapters(factory, graphics);
    EXPECT_EQ(Titles(graphics), std::vector<std::wstring>{L"Gut"});
    EXPECT_EQ(ledger.alive, 0);
}

TEST(AppendDxgiAdapters, GivesUpOnAFactoryThatNeverEndsItsEnumeration) {
    AdapterLedger ledger;
    FakeFactory factory(ledger, {{S_OK, L"Einzige"}, {DXGI_ERROR_INVALID_CALL, nullptr}});
    ReportCategory graphics{L"Grafik", {}};
    AppendDxgiAdapters(factory, graphics);
    EXPECT_EQ(Titles(graphics), std::vector<std::wstring>{L"Einzige"});
    EXPECT_LT(factory.requested.size(), 100u);
    EXPECT_EQ(ledger.alive, 0);
}

TEST(AppendDxgiAdapters, KeepsGoingPastAFewFailedIndices) {
    AdapterLedger ledger;
    std::vector<EnumAnswer> script(8, EnumAnswer{E_FAIL, nullptr});
    script.push_back({S_OK, L"Spät"});
    script.push_back({DXGI_ERROR_NOT_FOUND, nullptr});
    FakeFactory factory(ledger, script);
    ReportCategory graphics{L"Grafik", {}};
    AppendDxgiAdapters(factory, graphics);
    EXPECT_EQ(Titles(graphics), std::vector<std::wstring>{L"Spät"});
}

// Under an X display Wine's DXGI lists its adapters; without one the factory cannot be made.
TEST(CollectGpusDxgi, ListsThePlatformsAdaptersOrLeavesOneHint) {
    const ComApartment com;
    HardwareReport report;
    CollectGpusDxgi(report);
    if (!report.hints.empty()) {
        EXPECT_EQ(report.hints, std::vector<std::wstring>{L"DXGI-Adapterinformationen konnten nicht geladen werden."});
        EXPECT_TRUE(report.categories.empty()) << "a failed factory leaves the category alone";
        return;
    }
    ASSERT_EQ(report.categories.size(), 1u);
    EXPECT_EQ(report.categories[0].name, L"Grafik");
    ASSERT_FALSE(report.categories[0].records.empty());
    for (const ReportRecord& record : report.categories[0].records) {
        EXPECT_EQ(LabelsOf(record), kAdapterLabels);
        EXPECT_TRUE(std::regex_match(GetFieldValue(record, L"DXGI-Hardware-IDs"),
                                     std::wregex(L"VEN_[0-9A-F]{4,} · DEV_[0-9A-F]{4,} · SUBSYS_[0-9A-F]{8} · REV_[0-9A-F]{2,}")));
        EXPECT_TRUE(std::regex_match(GetFieldValue(record, L"Adapter-LUID"), std::wregex(L"[0-9A-F]{8}:[0-9A-F]{8}")));
    }
}

TEST(CollectGpusDxgi, AppendsToAnExistingGraphicsCategory) {
    const ComApartment com;
    HardwareReport report;
    report.categories.push_back(ReportCategory{L"Grafik", {ReportRecord{L"WMI", {}}}});
    report.categories.push_back(ReportCategory{L"Netzwerk", {}});
    CollectGpusDxgi(report);
    ASSERT_EQ(report.categories.size(), 2u);
    EXPECT_EQ(report.categories[0].records.front().title, L"WMI");
    EXPECT_TRUE(report.categories[1].records.empty());
}
