#include "wmi/WmiSession.h"

#include "wmi/ComOwners.h"

#include <cstdint>
#include <optional>

namespace {

std::wstring Hex(uint32_t value) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    wchar_t digits[8];
    int count = 0;
    do {
        digits[count++] = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    std::wstring text;
    text.reserve(count);
    while (count > 0) {
        text.push_back(digits[--count]);
    }
    return text;
}

class LocalOwner {
public:
    LocalOwner() = default;
    ~LocalOwner() { LocalFree(memory); }
    LocalOwner(const LocalOwner&) = delete;
    LocalOwner& operator=(const LocalOwner&) = delete;

    wchar_t* memory = nullptr;
};

// The text the COM support class gives for a code, so messages match what Windows tools show.
std::wstring MessageText(HRESULT hr) {
    const uint32_t code = static_cast<uint32_t>(hr);
    LocalOwner buffer;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                        reinterpret_cast<wchar_t*>(&buffer.memory), 0, nullptr);
    if (length != 0 && buffer.memory != nullptr) {
        std::wstring text(buffer.memory);
        if (text.size() > 1 && text.back() == L'\n') {
            text.pop_back();
            if (text.back() == L'\r') {
                text.pop_back();
            }
        }
        return text;
    }
    // Interface-specific codes: the COM support class reads them as IDispatch exception codes.
    constexpr uint32_t kDispatchBase = 0x80040200;
    if (code > kDispatchBase && code <= 0x8004FFFF) {
        return L"IDispatch error #" + std::to_wstring(code - kDispatchBase);
    }
    return L"Unknown error 0x" + Hex(code);
}

size_t ElementSize(VARTYPE type) {
    switch (type) {
    case VT_I2:
    case VT_UI2:
        return 2;
    case VT_I4:
    case VT_UI4:
        return 4;
    case VT_I8:
    case VT_UI8:
        return 8;
    case VT_BSTR:
        return sizeof(BSTR);
    case VT_VARIANT:
        return sizeof(VARIANT);
    default:
        return 0;  // bytes, booleans, floating-point numbers, dates: not shown
    }
}

// When the array does not record its element type, the variant's type is only a claim. Reading
// an element copies the array's own element size and frees what the array owns by its flags, so
// a claim that disagrees with either would overrun the target or free memory twice.
bool ElementsReadableAs(const SAFEARRAY& array, VARTYPE type) {
    const size_t size = ElementSize(type);
    if (size == 0 || array.cbElements != size) {
        return false;
    }
    if (type == VT_BSTR) {
        return (array.fFeatures & FADF_BSTR) != 0;
    }
    if (type == VT_VARIANT) {
        return (array.fFeatures & FADF_VARIANT) != 0;
    }
    return (array.fFeatures & (FADF_BSTR | FADF_VARIANT | FADF_UNKNOWN | FADF_DISPATCH)) == 0;
}

// How many bits an unsigned CIM integer type has, for a single value or an array; 0 for the rest.
unsigned UnsignedCimBits(CIMTYPE type) {
    switch (type & ~CIM_FLAG_ARRAY) {
    case CIM_UINT8:
        return 8;
    case CIM_UINT16:
        return 16;
    case CIM_UINT32:
        return 32;
    default:
        return 0;
    }
}

std::optional<int64_t> SignedInteger(const VARIANT& value) {
    switch (value.vt) {
    case VT_I1:
        return static_cast<signed char>(value.cVal);
    case VT_I2:
        return value.iVal;
    case VT_I4:
        return value.lVal;
    case VT_INT:
        return value.intVal;
    default:
        return std::nullopt;
    }
}

// With unsignedBits 0 the value reads as its automation type says.
std::wstring ScalarText(const VARIANT& value, unsigned unsignedBits) {
    if (unsignedBits != 0) {
        if (const std::optional<int64_t> number = SignedInteger(value)) {
            const uint64_t mask = (uint64_t{1} << unsignedBits) - 1;
            return std::to_wstring(static_cast<uint64_t>(*number) & mask);
        }
    }
    return VariantToText(value);
}

std::wstring JoinArrayElements(const VARIANT& value, unsigned unsignedBits) {
    if ((value.vt & VT_ARRAY) == 0) {
        return {};
    }
    SAFEARRAY* array = value.parray;
    if ((value.vt & VT_BYREF) != 0) {
        array = value.pparray != nullptr ? *value.pparray : nullptr;
    }
    if (array == nullptr || SafeArrayGetDim(array) != 1) {
        return {};
    }
    LONG lower = 0;
    LONG upper = 0;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper))) {
        return {};
    }
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(array, &type))) {
        type = static_cast<VARTYPE>(value.vt & VT_TYPEMASK);
    }
    if (!ElementsReadableAs(*array, type)) {
        return {};
    }

    std::wstring joined;
    // 64-bit counter: an upper bound of LONG_MAX must not wrap the loop around.
    for (int64_t index = lower; index <= upper; ++index) {
        LONG position = static_cast<LONG>(index);
        VariantOwner element;
        void* target = type == VT_VARIANT ? static_cast<void*>(&element.value) : static_cast<void*>(&element.value.llVal);
        if (FAILED(SafeArrayGetElement(array, &position, target))) {
            continue;
        }
        if (type != VT_VARIANT) {
            element.value.vt = type;
        }
        const std::wstring text = ScalarText(element.value, unsignedBits);
        if (text.empty()) {
            continue;
        }
        if (!joined.empty()) {
            joined.append(L"; ");
        }
        joined.append(text);
    }
    return joined;
}

} // namespace

std::wstring GetRowValue(const WmiRow& row, const std::wstring& key, const std::wstring& fallback) {
    const auto found = row.find(key);
    if (found == row.end() || found->second.empty()) {
        return fallback;
    }
    return found->second;
}

std::wstring VariantToText(const VARIANT& value) {
    if ((value.vt & VT_ARRAY) != 0) {
        return SafeArrayToText(value);
    }
    if (value.vt == VT_EMPTY || value.vt == VT_NULL) {
        return {};
    }
    VariantOwner copy;
    // The source is only read; the API merely lacks the const.
    if (FAILED(VariantChangeType(&copy.value, const_cast<VARIANT*>(&value), 0, VT_BSTR)) ||
        copy.value.vt != VT_BSTR || copy.value.bstrVal == nullptr) {
        return {};
    }
    return std::wstring(copy.value.bstrVal);
}

std::wstring SafeArrayToText(const VARIANT& value) {
    return JoinArrayElements(value, 0);
}

std::wstring CimValueToText(const VARIANT& value, CIMTYPE cimType) {
    const unsigned unsignedBits = UnsignedCimBits(cimType);
    if ((value.vt & VT_ARRAY) != 0) {
        return JoinArrayElements(value, unsignedBits);
    }
    return ScalarText(value, unsignedBits);
}

std::wstring FormatHResult(HRESULT hr) {
    return L"0x" + Hex(static_cast<uint32_t>(hr)) + L" \u2013 " + MessageText(hr);
}
