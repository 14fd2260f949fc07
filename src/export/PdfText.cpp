#include "export/PdfDocument.h"

#include <windows.h>

#include <charconv>
#include <climits>
#include <cmath>

std::string ToWinAnsi(const std::wstring& text) {
    if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    // No best fit: a character Windows-1252 cannot hold becomes "?", never a look-alike.
    const int size = WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, "?", nullptr);
    if (size <= 0) {
        return {};
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    const int written =
        WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), size, "?", nullptr);
    bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return bytes;
}

namespace {

void AppendEscapedBytes(std::string& out, const char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const char c = bytes[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && byte != 0x09) {
            continue;  // a line break would end the text line; other controls have no glyph
        }
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
}

}  // namespace

void AppendPdfString(std::string& out, const std::wstring& text) {
    // Texts of a row are short: they convert into a buffer on the stack in one call, instead of a
    // sizing call and a string of their own each. Windows-1252 gives at most one byte per unit,
    // so the buffer always suffices; should the call still fail, ToWinAnsi decides as before.
    constexpr size_t kStackUnits = 256;
    if (!text.empty() && text.size() <= kStackUnits) {
        char bytes[kStackUnits];
        const int written = WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                                bytes, static_cast<int>(sizeof bytes), "?", nullptr);
        if (written > 0) {
            AppendEscapedBytes(out, bytes, static_cast<size_t>(written));
            return;
        }
    }
    const std::string bytes = ToWinAnsi(text);
    AppendEscapedBytes(out, bytes.data(), bytes.size());
}

std::string PdfString(const std::wstring& text) {
    std::string out;
    out.reserve(text.size() + 16);
    AppendPdfString(out, text);
    return out;
}

std::wstring Truncate(const std::wstring& text, size_t maximum) {
    if (text.size() <= maximum) {
        return text;
    }
    const size_t kept = maximum > 3 ? maximum - 3 : maximum;
    return text.substr(0, kept) + L"...";
}

double ParseLeadingAsciiNumber(const std::wstring& text) {
    std::string number;
    for (const wchar_t c : text) {
        const bool accepted = (c >= L'0' && c <= L'9') || c == L'.' || c == L',' || (c == L'-' && number.empty());
        if (accepted) {
            number += c == L',' ? '.' : static_cast<char>(c);
        } else if (!number.empty()) {
            break;
        }
    }
    // The leading part converts, as the "C" locale reads it; no digits or out of range gives -1.
    // Out of range includes a value too small for a normal double, as the C library's
    // conversion reports it, so a long run of zeros after the point never reads as 0.
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || std::fpclassify(value) == FP_SUBNORMAL) {
        return -1.0;
    }
    return value;
}
