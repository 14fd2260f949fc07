#include "inventory/ScanSteps.h"

#include "inventory/QueryStep.h"

#include <string>
#include <vector>

void RunQueryLiteral(HardwareReport& report, WmiSession& session, const QueryLiteral& query) {
    FieldTable table;
    table.reserve(query.fields.size());
    for (const FieldLiteral& field : query.fields) {
        table.push_back({field.label, field.wmiProperty});
    }
    RunQueryIntoCategory(report, session, query.category, query.wql, PropertyListFor(query.titleProperty, table),
                         query.titleProperty, table);
}
