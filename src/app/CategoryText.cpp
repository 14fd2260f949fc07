#include "app/CategoryText.h"

std::wstring BuildCategoryClipboardText(const ReportCategory& category) {
    size_t size = category.name.size() + 4;
    for (const ReportRecord& record : category.records) {
        size += record.title.size() + 5;
        for (const ReportField& field : record.fields) {
            size += field.first.size() + field.second.size() + 4;
        }
    }
    std::wstring text;
    text.reserve(size);
    text.append(category.name).append(L"\r\n\r\n");
    for (const ReportRecord& record : category.records) {
        text.append(L"[").append(record.title).append(L"]\r\n");
        for (const ReportField& field : record.fields) {
            text.append(field.first).append(L": ").append(field.second).append(L"\r\n");
        }
        text.append(L"\r\n");
    }
    return text;
}
