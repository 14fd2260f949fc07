#pragma once

// Answers that a machine gave to WMI queries, replayed by a session in place of WMI. Tests run
// the scan's steps on them where this system's WMI lacks the classes or namespaces that Windows
// has; the program itself never makes a recording.

#include "wmi/WmiSession.h"

#include <string>
#include <utility>
#include <vector>

#include <windows.h>
#include <oaidl.h>
#include <wbemcli.h>

// One property value as IWbemClassObject::Get hands it over: the property's CIM type and the
// VARIANT it fills (uint16 and uint32 as VT_I4, uint64 and datetimes as BSTR, arrays as
// SAFEARRAYs, NULL as VT_NULL). Owns the VARIANT.
struct RecordedValue {
    CIMTYPE cimType = CIM_EMPTY;
    VARIANT value;

    RecordedValue() { VariantInit(&value); }
    RecordedValue(const RecordedValue& other);
    RecordedValue& operator=(const RecordedValue& other);
    ~RecordedValue() { VariantClear(&value); }
};

// One result object: each property under the name its class gives it.
using RecordedObject = std::vector<std::pair<std::wstring, RecordedValue>>;

struct RecordedAnswer {
    std::wstring namespacePath;
    std::wstring wql;
    std::vector<RecordedObject> objects;
};

// A namespace exists when some answer names it; a query that no answer names finds no objects,
// as a class without instances does. Namespaces, queries and property names are matched without
// regard to case, as WMI matches them.
struct WmiRecording {
    std::vector<RecordedAnswer> answers;
    std::vector<std::wstring> opened;                           // every namespace a session asked for
    std::vector<std::pair<std::wstring, std::wstring>> sent;    // namespace and WQL of every query run
};

bool RecordingHasNamespace(const WmiRecording& recording, const std::wstring& namespacePath);
// The rows of the answer to wql in namespacePath, read as a live session reads its objects; the
// query is logged in the recording's sent list.
std::vector<WmiRow> ReplayQuery(WmiRecording& recording, const std::wstring& namespacePath, const std::wstring& wql,
                                const std::vector<std::wstring>& properties);
