#pragma once

// Single owners for the COM resources of the WMI layer, so an early return can never leak.

#include <string>

#include <windows.h>
#include <oleauto.h>

template <typename Interface>
class ComOwner {
public:
    ComOwner() = default;
    ~ComOwner() { Reset(); }
    ComOwner(const ComOwner&) = delete;
    ComOwner& operator=(const ComOwner&) = delete;

    Interface* Get() const { return pointer; }
    Interface* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }

    // The out-parameter of a creating call; whatever was held before is released first.
    Interface** Put() {
        Reset();
        return &pointer;
    }

    void Reset() {
        if (pointer != nullptr) {
            pointer->Release();
            pointer = nullptr;
        }
    }

private:
    Interface* pointer = nullptr;
};

class BstrOwner {
public:
    explicit BstrOwner(const std::wstring& text)
        : bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~BstrOwner() { SysFreeString(bstr); }
    BstrOwner(const BstrOwner&) = delete;
    BstrOwner& operator=(const BstrOwner&) = delete;

    BSTR Get() const { return bstr; }

private:
    BSTR bstr;
};

struct VariantOwner {
    VARIANT value;

    VariantOwner() { VariantInit(&value); }
    ~VariantOwner() { VariantClear(&value); }
    VariantOwner(const VariantOwner&) = delete;
    VariantOwner& operator=(const VariantOwner&) = delete;
};
