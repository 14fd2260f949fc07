#include "export/JsonReport.h"

#include "ReportBuilders.h"
#include "model/Version.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

std::wstring Head(const std::wstring& created, const std::wstring& load) {
    return L"{\n"
           L"  \"application\": \"Velquist\",\n"
           L"  \"version\": \"1.4.1\",\n"
           L"  \"build_date\": \"" + FormatBuildDate() + L"\",\n"
           L"  \"created\": \"" + created + L"\",\n"
           L"  \"read_only\": true,\n"
           L"  \"load\": {" + load + L"},\n";
}

const std::wstring kNoLoad =
    L"\"cpu_percent\": -1, \"memory_percent\": -1, \"disk_percent\": -1, \"gpu_percent\": -1";

}  // namespace

TEST(JsonEscape, ShortEscapesForTheNamedCharacters) {
    EXPECT_EQ(JsonEscape(L"\b\t\n\f\r\"\\"), L"\\b\\t\\n\\f\\r\\\"\\\\");
    EXPECT_EQ(JsonEscape(L"C:\\Pfad\\\"x\""), L"C:\\\\Pfad\\\\\\\"x\\\"");
}

TEST(JsonEscape, OtherControlUnitsBecomeLowerCaseUnicodeEscapes) {
    EXPECT_EQ(JsonEscape(std::wstring(1, L'\0')), L"\\u0000");
    EXPECT_EQ(JsonEscape(L"\x01\x0b\x1b\x1f"), L"\\u0001\\u000b\\u001b\\u001f");
    EXPECT_EQ(JsonEscape(L"a\x0e" L"b"), L"a\\u000eb");
    for (wchar_t unit = 0; unit < 0x20; ++unit) {
        const std::wstring escaped = JsonEscape(std::wstring(1, unit));
        ASSERT_EQ(escaped.front(), L'\\') << static_cast<int>(unit);
        ASSERT_TRUE(escaped.size() == 2 || escaped.size() == 6) << static_cast<int>(unit);
    }
}

TEST(JsonEscape, LeavesEverythingElseUnchanged) {
    const std::wstring text = L"/ \x7f äöüß · – \x2028\x2029 \xD83D\xDE00 \xD800 \xDC00 Nicht gemeldet 12.5 %";
    EXPECT_EQ(JsonEscape(text), text);
    EXPECT_EQ(JsonEscape(L""), L"");
    EXPECT_EQ(JsonEscape(L" "), L" ");
}

TEST(BuildJsonReport, EmptyReportLayout) {
    HardwareReport report;
    EXPECT_EQ(BuildJsonReport(report), Head(L"", kNoLoad) +
                                           L"  \"sections\": [\n"
                                           L"  ],\n"
                                           L"  \"warnings\": []\n"
                                           L"}\n");
}

TEST(BuildJsonReport, LoadValuesAreBareSignedDecimals) {
    HardwareReport report;
    report.load = {0, 100, INT32_MIN, INT32_MAX};
    EXPECT_NE(BuildJsonReport(report).find(
                  L"  \"load\": {\"cpu_percent\": 0, \"memory_percent\": 100, \"disk_percent\": -2147483648, "
                  L"\"gpu_percent\": 2147483647},\n"),
              std::wstring::npos);
}

TEST(BuildJsonReport, SectionsRecordsAndCommas) {
    HardwareReport report;
    report.created = L"07.12.2026 04:45:41";
    report.load = {12, 34, -1, 5};
    report.categories.push_back(MakeCategory(
        L"Prozessor", {MakeRecord(L"CPU 0", {{L"Kerne", L"8"}, {L"Kerne", L"8"}, {L"Takt", L"3.6 GHz"}}),
                       MakeRecord(L"Leer")}));
    report.categories.push_back(MakeCategory(L"Drucker"));
    report.categories.push_back(MakeCategory(L"Größe", {MakeRecord(L"Ä", {{L"x", L""}})}));
    report.hints = {L"erster", L"zweiter"};

    const std::wstring expected =
        Head(L"07.12.2026 04:45:41",
             L"\"cpu_percent\": 12, \"memory_percent\": 34, \"disk_percent\": -1, \"gpu_percent\": 5") +
        L"  \"sections\": [\n"
        L"    {\"name\": \"Prozessor\", \"records\": [\n"
        L"      {\"title\": \"CPU 0\", \"fields\": {\"Kerne\": \"8\", \"Kerne\": \"8\", \"Takt\": \"3.6 GHz\"}},\n"
        L"      {\"title\": \"Leer\", \"fields\": {}}\n"
        L"    ]},\n"
        L"    {\"name\": \"Drucker\", \"records\": [\n"
        L"    ]},\n"
        L"    {\"name\": \"Größe\", \"records\": [\n"
        L"      {\"title\": \"Ä\", \"fields\": {\"x\": \"\"}}\n"
        L"    ]}\n"
        L"  ],\n"
        L"  \"warnings\": [\"erster\", \"zweiter\"]\n"
        L"}\n";
    EXPECT_EQ(BuildJsonReport(report), expected);
}

TEST(BuildJsonReport, EveryTextTakenFromTheReportIsEscaped) {
    HardwareReport report;
    report.created = L"\"jetzt\"";
    report.categories.push_back(MakeCategory(
        L"Name\\\"", {MakeRecord(L"T\tT", {{L"La\"bel\\", L"Wert\x0b\n"}})}));
    report.hints = {L"Hin\rweis"};
    const std::wstring json = BuildJsonReport(report);
    EXPECT_NE(json.find(L"  \"created\": \"\\\"jetzt\\\"\",\n"), std::wstring::npos);
    EXPECT_NE(json.find(L"    {\"name\": \"Name\\\\\\\"\", \"records\": [\n"), std::wstring::npos);
    EXPECT_NE(json.find(L"      {\"title\": \"T\\tT\", \"fields\": {\"La\\\"bel\\\\\": \"Wert\\u000b\\n\"}}\n"),
              std::wstring::npos);
    EXPECT_NE(json.find(L"  \"warnings\": [\"Hin\\rweis\"]\n"), std::wstring::npos);
}

TEST(BuildJsonReport, NoRawControlCharacterButTheLineEnds) {
    HardwareReport report;
    std::wstring controls;
    for (wchar_t unit = 0; unit < 0x20; ++unit) {
        controls += unit;
    }
    report.created = controls;
    report.categories.push_back(MakeCategory(controls, {MakeRecord(controls, {{controls, controls}})}));
    report.hints = {controls, controls};
    const std::wstring json = BuildJsonReport(report);
    size_t lineEnds = 0;
    for (const wchar_t unit : json) {
        ASSERT_FALSE(unit < 0x20 && unit != L'\n') << static_cast<int>(unit);
        lineEnds += unit == L'\n' ? 1 : 0;
    }
    EXPECT_EQ(lineEnds, 14u);
    EXPECT_EQ(json.back(), L'\n');
}
