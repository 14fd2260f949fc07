#include "model/Report.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>

ReportCategory& FindOrAddCategory(std::vector<ReportCategory>& categories, const std::wstring& name) {
    for (ReportCategory& category : categories) {
        if (category.name == name) {
            return category;
        }
    }
    categories.push_back(ReportCategory{name, {}});
    return categories.back();
}

void SetField(ReportRecord& record, const std::wstring& label, const std::wstring& value) {
    if (IsUnknownValue(value)) {
        return;
    }
    for (ReportField& field : record.fields) {
        if (field.first != label) {
            continue;
        }
        std::wstring& stored = field.second;
        if (IsUnknownValue(stored)) {
            stored = value;
        } else if (NormalizeIdentifier(stored) != NormalizeIdentifier(value) &&
                   stored.find(value) == std::wstring::npos) {
            stored.append(L" · ").append(value);
        }
        return;
    }
    record.fields.emplace_back(label, value);
}

std::wstring GetFieldValue(const ReportRecord& record, const std::wstring& label) {
    for (const ReportField& field : record.fields) {
        if (field.first == label) {
            return field.second;
        }
    }
    return {};
}

bool IsUnknownValue(const std::wstring& value) {
    return value.empty() || value == kNotReported || value == L"Unknown" || value == L"Unbekannt" ||
           value == L"0 Byte";
}

std::wstring LowerLettersAndDigits(const std::wstring& text) {
    std::wstring result;
    result.reserve(text.size());
    for (wchar_t c : text) {
        if (std::iswalnum(static_cast<wint_t>(c))) {
            result.push_back(static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))));
        }
    }
    return result;
}

std::wstring NormalizeIdentifier(const std::wstring& text) {
    std::wstring result = LowerLettersAndDigits(text);
    // Vendor prefixes and bus words that different sources add to the same device's names.
    // Removing one can join its neighbours into a new occurrence, so each search starts over.
    static constexpr const wchar_t* noiseWords[] = {L"storageapi", L"diskdrive", L"scsidiskdevice", L"nvme", L"ata"};
    for (const wchar_t* word : noiseWords) {
        const size_t length = std::wcslen(word);
        for (size_t at = result.find(word); at != std::wstring::npos; at = result.find(word)) {
            result.erase(at, length);
        }
    }
    return result;
}

std::wstring TrimWhitespace(std::wstring text) {
    size_t begin = 0;
    while (begin < text.size() && std::iswspace(static_cast<wint_t>(text[begin]))) {
        ++begin;
    }
    size_t end = text.size();
    while (end > begin && std::iswspace(static_cast<wint_t>(text[end - 1]))) {
        --end;
    }
    return text.substr(begin, end - begin);
}

uint64_t ParseUInt(const std::wstring& text) {
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    const unsigned long long value = std::wcstoull(begin, &end, 10);
    if (end == begin || errno == ERANGE) {
        return 0;
    }
    return value;
}

bool ContainsNoCase(const std::wstring& text, const std::wstring& needle) {
    auto lower = [](std::wstring value) {
        for (wchar_t& c : value) {
            if (c >= L'A' && c <= L'Z') {
                c = static_cast<wchar_t>(c - L'A' + L'a');
            }
        }
        return value;
    };
    return lower(text).find(lower(needle)) != std::wstring::npos;
}
