#include "export/JsonReport.h"

#include "model/Version.h"

namespace {

struct ShortEscape {
    wchar_t unit;
    wchar_t letter;
};

constexpr ShortEscape kShortEscapes[] = {
    {L'\b', L'b'}, {L'\t', L't'}, {L'\n', L'n'}, {L'\f', L'f'}, {L'\r', L'r'}, {L'"', L'"'}, {L'\\', L'\\'},
};

wchar_t FindShortEscape(wchar_t unit) {
    for (const ShortEscape& escape : kShortEscapes) {
        if (escape.unit == unit) {
            return escape.letter;
        }
    }
    return 0;
}

void AppendUnicodeEscape(std::wstring& out, wchar_t unit) {
    static constexpr wchar_t hexDigits[] = L"0123456789abcdef";
    out += L"\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += hexDigits[(static_cast<unsigned>(unit) >> shift) & 0xF];
    }
}

void AppendQuoted(std::wstring& out, const std::wstring& text) {
    out += L'"';
    out += JsonEscape(text);
    out += L'"';
}

void AppendRecord(std::wstring& out, const ReportRecord& record) {
    out += L"      {\"title\": ";
    AppendQuoted(out, record.title);
    out += L", \"fields\": {";
    bool first = true;
    for (const ReportField& field : record.fields) {
        if (!first) {
            out += L", ";
        }
        first = false;
        // Duplicate labels stay duplicate keys: the file mirrors the record as shown.
        AppendQuoted(out, field.first);
        out += L": ";
        AppendQuoted(out, field.second);
    }
    out += L"}}";
}

}  // namespace

std::wstring JsonEscape(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size() + 8);
    for (const wchar_t unit : text) {
        if (const wchar_t letter = FindShortEscape(unit)) {
            out += L'\\';
            out += letter;
        } else if (unit < 0x20) {
            AppendUnicodeEscape(out, unit);
        } else {
            out += unit;
        }
    }
    return out;
}

std::wstring BuildJsonReport(const HardwareReport& report) {
    return BuildJsonReportWithBuildDate(report, FormatBuildDate());
}

std::wstring BuildJsonReportWithBuildDate(const HardwareReport& report, const std::wstring& buildDate) {
    std::wstring out;
    out.reserve(4096);
    out += L"{\n";
    out += L"  \"application\": \"Velquist\",\n";
    out += std::wstring(L"  \"version\": \"") + kVersionText + L"\",\n";
    out += L"  \"build_date\": ";
    AppendQuoted(out, buildDate);
    out += L",\n  \"created\": ";
    AppendQuoted(out, report.created);
    out += L",\n  \"read_only\": true,\n";
    out += L"  \"load\": {\"cpu_percent\": " + std::to_wstring(report.load.cpuPercent) +
           L", \"memory_percent\": " + std::to_wstring(report.load.memoryPercent) +
           L", \"disk_percent\": " + std::to_wstring(report.load.diskPercent) +
           L", \"gpu_percent\": " + std::to_wstring(report.load.gpuPercent) + L"},\n";

    out += L"  \"sections\": [\n";
    for (size_t c = 0; c < report.categories.size(); ++c) {
        const ReportCategory& category = report.categories[c];
        out += L"    {\"name\": ";
        AppendQuoted(out, category.name);
        out += L", \"records\": [\n";
        for (size_t r = 0; r < category.records.size(); ++r) {
            AppendRecord(out, category.records[r]);
            out += r + 1 < category.records.size() ? L",\n" : L"\n";
        }
        out += c + 1 < report.categories.size() ? L"    ]},\n" : L"    ]}\n";
    }
    out += L"  ],\n";

    out += L"  \"warnings\": [";
    for (size_t h = 0; h < report.hints.size(); ++h) {
        if (h > 0) {
            out += L", ";
        }
        AppendQuoted(out, report.hints[h]);
    }
    out += L"]\n}\n";
    return out;
}
