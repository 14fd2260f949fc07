#pragma once

// Property values as IWbemClassObject::Get hands over each CIM type of Microsoft's class
// documentation, for recorded rows of classes and namespaces that Wine lacks.

#include "wmi/WmiRecording.h"

#include <cstdint>
#include <initializer_list>
#include <string>

inline RecordedValue CimValue(CIMTYPE cimType, VARTYPE variantType) {
    RecordedValue recorded;
    recorded.cimType = cimType;
    recorded.value.vt = variantType;
    return recorded;
}

inline BSTR AllocateBstr(const std::wstring& text) {
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

inline RecordedValue CimString(const std::wstring& text) {
    RecordedValue recorded = CimValue(CIM_STRING, VT_BSTR);
    recorded.value.bstrVal = AllocateBstr(text);
    return recorded;
}

// "yyyymmddHHMMSS.mmmmmmsUUU", with asterisks in the fields the provider leaves open.
inline RecordedValue CimDatetime(const std::wstring& text) {
    RecordedValue recorded = CimString(text);
    recorded.cimType = CIM_DATETIME;
    return recorded;
}

inline RecordedValue CimBoolean(bool value) {
    RecordedValue recorded = CimValue(CIM_BOOLEAN, VT_BOOL);
    recorded.value.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return recorded;
}

// WMI hands uint16, uint32 and sint32 over alike, as a signed 32-bit VT_I4.
inline RecordedValue CimInteger(CIMTYPE cimType, int32_t value) {
    RecordedValue recorded = CimValue(cimType, VT_I4);
    recorded.value.lVal = value;
    return recorded;
}

inline RecordedValue CimUint16(uint16_t value) {
    return CimInteger(CIM_UINT16, value);
}

inline RecordedValue CimUint32(uint32_t value) {
    return CimInteger(CIM_UINT32, static_cast<int32_t>(value));
}

inline RecordedValue CimSint32(int32_t value) {
    return CimInteger(CIM_SINT32, value);
}

// uint64 arrives as its decimal text.
inline RecordedValue CimUint64(uint64_t value) {
    RecordedValue recorded = CimString(std::to_wstring(value));
    recorded.cimType = CIM_UINT64;
    return recorded;
}

inline RecordedValue CimReal32(float value) {
    RecordedValue recorded = CimValue(CIM_REAL32, VT_R4);
    recorded.value.fltVal = value;
    return recorded;
}

inline RecordedValue CimNull(CIMTYPE cimType) {
    return CimValue(cimType, VT_NULL);
}

inline RecordedValue CimStringArray(std::initializer_list<std::wstring> texts) {
    RecordedValue recorded = CimValue(CIM_STRING | CIM_FLAG_ARRAY, VT_ARRAY | VT_BSTR);
    recorded.value.parray = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size()));
    LONG index = 0;
    for (const std::wstring& text : texts) {
        const BSTR element = AllocateBstr(text);
        SafeArrayPutElement(recorded.value.parray, &index, element);  // stores a copy
        SysFreeString(element);
        ++index;
    }
    return recorded;
}

// uint16 and uint32 arrays arrive as arrays of VT_I4.
inline RecordedValue CimIntegerArray(CIMTYPE elementType, std::initializer_list<int32_t> values) {
    RecordedValue recorded = CimValue(elementType | CIM_FLAG_ARRAY, VT_ARRAY | VT_I4);
    recorded.value.parray = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(values.size()));
    LONG index = 0;
    for (int32_t value : values) {
        SafeArrayPutElement(recorded.value.parray, &index, &value);
        ++index;
    }
    return recorded;
}
