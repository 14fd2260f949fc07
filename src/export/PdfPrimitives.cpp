#include "export/PdfDocument.h"

#include <charconv>
#include <cmath>

namespace {

// The usual four-arc Bezier approximation of a circle.
constexpr double kCircleControl = 0.5522847498307936;

void AppendDigits(std::string& out, unsigned long long value) {
    char digits[24];
    char* const end = digits + sizeof digits;
    char* at = end;
    do {
        *--at = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    out.append(at, end);
}

// Nearly every number of a report is whole or has at most three decimals (coordinates, sizes,
// colour components), and the general conversion costs more than all the rest of a page.
// Such a number is the double nearest to a decimal of at most six significant digits, so
// writing that decimal's digits gives exactly what the general conversion gives. -0 is left to it.
bool AppendShortDecimal(std::string& out, double value) {
    if (!(value > -1000000.0 && value < 1000000.0) || (value == 0 && std::signbit(value))) {
        return false;
    }
    const auto whole = static_cast<long long>(value);
    if (static_cast<double>(whole) == value) {
        if (whole < 0) {
            out += '-';
        }
        AppendDigits(out, static_cast<unsigned long long>(whole < 0 ? -whole : whole));
        return true;
    }
    if (!(value > -1000.0 && value < 1000.0)) {
        return false;
    }
    // Any rounding will do here, the test below decides; the library's llround is slow.
    const double scaled = value * 1000.0;
    const auto thousandths = static_cast<long long>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
    if (static_cast<double>(thousandths) / 1000.0 != value) {
        return false;
    }
    if (thousandths < 0) {
        out += '-';
    }
    const auto magnitude = static_cast<unsigned long long>(thousandths < 0 ? -thousandths : thousandths);
    AppendDigits(out, magnitude / 1000);
    const auto fraction = static_cast<unsigned>(magnitude % 1000);
    const char decimals[4] = {'.', static_cast<char>('0' + fraction / 100), static_cast<char>('0' + fraction / 10 % 10),
                              static_cast<char>('0' + fraction % 10)};
    size_t length = sizeof decimals;
    while (length > 0 && (decimals[length - 1] == '0' || decimals[length - 1] == '.')) {
        --length;
    }
    out.append(decimals, length);
    return true;
}

void AppendNumber(std::string& out, double value) {
    if (AppendShortDecimal(out, value)) {
        return;
    }
    // Same digits as a default-formatted stream in the "C" locale, whatever the process locale is.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    out.append(buffer, result.ptr);
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
    std::string text;
    AppendNumber(text, value);
    return text;
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
    AppendPdfString(out, text);
    out += ") Tj ET\n";
}
