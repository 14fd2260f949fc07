#include "app/Commands.h"

// The report writers arrive separately; until they do, these commands leave the window as it is.

void ExportTextOrJson(AppState&, bool) {}

void ExportPdf(AppState&) {}

void CopyToClipboard(AppState&) {}
