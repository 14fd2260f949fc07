#include "app/ReportView.h"

#include "app/ValueColours.h"

#include <array>

namespace {

constexpr int kHeadingHeight = 280;
constexpr int kSpacerHeight = 100;
constexpr int kRecordTitleHeight = 215;
constexpr int kFieldHeight = 185;
constexpr int kEmptyNoteHeight = 190;

std::wstring LiveLoadValue(int32_t percent) {
    return percent >= 0 ? std::to_wstring(percent) + L" %" : std::wstring(kNotReported);
}

} // namespace

std::wstring TreeItemText(const ReportCategory& category) {
    return category.name + L"  (" + std::to_wstring(category.records.size()) + L")";
}

int TreeItemImage(size_t index) {
    return static_cast<int>(index % 10);
}

std::vector<StyledPiece> RenderCategoryPieces(const ReportCategory& category) {
    std::vector<StyledPiece> pieces;
    pieces.reserve(3 + category.records.size() * 8);
    pieces.push_back({L"  " + category.name + L"\r\n", WhiteColor, true, kHeadingHeight, HeadingColor});
    pieces.push_back({L"\r\n", TextColor, false, kSpacerHeight, PanelColor});
    for (const ReportRecord& record : category.records) {
        const std::wstring& title = record.title.empty() ? std::wstring(L"Unbenannter Datensatz") : record.title;
        pieces.push_back({L"  ◆  " + title + L"\r\n", RecordTitleColor, true, kRecordTitleHeight, TileColor});
        for (const auto& [label, value] : record.fields) {
            pieces.push_back({L"    " + label + L":  ", SecondaryTextColor, true, kFieldHeight, PanelColor});
            pieces.push_back({value + L"\r\n", FieldValueColor(label, value), false, kFieldHeight, PanelColor});
        }
        pieces.push_back({L"\r\n", TextColor, false, kSpacerHeight, PanelColor});
    }
    if (category.records.empty()) {
        pieces.push_back({L"Windows hat für diese Kategorie keine Werte gemeldet.\r\n", SecondaryTextColor, false,
                          kEmptyNoteHeight, PanelColor});
    }
    return pieces;
}

std::wstring ScanSummaryText(const HardwareReport* report) {
    size_t categories = 0;
    size_t records = 0;
    size_t hints = 0;
    if (report) {
        categories = report->categories.size();
        for (const ReportCategory& category : report->categories) {
            records += category.records.size();
        }
        hints = report->hints.size();
    }
    std::wstring text = L"Analyse abgeschlossen: " + std::to_wstring(categories) + L" Kategorien, " +
                        std::to_wstring(records) + L" Datensätze";
    if (hints > 0) {
        text += L", " + std::to_wstring(hints) + L" Diagnosehinweis(e)";
    }
    return text;
}

std::wstring LoadTileValueText(int percent) {
    if (percent < 0) {
        return L"n. v.";
    }
    if (percent == 0) {
        return L"0 % · Leerlauf";
    }
    return std::to_wstring(percent) + L" %";
}

bool IsLiveLoadCategory(const ReportCategory& category) {
    return category.name == kLiveLoadCategory;
}

bool FieldLabelEquals(const ReportField& field, const std::wstring& label) {
    return field.first == label;
}

void UpdateLiveLoadCategory(HardwareReport& report) {
    ReportCategory* live = nullptr;
    for (ReportCategory& category : report.categories) {
        if (IsLiveLoadCategory(category)) {
            live = &category;
            break;
        }
    }
    if (!live || live->records.empty()) {
        return;
    }
    ReportRecord& record = live->records.front();
    const LoadSnapshot& load = report.load;
    const std::array<std::pair<const wchar_t*, int32_t>, 4> values = {{
        {L"CPU-Auslastung", load.cpuPercent},
        {L"Arbeitsspeicher-Auslastung", load.memoryPercent},
        {L"Datenträger-Auslastung", load.diskPercent},
        {L"GPU-Auslastung (höchste Engine)", load.gpuPercent},
    }};
    for (const auto& [label, percent] : values) {
        for (ReportField& field : record.fields) {
            if (FieldLabelEquals(field, label)) {
                field.second = LiveLoadValue(percent);
                break;
            }
        }
    }
}
