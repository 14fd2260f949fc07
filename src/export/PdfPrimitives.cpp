#include "export/PdfDocument.h"

#include <charconv>

namespace {

// The usual four-arc Bezier approximation of a circle.
constexpr double kCircleControl = 0.5522847498307936;

void AppendNumber(std::string& out, double value) {
    out += FormatPdfNumber(value);
}

void AppendColour(std::string& out, double r, double g, double b) {
    AppendNumber(out, r);
    out += ' ';
    AppendNumber(out, g);
    out += ' ';
    AppendNumber(out, b);
}

void AppendPoint(std::string& out, double x, double y) {
    AppendNumber(out, x);
    out += ' ';
    AppendNumber(out, y);
    out += ' ';
}

}  // namespace

std::string FormatPdfNumber(double value) {
    // Same digits as a default-formatted stream in the "C" locale, whatever the process locale is.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

void FillPdfRect(PdfPage& page, double x, double y, double width, double height, double r, double g, double b) {
    std::string& out = page.content;
    AppendColour(out, r, g, b);
    out += " rg ";
    AppendPoint(out, x, y);
    AppendPoint(out, width, height);
    out += "re f\n";
}

void StrokeLine(PdfPage& page, double x1, double y1, double x2, double y2, double lineWidth, double r, double g,
                double b) {
    std::string& out = page.content;
    AppendColour(out, r, g, b);
    out += " RG ";
    AppendNumber(out, lineWidth);
    out += " w ";
    AppendPoint(out, x1, y1);
    out += "m ";
    AppendPoint(out, x2, y2);
    out += "l S\n";
}

void DrawCircle(PdfPage& page, double cx, double cy, double radius, double r, double g, double b, bool fill,
                double lineWidth) {
    const double k = radius * kCircleControl;
    std::string& out = page.content;
    AppendColour(out, r, g, b);
    out += fill ? " rg " : " RG ";
    AppendNumber(out, lineWidth);
    out += " w ";
    AppendPoint(out, cx + radius, cy);
    out += "m ";
    const double curves[4][6] = {
        {cx + radius, cy + k, cx + k, cy + radius, cx, cy + radius},
        {cx - k, cy + radius, cx - radius, cy + k, cx - radius, cy},
        {cx - radius, cy - k, cx - k, cy - radius, cx, cy - radius},
        {cx + k, cy - radius, cx + radius, cy - k, cx + radius, cy},
    };
    for (const auto& curve : curves) {
        for (int i = 0; i < 6; i += 2) {
            AppendPoint(out, curve[i], curve[i + 1]);
        }
        out += "c ";
    }
    out += fill ? "f\n" : "S\n";
}

void DrawPdfText(PdfPage& page, double x, double y, double fontSize, const std::wstring& text, double r, double g,
                 double b, const std::string& fontName) {
    std::string& out = page.content;
    out += "BT /";
    out += fontName;
    out += ' ';
    AppendNumber(out, fontSize);
    out += " Tf ";
    AppendColour(out, r, g, b);
    out += " rg ";
    AppendPoint(out, x, y);
    out += "Td (";
    out += PdfString(text);
    out += ") Tj ET\n";
}
