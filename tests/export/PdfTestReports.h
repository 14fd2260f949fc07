#pragma once

// Small builders for the reports the PDF tests feed in.

#include "model/Report.h"

#include <string>
#include <vector>

inline ReportRecord PdfTestRecord(std::wstring title, std::vector<ReportField> fields) {
    ReportRecord record;
    record.title = std::move(title);
    record.fields = std::move(fields);
    return record;
}

inline ReportCategory PdfTestCategory(std::wstring name, std::vector<ReportRecord> records) {
    ReportCategory category;
    category.name = std::move(name);
    category.records = std::move(records);
    return category;
}

// A record with `count` fields labelled "Feld 0", "Feld 1", ...
inline ReportRecord PdfTestNumberedRecord(std::wstring title, size_t count) {
    ReportRecord record;
    record.title = std::move(title);
    for (size_t i = 0; i < count; ++i) {
        record.fields.emplace_back(L"Feld " + std::to_wstring(i), L"Wert " + std::to_wstring(i));
    }
    return record;
}

// Counts how often `needle` occurs in `text`.
inline size_t PdfTestCount(const std::string& text, const std::string& needle) {
    size_t count = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) {
        ++count;
    }
    return count;
}
