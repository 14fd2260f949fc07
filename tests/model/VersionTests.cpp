#include "model/Version.h"

#include <gtest/gtest.h>

#include <string>

TEST(FormatCompileDate, ReadsTheCompilerDateText) {
    EXPECT_EQ(FormatCompileDate("Oct 17 2024"), L"17.10.2024");
    EXPECT_EQ(FormatCompileDate("Mar  5 2024"), L"05.03.2024");
    EXPECT_EQ(FormatCompileDate("Jan  1 2000"), L"01.01.2000");
    EXPECT_EQ(FormatCompileDate("Dec 31 1999"), L"31.12.1999");
}

TEST(FormatCompileDate, NumbersEveryMonthInCalendarOrder) {
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < 12; ++i) {
        const std::wstring month = (i < 9 ? L"0" : L"") + std::to_wstring(i + 1);
        EXPECT_EQ(FormatCompileDate(std::string(months[i]) + " 28 2025"), L"28." + month + L".2025") << months[i];
    }
}

TEST(FormatCompileDate, UnknownMonthGivesZeroMonthAndKeepsTheRest) {
    EXPECT_EQ(FormatCompileDate("Okt 17 2024"), L"17.00.2024");
    EXPECT_EQ(FormatCompileDate("oct 17 2024"), L"17.00.2024");
}

TEST(FormatCompileDate, ShortTextDoesNotReadPastItsEnd) {
    EXPECT_EQ(FormatCompileDate("May"), L"0 .05.    ");
    EXPECT_EQ(FormatCompileDate(""), L"0 .00.    ");
}

TEST(BuildVersionLine, JoinsVersionAndBuildDate) {
    const std::wstring date = FormatBuildDate();
    ASSERT_EQ(date.size(), 10u);
    EXPECT_EQ(date[2], L'.');
    EXPECT_EQ(date[5], L'.');
    EXPECT_NE(date.substr(3, 2), L"00");
    EXPECT_EQ(BuildVersionLine(), L"Version 1.4.1 · kompiliert am " + date);
    EXPECT_EQ(BuildVersionLine(), BuildVersionLine());
}
