#include "export/TextReport.h"

#include "model/Version.h"

namespace {

constexpr size_t kLabelWidth = 38;
constexpr size_t kRuleWidth = 80;

void AppendLine(std::wstring& out, const std::wstring& text) {
    out += text;
    out += L'\n';
}

void AppendFieldLine(std::wstring& out, const ReportField& field) {
    const size_t start = out.size();
    out += field.first;
    out += L':';
    // Counted in UTF-16 units; a label that already fills the column keeps the value glued to its colon.
    const size_t written = out.size() - start;
    if (written < kLabelWidth) {
        out.append(kLabelWidth - written, L' ');
    }
    out += field.second;
    out += L'\n';
}

}  // namespace

std::wstring BuildTextReport(const HardwareReport& report) {
    return BuildTextReportWithBuildDate(report, FormatBuildDate());
}

std::wstring BuildTextReportWithBuildDate(const HardwareReport& report, const std::wstring& buildDate) {
    const std::wstring rule(kRuleWidth, L'=');
    std::wstring out;
    out.reserve(4096);

    AppendLine(out, L"VELQUIST – HARDWAREBERICHT");
    AppendLine(out, std::wstring(L"Version: ") + kVersionText);
    AppendLine(out, L"Kompiliert am: " + buildDate);
    AppendLine(out, L"Erstellt: " + report.created);
    out += L'\n';

    for (const ReportCategory& category : report.categories) {
        AppendLine(out, rule);
        AppendLine(out, category.name);
        AppendLine(out, rule);
        if (category.records.empty()) {
            AppendLine(out, L"Keine Daten von Windows gemeldet.");
            out += L'\n';
        }
        for (const ReportRecord& record : category.records) {
            out += L'\n';
            AppendLine(out, L"[" + record.title + L"]");
            for (const ReportField& field : record.fields) {
                AppendFieldLine(out, field);
            }
        }
        out += L'\n';
    }

    if (!report.hints.empty()) {
        AppendLine(out, L"DIAGNOSEHINWEISE");
        for (const std::wstring& hint : report.hints) {
            AppendLine(out, L"- " + hint);
        }
    }
    return out;
}
