#include "export/JsonReport.h"

#include "export/LengthCount.h"
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

bool NeedsEscape(wchar_t unit) {
    return unit < 0x20 || unit == L'"' || unit == L'\\';
}

// Nearly no text needs an escape. Counted without a branch per unit, the compiler checks
// several units at once, and a text without escapes is appended in one piece.
size_t CountEscapes(const std::wstring& text) {
    size_t count = 0;
    for (const wchar_t unit : text) {
        count += static_cast<size_t>((unit < 0x20) | (unit == L'"') | (unit == L'\\'));
    }
    return count;
}

void AppendUnicodeEscape(std::wstring& out, wchar_t unit) {
    static constexpr wchar_t hexDigits[] = L"0123456789abcdef";
    out += L"\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += hexDigits[(static_cast<unsigned>(unit) >> shift) & 0xF];
    }
}

// Appends straight into the document, the runs between escapes in one piece each.
void AppendEscaped(std::wstring& out, const std::wstring& text) {
    if (CountEscapes(text) == 0) {
        out += text;
        return;
    }
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t unit = text[i];
        if (!NeedsEscape(unit)) {
            continue;
        }
        out.append(text, run, i - run);
        run = i + 1;
        if (const wchar_t letter = FindShortEscape(unit)) {
            out += L'\\';
            out += letter;
        } else {
            AppendUnicodeEscape(out, unit);
        }
    }
    out.append(text, run, std::wstring::npos);
}

void AppendQuoted(std::wstring& out, const std::wstring& text) {
    out += L'"';
    AppendEscaped(out, text);
    out += L'"';
}

void AppendQuoted(LengthCount& out, const std::wstring& text) {
    size_t length = text.size() + 2;
    if (CountEscapes(text) > 0) {
        for (const wchar_t unit : text) {
            if (NeedsEscape(unit)) {
                length += FindShortEscape(unit) ? 1 : 5;
            }
        }
    }
    out.Add(length);
}

template <class Out>
void AppendNumber(Out& out, int32_t value) {
    out += std::to_wstring(value);
}

template <class Out>
void AppendRecord(Out& out, const ReportRecord& record) {
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

template <class Out>
void WriteJsonReport(Out& out, const HardwareReport& report, const std::wstring& buildDate) {
    out += L"{\n";
    out += L"  \"application\": \"Velquist\",\n";
    out += L"  \"version\": \"";
    out += kVersionText;
    out += L"\",\n";
    out += L"  \"build_date\": ";
    AppendQuoted(out, buildDate);
    out += L",\n  \"created\": ";
    AppendQuoted(out, report.created);
    out += L",\n  \"read_only\": true,\n";
    out += L"  \"load\": {\"cpu_percent\": ";
    AppendNumber(out, report.load.cpuPercent);
    out += L", \"memory_percent\": ";
    AppendNumber(out, report.load.memoryPercent);
    out += L", \"disk_percent\": ";
    AppendNumber(out, report.load.diskPercent);
    out += L", \"gpu_percent\": ";
    AppendNumber(out, report.load.gpuPercent);
    out += L"},\n";

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
}

}  // namespace

std::wstring JsonEscape(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size() + 8);
    AppendEscaped(out, text);
    return out;
}

std::wstring BuildJsonReport(const HardwareReport& report) {
    return BuildJsonReportWithBuildDate(report, FormatBuildDate());
}

std::wstring BuildJsonReportWithBuildDate(const HardwareReport& report, const std::wstring& buildDate) {
    return BuildMeasured([&](auto& out) { WriteJsonReport(out, report, buildDate); });
}
