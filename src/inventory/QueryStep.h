#pragma once

// The uniform step that fills most categories: one WQL query, one record per result row.

#include "model/Report.h"
#include "wmi/WmiSession.h"

#include <string>
#include <vector>

struct FieldPair {
    std::wstring label;        // the German display label of the field
    std::wstring wmiProperty;  // spelled as the class defines it
};

// Every record built from a table carries exactly its labels, in its order; nothing is de-duplicated.
using FieldTable = std::vector<FieldPair>;

// The properties a step reads: the title property first, then every table property in table order.
std::vector<std::wstring> PropertyListFor(const std::wstring& titleProperty, const FieldTable& fieldTable);

// Creates the category even when the query returns nothing; a failed query without rows
// leaves the session's error text in the report's hints. Untitled rows are numbered on from
// the records the category already holds.
void RunQueryIntoCategory(HardwareReport& report, WmiSession& session, const std::wstring& categoryName,
                          const std::wstring& wql, const std::vector<std::wstring>& propertyList,
                          const std::wstring& titleProperty, const FieldTable& fieldTable);

// The step after its query: one record per row, appended to the category. A title the row lacks
// or leaves blank becomes the category name and the record's running number in the category.
void AppendRowsToCategory(ReportCategory& category, const std::vector<WmiRow>& rows,
                          const std::wstring& titleProperty, const FieldTable& fieldTable);

// Appends one field per table pair, trimmed; a value the row lacks or leaves blank reads "Nicht gemeldet".
void FillFieldsFromRow(ReportRecord& record, const WmiRow& row, const FieldTable& fieldTable);
