#include "inventory/Formatters.h"

#include <gtest/gtest.h>

#include <regex>

#include <windows.h>

TEST(FormatBytes, KeepsWholeBytesBelowOneKibAndSwitchesUnitAt1024) {
    EXPECT_EQ(FormatBytes(L"1"), L"1 Byte (1 Byte)");
    EXPECT_EQ(FormatBytes(L"1023"), L"1023 Byte (1023 Byte)");
    EXPECT_EQ(FormatBytes(L"1024"), L"1.00 KiB (1024 Byte)");
    EXPECT_EQ(FormatBytes(L"1536"), L"1.50 KiB (1536 Byte)");
}

TEST(FormatBytes, RoundsUpWithoutClimbingToTheNextUnit) {
    EXPECT_EQ(FormatBytes(L"1048575"), L"1024.00 KiB (1048575 Byte)");
    EXPECT_EQ(FormatBytes(L"17179869184"), L"16.00 GiB (17179869184 Byte)");
}

TEST(FormatBytes, StopsAtPibAndKeepsTheExactCount) {
    EXPECT_EQ(FormatBytes(L"1152921504606846976"), L"1024.00 PiB (1152921504606846976 Byte)");
    EXPECT_EQ(FormatBytes(L"18446744073709551615"), L"16384.00 PiB (18446744073709551615 Byte)");
}

TEST(FormatBytes, LeavesZeroAndNonNumbersAsTheyAre) {
    EXPECT_EQ(FormatBytes(L"0"), L"0");
    EXPECT_EQ(FormatBytes(L""), L"Nicht gemeldet");
    EXPECT_EQ(FormatBytes(L"Nicht gemeldet"), L"Nicht gemeldet");
    EXPECT_EQ(FormatBytes(L"groß"), L"groß");
    // Past the 64-bit range there is no exact count to show.
    EXPECT_EQ(FormatBytes(L"18446744073709551616"), L"18446744073709551616");
}

TEST(FormatBytes, ReadsTheLeadingNumberButShowsTheParsedCount) {
    EXPECT_EQ(FormatBytes(L"2048 bytes"), L"2.00 KiB (2048 Byte)");
}

TEST(FormatCimDate, TakesDayMonthYearFromTheFirstEightDigits) {
    EXPECT_EQ(FormatCimDate(L"20230115143005.000000+060"), L"15.01.2023");
    EXPECT_EQ(FormatCimDate(L"20231231"), L"31.12.2023");
}

TEST(FormatCimDate, LeavesTextsWithoutEightLeadingDigitsUnchanged) {
    EXPECT_EQ(FormatCimDate(L"2023011"), L"2023011");
    EXPECT_EQ(FormatCimDate(L"2023 0115"), L"2023 0115");
    EXPECT_EQ(FormatCimDate(L"+20230115"), L"+20230115");
    EXPECT_EQ(FormatCimDate(L"03/15/2023"), L"03/15/2023");
    EXPECT_EQ(FormatCimDate(L"15.01.2023"), L"15.01.2023");
    EXPECT_EQ(FormatCimDate(L"Nicht gemeldet"), L"Nicht gemeldet");
    EXPECT_EQ(FormatCimDate(L""), L"Nicht gemeldet");
}

TEST(FormatBoolean, MapsEveryWmiSpellingOfTrueAndFalse) {
    for (const wchar_t* text : {L"True", L"TRUE", L"1", L"-1"}) {
        EXPECT_EQ(FormatBoolean(text), L"Ja") << text;
    }
    for (const wchar_t* text : {L"False", L"FALSE", L"0"}) {
        EXPECT_EQ(FormatBoolean(text), L"Nein") << text;
    }
}

TEST(FormatBoolean, ComparesWholeTextsCaseSensitively) {
    EXPECT_EQ(FormatBoolean(L"true"), L"true");
    EXPECT_EQ(FormatBoolean(L"false"), L"false");
    EXPECT_EQ(FormatBoolean(L"10"), L"10");
    EXPECT_EQ(FormatBoolean(L" True"), L" True");
    EXPECT_EQ(FormatBoolean(L"Ja"), L"Ja");
    EXPECT_EQ(FormatBoolean(L"Nein"), L"Nein");
    EXPECT_EQ(FormatBoolean(L"Nicht gemeldet"), L"Nicht gemeldet");
    EXPECT_EQ(FormatBoolean(L""), L"Nicht gemeldet");
}

TEST(FormatTemperature, ConvertsTenthsOfKelvinToOneDecimalCelsius) {
    EXPECT_EQ(FormatTemperature(L"3032"), L"30.1 °C");
    EXPECT_EQ(FormatTemperature(L"2732"), L"0.1 °C");
    EXPECT_EQ(FormatTemperature(L"3232.0"), L"50.1 °C");
    EXPECT_EQ(FormatTemperature(L"  3032 tenths"), L"30.1 °C");
}

TEST(FormatTemperature, AcceptsBothBoundsAndRejectsJustOutside) {
    EXPECT_EQ(FormatTemperature(L"5231.5"), L"250.0 °C");
    EXPECT_EQ(FormatTemperature(L"1731.5"), L"-100.0 °C");
    EXPECT_EQ(FormatTemperature(L"5232"), L"Nicht plausibel: 5232");
    EXPECT_EQ(FormatTemperature(L"1731"), L"Nicht plausibel: 1731");
    EXPECT_EQ(FormatTemperature(L"0"), L"Nicht plausibel: 0");
    EXPECT_EQ(FormatTemperature(L"-3032"), L"Nicht plausibel: -3032");
}

TEST(FormatTemperature, NanAndInfinityAreImplausibleNotTemperatures) {
    for (const wchar_t* text : {L"nan", L"NAN", L"inf", L"-inf", L"infinity"}) {
        EXPECT_EQ(FormatTemperature(text), std::wstring(L"Nicht plausibel: ") + text);
    }
}

TEST(FormatTemperature, TextWithoutALeadingNumberIsNotReported) {
    EXPECT_EQ(FormatTemperature(L""), L"Nicht gemeldet");
    EXPECT_EQ(FormatTemperature(L"Nicht gemeldet"), L"Nicht gemeldet");
    EXPECT_EQ(FormatTemperature(L"warm 3032"), L"Nicht gemeldet");
    EXPECT_EQ(FormatTemperature(L"1e999"), L"Nicht gemeldet");
}

TEST(FormatMhz, AppendsTheUnitToAnythingButAnAbsentValue) {
    EXPECT_EQ(FormatMhz(L"3600"), L"3600 MHz");
    EXPECT_EQ(FormatMhz(L"n/a"), L"n/a MHz");
    EXPECT_EQ(FormatMhz(L"Nicht gemeldet"), L"Nicht gemeldet");
    EXPECT_EQ(FormatMhz(L""), L"Nicht gemeldet");
}

TEST(FormatArchitecture, NamesKnownCodesAndKeepsOthers) {
    EXPECT_EQ(FormatArchitecture(L"0"), L"x86");
    EXPECT_EQ(FormatArchitecture(L"5"), L"ARM");
    EXPECT_EQ(FormatArchitecture(L"6"), L"IA64");
    EXPECT_EQ(FormatArchitecture(L"9"), L"x64");
    EXPECT_EQ(FormatArchitecture(L"12"), L"ARM64");
    EXPECT_EQ(FormatArchitecture(L"1"), L"1");
    EXPECT_EQ(FormatArchitecture(L"09"), L"09");
    EXPECT_EQ(FormatArchitecture(L"x64"), L"x64");
    EXPECT_EQ(FormatArchitecture(L""), L"Nicht gemeldet");
}

TEST(FormatDuration, PadsClockPartsButNotTheDays) {
    EXPECT_EQ(FormatDuration(0), L"0 Tage, 00:00:00");
    EXPECT_EQ(FormatDuration(86400 + 3600 + 60 + 1), L"1 Tage, 01:01:01");
    EXPECT_EQ(FormatDuration(86400 - 1), L"0 Tage, 23:59:59");
    EXPECT_EQ(FormatDuration(100ull * 86400 + 10 * 3600 + 20 * 60 + 30), L"100 Tage, 10:20:30");
}

TEST(FormatUptime, HasTheDurationShape) {
    EXPECT_TRUE(std::regex_match(FormatUptime(), std::wregex(LR"(\d+ Tage, \d\d:[0-5]\d:[0-5]\d)")));
}

TEST(FormatLocalTimestamp, IsDayFirstWithNineteenCharacters) {
    const std::wstring stamp = FormatLocalTimestamp();
    EXPECT_EQ(stamp.size(), 19u);
    EXPECT_TRUE(std::regex_match(stamp, std::wregex(LR"([0-3]\d\.[01]\d\.\d{4} [0-2]\d:[0-5]\d:[0-5]\d)"))) << stamp;
}

TEST(FormatLocalTimestamp, ShowsTheLocalDayMonthAndYearInThatOrder) {
    // Read the clock around the call; a day or hour that changes in between is read again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        SYSTEMTIME before{};
        GetLocalTime(&before);
        const std::wstring stamp = FormatLocalTimestamp();
        SYSTEMTIME after{};
        GetLocalTime(&after);
        if (before.wDay != after.wDay || before.wHour != after.wHour) {
            continue;
        }
        ASSERT_EQ(stamp.size(), 19u);
        EXPECT_EQ(ParseUInt(stamp.substr(0, 2)), after.wDay) << stamp;
        EXPECT_EQ(ParseUInt(stamp.substr(3, 2)), after.wMonth) << stamp;
        EXPECT_EQ(ParseUInt(stamp.substr(6, 4)), after.wYear) << stamp;
        EXPECT_EQ(ParseUInt(stamp.substr(11, 2)), after.wHour) << stamp;
        return;
    }
    FAIL() << "the clock kept changing";
}

TEST(IsDigitChar, AcceptsOnlyDecimalDigitsAmongAsciiCharacters) {
    for (wchar_t c = 0; c < 128; ++c) {
        EXPECT_EQ(IsDigitChar(c), c >= L'0' && c <= L'9') << static_cast<int>(c);
    }
}
