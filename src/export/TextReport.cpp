#include "export/TextReport.h"

#include "export/LengthCount.h"
#include "model/Version.h"

namespace {

constexpr size_t kLabelWidth = 38;
constexpr size_t kRuleWidth = 80;

template <class Out, class Text>
void AppendLine(Out& out, const Text& text) {
    out += text;
    out += L'\n';
}

template <class Out>
void AppendRule(Out& out) {
    out.append(kRuleWidth, L'=');
    out += L'\n';
}

template <class Out>
void AppendFieldLine(Out& out, const ReportField& field) {
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

template <class Out>
void WriteTextReport(Out& out, const HardwareReport& report, const std::wstring& buildDate) {
    AppendLine(out, L"VELQUIST – HARDWAREBERICHT");
    out += L"Version: ";
    AppendLine(out, kVersionText);
    out += L"Kompiliert am: ";
    AppendLine(out, buildDate);
    out += L"Erstellt: ";
    AppendLine(out, report.created);
    out += L'\n';

    for (const ReportCategory& category : report.categories) {
        AppendRule(out);
        AppendLine(out, category.name);
        AppendRule(out);
        if (category.records.empty()) {
            AppendLine(out, L"Keine Daten von Windows gemeldet.");
            out += L'\n';
        }
        for (const ReportRecord& record : category.records) {
            out += L"\n[";
            out += record.title;
            out += L"]\n";
            for (const ReportField& field : record.fields) {
                AppendFieldLine(out, field);
            }
        }
        out += L'\n';
    }

    if (!report.hints.empty()) {
        AppendLine(out, L"DIAGNOSEHINWEISE");
        for (const std::wstring& hint : report.hints) {
            out += L"- ";
            AppendLine(out, hint);
        }
    }
}

}  // namespace

std::wstring BuildTextReport(const HardwareReport& report) {
    return BuildTextReportWithBuildDate(report, FormatBuildDate());
}

std::wstring BuildTextReportWithBuildDate(const HardwareReport& report, const std::wstring& buildDate) {
    return BuildMeasured([&](auto& out) { WriteTextReport(out, report, buildDate); });
}
