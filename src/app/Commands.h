#pragma once

// The export and clipboard commands of the buttons and the "Datei" menu.

#include "app/AppState.h"

void ExportTextOrJson(AppState& state, bool json);
void ExportPdf(AppState& state);
void CopyToClipboard(AppState& state);
