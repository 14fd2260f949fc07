#pragma once

// What every step of the scan works on, and the way a step describes its queries as data.

#include "model/Report.h"
#include "wmi/WmiSession.h"

#include <memory>
#include <span>

struct ScanContext {
    HardwareReport& report;
    WmiSession& wmi;  // ROOT\CIMV2, open for the whole scan
    // Opened by the steps that read these namespaces, through wmi's OpenNamespace, so a scan on
    // recorded rows reads every namespace from the same recording. The context lives inside the
    // scan's COM apartment, so they are released before COM is uninitialised.
    std::unique_ptr<WmiSession> storage = nullptr;  // ROOT\Microsoft\Windows\Storage
    std::unique_ptr<WmiSession> thermal = nullptr;  // ROOT\WMI
    std::unique_ptr<WmiSession> tpm = nullptr;      // ROOT\CIMV2\Security\MicrosoftTpm
};

using ScanStep = void (*)(ScanContext& scan);

struct FieldLiteral {
    const wchar_t* label;
    const wchar_t* wmiProperty;
};

struct QueryLiteral {
    const wchar_t* wql;
    const wchar_t* category;
    const wchar_t* titleProperty;
    std::span<const FieldLiteral> fields;
};

// Runs one query into its category through the generic query step.
void RunQueryLiteral(HardwareReport& report, WmiSession& session, const QueryLiteral& query);
