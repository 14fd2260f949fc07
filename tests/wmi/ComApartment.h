#pragma once

#include <windows.h>
#include <objbase.h>

// Each test runs in the multithreaded apartment, as the scan and the load sampler do.
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

private:
    HRESULT result;
};
