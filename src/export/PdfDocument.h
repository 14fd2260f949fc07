#pragma once

// A small PDF 1.4 writer of our own: pages collect drawing operators as text, and the
// document is assembled (objects, cross-reference table, trailer) in memory.

#include "export/FileReplace.h"

#include <cstdint>
#include <string>
#include <vector>

struct HardwareReport;

// One A4 page being drawn; only the last page of the list is ever drawn on.
struct PdfPage {
    std::string content;  // drawing operators, one group per line
    double y = 800;       // the layout's cursor, in points from the bottom of the page
};

void FillPdfRect(PdfPage& page, double x, double y, double width, double height, double r, double g, double b);
void StrokeLine(PdfPage& page, double x1, double y1, double x2, double y2, double lineWidth, double r, double g,
                double b);
void DrawCircle(PdfPage& page, double cx, double cy, double radius, double r, double g, double b, bool fill,
                double lineWidth);
// fontName is a page resource: "F1" (Helvetica) or "F2" (Helvetica-Bold).
void DrawPdfText(PdfPage& page, double x, double y, double fontSize, const std::wstring& text, double r, double g,
                 double b, const std::string& fontName);

// A number as content streams carry it: at most six significant digits, no trailing zeros.
std::string FormatPdfNumber(double value);

std::string ToWinAnsi(const std::wstring& text);
std::string PdfString(const std::wstring& text);
// PdfString's bytes, appended where the drawing primitives write them.
void AppendPdfString(std::string& out, const std::wstring& text);
std::wstring Truncate(const std::wstring& text, size_t maximum);
double ParseLeadingAsciiNumber(const std::wstring& text);

// The complete file for these pages, first page first.
std::string AssemblePdfDocument(const std::vector<PdfPage>& pages);

// Writes the graphical report; the file appears under `path` only when it was written whole.
// On failure returns false and sets `error`; otherwise `error` is left as it was.
// `sink` is for tests that make the write fail (see ReplaceFileWithBytes).
bool WritePdfReport(const std::wstring& path, const HardwareReport& report, std::wstring& error,
                    FileSink sink = nullptr);
