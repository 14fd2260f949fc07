#pragma once

// Small read-only views of reports that the inventory tests compare against.

#include "model/Report.h"

#include <string>
#include <vector>

inline std::vector<std::wstring> LabelsOf(const ReportRecord& record) {
    std::vector<std::wstring> labels;
    for (const ReportField& field : record.fields) {
        labels.push_back(field.first);
    }
    return labels;
}

inline std::vector<std::wstring> Names(const std::vector<ReportCategory>& categories) {
    std::vector<std::wstring> names;
    for (const ReportCategory& category : categories) {
        names.push_back(category.name);
    }
    return names;
}

inline std::vector<std::wstring> Names(const HardwareReport& report) {
    return Names(report.categories);
}

inline const ReportCategory* FindCategory(const HardwareReport& report, const std::wstring& name) {
    for (const ReportCategory& category : report.categories) {
        if (category.name == name) {
            return &category;
        }
    }
    return nullptr;
}
