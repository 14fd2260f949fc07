#pragma once

// What the graphical report looks like: header, load gauges, category and record bands with
// status dots, diagnostic notes and footers, flowed over as many A4 pages as needed.

#include "export/PdfDocument.h"
#include "model/Version.h"

#include <cstdint>
#include <string>
#include <vector>

// Draws the whole report; `pages` holds one new page and gains pages as the report flows on.
// The header's version line is this build's; tests pass a fixed one to compare whole documents.
void DrawReportPages(std::vector<PdfPage>& pages, const HardwareReport& report,
                     const std::wstring& versionLine = BuildVersionLine());

void DrawHeader(PdfPage& page, const HardwareReport& report, int32_t pageNumber,
                const std::wstring& versionLine = BuildVersionLine());
void DrawFooter(PdfPage& page);
void DrawLogo(PdfPage& page, double x, double y, double side);
void DrawGauge(PdfPage& page, double x, double y, const std::wstring& label, int32_t percent);
void DrawCategoryBadge(PdfPage& page, double cx, double cy, const std::wstring& name);
wchar_t CategoryLetter(const std::wstring& name);
void StatusColor(const std::wstring& label, const std::wstring& value, double& r, double& g, double& b);
