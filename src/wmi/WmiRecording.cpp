#include "wmi/WmiRecording.h"

namespace {

bool SameName(const std::wstring& left, const std::wstring& right) {
    return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

const RecordedValue* FindProperty(const RecordedObject& object, const std::wstring& name) {
    for (const auto& [property, value] : object) {
        if (SameName(property, name)) {
            return &value;
        }
    }
    return nullptr;
}

WmiRow ReadRecordedRow(const RecordedObject& object, const std::vector<std::wstring>& properties) {
    WmiRow row;
    for (const std::wstring& name : properties) {
        if (row.find(name) != row.end()) {
            continue;
        }
        if (const RecordedValue* value = FindProperty(object, name)) {
            row.emplace(name, CimValueToText(value->value, value->cimType));
        }
    }
    return row;
}

} // namespace

// The source is only read; some SDKs' VariantCopy merely lacks the const.
RecordedValue::RecordedValue(const RecordedValue& other) : cimType(other.cimType) {
    VariantInit(&value);
    VariantCopy(&value, const_cast<VARIANT*>(&other.value));
}

RecordedValue& RecordedValue::operator=(const RecordedValue& other) {
    if (this != &other) {
        cimType = other.cimType;
        VariantClear(&value);
        VariantCopy(&value, const_cast<VARIANT*>(&other.value));
    }
    return *this;
}

bool RecordingHasNamespace(const WmiRecording& recording, const std::wstring& namespacePath) {
    for (const RecordedAnswer& answer : recording.answers) {
        if (SameName(answer.namespacePath, namespacePath)) {
            return true;
        }
    }
    return false;
}

std::vector<WmiRow> ReplayQuery(WmiRecording& recording, const std::wstring& namespacePath, const std::wstring& wql,
                                const std::vector<std::wstring>& properties) {
    recording.sent.emplace_back(namespacePath, wql);
    std::vector<WmiRow> rows;
    for (const RecordedAnswer& answer : recording.answers) {
        if (SameName(answer.namespacePath, namespacePath) && SameName(answer.wql, wql)) {
            for (const RecordedObject& object : answer.objects) {
                rows.push_back(ReadRecordedRow(object, properties));
            }
            break;
        }
    }
    return rows;
}
