#include "knowledge/KnowledgeBase.h"

#include "knowledge/MonitorIdentification.h"


const HardwareIdVendorEntry kHardwareIdVendors[kHardwareIdVendorCount] = {
    {L"vid046d", L"Logitech"},
    {L"vid045e", L"Microsoft"},
    {L"vid04f2", L"Chicony"},
    {L"vid0bda", L"Realtek"},
    {L"vid8087", L"Intel"},
    {L"vid0a5c", L"Broadcom"},
    {L"vid2357", L"TP-Link"},
    {L"vid0781", L"SanDisk"},
    {L"vid0951", L"Kingston"},
    {L"ven8086", L"Intel"},
    {L"ven10ec", L"Realtek"},
    {L"ven14e4", L"Broadcom"},
    {L"ven168c", L"Qualcomm Atheros"},
    {L"ven10de", L"NVIDIA"},
    {L"ven1002", L"AMD"},
};

namespace {

constexpr wchar_t kMemoryCategory[] = L"Arbeitsspeicher";
constexpr wchar_t kSlotOverviewTitle[] = L"RAM-Steckplatzübersicht";
constexpr wchar_t kMonitorCategory[] = L"Monitore";

void ApplyToRecord(const std::wstring& categoryName, ReportRecord& record) {
    // Built before anything is added, so the pass's own fields never make a further match.
    const std::wstring key = BuildRecordKey(record);
    AddHardwareIdVendor(record, key);
    if (categoryName == kMonitorCategory) {
        IdentifyMonitor(record);
    }
    for (const DeviceProfile& profile : DeviceProfiles()) {
        if (profile.category != categoryName || !ProfileMatches(key, profile)) {
            continue;
        }
        AddFieldIfMissing(record, L"Erkanntes Datenprofil", L"Eindeutige Modell-/Hardwarekennung");
        for (const ReportField& field : profile.fields) {
            AddFieldIfMissing(record, field.first, field.second);
        }
    }
}

} // namespace

void ApplyKnowledgeBase(std::vector<ReportCategory>& categories) {
    for (ReportCategory& category : categories) {
        for (ReportRecord& record : category.records) {
            // The slot overview lists every module of the machine; a profile of one module
            // would be wrong for the overview as a whole.
            if (category.name == kMemoryCategory && record.title == kSlotOverviewTitle) {
                continue;
            }
            ApplyToRecord(category.name, record);
        }
    }
}

std::wstring BuildRecordKey(const ReportRecord& record) {
    size_t length = record.title.size();
    for (const ReportField& field : record.fields) {
        length += field.first.size() + field.second.size() + 2;
    }
    std::wstring text;
    text.reserve(length);
    text.append(record.title);
    for (const ReportField& field : record.fields) {
        text.append(L" ").append(field.first).append(L" ").append(field.second);
    }
    return NormalizeKey(text);
}

std::wstring NormalizeKey(const std::wstring& text) {
    return LowerLettersAndDigits(text);
}

void AddHardwareIdVendor(ReportRecord& record, const std::wstring& key) {
    for (const HardwareIdVendorEntry& entry : kHardwareIdVendors) {
        if (key.find(entry.needle) != std::wstring::npos) {
            AddFieldIfMissing(record, L"Hardware-ID-Hersteller", entry.vendor);
            return;
        }
    }
}

void AddFieldIfMissing(ReportRecord& record, const std::wstring& label, const std::wstring& value) {
    if (value.empty()) {
        return;
    }
    for (const ReportField& field : record.fields) {
        if (field.first == label) {
            return;
        }
    }
    record.fields.emplace_back(label, value);
}

bool ProfileMatches(const std::wstring& key, const DeviceProfile& profile) {
    for (const std::wstring& pattern : profile.patterns) {
        const std::wstring needle = NormalizeKey(pattern);
        if (!needle.empty() && key.find(needle) != std::wstring::npos) {
            return true;
        }
    }
    return false;
}
