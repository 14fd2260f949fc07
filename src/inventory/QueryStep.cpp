#include "inventory/QueryStep.h"

#include "inventory/Formatters.h"

std::vector<std::wstring> PropertyListFor(const std::wstring& titleProperty, const FieldTable& fieldTable) {
    std::vector<std::wstring> properties;
    properties.reserve(fieldTable.size() + 1);
    properties.push_back(titleProperty);
    for (const FieldPair& pair : fieldTable) {
        properties.push_back(pair.wmiProperty);
    }
    return properties;
}

void RunQueryIntoCategory(HardwareReport& report, WmiSession& session, const std::wstring& categoryName,
                          const std::wstring& wql, const std::vector<std::wstring>& propertyList,
                          const std::wstring& titleProperty, const FieldTable& fieldTable) {
    const std::vector<WmiRow> rows = session.Query(wql, propertyList);
    AppendRowsToCategory(FindOrAddCategory(report.categories, categoryName), rows, titleProperty, fieldTable);
    if (rows.empty() && !session.LastError().empty()) {
        report.hints.push_back(session.LastError());
    }
}

void AppendRowsToCategory(ReportCategory& category, const std::vector<WmiRow>& rows,
                          const std::wstring& titleProperty, const FieldTable& fieldTable) {
    // Counts titled rows too, so a second step into the same category numbers on.
    size_t number = category.records.size() + 1;
    for (const WmiRow& row : rows) {
        ReportRecord record;
        // Firmware pads its strings with blanks; a title of blanks only is as missing as an empty one.
        record.title = TrimWhitespace(GetRowValue(row, titleProperty, L""));
        if (record.title.empty()) {
            record.title = category.name + L" " + std::to_wstring(number);
        }
        FillFieldsFromRow(record, row, fieldTable);
        category.records.push_back(std::move(record));
        ++number;
    }
}

void FillFieldsFromRow(ReportRecord& record, const WmiRow& row, const FieldTable& fieldTable) {
    record.fields.reserve(record.fields.size() + fieldTable.size());
    for (const FieldPair& pair : fieldTable) {
        record.fields.emplace_back(pair.label, TrimmedOrNotReported(GetRowValue(row, pair.wmiProperty, L"")));
    }
}
