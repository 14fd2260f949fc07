#pragma once

// Small builders so each case shows the report it feeds in.

#include "model/Report.h"

#include <initializer_list>
#include <string>

inline ReportRecord MakeRecord(std::wstring title, std::initializer_list<ReportField> fields = {}) {
    ReportRecord record;
    record.title = std::move(title);
    record.fields.assign(fields.begin(), fields.end());
    return record;
}

inline ReportCategory MakeCategory(std::wstring name, std::initializer_list<ReportRecord> records = {}) {
    ReportCategory category;
    category.name = std::move(name);
    category.records.assign(records.begin(), records.end());
    return category;
}
