#pragma once

#include <windows.h>
#include <objbase.h>

// One call's own entry into the multithreaded apartment, balanced on every way out. A thread
// that already lives in a single-threaded apartment gets RPC_E_CHANGED_MODE, keeps its apartment
// and is not uninitialised here. Declare it before any WMI session, so the sessions are released
// first.
class ComApartment {
public:
    ComApartment() : result(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result)) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    HRESULT Result() const { return result; }
    // COM can be used on this thread, in whichever apartment it lives.
    bool IsUsable() const { return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE; }

private:
    HRESULT result;
};
