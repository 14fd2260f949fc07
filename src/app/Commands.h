#pragma once

// The export and clipboard commands of the buttons and the "Datei" menu.

#include "app/AppState.h"

#include <string>

void ExportTextOrJson(AppState& state, bool json);
void ExportPdf(AppState& state);
void CopyToClipboard(AppState& state);

using ReportTextBuilder = std::wstring (*)(const HardwareReport& report);

// Builds the report's text and saves it as UTF-8. False also when the text cannot be built
// (memory ran out); the file under `path` then keeps what it had.
bool SaveReportText(const std::wstring& path, const HardwareReport& report, ReportTextBuilder build, bool withBom);
