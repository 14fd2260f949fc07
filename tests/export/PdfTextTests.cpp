#include "export/PdfDocument.h"

#include <gtest/gtest.h>

#include <charconv>
#include <vector>

TEST(FormatPdfNumber, WritesAtMostSixSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(FormatPdfNumber(0.08), "0.08");
    EXPECT_EQ(FormatPdfNumber(792.0), "792");
    EXPECT_EQ(FormatPdfNumber(7.5), "7.5");
    EXPECT_EQ(FormatPdfNumber(47.418278), "47.4183");
    EXPECT_EQ(FormatPdfNumber(108 * (33 / 100.0)), "35.64");
    EXPECT_EQ(FormatPdfNumber(0), "0");
    EXPECT_EQ(FormatPdfNumber(841.999999), "842");
    EXPECT_EQ(FormatPdfNumber(123456.7), "123457");
}

TEST(FormatPdfNumber, WritesWhatTheGeneralConversionWritesForEveryKindOfNumber) {
    // Whole numbers, short decimals as the layout computes them, their near neighbours, the limits
    // of six digits and values that need the exponent.
    std::vector<double> values = {-0.0,       0.0005,   0.00049999, 0.001,    0.0015,     999.9995, 999.9994,
                                  999.999,    1000.5,   99999.5,    999999.0, 999999.5,   1000000.0, -999999.0,
                                  -0.5,       -12.25,   0.1 + 0.2,  1e-5,     1e20,       -1e-300,  47.418278,
                                  4.41827799, 108 * (33 / 100.0), 775 - 11 * 0.1, 123456.7, 0.3 * 3};
    for (int k = -20000; k <= 20000; ++k) {
        values.push_back(k / 1000.0);
        values.push_back(k * 0.001);
        values.push_back(k * 0.01 + 0.005);
        values.push_back(k / 16.0);
        values.push_back(k * 7.5 - 0.25);
    }
    for (const double value : values) {
        char expected[32];
        const auto end = std::to_chars(expected, expected + sizeof expected, value, std::chars_format::general, 6);
        ASSERT_EQ(FormatPdfNumber(value), std::string(expected, end.ptr)) << value;
    }
}

TEST(Truncate, ShortensToExactlyTheMaximumWithThreeDots) {
    const std::wstring forty(40, L'x');
    EXPECT_EQ(Truncate(forty, 36), std::wstring(33, L'x') + L"...");
    EXPECT_EQ(Truncate(forty, 36).size(), 36u);
    EXPECT_EQ(Truncate(std::wstring(36, L'y'), 36), std::wstring(36, L'y'));
    EXPECT_EQ(Truncate(std::wstring(37, L'y'), 36), std::wstring(33, L'y') + L"...");
    EXPECT_EQ(Truncate(L"", 36), L"");
}

TEST(Truncate, TinyMaximumKeepsThatManyUnitsBeforeTheDots) {
    EXPECT_EQ(Truncate(L"abcdef", 3), L"abc...");
    EXPECT_EQ(Truncate(L"abcdef", 0), L"...");
    EXPECT_EQ(Truncate(L"abc", 3), L"abc");
}

TEST(ToWinAnsi, KeepsWindows1252BytesAndMarksEverythingElse) {
    EXPECT_EQ(ToWinAnsi(L""), "");
    EXPECT_EQ(ToWinAnsi(L"Größe"), "Gr\xF6\xDF" "e");
    EXPECT_EQ(ToWinAnsi(L"· – • €"), "\xB7 \x96 \x95 \x80");
    // No best-fit look-alikes: these have no exact Windows-1252 code.
    EXPECT_EQ(ToWinAnsi(L"\u0100\u4E2D\u2028"), "???");
    EXPECT_EQ(ToWinAnsi(L"a\xD800" L"b"), "a?b");
    const std::string emoji = ToWinAnsi(L"\U0001F600");
    EXPECT_FALSE(emoji.empty());
    EXPECT_EQ(emoji.find_first_not_of('?'), std::string::npos);
}

TEST(PdfString, EscapesDelimitersAndDropsControlCharacters) {
    EXPECT_EQ(PdfString(L"a(b)c"), "a\\(b\\)c");
    EXPECT_EQ(PdfString(L"C:\\Temp\\"), "C:\\\\Temp\\\\");
    EXPECT_EQ(PdfString(L"Zeile 1\r\nZeile 2"), "Zeile 1Zeile 2");
    EXPECT_EQ(PdfString(std::wstring(L"a\0b\x1F" L"c\x7F", 6)), "abc\x7F");
    EXPECT_EQ(PdfString(L"a\tb"), "a\tb");
    EXPECT_EQ(PdfString(L"Größe"), "\x47\x72\xF6\xDF\x65");
    EXPECT_EQ(PdfString(L"(€)"), "\\(\x80\\)");
}

TEST(PdfString, TextLongerThanAnyRowKeepsEveryByte) {
    std::wstring text;
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        text += L"ä(";
        expected += "\xE4\\(";
    }
    EXPECT_EQ(PdfString(text), expected);
}

TEST(PdfString, UnbalancedParenthesesCannotEndTheLiteral) {
    const std::string escaped = PdfString(L"))) Tj ET (");
    EXPECT_EQ(escaped, "\\)\\)\\) Tj ET \\(");
}

TEST(ParseLeadingAsciiNumber, ReadsTheFirstNumber) {
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"98 %"), 98);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"45,5 °C"), 45.5);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L",5"), 0.5);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"-12 %"), -12);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"Temperatur: 61 °C"), 61);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"5-3"), 5);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"1.234,5"), 1.234);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"12abc34"), 12);
}

TEST(ParseLeadingAsciiNumber, TextWithoutAUsableNumberGivesMinusOne) {
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"Nicht gemeldet"), -1.0);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L""), -1.0);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"--5"), -1.0);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"-"), -1.0);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"Version ."), -1.0);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(std::wstring(400, L'9')), -1.0);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"0," + std::wstring(400, L'0') + L"1"), -1.0);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"0," + std::wstring(310, L'0') + L"1 %"), -1.0);
    EXPECT_DOUBLE_EQ(ParseLeadingAsciiNumber(L"0,0"), 0.0);
}
